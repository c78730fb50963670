// The second-order method: central convection (fourth order away from
// walls and bodies, core/wide_convection.h) advanced by the three-stage
// Runge-Kutta scheme of Spalart, Moser & Rogers (1991) with the viscous term
// implicit (Crank-Nicolson within each stage), and a projection at the end
// of every stage that leaves every solved cell free of divergence to the
// pressure tolerance (ten times looser in the first two stages, whose
// leftover the next projection takes out). Walls, inflow and outflow are
// those of core/face_boundaries.h.
//
// Stage k of a step dt, with N(u) the convection terms and G p the gradient:
//   (I - a_k dt L) du = dt (g_k (-N(u)) + z_k (-N(u_prev)) + 2 a_k L(u) - 2 a_k G p)
//   u* = u + du
//   -lap phi = -div u* / (2 a_k dt),   u = u* - 2 a_k dt G phi,   p = p + phi
// g = 8/15, 5/12, 3/4; z = 0, -17/60, -5/12; a_k = (g_k + z_k)/2, so the
// stages span 8/15, 2/15 and 5/15 of the step. The term a_k dt L phi of the
// exact pressure update is left out (it is of the order of the splitting).
//
// The outflow carries each velocity out with the convective condition
// dq/dt + U dq/dn = 0 (Orlanski 1976, as used for example by Le, Moin &
// Kim 1997), U the mean outflow speed; its normal faces are then shifted
// alike so that what leaves equals what the inflow brings in, which is the
// condition for the pressure equation (zero gradient all round) to have a
// solution.
#pragma once

#include "core/buoyancy.h"
#include "core/face_boundaries.h"
#include "core/face_helmholtz.h"
#include "core/grid.h"
#include "core/immersed_boundary.h"
#include "core/multigrid_pressure.h"
#include "core/wide_convection.h"

#include <memory>

enum class PressureSolver;

struct ProjectionReport {
    int pressureIterations = 0;  // multigrid iterations or sweeps, summed over the stages
    bool converged = true;
};

class ProjectionStep {
public:
    // state holds the set-up velocities when this is built; it is the grid
    // the steps advance. divergenceLimit: the largest divergence a stage may
    // leave in any solved cell.
    ProjectionStep(SimGrid& state, double reynolds, bool multigrid, int threads, double divergenceLimit);

    // Removes the divergence of the starting field (p is not changed).
    ProjectionReport projectStartingField();
    ProjectionReport advance(double dt);
    // Caps the pressure iterations (sweeps or multigrid iterations) of a stage.
    void capIterations(int iterations) { maxIterations = iterations; }
    void setThreads(int threads) { pressure->setThreads(threads); }
    // The stages' iterations end early once request is raised.
    void watchStopRequest(const StopRequest* request)
    {
        pressure->watchStopRequest(request);
        uViscous.watchStopRequest(request);
        vViscous.watchStopRequest(request);
    }
    // The stages' pressure corrections, where the next step's iterations
    // start, are kept in the grid's dp, pPrev and F after every step, so a
    // saved state holds them; this takes them back after a restore.
    void reloadStageCorrections();

    const FaceBoundaries& boundaries() const { return plan; }
    const ImmersedBoundary* immersedBoundary() const { return immersed.get(); }
    // Adds the buoyancy to every stage's predictor from now on (nullptr:
    // none); it must outlive the steps.
    void setBuoyancy(const Buoyancy* force) { buoyancy = force; }

private:
    struct Stage {
        double gamma, zeta, alpha;
    };
    // The phases of one stage, in order.
    void moveOutflow(double h);
    void computeConvection();
    void predict(const Stage& stage, double dt);
    // Until no solved cell keeps a divergence above divergence.
    ProjectionReport solvePressure(double h, std::vector<double>& x, double divergence);
    template <bool addToPressure> void correct(double h);

    // start: the pressure correction to start the iteration from; limit:
    // the divergence the stage may leave; addToPressure: p takes the
    // correction too.
    ProjectionReport project(double h, std::vector<double>& start, double limit, bool addToPressure);
    void keepStageCorrections();
    Array2D<double>& keptCorrection(int stage);
    void gatherDivergence(double h);

    SimGrid& g;
    int32_t NX, NY;
    double invRe;
    double divergenceLimit;
    int maxIterations;
    bool useMultigrid;
    FaceBoundaries plan;
    std::unique_ptr<ImmersedBoundary> immersed;  // the outlines' part of plan; nullptr without outlines
    std::unique_ptr<MultigridPressure> pressure;
    FaceHelmholtz::Workspace viscousWork;  // shared: u is solved, then v
    FaceHelmholtz uViscous, vViscous;
    WideReach reach;            // where the convective fluxes are fourth order
    ConvectionFluxes fluxes;
    // Convection terms of this stage and the last, the viscous solves' right
    // sides, increments.
    Array2D<double> convU, convV, convUPrev, convVPrev, rightSideU, rightSideV, incU, incV;
    std::vector<double> rhs;  // row by row, NX x NY
    std::vector<double> laplacianColumns[2];  // one column of L u and of L v
    // Each stage's pressure correction of the last step, where the next
    // step's iteration starts: it changes little from step to step.
    std::vector<double> stagePhi[3];
    std::vector<double> startPhi;  // zero, for the starting field
    const double* phi = nullptr;   // the correction just solved
    const Buoyancy* buoyancy = nullptr;
};
