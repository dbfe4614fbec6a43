#!/usr/bin/env bash
# The LIRC back end against the real Linux kernel: Debian's kernel image
# (the one linux-image-amd64 depends on) boots in QEMU with an initramfs of
# busybox, the kernel's remote-control modules (rc-core, rc-loopback and the
# protocol decoders) and tests/kernel/kernel_check, which drives rc-loopback's
# /dev/lirc0 through the Korvex operations and holds our codec against the
# kernel's own decoders and encoders. Nothing is installed into the host's
# kernel. Fails on any failed check, a kernel oops, BUG, warning or panic,
# or a timeout.
#
#   scripts/test-kernel.sh [--payload FILE]... [--check SCRIPT]...
#
# Payload files are copied to /extra in the VM; each check script runs there
# (cwd /extra) after the built-in checks, with ir-ctl, busybox and
# /test/kernel_check at hand, and fails the run by a nonzero exit.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

bash "$root/scripts/install-deps.sh" qemu-system-x86 busybox-static cpio xz-utils zstd

build="${TAVREL_KERNEL_BUILD:-$root/build-kernel}"
run_timeout=300 # seconds for the whole VM run
probe_timeout=30
payloads=()
checks=()
while [ $# -gt 0 ]; do
    case "$1" in
    --payload) payloads+=("$2"); shift 2 ;;
    --check) checks+=("$2"); shift 2 ;;
    *) echo "usage: $0 [--payload FILE]... [--check SCRIPT]..." >&2; exit 2 ;;
    esac
done
started=$EPOCHREALTIME

fail() {
    echo "test-kernel: FAILED: $*" >&2
    exit 1
}

# --- The kernel package: the version linux-image-amd64 depends on. --------
image_package() {
    apt-cache depends linux-image-amd64 2>/dev/null \
        | awk '/Depends: linux-image-[0-9]/ { print $2; exit }'
}
package="$(image_package)"
if [ -z "$package" ]; then
    apt-get update -qq || sudo apt-get update -qq
    package="$(image_package)"
fi
[ -n "$package" ] || fail "cannot resolve the kernel image package of linux-image-amd64"
version="$(apt-cache policy "$package" | awk '/Candidate:/ { print $2 }')"
# Kept where every clone's run finds it (the fresh root's base system is kept
# there too), else in the build folder.
debs="${TAVREL_ROOT_CACHE:-/var/cache/tavrel}/kernel-debs"
mkdir -p "$debs" 2>/dev/null && [ -w "$debs" ] || debs="$build/debs"
mkdir -p "$debs"
deb="$debs/${package}_${version}_amd64.deb"
deb="${deb//:/%3a}"
if [ ! -s "$deb" ]; then
    rm -f "$debs/"*.deb
    (cd "$debs" && apt-get download "$package=$version" 2>&1 | grep -v '^W: Download is performed unsandboxed' || true)
fi
[ -s "$deb" ] || deb="$(ls -t "$debs/${package}"_*.deb 2>/dev/null | head -n1)"
[ -s "$deb" ] || fail "apt-get download $package gave no package"
echo "test-kernel: kernel package $(basename "$deb")"

kernel="$build/kernel"
rm -rf "$kernel"
mkdir -p "$kernel"
dpkg-deb --fsys-tarfile "$deb" | tar -x -C "$kernel" --wildcards \
    './boot/vmlinuz-*' \
    './lib/modules/*/kernel/drivers/media/rc/rc-core.ko*' \
    './lib/modules/*/kernel/drivers/media/rc/rc-loopback.ko*' \
    './lib/modules/*/kernel/drivers/media/rc/ir-*-decoder.ko*'
