#!/usr/bin/env bash
# Makes the README's screenshots from the real program on a virtual X
# display: the send tab, and the receive tab with the frames of
# docs/screenshots/remote.ir opened from the command line and the first row
# clicked (details and waveform). Writes docs/screenshots/*.png.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/docs/screenshots"

bash "$root/scripts/install-deps.sh" xdotool x11-apps
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target tavrel >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Runs on the virtual display: places in the window are fixed, as it opens
# at the form's size with nothing moving it.
cat >"$work/shoot.sh" <<SHOOT
set -euo pipefail
"$root/build/tavrel" "$out/remote.ir" &
pid=\$!
trap 'kill \$pid 2>/dev/null || true' EXIT
window="\$(xdotool search --sync --onlyvisible --name '^Tavrel\$' | head -n1)"
sleep 1
snap() { xwd -id "\$window" -silent >"$work/\$1.xwd"; }
click() { xdotool mousemove --window "\$window" "\$1" "\$2" click 1; sleep 0.5; }
click 45 25    # the tab "红外发送" (opened files show on the other)
snap send-tab
click 127 25   # the tab "红外接收"
click 520 147  # the first row of the frame table
snap receive-tab
SHOOT
bash "$root/scripts/xvfb-run.sh" -s "-screen 0 1024x768x24" bash "$work/shoot.sh"

for name in send-tab receive-tab; do
    python3 "$root/scripts/xwd2png.py" "$work/$name.xwd" "$out/$name.png"
    echo "wrote $out/$name.png"
done
