#!/usr/bin/env bash
# The handheld program under a virtual X display: it opens its portrait
# window, shows the title, takes a tap, and a key press ends it.
#
#   handheld_e2e.sh <duckdemo-ce> <x11_screenshot> <output folder>
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

fail() {
    echo "FAIL: $*" >&2
    [ -f "$log" ] && sed 's/^/  log: /' "$log" >&2
    exit 1
}

"$program" --help | grep -q '^usage: duckdemo-ce' || fail "--help does not show the usage"
"$program" --version | grep -qE '^duckdemo-ce [0-9]+\.[0-9]+\.[0-9]+$' || fail "--version does not show the version"

"$program" &
pid=$!
window=""
for _ in $(seq 1 100); do
    window=$(xdotool search --name "DOZorava 1.0" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "no window appeared"
# The title shows from half a second to three seconds into the music; on a
# busy machine the program may take a moment to get there.
lit=0
for _ in $(seq 1 12); do
    sleep 0.25
    lit=$("$screenshot" "$output/handheld-title.png") || fail "no screenshot"
    [ "$lit" -ge 100 ] && break
done
echo "screenshot: $output/handheld-title.png ($lit lit pixels)"
# The window shows the 240 x 320 screen at a whole factor; tap its middle.
timeout 5 xdotool mousemove --window "$window" 240 320 click 1 || true
sleep 0.3
status=""
for _ in 1 2 3 4 5 6; do
    timeout 5 xdotool key --window "$window" a 2>/dev/null || true
    for _ in $(seq 1 20); do
        kill -0 "$pid" 2>/dev/null || break 2
        sleep 0.1
    done
done
if kill -0 "$pid" 2>/dev/null; then
    kill -9 "$pid"
    fail "a key press did not end the program"
fi
status=0
wait "$pid" || status=$?
[ "$status" -eq 1 ] || fail "a key press ended the program with exit code $status, not 1"

expected=$(cat <<'LOG'
doZorava - Logging started
--------------------------

[core] Program init
[core] Creating backbuffer
[core] Loading font
[core] Opening graphics
[gfx] GXGetDisplayProperties ->
[gfx]  * cBPP:     16
[gfx]  * cbxPitch: 2
[gfx]  * cbyPitch: 480
[gfx]  * cxWidth:  240
[gfx]  * cyHeight: 320
[gfx]  * ffFormat: 160
[gfx] RegisterClass()...
[gfx] CreateWindow()...
[gfx] SHFullScreen()...
[gfx] GXOpenDisplay()...
[core] Initializing syncs
[core] Initializing music
[sfx] FSOUND_Init()...
LOG
)
[ "$(head -n 21 "$log")" = "$expected" ] || fail "the log does not begin as it should"
tail -n 5 "$log" | diff - <(printf '%s\n' "[sfx] FMUSIC_StopSong()..." "[gfx] Closing..." "" \
    "--------------------------" "doZorava - Logging ended") >/dev/null || fail "the log does not end as it should"
if [ -f "$(dirname "$program")/data/fonts.tga" ] && [ "$lit" -lt 100 ]; then
    fail "the title is not visible two seconds in"
fi
echo "run: exit code 1, log from header to footer as expected"
echo "1 passed, 0 failed"
