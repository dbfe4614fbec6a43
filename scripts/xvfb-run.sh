#!/usr/bin/env bash
# Runs a command on a new virtual X display, as `xvfb-run -a` does, but with
# a display number that is free on the whole machine: an X server in a
# chroot or container that shares this network namespace listens on an
# abstract socket that `xvfb-run -a` does not see (it looks for lock files in
# its own /tmp only). Ours would then fail to start and the command would
# reach the other server.
set -euo pipefail

in_use() {
    [ -e "/tmp/.X$1-lock" ] || grep -q "@/tmp/.X11-unix/X$1\$" /proc/net/unix 2>/dev/null
}

display=$((100 + RANDOM % 800))
while in_use "$display"; do
    display=$((display + 1))
done
exec xvfb-run -n "$display" "$@"
