// The convection terms of the default method, in flux form: the momentum
// flux through every cell centre and cell corner, each face's term the
// difference of the fluxes on its two sides, so momentum only moves
// between faces.
//
// Near walls, bodies and the border a flux is the second-order central
// one (the average of two velocities, or of two squares). Where every cell
// within four of it is open with four unknown faces, it takes a
// fourth-order form instead, in the spirit of Morinishi, Lund, Vasilyev &
// Moin (1998): the velocities are interpolated with four points,
//   q = (-q[-3/2] + 9 q[-1/2] + 9 q[+1/2] - q[+3/2]) / 16,
// their product F is formed at the flux's place and its two neighbours
// along the direction the flux is differenced in, and the flux is
//   (26 F - F[-1] - F[+1]) / 24,
// so that between two such fluxes a face's term is the fourth-order
// difference (27 (F[+1/2] - F[-1/2]) - (F[+3/2] - F[-3/2])) / (24 h).
// The shed vortices of a circle at Re 100 need it: with second-order terms
// everywhere the largest lift of Schäfer & Turek's case 2D-2 was 9 % low at
// 20 cells per diameter, and a square drawn on the cell faces, with no
// outline to blame, gained as much lift from 10 to 20 and 30 cells per side
// as the circle did.
#pragma once

#include "core/array2d.h"
#include "core/face_boundaries.h"
#include "core/grid.h"

#include <vector>

// Cells (i, begin..end-1) of one column.
struct ColumnRun {
    int32_t i, begin, end;
};

// Where the fluxes take the fourth-order form: the centre of a cell, and
// the corner north-east of a cell (between u faces (i, j), (i, j+1) and v
// faces (i, j), (i+1, j)).
struct WideReach {
    Array2D<unsigned char> centre, corner;
    std::vector<ColumnRun> centreRuns, cornerRuns;
};

// From the faces plan leaves unknown (covered faces of outlines excluded).
WideReach wideReachFor(const FaceBoundaries& plan, int32_t NX, int32_t NY);
// From a grid as the default method plans it, outlines included.
WideReach wideReachFor(const Grid& grid);

// The fluxes at one place, each in the form reach gives it there, second
// order everywhere when reach is nullptr (i, j as in WideReach; the flux of
// u along x through the centre of cell i lies between u faces i - 1 and i).
double uFluxAlongX(const Array2D<double>& u, const WideReach* reach, int32_t i, int32_t j);
double vFluxAlongY(const Array2D<double>& v, const WideReach* reach, int32_t i, int32_t j);
double uFluxAlongY(const Array2D<double>& u, const Array2D<double>& v, const WideReach* reach, int32_t i, int32_t j);
double vFluxAlongX(const Array2D<double>& u, const Array2D<double>& v, const WideReach* reach, int32_t i, int32_t j);

// Work arrays of wideConvection, NX x NY each.
struct ConvectionFluxes {
    Array2D<double> uAlongX, vAlongY, uAlongY, vAlongX;
    void allocate(int32_t NX, int32_t NY);
};

// The terms d(uu)/dx + d(uv)/dy at every u face and d(uv)/dx + d(vv)/dy at
// every v face off the border, times the face's unknown coupling (zero at
// faces the momentum equation does not solve).
void wideConvection(const Array2D<double>& u, const Array2D<double>& v, const WideReach& reach,
                    const FaceBoundaries& plan, double dx, double dy, ConvectionFluxes& work,
                    Array2D<double>& convU, Array2D<double>& convV);
