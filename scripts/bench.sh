#!/usr/bin/env bash
# The benchmark: Quorvel against bare programs built with the same toolchain
# and flags (tools/bench), measured from outside under Wine on a virtual
# display, the pairs alternating in one run. Prints a table of ratios (median
# and interquartile range) with the absolute medians beside them, and writes
# it to build/bench/results.md, with the size of both quorvel.exe (i686 and
# x86_64). The x86_64 builds are measured, and the start-up of the i686 ones
# too. A benchmark, not a test: nothing here fails on a slow figure.
#
#   scripts/bench.sh [--quick]     --quick: 5 pairs and 20,000 images
set -euo pipefail
cd "$(dirname "$0")/.."

# Inside the virtual display: the prefix's server and desktop live on the same
# display as the runs.
if [ "${1:-}" = "--inside" ]; then
    cmake/wine-prefix.sh up "$WINEPREFIX" >/dev/null 2>&1 || true
    KX_RECORD=$(winepath -w "$PWD/$bench/kx-record.txt") wine "$bench/programs/bench_driver.exe" \
        "$runs" "$(winepath -w "$PWD/$bench/small")" "$(winepath -w "$PWD/$bench/big")" "$big_count"
    cmake/wine-prefix.sh down "$WINEPREFIX"
    exit
fi

runs=20
big_count=100000
if [ "${1:-}" = "--quick" ]; then
    runs=5
    big_count=20000
fi
scripts/install-deps.sh >/dev/null

for preset in win64 win32; do
    cmake --preset "$preset" >/dev/null
done
cmake --build --preset win64 -j "$(nproc)" --target quorvel kx bare_window bare_window_manifest bench_driver >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target quorvel bare_window_manifest >/dev/null

bench=build/bench
rm -rf "$bench/programs" "$bench/small"
mkdir -p "$bench/programs" "$bench/small" "$bench/big"
for program in quorvel kx bare_window bare_window_manifest bench_driver; do
    cp "build/win64/bin/$program.exe" "$bench/programs/"
done
for program in quorvel bare_window_manifest; do
    cp "build/win32/bin/$program.exe" "$bench/programs/$program-i686.exe"
done
touch "$bench/small/demo.sms"
for i in $(seq 1 9); do touch "$bench/small/game $i.gg"; done
if [ "$(find "$bench/big" -type f | wc -l)" -ne "$big_count" ]; then
    rm -rf "$bench/big" && mkdir -p "$bench/big"
    (cd "$bench/big" && seq -f "image %06g.sms" 1 "$big_count" | xargs touch)
fi

export WINEPREFIX=$PWD/$bench/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
: >"$bench/kx-record.txt"
size_row() {  # figure, file, target in KB
    local kb=$(( ($(stat -c %s "$2") + 1023) / 1024 ))
    echo "| $1 | $kb KB | | | <= $3 KB |"
}
export bench runs big_count
{
    echo "Measured $(date -u +%Y-%m-%d) on $(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)), $(wine --version), $runs pairs, $big_count images in the big folder."
    echo
    xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside | tr -d '\r'
    size_row "quorvel.exe, i686" build/win32/bin/quorvel.exe 256
    size_row "quorvel.exe, x86_64" build/win64/bin/quorvel.exe 224
} | tee "$bench/results.md"
