#pragma once
// Our figure and a baseline's, measured by turns in the same run, so that every run prints
// both medians and their ratio whatever else the machine is doing.

#include <QElapsedTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <vector>

// The median of a run's figures; 0 when there are none.
inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

class BesideBaseline {
public:
    // Times one run of the baseline and one of ours; our time is the benchmark's own.
    // False when either fails (the benchmark is then skipped with the error).
    bool turn(benchmark::State& state, const std::function<bool()>& baseline, const std::function<bool()>& ours)
    {
        QElapsedTimer clock;
        clock.start();
        if (!baseline())
            return false;
        baseline_.push_back(clock.nsecsElapsed() / 1e6);
        clock.restart();
        if (!ours())
            return false;
        const double ms = clock.nsecsElapsed() / 1e6;
        ours_.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
        return true;
    }

    // The medians in milliseconds and ours / baseline.
    void report(benchmark::State& state) const
    {
        if (ours_.empty())
            return;
        const double ours = median(ours_);
        const double baseline = median(baseline_);
        state.counters["ours_ms"] = ours;
        state.counters["baseline_ms"] = baseline;
        state.counters["ratio"] = baseline > 0 ? ours / baseline : 0;
    }

private:
    std::vector<double> baseline_;
    std::vector<double> ours_;
};
