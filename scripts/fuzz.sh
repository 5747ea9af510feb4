#!/usr/bin/env bash
# Builds the readers' fuzzers with clang's libFuzzer, AddressSanitizer and
# UBSan in build-fuzz/, and runs each of them from its seed corpus.
#   scripts/fuzz.sh                  every fuzzer for a fixed number of inputs,
#                                    with a fixed seed (the step of scripts/test.sh)
#   scripts/fuzz.sh --runs N         N inputs per fuzzer
#   scripts/fuzz.sh --time SECONDS   SECONDS per fuzzer, e.g. --time 600 for a hunt
#   scripts/fuzz.sh [...] NAME...    only the fuzzers named (see build-fuzz/fuzzers.txt)
# A crash, a hang (10 s for one input) or an allocation beyond 2 GB stops the
# run; the input that caused it is kept in build-fuzz/findings/NAME/. Once the
# reader is mended, add that input to tests/fuzz/corpus/NAME/, where every
# test pass tries it again.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=10000
seconds=""
names=()
while (($#)); do
    case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --time) seconds="$2"; shift 2 ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) names+=("$1"); shift ;;
    esac
done

if [[ ! -f build-fuzz/build.ninja ]]; then
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DTUMBLEWICK_FUZZ=ON "${launcher[@]}" >/dev/null
fi
cmake --build build-fuzz --parallel "$(nproc)"
((${#names[@]})) || mapfile -t names <build-fuzz/fuzzers.txt

export UBSAN_OPTIONS=print_stacktrace=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in "${names[@]}"; do
    fuzzer=build-fuzz/tests/fuzz/fuzz_$name
    [[ -x $fuzzer ]] || { echo "no fuzzer named $name" >&2; exit 2; }
    findings=build-fuzz/findings/$name
    mkdir -p "$findings" "$work/$name"
    options=(-seed=1 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$findings/")
    if [[ -n $seconds ]]; then
        options+=(-max_total_time="$seconds")
    else
        options+=(-runs="$runs")
    fi
    # New inputs go to a folder of this run; the committed corpus is only read.
    if ! "$fuzzer" "${options[@]}" "$work/$name" "tests/fuzz/corpus/$name" \
        >"$work/$name.log" 2>&1; then
        tail -n 60 "$work/$name.log"
        echo "fuzz_$name failed; the input is in $findings/" >&2
        exit 1
    fi
    inputs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$name.log")
    took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$work/$name.log")
    echo "fuzz_$name: ${inputs:-?} inputs in ${took:-?} s, no crash"
done
