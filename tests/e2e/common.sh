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
    local window=$1 key=$2
    for _ in 1 2 3 4 5 6; do
        press "$window" "$key"
        for _ in $(seq 1 20); do
            kill -0 "$pid" 2>/dev/null || break 2
            sleep 0.1
        done
    done
    if kill -0 "$pid" 2>/dev/null; then
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
    "$program" --bogus 2>/dev/null || status=$?
    [ "$status" -eq 2 ] || fail "an unknown option ended with exit code $status, not 2"
    expect_refused_without_display "no display to show the picture on" -u DISPLAY
    expect_refused_without_display 'cannot open the display ":4095"' DISPLAY=:4095
    echo "command line: --help, --version, unknown option, no display as expected"
}
