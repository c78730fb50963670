#include "core/multigrid_pressure.h"

#include <algorithm>
#include <cmath>

namespace {

// Every level is stored with a ring of empty cells round it, so the stencil
// loops need no bounds tests.
constexpr int32_t pad = 1;

double largestMagnitude(const std::vector<double>& a)
{
    double largest = 0.0;
    for (double value : a)
        largest = std::max(largest, std::fabs(value));
    return largest;
}

double dot(const std::vector<double>& a, const std::vector<double>& b)
{
    double sum = 0.0;
    for (size_t k = 0; k < a.size(); ++k)
        sum += a[k] * b[k];
    return sum;
}

// The coarsest level is solved by this many symmetric smoothing pairs; it
// holds a handful of cells.
constexpr int coarsestSmoothingPairs = 20;
constexpr int32_t coarsestCells = 16;

// Piecewise-constant interpolation leaves the coarse correction too small on
// smooth errors; enlarging it by half about halves the iterations (measured
// on a 255 x 255 cavity and a 255 x 100 channel). Any positive factor keeps
// the preconditioner symmetric.
constexpr double coarseScale = 1.5;

}  // namespace

namespace {

struct Storage {
    int32_t stride;
    size_t size;
};

Storage storageFor(int32_t nx, int32_t ny)
{
    const int32_t stride = nx + 2 * pad;
    return {stride, static_cast<size_t>(stride) * static_cast<size_t>(ny + 2 * pad)};
}

}  // namespace

MultigridPressure::MultigridPressure(const unsigned char* open, int32_t NX, int32_t NY, double ax, double ay)
{
    Level fine;
    fine.nx = std::max(NX, 1);
    fine.ny = std::max(NY, 1);
    const Storage s = storageFor(fine.nx, fine.ny);
    fine.diag.assign(s.size, 0.0);
    fine.west.assign(s.size, 0.0);
    fine.south.assign(s.size, 0.0);
    // Every open cell carries the full diagonal: a closed neighbour holds
    // dp = 0, so its coupling only drops out of the row.
    for (int32_t j = 0; j < NY; ++j)
        for (int32_t i = 0; i < NX; ++i) {
            if (!open[static_cast<size_t>(j) * NX + i])
                continue;
            const size_t c = static_cast<size_t>(j + pad) * s.stride + (i + pad);
            fine.diag[c] = 2 * (ax + ay);
            if (i > 0 && open[static_cast<size_t>(j) * NX + i - 1])
                fine.west[c] = ax;
            if (j > 0 && open[static_cast<size_t>(j - 1) * NX + i])
                fine.south[c] = ay;
        }
    levels.push_back(std::move(fine));
    while (static_cast<int64_t>(levels.back().nx) * levels.back().ny > coarsestCells) {
        Level coarse;
        coarsen(levels.back(), coarse);
        levels.push_back(std::move(coarse));
    }
    for (Level& L : levels) {
        const size_t size = L.diag.size();
        L.x.assign(size, 0.0);
        L.b.assign(size, 0.0);
        L.r.assign(size, 0.0);
    }
    const size_t fineSize = levels[0].diag.size();
    for (std::vector<double>* v : {&sol, &res, &dir, &prec, &prod})
        v->assign(fineSize, 0.0);
}

// Galerkin product with piecewise-constant interpolation: the coarse
// diagonal sums the children's diagonals less twice their inner couplings,
// a coarse coupling sums the fine couplings across the coarse face.
void MultigridPressure::coarsen(const Level& fine, Level& coarse) const
{
    coarse.nx = (fine.nx + 1) / 2;
    coarse.ny = (fine.ny + 1) / 2;
    const int32_t fs = fine.nx + 2 * pad;
    const Storage s = storageFor(coarse.nx, coarse.ny);
    coarse.diag.assign(s.size, 0.0);
    coarse.west.assign(s.size, 0.0);
    coarse.south.assign(s.size, 0.0);
    for (int32_t j = 0; j < fine.ny; ++j)
        for (int32_t i = 0; i < fine.nx; ++i) {
            const size_t f = static_cast<size_t>(j + pad) * fs + (i + pad);
            const size_t c = static_cast<size_t>(j / 2 + pad) * s.stride + (i / 2 + pad);
            coarse.diag[c] += fine.diag[f];
            if (i % 2 == 1)
                coarse.diag[c] -= 2 * fine.west[f];
            else
                coarse.west[c] += fine.west[f];
            if (j % 2 == 1)
                coarse.diag[c] -= 2 * fine.south[f];
            else
                coarse.south[c] += fine.south[f];
        }
}

// r = b - A x over the level; zero wherever the level has no unknown.
void MultigridPressure::residual(const Level& L, const double* x, const double* b, double* r) const
{
    const int32_t s = L.nx + 2 * pad;
    const double* diag = L.diag.data();
    const double* west = L.west.data();
    const double* south = L.south.data();
    for (int32_t j = pad; j < L.ny + pad; ++j) {
        const size_t row = static_cast<size_t>(j) * s;
        for (size_t c = row + pad; c < row + pad + static_cast<size_t>(L.nx); ++c)
            r[c] = b[c] - (diag[c] * x[c] - west[c] * x[c - 1] - west[c + 1] * x[c + 1] - south[c] * x[c - s]
                           - south[c + s] * x[c + s]);
    }
}

