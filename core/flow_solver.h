// FlowSolver: advances the incompressible flow of its SimGrid by one time
// step of a pressure-correction scheme (explicit momentum predictor F, G;
// Gauss-Seidel sweeps for the correction dp; velocity correction; relaxed
// accumulation of dp into p).
#pragma once

#include "core/grid.h"
#include "core/wall_conditions.h"

#include <cstdint>
#include <memory>

// What one step did in its pressure iteration.
struct StepReport {
    int sweeps = 0;          // Gauss-Seidel sweeps made
    bool converged = true;   // false when the sweep cap ended the iteration
};

class FlowSolver {
public:
    explicit FlowSolver(std::unique_ptr<SimGrid> grid);

    StepReport step();

    // The phases of step, in the order step runs them.
    void computeF();
    void computeG();
    StepReport solvePressure();
    void correctVelocity();
    void accumulatePressure();
    void applyWallConditions(Array2D<double>& U, Array2D<double>& V, Array2D<double>& P);

    std::unique_ptr<SimGrid> simGrid;  // the grid it advances; owned
    int32_t NX = 0;
    int32_t NY = 0;
    float dx = 0.0f;
    float dy = 0.0f;
    float tolerance = 0.0f;
    float dt = 0.0f;
    float pressureRelaxation = 0.0f;
    float Re = 0.0f;
    int maxSweeps;  // cap on the pressure sweeps of one step

private:
    // The flags never change during a solver's life, so everything derived
    // from them alone is found once, at construction.
    void planFromFlags();

    WallPlan wallPlan;               // the wall conditions' writes
    Array2D<unsigned char> uFaceComputed;  // 1 where a u face lies between two open cells, inflow excluded
    Array2D<unsigned char> vFaceComputed;  // the same for v faces

    // Working storage of the pressure sweeps, laid out row by row in j so the
    // sweep runs through memory in order; allocated once per solver.
    std::unique_ptr<double[]> sweepDp;
    std::unique_ptr<double[]> sweepDivergence;
    std::unique_ptr<unsigned char[]> sweepOpen;
    std::unique_ptr<double[]> predictionRow;  // one column of predicted F or G
};

// Deep-copies grid into a new SimGrid and applies the wall conditions to
// (u, v, dp) and (F, G, dp). The caller takes the first step.
std::unique_ptr<FlowSolver> buildSolver(const Grid& grid, int Re, double dt);
