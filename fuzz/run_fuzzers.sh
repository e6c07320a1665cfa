#!/usr/bin/env bash
# Runs each fuzz target in turn, one process with one worker, from its seed
# corpus, and prints how many inputs it ran. A target that crashes, leaks,
# runs out of memory or trips a sanitizer fails the run; the input that did it
# is left under <build>/fuzz/artifacts/<target>/.
#
#   fuzz/run_fuzzers.sh [build folder] [target...]
#
# RUNS (default 1000000) bounds each target by inputs; SECONDS_EACH, when set,
# by time as well: whichever comes first ends it.
set -u -o pipefail

build=${1:-build/fuzz}
shift $(($# > 0 ? 1 : 0))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(tga font input_script command_line hardware)
runs=${RUNS:-1000000}

bound=(-runs="$runs")
[ -z "${SECONDS_EACH:-}" ] || bound+=(-max_total_time="$SECONDS_EACH")

failed=0
for target in "${targets[@]}"; do
  program=$build/fuzz/fuzz_$target
  corpus=$build/fuzz/corpus/$target
  artifacts=$build/fuzz/artifacts/$target
  log=$build/fuzz/$target.log
  if [ ! -x "$program" ] || [ ! -d "$corpus" ]; then
    echo "$target: no $program or no $corpus (build with DUCKDEMO_FUZZ=ON)"
    failed=1
    continue
  fi
  mkdir -p "$artifacts"
  "$program" "${bound[@]}" -rss_limit_mb=512 -malloc_limit_mb=512 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1
  status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  seconds=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n 1)
  if [ $status -eq 0 ]; then
    printf '%-13s %9s executions in %ss, nothing found\n' "$target" "${executions:-?}" "${seconds:-?}"
  else
    printf '%-13s %9s executions, FAILED (exit %d); see %s\n' "$target" "${executions:-?}" $status "$log"
    grep -m 3 -E '^==[0-9]+==ERROR|runtime error|^SUMMARY|out-of-memory|leak' "$log" | sed 's/^/    /'
    failed=1
  fi
done
exit $failed
