#include "core/projection_step.h"

#include "core/cell_flags.h"
#include "core/four_lanes.h"
#include "core/solver_constants.h"

#include <algorithm>
#include <cmath>

namespace {

// Spalart, Moser & Rogers (1991), their table of coefficients.
constexpr double stageGamma[] = {8.0 / 15.0, 5.0 / 12.0, 3.0 / 4.0};
constexpr double stageZeta[] = {0.0, -17.0 / 60.0, -5.0 / 12.0};

// The viscous solves stop once no residual is above this share of the
// largest right side. A steady flow is the same whatever it is (its right
// sides are 0); on the 130 x 130 cavity at Re 100, 400 and 1000 the steps
// to the steady state and the flow's Ghia deviations stayed those of 1e-6,
// with 2.1 iterations a solve instead of 3.3.
constexpr double viscousRelativeLimit = 1e-4;
constexpr int maxViscousIterations = 200;

double largestMagnitude(const Array2D<double>& a, int32_t NX, int32_t NY)
{
    FourLanes largest;
    for (int32_t i = 0; i < NX; ++i) {
        const double* column = a[i];
        forFourLanes(0, NY, [&](int32_t j, int lane) { largest.addLargest(lane, column[j]); });
    }
    return largest.largest();
}

}  // namespace

ProjectionStep::ProjectionStep(SimGrid& state, double reynolds, bool multigrid, int threads, double divergenceLimit)
    : g(state), NX(state.NX), NY(state.NY), invRe(1.0 / reynolds), divergenceLimit(divergenceLimit),
      maxIterations(multigrid ? solver_constants::maxMultigridCycles : solver_constants::maxPressureSweeps),
      useMultigrid(multigrid), plan(planFaceBoundaries(state)), immersed(immerseOutlines(state, plan)),
      viscousWork(state.NX, state.NY), uViscous(immersed ? immersed->implicitU : plan.u, true, viscousWork),
      vViscous(immersed ? immersed->implicitV : plan.v, false, viscousWork), reach(wideReachFor(plan, NX, NY))
{
    const CellOperator op = immersed ? immersedPressureOperator(state, plan) : pressureOperator(state, plan);
    pressure = std::make_unique<MultigridPressure>(MultigridPressure::Operator{op.diag, op.west, op.south}, NX, NY);
    pressure->setThreads(threads);
    for (Array2D<double>* a : {&convU, &convV, &convUPrev, &convVPrev, &rightSideU, &rightSideV, &incU, &incV})
        a->allocate(NX, NY);
    fluxes.allocate(NX, NY);
    const size_t cells = static_cast<size_t>(NX) * static_cast<size_t>(NY);
    rhs.assign(cells, 0.0);
    for (std::vector<double>& column : laplacianColumns)
        column.assign(static_cast<size_t>(std::max(NY, 0)), 0.0);
    for (std::vector<double>& start : stagePhi)
        start.assign(cells, 0.0);
    startPhi.assign(cells, 0.0);
    applyFixedFaces(state, plan, g.u, g.v);
    if (immersed)
        zeroCoveredFaces(*immersed, g.u, g.v);
}

ProjectionReport ProjectionStep::projectStartingField()
{
    moveOutflow(0.0);
    return project(1.0, startPhi, divergenceLimit, false);
}

ProjectionReport ProjectionStep::advance(double dt)
{
    ProjectionReport report;
    for (int k = 0; k < 3; ++k) {
        const Stage stage{stageGamma[k], stageZeta[k], 0.5 * (stageGamma[k] + stageZeta[k])};
        const double h = 2.0 * stage.alpha * dt;
        moveOutflow(h);
        computeConvection();
        predict(stage, dt);
        const double limit = k == 2 ? divergenceLimit : divergenceLimit * solver_constants::innerStageDivergenceFactor;
        const ProjectionReport stageReport = project(h, stagePhi[k], limit, true);
        report.pressureIterations += stageReport.pressureIterations;
        report.converged = report.converged && stageReport.converged;
    }
    keepStageCorrections();
    return report;
}

