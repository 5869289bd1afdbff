# Sourced by the scripts that need a screen: starts Xvfb on a free display and cleans up after.
# After `start_xvfb WIDTHxHEIGHTxDEPTH`, DISPLAY is set and $work is a scratch folder; on any
# exit Xvfb, the processes listed in $stop_pids and $work are gone.
work=$(mktemp -d)
xvfb_pid=""
stop_pids=()
cleanup() {
    local pid
    for pid in "${stop_pids[@]}" $xvfb_pid; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

start_xvfb() {  # screen geometry, e.g. 640x480x24
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$work/display" 2>/dev/null &
    xvfb_pid=$!
    local tries
    for ((tries = 0; tries < 100; tries++)); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    if [ ! -s "$work/display" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$(head -1 "$work/display")"
}
