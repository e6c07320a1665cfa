#!/usr/bin/env bash
# A program meeting broken surroundings, headless: missing, damaged and odd
# data files, a folder it cannot write, a full disk, closed stdio, and
# signals in the intro and in the game. Each case runs a copy of the program
# and its data in a folder of its own and prints one line of the matrix: the
# case, the exit code, whether the log got its footer, and what it said.
#
#   bad_data_e2e.sh <program> <output folder> [program arguments...]
source "$(dirname "$0")/common.sh" "$1" none "$2"
shift 2
export SDL_VIDEODRIVER=offscreen
top=$output/bad-data-$(basename "$program")
rm -rf "$top"
mkdir -p "$top"
failures=0

# The headless runs have no display to check on.
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Notes a failed case and goes on, so the whole matrix is shown.
case_failed() {
    echo "  FAIL $1: $2" >&2
    failures=$((failures + 1))
}

# A copy of the program and its data in a folder of its own; leaves its
# path in folder.
prepare() {
    folder=$top/$1
    mkdir -p "$folder"
    ln "$program" "$folder/" 2>/dev/null || cp "$program" "$folder/"
    cp -r "$(dirname "$program")/data" "$folder/"
}

# What a case said, in one line: the first error or warning, and how many
# more; the capture's summary and the stand-ins' notes of calls they leave
# out are not about the surroundings.
said_in() {
    local lines
    lines=$({
        grep -h '^\[ERROR\]' "$folder/qvDebug.log" 2>/dev/null || true
        grep -hvE '^(capture|standin): ' "$1" || true
    })
    if [ -z "$lines" ]; then
        echo "-"
    elif [ "$(wc -l <<<"$lines")" -gt 1 ]; then
        echo "$(head -n 1 <<<"$lines") (+$(($(wc -l <<<"$lines") - 1)) more)"
    else
        echo "$lines"
    fi
}

# Waits for the program in pid to end; kills it if it never does.
await_end() {
    await "the end of the program" ended "$pid" || kill -9 "$pid" 2>/dev/null || true
}

row() {
    printf '%-40s %4s  %-9s %s\n' "$@"
}

