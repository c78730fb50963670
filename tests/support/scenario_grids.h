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
