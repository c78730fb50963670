#include "gui/chart_history.h"

#include <algorithm>
#include <limits>

namespace {
const double missing = std::numeric_limits<double>::quiet_NaN();
}

ChartHistory::ChartHistory(size_t capacity) : capacity(std::max<size_t>(2, capacity + capacity % 2)) {}

void ChartHistory::append(double t, const std::vector<double>& values)
{
    if (offered++ % keepEvery != 0) return;
    while (channels.size() < values.size()) channels.emplace_back(times.size(), missing);
    times.push_back(t);
    for (size_t k = 0; k < channels.size(); ++k) channels[k].push_back(k < values.size() ? values[k] : missing);
    if (times.size() >= capacity) halve();
}

// Kept points sit at multiples of the stride among those offered; keeping
// every second of them leaves the multiples of twice the stride.
void ChartHistory::halve()
{
    const auto everySecond = [](std::vector<double>& values) {
        size_t kept = 0;
        for (size_t k = 0; k < values.size(); k += 2) values[kept++] = values[k];
        values.resize(kept);
    };
    everySecond(times);
    for (std::vector<double>& values : channels) everySecond(values);
    keepEvery *= 2;
}

void ChartHistory::eraseChannel(size_t channel)
{
    if (channel < channels.size()) channels.erase(channels.begin() + static_cast<std::ptrdiff_t>(channel));
}

void ChartHistory::clear()
{
    times.clear();
    channels.clear();
    keepEvery = 1;
    offered = 0;
}
