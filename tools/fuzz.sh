#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/fuzz_*.cpp) with clang and libFuzzer into build-fuzz/ and runs
# each for SECONDS seconds (default 60), one after the other, on its seed corpus
# fuzz/corpus/<subject>/. New inputs go to build-fuzz/corpus/<subject>/; a finding stops
# that target, leaves the input in build-fuzz/findings/<subject>/ and fails the run.
#
#   tools/fuzz.sh [SECONDS] [SUBJECT...]      e.g. tools/fuzz.sh 20, tools/fuzz.sh 600 numbers
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
shift || true
source "$root/tools/setup.sh"
kalvero_install
kalvero_install_fuzz

build="$root/build-fuzz"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DKALVERO_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target kalvero_fuzz_targets

subjects=("$@")
if [ ${#subjects[@]} -eq 0 ]; then
    for source in "$root"/fuzz/fuzz_*.cpp; do
        name=$(basename "$source" .cpp)
        subjects+=("${name#fuzz_}")
    done
fi

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=()
for subject in "${subjects[@]}"; do
    work="$build/corpus/$subject"
    findings="$build/findings/$subject"
    mkdir -p "$work" "$findings"
    echo "fuzz: $subject for ${seconds}s"
    if ! "$build/fuzz/fuzz_$subject" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$findings/" "$work" "$root/fuzz/corpus/$subject" \
        >"$build/fuzz-$subject.log" 2>&1; then
        tail -n 40 "$build/fuzz-$subject.log" >&2
        failed+=("$subject")
    fi
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$build/fuzz-$subject.log" |
        sed "s/^/fuzz: $subject /" || true
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: findings in ${failed[*]} (inputs in $build/findings/)" >&2
    exit 1
fi
echo "fuzz: no findings"
