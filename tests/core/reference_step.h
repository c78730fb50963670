// A literal time step: the loops in the order the scheme is written down,
// every coefficient formed where it is used. The solver's own step visits
// memory in its own order and must give the same bits.
#pragma once

#include "flow_solver.h"

int referenceStep(FlowSolver& solver);

// Test grids shared by the solver tests.
void makeChannel(Grid& g, int NX, int NY);       // inflow west, outflow east, no-slip south/north, a plate
void makeCavity(Grid& g, int NX, int NY);        // lid u = 1 on the north border, no-slip elsewhere
