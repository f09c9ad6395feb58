#!/bin/sh
# Prepares (up) or stops (down) a Wine prefix of the tests, the demo or the benchmark.
# "up" creates the prefix once, sets what headless GUI tests need, and starts a
# persistent wineserver with every stream redirected, so no later Wine process
# keeps a pipe of ctest open.
set -eu
action=$1
export WINEPREFIX="$2"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

reg_add() { wine reg add "$1" /v "$2" /t "$3" /d "$4" /f </dev/null >/dev/null 2>&1; }

case "$action" in
up)
    # A 64-bit prefix made before Wine's 32-bit part (wine32, whose loader is
    # /usr/lib/wine/wine) was installed has an empty syswow64, and no program
    # starts in it ("could not load kernel32.dll"): such a prefix is made again.
    if [ -x /usr/lib/wine/wine ] && grep -qs '^#arch=win64' "$WINEPREFIX/system.reg" &&
        [ -z "$(ls -A "$WINEPREFIX/drive_c/windows/syswow64" 2>/dev/null)" ]; then
        wineserver -k </dev/null >/dev/null 2>&1 || true
        wineserver -w </dev/null >/dev/null 2>&1 || true
        rm -rf "$WINEPREFIX"
    fi
    if [ ! -f "$WINEPREFIX/.quorvel-ready" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i </dev/null >/dev/null 2>&1 || true
        wineserver -w
        # A crash must end the program, never wait for a click on a dialog.
        reg_add 'HKCU\Software\Wine\WineDbg' ShowCrashDialog REG_DWORD 0
        # Without a window manager, Wine draws frames itself and closes fast.
        reg_add 'HKCU\Software\Wine\X11 Driver' Decorated REG_SZ N
        reg_add 'HKCU\Software\Wine\X11 Driver' Managed REG_SZ N
        if [ -n "${QUORVEL_TEST_DPI:-}" ]; then
            reg_add 'HKCU\Control Panel\Desktop' LogPixels REG_DWORD "$QUORVEL_TEST_DPI"
        fi
        wineserver -w
        touch "$WINEPREFIX/.quorvel-ready"
    fi
    # Caption buttons draw their glyphs (the close cross) with Marlett, which
    # Wine takes from the prefix's font folder only: without it, letters.
    fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
        mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
    fi
    # A server still up (a run cut short, or one still ending) is ended first:
    # the prefix's server must be this one. It opens every file for the
    # programs; without root's right to override file permissions, a folder
    # made read-only refuses writes as it does for a user.
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    setpriv --bounding-set=-dac_override,-dac_read_search wineserver -p </dev/null >/dev/null 2>&1 || true
    # Wine's services and its desktop process live as long as the server.
    # Started here, without ctest's streams, they cannot hold a test's output
    # pipe open after the test has ended.
    wine wineboot </dev/null >/dev/null 2>&1 || true
    (wine explorer.exe /desktop </dev/null >/dev/null 2>&1 &)
    ;;
down)
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    ;;
*)
    echo "usage: $0 up|down PREFIX" >&2
    exit 2
    ;;
esac
