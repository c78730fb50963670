// The check after every step that tells a blown-up flow from a fast one,
// shared by the simulation window and kelvo-batch.
#pragma once

#include "core/field_extremes.h"
#include "core/flow_solver.h"
#include "core/grid.h"

#include <string>

// The largest speed a set-up gives: the largest |u| or |v| of the edited
// grid once the default velocities are written (inflow, moving walls and
// default velocities are all it holds), and at least 1.
double setUpSpeed(const Grid& edited);

// Some u, v or p is not finite, or some |u| or |v| exceeds a hundred times
// the set-up speed.
bool flowUnstable(const Grid& state, double setUpSpeed);
// The same from the fields' extremes, found by a step or by fieldExtremes.
bool flowUnstable(const FieldExtremes& extremes, double setUpSpeed);

// The time step to suggest after a blow-up: the rule of the automatic time
// step with the set-up speed in both directions.
double suggestedTimeStep(const Grid& edited, const SolverSettings& settings);

// "The flow became unstable at cycle N (t = T). Use a smaller Delta Time
// (about D or less for this grid) or tick Automatic."
std::string instabilityMessage(long long cycle, double time, double suggestedDt);

// The largest |du/dx + dv/dy| over every open cell of the interior
// (i = 1..NX-2, j = 1..NY-2): what the last step left of the velocity
// divergence. The four faces of such a cell are its mass balance whatever
// its neighbours are, so cells beside walls, inflows and obstacles count
// too; the border ring holds boundary cells, which are not counted.
double largestDivergence(const Grid& state);
// The same on cells dx x dy: the forward-Euler steps hold the spacing in
// single precision, and balance the cells as that spacing has them.
double largestDivergence(const Grid& state, double dx, double dy);
