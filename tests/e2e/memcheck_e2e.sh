#!/usr/bin/env bash
# The desktop program under valgrind's memcheck, headless: the whole intro
# captured, or the game played from a script until Escape quits it and a
# normal run until Ctrl+C does. A memory error or a block lost at exit fails.
#
#   memcheck_e2e.sh intro|game <duckdemo> <suppressions> <output folder>
set -euo pipefail

run=$1
suppressions=$3
output=$4/memcheck-$run
rm -rf "$output"
mkdir -p "$output/program"
cp "$2" "$output/program/"
cp -r "$(dirname "$2")/data" "$output/program/"
program=$output/program/$(basename "$2")
log=$output/program/qvDebug.log
export SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen

pid=""
trap 'if [ -n "$pid" ]; then kill -9 "$pid" 2>/dev/null || true; fi' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs the program under memcheck in the background as name; leaves the
# process id in pid.
start_memcheck() {
    local name=$1
    shift
    rm -f "$log"
    valgrind --error-exitcode=99 --leak-check=full --show-leak-kinds=definite,indirect \
        --errors-for-leak-kinds=definite,indirect --suppressions="$suppressions" --num-callers=40 \
        --log-file="$output/$name.memcheck" "$program" "$@" 2>"$output/$name.stderr" &
    pid=$!
}

# Waits for the run to end by itself within limit seconds (three times that
# on a busy machine), prints its summary and fails unless memcheck was
# content and the program quit normally.
expect_clean_end() {
    local name=$1 limit=$2 status=0
    for _ in $(seq 1 $((limit * 30))); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "$name did not end within $((limit * 3)) s"
    wait "$pid" || status=$?
    pid=""
    local summary='ERROR SUMMARY|definitely lost|indirectly lost|no leaks are possible'
    { grep -E "$summary" "$output/$name.memcheck" || true; } | sed "s/^==[0-9]*== /$name: /"
    if [ "$status" -eq 99 ]; then
        sed 's/^/  memcheck: /' "$output/$name.memcheck" >&2
        fail "memcheck found errors in $name"
    fi
    [ "$status" -eq 1 ] || fail "$name ended with exit code $status, not 1: $(cat "$output/$name.stderr")"
    tail -n 1 "$log" | grep -qx "doZorava - Logging ended" || fail "$name left no footer in its log"
}

if [ "$run" = intro ]; then
    # Every other frame through the intro into the game: every cue drawn and
    # all the music rendered, in half the time of every frame.
    rm -rf "$output/intro"
    start_memcheck intro --no-setup --capture "$output/intro" --fps 30 --at 0,3000,30000,60000,76000
    expect_clean_end intro 240
    [ "$(find "$output/intro" -name 't*.png' | wc -l)" -eq 5 ] || fail "the intro's capture did not write its 5 frames"
else
    cat >"$output/keys.txt" <<'KEYS'
# Two guesses in the game, then Escape.
76000 move 160 120
77000 down
77050 up
79000 move 60 150
80000 down
80050 up
82000 key escape
KEYS
    rm -rf "$output/game"
    start_memcheck game --no-setup --capture "$output/game" --start 74000 --duration 30 --at 78000 \
        --input "$output/keys.txt"
    expect_clean_end game 120
    grep -q '^capture: 481 frames' "$output/game.stderr" ||
        fail "Escape at 82 s did not end the capture: $(cat "$output/game.stderr")"

    start_memcheck normal --no-setup
    for _ in $(seq 1 600); do
        grep -q '^\[core\] Entering mainloop$' "$log" 2>/dev/null && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    grep -q '^\[core\] Entering mainloop$' "$log" || fail "the normal run did not reach its main loop"
    sleep 3
    kill -INT "$pid"
    expect_clean_end normal 60
fi
echo "1 passed, 0 failed"
