// The axes of the measurements chart: the range the shown values span and
// "nice" tick values on it (1, 2 or 5 times a power of ten apart), with
// labels that carry just the decimals the step needs. No toolkit here.
#pragma once

#include <string>
#include <vector>

struct AxisTicks {
    double low = 0.0;   // the axis runs from the first tick ...
    double high = 1.0;  // ... to the last
    double step = 1.0;
    int decimals = 0;   // of every label
    std::vector<double> values;
};

// Ticks covering low..high with at most maxTicks values (at least 2). An
// empty or single-valued range is widened around its value so the axis
// still has a height; a range with no finite end gives 0..1.
AxisTicks niceTicks(double low, double high, int maxTicks);
// value with the axis's decimals, "-0" shown as "0".
std::string tickLabel(double value, int decimals);

// The smallest and largest finite value seen; empty until one is.
class ValueSpan {
public:
    void include(double value);
    void include(const std::vector<double>& values);
    bool empty() const { return low > high; }
    double lowest() const { return low; }
    double highest() const { return high; }

private:
    double low = 1.0;
    double high = 0.0;
};

// Where a value lands between two pixel positions: low at from, high at to.
double axisPixel(double value, double low, double high, double from, double to);
