#!/usr/bin/env bash
# Real fuzzing with libFuzzer: builds every fuzz target (tests/fuzz/*Fuzz.cpp)
# with clang, AddressSanitizer and UndefinedBehaviorSanitizer in build-fuzz/,
# then runs each one for the given number of minutes. The seed corpus of a
# target is tests/fuzz/corpus/<Name>/; inputs that find new paths go to
# build-fuzz/corpus/<Name>/, and an input that crashes, leaks, times out or
# runs out of memory is saved into the seed corpus (crash-*, leak-*,
# timeout-*, oom-*), where the ordinary test run replays it from then on.
# Each target's output goes to build-fuzz/logs/<Name>.log; at the end a table
# gives per target the inputs run, the rate, the coverage (libFuzzer's cov:,
# the instrumented edges reached, and ft:, its finer features), the corpus
# it ended with and its peak memory.
#
# usage: scripts/fuzz.sh MINUTES [TARGET...]
#   TARGET is a fuzz target's name without "Fuzz": Archive, Config, Png, ...
#   Without targets, every fuzz target runs.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"

usage() {
    echo "usage: scripts/fuzz.sh MINUTES [TARGET...]" >&2
    exit 2
}

[[ $# -ge 1 ]] || usage
minutes=$1
shift
[[ $minutes =~ ^[0-9]+$ && $minutes -gt 0 ]] || { echo "fuzz.sh: MINUTES must be a whole number above 0, got '$minutes'" >&2; usage; }

available=()
for source in "$root"/tests/fuzz/*Fuzz.cpp; do
    [[ -e $source ]] || continue
    stem=$(basename "$source" .cpp)
    available+=("${stem%Fuzz}")
done
[[ ${#available[@]} -gt 0 ]] || { echo "fuzz.sh: no fuzz targets in tests/fuzz" >&2; exit 1; }

if [[ $# -gt 0 ]]; then
    targets=("$@")
    for target in "${targets[@]}"; do
        if [[ ! -e "$root/tests/fuzz/${target}Fuzz.cpp" ]]; then
            echo "fuzz.sh: no fuzz target '$target' (have: ${available[*]})" >&2
            exit 2
        fi
    done
else
    targets=("${available[@]}")
fi

command -v clang++ >/dev/null || {
    echo "fuzz.sh: clang++ with libFuzzer is needed. Run as root:" >&2
    echo "  apt-get install -y clang" >&2
    exit 1
}
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)

# Every library is built with coverage instrumentation (fuzzer-no-link), so
# the fuzzer sees paths inside the code under test, not only in the target.
cmake -S "$root" -B "$build" "${generator[@]}" \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
    -DVLO_FUZZ=ON -DVLO_SANITIZE=ON -DVLO_DEMO=OFF -DVLO_BENCH=OFF >/dev/null
build_targets=()
for target in "${targets[@]}"; do
    build_targets+=("fuzz_$target")
done
cmake --build "$build" --target "${build_targets[@]}" -j2

# Targets that write scratch files do so under TMPDIR; libFuzzer ends without
# running exit handlers, so keep what they leave inside the build folder.
export TMPDIR="$build/tmp"
mkdir -p "$TMPDIR" "$build/logs"

# One line of the summary from a target's log: the last status line that
# libFuzzer printed (cov:, ft:, corp:) and its final statistics.
summarise() {
    local target=$1 log=$2 verdict=$3
    local status runs rate rss
    status=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -n 1 || true)
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log" | tail -n 1)
    local cov ft corp
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$status")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$status")
    corp=$(sed -n 's/.* corp: \([^ ]*\).*/\1/p' <<<"$status")
    printf '%-8s %12s %8s %6s %7s %14s %7s  %s\n' "$target" "${runs:--}" "${rate:--}" "${cov:--}" \
        "${ft:--}" "${corp:--}" "${rss:--}" "$verdict"
}

failed=()
summary=()
for target in "${targets[@]}"; do
    seeds="$root/tests/fuzz/corpus/$target"
    work="$build/corpus/$target"
    log="$build/logs/$target.log"
    mkdir -p "$seeds" "$work"
    echo "== fuzzing $target for $minutes minute(s), output in $log"
    verdict=ok
    if ! "$build/tests/fuzz/fuzz_$target" \
        -max_total_time=$((minutes * 60)) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$seeds/" "$work" "$seeds" >"$log" 2>&1; then
        failed+=("$target")
        verdict="FAILED (input saved in tests/fuzz/corpus/$target/)"
        grep -E '^(==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' "$log" >&2 || true
    fi
    summary+=("$(summarise "$target" "$log" "$verdict")")
done

rm -rf "$TMPDIR"

echo
printf '%-8s %12s %8s %6s %7s %14s %7s  %s\n' target executions exec/s cov ft corpus rss/MB result
printf '%s\n' "${summary[@]}"
echo

if [[ ${#failed[@]} -gt 0 ]]; then
    echo "fuzz.sh: failures in: ${failed[*]}; the inputs are in tests/fuzz/corpus/<target>/" >&2
    exit 1
fi
echo "fuzz.sh: no failures in ${targets[*]}"
