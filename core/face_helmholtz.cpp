#include "core/face_helmholtz.h"

#include "core/four_lanes.h"

#include <algorithm>
#include <cmath>

namespace {

// The Laplacian of q at the interior faces of column i without the source:
// along (q[-1] + q[+1]) + low q[below] + high q[above] + diag q.
template <bool alongI>
inline double laplaceAt(const FaceLaplacian& L, const Array2D<double>& q, int32_t i, int32_t j)
{
    const double* here = q[i];
    if constexpr (alongI)
        return L.along * (q[i - 1][j] + q[i + 1][j]) + L.low[i][j] * here[j - 1] + L.high[i][j] * here[j + 1]
               + L.diag[i][j] * here[j];
    else
        return L.along * (here[j - 1] + here[j + 1]) + L.low[i][j] * q[i - 1][j] + L.high[i][j] * q[i + 1][j]
               + L.diag[i][j] * here[j];
}

}  // namespace

void faceLaplacianColumn(const FaceLaplacian& L, bool alongI, const Array2D<double>& q, int32_t i, double* out)
{
    const int32_t NY = q.colCount();
    const double* unknown = L.unknown[i];
    const double* source = L.source[i];
    if (alongI)
        for (int32_t j = 1; j <= NY - 2; ++j)
            out[j] = unknown[j] * (laplaceAt<true>(L, q, i, j) + source[j]);
    else
        for (int32_t j = 1; j <= NY - 2; ++j)
            out[j] = unknown[j] * (laplaceAt<false>(L, q, i, j) + source[j]);
}

FaceHelmholtz::Workspace::Workspace(int32_t NX, int32_t NY)
{
    for (Array2D<double>* a : {&residual, &direction, &product, &inverseDiagonal})
        a->allocate(NX, NY);
}

FaceHelmholtz::FaceHelmholtz(const FaceLaplacian& L, bool alongI, Workspace& work)
    : laplacian(L), alongI(alongI), NX(work.residual.rowCount()), NY(work.residual.colCount()),
      residual(work.residual), direction(work.direction), product(work.product),
      inverseDiagonal(work.inverseDiagonal)
{
}

// Column i of out = (I - c L) q on the unknown faces, L without its
// source; adds q out over the column to sums.
void FaceHelmholtz::applyMatrixColumn(double c, const Array2D<double>& q, Array2D<double>& out, int32_t i,
                                      FourLanes& sums) const
{
    // The column's own lanes stay in registers; they are added to sums last.
    FourLanes column;
    const FaceLaplacian& L = laplacian;
    const double along = L.along;
    const double* unknown = L.unknown[i];
    const double* low = L.low[i];
    const double* high = L.high[i];
    const double* diag = L.diag[i];
    const double* here = q[i];
    const double* west = q[i - 1];
    const double* east = q[i + 1];
    double* o = out[i];
    if (alongI) {
        forFourLanes(1, NY - 1, [&](int32_t j, int lane) {
            const double lap = along * (west[j] + east[j]) + low[j] * here[j - 1] + high[j] * here[j + 1] + diag[j] * here[j];
            o[j] = unknown[j] * (here[j] - c * lap);
            column.lane[lane] += here[j] * o[j];
        });
    } else {
        forFourLanes(1, NY - 1, [&](int32_t j, int lane) {
            const double lap = along * (here[j - 1] + here[j + 1]) + low[j] * west[j] + high[j] * east[j] + diag[j] * here[j];
            o[j] = unknown[j] * (here[j] - c * lap);
            column.lane[lane] += here[j] * o[j];
        });
    }
    for (int k = 0; k < 4; ++k)
        sums.lane[k] += column.lane[k];
}

void FaceHelmholtz::updateDirectionColumn(double beta, int32_t i)
{
    double* d = direction[i];
    const double* res = residual[i];
    const double* inv = inverseDiagonal[i];
    for (int32_t j = 1; j <= NY - 2; ++j)
        d[j] = res[j] * inv[j] + beta * d[j];
}

