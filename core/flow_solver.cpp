#include "core/flow_solver.h"

#include "core/convection_schemes.h"
#include "core/face_boundaries.h"
#include "core/flow_check.h"
#include "core/solver_constants.h"
#include "core/time_step.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

inline double sq(double x) { return x * x; }

// A face is computed when neither of its cells is closed to the flow: the
// cell is not inflow and both cells are fluid or outflow.
inline bool faceComputed(int32_t cell, int32_t neighbour)
{
    return !(cell & CELL_INFLOW) && (cell & CELL_OPEN_MASK) && (neighbour & CELL_OPEN_MASK);
}

inline void accumulateColumn(double* p, double* pPrev, double* dp, int32_t count, double relaxation)
{
    for (int32_t j = 0; j < count; ++j) {
        p[j] = relaxation * dp[j] + pPrev[j];
        pPrev[j] = p[j];
        dp[j] = 0.0;
    }
}

// The pressure equation of the central and blended steps with every open
// interior cell's mass balance closed: a wall's or an inflow's face is
// given, so the correction has zero gradient there; the faces to an open
// cell of the east or north border are corrected against dp = 0 there, as
// the velocity correction does.
CellOperator balancedPressureOperator(const Array2D<int32_t>& flags, int32_t NX, int32_t NY, double ax, double ay)
{
    auto interior = [&](int32_t i, int32_t j) { return i >= 1 && i <= NX - 2 && j >= 1 && j <= NY - 2; };
    return negativeLaplacian(
        NX, NY, ax, ay, [&](int32_t i, int32_t j) { return interior(i, j) && isOpen(flags[i][j]); },
        [&](int32_t i, int32_t j) { return (i == NX - 1 || j == NY - 1) && isOpen(flags[i][j]); });
}

}  // namespace

// The step of each scheme, picked once so that the loops of one scheme hold
// no test for another.
template <class Scheme>
StepReport FlowSolver::stepWith()
{
    SimGrid& g = *simGrid;
    prepareStep<Scheme>();
    predictF<Scheme>();
    predictG<Scheme>();
    StepReport report = solvePressure();
    report.dt = held.dt;
    applyWallConditions(g.u, g.v, g.dp);
    correctVelocity();
    applyWallConditions(g.u, g.v, g.p);
    if (finiteWanted)
        accumulatePressureFindingExtremes<true>();
    else if (extremesWanted)
        accumulatePressureFindingExtremes<false>();
    else
        accumulatePressure();
    return report;
}

template <class Scheme>
void FlowSolver::useScheme()
{
    stepWithScheme = &FlowSolver::stepWith<Scheme>;
    predictFWith = &FlowSolver::predictF<Scheme>;
    predictGWith = &FlowSolver::predictG<Scheme>;
}

template <class Scheme>
void FlowSolver::prepareStep()
{
    if (!automaticDt && !Scheme::blends)
        return;
    if (!extremesCurrent)
        stateExtremes();
    const LargestVelocities fastest = extremes.fastest;
    if (automaticDt) {
        const TimeStepLimits limits{held.dx, held.dy, held.Re, !Scheme::blends};
        // Held in single precision like the fixed time step.
        held.dt = static_cast<float>(stableTimeStep(limits, fastest));
    }
    if constexpr (Scheme::blends) {
        const double dt = held.dt;
        blend = std::min(1.0, std::max(fastest.u * dt / held.dx, fastest.v * dt / held.dy));
    }
}

