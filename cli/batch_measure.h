// The measurements of a batch run: recorded after every step, a history line
// every N-th step, and the summary at the end.
#pragma once

#include "sim/batch_run.h"
#include "cli/measure_options.h"
#include "sim/measurements.h"

#include <cstdio>
#include <string>

class BatchMeasure {
public:
    // Finds the bodies of the run's state once; opens the history, when
    // asked for, and writes its header. error is set when it cannot.
    BatchMeasure(const MeasureOptions& options, const BatchRun& run, double reynolds, std::string& error);
    ~BatchMeasure();
    void setWallsOnFaces(bool onFaces) { measurements.setWallsOnFaces(onFaces); }
    BatchMeasure(const BatchMeasure&) = delete;
    BatchMeasure& operator=(const BatchMeasure&) = delete;

    // After step number step of the run.
    void record(const BatchRun& run, long long step);
    // The summary lines, and the JSON file when asked for; false when it
    // cannot be written.
    bool finish(const BatchRun& run, std::string& error);

private:
    const MeasureOptions& options;
    Measurements measurements;
    std::FILE* history = nullptr;
};
