// The implicit viscous solve of the projection method: (I - c L) x = r on
// the unknown faces of one velocity component, L the face Laplacian of
// core/face_boundaries.h without its source, x zero on every other face.
// The matrix is symmetric and diagonally dominant, so conjugate gradients
// with its diagonal as preconditioner converge in a few iterations for any
// c = (share of dt) / Re the method uses.
#pragma once

#include "core/stop_request.h"

#include "core/array2d.h"
#include "core/face_boundaries.h"

#include <cstdint>

struct FourLanes;

// L q at the unknown faces of column i (1 <= i <= NX - 2), the mirrors'
// source included, 0 at its other interior faces: out[j] for j = 1 .. NY - 2.
// alongI: the component's own direction is i (u faces), else j (v faces).
void faceLaplacianColumn(const FaceLaplacian& L, bool alongI, const Array2D<double>& q, int32_t i, double* out);

class FaceHelmholtz {
public:
    // The iteration's arrays, NX x NY; solvers that never run at once may
    // share one, so fewer arrays pass through the cache.
    struct Workspace {
        Workspace(int32_t NX, int32_t NY);
        Array2D<double> residual, direction, product, inverseDiagonal;
    };

    // work must outlive the solver.
    FaceHelmholtz(const FaceLaplacian& L, bool alongI, Workspace& work);

    // Solves (I - c L) x = r from x = 0 until the largest residual is at
    // most limit; returns the iterations made.
    int solve(double c, const Array2D<double>& r, Array2D<double>& x, double limit, int maxIterations);
    // Iterations end early once request is raised (core/stop_request.h).
    void watchStopRequest(const StopRequest* request) { stopRequest = request; }

private:
    // Column i of out = (I - c L) q without the source, on the unknown
    // faces; adds q out over the column to sums.
    void applyMatrixColumn(double c, const Array2D<double>& q, Array2D<double>& out, int32_t i,
                           FourLanes& sums) const;
    // Column i of direction = residual / diagonal + beta direction.
    void updateDirectionColumn(double beta, int32_t i);
    // The start and the update of x and the residual, column by column.
    void startColumn(double c, const Array2D<double>& r, int32_t i, FourLanes& rz, FourLanes& largest);
    template <bool first>
    void updateColumn(double alpha, Array2D<double>& x, int32_t i, FourLanes& rz, FourLanes& largest);

    const FaceLaplacian& laplacian;
    bool alongI;
    int32_t NX, NY;
    Array2D<double>& residual;
    Array2D<double>& direction;
    Array2D<double>& product;
    Array2D<double>& inverseDiagonal;
    const StopRequest* stopRequest = nullptr;
};