FlowSolver::FlowSolver(const Grid& grid, const SolverSettings& settings)
    : simGrid(copyForSolver(grid)), scheme(settings.convection), automaticDt(settings.automaticDt),
      maxSweeps(solver_constants::maxPressureSweeps), extremesWanted(settings.automaticDt || scheme == Convection::UpwindBlended)
{
    NX = simGrid->NX;
    NY = simGrid->NY;
    // The solver holds its scalars in single precision, as designed, and
    // widens them to double where a step uses them: the narrowing happens
    // here, once, so every step sees the same rounded values (dt = 0.003
    // becomes 0.0030000000260770321) and results stay bit for bit the same.
    held.dx = static_cast<float>(grid.dx);
    held.dy = static_cast<float>(grid.dy);
    held.dt = static_cast<float>(settings.dt);
    held.Re = static_cast<float>(settings.reynolds);
    held.tolerance = solver_constants::pressureTolerance;
    held.pressureRelaxation = solver_constants::pressureRelaxation;
    switch (scheme) {
    case Convection::Central:
        useScheme<CentralConvection>();
        break;
    case Convection::UpwindBlended:
        useScheme<BlendedConvection>();
        break;
    case Convection::Designed:
        useScheme<DesignedConvection>();
        break;
    case Convection::RungeKutta:
        break;
    }

    const size_t cells = static_cast<size_t>(NX > 0 ? NX : 0) * static_cast<size_t>(NY > 0 ? NY : 0);
    sweepDp.reset(new double[cells]());
    sweepDivergence.reset(new double[cells]());
    sweepOpen.reset(new unsigned char[cells]());
    predictionRow.reset(new double[NY > 0 ? NY : 0]());
    planFromFlags();
    fitsInPlace = cells <= solver_constants::inPlaceSweepMaxCells;
    solvePressureWith = &FlowSolver::solvePressureGaussSeidel;
    if (scheme == Convection::RungeKutta) {
        fixedDt = settings.dt;
        projectionMultigrid = settings.pressure == PressureSolver::Multigrid;
        projectionStep = std::make_unique<ProjectionStep>(*simGrid, static_cast<double>(settings.reynolds),
                                                          settings.pressure == PressureSolver::Multigrid,
                                                          settings.threads, solver_constants::divergenceLimit);
        stepWithScheme = &FlowSolver::stepProjection;
        setUpScalars(settings.reynolds);
        projectionStep->projectStartingField();
        return;
    }
    if (scheme != Convection::Designed) {
        const float dx = held.dx, dy = held.dy;
        const CellOperator op = balancedPressureOperator(simGrid->flags, NX, NY, 1.0 / sq(dx), 1.0 / sq(dy));
        multigrid = std::make_unique<MultigridPressure>(MultigridPressure::Operator{op.diag, op.west, op.south}, NX, NY);
        multigrid->setThreads(settings.threads);
        balancedMultigrid = settings.pressure == PressureSolver::Multigrid;
        balancedRhs.assign(cells, 0.0);
        solvePressureWith = &FlowSolver::solvePressureBalanced;
    } else if (settings.pressure == PressureSolver::Multigrid) {
        const float dx = held.dx, dy = held.dy;
        multigrid = std::make_unique<MultigridPressure>(sweepOpen.get(), NX, NY, 1.0 / sq(dx), 1.0 / sq(dy));
        multigrid->setThreads(settings.threads);
        solvePressureWith = &FlowSolver::solvePressureMultigrid;
    }

    SimGrid& g = *simGrid;
    applyWallConditions(g.u, g.v, g.dp);
    applyWallConditions(g.F, g.G, g.dp);
}

// dt, when automatic, from the Courant number alone: the viscous term is
// implicit, and the Runge-Kutta stages hold central convection stable well
// past the number chosen.
StepReport FlowSolver::stepProjection()
{
    if (automaticDt) {
        if (!extremesCurrent)
            stateExtremes();
    }
    const double dt = automaticDt ? std::min(courantTimeStep(held.dx, held.dy, extremes.fastest), buoyancyStepLimit)
                                  : fixedDt;
    held.dt = static_cast<float>(dt);
    const ProjectionReport projection = projectionStep->advance(dt);
    if (scalarTransport)
        scalarTransport->advance(dt);
    extremesCurrent = false;
    StepReport report;
    (projectionMultigrid ? report.cycles : report.sweeps) = projection.pressureIterations;
    report.converged = projection.converged;
    report.dt = dt;
    if (extremesWanted)
        stateExtremes();
    return report;
}

