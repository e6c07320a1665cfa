#!/usr/bin/env bash
# The desktop program as a person meets it, under a virtual X display: the
# setup box answered with real key presses, the picture, Escape.
#
#   desktop_e2e.sh <duckdemo> <x11_screenshot> <output folder>
# Run inside xvfb-run, which sets DISPLAY.
set -euo pipefail

program=$1
screenshot=$2
output=$3
mkdir -p "$output"
log="$(dirname "$program")/qvDebug.log"
export SDL_AUDIODRIVER=dummy

# A program left running would keep the virtual display, and the test, alive.
pid=""
trap 'if [ -n "$pid" ]; then kill -9 "$pid" 2>/dev/null || true; fi' EXIT

header=$'doZorava - Logging started\n--------------------------\n'
footer=$'\n--------------------------\ndoZorava - Logging ended'

fail() {
    echo "FAIL: $*" >&2
    [ -f "$log" ] && sed 's/^/  log: /' "$log" >&2
    exit 1
}

# Waits for a window whose name matches, and prints its id.
window_named() {
    for _ in $(seq 1 100); do
        if id=$(xdotool search --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# The last key may close its window before the key is released, which
# xdotool reports as an error; the program's reaction is what is checked.
press() {
    local window=$1
    shift
    timeout 5 xdotool windowfocus "$window" 2>/dev/null || true
    timeout 5 xdotool key --window "$window" "$@" 2>/dev/null || true
}

# Waits for the program to end, pressing key again now and then in case a
# press was lost on a busy machine; leaves its exit code in status.
end_with() {
    local pid=$1 window=$2 key=$3
    for _ in 1 2 3 4 5 6; do
        for _ in $(seq 1 20); do
            kill -0 "$pid" 2>/dev/null || break 2
            sleep 0.1
        done
        press "$window" "$key"
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -9 "$pid"
        fail "the program did not end after $key"
    fi
    status=0
    wait "$pid" || status=$?
}

# The command line: help and version answer without opening anything.
"$program" --help | grep -q '^usage: duckdemo' || fail "--help does not show the usage"
"$program" --version | grep -qE '^duckdemo [0-9]+\.[0-9]+\.[0-9]+$' || fail "--version does not show the version"
status=0
"$program" --bogus 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "an unknown option ended with exit code $status, not 2"
echo "command line: --help, --version, unknown option as expected"

# Cancel: exit code 0, and the log holds only what ran before the box.
"$program" &
pid=$!
box=$(window_named "doZorava setup box") || fail "no setup box appeared"
press "$box" Escape
end_with "$pid" "$box" Escape
[ "$status" -eq 0 ] || fail "Cancel ended with exit code $status, not 0"
expected="$header
[core] Program init
[core] Creating backbuffer
[core] Loading font
[core] Opening graphics
$footer"
[ "$(cat "$log")" = "$expected" ] || fail "the log after Cancel is not header, four lines, footer"
echo "cancel: exit code 0, log as expected"

# A normal run: tick Always on top, OK, watch the title, quit with Escape.
"$program" &
pid=$!
box=$(window_named "doZorava setup box") || fail "no setup box appeared"
press "$box" Tab Tab Tab Tab space Return
main=$(window_named "^doZorava$") || fail "no main window appeared"
# The title shows from half a second to three seconds into the music; on a
# busy machine the program may take a moment to get there.
lit=0
for _ in $(seq 1 12); do
    sleep 0.25
    lit=$("$screenshot" "$output/desktop-title.png") || fail "no screenshot"
    [ "$lit" -ge 100 ] && break
done
echo "screenshot: $output/desktop-title.png ($lit lit pixels)"
press "$main" Escape
end_with "$pid" "$main" Escape
[ "$status" -eq 1 ] || fail "Escape ended with exit code $status, not 1"
tail -n 5 "$log" | diff - <(printf '%s\n' "[sfx] FMUSIC_StopSong()..." "[gfx] Close()..." "" \
    "--------------------------" "doZorava - Logging ended") >/dev/null || fail "the log does not end as it should"
grep -q '^\[gfx\] CreateSurface(g_pDDSBack)\.\.\.$' "$log" || fail "the windowed display did not open"
if [ -d "$(dirname "$program")/data" ] && [ "$lit" -lt 100 ]; then
    fail "the title lines are not visible two seconds in"
fi
echo "run: exit code 1, log ends with stop, close and footer"
echo "1 passed, 0 failed"
