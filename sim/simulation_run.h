// SimulationRun: the solver of one simulation window (or batch run) and the
// counters of its cycles. Each cycle takes one time step; every n-th cycle,
// counted from the last restart, is a frame cycle that renders and saves.
// After every step the flow is checked for a blow-up; once it has blown up,
// no frame shows it.
#pragma once

#include "core/flow_solver.h"
#include "core/grid.h"
#include "core/particles.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A cell painted into a running flow: its new flag word (through
// Grid::setCell, so border inflow and outflow point the right way), and the
// velocity an inflow cell carries.
struct CellPaint {
    int32_t i, j;
    int32_t word;
    double u = 0.0, v = 0.0;
};

// A cell dye is painted into while the flow runs: its concentration
// becomes 1.
struct DyePaint {
    int32_t i, j;
};

class SimulationRun {
public:
    // Builds the solver from grid (read now and at every rebuild, never
    // written); the caller takes the first step.
    SimulationRun(const Grid& grid, const SolverSettings& settings);
    // The same with forward Euler, the central terms and a fixed time step.
    SimulationRun(const Grid& grid, double reynolds, double dt);

    // From now on the run reads its own copy of the grid, never the
    // caller's: for a run that may outlive the grid it was given.
    void ownTheGrid() { ownedGrid(); }
    // Releases the solver and builds a new one from the grid as it is now.
    void rebuild();
    // The cells painted into the flow between two steps. The solver is
    // built again for the new cell types (its wall conditions, faces and
    // pressure operators all follow from them) and starts from the state
    // as it stands: u, v and p of every cell that stays fluid are kept, a
    // painted cell starts at rest (an inflow cell at its velocity). The run's
    // own copy of the grid takes the cells too, so a later rebuild keeps
    // them; the time and the counters go on.
    void repaint(const std::vector<CellPaint>& cells);
    // The cells painted since the run was built, the latest per cell last.
    const std::vector<CellPaint>& paintedCells() const { return painted; }
    // Dye painted into the flow between two steps: c = 1 in each named cell
    // the dye's transport solves (an open cell off the border ring); walls
    // and the border take none. A run without dye takes it on first: the
    // solver is built again from the state as for a painted cell, with no
    // dye anywhere else. The run's own copy of the grid takes the dye too, as
    // it takes painted cells, so a later rebuild starts from it. Only a
    // method that carries dye takes any.
    void paintDye(const std::vector<DyePaint>& cells);
    // Whether the run's method carries dye with the flow: the projection
    // method alone transports heat and dye.
    bool carriesDye() const { return carriesDye(settings); }
    // Whether a run with these settings would.
    static bool carriesDye(const SolverSettings& settings) { return settings.convection == Convection::RungeKutta; }

    // This and every later solver give up a step once request is raised
    // (core/stop_request.h); the run must then be rebuilt.
    void watchStopRequest(const StopRequest* request)
    {
        stopRequest = request;
        solver->watchStopRequest(request);
    }
    // One time step of the solver, outside the cycle count (the build step
    // a run takes before its first cycle, as kelvo-batch does); adds its dt
    // to the simulated time and checks the flow.
    StepReport step()
    {
        lastStep = advanceOne(0);
        return lastStep;
    }
    // cycleCount and savedFrames back to 0.
    void resetCounters();
    // Continues a saved run of the same grid and settings: the solver's
    // arrays, the simulated time and the cycle counters as they were saved.
    void restore(const SimGrid& fields, double simulatedTime, int32_t cycles, int32_t frames);
    // And its tracer particles as they were saved.
    void restoreParticles(const ParticleState& saved) { tracer->restore(saved); }

    // Whether the coming cycle is a frame cycle: cycleCount mod n = 0, with
    // cycleCount as it is before the cycle. An interval below 1 counts as 1.
    bool isFrameCycle(int interval) const;

    // One cycle, in this order: a step; on a frame cycle frame(savedFrames)
    // and savedFrames + 1, unless the step blew the flow up; cycleCount + 1.
    // Returns what frame returned, or true when no frame was drawn.
    template <typename Frame>
    bool cycle(int interval, Frame&& frame)
    {
        const bool frameCycle = isFrameCycle(interval);
        lastStep = advanceOne(cycleCount + 1);
        bool ok = true;
        if (frameCycle && !blownUp) {
            ok = frame(savedFrames);
            ++savedFrames;
        }
        ++cycleCount;
        return ok;
    }

    int32_t cycles() const { return cycleCount; }
    // What the last step did: the last cycle's, or the build step's before
    // the first cycle.
    const StepReport& lastStepReport() const { return lastStep; }
    int32_t frames() const { return savedFrames; }
    const SimGrid& state() const { return solver->state(); }
    // The tracer particles the steps carry, released by the grid's emitters
    // (and by those added since the last rebuild, which drops them all).
    const ParticleTracer& particles() const { return *tracer; }
    ParticleTracer& particles() { return *tracer; }
    // Adds an emitter to the tracer now and after every rebuild.
    void placeEmitter(const Emitter& emitter)
    {
        placedEmitters.push_back(emitter);
        tracer->addEmitter(emitter);
    }
    // The most particles kept, from now on and after every rebuild.
    void setParticleCap(std::size_t particles)
    {
        particleCap = particles;
        tracer->setCap(particles);
    }
    const Grid& editedGrid() const { return *grid; }
    const SolverSettings& solverSettings() const { return settings; }

    // Whether a step since the last rebuild left a field not finite or a
    // speed far above what the set-up gives (core/flow_check.h).
    bool unstable() const { return blownUp; }
    // Whether every u, v and p is finite now; the blow-up check after each
    // step has already scanned them.
    bool fieldsFinite() { return solver->stateExtremes().finite; }
    // The cycle whose step blew the flow up (0 for the step before the
    // first cycle); -1 while the flow holds.
    int32_t unstableCycle() const { return blownUpAt; }
    // The largest divergence the last step left in any fluid cell, on the
    // cells as the solver holds them.
    double largestDivergence() const { return solver->largestDivergence(); }
    // Simulated time since the last rebuild: the sum of the steps' dt.
    double simulatedTime() const { return elapsed; }
    // What to tell the user after a blow-up: where, and a time step to try.
    std::string instabilityText() const;

private:
    // The set-up speed and the blow-up state of a freshly built solver.
    void startFresh();
    // A step, counted as cycle number (0 outside the cycles), then the check.
    StepReport advanceOne(int32_t number);
    // The run's own copy of the edited grid, made on first use.
    Grid& ownedGrid();
    // A new solver from now, the state as it stands with its changes; the
    // time and the counters go on.
    void buildFromState(const Grid& now);

    const Grid* grid;                     // the edited grid, or ownGrid once painted into
    std::unique_ptr<Grid> ownGrid;        // the edited grid with the painted cells
    std::vector<CellPaint> painted;
    SolverSettings settings;
    std::unique_ptr<FlowSolver> solver;   // owned
    const StopRequest* stopRequest = nullptr;
    std::unique_ptr<ParticleTracer> tracer;  // owned
    std::size_t particleCap = particle_defaults::cap;
    Emitters placedEmitters;              // added since the run was built, kept over rebuilds
    double setUpSpeedLimit = 1.0;         // the set-up's largest speed, at least 1
    bool blownUp = false;
    int32_t blownUpAt = -1;
    double elapsed = 0.0;
    int32_t cycleCount = 0;               // cycles since the last restart
    int32_t savedFrames = 0;              // frame cycles since the last restart
    StepReport lastStep;                  // of the last step taken
};
