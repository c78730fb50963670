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

// L q at the unknown faces, the mirrors' source included; 0 elsewhere.
// alongI: the component's own direction is i (u faces), else j (v faces).
void applyFaceLaplacian(const FaceLaplacian& L, bool alongI, const Array2D<double>& q, Array2D<double>& out);

class FaceHelmholtz {
public:
    FaceHelmholtz(const FaceLaplacian& L, bool alongI, int32_t NX, int32_t NY);

    // Solves (I - c L) x = r from x = 0 until the largest residual is at
    // most limit; returns the iterations made.
    int solve(double c, const Array2D<double>& r, Array2D<double>& x, double limit, int maxIterations);
    // Iterations end early once request is raised (core/stop_request.h).
    void watchStopRequest(const StopRequest* request) { stopRequest = request; }

private:
    // Column i of out = (I - c L) q without the source, on the unknown
    // faces; returns the sum of q out over the column.
    double applyMatrixColumn(double c, const Array2D<double>& q, Array2D<double>& out, int32_t i) const;
    // Column i of direction = residual / diagonal + beta direction.
    void updateDirectionColumn(double beta, int32_t i);

    const FaceLaplacian& laplacian;
    bool alongI;
    int32_t NX, NY;
    Array2D<double> residual, direction, product, inverseDiagonal;
    const StopRequest* stopRequest = nullptr;
};
