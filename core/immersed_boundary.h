// Bodies with exact outlines in the projection method: a ghost-cell
// immersed boundary in the spirit of Tseng & Ferziger (2003), its ghosts
// extrapolated as Gibou, Fedkiw, Cheng & Kang (2002) do, and walls on the
// cell faces for the mass.
//
// Cells: a cell whose four faces all lie inside an outline is a no-slip
// wall cell (markCoveredCells); every other open cell keeps its pressure
// unknown, so mass is conserved in every cell the flow reaches. A face lies
// inside when its centre does, or its centre lies on an outline the face
// runs along; one that only touches an outline at its centre is outside.
// Faces: a face between two solved cells whose centre lies inside an outline
// is covered: its velocity is the body's (zero) and no pressure gradient
// acts across it. Every other unknown face whose Laplacian reaches a
// velocity inside the body takes, in that velocity's place, the ghost value
// of the quadratic that vanishes where the path between them meets the
// outline and passes through the face and the fluid face beyond it:
//   u_ghost = -2 u (1 - theta) / theta + u_beyond (1 - theta) / (1 + theta),
// theta the fraction of the way to the ghost at which the outline lies
// (the straight line, -u (1 - theta) / theta, where no fluid face lies
// beyond). The straight line's second difference misses the wall's
// curvature of the profile by a share of up to a half at the face next to
// the wall; the pressure, which balances that term there, then converged
// at first order only (at the front of the circle of Schäfer & Turek its
// rise was 3 % low at 20 cells per diameter). The ghost's part on u folds
// into the diagonal, as the mirrors of core/face_boundaries.h do; its part
// on u_beyond is added beside the Laplacian (addGhostReachToColumns). The mirror
// itself (theta = 1/2) and the wall face (theta = 1) are kept where an
// outline follows the cell faces: a body drawn along the cell faces gives
// exactly the plan of the same cells painted as walls.
//
// In the implicit viscous solve the ghost's diagonal is taken whole
// (backward Euler) rather than halved, and its part on u_beyond is left
// out, so the matrix stays symmetric: a face close to the outline has a
// large ghost weight, which Crank-Nicolson would leave undamped. A steady
// flow satisfies the explicit Laplacian, ghosts and all.
#pragma once

#include "core/cell_operator.h"
#include "core/face_boundaries.h"
#include "core/grid.h"

#include <memory>
#include <utility>
#include <vector>

// Makes a no-slip wall, at rest, of every open cell off the border whose
// four faces lie inside one of grid's outlines (above). Returns the
// number of cells it made walls.
int markCoveredCells(Grid& grid);

// The cells off the border whose four faces lie inside outline, whatever
// their type: those markCoveredCells makes walls.
std::vector<std::pair<int32_t, int32_t>> cellsCoveredBy(const Grid& grid, const BodyOutline& outline);

struct CoveredFace {
    bool isU;
    int32_t i, j;
};

// The part of a face's ghost that reads the fluid value beyond the face:
// weight times that value joins the face's Laplacian.
struct GhostReach {
    bool isU;
    int32_t i, j;
    int32_t beyondI, beyondJ;
    double weight;
};

struct ImmersedBoundary {
    FaceLaplacian implicitU, implicitV;  // the Laplacians the implicit solve uses
    std::vector<CoveredFace> covered;
    int ghostFaces = 0;                  // unknown faces with a ghost of the outline
    std::vector<GhostReach> reach;       // not in the Laplacians, by column: add with addGhostReachToColumns
};

// Adapts plan to grid's outlines (above); nullptr, plan untouched, when the
// grid has none.
std::unique_ptr<ImmersedBoundary> immerseOutlines(const Grid& grid, FaceBoundaries& plan);

// Covers the faces of plan that lie inside grid's outlines, as
// immerseOutlines does, without the ghosts: which faces stay unknown.
void coverOutlineFaces(const Grid& grid, FaceBoundaries& plan);

// The pressure operator with a coupling across the unknown faces alone:
// no pressure gradient acts across a covered face.
CellOperator immersedPressureOperator(const Grid& grid, const FaceBoundaries& plan);

// Zeroes the velocity of the covered faces.
void zeroCoveredFaces(const ImmersedBoundary& body, Array2D<double>& u, Array2D<double>& v);

// Adds the ghosts' terms on the fluid values beyond the faces of column i
// to lapColumnU and lapColumnV, the Laplacians of that column's u and v
// faces (faceLaplacianColumn's), indexed by j.
void addGhostReachToColumns(const ImmersedBoundary& body, int32_t i, const Array2D<double>& u,
                            const Array2D<double>& v, double* lapColumnU, double* lapColumnV);
