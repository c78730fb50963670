// The measurement options of kelvo-batch: probes, the history, the summary
// file and the reference scales of the force coefficients.
#pragma once

#include "sim/measurements.h"

#include <string>
#include <vector>

struct MeasureOptions {
    std::vector<ProbePoint> probes;   // --probe X,Y, repeatable
    std::string historyPath;          // --history FILE
    int historyEvery = 1;             // --history-every N
    std::string summaryJsonPath;      // --summary-json FILE
    ReferenceScales scales;           // --ref-speed, --ref-length

    // Whether the run measures at all: forces cost nothing when it does not.
    bool any() const { return !probes.empty() || !historyPath.empty() || !summaryJsonPath.empty(); }
};

bool isMeasureOption(const std::string& name);
// One measurement option with its value; false with a reason when it is bad.
bool applyMeasureOption(const std::string& name, const std::string& text, MeasureOptions& o, std::string& error);

// The lines of --help about them.
extern const char* const measureUsage;
