// Running a solver until its flow stops changing, for the accuracy tests.
#pragma once

#include "core/flow_solver.h"

// Steps until no u or v changes by more than limit in a step (after the
// first); false when maxSteps ran out first.
bool runToSteadyState(FlowSolver& solver, double limit, int maxSteps);

// The default method (rk3, multigrid) at the given Reynolds number with
// --dt auto, on one thread.
SolverSettings projectionSettings(double reynolds);
