#!/usr/bin/env bash
# Runs a command on a virtual X display of its own.
#
#   with_xvfb.sh <command> [arguments...]
#
# Xvfb picks a free display number itself and tells it through -displayfd,
# so runs side by side never race for a number, and no cookie file is
# needed for a server that only listens on local sockets. Without -noreset
# the server starts over each time its last client leaves, and a program
# connecting in that moment is turned away. Keys do not repeat (-r): a test's
# key press is a press and a release, and on a busy machine the release can
# come late enough for the server to repeat the key, as a second Tab in the
# setup box did. A command that
# exits with 75 found its display gone from under it (the machine's doing,
# not the program's), and is run once more on a new one.
set -uo pipefail

# Its scratch folder goes to TMPDIR, which the tests point into the build tree.
[ -z "${TMPDIR:-}" ] || mkdir -p "$TMPDIR"
folder=$(mktemp -d)
server=""
stop_server() {
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
        server=""
    fi
}
trap 'stop_server; rm -rf "$folder"' EXIT

start_server() {
    : >"$folder/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset -r 3>"$folder/display" 2>"$folder/xvfb.log" &
    server=$!
    # A minute at most: a display that is not up by then is not coming.
    for _ in $(seq 1 600); do
        if [ -s "$folder/display" ]; then
            export DISPLAY=":$(head -n 1 "$folder/display")"
            xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        fi
        kill -0 "$server" 2>/dev/null || break
        sleep 0.1
    done
    echo "with_xvfb: the virtual display did not start" >&2
    sed 's/^/  Xvfb: /' "$folder/xvfb.log" >&2
    return 1
}

for attempt in 1 2; do
    start_server || exit 1
    "$@"
    status=$?
    stop_server
    [ "$status" -eq 75 ] && [ "$attempt" -eq 1 ] || exit "$status"
    echo "with_xvfb: the display went away; once more on a new one" >&2
done
