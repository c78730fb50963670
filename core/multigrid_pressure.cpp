#include "core/multigrid_pressure.h"

#include "core/four_lanes.h"

#include <algorithm>
#include <cmath>

namespace {

// Every level is stored with a ring of empty cells round it, so the stencil
// loops need no bounds tests.
constexpr int32_t pad = 1;

double largestMagnitude(const std::vector<double>& a)
{
    FourLanes largest;
    forFourLanes(size_t{0}, a.size(), [&](size_t k, int lane) { largest.addLargest(lane, a[k]); });
    return largest.largest();
}

// The five-point operator of a level, A x at a cell c of the padded rows
// (s cells a row).
struct FivePoint {
    const double* diag;
    const double* west;
    const double* south;
    int32_t s;

    FivePoint(int32_t nx, const std::vector<double>& d, const std::vector<double>& w, const std::vector<double>& so)
        : diag(d.data()), west(w.data()), south(so.data()), s(nx + 2 * pad)
    {
    }
    double at(const double* x, size_t c) const
    {
        return diag[c] * x[c] - west[c] * x[c - 1] - west[c + 1] * x[c + 1] - south[c] * x[c - s]
               - south[c + s] * x[c + s];
    }
};

// Red-black sweeps before and after the coarse correction on every level
// but the coarsest. On the 130 x 130 cavity at Re 1000, from rest to the
// steady state, two took the iterations of a step from 3.55 to 2.8 and
// the run a fifth less time than one; three (2.5 a step) took longer.
constexpr int smoothingSweeps = 2;

// The coarsest level is solved by this many symmetric smoothing pairs; it
// holds a handful of cells.
constexpr int coarsestSmoothingPairs = 20;
constexpr int32_t coarsestCells = 16;

// The Galerkin operator of piecewise-constant interpolation is twice the
// operator of the coarse cells themselves (each coarse face sums two fine
// couplings): its correction comes out half as large as the error it
// answers, and is doubled. On the 130 x 130 cavity at Re 1000, from rest
// to the steady state, the three solves of a projection step took 4.0
// iterations together with the bilinear interpolation doubled, against 6.7
// with piecewise-constant interpolation enlarged by half. Any positive
// factor keeps the preconditioner symmetric.
constexpr double coarseScale = 2.0;

// Bilinear weights of a cell-centred fine cell: 9/16 from its parent, 3/16
// from each of the two nearest neighbours of the parent, 1/16 from the one
// diagonally between them.
constexpr float parentWeight = 9.0f / 16.0f;
constexpr float sideWeight = 3.0f / 16.0f;
constexpr float cornerWeight = 1.0f / 16.0f;

// The coarse column (or row) next to the parent of fine column i, on the
// side of i within its parent: an even child lies in the lower half.
inline int32_t sideOf(int32_t i) { return i / 2 - 1 + 2 * (i & 1); }

// Rows per band. Fixed, so that sums over the bands come out the same
// whatever the threads; small enough that a 255-row level gives each of two
// threads several bands.
constexpr int32_t bandRows = 16;
// A level of fewer cells runs on the calling thread. A pass starts its
// threads afresh, about 25 us each: on two cores a 255 x 255 cavity (its
// padded finest level just above 65536 cells) ran a third slower on two
// threads than on one, a 512 x 256 one as fast, a 400 x 400 one a tenth
// faster and a 1024 x 512 one a quarter faster.
constexpr int64_t cellsWorthThreads = 131072;

int32_t bandCount(int32_t rows) { return (rows + bandRows - 1) / bandRows; }

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

// A finest level of NX x NY cells with no unknown yet.
MultigridPressure::Level MultigridPressure::emptyLevel(int32_t NX, int32_t NY)
{
    Level level;
    level.nx = std::max(NX, 1);
    level.ny = std::max(NY, 1);
    const Storage s = storageFor(level.nx, level.ny);
    level.diag.assign(s.size, 0.0);
    level.west.assign(s.size, 0.0);
    level.south.assign(s.size, 0.0);
    return level;
}

MultigridPressure::MultigridPressure(const unsigned char* open, int32_t NX, int32_t NY, double ax, double ay)
{
    Level fine = emptyLevel(NX, NY);
    const Storage s = storageFor(fine.nx, fine.ny);
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
    buildLevels(std::move(fine));
}

MultigridPressure::MultigridPressure(const Operator& op, int32_t NX, int32_t NY)
{
    Level fine = emptyLevel(NX, NY);
    const Storage s = storageFor(fine.nx, fine.ny);
    for (int32_t j = 0; j < NY; ++j)
        for (int32_t i = 0; i < NX; ++i) {
            const size_t k = static_cast<size_t>(j) * NX + i;
            const size_t c = static_cast<size_t>(j + pad) * s.stride + (i + pad);
            fine.diag[c] = op.diag[k];
            fine.west[c] = i > 0 ? op.west[k] : 0.0;
            fine.south[c] = j > 0 ? op.south[k] : 0.0;
        }
    coarseDiagonalsMayVanish = true;
    buildLevels(std::move(fine));
    findFloatingRegions();
}

void MultigridPressure::buildLevels(Level fine)
{
    levels.push_back(std::move(fine));
    while (static_cast<int64_t>(levels.back().nx) * levels.back().ny > coarsestCells) {
        Level coarse;
        coarsen(levels.back(), coarse);
        setInterpolationWeights(levels.back(), coarse);
        levels.push_back(std::move(coarse));
    }
    for (Level& L : levels) {
        const size_t size = L.diag.size();
        L.inverseDiag.assign(size, 0.0);
        for (size_t c = 0; c < size; ++c)
            if (L.diag[c] != 0.0)
                L.inverseDiag[c] = 1.0 / L.diag[c];
        L.x.assign(size, 0.0);
        L.b.assign(size, 0.0);
        L.r.assign(size, 0.0);
    }
    const size_t fineSize = levels[0].diag.size();
    for (std::vector<double>* v : {&sol, &res, &dir, &prec, &prod, &rhs})
        v->assign(fineSize, 0.0);
}

bool MultigridPressure::splitsIntoThreads(int32_t nx, int32_t ny) const
{
    return static_cast<int64_t>(nx) * ny >= cellsWorthThreads && parallel.threads() > 1;
}

template <class Work>
void MultigridPressure::forBands(int32_t nx, int32_t ny, Work&& work) const
{
    const int32_t bands = bandCount(ny);
    auto band = [&](int b) { work(b * bandRows, std::min(ny, (b + 1) * bandRows)); };
    if (!splitsIntoThreads(nx, ny)) {
        for (int b = 0; b < bands; ++b)
            band(b);
        return;
    }
    parallel.run(bands, band);
}

template <class Work>
void MultigridPressure::forFineRows(Work&& work) const
{
    const Level& fine = levels[0];
    forBands(fine.nx + 2 * pad, fine.ny + 2 * pad, work);
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
    if (!coarseDiagonalsMayVanish)
        return;
    // A floating region gathered into one coarse cell leaves it a diagonal
    // at the rounding level of its children's: no unknown is left there.
    std::vector<double> childDiagonals(coarse.diag.size(), 0.0);
    for (int32_t j = 0; j < fine.ny; ++j)
        for (int32_t i = 0; i < fine.nx; ++i)
            childDiagonals[static_cast<size_t>(j / 2 + pad) * s.stride + (i / 2 + pad)]
                += fine.diag[static_cast<size_t>(j + pad) * fs + (i + pad)];
    for (size_t c = 0; c < coarse.diag.size(); ++c)
        if (coarse.diag[c] <= 1e-10 * childDiagonals[c])
            coarse.diag[c] = 0.0;
}

void MultigridPressure::setInterpolationWeights(Level& fine, const Level& coarse)
{
    const int32_t fs = fine.nx + 2 * pad;
    const int32_t cs = coarse.nx + 2 * pad;
    for (std::vector<float>* w : {&fine.fromParent, &fine.fromSide, &fine.fromAbove, &fine.fromCorner})
        w->assign(fine.diag.size(), 0.0f);
    auto hasUnknown = [&](int32_t I, int32_t J) {
        return coarse.diag[static_cast<size_t>(J + pad) * cs + (I + pad)] != 0.0;
    };
    for (int32_t j = 0; j < fine.ny; ++j)
        for (int32_t i = 0; i < fine.nx; ++i) {
            const size_t f = static_cast<size_t>(j + pad) * fs + (i + pad);
            if (fine.diag[f] == 0.0)
                continue;
            const int32_t I = i / 2, J = j / 2, sideI = sideOf(i), sideJ = sideOf(j);
            // A neighbour with no unknown holds no correction: its share
            // goes to the parent, so a constant is still carried exactly.
            const float side = hasUnknown(sideI, J) ? sideWeight : 0.0f;
            const float above = hasUnknown(I, sideJ) ? sideWeight : 0.0f;
            const float corner = hasUnknown(sideI, sideJ) ? cornerWeight : 0.0f;
            fine.fromSide[f] = side;
            fine.fromAbove[f] = above;
            fine.fromCorner[f] = corner;
            fine.fromParent[f] = parentWeight + (sideWeight - side) + (sideWeight - above) + (cornerWeight - corner);
        }
}

// r = b - A x over the level; zero wherever the level has no unknown.
void MultigridPressure::residual(const Level& L, const double* x, const double* b, double* r) const
{
    const FivePoint A(L.nx, L.diag, L.west, L.south);
    forBands(L.nx, L.ny, [&](int32_t firstRow, int32_t endRow) {
        for (int32_t j = firstRow + pad; j < endRow + pad; ++j) {
            const size_t row = static_cast<size_t>(j) * A.s;
            for (size_t c = row + pad; c < row + pad + static_cast<size_t>(L.nx); ++c)
                r[c] = b[c] - A.at(x, c);
        }
    });
}

// r = b - A x after the V-cycle's sweeps before the coarse correction, each
// colour 0 first: a colour-1 cell was solved for last with its neighbours
// as they still are, so its residual is 0 but for rounding, and only the
// colour-0 cells are formed.
void MultigridPressure::smoothedResidual(Level& L) const
{
    const FivePoint A(L.nx, L.diag, L.west, L.south);
    const double* x = L.x.data();
    const double* b = L.b.data();
    double* r = L.r.data();
    forBands(L.nx, L.ny, [&](int32_t firstRow, int32_t endRow) {
        for (int32_t j = firstRow; j < endRow; ++j) {
            const size_t row = static_cast<size_t>(j + pad) * A.s + pad;
            for (int32_t i = j % 2; i < L.nx; i += 2)
                r[row + i] = b[row + i] - A.at(x, row + i);
            for (int32_t i = 1 - j % 2; i < L.nx; i += 2)
                r[row + i] = 0.0;
        }
    });
}

// The cells of one colour in row j of a level: each reads only cells of the
// other colour. The V-cycle multiplies by the inverse diagonal (a division
// takes several times as long); the plain sweeps divide, as they always did.
template <bool byInverse>
void MultigridPressure::smoothRow(Level& L, int32_t j, int colour) const
{
    const int32_t s = L.nx + 2 * pad;
    const double* diag = L.diag.data();
    const double* inverseDiag = L.inverseDiag.data();
    const double* west = L.west.data();
    const double* south = L.south.data();
    const double* b = L.b.data();
    double* x = L.x.data();
    const size_t row = static_cast<size_t>(j + pad) * s + pad;
    for (int32_t i = (j + colour) % 2; i < L.nx; i += 2) {
        const size_t c = row + i;
        if (diag[c] == 0.0)
            continue;
        const double sum = b[c] + west[c] * x[c - 1] + west[c + 1] * x[c + 1] + south[c] * x[c - s] + south[c + s] * x[c + s];
        x[c] = byInverse ? sum * inverseDiag[c] : sum / diag[c];
    }
}

// The first colour of a sweep from x = 0: its neighbours add nothing.
void MultigridPressure::smoothRowFromZero(Level& L, int32_t j, int colour) const
{
    const int32_t s = L.nx + 2 * pad;
    const double* diag = L.diag.data();
    const double* inverseDiag = L.inverseDiag.data();
    const double* b = L.b.data();
    double* x = L.x.data();
    const size_t row = static_cast<size_t>(j + pad) * s + pad;
    for (int32_t i = (j + colour) % 2; i < L.nx; i += 2) {
        const size_t c = row + i;
        if (diag[c] != 0.0)
            x[c] = b[c] * inverseDiag[c];
    }
}

// One red-black Gauss-Seidel sweep, the colour with (i + j) % 2 ==
// colourFirst first; the reverse order after the coarse correction keeps the
// V-cycle symmetric, as conjugate gradients needs. Within a colour the order
// does not matter, so on one thread the second colour follows one row behind
// the first, while the rows are still in the cache; the bands of a colour
// may run at once. fromZero: x is 0 before the sweep (the V-cycle's first).
template <bool byInverse>
void MultigridPressure::smooth(Level& L, int colourFirst, bool fromZero) const
{
    const int colourSecond = 1 - colourFirst;
    auto firstColourRow = [&](int32_t j) {
        if (fromZero)
            smoothRowFromZero(L, j, colourFirst);
        else
            smoothRow<byInverse>(L, j, colourFirst);
    };
    if (!splitsIntoThreads(L.nx, L.ny)) {
        for (int32_t j = 0; j < L.ny; ++j) {
            firstColourRow(j);
            if (j > 0)
                smoothRow<byInverse>(L, j - 1, colourSecond);
        }
        smoothRow<byInverse>(L, L.ny - 1, colourSecond);
        return;
    }
    forBands(L.nx, L.ny, [&](int32_t firstRow, int32_t endRow) {
        for (int32_t j = firstRow; j < endRow; ++j)
            firstColourRow(j);
    });
    forBands(L.nx, L.ny, [&](int32_t firstRow, int32_t endRow) {
        for (int32_t j = firstRow; j < endRow; ++j)
            smoothRow<byInverse>(L, j, colourSecond);
    });
}

// The coarse right side, the transpose of the interpolation: coarse row J
// gathers from its two rows of children (parent and side weights) and from
// the fine rows just outside them, whose nearer coarse row it is (above and
// corner weights), in the order of the fine rows; a band of coarse rows
// writes only its own rows.
void MultigridPressure::restrictResidual(const Level& L, Level& C) const
{
    const int32_t cs = C.nx + 2 * pad;
    forBands(C.nx, C.ny, [&](int32_t firstRow, int32_t endRow) {
        std::fill(C.b.begin() + static_cast<size_t>(firstRow + pad) * cs,
                  C.b.begin() + static_cast<size_t>(endRow + pad) * cs, 0.0);
        for (int32_t J = firstRow; J < endRow; ++J) {
            double* out = C.b.data() + static_cast<size_t>(J + pad) * cs + pad;
            if (2 * J - 1 >= 0)
                restrictRow(L, C.nx, 2 * J - 1, L.fromAbove, L.fromCorner, out);
            restrictRow(L, C.nx, 2 * J, L.fromParent, L.fromSide, out);
            if (2 * J + 1 < L.ny)
                restrictRow(L, C.nx, 2 * J + 1, L.fromParent, L.fromSide, out);
            if (2 * J + 2 < L.ny)
                restrictRow(L, C.nx, 2 * J + 2, L.fromAbove, L.fromCorner, out);
        }
    });
}

// Each coarse cell I of the row takes its two children in fine row j by
// near and the two fine cells either side of them by side. Past the last
// child the reads fall on the ring of empty cells (or, for an odd row
// length, the first cell of the next row's ring), whose weights and
// residuals are 0.
void MultigridPressure::restrictRow(const Level& L, int32_t coarseCells, int32_t j, const std::vector<float>& near,
                                    const std::vector<float>& side, double* out)
{
    const size_t row = static_cast<size_t>(j + pad) * (L.nx + 2 * pad) + pad;
    const double* r = L.r.data() + row;
    const float* byNear = near.data() + row;
    const float* bySide = side.data() + row;
    for (int32_t I = 0; I < coarseCells; ++I) {
        const int32_t i = 2 * I;
        out[I] += (byNear[i] * r[i] + byNear[i + 1] * r[i + 1]) + (bySide[i - 1] * r[i - 1] + bySide[i + 2] * r[i + 2]);
    }
}

// Adds the coarse correction, interpolated, to every fine cell; the weights
// of a cell with no unknown are 0, so it keeps its 0.
void MultigridPressure::prolongCorrection(Level& L, const Level& C) const
{
    const int32_t fs = L.nx + 2 * pad;
    const int32_t cs = C.nx + 2 * pad;
    forBands(L.nx, L.ny, [&](int32_t firstRow, int32_t endRow) {
        for (int32_t j = firstRow; j < endRow; ++j) {
            const size_t row = static_cast<size_t>(j + pad) * fs + pad;
            const double* parentRow = C.x.data() + static_cast<size_t>(j / 2 + pad) * cs + pad;
            const double* sideRow = C.x.data() + static_cast<size_t>(sideOf(j) + pad) * cs + pad;
            const float* fromParent = L.fromParent.data() + row;
            const float* fromSide = L.fromSide.data() + row;
            const float* fromAbove = L.fromAbove.data() + row;
            const float* fromCorner = L.fromCorner.data() + row;
            double* x = L.x.data() + row;
            for (int32_t i = 0; i < L.nx; ++i) {
                const int32_t I = i / 2, sideI = sideOf(i);
                x[i] += coarseScale * (fromParent[i] * parentRow[I] + fromSide[i] * parentRow[sideI]
                                       + fromAbove[i] * sideRow[I] + fromCorner[i] * sideRow[sideI]);
            }
        }
    });
}

// One V-cycle from x = 0 on the given level for its right side b.
void MultigridPressure::vcycle(size_t level)
{
    Level& L = levels[level];
    std::fill(L.x.begin(), L.x.end(), 0.0);
    if (level + 1 == levels.size()) {
        for (int k = 0; k < coarsestSmoothingPairs; ++k) {
            smooth<true>(L, 0, k == 0);
            smooth<true>(L, 1, false);
        }
        return;
    }
    smooth<true>(L, 0, true);
    for (int k = 1; k < smoothingSweeps; ++k)
        smooth<true>(L, 0, false);
    smoothedResidual(L);
    Level& C = levels[level + 1];
    restrictResidual(L, C);
    vcycle(level + 1);
    prolongCorrection(L, C);
    for (int k = 0; k < smoothingSweeps; ++k)
        smooth<true>(L, 1, false);
}

// z = M r; r is lent to the finest level as its right side and given back.
void MultigridPressure::applyPreconditioner(std::vector<double>& r, std::vector<double>& z)
{
    levels[0].b.swap(r);
    vcycle(0);
    levels[0].b.swap(r);
    z.swap(levels[0].x);
}

// Sums band by band, each band's in four lanes, the bands added in order.
double MultigridPressure::dot(const std::vector<double>& a, const std::vector<double>& b) const
{
    const int32_t stride = levels[0].nx + 2 * pad;
    std::vector<double> bandSums(bandCount(levels[0].ny + 2 * pad), 0.0);
    forFineRows([&](int32_t firstRow, int32_t endRow) {
        FourLanes sums;
        forFourLanes(static_cast<size_t>(firstRow) * stride, static_cast<size_t>(endRow) * stride,
                     [&](size_t k, int lane) { sums.lane[lane] += a[k] * b[k]; });
        bandSums[firstRow / bandRows] = sums.sum();
    });
    return sumInOrder(bandSums);
}

// out = -A d on the finest level, and the dot product of d and out, summed
// as dot() sums.
double MultigridPressure::negatedProductDot(const std::vector<double>& d, std::vector<double>& out) const
{
    const Level& fine = levels[0];
    const FivePoint A(fine.nx, fine.diag, fine.west, fine.south);
    const double* x = d.data();
    std::vector<double> bandSums(bandCount(fine.ny + 2 * pad), 0.0);
    forFineRows([&](int32_t firstRow, int32_t endRow) {
        FourLanes sums;
        for (int32_t j = std::max(firstRow, pad); j < std::min(endRow, fine.ny + pad); ++j) {
            const size_t row = static_cast<size_t>(j) * A.s + pad;
            forFourLanes(row, row + static_cast<size_t>(fine.nx), [&](size_t c, int lane) {
                out[c] = -A.at(x, c);
                sums.lane[lane] += x[c] * out[c];
            });
        }
        bandSums[firstRow / bandRows] = sums.sum();
    });
    return sumInOrder(bandSums);
}

double MultigridPressure::sumInOrder(const std::vector<double>& parts)
{
    double sum = 0.0;
    for (double part : parts)
        sum += part;
    return sum;
}

int MultigridPressure::solve(const double* divergence, double dt, double* dp, double relativeTolerance,
                             int maxIterations)
{
    Level& fine = levels[0];
    const int32_t NX = fine.nx;
    const int32_t s = NX + 2 * pad;
    std::vector<double>& x = sol;
    std::vector<double>& b = rhs;
    forBands(NX, fine.ny, [&](int32_t firstRow, int32_t endRow) {
        for (int32_t j = firstRow; j < endRow; ++j)
            for (int32_t i = 0; i < NX; ++i) {
                const size_t c = static_cast<size_t>(j + pad) * s + (i + pad);
                const size_t k = static_cast<size_t>(j) * NX + i;
                if (fine.diag[c] != 0.0) {
                    b[c] = -divergence[k] / dt;
                    x[c] = dp[k];
                }
            }
    });
    const int iterations = conjugateGradients(relativeTolerance * largestMagnitude(b), maxIterations);
    storeSolution(dp);
    return iterations;
}

int MultigridPressure::conjugateGradients(double stopAt, int maxIterations)
{
    Level& fine = levels[0];
    const int32_t s = fine.nx + 2 * pad;
    std::vector<double>& x = sol;
    std::vector<double>& b = rhs;
    residual(fine, x.data(), b.data(), res.data());
    residualMax = largestMagnitude(res);
    int iterations = 0;
    double rz = 0.0;
    // The largest |res| of each band; the largest of them is exact in any order.
    std::vector<double> bandLargest(bandCount(fine.ny + 2 * pad), 0.0);
    while (residualMax > stopAt && iterations < maxIterations && !stopRequested(stopRequest)) {
        // In a floating region the preconditioned residual may carry a
        // constant; A ignores it, and the solution's mean is taken out last.
        applyPreconditioner(res, prec);
        const double rzNew = dot(res, prec);
        if (iterations == 0)
            dir.swap(prec);
        else
            forFineRows([&](int32_t firstRow, int32_t endRow) {
                for (size_t k = static_cast<size_t>(firstRow) * s; k < static_cast<size_t>(endRow) * s; ++k)
                    dir[k] = prec[k] + (rzNew / rz) * dir[k];
            });
        rz = rzNew;
        const double alpha = -rz / negatedProductDot(dir, prod);
        forFineRows([&](int32_t firstRow, int32_t endRow) {
            FourLanes largest;
            forFourLanes(static_cast<size_t>(firstRow) * s, static_cast<size_t>(endRow) * s, [&](size_t k, int lane) {
                x[k] += alpha * dir[k];
                res[k] += alpha * prod[k];
                largest.addLargest(lane, res[k]);
            });
            bandLargest[firstRow / bandRows] = largest.largest();
        });
        residualMax = largestMagnitude(bandLargest);
        ++iterations;
    }
    return iterations;
}

void MultigridPressure::loadSystem(const double* b, const double* x)
{
    const Level& fine = levels[0];
    const int32_t NX = fine.nx;
    const int32_t s = NX + 2 * pad;
    for (int32_t j = 0; j < fine.ny; ++j)
        for (int32_t i = 0; i < NX; ++i) {
            const size_t c = static_cast<size_t>(j + pad) * s + (i + pad);
            const size_t k = static_cast<size_t>(j) * NX + i;
            const bool unknown = fine.diag[c] != 0.0;
            rhs[c] = unknown ? b[k] : 0.0;
            sol[c] = unknown ? x[k] : 0.0;
        }
    // A closed region's right side must sum to zero to have a solution;
    // what remains is rounding, or an inflow with nowhere to go.
    removeFloatingMeans(rhs);
}

void MultigridPressure::storeSolution(double* x) const
{
    const Level& fine = levels[0];
    const int32_t NX = fine.nx;
    const int32_t s = NX + 2 * pad;
    forBands(NX, fine.ny, [&](int32_t firstRow, int32_t endRow) {
        for (int32_t j = firstRow; j < endRow; ++j)
            for (int32_t i = 0; i < NX; ++i)
                x[static_cast<size_t>(j) * NX + i] = sol[static_cast<size_t>(j + pad) * s + (i + pad)];
    });
}

int MultigridPressure::solveTo(const double* b, double* x, double residualLimit, int maxIterations)
{
    loadSystem(b, x);
    const int iterations = conjugateGradients(residualLimit, maxIterations);
    removeFloatingMeans(sol);
    storeSolution(x);
    return iterations;
}

int MultigridPressure::sweepTo(const double* b, double* x, double residualLimit, int maxSweeps)
{
    loadSystem(b, x);
    Level& fine = levels[0];
    fine.x.swap(sol);
    fine.b.swap(rhs);
    int sweeps = 0;
    residual(fine, fine.x.data(), fine.b.data(), fine.r.data());
    residualMax = largestMagnitude(fine.r);
    while (residualMax > residualLimit && sweeps < maxSweeps && !stopRequested(stopRequest)) {
        smooth<false>(fine, 0, false);
        residual(fine, fine.x.data(), fine.b.data(), fine.r.data());
        residualMax = largestMagnitude(fine.r);
        ++sweeps;
    }
    fine.x.swap(sol);
    fine.b.swap(rhs);
    removeFloatingMeans(sol);
    storeSolution(x);
    return sweeps;
}

// Regions are the connected sets of unknowns (joined by nonzero
// couplings); a region floats when no row of it loses weight to a cell
// without an unknown, i.e. every row sums to zero.
void MultigridPressure::findFloatingRegions()
{
    const Level& fine = levels[0];
    const int32_t s = fine.nx + 2 * pad;
    const size_t size = fine.diag.size();
    std::vector<int32_t> regionOf(size, -1);
    std::vector<bool> regionFloats;
    std::vector<size_t> stack;
    for (size_t start = 0; start < size; ++start) {
        if (fine.diag[start] == 0.0 || regionOf[start] >= 0)
            continue;
        const int32_t region = static_cast<int32_t>(regionFloats.size());
        bool floats = true;
        regionOf[start] = region;
        stack.push_back(start);
        while (!stack.empty()) {
            const size_t c = stack.back();
            stack.pop_back();
            const double couplings[] = {fine.west[c], fine.west[c + 1], fine.south[c], fine.south[c + s]};
            const size_t neighbours[] = {c - 1, c + 1, c - s, c + s};
            double rowSum = fine.diag[c];
            for (int k = 0; k < 4; ++k) {
                rowSum -= couplings[k];
                const size_t n = neighbours[k];
                if (couplings[k] != 0.0 && fine.diag[n] != 0.0 && regionOf[n] < 0) {
                    regionOf[n] = region;
                    stack.push_back(n);
                }
            }
            if (std::fabs(rowSum) > 1e-12 * fine.diag[c])
                floats = false;
        }
        regionFloats.push_back(floats);
    }
    // Keep only the floating regions, renumbered.
    std::vector<int32_t> floatingNumber(regionFloats.size(), -1);
    for (size_t r = 0; r < regionFloats.size(); ++r)
        if (regionFloats[r]) {
            floatingNumber[r] = static_cast<int32_t>(floatingCells.size());
            floatingCells.push_back(0.0);
        }
    if (floatingCells.empty())
        return;
    // The runs of consecutive cells of one floating region, in storage order.
    for (size_t c = 0; c < size; ++c) {
        const int32_t region = regionOf[c] >= 0 ? floatingNumber[regionOf[c]] : -1;
        if (region < 0)
            continue;
        floatingCells[region] += 1.0;
        if (!floatingRuns.empty() && floatingRuns.back().end == c && floatingRuns.back().region == region)
            ++floatingRuns.back().end;
        else
            floatingRuns.push_back({c, c + 1, region});
    }
}

// Each region's sum is taken in storage order, run by run, each run's in
// four lanes.
void MultigridPressure::removeFloatingMeans(std::vector<double>& a) const
{
    if (floatingCells.empty())
        return;
    std::vector<FourLanes> sums(floatingCells.size());
    for (const FloatingRun& run : floatingRuns) {
        FourLanes& regionSums = sums[run.region];
        forFourLanes(run.first, run.end, [&](size_t c, int lane) { regionSums.lane[lane] += a[c]; });
    }
    std::vector<double> means(floatingCells.size(), 0.0);
    for (size_t r = 0; r < means.size(); ++r)
        means[r] = sums[r].sum() / floatingCells[r];
    for (const FloatingRun& run : floatingRuns) {
        const double mean = means[run.region];
        for (size_t c = run.first; c < run.end; ++c)
            a[c] -= mean;
    }
}
