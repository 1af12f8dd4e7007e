#!/usr/bin/env bash
# Builds Kalvero and its tests with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs the whole suite there. Any finding fails the run: undefined behaviour
# stops the program, leaks and memory errors end it with a failure. build/ is left alone.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/tools/setup.sh"
kalvero_install
kalvero_install "${KALVERO_TEST_PACKAGES[@]}"

build="$root/build-asan"
flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
# The same suite as test.sh: the store tests on a SQLite file and on a private PostgreSQL server.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALVERO_SERVER_TESTS=ON \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$build" -j "$(nproc)"

cd "$build"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
