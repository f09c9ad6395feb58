#!/usr/bin/env bash
# Builds the shipped programs (i686 and x86_64, Release, static) and packs each
# with CPack into a ZIP of quorvel.exe, the README and the licence, named with
# the version of the project (the same that the program's version block
# carries). Checks that each package unpacks to a quorvel.exe that runs alone
# under Wine, and prints each package's size and SHA-256.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh >/dev/null

packages=()
for preset in win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)" --target quorvel demo_driver >/dev/null
    rm -rf "build/$preset/package"
    (cd "build/$preset" && cpack --config CPackConfig.cmake >/dev/null)
    packages+=("$(ls "build/$preset/package"/quorvel-*.zip)")
done

# Each package alone in a fresh folder: its quorvel.exe must start and show
# its window (the demo's driver finds it and closes it again).
check=build/release-check
rm -rf "$check"
export WINEPREFIX=$PWD/$check/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
for package in "${packages[@]}"; do
    unpacked=$check/$(basename "$package" .zip)
    mkdir -p "$unpacked"
    (cd "$unpacked" && cmake -E tar xf "$OLDPWD/$package")
    program=$(find "$unpacked" -name quorvel.exe)
    [ -n "$program" ] || { echo "$package holds no quorvel.exe"; exit 1; }
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
        cmake/wine-prefix.sh up "$WINEPREFIX" >/dev/null 2>&1 || true
        (cd "$(dirname "$0")" && timeout 60 wine ./quorvel.exe >/dev/null 2>&1 &)
        timeout 60 wine build/win64/bin/demo_driver.exe close; status=$?
        cmake/wine-prefix.sh down "$WINEPREFIX"
        exit $status' "$program" ||
        { echo "quorvel.exe from $package did not start alone under Wine"; exit 1; }
done

echo "| Package | Size | SHA-256 |"
echo "|---|---|---|"
for package in "${packages[@]}"; do
    echo "| $(basename "$package") | $(stat -c %s "$package") bytes | $(sha256sum "$package" | cut -d' ' -f1) |"
done
echo "Unpacked and started alone under Wine: both"
