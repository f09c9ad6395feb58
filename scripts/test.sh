#!/usr/bin/env bash
# Checks the formatting, builds every preset (native, native with sanitizers,
# win64, win32) and runs every test: the native ones directly, and the Windows
# ones of each build (x86_64 and i686) under Wine on a virtual display.
# Then fuzzes the settings store for a minute per harness. Ends with the
# total of all test runs.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1

jobs=$(nproc)
passed=0
failed=0
status=0

build() {
    cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j "$jobs" >"build/$1.build.log" 2>&1 ||
        { echo "build of preset $1 failed:"; tail -n 40 "build/$1.build.log"; return 1; }
}

run_tests() {
    local preset=$1
    shift
    local log="build/$preset.ctest.log"
    "$@" ctest --preset "$preset" -j "$jobs" 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    local summary
    summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$summary" ]; then
        echo "ctest of preset $preset printed no summary"
        status=1
        return
    fi
    local total fail
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
    fail=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    passed=$((passed + total - fail))
    failed=$((failed + fail))
}

# The formatting check counts as one test.
echo "== format"
if git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror; then
    passed=$((passed + 1))
else
    echo "some files are not formatted: run clang-format -i on them"
    failed=$((failed + 1))
fi

mkdir -p build
for preset in native native-asan win64 win32; do
    echo "== build: $preset"
    build "$preset" || status=1
done

echo "== tests: native"
run_tests native
echo "== tests: native-asan"
run_tests native-asan
echo "== tests: win64 (Wine)"
run_tests win64 xvfb-run -a -s "-screen 0 1280x1024x24"
echo "== tests: win32 (Wine)"
run_tests win32 xvfb-run -a -s "-screen 0 1280x1024x24"

# Each fuzz harness counts as one test.
echo "== fuzz: 60 s per harness"
scripts/fuzz.sh 60 2>&1 | tee build/fuzz.log
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
fuzz_passed=$(grep -cE ' passed$' build/fuzz.log)
fuzz_failed=$(grep -cE ' failed$' build/fuzz.log)
if [ $((fuzz_passed + fuzz_failed)) -eq 0 ]; then
    echo "the fuzz step printed no results"
    fuzz_failed=1
fi
passed=$((passed + fuzz_passed))
failed=$((failed + fuzz_failed))

echo
echo "all presets: $passed passed, $failed failed"
[ "$status" -eq 0 ] && [ "$failed" -eq 0 ]
