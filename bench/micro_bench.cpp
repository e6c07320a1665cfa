// The speed goals, each measured beside what it is held against in the same
// process, on the real program started through its driver; the goals go to
// a file, one a line, for the goals' table.
//
//   micro_bench [--goals=FILE] [Google Benchmark flags]
//   micro_bench --intro-end      prints where the intro ends, in ms
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "bench/bench_goals.h"
#include "demo/intro.h"

double Medians::operator()(const std::string& name) const {
    auto found = byName.find(name);
    return found == byName.end() ? std::nan("") : found->second;
}

namespace {

std::string Bound(const char* relation, double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%s %g", relation, value);
    return text;
}

}  // namespace

BenchGoal AtLeast(std::string name, double measured, std::string unit, double least) {
    return {std::move(name), measured, std::move(unit), Bound(">=", least)};
}

BenchGoal AtMost(std::string name, double measured, std::string unit, double most) {
    return {std::move(name), measured, std::move(unit), Bound("<=", most)};
}

BenchGoal Figure(std::string name, double measured, std::string unit) {
    return {std::move(name), measured, std::move(unit), ""};
}

namespace {

// Keeps the median real time of every benchmark and shows the runs as the
// console reporter does.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians.byName[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    Medians medians;
};

// Takes --name=value out of argv, leaving the rest for Google Benchmark.
std::string TakeFlag(int& argc, char** argv, const std::string& name) {
    std::string prefix = "--" + name + "=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) != 0) continue;
        std::string value = argv[i] + prefix.size();
        std::copy(argv + i + 1, argv + argc, argv + i);
        --argc;
        return value;
    }
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--intro-end") == 0) {
        std::printf("%d\n", IntroEndTime());
        return 0;
    }
    std::string goalsPath = TakeFlag(argc, argv, "goals");
    if (goalsPath.empty()) goalsPath = "micro-goals.tsv";
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    BenchFixture& fixture = StartBenchProgram();
    RegisterConvertBenchmarks(fixture);
    RegisterBitmapBenchmarks(fixture);
    RegisterPassBenchmarks(fixture);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::vector<BenchGoal> goals;
    AddConvertGoals(reporter.medians, goals);
    AddBitmapGoals(reporter.medians, goals);
    AddPassGoals(reporter.medians, goals);
    std::ofstream out(goalsPath);
    for (const BenchGoal& goal : goals) {
        if (!std::isfinite(goal.measured)) continue;
        out << goal.name << '\t' << goal.measured << '\t' << goal.unit << '\t' << goal.target << "\t\n";
    }
    return out ? 0 : 1;
}
