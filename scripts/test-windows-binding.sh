#!/usr/bin/env bash
# Cross-builds the Windows adapter binding (korvex/dll) with its stand-in
# Korvex.dll and tests for 32-bit Windows, once with cdecl and once with
# stdcall adapter operations, and runs the tests under Wine. Installs the
# MinGW-w64 compilers and Wine first when they are missing. Exits nonzero if
# any build or test fails.
#
# Wine runs 32-bit Windows programs as 32-bit x86 Linux processes, so the
# tests run only where the kernel executes those itself (IA32 emulation).
# Where it cannot, or hands them to a binfmt_misc emulator such as qemu-user
# (under which Wine's first start alone outlasts the tests' time limits), the
# binding is still built for both conventions, the tests are reported as
# SKIPPED with the reason, and the script exits 0; TAVREL_REQUIRE_WINE=1 makes
# that a failure instead.
#
# Build folders: build-win-cdecl and build-win-stdcall at the top of the repo
# (each with its own Wine prefix inside).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

# Wine's 32-bit loader is an i386 package: install-deps.sh enables that
# architecture when it has to install it.
bash scripts/install-deps.sh \
    g++-mingw-w64-i686-posix gcc-mingw-w64-x86-64-win32 wine wine32:i386

# How this machine runs 32-bit x86 programs: "native", or what keeps Wine
# from running them.
i386_execution() {
    local entry
    for entry in /proc/sys/fs/binfmt_misc/*; do
        case "${entry##*/}" in register | status | '*') continue ;; esac
        if grep -qx enabled "$entry" 2>/dev/null &&
            grep -Eq '^magic 7f454c4601010100000000000000000002000[36]00' "$entry"; then
            echo "runs 32-bit x86 programs only through the emulator" \
                "$(sed -n 's/^interpreter //p' "$entry")"
            return
        fi
    done
    # Wine's loader is itself a 32-bit x86 program.
    local answer
    if answer="$(/usr/lib/wine/wine --version 2>&1)"; then
        echo native
    elif [[ "$answer" == *"Exec format error"* ]]; then
        echo "cannot run 32-bit x86 programs (its kernel has no IA32 emulation)"
    else
        echo "cannot start Wine's 32-bit loader: ${answer//$'\n'/ }"
    fi
}

execution="$(i386_execution)"
if [[ "$execution" == "cannot start"* ]]; then
    # The kernel would run it: the Wine installation itself is broken.
    echo "Windows binding tests FAILED: this machine $execution"
    exit 1
fi
run_tests=true
if [ "$execution" != native ]; then
    run_tests=false
    if [ "${TAVREL_REQUIRE_WINE:-0}" = 1 ]; then
        echo "This machine $execution; Wine cannot run the tests."
        exit 1
    fi
fi

jobs="${TAVREL_JOBS:-2}"
failed=()
for convention in cdecl stdcall; do
    build="$root/build-win-$convention"
    stdcall=OFF
    [ "$convention" = stdcall ] && stdcall=ON
    echo "== Windows binding, $convention =="
    # No display: a crashing test must not wait on Wine's crash dialog.
    if ! (cmake -S tests/windows -B "$build" \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" \
            -DKORVEX_STDCALL="$stdcall" >/dev/null &&
        cmake --build "$build" -j "$jobs"); then
        failed+=("$convention")
        continue
    fi
    $run_tests || continue
    if ! (cd "$build" && env -u DISPLAY -u WAYLAND_DISPLAY ctest --output-on-failure); then
        failed+=("$convention")
    fi
    # End this prefix's Wine server now rather than when it times out.
    WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "Windows binding tests FAILED: ${failed[*]}"
    exit 1
fi
if ! $run_tests; then
    echo "SKIPPED: Windows binding tests: this machine $execution," \
        "so Wine cannot run them (built for cdecl and stdcall, not run)."
    exit 0
fi
echo "Windows binding tests passed: cdecl and stdcall"