// Column i of the start from x = 0: the residual r, the inverse of the
// preconditioner's diagonal and the first direction; adds the column's
// residual . direction to rz and its largest |residual| to largest.
void FaceHelmholtz::startColumn(double c, const Array2D<double>& r, int32_t i, FourLanes& rz, FourLanes& largest)
{
    const FaceLaplacian& L = laplacian;
    const double* unknown = L.unknown[i];
    const double* diag = L.diag[i];
    const double* ri = r[i];
    double* res = residual[i];
    double* d = direction[i];
    double* inv = inverseDiagonal[i];
    // Apart, so that the divisions go two at a time.
    for (int32_t j = 1; j <= NY - 2; ++j)
        inv[j] = unknown[j] / (1.0 - c * diag[j]);
    FourLanes columnRz = rz, columnLargest = largest;
    forFourLanes(1, NY - 1, [&](int32_t j, int lane) {
        const double value = unknown[j] * ri[j];
        res[j] = value;
        d[j] = value * inv[j];
        columnRz.lane[lane] += value * d[j];
        columnLargest.addLargest(lane, value);
    });
    rz = columnRz;
    largest = columnLargest;
}

// x += alpha direction (x = alpha direction on the first iteration) and
// residual -= alpha product over column i; adds the column's new
// residual . preconditioned residual to rz and its largest |residual| to
// largest.
template <bool first>
void FaceHelmholtz::updateColumn(double alpha, Array2D<double>& x, int32_t i, FourLanes& rz, FourLanes& largest)
{
    double* xi = x[i];
    double* res = residual[i];
    const double* d = direction[i];
    const double* p = product[i];
    const double* inv = inverseDiagonal[i];
    FourLanes columnRz = rz, columnLargest = largest;
    forFourLanes(1, NY - 1, [&](int32_t j, int lane) {
        if constexpr (first)
            xi[j] = alpha * d[j];
        else
            xi[j] = xi[j] + alpha * d[j];
        res[j] -= alpha * p[j];
        columnRz.lane[lane] += res[j] * res[j] * inv[j];
        columnLargest.addLargest(lane, res[j]);
    });
    rz = columnRz;
    largest = columnLargest;
}

// Conjugate gradients preconditioned by the diagonal 1 - c diag, from x = 0.
// Each direction is formed one column ahead of the product that reads it,
// in the same pass (the first one with the start itself): the same
// operations as two passes, in the same order. Sums and maxima run in four
// lanes (core/four_lanes.h). With a limit relative to r, as the stages set
// it, any nonzero r takes at least one iteration, so the first product is
// formed with the start.
int FaceHelmholtz::solve(double c, const Array2D<double>& r, Array2D<double>& x, double limit, int maxIterations)
{
    FourLanes rzLanes, largestLanes, productLanes;
    if (NX > 2)
        startColumn(c, r, 1, rzLanes, largestLanes);
    for (int32_t i = 1; i <= NX - 2; ++i) {
        if (i + 1 <= NX - 2)
            startColumn(c, r, i + 1, rzLanes, largestLanes);
        applyMatrixColumn(c, direction, product, i, productLanes);
    }
    double rz = rzLanes.sum(), largest = largestLanes.largest();
    int iterations = 0;
    auto goOn = [&] { return largest > limit && iterations < maxIterations && !stopRequested(stopRequest); };
    if (!goOn()) {
        for (int32_t i = 1; i <= NX - 2; ++i)
            std::fill(x[i] + 1, x[i] + NY - 1, 0.0);
        return 0;
    }
    while (true) {
        const double alpha = rz / productLanes.sum();
        FourLanes rzNewLanes, largestNewLanes;
        for (int32_t i = 1; i <= NX - 2; ++i)
            if (iterations == 0)
                updateColumn<true>(alpha, x, i, rzNewLanes, largestNewLanes);
            else
                updateColumn<false>(alpha, x, i, rzNewLanes, largestNewLanes);
        const double rzNew = rzNewLanes.sum();
        largest = largestNewLanes.largest();
        ++iterations;
        if (!goOn())
            return iterations;
        const double beta = rzNew / rz;
        rz = rzNew;
        productLanes = FourLanes{};
        if (NX > 2)
            updateDirectionColumn(beta, 1);
        for (int32_t i = 1; i <= NX - 2; ++i) {
            if (i + 1 <= NX - 2)
                updateDirectionColumn(beta, i + 1);
            applyMatrixColumn(c, direction, product, i, productLanes);
        }
    }
}
