#!/bin/sh
# Soak run: the campaign tests of the win64 build at five times their counts
# (1,000 kills, 5,000 writes per contending writer, 5,000 dialog cycles and 500
# launches), each in a process of its own, under one virtual display and in a
# Wine prefix of their own, so that a ctest run of the same build is left alone.
# Prints one table row per campaign; exits non-zero when any of them fails.
#
#   scripts/soak.sh                     scale 5
#   QUORVEL_CAMPAIGN_SCALE=1 scripts/soak.sh
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/win64
scale=${QUORVEL_CAMPAIGN_SCALE:-5}
prefix=${QUORVEL_WINEPREFIX:-$build/wineprefix-soak}

if [ -z "${QUORVEL_SOAK_DISPLAY:-}" ]; then
    cd "$root" || exit 1
    [ -f "$build/CMakeCache.txt" ] || cmake --preset win64 >/dev/null || exit 1
    cmake --build --preset win64 -j2 >/dev/null || { echo "soak: the win64 build failed" >&2; exit 1; }
    # Every Wine program of the run, the prefix's first one included, must
    # start inside the display.
    exec env QUORVEL_SOAK_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/soak.sh"
fi

export QUORVEL_WINEPREFIX="$prefix" QUORVEL_CAMPAIGN_SCALE="$scale"
"$root/cmake/wine-prefix.sh" up "$prefix" || exit 1
trap '"$root/cmake/wine-prefix.sh" down "$prefix"' EXIT
logs=$build/soak
mkdir -p "$logs"
wine_run=$build/wine-run.sh
tests=$build/bin/wine_tests.exe

names=$("$wine_run" "$tests" --gtest_list_tests --gtest_filter='Campaign.*' | tr -d '\r' | awk '/^  /{print $1}')
[ -n "$names" ] || { echo "soak: no campaign tests found" >&2; exit 1; }
status=0
rows=
for name in $names; do
    start=$(date +%s)
    # The tests end what they start; the timeout is for a test that hangs itself.
    timeout -k 10 1800 "$wine_run" "$tests" --gtest_filter="Campaign.$name" >"$logs/$name.log" 2>&1
    rc=$?
    seconds=$(($(date +%s) - start))
    line=$(tr -d '\r' <"$logs/$name.log" | sed -n 's/^campaign \([a-z]*\): /\1|/p' | tail -n 1)
    if [ "$rc" -eq 0 ] && [ -n "$line" ]; then result=ok; else result=FAILED; status=1; fi
    rows="$rows$result|$seconds|${line:-$name|(no result line)}
"
done

echo "Soak at scale $scale (logs in $logs):"
printf '%-7s %8s  %-11s %s\n' status seconds campaign result
printf '%s' "$rows" | while IFS='|' read -r result seconds campaign text; do
    printf '%-7s %8s  %-11s %s\n' "$result" "$seconds" "$campaign" "$text"
done
exit "$status"