# Checks what a finished case left: the exit code of a normal end, the footer
# where the folder can be written, the text it had to say; prints the line.
judge() {
    local name=$1 status=$2 wanted=$3 footer=no
    tail -n 1 "$folder/qvDebug.log" 2>/dev/null | grep -qx "doZorava - Logging ended" && footer=yes
    row "$name" "$status" "$footer" "$(said_in "$folder.err")"
    if ! [[ "$status" =~ ^[0-9]+$ ]]; then
        case_failed "$name" "no exit code"
    elif [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
        case_failed "$name" "the program hung"
    elif [ "$status" -ge 128 ]; then
        case_failed "$name" "the program died of signal $((status - 128))"
    elif [ "$status" -ne 1 ]; then
        case_failed "$name" "exit code $status, not the 1 of a normal end"
    fi
    [ "$footer" = yes ] || [ -n "${nolog:-}" ] || case_failed "$name" "the log has no footer"
    local everything
    everything=$(cat "$folder/qvDebug.log" "$folder.err" 2>/dev/null || true)
    if [ -n "$wanted" ] && ! grep -qF -- "$wanted" <<<"$everything"; then
        case_failed "$name" "it did not say \"$wanted\""
    fi
    if [ "$wanted" = "-" ] && [ "$(said_in "$folder.err")" != "-" ]; then
        case_failed "$name" "it said something where nothing is wrong"
    fi
}

# Runs the prepared copy through the intro into the game on the capture's
# clock, a frame every 100 ms, with what it must say ("-" for nothing, ""
# for anything); any words before the program (a wrapper) come first.
capture_case() {
    local name=$1 wanted=$2 status=0
    shift 2
    rm -rf "$folder.capture"
    timeout -k 5 600 "$@" "$folder/$(basename "$program")" "${arguments[@]}" --capture "$folder.capture" \
        --fps 10 --at 0,76000 >/dev/null 2>"$folder.err" || status=$?
    judge "$name" "$status" "$wanted"
    [ -f "$folder.capture/t076000.png" ] || case_failed "$name" "the show did not go on into the game"
    rm -f "$folder/$(basename "$program")"
    rm -rf "$folder/data"
}

arguments=("$@")
row case "exit" footer said
row ---- ---- ------ ----

prepare intact
capture_case intact -

prepare no-data
rm -rf "$folder/data"
capture_case no-data "[ERROR] FSOUND FAILED"

# The header of a 16384 x 16384 picture, and nothing after it.
huge_header() { printf '\0\0\2\0\0\0\0\0\0\0\0\0\0\100\0\100\0\0' >"$1"; }
# The picture's own header with a depth of 16 bits, which is not decoded.
undecoded_depth() { printf '\20' | dd of="$1" bs=1 seek=16 conv=notrunc status=none; }
truncated() { head -c $(($(stat -c %s "$1") / 2)) "$1" >"$1.part" && mv "$1.part" "$1"; }
zero_sized() { : >"$1"; }
fifo() { rm "$1" && mkfifo "$1"; }
directory() { rm "$1" && mkdir "$1"; }

# Each damage is done to every picture at once: each is loaded, and drawn
# where the show draws it, on its own.
for damage in truncated zero_sized huge_header undecoded_depth fifo directory; do
    prepare "pictures-$damage"
    for picture in "$folder"/data/*.tga; do "$damage" "$picture"; done
    capture_case "every picture ${damage//_/ }" ""
    for picture in "$(dirname "$program")"/data/*.tga; do
        grep -qF "\"$folder/data/$(basename "$picture")\"" "$folder.err" ||
            case_failed "every picture ${damage//_/ }" "$(basename "$picture") was not named"
    done
done

prepare duck.xm-cut-in-its-header
head -c 400 "$(dirname "$program")/data/duck.xm" >"$folder/data/duck.xm"
capture_case "duck.xm cut in its header" "[ERROR] FSOUND FAILED"
# The decoder plays a module whose samples are cut short as far as they go.
prepare duck.xm-cut-in-its-samples
truncated "$folder/data/duck.xm"
capture_case "duck.xm cut in its samples" ""
prepare duck.xm-zero-sized
zero_sized "$folder/data/duck.xm"
capture_case "duck.xm zero sized" "[ERROR] FSOUND FAILED"
prepare duck.xm-not-a-module
cp "$folder/data/fonts.tga" "$folder/data/duck.xm"
capture_case "duck.xm not a module" "[ERROR] FSOUND FAILED"

# An installed program's folder is the system's: run by a user who cannot
# write it (root runs it as nobody), the log goes to that user's state
# folder, and stderr says where once.
prepare read-only-folder
state=$folder.state
rm -rf "$state" "$folder.capture"
mkdir -p "$state" "$folder.capture"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    chown 65534:65534 "$state" "$folder.capture"
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
chmod a-w "$folder"
status=0
XDG_STATE_HOME=$state timeout -k 5 600 "${as_user[@]}" "$folder/$(basename "$program")" "${arguments[@]}" \
    --capture "$folder.capture" --fps 10 --at 0,76000 >/dev/null 2>"$folder.err" || status=$?
moved_log=$state/duckdemo/qvDebug.log
nolog=yes
judge "read-only folder" "$status" "the log is \"$moved_log\""
nolog=
chmod u+w "$folder"
[ ! -e "$folder/qvDebug.log" ] || case_failed "read-only folder" "a log was written beside the program"
[ "$(grep -c 'the log is' "$folder.err")" -eq 1 ] || case_failed "read-only folder" "the log's place not said once"
tail -n 1 "$moved_log" 2>/dev/null | grep -qx "doZorava - Logging ended" ||
    case_failed "read-only folder" "no whole log in the state folder"
[ -f "$folder.capture/t076000.png" ] || case_failed "read-only folder" "the show did not go on into the game"

prepare closed-stdio
capture_case "closed stdin, stdout, stderr" - sh -c 'exec "$@" <&- >&- 2>&-' closed

# A disk that takes no more bytes: the log's first write fails. The capture
# would fail too, so this is a run on the wall clock, ended by SIGTERM; its
# stderr is a pipe, which the limit does not touch.
prepare full-disk
{
    status=0
    (
        echo "$BASHPID" >"$folder.pid"
        ulimit -f 0
        exec "$folder/$(basename "$program")" "${arguments[@]}" 2>&1 >/dev/null
    ) || status=$?
    echo "$status" >"$folder.status"
} | cat >"$folder.err" &
# The log is made, empty, once the program has taken its signals.
await "the log on a full disk" test -f "$folder/qvDebug.log" || true
sleep 0.5
pid=$(cat "$folder.pid")
kill -TERM "$pid" 2>/dev/null || true
await_end
pid=""
wait $! || true
nolog=yes
judge "log on a full disk" "$(cat "$folder.status")" "the log file"
nolog=

# Signals on the wall clock: in the intro, and in the game from --start.
for when in intro game; do
    start=()
    [ "$when" = game ] && start=(--start 74000)
    for signal in INT TERM HUP PIPE; do
        prepare "SIG$signal-in-the-$when"
        rm -f "$folder/qvDebug.log"
        "$folder/$(basename "$program")" "${arguments[@]}" "${start[@]}" 2>"$folder.err" &
        wait_for_mainloop_of $! "$folder" "SIG$signal in the $when"
        kill "-$signal" "$pid"
        # SIGPIPE is ignored: the program goes on until SIGTERM ends it.
        if [ "$signal" = PIPE ]; then
            sleep 1
            kill -0 "$pid" 2>/dev/null || case_failed "SIGPIPE in the $when" "the program ended"
            kill -TERM "$pid" 2>/dev/null || true
        fi
        await_end
        status=0
        wait "$pid" || status=$?
        pid=""
        judge "SIG$signal in the $when" "$status" ""
    done
done

[ "$failures" -eq 0 ] || fail "$failures cases went wrong"
echo "1 passed, 0 failed"
