#!/usr/bin/env bash
# A signal while a chart is being written: the hidden temporary file goes, the program ends by
# that very signal, and the chart that was there stays as it was. strace holds the program in its
# fsync, after the temporary file is written and before it is renamed, while the signal is sent.
# Usage: signals.sh DAYLIGHT-CLI
set -uo pipefail
cli=$1
# LeakSanitizer cannot work under ptrace; in a sanitizer build the run that ends normally would
# report that instead of its status.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for signal in INT TERM HUP QUIT; do
    echo "the chart before" >"$work/year.svg"
    # A background job starts with SIGINT and SIGQUIT ignored, which the program would keep.
    strace -f -o /dev/null -e trace=fsync -e inject=fsync:delay_enter=1000000 \
        env --default-signal=INT,QUIT "$cli" year --latitude 70 --chart "$work/year.svg" >/dev/null &
    tracer=$!
    for ((i = 0; i < 200; i++)); do
        compgen -G "$work/.daylight-*" >/dev/null && break
        sleep 0.05
    done
    kill -"$signal" "$(pgrep -P "$tracer" -x daylight-cli)"
    wait "$tracer"
    status=$?
    left=$(cd "$work" && ls -A | grep -v '^year.svg$')
    expected=$((128 + $(kill -l "$signal")))
    if [ "$status" -ne "$expected" ] || [ -n "$left" ] ||
        [ "$(cat "$work/year.svg")" != "the chart before" ]; then
        echo "SIG$signal: status $status (expected $expected), left behind: ${left:-nothing}"
        failed=1
    else
        echo "SIG$signal: the temporary file removed, the old chart kept, ended by the signal"
    fi
done
# Started with hang-ups ignored, as under nohup, it keeps ignoring them and writes the chart.
echo "the chart before" >"$work/year.svg"
strace -f -o /dev/null -e trace=fsync -e inject=fsync:delay_enter=1000000 \
    nohup "$cli" year --latitude 70 --chart "$work/year.svg" >/dev/null 2>&1 &
tracer=$!
for ((i = 0; i < 200; i++)); do
    compgen -G "$work/.daylight-*" >/dev/null && break
    sleep 0.05
done
kill -HUP "$(pgrep -P "$tracer" -x daylight-cli)"
wait "$tracer"
status=$?
if [ "$status" -ne 0 ] || ! grep -q "<svg" "$work/year.svg"; then
    echo "under nohup a hang-up stopped the chart (status $status)"
    failed=1
else
    echo "under nohup a hang-up is ignored and the chart written"
fi
exit "$failed"