ProjectionReport ProjectionStep::project(double h, std::vector<double>& start, double limit, bool addToPressure)
{
    gatherDivergence(h);
    phi = start.data();
    const ProjectionReport report = solvePressure(h, start, limit);
    if (addToPressure)
        correct<true>(h);
    else
        correct<false>(h);
    return report;
}

// The convective condition on every outflow face, then one shift of the
// normal faces that balances the flux. h = 0 only balances.
void ProjectionStep::moveOutflow(double h)
{
    if (plan.outflow.empty())
        return;
    auto face = [&](bool isU, int32_t i, int32_t j) -> double& { return isU ? g.u[i][j] : g.v[i][j]; };
    double carrying = plan.inflowRate / plan.outflowLength;
    if (carrying <= 0.0) {
        double outward = 0.0;
        for (const OutflowFace& f : plan.outflow)
            outward += f.outward * face(f.isU, f.i, f.j) * f.length;
        carrying = std::max(0.0, outward / plan.outflowLength);
    }
    if (h > 0.0) {
        for (const OutflowFace& f : plan.outflow) {
            const double c = std::min(1.0, carrying * h / (f.isU ? g.dx : g.dy));
            double& q = face(f.isU, f.i, f.j);
            q -= c * (q - face(f.isU, f.insideI, f.insideJ));
        }
        for (const OutflowTangent& t : plan.outflowTangents) {
            const double c = std::min(1.0, carrying * h / (t.isU ? g.dy : g.dx));
            double& q = face(t.isU, t.i, t.j);
            q -= c * (q - face(t.isU, t.insideI, t.insideJ));
        }
    }
    double leaving = 0.0;
    for (const OutflowFace& f : plan.outflow)
        leaving += f.outward * face(f.isU, f.i, f.j) * f.length;
    const double shift = (plan.inflowRate - leaving) / plan.outflowLength;
    for (const OutflowFace& f : plan.outflow)
        face(f.isU, f.i, f.j) += f.outward * shift;
}

// N(u) = d(uu)/dx + d(uv)/dy at the u faces and d(uv)/dx + d(vv)/dy at the
// v faces, the consistent central fluxes, on the unknown faces.
void ProjectionStep::computeConvection()
{
    std::swap(convU, convUPrev);
    std::swap(convV, convVPrev);
    wideConvection(g.u, g.v, reach, plan, g.dx, g.dy, fluxes, convU, convV);
}

// The implicit viscous solve of the stage's velocity increment, added to u
// and v to give u*.
void ProjectionStep::predict(const Stage& stage, double dt)
{
    const double invDx = 1.0 / g.dx, invDy = 1.0 / g.dy;
    const double viscous = 2.0 * stage.alpha * invRe, gradient = 2.0 * stage.alpha;
    // The increment's right side, column by column in the laplacian arrays,
    // each column's laplacians formed just before.
    double* lapColumnU = laplacianColumns[0].data();
    double* lapColumnV = laplacianColumns[1].data();
    FourLanes largestU, largestV;
    for (int32_t i = 1; i <= NX - 2; ++i) {
        faceLaplacianColumn(plan.u, true, g.u, i, lapColumnU);
        faceLaplacianColumn(plan.v, false, g.v, i, lapColumnV);
        if (immersed)
            addGhostReachToColumns(*immersed, i, g.u, g.v, lapColumnU, lapColumnV);
        double* rhsU = rightSideU[i];
        double* rhsV = rightSideV[i];
        for (int32_t j = 1; j <= NY - 2; ++j) {
            rhsU[j] = plan.u.unknown[i][j]
                      * dt * (-stage.gamma * convU[i][j] - stage.zeta * convUPrev[i][j] + viscous * lapColumnU[j]
                              - gradient * (g.p[i + 1][j] - g.p[i][j]) * invDx);
            rhsV[j] = plan.v.unknown[i][j]
                      * dt * (-stage.gamma * convV[i][j] - stage.zeta * convVPrev[i][j] + viscous * lapColumnV[j]
                              - gradient * (g.p[i][j + 1] - g.p[i][j]) * invDy);
        }
        forFourLanes(1, NY - 1, [&](int32_t j, int lane) {
            largestU.addLargest(lane, rhsU[j]);
            largestV.addLargest(lane, rhsV[j]);
        });
    }
    double largestRhsU = largestU.largest(), largestRhsV = largestV.largest();
    // T is held through the step, so the stages' weights of the force sum to dt.
    if (buoyancy) {
        buoyancy->addTo(plan, 2.0 * stage.alpha * dt, rightSideU, rightSideV);
        largestRhsU = largestMagnitude(rightSideU, NX, NY);
        largestRhsV = largestMagnitude(rightSideV, NX, NY);
    }
    const double c = stage.alpha * dt * invRe;
    const double uLimit = viscousRelativeLimit * std::max(largestRhsU, 1e-300);
    const double vLimit = viscousRelativeLimit * std::max(largestRhsV, 1e-300);
    uViscous.solve(c, rightSideU, incU, uLimit, maxViscousIterations);
    vViscous.solve(c, rightSideV, incV, vLimit, maxViscousIterations);
    for (int32_t i = 1; i <= NX - 2; ++i)
        for (int32_t j = 1; j <= NY - 2; ++j) {
            g.u[i][j] += incU[i][j];
            g.v[i][j] += incV[i][j];
        }
}

