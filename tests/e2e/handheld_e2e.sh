#!/usr/bin/env bash
# The handheld program under a virtual X display: it opens its portrait
# window, shows the title, takes a tap, and a key press ends it.
#
#   handheld_e2e.sh <duckdemo-ce> <x11_screenshot> <output folder>
source "$(dirname "$0")/common.sh"

expect_command_line

"$program" &
pid=$!
window=$(window_named "DOZorava 1.0") || fail "no window appeared"
screenshot_title handheld-title.png
# The window shows the 240 x 320 screen at a whole factor; tap its middle.
timeout 5 xdotool mousemove --window "$window" 240 320 click 1 || true
sleep 0.3
end_with "$window" a
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
expect_log_ending "[sfx] FMUSIC_StopSong()..." "[gfx] Closing..."
expect_title_seen
echo "run: exit code 1, log from header to footer as expected"

"$program" &
pid=$!
window=$(window_named "DOZorava 1.0") || fail "no window appeared"
expect_moves_do_not_back_up "$window" a
[ "$status" -eq 1 ] || fail "a key after the moves ended the program with exit code $status, not 1"

expect_quit_without_window
expect_second_copy_logs_apart
expect_readme_hardware_examples_run
expect_folder_works 'back\slash'
expect_folder_works 'dück 日本'
expect_long_folder_refused
expect_hostile_surroundings
echo "1 passed, 0 failed"
