// One run without a window, as kelvo-batch and the Python module drive it:
// the "&Calculate It" preparation, the solver's build step, then the
// simulation window's cycles on demand, with a tally of what the steps did.
#pragma once

#include "core/flow_solver.h"
#include "io/grid_file.h"
#include "io/state_file.h"
#include "sim/run_choices.h"
#include "sim/simulation_run.h"

#include <memory>
#include <utility>
#include <optional>
#include <string>

// What the steps of a run did, the build step included.
struct RunTally {
    long long steps = 0;              // steps after the build step
    long long restoredSteps = 0;      // of those, the steps before a restart
    long long sweeps = 0;             // pressure sweeps of all steps
    long long cycles = 0;             // multigrid iterations of all steps
    double largestDivergence = 0.0;   // left after any step (core/flow_check.h)
    long long cappedSteps = 0;        // steps whose sweeps ended at the cap
    long long firstNonFiniteStep = -1;  // 0 = the build step; -1 = never
    double simulatedTime = 0.0;       // the sum of the time steps taken
    double smallestDt = 0.0;          // of all steps
    double largestDt = 0.0;
    double lastChange = -1.0;         // largest change of u or v in the last step; -1 = not tracked
    bool steady = false;              // the last change was within the steady limit
    double timeLimit = -1.0;          // --until-time; -1 = none
    bool timeReached = false;         // the simulated time reached the limit
};

class BatchRun {
public:
    // Writes the default velocities into grid (unless the run starts from
    // the stored field), builds the solver and takes its first step, as the
    // simulation window does when it opens. The grid
    // must outlive the run.
    // With steadyLimit, the largest change of u or v is tracked every step
    // and steady() says when it is at most the limit; with timeLimit,
    // timeReached() says when the simulated time has reached it.
    BatchRun(Grid& grid, const RunParameters& parameters,
             std::optional<double> steadyLimit = std::nullopt, std::optional<double> timeLimit = std::nullopt);

    // Continues a saved run: grid is the saved set-up, default velocities
    // included, and no build step is taken. The parameters' default
    // velocities are not used.
    BatchRun(Grid& grid, const RunParameters& parameters, const RunState& saved,
             std::optional<double> steadyLimit = std::nullopt, std::optional<double> timeLimit = std::nullopt);

    // New limits for the steps to come, as the constructor takes them: with
    // steadyLimit each later step is compared with the one before it; the
    // time limit is a simulated time, a saved part of the run included.
    void setLimits(std::optional<double> steadyLimit, std::optional<double> timeLimit);

    // The run as it stands, with its settings, for a state file.
    void saveState(RunState& state) const;

    // One more cycle, without frames.
    void advance();
    // One more cycle; on a frame cycle (every interval-th, the first one
    // included) frame(index) with the frame's index in the run, unless the
    // step blew the flow up: a broken state is never drawn. Returns what
    // frame returned, true when no frame was drawn.
    template <typename Frame>
    bool advance(int interval, Frame&& frame)
    {
        keepPreviousVelocities();
        const bool ok = cycles->cycle(interval, std::forward<Frame>(frame));
        ++counts.steps;
        record(cycles->lastStepReport(), counts.steps);
        return ok;
    }

    const SimGrid& state() const { return cycles->state(); }
    // The tracer particles, in release order.
    const std::vector<Particle>& particles() const { return cycles->particles().particles(); }
    // The most particles kept, the oldest removed first beyond it.
    void setParticleCap(std::size_t cap) { cycles->setParticleCap(cap); }
    const RunTally& tally() const { return counts; }
    // Simulated time of the state, the step of a cycle in progress included.
    double simulatedTime() const { return cycles->simulatedTime(); }
    // Frame cycles of the whole run so far, a saved part included.
    int32_t frames() const { return cycles->frames(); }
    // What the step of the last cycle did.
    const StepReport& lastStep() const { return cycles->lastStepReport(); }
    // Whether the run must stop: the flow blew up, it became steady, or its
    // simulated time reached the limit.
    bool unstable() const { return cycles->unstable(); }
    bool steady() const { return counts.steady; }
    bool timeReached() const { return counts.timeReached; }
    bool finished() const { return unstable() || steady() || timeReached(); }
    // Why it stopped, for the summary file: "blow-up", "until-steady",
    // "until-time", or "step-limit" when none of them stopped it.
    const char* stopReason() const;
    // What to tell the user after a blow-up.
    std::string instabilityText() const;

private:
    void record(const StepReport& report, long long stepNumber);
    void keepPreviousVelocities();
    void trackChanges(const Grid& grid);
    double largestChange() const;

    const Grid* edited;
    SolverSettings settings;
    std::optional<double> steadyLimit;
    Grid previous;                     // u and v before the step, when tracking changes
    std::unique_ptr<SimulationRun> cycles;
    RunTally counts;
};

// Whether u, v and p hold only finite values.
bool fieldsFinite(const Grid& grid);
