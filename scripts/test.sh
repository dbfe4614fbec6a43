#!/usr/bin/env bash
# Installs what is missing, builds Tavrel and runs every test: the normal
# build, the AddressSanitizer + UndefinedBehaviorSanitizer build, the
# ThreadSanitizer build of the threaded tests, then the further suites that
# exist (the Windows binding under Wine, the short fuzz runs).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"

bash "$root/scripts/install-deps.sh" lirc lirc-compat-remotes v4l-utils

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

suite() {
    echo "=== $1"
}

suite "normal build"
build build
(cd "$root/build" && ctest --output-on-failure -j"$jobs")

suite "AddressSanitizer + UndefinedBehaviorSanitizer"
build build-asan -DCMAKE_BUILD_TYPE=Debug -DTAVREL_SANITIZE=address,undefined \
    -DTAVREL_BUILD_BENCH=OFF
(cd "$root/build-asan" && ctest --output-on-failure -j"$jobs" -LE no-sanitizer)

suite "ThreadSanitizer (threaded tests)"
build build-tsan -DCMAKE_BUILD_TYPE=Debug -DTAVREL_SANITIZE=thread -DTAVREL_BUILD_BENCH=OFF
(cd "$root/build-tsan" && ctest --output-on-failure -L threaded)

for extra in test-windows-binding.sh fuzz.sh; do
    if [ -f "$root/scripts/$extra" ]; then
        suite "$extra"
        bash "$root/scripts/$extra"
    fi
done
echo "=== all test suites passed"
