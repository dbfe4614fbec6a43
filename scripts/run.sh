#!/usr/bin/env bash
# Installs what is missing, builds Tavrel and starts it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DTAVREL_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target tavrel

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$root/build/tavrel" "$@"
fi
echo "No display found: starting Tavrel on a virtual X display (xvfb-run)." >&2
exec xvfb-run -a "$root/build/tavrel" "$@"
