# What the end-to-end scripts share: their arguments, failing with the log,
# finding windows, pressing keys, ending the program, checking the log.
#
#   source common.sh <program> <x11_screenshot> <output folder>
# Run inside with_xvfb.sh, which sets DISPLAY.
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
    if ! xdotool getdisplaygeometry >/dev/null 2>&1; then
        echo "the virtual display ${DISPLAY:-} no longer answers" >&2
        exit 75
    fi
    exit 1
}

# Waits until a command succeeds, trying every tenth of a second, and says on
# stderr how long that took. The ceiling (WAIT_CEILING seconds, 90 unless
# set) only ends a test whose program never gets there: a sanitized build on
# a busy machine takes seconds where a quiet one takes a tenth.
await() {
    local what=$1 started elapsed
    shift
    started=$(date +%s%N)
    until "$@"; do
        elapsed=$((($(date +%s%N) - started) / 1000000))
        if ((elapsed > ${WAIT_CEILING:-90} * 1000)); then
            echo "waited $elapsed ms for $what, and gave up" >&2
            return 1
        fi
        sleep 0.1
    done
    echo "waited $((($(date +%s%N) - started) / 1000000)) ms for $what" >&2
}

window_found() {
    found_window=$(xdotool search --name "$1" 2>/dev/null | head -n 1) && [ -n "$found_window" ]
}

# Waits for a window whose name matches, and prints its id.
window_named() {
    await "a window named '$1'" window_found "$1" || return 1
    echo "$found_window"
}

running() { kill -0 "$1" 2>/dev/null; }
ended() { ! kill -0 "$1" 2>/dev/null; }

