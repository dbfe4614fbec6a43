#!/usr/bin/env bash
# Cross-builds the Windows adapter binding (korvex/dll) with its stand-in
# Korvex.dll and tests for 32-bit Windows, once with cdecl and once with
# stdcall adapter operations, and runs the tests under Wine. Installs the
# MinGW-w64 compilers and Wine first when they are missing. Exits nonzero if
# any build or test fails.
#
# Build folders: build-win-cdecl and build-win-stdcall at the top of the repo
# (each with its own Wine prefix inside).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

# Wine's 32-bit loader is an i386 package; install-deps.sh refreshes the
# package lists before it installs anything missing.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
bash scripts/install-deps.sh \
    g++-mingw-w64-i686-posix gcc-mingw-w64-x86-64-win32 wine wine32:i386

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
        cmake --build "$build" -j "$jobs" &&
        cd "$build" && env -u DISPLAY -u WAYLAND_DISPLAY ctest --output-on-failure); then
        failed+=("$convention")
    fi
    # End this prefix's Wine server now rather than when it times out.
    WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "Windows binding tests FAILED: ${failed[*]}"
    exit 1
fi
echo "Windows binding tests passed: cdecl and stdcall"