void FlowSolver::setUpScalars(double reynolds)
{
    SimGrid& g = *simGrid;
    buoyancyStepLimit = std::numeric_limits<double>::infinity();
    if (!g.scalars.heat && !g.scalars.dye)
        return;
    scalarTransport = std::make_unique<ScalarTransport>(g, projectionStep->boundaries(), reynolds);
    if (!g.scalars.heat || g.scalars.heatSettings.rayleigh == 0.0)
        return;
    buoyancy = std::make_unique<Buoyancy>(g, heatScalesFor(g.scalars, g.flags, NX, NY, g.dy, reynolds));
    buoyancyStepLimit = buoyancy->stepLimit();
    projectionStep->setBuoyancy(buoyancy.get());
}

bool FlowSolver::setDye(int32_t i, int32_t j, double c)
{
    if (i < 0 || j < 0 || i >= NX || j >= NY || !scalarTransport || !simGrid->scalars.dye ||
        !scalarTransport->solves(i, j))
        return false;
    simGrid->scalars.c[i][j] = c;
    return true;
}

void FlowSolver::capSweeps(int sweeps)
{
    maxSweeps = sweeps;
    if (projectionStep)
        projectionStep->capIterations(sweeps);
}

double FlowSolver::largestDivergence() const
{
    if (projectionStep)
        return largestSolvedDivergence(*simGrid, projectionStep->boundaries());
    return ::largestDivergence(*simGrid, held.dx, held.dy);
}

void FlowSolver::planFromFlags()
{
    const Array2D<int32_t>& flags = simGrid->flags;
    wallPlan = planWallConditions(flags, NX, NY);
    uFaceComputed.allocate(NX, NY);
    vFaceComputed.allocate(NX, NY);
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            if (i + 1 < NX)
                uFaceComputed[i][j] = faceComputed(flags[i][j], flags[i + 1][j]);
            if (j + 1 < NY)
                vFaceComputed[i][j] = faceComputed(flags[i][j], flags[i][j + 1]);
        }
    for (int32_t i = 1; i <= NX - 2; ++i)
        for (int32_t j = 1; j <= NY - 2; ++j)
            sweepOpen[static_cast<size_t>(j) * NX + i] = (flags[i][j] & CELL_OPEN_MASK) != 0;
}

std::unique_ptr<SimGrid> copyForSolver(const Grid& grid)
{
    auto sim = std::make_unique<SimGrid>();
    sim->NX = grid.NX;
    sim->NY = grid.NY;
    sim->aux1 = grid.aux1;
    sim->aux2 = grid.aux2;
    sim->dx = grid.dx;
    sim->dy = grid.dy;
    sim->outlines = grid.outlines;
    sim->emitters = grid.emitters;
    for (Array2D<double>* a : {&sim->u, &sim->v, &sim->p, &sim->F, &sim->G, &sim->pPrev, &sim->dp})
        a->allocate(grid.NX, grid.NY);
    sim->flags.allocate(grid.NX, grid.NY);
    sim->flags.copyFrom(grid.flags);
    sim->u.copyFrom(grid.u);
    sim->v.copyFrom(grid.v);
    sim->F.copyFrom(grid.u);
    sim->G.copyFrom(grid.v);
    sim->p.copyFrom(grid.p);
    copyScalars(grid.scalars, sim->scalars);
    return sim;
}

std::unique_ptr<FlowSolver> buildSolver(const Grid& grid, double Re, double dt)
{
    SolverSettings settings;
    settings.reynolds = Re;
    settings.dt = dt;
    settings.convection = Convection::Central;
    return std::make_unique<FlowSolver>(grid, settings);
}

void FlowSolver::restore(const SimGrid& saved)
{
    SimGrid& g = *simGrid;
    g.u.copyFrom(saved.u);
    g.v.copyFrom(saved.v);
    g.p.copyFrom(saved.p);
    g.F.copyFrom(saved.F);
    g.G.copyFrom(saved.G);
    g.pPrev.copyFrom(saved.pPrev);
    g.dp.copyFrom(saved.dp);
    if (!g.scalars.T.empty())
        g.scalars.T.copyFrom(saved.scalars.T);
    if (!g.scalars.c.empty())
        g.scalars.c.copyFrom(saved.scalars.c);
    if (projectionStep)
        projectionStep->reloadStageCorrections();
    // The restored fields are not the ones the last step scanned.
    extremesCurrent = false;
}

