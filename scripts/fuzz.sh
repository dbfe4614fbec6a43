#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each for a
# bounded time: 30 s each by default, 10 minutes each with --long, or
# --seconds N. Names after the options pick targets (default: all).
# Any crash, sanitizer report, failed check, timeout or memory blow-up is a
# finding: the input is saved under build-fuzz/findings/ and the script fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"

seconds=30
targets=()
while [ $# -gt 0 ]; do
    case "$1" in
    --long) seconds=600 ;;
    --seconds) seconds="$2"; shift ;;
    -h | --help) sed -n '2,7p' "${BASH_SOURCE[0]}"; exit 0 ;;
    *) targets+=("$1") ;;
    esac
    shift
done

bash "$root/scripts/install-deps.sh" clang libclang-rt-14-dev

cmake -S "$root/fuzz" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j2 >/dev/null

if [ ${#targets[@]} -eq 0 ]; then
    for source in "$root"/fuzz/targets/*.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi

# Inputs slower than this, or runs above this memory, are findings too.
per_input_timeout=10
rss_limit_mb=4096

mkdir -p "$build/findings"
failed=0
for t in "${targets[@]}"; do
    # New inputs go to a work corpus; the committed seeds are only read.
    work="$build/corpus/$t"
    log="$build/fuzz_$t.log"
    mkdir -p "$work"
    status=0
    (cd "$build" && "./fuzz_$t" -max_total_time="$seconds" -timeout="$per_input_timeout" \
        -rss_limit_mb="$rss_limit_mb" -print_final_stats=1 \
        -artifact_prefix="$build/findings/$t-" "$work" "$root/fuzz/corpus/$t") >"$log" 2>&1 || status=$?
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
    cov="$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)"
    if [ "$status" -eq 0 ]; then
        echo "fuzz $t: ${runs:-?} executions, cov: ${cov:-?}, no finding (${seconds} s)"
    else
        echo "fuzz $t: FINDING after ${runs:-?} executions (exit $status); log: $log"
        grep -E 'ERROR|runtime error|check failed|^sent|^decoded|Test unit written' "$log" | head -20 || true
        failed=1
    fi
done
exit "$failed"
