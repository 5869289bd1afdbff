#!/usr/bin/env bash
# Runs screen_reader.py against the window under Xvfb, in a D-Bus session of its own with the
# accessibility bus started. Usage: screen_reader.sh DAYLIGHT
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/xvfb.sh"
start_xvfb 800x600x24
status=0
# The window joins the accessibility bus only if the bus is up when it starts.
dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    for ((i = 0; i < 100; i++)); do
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
            org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
        sleep 0.1
    done
    /usr/bin/python3 "$0" "$1"' "$here/screen_reader.py" "$1" >"$work/heard" 2>&1 || status=$?
grep -v '^dbus-daemon' "$work/heard" || true
exit "$status"
