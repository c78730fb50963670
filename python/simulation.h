// The run behind kelvo.Simulation: a BatchRun on its own copy of the
// set-up, the measurements kelvo-batch takes when asked, and the history
// as columns of numbers.
#pragma once

#include "io/state_file.h"
#include "io/vtk_series.h"
#include "sim/batch_run.h"
#include "sim/measurements.h"
#include "sim/particle_options.h"
#include "sim/run_choices.h"
#include "sim/scalar_options.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct PyGrid;

// What the keywords ask of the run's copy of the set-up before it starts,
// as kelvo-batch's --body, heat and dye, and particle options do.
struct SetUpChoices {
    std::vector<BodyOutline> bodies;
    ScalarOptions scalars;
    ParticleOptions particles;  // with the CSV directory written after every step
};

// What the Python keywords chose besides the run itself.
struct MeasureChoices {
    std::vector<ProbePoint> probes;
    bool history = true;  // record a history line after every step
};

class Simulation {
public:
    // A fresh run: the set-up's default velocities written (unless it starts
    // from its stored field) and the build step taken, as kelvo-batch does.
    // The set-up choices are applied in kelvo-batch's order: bodies, heat
    // and dye, then emitters; the particle cap once the run is built.
    Simulation(const PyGrid& setUp, const RunChoices& choices, const SetUpChoices& extras,
               const MeasureChoices& measure);
    // A saved run continued: no build step. A state file keeps no outlines:
    // the bodies given are the run's; heat and dye are the saved run's.
    Simulation(RunState saved, const RunChoices& choices, const SetUpChoices& extras, const MeasureChoices& measure);

    // One step, without the interpreter: what the Python side calls with
    // the GIL released. The history gets its line, and the particle CSV
    // directory its file, as kelvo-batch writes one on each frame cycle.
    void advance();
    // Why the last particle file could not be written; "" when it was. The
    // steps stop at such a step, as kelvo-batch's do.
    const std::string& writeFailure() const { return failedWrite; }
    void clearWriteFailure() { failedWrite.clear(); }

    BatchRun& batchRun() { return *run; }
    const BatchRun& batchRun() const { return *run; }
    const RunParameters& parameters() const { return chosen; }
    Measurements& measurements() { return *measured; }
    const std::vector<std::string>& historyColumns() const { return columns; }
    const std::vector<std::vector<double>>& historyValues() const { return values; }
    // Why the steps so far stopped, as kelvo-batch's summary says it:
    // "blow-up", else what the last run() returned ("until-steady",
    // "until-time", "step-limit", "stopped"), "step-limit" after step().
    std::string stopReason() const { return run->unstable() ? "blow-up" : lastStop; }
    void noteStop(std::string reason) { lastStop = std::move(reason); }
    // The index of the next particle file write_particles_csv writes into
    // directory: 0, 1, ... while the directory stays the same.
    int32_t nextParticleFile(const std::string& directory);
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
    std::string lastStop = "step-limit";
    std::string particleDirectory;
    int32_t particleFiles = 0;
    std::string particleCsv;  // written after every step; "" for none
    std::string failedWrite;
};

// The run, for a reader that computes from its state: refused (a
// std::runtime_error, Python's RuntimeError) while another thread is taking
// steps, which would leave it half a step.
const Simulation& idle(const Simulation& s);
