// Bodies with exact outlines in the projection method: a ghost-cell
// immersed boundary in the spirit of Tseng & Ferziger (2003), with the
// linear extrapolation that keeps the viscous matrix symmetric (Gibou,
// Fedkiw, Cheng & Kang 2002), and walls on the cell faces for the mass.
//
// Cells: a cell whose four face centres all lie inside an outline is a
// no-slip wall cell (markCoveredCells); every other open cell keeps its
// pressure unknown, so mass is conserved in every cell the flow reaches.
// Faces: a face between two solved cells whose centre lies inside an outline
// is covered: its velocity is the body's (zero) and no pressure gradient
// acts across it. Every other unknown face whose Laplacian reaches a
// velocity inside the body takes, in that velocity's place, the ghost value
// that makes the straight line through the two vanish where the path between
// them meets the outline:
//   u_ghost = -u (1 - theta) / theta,
// theta the fraction of the way to the ghost at which the outline lies. The
// ghost folds into the diagonal, as the mirrors of core/face_boundaries.h
// do, and is the mirror itself (theta = 1/2) or the wall face (theta = 1)
// where an outline follows the cell faces: a body drawn along the cell faces
// gives exactly the plan of the same cells painted as walls.
//
// In the implicit viscous solve the ghost terms are taken whole (backward
// Euler) rather than halved: a face close to the outline has a large ghost
// weight, which Crank-Nicolson would leave undamped.
#pragma once

#include "core/cell_operator.h"
#include "core/face_boundaries.h"
#include "core/grid.h"

#include <memory>
#include <utility>
#include <vector>

// Makes a no-slip wall, at rest, of every open cell off the border whose
// four face centres lie inside (or on) one of grid's outlines. Returns the
// number of cells it made walls.
int markCoveredCells(Grid& grid);

// The cells off the border whose four face centres lie inside (or on)
// outline, whatever their type: those markCoveredCells makes walls.
std::vector<std::pair<int32_t, int32_t>> cellsCoveredBy(const Grid& grid, const BodyOutline& outline);

struct CoveredFace {
    bool isU;
    int32_t i, j;
};

struct ImmersedBoundary {
    FaceLaplacian implicitU, implicitV;  // the Laplacians the implicit solve uses
    std::vector<CoveredFace> covered;
    int ghostFaces = 0;                  // unknown faces with a ghost of the outline
};

// Adapts plan to grid's outlines (above); nullptr, plan untouched, when the
// grid has none.
std::unique_ptr<ImmersedBoundary> immerseOutlines(const Grid& grid, FaceBoundaries& plan);

// The pressure operator with a coupling across the unknown faces alone:
// no pressure gradient acts across a covered face.
CellOperator immersedPressureOperator(const Grid& grid, const FaceBoundaries& plan);

// Zeroes the velocity of the covered faces.
void zeroCoveredFaces(const ImmersedBoundary& body, Array2D<double>& u, Array2D<double>& v);
