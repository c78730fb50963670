// The run behind kelvo.Simulation: a BatchRun on its own copy of the
// set-up, the measurements kelvo-batch takes when asked, and the history
// as columns of numbers.
#pragma once

#include "io/state_file.h"
#include "io/vtk_series.h"
#include "sim/batch_run.h"
#include "sim/measurements.h"
#include "sim/run_choices.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct PyGrid;

// What the Python keywords chose besides the run itself.
struct MeasureChoices {
    std::vector<ProbePoint> probes;
    bool history = true;  // record a history line after every step
};

class Simulation {
public:
    // A fresh run: the set-up's default velocities written (unless it starts
    // from its stored field) and the build step taken, as kelvo-batch does.
    Simulation(const PyGrid& setUp, const RunChoices& choices, const MeasureChoices& measure);
    // A saved run continued: no build step.
    Simulation(RunState saved, const RunChoices& choices, const MeasureChoices& measure);

    // One step, without the interpreter: what the Python side calls with
    // the GIL released. The history gets its line.
    void advance();

    BatchRun& batchRun() { return *run; }
    const BatchRun& batchRun() const { return *run; }
    const RunParameters& parameters() const { return chosen; }
    Measurements& measurements() { return *measured; }
    const std::vector<std::string>& historyColumns() const { return columns; }
    const std::vector<std::vector<double>>& historyValues() const { return values; }
    // The field files written by write_vtk, numbered on from call to call
    // while the directory stays the same.
    VtkFieldsOutput& vtkOutput(const std::string& directory);

    // Set while a thread steps the run (a progress callback included); a
    // second stepper is refused.
    std::atomic<bool> stepping{false};
    // Set, with the GIL held, before steps that then run without it, and
    // cleared once it is taken back: whoever holds the GIL and finds it
    // clear reads a whole step's state.
    std::atomic<bool> advancing{false};

private:
    void startMeasuring(const MeasureChoices& measure);

    std::unique_ptr<Grid> setUp;  // the run's own copy; the BatchRun points at it
    RunParameters chosen;
    std::unique_ptr<BatchRun> run;
    std::unique_ptr<Measurements> measured;
    bool recordHistory = true;
    std::vector<std::string> columns;
    std::vector<std::vector<double>> values;  // one vector per column
    std::unique_ptr<VtkFieldsOutput> vtk;
};
