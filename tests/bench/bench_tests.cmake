# The bench's pipeline on two of its benchmarks: the program starts on its
# data, the goals reach the table, and the table judges them. Only that a
# goal holds or not is checked, never a time.
if(DUCKDEMO_BENCH)
  add_test(NAME bench_goals_reach_the_table
    COMMAND sh -c "out=\"$1\" && rm -rf \"$out\" && mkdir -p \"$out\" &&
\"$2\" --goals=\"$out/micro.tsv\" '--benchmark_filter=^(Clear|Memset/BackBuffer)/' >\"$out/micro.txt\" &&
python3 \"$3\" \"$out/summary.json\" \"$out/micro.tsv\" && python3 -c '
import json, sys
goals = json.load(open(sys.argv[1]))
assert [goal[\"name\"] for goal in goals] == [\"Clear vs memset\"], goals
assert goals[0][\"holds\"] in (True, False) and goals[0][\"target\"] == \"<= 1.2\", goals
' \"$out/summary.json\"" bench_test ${CMAKE_CURRENT_BINARY_DIR}/output/bench $<TARGET_FILE:micro_bench>
            ${PROJECT_SOURCE_DIR}/bench/goals_table.py)
endif()
