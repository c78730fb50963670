#include "gui/chart_axes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
// A lone value v is shown on v - w .. v + w, w a tenth of |v| or this.
constexpr double singleValueHalfWidth = 0.5;
// Ticks this close to zero, and ends this close to a tick, relative to the
// step, are on it: 1.8 / 0.1 is a little under 18.
constexpr double zeroSnap = 1e-9;

// The smallest of 1, 2, 5 times a power of ten that is at least raw.
double niceStep(double raw)
{
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= raw * (1 - 1e-12)) return factor * power;
    return 10.0 * power;
}
}  // namespace

AxisTicks niceTicks(double low, double high, int maxTicks)
{
    maxTicks = std::max(maxTicks, 2);
    if (!std::isfinite(low) || !std::isfinite(high)) {
        low = 0.0;
        high = 1.0;
    }
    if (low > high) std::swap(low, high);
    if (high - low <= 0.0) {
        const double half = low != 0.0 ? 0.1 * std::fabs(low) : singleValueHalfWidth;
        low -= half;
        high += half;
    }
    AxisTicks ticks;
    ticks.step = niceStep((high - low) / (maxTicks - 1));
    // The rounded ends can need one tick more than maxTicks: a wider step.
    for (;;) {
        const double first = std::floor(low / ticks.step + zeroSnap);
        const double last = std::ceil(high / ticks.step - zeroSnap);
        if (last - first + 1 <= maxTicks) {
            ticks.values.clear();
            for (double k = first; k <= last; ++k) {
                const double value = k * ticks.step;
                ticks.values.push_back(std::fabs(value) < zeroSnap * ticks.step ? 0.0 : value);
            }
            break;
        }
        ticks.step = niceStep(ticks.step * 1.5);
    }
    ticks.low = ticks.values.front();
    ticks.high = ticks.values.back();
    ticks.decimals = std::max(0, -static_cast<int>(std::floor(std::log10(ticks.step) + 1e-9)));
    return ticks;
}

std::string tickLabel(double value, int decimals)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string label = text;
    if (label[0] == '-' && label.find_first_not_of("-0.") == std::string::npos) label.erase(0, 1);
    return label;
}

void ValueSpan::include(double value)
{
    if (!std::isfinite(value)) return;
    if (empty()) {
        low = high = value;
        return;
    }
    low = std::min(low, value);
    high = std::max(high, value);
}

void ValueSpan::include(const std::vector<double>& values)
{
    for (double value : values) include(value);
}

double axisPixel(double value, double low, double high, double from, double to)
{
    if (high <= low) return from;
    return from + (value - low) / (high - low) * (to - from);
}
