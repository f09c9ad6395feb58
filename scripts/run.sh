#!/usr/bin/env bash
# Builds Quorvel and starts it under Wine in a demo folder with a few sample
# images and the stand-in emulator "kx", which shows the command line it gets.
# With no display (or with --headless) it runs on a virtual display, makes one
# launch by itself, prints what kx received, saves a screenshot and makes the
# README's gallery of the four windows (docs/gallery).
#
#   scripts/run.sh [--headless] [--win32]     --win32: the 32-bit (i686) build
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh

headless=0
preset=win64
for option in "$@"; do
    case "$option" in
    --headless) headless=1 ;;
    --win32) preset=win32 ;;
    *) echo "usage: $0 [--headless] [--win32]" >&2; exit 2 ;;
    esac
done
[ -n "${DISPLAY:-}" ] || headless=1

echo "== building ($preset)"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" --target quorvel kx demo_driver >build/demo-build.log 2>&1 ||
    { tail -n 40 build/demo-build.log; exit 1; }

demo=$root/build/demo
rm -rf "$demo"
mkdir -p "$demo/Games"
cp "build/$preset/bin/quorvel.exe" "build/$preset/bin/kx.exe" "$demo/"
for name in "Harbour Lights Deluxe.sms" "brick tumbler.gg" "moonpost.SMS" "Quiet Fjord.GG" "Žluva Racer.sms"; do
    printf 'demo image\n' >"$demo/Games/$name"
done
printf 'not an image\n' >"$demo/Games/readme.txt"

export WINEPREFIX=$root/build/demo-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ "$headless" -eq 0 ]; then
    cmake/wine-prefix.sh up "$WINEPREFIX"
    echo "== Quorvel runs in $demo/Games (settings: $demo/quorvel.ini); close its window to end"
    (cd "$demo/Games" && wine ../quorvel.exe)
    cmake/wine-prefix.sh down "$WINEPREFIX"
    exit 0
fi

# No display: a virtual one, and the launch is driven by demo_driver.
record=$demo/kx-record.txt
xvfb-run -a -s "-screen 0 1600x900x24" bash -s "$root" "$demo" "$record" "$preset" <<'HEADLESS'
set -euo pipefail
root=$1 demo=$2 record=$3 preset=$4
driver=$root/build/$preset/bin/demo_driver.exe
"$root/cmake/wine-prefix.sh" up "$WINEPREFIX"
cd "$demo/Games"
KX_RECORD="$(winepath -w "$record")" wine ../quorvel.exe </dev/null >/dev/null 2>&1 &
wine "$driver" launch
for _ in $(seq 1 100); do grep -q '^end$' "$record" 2>/dev/null && break; sleep 0.1; done
# Each window on top in turn, cut out of the screen (PNGs without dates, so
# that an unchanged window makes an unchanged file).
mkdir -p "$root/docs/gallery"
for window in main about joystick resolution; do
    geometry=$(wine "$driver" window "$window" | tr -d '\r')
    import -window root -crop "$geometry" +repage -define png:exclude-chunks=date,time \
        "$root/docs/gallery/$window.png"
done
import -window root "$demo/screenshot.png"
wine "$driver" close
wait
"$root/cmake/wine-prefix.sh" down "$WINEPREFIX"
HEADLESS

if ! grep -q '^end$' "$record" 2>/dev/null; then
    echo "kx was not started" >&2
    exit 1
fi
echo "== kx received the command line:"
sed -n 's/^cmdline=//p' "$record"
echo "== settings written to $demo/quorvel.ini:"
tr -d '\r' <"$demo/quorvel.ini"
echo "== screenshot: $demo/screenshot.png; the four windows: docs/gallery"
