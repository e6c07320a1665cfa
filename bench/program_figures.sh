#!/usr/bin/env bash
# The whole program's figures, from runs of the real program with no display:
# capture speed (--at only, to a PNG folder, to a video), start-up to the
# first frame, the windowed run's share of a core under Xvfb, and the sound
# server test's last figures. Writes the goals one a line (name, measured,
# unit, target, note; tab-separated) for the goals' table.
#
#   program_figures.sh DUCKDEMO MICRO_BENCH WITH_XVFB WORK_FOLDER GOALS [SOUND_FIGURES]
set -euo pipefail
program=$1 micro_bench=$2 with_xvfb=$3 work=$4 goals=$5 sound_figures=${6:-}
mkdir -p "$work"
: >"$goals"

goal() { printf '%s\t%s\t%s\t%s\t%s\n' "$@" >>"$goals"; }

# The wall-clock seconds of one run with no display; fails when the run
# does: the demo ends a whole run with 1, capture's own failures give 2.
timed_run() {
    local log=$1 start status=0
    shift
    start=$(date +%s.%N)
    env -u DISPLAY "$program" "$@" >"$log" 2>&1 || status=$?
    if [ "$status" -gt 1 ]; then
        echo "program_figures: '$program $*' failed ($status); see $log" >&2
        return 1
    fi
    awk -v start="$start" -v end="$(date +%s.%N)" 'BEGIN { printf "%.4f\n", end - start }'
}

# The median seconds of RUNS captures into a fresh FOLDER each.
median_capture() {
    local runs=$1 folder=$2 run times=""
    shift 2
    for ((run = 0; run < runs; run++)); do
        rm -rf "$folder"
        times+="$(timed_run "$folder.log" --capture "$folder" "$@")"$'\n' || return 1
    done
    printf '%s' "$times" | sort -n | awk '{ time[NR] = $1 } END { print time[int(NR / 2) + 1] }'
}

# The intro as the program knows it, from its own envelopes.
intro_ms=$("$micro_bench" --intro-end)
intro_s=$((intro_ms / 1000))
capture_goal() {
    awk -v name="capture $intro_s s intro$1" -v seconds="$2" -v target="$3" -v intro="$intro_s" 'BEGIN {
        printf "%s\t%.4f\tx real time\t%s\t%.2f s wall, %.0f frames/s\n", name, intro / seconds, target, seconds,
            intro * 60 / seconds }' >>"$goals"
}

if seconds=$(median_capture 3 "$work/at-only" --duration "$intro_s" --at $((intro_ms - 1000))); then
    capture_goal ", --at only (median of 3)" "$seconds" ">= 100"
fi
if seconds=$(median_capture 1 "$work/png" --duration "$intro_s"); then
    capture_goal " to PNG folder" "$seconds" ">= 10"
fi
rm -rf "$work/video" && mkdir -p "$work/video"
if seconds=$(timed_run "$work/video.log" --capture "$work/video/intro.mp4" --duration "$intro_s"); then
    capture_goal " to video (mp4)" "$seconds" ""
fi
if seconds=$(median_capture 5 "$work/first" --at 0); then
    goal "start-up to first frame (median of 5)" "$(awk -v s="$seconds" 'BEGIN { printf "%.1f", s * 1000 }')" ms \
        "<= 200" "wall clock of --capture DIR --at 0, which ends after the first frame"
fi

# The windowed program's processor time from 2 s to 22 s after it starts, on
# a virtual display of its own; sound goes to SDL's dummy driver.
cat >"$work/windowed.sh" <<'SCRIPT'
"$1" --no-setup >/dev/null 2>&1 &
pid=$!
sleep 2
before=$(cut -d' ' -f14,15 /proc/$pid/stat)
sleep 20
after=$(cut -d' ' -f14,15 /proc/$pid/stat)
kill $pid
wait $pid
echo $before $after $(getconf CLK_TCK)
SCRIPT
read -r user_before system_before user_after system_after ticks < <(
    SDL_AUDIODRIVER=dummy bash "$with_xvfb" sh "$work/windowed.sh" "$program" 2>/dev/null) || true
if [ "${ticks:-0}" -gt 0 ]; then
    goal "20 s windowed run under Xvfb, share of one core" \
        "$(awk -v used=$((user_after + system_after - user_before - system_before)) -v ticks="$ticks" \
            'BEGIN { printf "%.2f", used / ticks / 20 * 100 }')" % "<= 15" \
        "utime+stime from /proc/PID/stat, 2 s to 22 s after start"
else
    echo "program_figures: the windowed run gave no processor times" >&2
fi

# The figures the sound server test printed in its last run: one line per
# program, its name, then name=value pairs (gaps, pace, sync, latency).
if [ -f "$sound_figures" ]; then
    while read -r name pairs; do
        for pair in $pairs; do
            case ${pair%%=*} in
            *_pct) unit=% ;;
            *_ms) unit=ms ;;
            *) unit=count ;;
            esac
            goal "$name on PulseAudio: ${pair%%=*}" "${pair#*=}" "$unit" "" "from the last make test (sound_sync_e2e)"
        done
    done <"$sound_figures"
fi
