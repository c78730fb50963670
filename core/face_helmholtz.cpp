#include "core/face_helmholtz.h"

#include <algorithm>
#include <cmath>

namespace {

// Sums of one pass over the interior faces.
template <class Visit>
void forInteriorColumns(int32_t NX, Visit visit)
{
    for (int32_t i = 1; i <= NX - 2; ++i)
        visit(i);
}

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

template <bool alongI>
void laplacianOnUnknowns(const FaceLaplacian& L, const Array2D<double>& q, Array2D<double>& out, int32_t NX,
                         int32_t NY, bool withSource)
{
    forInteriorColumns(NX, [&](int32_t i) {
        const double* unknown = L.unknown[i];
        const double* source = L.source[i];
        double* o = out[i];
        for (int32_t j = 1; j <= NY - 2; ++j)
            o[j] = unknown[j] * (laplaceAt<alongI>(L, q, i, j) + (withSource ? source[j] : 0.0));
    });
}

}  // namespace

void applyFaceLaplacian(const FaceLaplacian& L, bool alongI, const Array2D<double>& q, Array2D<double>& out)
{
    const int32_t NX = q.rowCount(), NY = q.colCount();
    if (alongI)
        laplacianOnUnknowns<true>(L, q, out, NX, NY, true);
    else
        laplacianOnUnknowns<false>(L, q, out, NX, NY, true);
}

FaceHelmholtz::FaceHelmholtz(const FaceLaplacian& L, bool alongI, int32_t NX, int32_t NY)
    : laplacian(L), alongI(alongI), NX(NX), NY(NY)
{
    residual.allocate(NX, NY);
    direction.allocate(NX, NY);
    product.allocate(NX, NY);
    inverseDiagonal.allocate(NX, NY);
}

// Column i of out = (I - c L) q on the unknown faces, L without its
// source; returns the sum of q out over the column.
double FaceHelmholtz::applyMatrixColumn(double c, const Array2D<double>& q, Array2D<double>& out, int32_t i) const
{
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
    double sum = 0.0;
    if (alongI) {
        for (int32_t j = 1; j <= NY - 2; ++j) {
            const double lap = along * (west[j] + east[j]) + low[j] * here[j - 1] + high[j] * here[j + 1] + diag[j] * here[j];
            o[j] = unknown[j] * (here[j] - c * lap);
            sum += here[j] * o[j];
        }
    } else {
        for (int32_t j = 1; j <= NY - 2; ++j) {
            const double lap = along * (here[j - 1] + here[j + 1]) + low[j] * west[j] + high[j] * east[j] + diag[j] * here[j];
            o[j] = unknown[j] * (here[j] - c * lap);
            sum += here[j] * o[j];
        }
    }
    return sum;
}

void FaceHelmholtz::updateDirectionColumn(double beta, int32_t i)
{
    double* d = direction[i];
    const double* res = residual[i];
    const double* inv = inverseDiagonal[i];
    for (int32_t j = 1; j <= NY - 2; ++j)
        d[j] = res[j] * inv[j] + beta * d[j];
}

// Conjugate gradients preconditioned by the diagonal 1 - c diag. From the
// second iteration on, the new direction is formed one column ahead of the
// product that reads it, in the same pass: the same operations as two
// passes, in the same order.
int FaceHelmholtz::solve(double c, const Array2D<double>& r, Array2D<double>& x, double limit, int maxIterations)
{
    const FaceLaplacian& L = laplacian;
    double rz = 0.0, largest = 0.0;
    for (int32_t i = 1; i <= NX - 2; ++i) {
        const double* unknown = L.unknown[i];
        const double* diag = L.diag[i];
        const double* ri = r[i];
        double* xi = x[i];
        double* res = residual[i];
        double* d = direction[i];
        double* inv = inverseDiagonal[i];
        for (int32_t j = 1; j <= NY - 2; ++j) {
            const double value = unknown[j] * ri[j];
            inv[j] = unknown[j] / (1.0 - c * diag[j]);
            xi[j] = 0.0;
            res[j] = value;
            d[j] = value * inv[j];
            rz += value * d[j];
            largest = std::max(largest, std::fabs(value));
        }
    }
    int iterations = 0;
    double beta = 0.0;
    while (largest > limit && iterations < maxIterations && !stopRequested(stopRequest)) {
        const bool newDirection = iterations > 0;
        if (newDirection && NX > 2)
            updateDirectionColumn(beta, 1);
        double dProduct = 0.0;
        for (int32_t i = 1; i <= NX - 2; ++i) {
            if (newDirection && i + 1 <= NX - 2)
                updateDirectionColumn(beta, i + 1);
            dProduct += applyMatrixColumn(c, direction, product, i);
        }
        const double alpha = rz / dProduct;
        double rzNew = 0.0;
        largest = 0.0;
        for (int32_t i = 1; i <= NX - 2; ++i) {
            double* xi = x[i];
            double* res = residual[i];
            const double* d = direction[i];
            const double* p = product[i];
            const double* inv = inverseDiagonal[i];
            for (int32_t j = 1; j <= NY - 2; ++j) {
                xi[j] += alpha * d[j];
                res[j] -= alpha * p[j];
                rzNew += res[j] * res[j] * inv[j];
                largest = std::max(largest, std::fabs(res[j]));
            }
        }
        beta = rzNew / rz;
        rz = rzNew;
        ++iterations;
    }
    return iterations;
}
