#!/usr/bin/env bash
# Sets everything up and runs every test: the format check, the test suite,
# and the test suite once more under AddressSanitizer and UBSan.
#   TUMBLEWICK_NO_SANITIZE=1 scripts/test.sh   skips the second pass
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests

echo "== Format"
git ls-files -- '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror

echo "== Tests"
ctest --test-dir build --output-on-failure --parallel "$(nproc)"

if [[ -z "${TUMBLEWICK_NO_SANITIZE:-}" ]]; then
    echo "== Tests under AddressSanitizer and UBSan"
    if [[ ! -f build-asan/build.ninja ]]; then
        cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTUMBLEWICK_SANITIZE=ON
    fi
    cmake --build build-asan --parallel "$(nproc)"
    export ASAN_OPTIONS=detect_leaks=1
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"
fi
echo "All tests passed."
