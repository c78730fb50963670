// The time step that keeps the explicit predictor stable, and the fastest
// velocities it depends on.
#pragma once

#include "core/grid.h"

// The largest |u| and |v| anywhere in a grid's arrays.
struct LargestVelocities {
    double u = 0.0;
    double v = 0.0;
};
LargestVelocities largestVelocities(const Grid& grid);

// The limits a step must respect on a grid of cell size dx x dy.
struct TimeStepLimits {
    double dx;
    double dy;
    double reynolds;
    // Whether the bound 2 / (Re (|u|^2 + |v|^2)) applies: central
    // differences need it at high Reynolds numbers, the blended scheme's
    // donor-cell share damps what it guards against.
    bool centralBound;
};

// dt = 0.5 min(Re/2 / (1/dx^2 + 1/dy^2), dx/|u|max, dy/|v|max,
//              2 / (Re (|u|max^2 + |v|max^2))),
// leaving out every bound whose speed is zero.
double stableTimeStep(const TimeStepLimits& limits, const LargestVelocities& fastest);

// The projection method's automatic step: the Courant number of
// solver_constants::projectionCourant for the fastest u and v; a flow at
// rest takes the step of a speed of 1.
double courantTimeStep(double dx, double dy, const LargestVelocities& fastest);
