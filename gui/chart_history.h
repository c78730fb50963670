// The points of the measurements chart: a time and one value per channel
// (C_D and C_L of each body, u, v and p of each probe), held to a fixed
// number. When full, every second point goes and from then on only every
// second point offered is kept, so the points stay evenly spaced in time and
// the chart's memory stays bounded however long the run. No toolkit here.
#pragma once

#include <cstddef>
#include <vector>

class ChartHistory {
public:
    // capacity is rounded up to an even number of at least 2.
    explicit ChartHistory(size_t capacity);

    // A point at time t; channels it has no value for get NaN (not drawn),
    // a longer row adds channels whose earlier points are NaN.
    void append(double t, const std::vector<double>& values);
    // The channel's points go; later channels move down by one.
    void eraseChannel(size_t channel);
    void clear();

    size_t size() const { return times.size(); }
    size_t channelCount() const { return channels.size(); }
    // Points offered per point kept: 1, 2, 4, ...
    size_t stride() const { return keepEvery; }
    const std::vector<double>& time() const { return times; }
    const std::vector<double>& channel(size_t index) const { return channels[index]; }

private:
    void halve();

    size_t capacity;
    size_t keepEvery = 1;
    size_t offered = 0;  // points offered since the last clear
    std::vector<double> times;
    std::vector<std::vector<double>> channels;
};
