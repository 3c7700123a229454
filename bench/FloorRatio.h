// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The benchmarks' own main: the usual console table, then each goal's benchmark as a multiple of
// its floor, both measured in the same run. With --benchmark_repetitions the medians are compared.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace zgbench {

struct Ratio {
    std::string name;      // the measured benchmark, e.g. "BM_SetHitSearch/80"
    std::string floor;     // the benchmark it is compared with
    double goal;           // the largest multiple the goal allows
    bool realTime = false; // compare the "Time" column (manual or real time) instead of CPU time
    // When set, the ratio is this counter of the measured benchmark, which measured its floor
    // itself (`floor` then only names it in the printout).
    std::string counter = {};
};

class FloorRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median)
                continue;
            Times& t = times_[run.run_name.str()];
            if (t.median && !median)
                continue;
            const double ns = Nanoseconds(run.time_unit);
            t = Times{run.GetAdjustedRealTime() * ns, run.GetAdjustedCPUTime() * ns, median, {}};
            for (const auto& [name, counter] : run.counters)
                t.counters[name] = counter.value;
        }
    }

    void PrintRatios(const std::vector<Ratio>& ratios) const {
        bool header = false;
        for (const Ratio& r : ratios) {
            const auto a = times_.find(r.name), b = times_.find(r.floor);
            if (a == times_.end() || (r.counter.empty() && b == times_.end()))
                continue;
            const auto counter = a->second.counters.find(r.counter);
            if (!r.counter.empty() && counter == a->second.counters.end())
                continue;
            if (!header) {
                std::printf("\n%-40s %-32s %8s %6s\n", "benchmark", "floor", "ratio", "goal");
                header = true;
            }
            double ratio = 0, f = 1;
            if (!r.counter.empty()) {
                ratio = counter->second;
            } else {
                const double x = r.realTime ? a->second.real : a->second.cpu;
                f = r.realTime ? b->second.real : b->second.cpu;
                ratio = f > 0 ? x / f : 0.0;
            }
            if (r.goal <= 0)
                std::printf("%-40s %-32s %7.2fx %6s\n", r.name.c_str(), r.floor.c_str(), ratio, "-");
            else
                std::printf("%-40s %-32s %7.2fx %5.1fx %s\n", r.name.c_str(), r.floor.c_str(), ratio, r.goal,
                            f > 0 && ratio <= r.goal ? "met" : "MISSED");
        }
        std::fflush(stdout);
    }

private:
    struct Times {
        double real = 0, cpu = 0;
        bool median = false;
        std::map<std::string, double> counters;
    };
    static double Nanoseconds(benchmark::TimeUnit unit) {
        switch (unit) {
        case benchmark::kSecond:
            return 1e9;
        case benchmark::kMillisecond:
            return 1e6;
        case benchmark::kMicrosecond:
            return 1e3;
        case benchmark::kNanosecond:
            break;
        }
        return 1;
    }
    std::map<std::string, Times> times_;
};

inline int RunWithRatios(int argc, char** argv, const std::vector<Ratio>& ratios) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    FloorRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios(ratios);
    benchmark::Shutdown();
    return 0;
}

} // namespace zgbench
