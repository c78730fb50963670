// Point probes: u, v and p at a point of the domain, interpolated bilinearly
// from where each is stored on the staggered grid.
//
// Domain units: x east, y north, origin at the grid's south-west corner;
// cell (i, j) spans x = i dx .. (i+1) dx, y = j dy .. (j+1) dy. So u[i][j]
// sits at ((i+1) dx, (j+1/2) dy), v[i][j] at ((i+1/2) dx, (j+1) dy) and
// p[i][j] at ((i+1/2) dx, (j+1/2) dy). Points beyond the outermost stored
// values take the nearest ones.
#pragma once

#include "core/grid.h"

struct ProbeValues {
    double u = 0.0;
    double v = 0.0;
    double p = 0.0;
};

ProbeValues sampleProbe(const Grid& grid, double x, double y);