void FlowSolver::setThreads(int threads)
{
    if (multigrid)
        multigrid->setThreads(threads);
    if (projectionStep)
        projectionStep->setThreads(threads);
}

void FlowSolver::watchStopRequest(const StopRequest* request)
{
    stopRequest = request;
    if (multigrid)
        multigrid->watchStopRequest(request);
    if (projectionStep)
        projectionStep->watchStopRequest(request);
}

const FieldExtremes& FlowSolver::stateExtremes()
{
    if (!extremesCurrent || !finiteCurrent) {
        extremes = fieldExtremes(*simGrid);
        extremesCurrent = finiteCurrent = true;
    }
    return extremes;
}

void FlowSolver::applyStateWallConditions()
{
    extremesCurrent = false;
    SimGrid& g = *simGrid;
    applyWallConditions(g.u, g.v, g.p);
}

// Momentum predictor for x, on faces j = 1..NY-2, i = 1..NX-3:
//   visc  = (1/Re) ((u[i][j+1] - 2u[i][j] + u[i][j-1]) / dy^2 + (u[i+1][j] - 2u[i][j] + u[i-1][j]) / dx^2)
//   conv  = the scheme's d(uu)/dx and d(uv)/dy
//   grad  = (pPrev[i+1][j] - pPrev[i][j]) (1/dx)
//   F[i][j] += dt (visc - conv.x - conv.y - grad)
// Every term reads u, v and pPrev only, so the faces are visited in memory
// order.
template <class Scheme>
void FlowSolver::predictF()
{
    SimGrid& g = *simGrid;
    const ViscousFactors viscous = viscousFactors();
    const ConvectionFactors factors = convectionFactors();
    const double invDx = 1.0 / static_cast<double>(held.dx);
    const double step = held.dt;

    for (int32_t i = 1; i <= NX - 3; ++i) {
        const unsigned char* computed = uFaceComputed[i];
        const UFaceColumns columns{g.u[i - 1], g.u[i], g.u[i + 1], g.v[i], g.v[i + 1]};
        const double* uWest = columns.uWest;
        const double* uHere = columns.uHere;
        const double* uEast = columns.uEast;
        const double* pHere = g.pPrev[i];
        const double* pEast = g.pPrev[i + 1];
        double* F = g.F[i];
        // Every face of the column is evaluated first, in a loop free of
        // branches, and only the computed faces take their result.
        double* predicted = predictionRow.get();
        for (int32_t j = 1; j <= NY - 2; ++j) {
            const double visc = Scheme::Viscosity::at(uHere[j - 1], uHere[j], uHere[j + 1], uWest[j], uEast[j], viscous);
            const ConvectionTerms conv = Scheme::atUFace(columns, j, factors);
            const double grad = (pEast[j] - pHere[j]) * invDx;
            predicted[j] = F[j] + step * (visc - conv.x - conv.y - grad);
        }
        for (int32_t j = 1; j <= NY - 2; ++j)
            if (computed[j])
                F[j] = predicted[j];
    }
}

// Momentum predictor for y, on faces j = 1..NY-3, i = 1..NX-2:
//   visc  = (1/Re) ((v[i][j+1] - 2v[i][j] + v[i][j-1]) / dy^2 + (v[i+1][j] - 2v[i][j] + v[i-1][j]) / dx^2)
//   conv  = the scheme's d(uv)/dx and d(vv)/dy
//   grad  = (pPrev[i][j+1] - pPrev[i][j]) (1/dy)
//   G[i][j] += dt (visc - conv.y - conv.x - grad)
template <class Scheme>
void FlowSolver::predictG()
{
    SimGrid& g = *simGrid;
    const ViscousFactors viscous = viscousFactors();
    const ConvectionFactors factors = convectionFactors();
    const double invDy = 1.0 / static_cast<double>(held.dy);
    const double step = held.dt;

    for (int32_t i = 1; i <= NX - 2; ++i) {
        const unsigned char* computed = vFaceComputed[i];
        const VFaceColumns columns{g.v[i - 1], g.v[i], g.v[i + 1], g.u[i - 1], g.u[i]};
        const double* vWest = columns.vWest;
        const double* vHere = columns.vHere;
        const double* vEast = columns.vEast;
        const double* p = g.pPrev[i];
        double* G = g.G[i];
        double* predicted = predictionRow.get();
        for (int32_t j = 1; j <= NY - 3; ++j) {
            const double visc = Scheme::Viscosity::at(vHere[j - 1], vHere[j], vHere[j + 1], vWest[j], vEast[j], viscous);
            const ConvectionTerms conv = Scheme::atVFace(columns, j, factors);
            const double grad = (p[j + 1] - p[j]) * invDy;
            predicted[j] = G[j] + step * (visc - conv.y - conv.x - grad);
        }
        for (int32_t j = 1; j <= NY - 3; ++j)
            if (computed[j])
                G[j] = predicted[j];
    }
}

