#!/usr/bin/env bash
# Installs the Debian 12 packages Tavrel needs to build, run and test, and
# only those that are missing, so a second run costs nothing. Then checks
# what the build and the tests really use (the compilers, every pkg-config
# module Qt and Qwt pull in, the tools the tests call, a CJK font) and names
# whatever is still missing, instead of leaving CMake or a test to fail
# later.
#
#   install-deps.sh [PACKAGE...]   also install these (the Windows cross
#                                  tools, the fuzzers, the kernel VM, ...)
#   install-deps.sh --check        only check, install nothing
set -euo pipefail

check_only=false
if [ "${1:-}" = "--check" ]; then
    check_only=true
    shift
fi

packages=(
    # Build: compilers, CMake, the kernel's headers (linux/lirc.h), Qt 5
    # widgets and Qwt. Qwt's pkg-config file requires the Qt SVG and OpenGL
    # modules as well.
    cmake g++ make pkg-config linux-libc-dev
    qtbase5-dev libqwt-qt5-dev libqt5svg5-dev libqt5opengl5-dev
    # The window on a virtual X display, with a font for the Chinese captions.
    xvfb xauth x11-utils fonts-wqy-microhei fontconfig
    # Tests: LIRC's simulators and ir-ctl cross-check the codec and the file
    # formats; python3 runs helpers.
    lirc lirc-compat-remotes v4l-utils python3
)
extra=("$@")

is_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for p in "${packages[@]}" "${extra[@]}"; do
    is_installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ] && ! $check_only; then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "install-deps: missing packages ${missing[*]}; run this script as root" >&2
            exit 1
        fi
        sudo="sudo"
    fi
    # A package of another architecture (wine32:i386) needs that
    # architecture enabled before the package lists are read.
    for p in "${missing[@]}"; do
        arch="${p#*:}"
        if [ "$arch" != "$p" ] && [ "$arch" != "$(dpkg --print-architecture)" ] &&
            ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
            $sudo dpkg --add-architecture "$arch"
        fi
    done
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi

# What the build and the tests use, checked directly.
problems=()
for p in "${missing[@]}"; do
    is_installed "$p" || problems+=("Debian package $p is not installed")
done
for tool in cmake make gcc g++ pkg-config xvfb-run Xvfb xauth xwininfo fc-list \
    irsimsend irsimreceive ir-ctl python3; do
    command -v "$tool" >/dev/null || problems+=("command $tool not found")
done
# Every module the program links, with everything each one requires:
# pkg-config names the first one it cannot find.
for module in Qt5Core Qt5Gui Qt5Widgets Qt5Test Qt5Qwt6; do
    if ! errors="$(pkg-config --exists --print-errors "$module" 2>&1)"; then
        problems+=("pkg-config: ${errors//$'\n'/ }")
    fi
done
if command -v fc-list >/dev/null && [ -z "$(fc-list :lang=zh family 2>/dev/null)" ]; then
    problems+=("no font for Chinese text (fc-list :lang=zh is empty)")
fi

if [ ${#problems[@]} -gt 0 ]; then
    echo "install-deps: the build or the tests will fail; missing:" >&2
    printf '  - %s\n' "${problems[@]}" >&2
    exit 1
fi
