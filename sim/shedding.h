// Periodic shedding in a body's lift: frequency, Strouhal number, and the
// means and amplitudes of the force coefficients over whole periods.
#pragma once

#include <optional>
#include <vector>

struct CoefficientSample {
    double t = 0.0;
    double cd = 0.0;
    double cl = 0.0;
};

struct CoefficientStats {
    double cdMean = 0.0;
    double clMean = 0.0;
    double cdAmplitude = 0.0;         // half of max - min
    double clAmplitude = 0.0;
    std::optional<double> frequency;  // when the lift oscillates
    std::optional<double> strouhal;   // f L / U
};

// The lift oscillates when the last half of the samples holds at least two
// whole periods (three upward crossings of its mean) of an amplitude above
// minAmplitude, each period at least 8 samples long and within 25 % of
// their mean length: noise crosses its mean unevenly and within few samples. Then frequency = periods / their time (crossing times
// interpolated linearly) and the statistics cover those whole periods;
// otherwise they cover the last half.
CoefficientStats analyseCoefficients(const std::vector<CoefficientSample>& samples, double speed,
                                     double length, double minAmplitude = 1e-3);
