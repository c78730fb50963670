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
}

void FaceHelmholtz::applyMatrix(double c, const Array2D<double>& q, Array2D<double>& out) const
{
    if (alongI)
        laplacianOnUnknowns<true>(laplacian, q, out, NX, NY, false);
    else
        laplacianOnUnknowns<false>(laplacian, q, out, NX, NY, false);
    forInteriorColumns(NX, [&](int32_t i) {
        const double* unknown = laplacian.unknown[i];
        const double* qi = q[i];
        double* o = out[i];
        for (int32_t j = 1; j <= NY - 2; ++j)
            o[j] = unknown[j] * qi[j] - c * o[j];
    });
}

// Conjugate gradients preconditioned by the diagonal 1 - c diag.
int FaceHelmholtz::solve(double c, const Array2D<double>& r, Array2D<double>& x, double limit, int maxIterations)
{
    const FaceLaplacian& L = laplacian;
    double rz = 0.0, largest = 0.0;
    forInteriorColumns(NX, [&](int32_t i) {
        for (int32_t j = 1; j <= NY - 2; ++j) {
            const double value = L.unknown[i][j] * r[i][j];
            x[i][j] = 0.0;
            residual[i][j] = value;
            direction[i][j] = value / (1.0 - c * L.diag[i][j]);
            rz += value * direction[i][j];
            largest = std::max(largest, std::fabs(value));
        }
    });
    int iterations = 0;
    while (largest > limit && iterations < maxIterations) {
        applyMatrix(c, direction, product);
        double dAd = 0.0;
        forInteriorColumns(NX, [&](int32_t i) {
            for (int32_t j = 1; j <= NY - 2; ++j)
                dAd += direction[i][j] * product[i][j];
        });
        const double alpha = rz / dAd;
        double rzNew = 0.0;
        largest = 0.0;
        forInteriorColumns(NX, [&](int32_t i) {
            double* xi = x[i];
            double* res = residual[i];
            const double* d = direction[i];
            const double* p = product[i];
            const double* diag = L.diag[i];
            for (int32_t j = 1; j <= NY - 2; ++j) {
                xi[j] += alpha * d[j];
                res[j] -= alpha * p[j];
                rzNew += res[j] * res[j] / (1.0 - c * diag[j]);
                largest = std::max(largest, std::fabs(res[j]));
            }
        });
        const double beta = rzNew / rz;
        rz = rzNew;
        forInteriorColumns(NX, [&](int32_t i) {
            double* d = direction[i];
            const double* res = residual[i];
            const double* diag = L.diag[i];
            for (int32_t j = 1; j <= NY - 2; ++j)
                d[j] = res[j] / (1.0 - c * diag[j]) + beta * d[j];
        });
        ++iterations;
    }
    return iterations;
}
