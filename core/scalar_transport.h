// The transport phase of the projection method: temperature and dye at the
// cell centres, carried by the step's new face velocities and diffused.
//
// Convection: finite volumes, each face value reconstructed from its upwind
// cell with the monotonized-central limiter (van Leer 1977), advanced by the
// two-stage strong-stability-preserving Runge-Kutta scheme (Shu & Osher
// 1988). Each stage is a forward-Euler step that leaves every value between
// its neighbours' extremes when the flux leaving any cell in one sub-step is
// at most half its content; the step is cut into as many equal sub-steps as
// that needs (about four at the Courant number of 1.5 the method runs at).
// The fluxes are conservative, so a closed box keeps its total.
//
// Diffusion: implicit (backward Euler) once per step, (I - dt D lap) x = x*,
// solved by conjugate gradients; its matrix has a positive diagonal and
// negative neighbours, so it brings in no new extremes either, whatever dt.
// It is first order in time, which steady states do not see.
//
// Boundaries: a wall is closed to both quantities; a wall that holds its
// temperature sets T on the face it shares with the flow. An inflow cell
// and a fluid cell of the border ring bring in their value; an outflow
// cell takes the value of the cell beside it (nothing diffuses through it).
#pragma once

#include "core/face_boundaries.h"
#include "core/grid.h"
#include "core/grid_scalars.h"

#include <cstdint>
#include <vector>

class ScalarTransport {
public:
    // state: the grid the steps advance, its scalars already set up (inflow
    // dye bands are written here); plan: its face conditions.
    ScalarTransport(SimGrid& state, const FaceBoundaries& plan, double reynolds);

    void advance(double dt);
    // Sub-steps of convection the last step took.
    int lastSubsteps() const { return substeps; }

    // The cells and faces as the transport sees them.
    enum class CellKind : unsigned char { Solved, Closed, Held, Outflow };
    // Whether cell (i, j) takes its values from the steps: an open cell off
    // the border ring. Only such a cell's values may be set between steps;
    // the others' are read once, when the transport is built.
    bool solves(int32_t i, int32_t j) const { return kind[i][j] == static_cast<unsigned char>(CellKind::Solved); }

private:
    // How one quantity diffuses: per solved cell the coefficient of each
    // neighbour (0 where none), and the part fixed by held values, all per
    // unit dt; every coefficient of a cell that is not solved is 0.
    struct Diffusion {
        double D = 0.0;
        double relativeLimit = 0.0;                 // of the solve, see the .cpp
        Array2D<double> west, east, south, north;  // D / h^2 to a solved neighbour
        Array2D<double> diag;                       // their sum plus 2 D / h^2 per held face
        Array2D<double> fixedSource;                // sum of 2 D / h^2 times the held values
        Array2D<double> solved;                     // 1 on the solved cells
    };
    struct Carried {
        Array2D<double>* values;
        Diffusion diffusion;
    };

    void classifyCells();
    Diffusion diffusionFor(double D, const Array2D<double>& values, bool wallsHoldValues) const;
    int substepsFor(double dt) const;
    // out = -div(flux of q), per unit volume, on the solved cells.
    void convectionRate(const Array2D<double>& q, Array2D<double>& out);
    void convect(Array2D<double>& q, double dt);
    void diffuse(Array2D<double>& q, const Diffusion& d, double dt);
    void applyDiffusion(const Diffusion& d, const Array2D<double>& x, Array2D<double>& out) const;

    SimGrid& g;
    int32_t NX, NY;
    Array2D<unsigned char> kind;
    std::vector<Carried> carried;
    int substeps = 1;
    // Fluxes through the x faces (between i and i+1) and the y faces, the
    // stage's rate and values, and the solver's vectors.
    Array2D<double> fluxX, fluxY, rate, stage, residual, direction, product, increment, inverseDiagonal;
};

// The face value of the limited upwind reconstruction: the upwind value
// moved towards the downwind one by the monotonized-central slope, never
// past it and never when the three are not monotone.
double limitedFaceValue(double upwind, double farUpwind, double downwind);
