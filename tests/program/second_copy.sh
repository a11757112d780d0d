#!/usr/bin/env bash
# The real program twice on one (virtual) display: the second copy shows its one message box
# titled "Augurlex" and, once that is answered, ends with exit code 0 while the first keeps running.
# Run under xvfb-run:   second_copy.sh <augurlex executable>
set -uo pipefail
program="$1"

fail() {
    echo "second copy: $*" >&2
    exit 1
}

home="$(mktemp -d)"
first=""
second=""
cleanup() {
    [[ -n "$second" ]] && kill "$second" 2>/dev/null
    [[ -n "$first" ]] && kill "$first" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$home"
}
trap cleanup EXIT
mkdir -m 700 "$home/runtime"
export HOME="$home" XDG_RUNTIME_DIR="$home/runtime" XDG_CONFIG_HOME="$home/config"
export QT_QPA_PLATFORM=xcb

# Waits (bounded) until a window of the process has the exact title; prints its id.
window_of() {
    local pid="$1" title="$2" id
    for _ in $(seq 300); do
        kill -0 "$pid" 2>/dev/null || return 1
        for id in $(xdotool search --all --pid "$pid" --name "^${title}\$" 2>/dev/null); do
            echo "$id"
            return 0
        done
        sleep 0.1
    done
    return 1
}

"$program" &
first=$!
window_of "$first" "Augurlex v1.95" >/dev/null || fail "the first copy never showed its main window"

"$program" &
second=$!
box="$(window_of "$second" "Augurlex")" || fail "the second copy showed no message box"
# Nothing but the box: the second copy never gets as far as a main window.
if xdotool search --all --pid "$second" --name "^Augurlex v1.95\$" >/dev/null 2>&1; then
    fail "the second copy opened a main window"
fi
xdotool windowfocus --sync "$box" key --clearmodifiers Return

for _ in $(seq 300); do
    kill -0 "$second" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$second" 2>/dev/null && fail "the second copy did not end after its message"
wait "$second"
status=$?
second=""
[[ $status -eq 0 ]] || fail "the second copy ended with exit code $status"
kill -0 "$first" 2>/dev/null || fail "the first copy did not keep running"
echo "second copy: refused with its message box, exit code 0; the first copy runs on"
