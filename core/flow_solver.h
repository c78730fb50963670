// FlowSolver: advances the incompressible flow of its SimGrid by one time
// step of a pressure-correction scheme (explicit momentum predictor F, G;
// Gauss-Seidel sweeps for the correction dp; velocity correction; relaxed
// accumulation of dp into p).
#pragma once

#include "core/convection_schemes.h"
#include "core/field_extremes.h"
#include "core/multigrid_pressure.h"
#include "core/grid.h"
#include "core/projection_step.h"
#include "core/scalar_transport.h"
#include "core/wall_conditions.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

// The convection terms of the momentum predictor.
enum class Convection {
    Central,        // consistent central fluxes, forward Euler
    UpwindBlended,  // central plus a share of donor-cell upwinding
    Designed,       // the terms as first designed, for reproducing old results
    RungeKutta,     // the default: central terms, three Runge-Kutta stages, implicit
                    // viscosity, walls on the faces (core/projection_step.h)
};

// How the pressure correction is solved each step.
enum class PressureSolver {
    GaussSeidel,  // red-black sweeps (the designed terms: their own sweeps)
    Multigrid,    // the default: conjugate gradients with a multigrid preconditioner
};

// Everything a solver needs besides the grid.
struct SolverSettings {
    double reynolds = 100;       // need not be whole; the solver holds it as a float
    double dt = 0.003;           // the time step unless automaticDt
    Convection convection = Convection::RungeKutta;
    bool automaticDt = false;    // choose dt before every step (core/time_step.h)
    PressureSolver pressure = PressureSolver::Multigrid;
    int threads = 0;             // the multigrid solver's threads; 0: the machine's cores
};

// What one step did in its pressure iteration.
struct StepReport {
    int sweeps = 0;          // Gauss-Seidel sweeps made
    int cycles = 0;          // multigrid-preconditioned iterations made
    bool converged = true;   // false when the sweep or cycle cap ended the iteration
    double dt = 0.0;         // the time step taken, as the solver held it
};

// The scalars of a solver as it holds them: single precision, widened to
// double where a step uses them.
struct SolverScalars {
    float dx = 0.0f;
    float dy = 0.0f;
    float dt = 0.0f;
    float Re = 0.0f;
    float tolerance = 0.0f;
    float pressureRelaxation = 0.0f;
};

class FlowSolver {
public:
    // Deep-copies grid and applies the wall conditions to (u, v, dp) and
    // (F, G, dp). The caller takes the first step.
    FlowSolver(const Grid& grid, const SolverSettings& settings);

    StepReport step() { return (this->*stepWithScheme)(); }

    const SimGrid& state() const { return *simGrid; }
    const SolverScalars& scalars() const { return held; }
    Convection convection() const { return scheme; }
    // Replaces the working arrays (u, v, p, F, G, pPrev, dp) with those of
    // saved, a solver's state of the same grid, so that the next step is the
    // step that solver would have taken. Everything else a step reads is
    // derived from the flags or set afresh before each step.
    void restore(const SimGrid& saved);
    // Ends every later pressure iteration after at most sweeps sweeps.
    void capSweeps(int sweeps);
    // Where the Gauss-Seidel sweeps work: chosen step by step (see
    // solvePressureGaussSeidel), or fixed; the same results either way.
    enum class SweepLayout { Chosen, InPlace, Copies };
    void setSweepLayout(SweepLayout layout) { sweepLayout = layout; }
    // The extremes of u, v and p as the state now stands: found by the last
    // step's final pass when it needed them, else by a scan now.
    const FieldExtremes& stateExtremes();
    // Makes every later step find the extremes in its final pass, for a
    // caller that checks them after each step.
    void trackExtremes() { finiteWanted = extremesWanted = true; }
    // Threads the large passes of later steps use, 0 for the machine's
    // cores; the results have the same bits with any number.
    void setThreads(int threads);
    // Every later pressure or viscous iteration ends early once request is
    // raised; the state is then unfinished (core/stop_request.h).
    void watchStopRequest(const StopRequest* request);

    // The phases of step, in the order step runs them; public so that each
    // can be measured alone.
    void computeF() { (this->*predictFWith)(); }
    void computeG() { (this->*predictGWith)(); }
    StepReport solvePressure() { return (this->*solvePressureWith)(); }
    void correctVelocity();
    void accumulatePressure();
    // The wall conditions on (u, v, p), as a step applies them last.
    void applyStateWallConditions();
    // The largest divergence of any solved cell (core/face_boundaries.h)
    // under the projection method; of every open interior cell otherwise.
    double largestDivergence() const;
    // The projection method's own parts; nullptr for the other methods.
    const ProjectionStep* projection() const { return projectionStep.get(); }
    // The transport of heat and dye; nullptr when the grid carries neither
    // or the method is not the projection method.
    const ScalarTransport* transport() const { return scalarTransport.get(); }
    // Sets the dye of cell (i, j) between two steps where the transport
    // solves it; false there is none to set: a cell it does not solve, or a
    // state without dye.
    bool setDye(int32_t i, int32_t j, double c);

private:
    // The flags never change during a solver's life, so everything derived
    // from them alone is found once, at construction.
    void planFromFlags();
    // accumulatePressure, finding the extremes of the new state on the way
    // (the finiteness only when checkFinite).
    template <bool checkFinite> void accumulatePressureFindingExtremes();
    void applyWallConditions(Array2D<double>& U, Array2D<double>& V, Array2D<double>& P);

