// The Boussinesq buoyancy of the projection method's momentum predictor:
// -B (T - T_ref) / dT g_hat per unit mass on every unknown face, T the mean
// of the face's two cells (core/grid_scalars.h gives B, dT, T_ref, g_hat).
#pragma once

#include "core/face_boundaries.h"
#include "core/grid.h"
#include "core/grid_scalars.h"

class Buoyancy {
public:
    Buoyancy(const SimGrid& state, const HeatScales& scales);

    // Adds weight times the force to the right sides of the u and v
    // increments, on the unknown faces.
    void addTo(const FaceBoundaries& plan, double weight, Array2D<double>& rightU, Array2D<double>& rightV) const;

    // The longest step over which the largest force moves a fluid at rest
    // by at most half a cell; infinite without buoyancy.
    double stepLimit() const;

private:
    const SimGrid& g;
    HeatScales scales;
};