// One red-black Gauss-Seidel sweep, the colour with (i + j) % 2 ==
// colourFirst first; the reverse order after the coarse correction keeps the
// V-cycle symmetric, as conjugate gradients needs.
void MultigridPressure::smooth(Level& L, int colourFirst) const
{
    const int32_t s = L.nx + 2 * pad;
    const double* diag = L.diag.data();
    const double* west = L.west.data();
    const double* south = L.south.data();
    const double* b = L.b.data();
    double* x = L.x.data();
    for (int pass = 0; pass < 2; ++pass) {
        const int colour = (colourFirst + pass) % 2;
        for (int32_t j = 0; j < L.ny; ++j) {
            const size_t row = static_cast<size_t>(j + pad) * s + pad;
            for (int32_t i = (j + colour) % 2; i < L.nx; i += 2) {
                const size_t c = row + i;
                if (diag[c] == 0.0)
                    continue;
                x[c] = (b[c] + west[c] * x[c - 1] + west[c + 1] * x[c + 1] + south[c] * x[c - s]
                        + south[c + s] * x[c + s])
                       / diag[c];
            }
        }
    }
}

// One V-cycle from x = 0 on the given level for its right side b.
void MultigridPressure::vcycle(size_t level)
{
    Level& L = levels[level];
    std::fill(L.x.begin(), L.x.end(), 0.0);
    if (level + 1 == levels.size()) {
        for (int k = 0; k < coarsestSmoothingPairs; ++k) {
            smooth(L, 0);
            smooth(L, 1);
        }
        return;
    }
    smooth(L, 0);
    residual(L, L.x.data(), L.b.data(), L.r.data());
    Level& C = levels[level + 1];
    const int32_t fs = L.nx + 2 * pad;
    const int32_t cs = C.nx + 2 * pad;
    std::fill(C.b.begin(), C.b.end(), 0.0);
    for (int32_t j = 0; j < L.ny; ++j)
        for (int32_t i = 0; i < L.nx; ++i)
            C.b[static_cast<size_t>(j / 2 + pad) * cs + (i / 2 + pad)] += L.r[static_cast<size_t>(j + pad) * fs + (i + pad)];
    vcycle(level + 1);
    for (int32_t j = 0; j < L.ny; ++j)
        for (int32_t i = 0; i < L.nx; ++i) {
            const size_t f = static_cast<size_t>(j + pad) * fs + (i + pad);
            if (L.diag[f] != 0.0)
                L.x[f] += coarseScale * C.x[static_cast<size_t>(j / 2 + pad) * cs + (i / 2 + pad)];
        }
    smooth(L, 1);
}

void MultigridPressure::applyPreconditioner(const std::vector<double>& r, std::vector<double>& z)
{
    levels[0].b = r;
    vcycle(0);
    z = levels[0].x;
}

int MultigridPressure::solve(const double* divergence, double dt, double* dp, double relativeTolerance,
                             int maxIterations)
{
    Level& fine = levels[0];
    const int32_t NX = fine.nx;
    const int32_t s = NX + 2 * pad;
    std::vector<double>& x = sol;
    std::fill(x.begin(), x.end(), 0.0);
    std::vector<double> b(fine.diag.size(), 0.0);
    const std::vector<double> zero(fine.diag.size(), 0.0);
    for (int32_t j = 0; j < fine.ny; ++j)
        for (int32_t i = 0; i < NX; ++i) {
            const size_t c = static_cast<size_t>(j + pad) * s + (i + pad);
            const size_t k = static_cast<size_t>(j) * NX + i;
            if (fine.diag[c] != 0.0) {
                b[c] = -divergence[k] / dt;
                x[c] = dp[k];
            }
        }
    const double stopAt = relativeTolerance * largestMagnitude(b);
    residual(fine, x.data(), b.data(), res.data());
    residualMax = largestMagnitude(res);
    int iterations = 0;
    double rz = 0.0;
    while (residualMax > stopAt && iterations < maxIterations) {
        applyPreconditioner(res, prec);
        const double rzNew = dot(res, prec);
        if (iterations == 0)
            dir = prec;
        else
            for (size_t k = 0; k < dir.size(); ++k)
                dir[k] = prec[k] + (rzNew / rz) * dir[k];
        rz = rzNew;
        // prod = -A dir, as the residual of dir against a zero right side.
        residual(fine, dir.data(), zero.data(), prod.data());
        const double alpha = -rz / dot(dir, prod);
        for (size_t k = 0; k < x.size(); ++k) {
            x[k] += alpha * dir[k];
            res[k] += alpha * prod[k];
        }
        residualMax = largestMagnitude(res);
        ++iterations;
    }
    for (int32_t j = 0; j < fine.ny; ++j)
        for (int32_t i = 0; i < NX; ++i)
            dp[static_cast<size_t>(j) * NX + i] = x[static_cast<size_t>(j + pad) * s + (i + pad)];
    return iterations;
}
