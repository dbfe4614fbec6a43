#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each for a
# bounded time: 30 s each by default, 10 minutes each with --long, or
# --seconds N (scripts/test.sh, and so CI, runs 5 s each). --jobs N runs N
# targets at once (default: the number of processors). Names after the
# options pick targets (default: all). Any crash, sanitizer report, failed
# check, timeout or memory blow-up is a finding: the input is saved under
# build-fuzz/findings/ and the script fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"

seconds=30
jobs="$(nproc)"
targets=()
while [ $# -gt 0 ]; do
    case "$1" in
    --long) seconds=600 ;;
    --seconds) seconds="$2"; shift ;;
    --jobs) jobs="$2"; shift ;;
    -h | --help) sed -n '2,9p' "${BASH_SOURCE[0]}"; exit 0 ;;
    *) targets+=("$1") ;;
    esac
    shift
done

bash "$root/scripts/install-deps.sh" clang libclang-rt-14-dev

cmake -S "$root/fuzz" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

if [ ${#targets[@]} -eq 0 ]; then
    for source in "$root"/fuzz/targets/*.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi

# Inputs slower than this, or runs above this memory, are findings too.
per_input_timeout=10
rss_limit_mb=4096

mkdir -p "$build/findings"

# One target's run: its report goes to $build/fuzz_<target>.result, its
# exit status (0: no finding) to $build/fuzz_<target>.status.
fuzz_one() {
    local t="$1"
    # New inputs go to a work corpus; the committed seeds are only read.
    local work="$build/corpus/$t" log="$build/fuzz_$t.log" status=0
    mkdir -p "$work"
    (cd "$build" && "./fuzz_$t" -max_total_time="$seconds" -timeout="$per_input_timeout" \
        -rss_limit_mb="$rss_limit_mb" -print_final_stats=1 \
        -artifact_prefix="$build/findings/$t-" "$work" "$root/fuzz/corpus/$t") >"$log" 2>&1 || status=$?
    local runs cov
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
    cov="$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)"
    if [ "$status" -eq 0 ]; then
        echo "fuzz $t: ${runs:-?} executions, cov: ${cov:-?}, no finding (${seconds} s)"
    else
        echo "fuzz $t: FINDING after ${runs:-?} executions (exit $status); log: $log"
        grep -E 'ERROR|runtime error|check failed|^sent|^decoded|Test unit written' "$log" | head -20 || true
    fi >"$build/fuzz_$t.result"
    echo "$status" >"$build/fuzz_$t.status"
}

# Up to $jobs targets at once, each on a processor of its own; the reports
# come in the targets' order.
for t in "${targets[@]}"; do
    rm -f "$build/fuzz_$t.status"
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
        wait -n || true
    done
    fuzz_one "$t" &
done
wait
failed=0
for t in "${targets[@]}"; do
    cat "$build/fuzz_$t.result"
    [ "$(cat "$build/fuzz_$t.status" 2>/dev/null)" = 0 ] || failed=1
done
exit "$failed"
