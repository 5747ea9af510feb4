#!/usr/bin/env bash
# Sets everything up and runs every test: the format check, the test suite,
# the install and the Debian package checked under Xvfb
# (scripts/check-install.sh), the test suite once more under
# AddressSanitizer and UBSan, and a short run
# of the readers' fuzzers (scripts/fuzz.sh; clang and libFuzzer). In each test
# pass every test case runs on its own first, then every test program runs
# whole with its cases in a shuffled order (CTest label "whole", with the same
# environment as the single cases): under three seeds in the main pass, under
# one in the sanitizer pass.
#   TUMBLEWICK_NO_SANITIZE=1 scripts/test.sh   skips the sanitizer pass
#   TUMBLEWICK_NO_FUZZ=1 scripts/test.sh       skips the fuzzers
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests

echo "== Format"
git ls-files -- '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror

run_tests() {
    echo "== $2: every case on its own"
    ctest --test-dir "$1" --output-on-failure --parallel "$(nproc)" --label-exclude whole
    echo "== $2: every test program whole, shuffled"
    ctest --test-dir "$1" --output-on-failure --parallel "$(nproc)" --label-regex whole
}

run_tests build "Tests"

echo "== Install: cmake --install and the Debian package, each started under Xvfb"
scripts/check-install.sh build
scripts/check-install.sh --deb build

if [[ -z "${TUMBLEWICK_NO_SANITIZE:-}" ]]; then
    if [[ ! -f build-asan/build.ninja ]]; then
        cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTUMBLEWICK_SANITIZE=ON
    fi
    # The order of the cases is tried under three seeds in the main pass;
    # here one seed is enough to run each program whole under the sanitizers.
    cmake build-asan -DTUMBLEWICK_SHUFFLE_SEEDS=1 >/dev/null
    cmake --build build-asan --parallel "$(nproc)"
    export ASAN_OPTIONS=detect_leaks=1
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    run_tests build-asan "Tests under AddressSanitizer and UBSan"
fi
if [[ -z "${TUMBLEWICK_NO_FUZZ:-}" ]]; then
    echo "== Fuzzers, a fixed number of inputs each"
    scripts/fuzz.sh
fi
echo "All tests passed."
