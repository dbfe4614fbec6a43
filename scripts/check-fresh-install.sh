#!/usr/bin/env bash
# Proves the README's promise on a fresh Debian 12: builds a minimal Debian
# root with debootstrap, puts a clean clone of this repository into it, and
# inside a chroot runs the README's two commands as written, the run command
# in its non-interactive mode and the test command in its quick stage:
#
#   bash scripts/run.sh --smoke     (installs, builds, shows the window)
#   bash scripts/test.sh --quick    (installs, builds, runs the tests)
#
# Prints the time of each stage. Needs root (debootstrap, chroot, mounts).
# The Debian mirror is the one this machine's apt sources use. The bare
# debootstrap result (Debian's base system, nothing of this project) is kept
# as a tarball in $TAVREL_ROOT_CACHE (default /var/cache/tavrel) for a week,
# and the packages the root downloads beside it.
#
#   check-fresh-install.sh [--keep] [--in-place]
#     --keep      leaves the root in place
#     --in-place  the root works in this checkout itself, mounted at the same
#                 path, instead of in a clone of it: its build/ is then the
#                 normal build that a following scripts/test.sh reuses (the
#                 same Debian packages, compilers and paths). Only for a
#                 pristine checkout (nothing built, changed or untracked), as
#                 .ci/run's clean clone is.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
suite=bookworm
variant=minbase
cache_dir="${TAVREL_ROOT_CACHE:-/var/cache/tavrel}"
cache_days=7
keep=false
in_place=false
for arg in "$@"; do
    case "$arg" in
    --keep) keep=true ;;
    --in-place) in_place=true ;;
    *) sed -n '2,23p' "${BASH_SOURCE[0]}" >&2; exit 2 ;;
    esac
done
if $in_place && [ -n "$(git -C "$root" status --porcelain --ignored)" ]; then
    echo "check-fresh-install: --in-place needs a pristine checkout; $root has:" >&2
    git -C "$root" status --short --ignored | head -5 >&2
    exit 1
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "check-fresh-install: needs root (debootstrap, chroot and mounts)" >&2
    exit 1
fi
bash "$root/scripts/install-deps.sh" debootstrap

# The Debian archive this machine installs from, as apt itself reads its
# sources: the mirror that carries the suite, and every source line.
targets="$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' \
    'Created-By: Packages' | sort -u)"
mirror="$(awk -v s="$suite" '$2 == s { print $1; exit }' <<<"$targets")"
if [ -z "$mirror" ]; then
    echo "check-fresh-install: no apt source of this machine carries Debian $suite" >&2
    exit 1
fi
sources="$(awk '{ key = $1 " " $2; comps[key] = comps[key] " " $3 }
    END { for (k in comps) print "deb " k comps[k] }' <<<"$targets" | sort)"

work="$(mktemp -d /var/tmp/tavrel-fresh-root.XXXXXX)"
chroot_dir="$work/root"
times="$work/stage-times"
mounted=()

