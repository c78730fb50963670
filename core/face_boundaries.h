// The boundary conditions of the projection method, with every wall on the
// faces of the cells: the no-slip value holds on the face a wall cell shares
// with an open cell, not at the wall cell's centre, so a cavity of N cells
// is N - 2 cells wide and a painted square of D cells is D cells wide.
//
// A pressure cell is solved when it is open (fluid or outflow) and off the
// border ring; the cells of the ring and every closed cell are boundary.
// Each face of a velocity component is then one of:
//   unknown   between two solved cells: the momentum equation is solved
//   outflow   between a solved cell and an outflow cell of the ring
//   fixed     between a solved cell and any other cell: zero through a wall,
//             the set-up value beside an inflow or a fluid cell of the ring
//   outside   between two cells that are not solved; where an unknown face
//             needs it across the flow it is the mirror image of that face
//             in the wall between them (below)
//
// The mirror image u' of an unknown face u across a wall face keeps the
// condition on that face: u' = 2 U - u for a no-slip wall (U = 0), a moving
// wall, an inflow or a fluid cell of the ring (U = the set-up value of the
// outside face), u' = u for a slip wall (no shear). Where the two cells of
// the outside face differ, no-slip wins over moving, moving over slip. An
// outside face in an outflow cell holds the value the outflow condition
// gives it.
#pragma once

#include "core/array2d.h"
#include "core/cell_operator.h"
#include "core/grid.h"

#include <cstdint>
#include <vector>

// The discrete Laplacian on one velocity component's faces with the mirror
// images folded in:
//   L q = along (q[-1] + q[+1]) + low q[below] + high q[above] + diag q + source
// where "along" runs in the component's own direction (i for u, j for v),
// "below" and "above" across it; low and high are 0 where that neighbour is
// a mirror image.
struct FaceLaplacian {
    double along = 0.0;        // 1/dx^2 for u, 1/dy^2 for v
    Array2D<double> unknown;   // 1 on the unknown faces, 0 elsewhere
    Array2D<double> low;       // coupling across, to j-1 for u and i-1 for v
    Array2D<double> high;      // coupling across, to j+1 for u and i+1 for v
    Array2D<double> diag;
    Array2D<double> source;
};

// A face whose normal velocity the outflow condition sets, with the face
// inside the domain it is extrapolated from; outward is +1 where the
// outflow leaves towards larger i or j.
struct OutflowFace {
    bool isU;  // a u face (east or west border), else a v face
    int32_t i, j;
    int32_t insideI, insideJ;
    double outward;
    double length;  // the face's length, dy for u faces, dx for v faces
};

// A face inside an outflow cell, across the flow: extrapolated like the
// normal faces.
struct OutflowTangent {
    bool isU;
    int32_t i, j;
    int32_t insideI, insideJ;
};

struct FaceBoundaries {
    FaceLaplacian u, v;
    Array2D<unsigned char> solved;  // 1 for a solved pressure cell
    std::vector<OutflowFace> outflow;
    std::vector<OutflowTangent> outflowTangents;
    double outflowLength = 0.0;  // summed over the outflow faces
    double inflowRate = 0.0;     // net volume flux into the solved cells through the fixed faces
};

// How an outside face across the flow mirrors its unknown neighbour.
struct Mirror {
    bool regular;  // not a mirror: the stored value is read
    double factor; // u' = factor u + 2 speed
    double speed;
};

// The mirror in the face between cells a and b (neither solved), whose
// set-up value is setUpValue.
Mirror mirrorBetween(int32_t a, int32_t b, double setUpValue);

// Plans the conditions from the set-up grid (flags and set-up velocities).
FaceBoundaries planFaceBoundaries(const Grid& setUp);

// Writes the values of the fixed faces (zero through walls, the set-up
// value elsewhere) into the velocity fields.
void applyFixedFaces(const Grid& setUp, const FaceBoundaries& plan, Array2D<double>& u, Array2D<double>& v);

// The pressure operator of the solved cells, row by row (NX x NY): the
// negative Laplacian with zero gradient at every other cell, since the
// velocity of every face of a solved cell is given there or set by the
// outflow condition before the projection.
CellOperator pressureOperator(const Grid& grid, const FaceBoundaries& plan);

// The largest |du/dx + dv/dy| over the solved cells.
double largestSolvedDivergence(const Grid& state, const FaceBoundaries& plan);
