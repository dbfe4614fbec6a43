#!/usr/bin/env bash
# Starts the real program on a virtual X display, checks that its window is
# up and that it keeps running, then closes it. Qt's own options on the
# command line go to Qt: the window starts with them.
set -euo pipefail
program="$1"
"$program" -style fusion -reverse &
pid=$!
for _ in $(seq 50); do
    if xwininfo -root -tree 2>/dev/null | grep -q '"Tavrel"'; then
        break
    fi
    sleep 0.1
done
xwininfo -root -tree | grep '"Tavrel"' | grep -q '808x535' || {
    echo "no 808x535 window titled Tavrel"
    kill "$pid"
    exit 1
}
sleep 1
kill -0 "$pid"
kill -TERM "$pid"
wait "$pid" || true
echo "Tavrel started and showed its window"
