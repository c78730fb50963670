#include "sim/shedding.h"

#include <algorithm>
#include <cmath>

namespace {

// A shedding period spans at least this many samples, and every period lies
// within this share of their mean.
constexpr double minSamplesPerPeriod = 8.0;
constexpr double maxPeriodSpread = 0.25;

// Time-weighted means (trapezoids) and half ranges over samples [first, last].
void summarise(const std::vector<CoefficientSample>& s, size_t first, size_t last, CoefficientStats& stats)
{
    double cdLow = s[first].cd, cdHigh = cdLow, clLow = s[first].cl, clHigh = clLow;
    double cdSum = 0.0, clSum = 0.0, span = 0.0;
    for (size_t k = first; k <= last; ++k) {
        cdLow = std::min(cdLow, s[k].cd);
        cdHigh = std::max(cdHigh, s[k].cd);
        clLow = std::min(clLow, s[k].cl);
        clHigh = std::max(clHigh, s[k].cl);
        if (k == first) continue;
        const double dt = s[k].t - s[k - 1].t;
        cdSum += 0.5 * (s[k].cd + s[k - 1].cd) * dt;
        clSum += 0.5 * (s[k].cl + s[k - 1].cl) * dt;
        span += dt;
    }
    stats.cdMean = span > 0.0 ? cdSum / span : s[last].cd;
    stats.clMean = span > 0.0 ? clSum / span : s[last].cl;
    stats.cdAmplitude = 0.5 * (cdHigh - cdLow);
    stats.clAmplitude = 0.5 * (clHigh - clLow);
}

}  // namespace

CoefficientStats analyseCoefficients(const std::vector<CoefficientSample>& samples, double speed,
                                     double length, double minAmplitude)
{
    CoefficientStats stats;
    if (samples.size() < 4) {
        if (!samples.empty()) summarise(samples, 0, samples.size() - 1, stats);
        return stats;
    }
    const size_t first = samples.size() / 2, last = samples.size() - 1;
    summarise(samples, first, last, stats);
    if (stats.clAmplitude <= minAmplitude) return stats;

    // Upward crossings of the lift's mean, and the samples just after them.
    const double level = stats.clMean;
    std::vector<double> times;
    std::vector<size_t> after;
    for (size_t k = first + 1; k <= last; ++k) {
        const double a = samples[k - 1].cl - level, b = samples[k].cl - level;
        if (a < 0.0 && b >= 0.0) {
            times.push_back(samples[k - 1].t + (samples[k].t - samples[k - 1].t) * (-a) / (b - a));
            after.push_back(k);
        }
    }
    if (times.size() < 3) return stats;
    const double periods = static_cast<double>(times.size() - 1);
    const double period = (times.back() - times.front()) / periods;
    // Noise crosses its mean too, but at uneven intervals and within a few
    // samples: shedding is resolved by the steps and keeps its beat.
    const double samplesPerPeriod = static_cast<double>(after.back() - after.front()) / periods;
    if (samplesPerPeriod < minSamplesPerPeriod) return stats;
    for (size_t k = 1; k < times.size(); ++k)
        if (std::abs(times[k] - times[k - 1] - period) > maxPeriodSpread * period) return stats;
    const double f = 1.0 / period;
    summarise(samples, after.front() - 1, after.back() - 1, stats);
    stats.frequency = f;
    stats.strouhal = f * length / speed;
    return stats;
}
