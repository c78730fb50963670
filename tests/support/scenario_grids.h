// Set-ups of any size for tests and benchmarks, the same everywhere they
// are used.
#pragma once

#include "core/grid.h"

// Inflow u = 1 on the west border, outflow on the east, no-slip walls on the
// south and north borders, and a no-slip plate four cells high a quarter of
// the way along.
void makeChannelScenario(Grid& g, int NX, int NY);

// No-slip walls on three sides and a lid moving east (u = 1) on the north
// border.
void makeCavityScenario(Grid& g, int NX, int NY);

// The lid-driven cavity of the accuracy checks, painted as the cavity
// example is: no-slip walls round an n x n grid, and moving-wall cells
// carrying u = 1 along the north border between the two side walls.
void makeLidCavity(Grid& g, int n);

// Inflow u = 1 on the west border, outflow on the east, walls of the given
// kind along the south and north borders, u = 1 everywhere to start with.
void makeOpenChannel(Grid& grid, int NX, int NY, int32_t wall);
