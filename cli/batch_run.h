// One batch run: the "&Calculate It" preparation, the solver's build step,
// then the simulation window's cycles on demand, with a tally of what the
// steps did.
#pragma once

#include "cli/batch_options.h"
#include "core/flow_solver.h"
#include "io/grid_file.h"
#include "sim/simulation_run.h"

#include <memory>
#include <string>

// The values a run uses, after the command line and the file are combined.
struct RunParameters {
    int reynolds = 0;
    double dt = 0.0;
    double defaultU = 0.0;
    double defaultV = 0.0;
};

// Command-line values where given; otherwise the file's settings as the
// editor's spinners would show them.
RunParameters resolveParameters(const BatchOptions& options, const GridFileSettings& fromFile);

// What the steps of a run did, the build step included.
struct RunTally {
    long long steps = 0;              // steps after the build step
    long long sweeps = 0;             // pressure sweeps of all steps
    long long cappedSteps = 0;        // steps whose sweeps ended at the cap
    long long firstNonFiniteStep = -1;  // 0 = the build step; -1 = never
};

class BatchRun {
public:
    // Writes the default velocities into grid, builds the solver and takes
    // its first step, as the simulation window does when it opens. The grid
    // must outlive the run.
    BatchRun(Grid& grid, const RunParameters& parameters);

    // One more cycle, without frames.
    void advance();
    // One more cycle; on a frame cycle (every interval-th, the first one
    // included) frame(index) with the frame's index in the run. Returns
    // what frame returned, true when this was no frame cycle.
    template <typename Frame>
    bool advance(int interval, Frame&& frame)
    {
        const bool ok = cycles->cycle(interval, frame);
        ++counts.steps;
        record(cycles->lastStepReport(), counts.steps);
        return ok;
    }

    const SimGrid& state() const { return cycles->state(); }
    const RunTally& tally() const { return counts; }

private:
    void record(const StepReport& report, long long stepNumber);

    std::unique_ptr<SimulationRun> cycles;
    RunTally counts;
};

// Whether u, v and p hold only finite values.
bool fieldsFinite(const Grid& grid);

// The closing report: steps, sweeps, speed, cap and finiteness.
std::string formatSummary(const RunTally& tally, double seconds);
