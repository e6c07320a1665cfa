#!/usr/bin/env bash
# The desktop program as a person meets it, under a virtual X display: the
# setup box answered with real key presses, the picture, Escape.
#
#   desktop_e2e.sh <duckdemo> <x11_screenshot> <output folder>
source "$(dirname "$0")/common.sh"

expect_command_line

# Cancel: exit code 0, and the log holds only what ran before the box.
"$program" &
pid=$!
box=$(window_named "doZorava setup box") || fail "no setup box appeared"
end_with "$box" Escape
[ "$status" -eq 0 ] || fail "Cancel ended with exit code $status, not 0"
expected=$(printf '%s\n' "doZorava - Logging started" "--------------------------" "" "[core] Program init" \
    "[core] Creating backbuffer" "[core] Loading font" "[core] Opening graphics" "" \
    "--------------------------" "doZorava - Logging ended")
[ "$(cat "$log")" = "$expected" ] || fail "the log after Cancel is not header, four lines, footer"
echo "cancel: exit code 0, log as expected"

# A normal run: tick Always on top, OK, watch the title, quit with Escape.
"$program" &
pid=$!
box=$(window_named "doZorava setup box") || fail "no setup box appeared"
press "$box" Tab Tab Tab Tab space Return
main=$(window_named "^doZorava$") || fail "no main window appeared"
screenshot_title desktop-title.png
end_with "$main" Escape
[ "$status" -eq 1 ] || fail "Escape ended with exit code $status, not 1"
expect_log_ending "[sfx] FMUSIC_StopSong()..." "[gfx] Close()..."
grep -q '^\[gfx\] CreateSurface(g_pDDSBack)\.\.\.$' "$log" || fail "the windowed display did not open"
expect_title_seen
echo "run: exit code 1, log ends with stop, close and footer"

"$program" --no-setup &
pid=$!
main=$(window_named "^doZorava$") || fail "no main window appeared with --no-setup"
expect_moves_do_not_back_up "$main" Escape
[ "$status" -eq 1 ] || fail "Escape after the moves ended with exit code $status, not 1"

# Alt+Tab in full screen, as a window manager does it: the window goes away
# (unmapped, as when minimised) and comes back with the focus. The picture
# must come back, and the restore be logged once.
"$program" --fullscreen --start 40000 &
pid=$!
main=$(window_named "^doZorava$") || fail "no full-screen window appeared"
picture_shown() { lit=$("$screenshot" "$output/$1") && [ "$lit" -ge 1000 ]; }
await "the full-screen picture" picture_shown alt-tab-before.png || fail "no full-screen picture"
xdotool windowunmap --sync "$main"
await "the surfaces lost" grep -q '^\[gfx\] Restore()\.\.\.$' "$log" || fail "nothing was lost when the window went away"
"$screenshot" "$output/alt-tab-away.png" >/dev/null || fail "no screenshot"
xdotool windowmap --sync "$main"
await "the focus back" focused "$main" || fail "the window did not take the focus back"
await "the picture back" picture_shown alt-tab-back.png || fail "the picture did not come back after Alt+Tab"
[ "$(grep -c '^\[gfx\] Restore()\.\.\.$' "$log")" -eq 1 ] || fail "the restore was not logged once"
end_with "$main" Escape
echo "alt+tab: the picture came back ($lit lit pixels), the restore logged once"

expect_quit_without_window --no-setup
expect_readme_hardware_examples_run --fullscreen
expect_readme_hardware_examples_run --no-setup
expect_folder_works 'back\slash' --no-setup
expect_folder_works 'dück 日本' --no-setup
expect_long_folder_refused --no-setup
expect_hostile_surroundings --no-setup
echo "1 passed, 0 failed"
