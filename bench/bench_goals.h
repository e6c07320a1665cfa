// The benchmarks' shared parts: how each is run, and the goals each area
// states beside its benchmarks, written one a line for the goals' table.
#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_program.h"

// Five runs of at least 0.1 s each; the table takes their median.
template <typename Function, typename... Arguments>
void AddBenchmark(const std::string& name, Function function, Arguments... arguments) {
    benchmark::RegisterBenchmark(name.c_str(), function, arguments...)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true)
        ->MinTime(0.1);
}

// The median real time of each benchmark, in nanoseconds, by name.
struct Medians {
    std::map<std::string, double> byName;
    // NaN for a benchmark --benchmark_filter left out, which leaves out its goals.
    double operator()(const std::string& name) const;
};

struct BenchGoal {
    std::string name;
    double measured = 0;
    std::string unit;
    std::string target;  // ">= 5", "<= 1.2", or empty for a figure
};

BenchGoal AtLeast(std::string name, double measured, std::string unit, double least);
BenchGoal AtMost(std::string name, double measured, std::string unit, double most);
BenchGoal Figure(std::string name, double measured, std::string unit);

// Each area registers its benchmarks on the running program's fixture and
// states its goals from their medians.
void RegisterConvertBenchmarks(BenchFixture& fixture);
void AddConvertGoals(const Medians& time, std::vector<BenchGoal>& goals);
void RegisterBitmapBenchmarks(BenchFixture& fixture);
void AddBitmapGoals(const Medians& time, std::vector<BenchGoal>& goals);
void RegisterPassBenchmarks(BenchFixture& fixture);
void AddPassGoals(const Medians& time, std::vector<BenchGoal>& goals);
