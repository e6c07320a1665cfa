#!/usr/bin/env bash
# The Windows program under Wine on a virtual X display: the setup box
# answered with key presses, the intro on the screen, Escape; then its log
# against the Linux program's for the same answers, line for line.
#
#   windows_e2e.sh <duckdemo.exe> <duckdemo> <x11_screenshot> <output folder> <wine prefix>
linux_program=$2
export WINEPREFIX=$5
source "$(dirname "$0")/common.sh" "$1" "$3" "$4"

# No debugger or installer prompts, and no messages from Wine itself.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
trap 'if [ -n "$pid" ]; then kill -9 "$pid" 2>/dev/null || true; fi; timeout 10 wineserver -k 2>/dev/null || true' EXIT

# The prefix is made once and kept; a marker tells a finished one from one
# whose making was cut short. DirectDraw draws through Wine's GDI renderer,
# which needs no OpenGL from the virtual display, and no sound driver is
# loaded, so the music keeps time on the wall clock as the Linux program's
# does on SDL's dummy driver.
if [ ! -f "$WINEPREFIX/duckdemo-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    timeout 300 wineboot -i >"$output/wineboot.txt" 2>&1 || fail "wineboot did not make the prefix"
    timeout 60 wineserver -w
    timeout 60 wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f >/dev/null 2>&1 ||
        fail "the renderer could not be set"
    timeout 60 wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "" /f >/dev/null 2>&1 ||
        fail "the sound driver could not be turned off"
    timeout 60 wineserver -w
    touch "$WINEPREFIX/duckdemo-ready"
    echo "wine prefix made: $WINEPREFIX"
fi

# Waits for a window whose name matches, and prints its id: Wine takes a
# while to start on a loaded machine. Gives up at once if the program ended.
window_or_end() { window_found "$1" || ended "$pid"; }
window_of_wine() {
    await "a window named '$1'" window_or_end "$1" && window_found "$1" || return 1
    echo "$found_window"
}

# What may differ between the two: line ends (the Windows log ends its lines
# as Windows does), where the data lies, and the display depths a full screen
# would try.
comparable_log() {
    tr -d '\r' <"$1" | sed -E 's#"[^"]*[/\\]data[/\\]duck\.xm"#"data/duck.xm"#' |
        grep -vE '^\[gfx\] (Set|Get)DisplayMode\('
}

# Both programs show a greeting of their own on the title: the Windows one
# must read it from its command line as the Linux one does.
greeting=(--from "anna b.")

# The lit pixels of the Linux program's capture of the title with the
# greeting, at a time when both its lines are fully lit.
rm -rf "$output/title"
status=0
env -u DISPLAY "$linux_program" --capture "$output/title" --at 1500 "${greeting[@]}" >/dev/null 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "the Linux program's capture of the title ended with exit code $status"
title_lit=$(ffmpeg -v error -i "$output/title/t001500.png" -f rawvideo -pix_fmt gray - | tr -d '\000' | wc -c)

# Screenshots until one shows exactly as many lit pixels as the capture: the
# title with the greeting, drawn the same. Gives up once the title is over.
expect_title_as_captured() {
    local seen="" shown=0
    for _ in $(seq 1 400); do
        lit=$("$screenshot" "$output/$1") || fail "no screenshot"
        [ "$lit" -eq "$title_lit" ] && break
        seen="$seen $lit"
        [ "$lit" -gt 0 ] && shown=1
        [ "$shown" -eq 1 ] && [ "$lit" -eq 0 ] && break
    done
    [ "$lit" -eq "$title_lit" ] ||
        fail "no screenshot of the title had the $title_lit lit pixels of the Linux capture; seen:$seen"
    echo "screenshot: $output/$1 ($lit lit pixels, as the Linux capture at 1500 ms)"
}

# One run with the same answers: tick Always on top, OK, the intro, Escape.
# Leaves the log in the output folder under the given name.
answer_and_quit() {
    local name=$1 box main
    box=$(window_of_wine "doZorava setup box") || fail "$name: no setup box appeared"
    [ "$name" = windows ] && { "$screenshot" "$output/windows-setup.png" >/dev/null || fail "no screenshot"; }
    press "$box" Tab Tab Tab Tab space Return
    main=$(window_of_wine "^doZorava$") || fail "$name: no main window appeared"
    expect_title_as_captured "$name-intro.png"
    end_with "$main" Escape
    [ "$status" -eq 1 ] || fail "$name: Escape ended the program with exit code $status, not 1"
    cp "$log" "$output/$name.log"
}

# A character the font lacks, named as typed: the command line is read in the
# program's code page, whatever that is.
status=0
wine "$program" --to "ané" >"$output/wine-refused.txt" 2>&1 || status=$?
[ "$status" -eq 2 ] && grep -qF 'has "é" (U+00E9) at character 3' "$output/wine-refused.txt" ||
    fail "duckdemo.exe --to ané ended with $status, saying: $(cat "$output/wine-refused.txt")"
echo "windows: --to ané refused: $(grep -F U+00E9 "$output/wine-refused.txt")"

# A folder whose name no Windows code page but UTF-8 holds: the manifest
# makes the A calls UTF-8, so data, module and log are all found there.
folder="$output/Тест デモ"
rm -rf "$folder"
mkdir -p "$folder"
cp "$program" "$folder/"
cp -r "$(dirname "$program")/data" "$folder/"
wine "$folder/duckdemo.exe" --no-setup 2>>"$output/wine-stderr.txt" &
pid=$!
# Its lines end as Windows ends them.
folder_in_mainloop() { grep -q '^\[core\] Entering mainloop.$' "$folder/qvDebug.log" 2>/dev/null || ended "$pid"; }
await "the main loop in $folder" folder_in_mainloop || fail "no main loop in a folder named Тест デモ"
main=$(window_of_wine "^doZorava$") || fail "no main window in a folder named Тест デモ"
end_with "$main" Escape
tr -d '\r' <"$folder/qvDebug.log" | grep -qF 'Тест デモ\data\duck.xm")...' && ! grep -q ERROR "$folder/qvDebug.log" ||
    fail "the program in a folder named Тест デモ did not find its data: $(cat "$folder/qvDebug.log")"
echo "windows: a folder named Тест デモ: data, module and log found there"

rm -f "$log"
wine "$program" "${greeting[@]}" 2>>"$output/wine-stderr.txt" &
pid=$!
answer_and_quit windows
echo "windows: setup box answered, intro seen, exit code 1"

program=$linux_program
log="$(dirname "$program")/qvDebug.log"
"$program" "${greeting[@]}" 2>>"$output/stderr.txt" &
pid=$!
answer_and_quit linux

if ! diff <(comparable_log "$output/linux.log") <(comparable_log "$output/windows.log") >"$output/log-diff.txt"; then
    sed 's/^/  /' "$output/log-diff.txt" >&2
    fail "the Windows program's log differs from the Linux program's"
fi
echo "logs: the same lines in the same order ($(wc -l <"$output/windows.log") lines)"
echo "1 passed, 0 failed"