cleanup() {
    local status=$?
    set +e
    # Nothing may keep running inside the root: it would hold its mounts.
    local p
    for p in /proc/[0-9]*; do
        [ "$(readlink "$p/root" 2>/dev/null)" = "$chroot_dir" ] && kill -9 "${p#/proc/}" 2>/dev/null
    done
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -R "${mounted[$i]}" 2>/dev/null || umount -R -l "${mounted[$i]}"
    done
    # A mount left under the root (the checkout, with --in-place) would be
    # deleted with it: then nothing is deleted.
    if findmnt -rn -o TARGET | grep -qF "$work/"; then
        echo "check-fresh-install: mounts remain under $work; it is left in place" >&2
    elif $keep; then
        echo "check-fresh-install: root kept in $chroot_dir" >&2
    else
        rm -rf --one-file-system "$work"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Stage marks: a line "<time> <name>" each, written from the subshells that
# read the chroot's output too; a stage lasts until the next mark.
stage() {
    echo "$EPOCHREALTIME $1" >>"$times"
    [ "$1" != "end" ] && echo "=== fresh root: $1"
    return 0
}

stage "debootstrap"
mkdir -p "$cache_dir"
arch="$(dpkg --print-architecture)"
tarball="$cache_dir/debian-$suite-$variant-$arch-$(sha256sum <<<"$mirror" | cut -c1-12).tar"
if [ -f "$tarball" ] && [ -n "$(find "$tarball" -mtime -"$cache_days")" ]; then
    echo "Debian base system from $tarball"
    mkdir -p "$chroot_dir"
    tar -xpf "$tarball" -C "$chroot_dir"
else
    echo "debootstrap --variant=$variant $suite from $mirror"
    debootstrap --variant="$variant" "$suite" "$chroot_dir" "$mirror" >"$work/debootstrap.log" 2>&1 || {
        tail -20 "$work/debootstrap.log" >&2
        exit 1
    }
    tar -cpf "$tarball.part" -C "$chroot_dir" . && mv "$tarball.part" "$tarball"
fi

stage "clone"
# What a new user has: the sources of this machine's archive, no services
# started by package scripts inside the chroot, and a clean clone.
printf '%s\n' "$sources" >"$chroot_dir/etc/apt/sources.list"
printf '#!/bin/sh\nexit 101\n' >"$chroot_dir/usr/sbin/policy-rc.d"
chmod +x "$chroot_dir/usr/sbin/policy-rc.d"
cp /etc/resolv.conf "$chroot_dir/etc/resolv.conf"
if $in_place; then
    src="$root"
    echo "the checkout $src at $(git -C "$root" rev-parse --short HEAD), mounted in place"
else
    src=/root/tavrel
    git clone --quiet --no-hardlinks "$root" "$chroot_dir$src"
    echo "clone of $(git -C "$root" rev-parse --short HEAD)"
fi

for fs in proc sys dev; do
    mounted+=("$chroot_dir/$fs")
    case "$fs" in
    proc) mount -t proc proc "$chroot_dir/proc" ;;
    sys) mount --rbind /sys "$chroot_dir/sys" && mount --make-rslave "$chroot_dir/sys" ;;
    dev) mount --rbind /dev "$chroot_dir/dev" && mount --make-rslave "$chroot_dir/dev" ;;
    esac
done

# The Debian packages that the README's commands install in the root are
# downloaded once and kept beside the base system: the root still installs
# every one of them, from the same archive, without fetching it again.
archives="$cache_dir/apt-archives-$suite-$arch"
mkdir -p "$archives/partial" "$chroot_dir/var/cache/apt/archives"
find "$archives" -name '*.deb' -mtime +"$cache_days" -delete
mounted+=("$chroot_dir/var/cache/apt/archives")
mount --bind "$archives" "$chroot_dir/var/cache/apt/archives"
if $in_place; then
    mkdir -p "$chroot_dir$src"
    mounted+=("$chroot_dir$src")
    mount --bind "$root" "$chroot_dir$src"
fi

# Runs a README command in the root; the stages its scripts announce
# ("=== building", ...) become stage marks.
in_root() {
    local label="$1" short="${1#scripts/}"
    short="${short%% *}"
    env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        LANG=C.UTF-8 TERM=dumb chroot "$chroot_dir" /bin/bash -c "cd $src && bash $label" 2>&1 |
        while IFS= read -r line; do
            case "$line" in
            "=== "*) stage "$short: ${line#=== }" ;;
            *) printf '%s\n' "$line" ;;
            esac
        done
}

in_root "scripts/run.sh --smoke"
in_root "scripts/test.sh --quick"
stage end

echo "=== fresh root: stage times"
awk '{ time[NR] = $1; $1 = ""; name[NR] = substr($0, 2) }
    END { for (i = 1; i < NR; i++) printf "  %-42s %5.0f s\n", name[i], time[i + 1] - time[i] }' "$times"
echo "=== fresh root: the README's commands work on a fresh Debian $suite"
