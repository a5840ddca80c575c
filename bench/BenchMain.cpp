// SPDX-License-Identifier: GPL-3.0-or-later
// parvel-bench: Google Benchmark's table, then one line per headline figure.
#include "Headlines.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#if defined(__SSE__) || defined(_M_X64)
#include <xmmintrin.h>
#endif

namespace bench
{
std::map<int, Headline>& Headlines()
{
    static std::map<int, Headline> headlines;
    return headlines;
}

int AddHeadline(int order, Headline headline)
{
    Headlines()[order] = std::move(headline);
    return order;
}

int AddNsPerUnit(int order, const std::string& name, const std::string& benchmark, const std::string& unit)
{
    return AddHeadline(order, { name, unit, [benchmark](const Results& r, double& v) {
                                   const auto it = r.find(benchmark);
                                   if (it == r.end())
                                       return false;
                                   v = it->second;
                                   return true;
                               } });
}
} // namespace bench

namespace
{
// Console table as usual, and keeps ns per unit of every plain run (or of the median when
// repetitions are asked for). CPU time, not wall time: on a shared machine the wall clock also
// counts the time other processes held the core.
class HeadlineReporter : public benchmark::ConsoleReporter
{
public:
    bench::Results results;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs)
        {
            if (run.error_occurred)
                continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median)
                continue;
            const std::string name = run.run_name.str();
            if (!median && medians.count(name) != 0)
                continue;
            double ns = run.GetAdjustedCPUTime() * benchmark::GetTimeUnitMultiplier(benchmark::kNanosecond)
                / benchmark::GetTimeUnitMultiplier(run.time_unit);
            const auto units = run.counters.find("units");
            if (units != run.counters.end() && units->second.value > 0.0)
                ns /= units->second.value;
            results[name] = ns;
            if (median)
                medians[name] = true;
        }
    }

private:
    std::map<std::string, bool> medians;
};
} // namespace

int main(int argc, char** argv)
{
    // As the effect's processing does: flush denormals so that decaying states cost nothing.
#if defined(__SSE__) || defined(_M_X64)
    _mm_setcsr(_mm_getcsr() | 0x8040);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    HeadlineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n");
    for (const auto& entry : bench::Headlines())
    {
        double v = 0.0;
        if (entry.second.value(reporter.results, v))
            std::printf("%s: %.3f %s\n", entry.second.name.c_str(), v, entry.second.unit.c_str());
    }
    return 0;
}
