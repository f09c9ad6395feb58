#!/usr/bin/env bash
# Fuzzes the settings store: builds the fuzz preset and runs its harnesses side
# by side for the given seconds each (600 unless told), each from its seed
# corpus with the dictionary, then prints what each did. An input that crashes
# a harness is kept in build/fuzz/crashes and the script fails.
#   scripts/fuzz.sh [seconds-per-harness]
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
seconds=${1:-600}
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || { echo "usage: scripts/fuzz.sh [seconds-per-harness]"; exit 2; }
scripts/install-deps.sh || exit 1

harnesses=(reader write_read)
out=build/fuzz
mkdir -p build
{ cmake --preset fuzz && cmake --build --preset fuzz -j "$(nproc)"; } >build/fuzz.build.log 2>&1 ||
    { echo "build of preset fuzz failed:"; tail -n 40 build/fuzz.build.log; exit 1; }

# The corpora grow in the build folder, from the seeds in the repository.
stamp=$(date +%Y%m%d-%H%M%S)
mkdir -p "$out/crashes"
pids=()
for harness in "${harnesses[@]}"; do
    mkdir -p "$out/corpus-$harness"
    cp tests/fuzz/corpus/"$harness"/* "$out/corpus-$harness/"
    # -timeout only catches a hang: no input of 4 KB takes seconds.
    (
        start=$SECONDS
        "$out/tests/fuzz/${harness}_fuzz" "$out/corpus-$harness" -dict=tests/fuzz/settings.dict \
            -max_len=4096 -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
            -artifact_prefix="$out/crashes/$harness-$stamp-" >"$out/$harness.log" 2>&1
        echo "$? $((SECONDS - start))" >"$out/$harness.status"
    ) &
    pids+=($!)
done
wait "${pids[@]}"

failures=()
printf '%-12s %8s %12s %8s %8s %8s  %s\n' harness seconds executions exec/s corpus crashes result
for harness in "${harnesses[@]}"; do
    log=$out/$harness.log
    read -r code took <"$out/$harness.status"
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    # libFuzzer's own count: the folder also keeps inputs it has since bettered.
    corpus=$(grep -oE 'corp: [0-9]+' "$log" | tail -n 1 | cut -d ' ' -f 2)
    crashes=$(find "$out/crashes" -name "$harness-$stamp-*" -type f | wc -l)
    result=passed
    if [ "$code" -ne 0 ] || [ "$crashes" -ne 0 ] || [ -z "$runs" ]; then
        result=failed
        failures+=("$harness")
    fi
    printf '%-12s %8s %12s %8s %8s %8s  %s\n' "$harness" "$took" "${runs:--}" "${rate:--}" \
        "${corpus:--}" "$crashes" "$result"
done
for harness in "${failures[@]}"; do
    echo "-- $harness ($out/$harness.log):"
    grep -m 4 -E '^==[0-9]+==ERROR|^SUMMARY|runtime error|deadly signal|Test unit written' \
        "$out/$harness.log"
done
[ ${#failures[@]} -eq 0 ]
