// SPDX-License-Identifier: GPL-3.0-or-later
// Headline figures: each benchmark area registers the few numbers worth quoting; the main prints
// them after Google Benchmark's table as "NAME: VALUE UNIT" lines.
#pragma once

#include <functional>
#include <map>
#include <string>

namespace bench
{
// Benchmark name -> nanoseconds per unit (CPU time per iteration divided by the benchmark's
// "units" counter, 1 without it).
using Results = std::map<std::string, double>;

struct Headline
{
    std::string name;
    std::string unit;
    // Returns false when a benchmark it needs did not run (filtered out).
    std::function<bool(const Results&, double&)> value;
};

std::map<int, Headline>& Headlines();

// Registers at static initialisation; order decides the printed order.
int AddHeadline(int order, Headline headline);

// The common case: one benchmark's nanoseconds per unit.
int AddNsPerUnit(int order, const std::string& name, const std::string& benchmark, const std::string& unit = "ns");
} // namespace bench