# Gives window the keyboard focus and says whether it has it. A window is
# found by its name as soon as it is made, before it is on the screen; keys
# typed before it can take the focus are lost, which on a busy machine left
# the setup box's focus short of where the test's Tabs meant it to go.
focused() {
    timeout 5 xdotool windowfocus --sync "$1" >/dev/null 2>&1
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

# Waits until window has the focus (while it is there at all), then types.
# The last key may close its window before the key is released, which
# xdotool reports as an error; the program's reaction is what is checked.
press() {
    local window=$1 waited
    shift
    for waited in $(seq 1 600); do
        focused "$window" && break
        xdotool getwindowname "$window" >/dev/null 2>&1 || break
        sleep 0.1
    done
    [ "$waited" -gt 1 ] && echo "waited for the focus on window $window ($waited tries)" >&2
    timeout 5 xdotool key --window "$window" "$@" 2>/dev/null || true
}

# Presses key and says whether the program has ended within two seconds.
pressed_and_ended() {
    press "$1" "$2"
    for _ in $(seq 1 20); do
        ended "$pid" && return 0
        sleep 0.1
    done
    return 1
}

# Waits for the program to end, pressing key again now and then in case a
# press was lost on a busy machine; leaves its exit code in status.
end_with() {
    local window=$1 key=$2
    if ! await "the end after $key" pressed_and_ended "$window" "$key"; then
        kill -9 "$pid"
        fail "the program did not end after $key"
    fi
    status=0
    wait "$pid" || status=$?
    pid=""
}

# The title shows from half a second to three seconds into the music; on a
# busy machine the program may take a moment to get there. Leaves the count
# of lit pixels in lit.
screenshot_title() {
    lit=0
    for _ in $(seq 1 12); do
        sleep 0.25
        lit=$("$screenshot" "$output/$1") || fail "no screenshot"
        [ "$lit" -ge 100 ] && break
    done
    echo "screenshot: $output/$1 ($lit lit pixels)"
}

# Fails unless the title was seen, where the data to draw it is there.
expect_title_seen() {
    if [ -f "$(dirname "$program")/data/fonts.tga" ] && [ "$lit" -lt 100 ]; then
        fail "the title is not visible in the first seconds"
    fi
}

# Fails unless the log ends with the given lines and then the footer.
expect_log_ending() {
    local expected
    expected=$(printf '%s\n' "$@" "" "--------------------------" "doZorava - Logging ended")
    [ "$(tail -n $(($# + 3)) "$log")" = "$expected" ] || fail "the log does not end as it should"
}

# Runs the program with the display taken away by env arguments; it must
# say message and end with exit code 2.
expect_refused_without_display() {
    local message=$1
    shift
    status=0
    env -u SDL_VIDEODRIVER "$@" "$program" 2>"$output/no-display.txt" || status=$?
    [ "$status" -eq 2 ] && grep -qF "$message" "$output/no-display.txt" ||
        fail "with env $* the program ended with exit code $status, without saying $message"
}

# The command line: help and version answer without opening anything.
expect_command_line() {
    local name
    name=$(basename "$program")
    "$program" --help | grep -q "^usage: $name" || fail "--help does not show the usage"
    "$program" --version | grep -qE "^$name [0-9]+\.[0-9]+\.[0-9]+$" || fail "--version does not show the version"
    status=0
    echo "the last run's log" >"$log"
    for word in --bogus --versionx -hello; do
        status=0
        "$program" "$word" >"$output/refused.txt" 2>&1 || status=$?
        [ "$status" -eq 2 ] || fail "$word ended with exit code $status, not 2"
        grep -q "^usage: $name" "$output/refused.txt" || fail "$word did not show the usage on stderr"
    done
    [ "$(cat "$log")" = "the last run's log" ] || fail "a refused command line touched the last run's log"
    env -u DISPLAY -u SDL_VIDEODRIVER "$program" --help 2>"$output/help-stderr.txt" >/dev/null
    [ ! -s "$output/help-stderr.txt" ] || fail "--help without a display wrote to stderr: $(cat "$output/help-stderr.txt")"
    expect_refused_without_display "no display to show the picture on" -u DISPLAY
    expect_refused_without_display 'cannot open the display ":4095"' DISPLAY=:4095
    echo "command line: --help, --version, unknown options, no display as expected"
    expect_greeting_refusals
}

# A greeting the font cannot draw is refused before anything opens: exit
# code 2, one line saying what is wrong, and the last run's log as it was.
# Each line below is a text (printf escapes) and what the refusal must say.
expect_greeting_refusals() {
    local text message
    echo "the last run's log" >"$log"
    while IFS='|' read -r text message; do
        text=$(printf '%b' "$text")
        message=$(printf '%b' "$message")
        status=0
        "$program" --to "$text" >"$output/greeting.txt" 2>&1 || status=$?
        [ "$status" -eq 2 ] || fail "--to $(printf %q "$text") ended with exit code $status, not 2"
        [ "$(wc -l <"$output/greeting.txt")" -eq 1 ] && grep -qF -- "$message" "$output/greeting.txt" ||
            fail "--to $(printf %q "$text") did not say only '$message': $(cat "$output/greeting.txt")"
        echo "  refused: --to $(printf %q "$text"): $(cat "$output/greeting.txt")"
    done <<'TEXTS'
an\xc3\xa9|--to has "\xc3\xa9" (U+00E9) at character 3, which the font cannot draw
a\xf0\x9f\x8e\x82|--to has "\xf0\x9f\x8e\x82" (U+1F382) at character 2
a\x07b|--to has U+0007 at character 2
a\tb|--to has U+0009 at character 2
a\xffb|--to is not UTF-8: byte 0xFF at character 2
aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa|--to has 41 characters: it takes 1 to 40
|--to has 0 characters: it takes 1 to 40
TEXTS
    "$program" --to >"$output/greeting.txt" 2>&1 && fail "--to with no text was not refused"
    grep -qF "option '--to' needs a text after it" "$output/greeting.txt" || fail "--to with no text: $(cat "$output/greeting.txt")"
    [ "$(cat "$log")" = "the last run's log" ] || fail "a refused greeting touched the last run's log"
    echo "greeting: texts the font cannot draw refused by name"
}

# Runs the program (and its arguments) in the background until its log says
# the main loop runs; leaves its process id in pid.
start_until_mainloop() {
    local folder
    folder=$(dirname "$1")
    rm -f "$folder/qvDebug.log"
    "$@" 2>>"$output/stderr.txt" &
    wait_for_mainloop_of $! "$folder" "$*"
}

# Ends the program with a signal, as Ctrl+C or a shutdown would: exit code 1,
# and the log of the given folder closed with its footer.
end_with_signal() {
    local signal=$1 folder=$2
    kill "-$signal" "$pid"
    await "the end after SIG$signal" ended "$pid" || fail "SIG$signal did not end the program"
    status=0
    wait "$pid" || status=$?
    pid=""
    [ "$status" -eq 1 ] || fail "SIG$signal ended the program with exit code $status, not 1"
    tail -n 1 "$folder/qvDebug.log" | grep -qx "doZorava - Logging ended" || fail "the log has no footer after SIG$signal"
}

# Waits out a second of the program's life and fails if it kept a core busy.
expect_idle_for_a_second() {
    local before after
    before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    sleep 1
    after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    [ $((after - before)) -lt 50 ] || fail "$1 used $((after - before)) of 100 ticks of a core in one second"
}

# Without a window the program has nothing to show and nothing to close:
# it must wait without spinning, and a signal must still end it.
expect_quit_without_window() {
    local step
    for step in RegisterClass CreateWindow; do
        DUCKDEMO_HARDWARE="fail=$step" start_until_mainloop "$program" "$@"
        expect_idle_for_a_second "a run without a window (fail=$step)"
        end_with_signal TERM "$(dirname "$program")"
    done
    echo "no window: idle, and SIGTERM ends it with exit code 1 and the footer"
}

# Moves the mouse over the window many times, then presses key, and says how
# long the key took to end the program. Whether the moves merge is the
# message queue's unit tests' to decide: on a busy machine under the
# sanitizers even merged moves can take seconds, so the time is reported, not
# judged (a backlog of 300, one a frame, would take 5 s).
expect_moves_do_not_back_up() {
    local window=$1 key=$2 moves=() started
    for i in $(seq 1 300); do
        moves+=(mousemove --window "$window" $((20 + i % 200)) $((20 + i % 150)))
    done
    timeout 10 xdotool "${moves[@]}" || true
    started=$(date +%s%N)
    press "$window" "$key"
    await "the end after $key" ended "$pid" || fail "the program did not end after $key and 300 moves"
    status=0
    wait "$pid" || status=$?
    pid=""
    echo "moves then $key: ended after $((($(date +%s%N) - started) / 1000000)) ms"
}

# Every DUCKDEMO_HARDWARE example the README gives for this program (the
# handheld's name its screen or pitches) runs to the main loop.
expect_readme_hardware_examples_run() {
    local readme examples example handheld=no
    readme="$(dirname "${BASH_SOURCE[0]}")/../../README.md"
    [ "$(basename "$program")" = duckdemo-ce ] && handheld=yes
    examples=$(awk '/^`DUCKDEMO_HARDWARE`/,/^$/' "$readme" | tr '\n' ' ' | grep -o '`[^`]*=[^`]*`' |
        tr -d '`' | sed -e 's/^DUCKDEMO_HARDWARE="//' -e 's/"$//' | grep -v '^SDL_')
    [ -n "$examples" ] || fail "no DUCKDEMO_HARDWARE examples found in the README"
    while read -r example; do
        if [[ "$example" == *handheld* || "$example" == *pitch* ]]; then
            [ "$handheld" = yes ] || continue
        else
            [ "$handheld" = no ] || continue
        fi
        DUCKDEMO_HARDWARE="$example" SDL_VIDEODRIVER=offscreen start_until_mainloop "$program" "$@"
        end_with_signal INT "$(dirname "$program")"
        echo "README example DUCKDEMO_HARDWARE=\"$example\" runs"
    done <<<"$examples"
}

# A copy of the program in a folder of the given name (one with a backslash,
# one that is not ASCII) finds its data and writes its log in that folder.
expect_folder_works() {
    local folder="$output/$1"
    shift
    rm -rf "$folder"
    mkdir -p "$folder"
    cp "$program" "$folder/"
    cp -r "$(dirname "$program")/data" "$folder/"
    SDL_VIDEODRIVER=offscreen start_until_mainloop "$folder/$(basename "$program")" "$@"
    end_with_signal TERM "$folder"
    grep -qF "$folder/data/duck.xm" "$folder/qvDebug.log" || fail "the song was not looked for in $folder/data"
    ! grep -q '^\[ERROR\]' "$folder/qvDebug.log" || fail "a run from $folder logged an error"
    echo "a folder named $(basename "$folder"): data found and log written there"
}

# A copy of the program in a folder whose path is longer than the program can
# hold says so and ends, and writes no log in any folder above it.
expect_long_folder_refused() {
    local top="$output/long" folder
    rm -rf "$top"
    folder="$top$(printf '/%0200d' 1 2 3 4 5)"
    mkdir -p "$folder"
    cp "$program" "$folder/"
    cp -r "$(dirname "$program")/data" "$folder/"
    status=0
    SDL_VIDEODRIVER=offscreen timeout 20 "$folder/$(basename "$program")" "$@" --capture "$output/long-capture" \
        --at 0 2>"$output/long.txt" || status=$?
    [ "$status" -ne 124 ] || fail "a program in a folder of ${#folder} characters did not end"
    grep -qF "longer than 999 characters" "$output/long.txt" ||
        fail "a folder of ${#folder} characters was not refused: $(cat "$output/long.txt")"
    [ -z "$(find "$top" -name qvDebug.log)" ] || fail "a log was written in $(find "$top" -name qvDebug.log)"
    echo "a folder of ${#folder} characters: refused with exit code $status"
}

# A closed terminal (SIGHUP) ends the program as SIGTERM does; a stderr
# whose reader has gone, or stdout and stderr closed at start, with a warning
# to write (no sound device), change nothing.
expect_hostile_surroundings() {
    local folder
    folder=$(dirname "$program")
    start_until_mainloop "$program" "$@"
    end_with_signal HUP "$folder"

    rm -f "$folder/qvDebug.log" "$output/pid"
    { echo "$BASHPID" >"$output/pid"; exec env SDL_AUDIODRIVER=no-such-device "$program" "$@" 2>&1 >/dev/null; } |
        true &
    # The pipeline runs on its own: its process id is there once it has begun.
    await "the process id of a run whose stderr reader has gone" test -s "$output/pid" ||
        fail "the run whose stderr reader has gone did not start"
    wait_for_mainloop_of "$(cat "$output/pid")" "$folder" "a stderr whose reader has gone"
    end_with_signal TERM "$folder"

    rm -f "$folder/qvDebug.log"
    SDL_AUDIODRIVER=no-such-device "$program" "$@" >&- 2>&- &
    wait_for_mainloop_of $! "$folder" "stdout and stderr closed"
    end_with_signal TERM "$folder"
    echo "SIGHUP, a gone stderr reader and closed stdout and stderr: footer written, exit code 1"
}

# Two copies started from one folder: the first keeps its log whole, one
# header and one footer, and the second writes qvDebug-2.log beside it.
expect_second_copy_logs_apart() {
    local folder second
    folder=$(dirname "$program")
    rm -f "$folder/qvDebug-2.log"
    SDL_VIDEODRIVER=offscreen start_until_mainloop "$program" "$@"
    SDL_VIDEODRIVER=offscreen "$program" "$@" 2>"$output/second-copy.txt" &
    second=$!
    await "the second copy's main loop" in_mainloop "$folder/qvDebug-2.log" ||
        fail "the second copy wrote no log of its own: $(cat "$output/second-copy.txt")"
    end_with_signal TERM "$folder"
    pid=$second
    end_with_signal TERM "$folder"
    for name in qvDebug.log qvDebug-2.log; do
        [ "$(grep -c 'Logging started' "$folder/$name")" -eq 1 ] && [ "$(grep -c 'Logging ended' "$folder/$name")" -eq 1 ] ||
            fail "$name does not hold one run: $(cat "$folder/$name")"
    done
    grep -qF "this one writes \"$folder/qvDebug-2.log\"" "$output/second-copy.txt" ||
        fail "the second copy did not say where its log is: $(cat "$output/second-copy.txt")"
    rm -f "$folder/qvDebug-2.log"
    echo "two copies in one folder: one log each, the second said where"
}

# Waits until process id's log in folder says the main loop runs; leaves the
# id in pid.
wait_for_mainloop_of() {
    pid=$1
    await "the main loop of $3" in_mainloop_or_ended "$2/qvDebug.log" ||
        fail "$3: the program did not reach its main loop"
    running "$pid" || in_mainloop "$2/qvDebug.log" || fail "$3: the program ended before its main loop"
}

in_mainloop() { grep -q '^\[core\] Entering mainloop$' "$1" 2>/dev/null; }
in_mainloop_or_ended() { in_mainloop "$1" || ended "$pid"; }