ConvectionFactors FlowSolver::convectionFactors() const
{
    return convectionFactorsFor(held.dx, held.dy, blend);
}

ViscousFactors FlowSolver::viscousFactors() const
{
    return viscousFactorsFor(held.Re, held.dx, held.dy);
}

// Gauss-Seidel sweeps for dt * laplace(dp) = div(F, G) in every open interior
// cell, no over-relaxation:
//   S = 2 (dt/dx^2 + dt/dy^2), cx = -dt/dx^2, cy = -dt/dy^2
//   r = (F[i][j] - F[i-1][j]) (1/dx) + (G[i][j] - G[i][j-1]) (1/dy)
//       + cx (dp[i+1][j] + dp[i-1][j]) + cy (dp[i][j+1] + dp[i][j-1])
//   dp[i][j] = -r (1/S)
// Rows j run from NY-2 down to 1, cells i from 1 up to NX-2, each reading its
// neighbours as they stand.
StepReport FlowSolver::solvePressureGaussSeidel()
{
    // The copies pay for themselves over several sweeps; a flow that needs
    // one or two a step is swept where it lies.
    const bool inPlace = sweepLayout == SweepLayout::InPlace
                         || (sweepLayout == SweepLayout::Chosen && fitsInPlace
                             && lastSweeps <= solver_constants::inPlaceMaxSweeps);
    const StepReport report = inPlace ? sweepPressureInPlace() : sweepPressureOnCopies();
    lastSweeps = report.sweeps;
    return report;
}

// The sweeps on a copy laid out row by row in j, so they run through memory
// in order; the divergence term, constant during the sweeps, is formed once
// with the same operations.
StepReport FlowSolver::sweepPressureOnCopies()
{
    const SweepCoefficients k = sweepCoefficients();
    double* dp = sweepDp.get();
    const double* divergence = sweepDivergence.get();
    const unsigned char* open = sweepOpen.get();
    gatherPressureArrays();

    const StepReport report = sweepUntilSettled([&] {
        double maxChange = 0.0;
        for (int32_t j = NY - 2; j >= 1; --j) {
            double* row = dp + static_cast<size_t>(j) * NX;
            const double* north = row + NX;
            const double* south = row - NX;
            const double* div = divergence + static_cast<size_t>(j) * NX;
            const unsigned char* rowOpen = open + static_cast<size_t>(j) * NX;
            // Each cell waits for its west neighbour; carrying that value in
            // a register keeps a store and reload off the chain.
            double west = row[0];
            for (int32_t i = 1; i <= NX - 2; ++i) {
                const double old = row[i];
                if (!rowOpen[i]) {
                    west = old;
                    continue;
                }
                const double r = div[i] + k.cx * (row[i + 1] + west) + k.cy * (north[i] + south[i]);
                const double updated = r * k.negInvS;
                row[i] = updated;
                west = updated;
                maxChange = std::max(maxChange, std::fabs(updated - old));
            }
        }
        return maxChange;
    });
    scatterPressureCorrection();
    return report;
}

