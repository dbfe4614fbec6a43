#!/usr/bin/env bash
# Installs what is missing, builds Tavrel and starts it. Arguments go to the
# program (files to open, Qt's options).
#
#   run.sh --smoke   builds, starts the window on a virtual X display,
#                    checks that it maps at the form's size, closes it and
#                    exits 0: the non-interactive check of a fresh set-up.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

echo "=== installing what is missing"
bash "$root/scripts/install-deps.sh"
echo "=== building"
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target tavrel

echo "=== starting"
if [ "${1:-}" = "--smoke" ]; then
    exec bash "$root/scripts/xvfb-run.sh" bash "$root/tests/smoke.sh" "$root/build/tavrel"
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$root/build/tavrel" "$@"
fi
echo "No display found: starting Tavrel on a virtual X display (xvfb-run)." >&2
exec bash "$root/scripts/xvfb-run.sh" "$root/build/tavrel" "$@"
