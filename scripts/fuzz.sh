#!/usr/bin/env bash
# Real fuzzing with libFuzzer: builds every fuzz target (tests/fuzz/*Fuzz.cpp)
# with clang, AddressSanitizer and UndefinedBehaviorSanitizer in build-fuzz/,
# then runs each one for the given number of minutes. The seed corpus of a
# target is tests/fuzz/corpus/<Name>/; inputs that find new paths go to
# build-fuzz/corpus/<Name>/, and an input that crashes, leaks, times out or
# runs out of memory is saved into the seed corpus (crash-*, leak-*,
# timeout-*, oom-*), where the ordinary test run replays it from then on.
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

command -v clang++ >/dev/null || { echo "fuzz.sh: clang++ is needed for libFuzzer" >&2; exit 1; }
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
mkdir -p "$TMPDIR"

failed=()
for target in "${targets[@]}"; do
    seeds="$root/tests/fuzz/corpus/$target"
    work="$build/corpus/$target"
    mkdir -p "$seeds" "$work"
    echo "== fuzzing $target for $minutes minute(s)"
    if ! "$build/tests/fuzz/fuzz_$target" \
        -max_total_time=$((minutes * 60)) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$seeds/" "$work" "$seeds"; then
        failed+=("$target")
    fi
done

rm -rf "$TMPDIR"

if [[ ${#failed[@]} -gt 0 ]]; then
    echo "fuzz.sh: failures in: ${failed[*]}; the inputs are in tests/fuzz/corpus/<target>/" >&2
    exit 1
fi
echo "fuzz.sh: no failures in ${targets[*]}"
