#!/usr/bin/env bash
# The companion's faults of input and output, and the charts it makes, the same in two builds
# (the native one and the one in WebAssembly under node): the same statuses and messages for a
# full disk, a reader gone with SIGPIPE ignored, a folder for a batch's input, and a chart's file
# made 0666 less the umask, readable.
# Node opens /dev/null itself on a closed standard input and ignores SIGPIPE, so a closed input
# reads as an empty one there, and a reader gone is status 3 ("Broken pipe") as with SIGPIPE
# ignored; neither case is compared.
# Usage: same_faults.sh NATIVE_CLI "WEBASSEMBLY_CLI COMMAND"
set -uo pipefail
native="$1"
wasm="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# Runs a case with a companion, its status and standard error into $work/NAME.
run() {  # name cli shell-line (the companion is "$cli")
    local name="$1" cli="$2" line="$3"
    (cli="$cli" work="$work" bash -c "trap '' PIPE; $line" 2>"$work/$name.err"; echo $? >"$work/$name.status")
}
check() {  # name shell-line
    run "$1-native" "$native" "$2"
    run "$1-wasm" "$wasm" "$2"
    if cmp -s "$work/$1-native.status" "$work/$1-wasm.status" &&
        cmp -s "$work/$1-native.err" "$work/$1-wasm.err"; then
        echo "ok   $1: status $(cat "$work/$1-native.status"), $(head -c 80 "$work/$1-native.err")"
    else
        echo "FAIL $1: native $(cat "$work/$1-native.status") $(cat "$work/$1-native.err")" \
            "| WebAssembly $(cat "$work/$1-wasm.status") $(cat "$work/$1-wasm.err")"
        failed=1
    fi
}

check "a full disk" '$cli --latitude 10 >/dev/full'
check "a full disk, the year" '$cli year --step 0.01 >/dev/full'
check "a reader gone" '$cli year --step 0.001 | head -c 1 >/dev/null; exit ${PIPESTATUS[0]}'
check "a folder for the batch's input" '$cli --batch </'
check "a batch line after line" 'printf "{\"latitude\":10}\nx\n" | $cli --batch >/dev/null'
check "a chart made readable" \
    'umask 027; rm -f "$work/c.svg"; $cli year --chart "$work/c.svg" >/dev/null || exit $?
     stat -c %a "$work/c.svg" >&2'
exit $failed