// The row-by-row copies of dp and of the divergence of (F, G), the constant
// source term of the pressure iteration.
void FlowSolver::gatherPressureArrays()
{
    SimGrid& g = *simGrid;
    const double invDx = 1.0 / static_cast<double>(held.dx);
    const double invDy = 1.0 / static_cast<double>(held.dy);
    double* dp = sweepDp.get();
    double* divergence = sweepDivergence.get();
    for (int32_t i = 0; i < NX; ++i) {
        const double* column = g.dp[i];
        for (int32_t j = 0; j < NY; ++j)
            dp[static_cast<size_t>(j) * NX + i] = column[j];
    }
    for (int32_t i = 1; i <= NX - 2; ++i) {
        const double* F = g.F[i];
        const double* FWest = g.F[i - 1];
        const double* G = g.G[i];
        for (int32_t j = 1; j <= NY - 2; ++j)
            divergence[static_cast<size_t>(j) * NX + i] = (F[j] - FWest[j]) * invDx + (G[j] - G[j - 1]) * invDy;
    }
}

void FlowSolver::scatterPressureCorrection()
{
    SimGrid& g = *simGrid;
    const double* dp = sweepDp.get();
    for (int32_t i = 1; i <= NX - 2; ++i) {
        double* column = g.dp[i];
        for (int32_t j = 1; j <= NY - 2; ++j)
            column[j] = dp[static_cast<size_t>(j) * NX + i];
    }
}

// The same sweeps on the solver's own column-major arrays, forming the
// divergence afresh at every cell: on a grid that fits in the cache this
// saves the two copies, and the divergence is off the sweep's critical path.
// The operations, their order and so the results are those of the copies.
StepReport FlowSolver::sweepPressureInPlace()
{
    SimGrid& g = *simGrid;
    const SweepCoefficients k = sweepCoefficients();
    return sweepUntilSettled([&] {
        double maxChange = 0.0;
        for (int32_t j = NY - 2; j >= 1; --j) {
            const unsigned char* rowOpen = sweepOpen.get() + static_cast<size_t>(j) * NX;
            double west = g.dp[0][j];
            for (int32_t i = 1; i <= NX - 2; ++i) {
                double* dp = g.dp[i];
                const double old = dp[j];
                if (!rowOpen[i]) {
                    west = old;
                    continue;
                }
                const double div = (g.F[i][j] - g.F[i - 1][j]) * k.invDx + (g.G[i][j] - g.G[i][j - 1]) * k.invDy;
                const double r = div + k.cx * (g.dp[i + 1][j] + west) + k.cy * (dp[j + 1] + dp[j - 1]);
                const double updated = r * k.negInvS;
                dp[j] = updated;
                west = updated;
                maxChange = std::max(maxChange, std::fabs(updated - old));
            }
        }
        return maxChange;
    });
}

FlowSolver::SweepCoefficients FlowSolver::sweepCoefficients() const
{
    const double step = held.dt;
    const float dx = held.dx, dy = held.dy;
    const double S = 2 * (step / sq(dx) + step / sq(dy));
    // -r (1/S) and r (-(1/S)) are the same number: only the sign moves.
    return {-step / sq(dx), -step / sq(dy), -(1.0 / S), 1.0 / static_cast<double>(dx), 1.0 / static_cast<double>(dy)};
}

// Sweeps until the largest change of a sweep is at most the tolerance, or
// the sweep cap is reached with the iteration still moving.
template <class Sweep>
StepReport FlowSolver::sweepUntilSettled(Sweep&& sweepOnce)
{
    const double stopBelow = held.tolerance;
    StepReport report;
    double maxChange;
    do {
        if (stopRequested(stopRequest))
            break;
        maxChange = sweepOnce();
        ++report.sweeps;
        if (report.sweeps >= maxSweeps && stopBelow < maxChange) {
            report.converged = false;
            break;
        }
    } while (stopBelow < maxChange);
    return report;
}

