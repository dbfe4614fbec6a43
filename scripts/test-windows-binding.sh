#!/usr/bin/env bash
# Cross-builds the Windows adapter binding (korvex/dll) with its stand-in
# Korvex.dll and tests, and runs the tests under Wine. Installs the MinGW-w64
# compilers and Wine first when they are missing. Exits nonzero if any build
# or test fails.
#
# Three builds, each with its own Wine prefix inside:
#   build-win64        x86-64: run under 64-bit Wine on every machine (it
#                      needs nothing 32-bit of the kernel)
#   build-win-cdecl    x86, the program's own platform, with cdecl and with
#   build-win-stdcall  stdcall adapter operations: always built, run where
#                      the kernel runs 32-bit x86 programs (IA32 emulation)
# Where the kernel cannot, or hands them to a binfmt_misc emulator such as
# qemu-user (under which Wine's first start alone outlasts the tests' time
# limits), the 32-bit runs are reported as SKIPPED with the reason;
# TAVREL_REQUIRE_WINE=1 makes that a failure instead.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
start=$SECONDS

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
    # The smallest 32-bit x86 program: exit(0) through int 0x80. An ELF
    # header, one loadable segment at 0x08048000, and 9 bytes of code.
    local probe
    probe="$(mktemp "$root/.i386-probe.XXXXXX")"
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$probe"
    printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' >>"$probe"
    printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' >>"$probe"
    printf '\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08' >>"$probe"
    printf '\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00' >>"$probe"
    printf '\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >>"$probe"
    chmod +x "$probe"
    if "$probe" 2>/dev/null; then
        echo native
    else
        echo "cannot run 32-bit x86 programs (its kernel has no IA32 emulation)"
    fi
    rm -f "$probe"
}

execution="$(i386_execution)"
packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64)
if [ "$execution" = native ]; then
    # Wine's 32-bit loader is an i386 package: install-deps.sh enables that
    # architecture when it has to install it.
    packages+=(wine32:i386)
elif [ "${TAVREL_REQUIRE_WINE:-0}" = 1 ]; then
    echo "This machine $execution; Wine cannot run the 32-bit tests."
    exit 1
fi
bash scripts/install-deps.sh "${packages[@]}"
if [ "$execution" = native ] && ! answer="$(/usr/lib/wine/wine --version 2>&1)"; then
    # The kernel would run it: the Wine installation itself is broken.
    echo "Windows binding tests FAILED: cannot start Wine's 32-bit loader: ${answer//$'\n'/ }"
    exit 1
fi

jobs="${TAVREL_JOBS:-2}"
failed=()
passed=()

# build <folder> <toolchain> <KORVEX_STDCALL>
build() {
    cmake -S tests/windows -B "$1" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2.cmake" \
        -DKORVEX_STDCALL="$3" >/dev/null &&
        cmake --build "$1" -j "$jobs"
}

# run <folder> <WINEARCH>: the tests of a build. Wine starts once for them:
# the prefix is made or brought up to date, and its server kept up until the
# last test has run, instead of each test starting and ending it.
run() {
    (
        export WINEPREFIX="$1/wineprefix" WINEARCH="$2" WINEDEBUG=-all \
            WINEDLLOVERRIDES="mscoree,mshtml="
        # No display: a crashing test must not wait on Wine's crash dialog.
        unset DISPLAY WAYLAND_DISPLAY
        trap 'wineserver -k 2>/dev/null || true' EXIT
        wineserver -p
        # Its services outlive wineboot while the server runs: their output
        # goes to a file, not to a pipe that ctest would wait on.
        if ! timeout 300 wine wineboot.exe --init >"$1/wineboot.log" 2>&1; then
            echo "Wine did not start (its output: $1/wineboot.log)"
            exit 1
        fi
        cd "$1" && ctest --output-on-failure -E '^wine_prefix$' -FS wine
    )
}

# stage <name> <folder> <toolchain> <KORVEX_STDCALL> <WINEARCH or "">: builds,
# and runs unless no WINEARCH is given.
stage() {
    local began=$SECONDS
    echo "== Windows binding, $1 =="
    if ! build "$2" "$3" "$4"; then
        failed+=("$1 (build)")
    elif [ -n "$5" ] && ! run "$2" "$5"; then
        failed+=("$1")
    elif [ -n "$5" ]; then
        passed+=("$1")
    fi
    echo "== $1: $((SECONDS - began)) s"
}

stage "x86-64 under 64-bit Wine" "$root/build-win64" x86_64-w64-mingw32 OFF win64
arch32=""
[ "$execution" = native ] && arch32=win32
stage "x86, cdecl" "$root/build-win-cdecl" i686-w64-mingw32 OFF "$arch32"
stage "x86, stdcall" "$root/build-win-stdcall" i686-w64-mingw32 ON "$arch32"

echo "Windows binding: $((SECONDS - start)) s in all"
if [ ${#failed[@]} -ne 0 ]; then
    echo "Windows binding tests FAILED: ${failed[*]}"
    exit 1
fi
summary="$(printf '%s; ' "${passed[@]}")"
echo "Windows binding tests passed: ${summary%; }"
if [ -z "$arch32" ]; then
    echo "SKIPPED: 32-bit Windows binding runs: this machine $execution, so Wine" \
        "cannot run them (built for cdecl and stdcall, not run)."
fi
