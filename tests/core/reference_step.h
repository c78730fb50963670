// A literal time step: the loops in the order the scheme is written down,
// every coefficient formed where it is used. The solver's own step visits
// memory in its own order and must give the same bits.
#pragma once

#include "core/flow_solver.h"

int referenceStep(FlowSolver& solver);
