#!/usr/bin/env bash
# Installs what is missing, builds Tavrel and runs its tests.
#
#   test.sh          every suite: the normal build, the AddressSanitizer +
#                    UndefinedBehaviorSanitizer build, the ThreadSanitizer
#                    build of the threaded tests, the Qt 5.5 floor check,
#                    the Windows binding under Wine, the short fuzz runs
#                    (5 s a target, TAVREL_FUZZ_SECONDS to change; longer
#                    runs: scripts/fuzz.sh --long) and the real-kernel tests
#                    in a virtual machine (beside the sanitizer build)
#   test.sh --quick  the normal build and its tests only (the inner loop):
#                    no benchmarks are built
#
# Tests labelled "realtime" measure real time and never run in parallel with
# other tests.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"

quick=false
case "${1:-}" in
--quick) quick=true ;;
"") ;;
*) sed -n '2,15p' "${BASH_SOURCE[0]}" >&2; exit 2 ;;
esac

suite() {
    echo "=== $1"
}

suite "installing what is missing"
if $quick; then
    bash "$root/scripts/install-deps.sh"
else
    # The floor check reads Qt's own documentation.
    bash "$root/scripts/install-deps.sh" qtbase5-doc
fi

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/tsan.supp"

build() {
    local dir="$1"
    shift
    cmake -S "$root" -B "$root/$dir" "$@" >/dev/null
    cmake --build "$root/$dir" -j"$jobs"
}

suite "normal build"
# The benchmarks are run by hand only: the full run builds them so that they
# keep compiling, the quick one leaves them out.
if $quick; then bench=OFF; else bench=ON; fi
build build -DTAVREL_BUILD_BENCH=$bench
suite "normal build: tests"
(cd "$root/build" && ctest --output-on-failure -j"$jobs")
if $quick; then
    echo "=== quick tests passed"
    exit 0
fi

suite "Qt 5.5 floor"
python3 "$root/scripts/check-qt-floor.py" "$root/build" \
    "$root"/{app,adapter,transmit,receive,tests,bench,fuzz}

# A suite that this machine cannot run says so in a line starting "SKIPPED";
# those lines are repeated at the end.
log="$(mktemp)"
kernel_log="$(mktemp)"
kernel_pid=""
cleanup() {
    # The tests' own process group: the virtual machine stops with them.
    [ -n "$kernel_pid" ] && kill -- -"$kernel_pid" 2>/dev/null
    rm -f "$log" "$kernel_log"
}
trap cleanup EXIT
skipped=""
report() {
    skipped+="$(grep '^SKIPPED' "$1" || true)"$'\n'
}
extra() {
    suite "$1"
    bash "$root/scripts/$@" | tee "$log"
    report "$log"
}

# The real-kernel tests spend most of their time waiting on the virtual
# machine's clock, so they run beside the sanitizer build, which keeps the
# processors busy; never beside a test run, whose real-time tests they would
# disturb. They use kernel_check from the normal build.
echo "=== test-kernel.sh: started beside the next build"
setsid bash "$root/scripts/test-kernel.sh" >"$kernel_log" 2>&1 &
kernel_pid=$!
kernel_done() {
    local status=0
    wait "$kernel_pid" || status=$?
    kernel_pid=""
    suite "test-kernel.sh"
    cat "$kernel_log"
    report "$kernel_log"
    return "$status"
}

suite "AddressSanitizer + UndefinedBehaviorSanitizer"
build build-asan -DCMAKE_BUILD_TYPE=Debug -DTAVREL_SANITIZE=address,undefined \
    -DTAVREL_BUILD_BENCH=OFF
kernel_done
suite "AddressSanitizer + UndefinedBehaviorSanitizer: tests"
(cd "$root/build-asan" && ctest --output-on-failure -j"$jobs")

suite "ThreadSanitizer (threaded tests)"
# Only the threaded tests run here, so only they are built; each test's
# executable has the test's name.
cmake -S "$root" -B "$root/build-tsan" -DCMAKE_BUILD_TYPE=Debug -DTAVREL_SANITIZE=thread \
    -DTAVREL_BUILD_BENCH=OFF >/dev/null
mapfile -t threaded < <(cd "$root/build-tsan" && ctest -N -L threaded | sed -n 's/^ *Test *#[0-9]*: //p')
cmake --build "$root/build-tsan" -j"$jobs" --target "${threaded[@]}"
(cd "$root/build-tsan" && ctest --output-on-failure -L threaded)

extra test-windows-binding.sh
extra fuzz.sh --seconds "${TAVREL_FUZZ_SECONDS:-5}"
if [ -n "${skipped//$'\n'/}" ]; then
    echo "=== all test suites passed that this machine can run; skipped:"
    printf '%s' "$skipped" | grep .
else
    echo "=== all test suites passed"
fi
