#pragma once
// The benchmarks' figures as ratios of medians measured in one run: the machine's load moves
// every time, the ratio of two times taken side by side much less.

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace tarvel::bench {

// Prints Google Benchmark's table and keeps the median of each benchmark for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    struct Times {
        double realNs = 0;
        double cpuNs = 0;
    };
    std::map<std::string, Times> medians;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (!median && !single) continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
            const double toNs = run.time_unit == benchmark::kMillisecond   ? 1e6
                                : run.time_unit == benchmark::kMicrosecond ? 1e3
                                                                           : 1.0;
            medians[name] = {run.GetAdjustedRealTime() * toNs, run.GetAdjustedCPUTime() * toNs};
        }
    }
};

inline void printRatio(const RatioReporter& r, const char* what, const std::string& measured,
                       const std::string& floor, double target) {
    const auto m = r.medians.find(measured);
    const auto f = r.medians.find(floor);
    if (m == r.medians.end() || f == r.medians.end()) return;
    const double ratio = m->second.realNs / f->second.realNs;
    std::printf("%-42s %9.3f ms / %9.3f ms = %5.2f", what, m->second.realNs / 1e6,
                f->second.realNs / 1e6, ratio);
    if (target > 0)
        std::printf("  (target <= %.1f: %s)", target, ratio <= target ? "met" : "MISSED");
    std::printf("  (CPU %.3f ms / %.3f ms = %.2f)", m->second.cpuNs / 1e6, f->second.cpuNs / 1e6,
                m->second.cpuNs / f->second.cpuNs);
    std::printf("\n");
}

} // namespace tarvel::bench