// The central and blended steps' pressure equation with the mass balance of
// every open interior cell closed, by either solver, until no such cell
// would keep a divergence above the limit: what a cell keeps is dt times
// its residual.
StepReport FlowSolver::solvePressureBalanced()
{
    gatherPressureArrays();
    const double dt = held.dt;
    const double* divergence = sweepDivergence.get();
    const unsigned char* open = sweepOpen.get();
    for (size_t k = 0; k < balancedRhs.size(); ++k)
        balancedRhs[k] = open[k] ? -divergence[k] / dt : 0.0;
    const double limit = solver_constants::divergenceLimit / dt;
    StepReport report;
    if (balancedMultigrid)
        report.cycles = multigrid->solveTo(balancedRhs.data(), sweepDp.get(), limit,
                                           std::min(maxSweeps, solver_constants::maxMultigridCycles));
    else
        report.sweeps = multigrid->sweepTo(balancedRhs.data(), sweepDp.get(), limit, maxSweeps);
    report.converged = multigrid->lastResidual() <= limit;
    scatterPressureCorrection();
    return report;
}

// The same equation solved by conjugate gradients with a multigrid V-cycle
// as preconditioner (core/multigrid_pressure.h), until the largest residual
// is small against the largest source term.
StepReport FlowSolver::solvePressureMultigrid()
{
    gatherPressureArrays();
    StepReport report;
    report.cycles = multigrid->solve(sweepDivergence.get(), held.dt, sweepDp.get(), solver_constants::multigridRelativeTolerance,
                                     solver_constants::maxMultigridCycles);
    report.converged = report.cycles < solver_constants::maxMultigridCycles;
    scatterPressureCorrection();
    return report;
}

// Velocity correction with the gradient of dp, on the faces between two open
// cells; it reaches one face further east and north than the predictor:
//   v[i][j] = G[i][j] - (dt/dy) (dp[i][j+1] - dp[i][j]),  G[i][j] = v[i][j]
//   u[i][j] = F[i][j] - (dt/dx) (dp[i+1][j] - dp[i][j]),  F[i][j] = u[i][j]
void FlowSolver::correctVelocity()
{
    extremesCurrent = false;
    SimGrid& g = *simGrid;
    const double dtOverDy = static_cast<double>(held.dt) / static_cast<double>(held.dy);
    const double dtOverDx = static_cast<double>(held.dt) / static_cast<double>(held.dx);

    for (int32_t i = 1; i <= NX - 1; ++i) {
        const unsigned char* computed = vFaceComputed[i];
        const double* dp = g.dp[i];
        double* v = g.v[i];
        double* G = g.G[i];
        for (int32_t j = 1; j <= NY - 2; ++j) {
            if (!computed[j])
                continue;
            v[j] = G[j] - dtOverDy * (dp[j + 1] - dp[j]);
            G[j] = v[j];
        }
    }
    for (int32_t i = 1; i <= NX - 2; ++i) {
        const unsigned char* computed = uFaceComputed[i];
        const double* dpHere = g.dp[i];
        const double* dpEast = g.dp[i + 1];
        double* u = g.u[i];
        double* F = g.F[i];
        for (int32_t j = 1; j <= NY - 1; ++j) {
            if (!computed[j])
                continue;
            u[j] = F[j] - dtOverDx * (dpEast[j] - dpHere[j]);
            F[j] = u[j];
        }
    }
}

// p = relaxation * dp + pPrev; pPrev = p; dp = 0, in every cell. Each cell's
// three writes depend on that cell alone, so one pass does all three.
void FlowSolver::accumulatePressure()
{
    extremesCurrent = false;
    SimGrid& g = *simGrid;
    const double relaxation = held.pressureRelaxation;
    for (int32_t i = 0; i < NX; ++i)
        accumulateColumn(g.p[i], g.pPrev[i], g.dp[i], NY, relaxation);
}

// The last pass of a step, so the extremes it finds are those of the step's
// result; each column is folded in while it is still in the cache.
template <bool checkFinite>
void FlowSolver::accumulatePressureFindingExtremes()
{
    SimGrid& g = *simGrid;
    const double relaxation = held.pressureRelaxation;
    extremes = FieldExtremes{};
    for (int32_t i = 0; i < NX; ++i) {
        accumulateColumn(g.p[i], g.pPrev[i], g.dp[i], NY, relaxation);
        addColumnExtremes<checkFinite>(g.u[i], g.v[i], g.p[i], NY, extremes);
    }
    extremesCurrent = true;
    finiteCurrent = checkFinite;
}