    // The step and the predictors with one scheme's convection terms; the
    // step of the chosen scheme is picked once, at construction.
    template <class Scheme> StepReport stepWith();
    // The step of the projection method.
    StepReport stepProjection();
    // Points the step and the predictors at one scheme's instantiations.
    template <class Scheme> void useScheme();
    // Sets dt (when automatic) and the blend factor from the fastest
    // velocities before a step.
    template <class Scheme> void prepareStep();
    template <class Scheme> void predictF();
    template <class Scheme> void predictG();
    ConvectionFactors convectionFactors() const;
    ViscousFactors viscousFactors() const;

    // The pressure solvers, one picked at construction; both work on the
    // row-by-row copies below.
    StepReport solvePressureGaussSeidel();
    StepReport solvePressureMultigrid();
    StepReport solvePressureBalanced();
    StepReport sweepPressureInPlace();
    StepReport sweepPressureOnCopies();
    // The constants of a sweep: cx = -dt/dx^2, cy = -dt/dy^2, -1/S, 1/dx, 1/dy.
    struct SweepCoefficients {
        double cx, cy, negInvS, invDx, invDy;
    };
    SweepCoefficients sweepCoefficients() const;
    template <class Sweep> StepReport sweepUntilSettled(Sweep&& sweepOnce);
    void gatherPressureArrays();
    void scatterPressureCorrection();

    std::unique_ptr<SimGrid> simGrid;  // the grid it advances; owned
    int32_t NX = 0;
    int32_t NY = 0;
    SolverScalars held;
    Convection scheme;
    bool automaticDt;
    StepReport (FlowSolver::*stepWithScheme)() = nullptr;
    void (FlowSolver::*predictFWith)() = nullptr;
    void (FlowSolver::*predictGWith)() = nullptr;
    StepReport (FlowSolver::*solvePressureWith)() = nullptr;
    std::unique_ptr<MultigridPressure> multigrid;  // only when chosen
    const StopRequest* stopRequest = nullptr;
    std::unique_ptr<ProjectionStep> projectionStep;  // only for the projection method
    // Heat and dye, only for the projection method and a grid that carries them.
    void setUpScalars(double reynolds);
    std::unique_ptr<ScalarTransport> scalarTransport;
    std::unique_ptr<Buoyancy> buoyancy;
    double buoyancyStepLimit = std::numeric_limits<double>::infinity();
    double fixedDt = 0.0;               // its time step unless automatic, not narrowed
    bool balancedMultigrid = false;     // the central and blended steps' solver
    std::vector<double> balancedRhs;    // their right side, row by row
    bool projectionMultigrid = false;   // its pressure solver
    int maxSweeps;  // cap on the pressure sweeps of one step
    double blend = 0.0;  // donor-cell share of the blended scheme, set each step
    bool extremesWanted;       // steps find the largest velocities of their result
    bool finiteWanted = false;  // and whether it is all finite
    // Whether extremes describe the state (its finiteness only when
    // finiteCurrent too): anything that writes u, v or p outside a step must
    // clear it.
    bool extremesCurrent = false;
    bool finiteCurrent = false;
    FieldExtremes extremes;

    WallPlan wallPlan;               // the wall conditions' writes
    Array2D<unsigned char> uFaceComputed;  // 1 where a u face lies between two open cells, inflow excluded
    Array2D<unsigned char> vFaceComputed;  // the same for v faces

    // Working storage of the pressure sweeps, laid out row by row in j so the
    // sweep runs through memory in order; allocated once per solver.
    std::unique_ptr<double[]> sweepDp;
    std::unique_ptr<double[]> sweepDivergence;
    std::unique_ptr<unsigned char[]> sweepOpen;  // 1 for an open interior cell; read by both layouts
    SweepLayout sweepLayout = SweepLayout::Chosen;
    bool fitsInPlace = false;  // small enough to sweep in place when few sweeps are needed
    int lastSweeps = 0;        // sweeps of the last Gauss-Seidel solve
    std::unique_ptr<double[]> predictionRow;  // one column of predicted F or G
};

// The deep copy a solver starts from: the working arrays start as copies of
// the velocities, pPrev and dp at zero; no wall conditions applied yet.
std::unique_ptr<SimGrid> copyForSolver(const Grid& grid);

// The pressure solver a method takes unless told otherwise: multigrid, far
// the faster at the divergence every method but the designed terms stops
// at; the designed terms keep their own sweeps, which reproduce old results.
inline PressureSolver defaultPressureSolver(Convection method)
{
    return method == Convection::Designed ? PressureSolver::GaussSeidel : PressureSolver::Multigrid;
}

// Whether a method holds the no-slip values on the faces of the wall cells
// (core/face_boundaries.h) rather than at their centres.
inline bool wallsOnFaces(Convection method) { return method == Convection::RungeKutta; }

// A forward-Euler solver with the central terms, the given Reynolds number
// and time step: the solver of the windows and runs built from those two
// numbers alone.
std::unique_ptr<FlowSolver> buildSolver(const Grid& grid, double Re, double dt);