vmlinuz="$(ls "$kernel"/boot/vmlinuz-*)"
rc_modules="$(dirname "$(ls "$kernel"/lib/modules/*/kernel/drivers/media/rc/rc-core.ko*)")"
# Debian ships modules plain, xz- or zstd-compressed: busybox insmod takes
# them plain.
for module in "$rc_modules"/*.ko.xz; do [ -e "$module" ] && xz -d -f "$module"; done
for module in "$rc_modules"/*.ko.zst; do [ -e "$module" ] && zstd -q -d --rm -f "$module"; done

# --- The test program, statically linked. ---------------------------------
# From the normal build folder, where test.sh has already built it.
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target kernel_check >/dev/null \
    || fail "building kernel_check"
check_program="$root/build/tests/kernel/kernel_check"
# A sanitizer build links it dynamically, which the initramfs cannot run.
if ldd "$check_program" >/dev/null 2>&1; then
    fail "$check_program is not statically linked (build/ configured with TAVREL_SANITIZE?)"
fi

# --- The initramfs. -------------------------------------------------------
rootfs="$build/rootfs"
rm -rf "$rootfs"
mkdir -p "$rootfs"/{bin,lib/rc,test,extra/checks,proc,sys,dev,tmp}
cp /bin/busybox "$rootfs/bin/busybox"
cp "$rc_modules"/rc-core.ko "$rc_modules"/rc-loopback.ko "$rc_modules"/ir-*-decoder.ko \
    "$rootfs/lib/rc/"
# Without its debug information: a quarter of the size to pack and boot.
strip -o "$rootfs/test/kernel_check" "$check_program"
# ir-ctl with its shared libraries and loader at their own paths.
irctl="$(command -v ir-ctl)"
cp "$irctl" "$rootfs/bin/ir-ctl"
for lib in $(ldd "$irctl" | grep -o '/[^ ]*'); do
    mkdir -p "$rootfs$(dirname "$lib")"
    cp -L "$lib" "$rootfs$lib"
done
# An NEC frame (address 4, command 8) and its ditto as ir-ctl text, in the
# "pulse N" / "space N" lines this ir-ctl takes (it rejects "+9000 -4500"
# and plain lists of values).
nec_timings() {
    local byte bit
    printf '+9000 -4500'
    for byte in 0x04 0xFB 0x08 0xF7; do
        for bit in 0 1 2 3 4 5 6 7; do
            if (((byte >> bit) & 1)); then printf ' +563 -1687'; else printf ' +563 -562'; fi
        done
    done
    printf ' +563 -39937 +9000 -2250 +563\n'
}
nec_timings | tr ' ' '\n' | sed -e 's/^+/pulse /' -e 's/^-/space /' >"$rootfs/test/nec-mode2.txt"
# Frames of every protocol the .ir format names, which kernel_check writes
# as pulse/space text with our writer for ir-ctl to send.
cp "$root/docs/screenshots/remote.ir" "$rootfs/test/remote.ir"
for file in "${payloads[@]}"; do cp "$file" "$rootfs/extra/"; done
n=0
for script in "${checks[@]}"; do
    n=$((n + 1))
    cp "$script" "$rootfs/extra/checks/$(printf '%02d' "$n")-$(basename "$script")"
done

cat >"$rootfs/init" <<'EOF'
#!/bin/busybox sh
/bin/busybox --install -s /bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
echo "TAVREL-BOOTED $(cut -d' ' -f1 /proc/uptime)"
if grep -q tavrel.probe /proc/cmdline; then
    echo TAVREL-PROBE-OK
    reboot -f
fi
status=0
insmod /lib/rc/rc-core.ko || status=1
for module in /lib/rc/ir-*-decoder.ko; do insmod "$module" || status=1; done
insmod /lib/rc/rc-loopback.ko || status=1
[ -c /dev/lirc0 ] || { echo "FAIL no /dev/lirc0"; status=1; }
/test/kernel_check || status=1
for file in /test/nec-mode2.txt /test/remote.ir; do
    /test/kernel_check --receive "$file" -- ir-ctl -d /dev/lirc0 "--send=$file" || status=1
done
cd /extra
for check in /extra/checks/*; do
    [ -e "$check" ] || continue
    echo "check $(basename "$check")"
    sh "$check" || { echo "FAIL $(basename "$check")"; status=1; }
done
echo "TAVREL-RESULT $status $(cut -d' ' -f1 /proc/uptime)"
reboot -f
EOF
chmod +x "$rootfs/init"
initrd="$build/initrd.gz"
(cd "$rootfs" && find . | cpio -o -H newc --quiet | gzip -1 >"$initrd")

# --- Boot. KVM only where a short probe shows it works. --------------------
qemu=(qemu-system-x86_64 -nographic -no-reboot -m 512M -smp 2 -kernel "$vmlinuz" -initrd "$initrd")
append="console=ttyS0 loglevel=4 panic=-1 oops=panic panic_on_warn=1"
accel=tcg
if [ -r /dev/kvm ] && [ -w /dev/kvm ]; then
    if timeout "$probe_timeout" "${qemu[@]}" -accel kvm -append "$append tavrel.probe" </dev/null 2>&1 \
        | grep -q TAVREL-PROBE-OK; then
        accel=kvm
    fi
fi
echo "test-kernel: booting $(basename "$vmlinuz") with $accel"
log="$build/console.log"
booted_at=""
vm_started=$EPOCHREALTIME
set +e
timeout "$run_timeout" "${qemu[@]}" -accel "$accel" -append "$append" </dev/null 2>&1 \
    | while IFS= read -r line; do
        line="${line%$'\r'}"
        case "$line" in
        *TAVREL-BOOTED*) echo "host-booted $EPOCHREALTIME" >"$build/booted" ;;
        esac
        printf '%s\n' "$line"
    done >"$log"
qemu_status=${PIPESTATUS[0]}
set -e
finished=$EPOCHREALTIME

# --- Results. -------------------------------------------------------------
grep -E '^(FAIL|TABLE|kernel_check:|check )' "$log" || true
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }
if [ -s "$build/booted" ]; then
    booted_at="$(awk '{ print $2 }' "$build/booted")"
    echo "test-kernel: VM boot $(seconds "$vm_started" "$booted_at") s to init (kernel uptime $(sed -n 's/.*TAVREL-BOOTED //p' "$log") s)"
fi
echo "test-kernel: VM run $(seconds "$vm_started" "$finished") s, total $(seconds "$started" "$finished") s"
rm -f "$build/booted"
[ "$qemu_status" -ne 124 ] || fail "timeout after $run_timeout s (console: $log)"
if grep -nE 'Kernel panic|Oops|BUG:|WARNING:|general protection|Call Trace' "$log"; then
    fail "the kernel reported an error (console: $log)"
fi
grep -q '^TAVREL-RESULT 0' "$log" || fail "checks failed (console: $log)"
echo "test-kernel: all kernel checks passed"