void ProjectionStep::gatherDivergence(double h)
{
    const double invDx = 1.0 / g.dx, invDy = 1.0 / g.dy;
    for (int32_t j = 1; j <= NY - 2; ++j)
        for (int32_t i = 1; i <= NX - 2; ++i) {
            const size_t k = static_cast<size_t>(j) * NX + i;
            const double divergence = (g.u[i][j] - g.u[i - 1][j]) * invDx + (g.v[i][j] - g.v[i][j - 1]) * invDy;
            rhs[k] = plan.solved[i][j] ? -divergence / h : 0.0;
        }
}

// What a solved cell keeps of the divergence is h times its residual.
ProjectionReport ProjectionStep::solvePressure(double h, std::vector<double>& x, double divergence)
{
    ProjectionReport report;
    const double limit = divergence / h;
    report.pressureIterations = useMultigrid ? pressure->solveTo(rhs.data(), x.data(), limit, maxIterations)
                                             : pressure->sweepTo(rhs.data(), x.data(), limit, maxIterations);
    report.converged = pressure->lastResidual() <= limit;
    return report;
}

// u -= h grad phi on the unknown faces and, when addToPressure, p += phi in
// the solved cells, in one pass over phi.
template <bool addToPressure>
void ProjectionStep::correct(double h)
{
    const double hx = h / g.dx, hy = h / g.dy;
    auto at = [&](int32_t i, int32_t j) { return phi[static_cast<size_t>(j) * NX + i]; };
    for (int32_t i = 1; i <= NX - 2; ++i)
        for (int32_t j = 1; j <= NY - 2; ++j) {
            g.u[i][j] -= plan.u.unknown[i][j] * hx * (at(i + 1, j) - at(i, j));
            g.v[i][j] -= plan.v.unknown[i][j] * hy * (at(i, j + 1) - at(i, j));
            if constexpr (addToPressure)
                if (plan.solved[i][j])
                    g.p[i][j] += at(i, j);
        }
}

Array2D<double>& ProjectionStep::keptCorrection(int stage)
{
    Array2D<double>* kept[] = {&g.dp, &g.pPrev, &g.F};
    return *kept[stage];
}

void ProjectionStep::keepStageCorrections()
{
    for (int k = 0; k < 3; ++k) {
        Array2D<double>& kept = keptCorrection(k);
        for (int32_t i = 0; i < NX; ++i)
            for (int32_t j = 0; j < NY; ++j)
                kept[i][j] = stagePhi[k][static_cast<size_t>(j) * NX + i];
    }
}

void ProjectionStep::reloadStageCorrections()
{
    for (int k = 0; k < 3; ++k) {
        const Array2D<double>& kept = keptCorrection(k);
        for (int32_t i = 0; i < NX; ++i)
            for (int32_t j = 0; j < NY; ++j)
                stagePhi[k][static_cast<size_t>(j) * NX + i] = kept[i][j];
    }
}
