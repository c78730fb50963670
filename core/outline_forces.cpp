#include "core/outline_forces.h"

#include "core/cell_flags.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The pressure samples reach this far from the point on the outline, in
// cells: far enough for a quadratic fit from one side of the outline.
constexpr double pressureReach = 2.5;
constexpr int terms = 6;  // 1, x, y, x^2, xy, y^2

using Row = std::array<double, terms>;

// Solves the normal equations a c = b in place by elimination with partial
// pivoting; false when they are singular.
bool solveNormalEquations(std::array<Row, terms>& a, Row& b)
{
    for (int k = 0; k < terms; ++k) {
        int pivot = k;
        for (int r = k + 1; r < terms; ++r)
            if (std::fabs(a[r][k]) > std::fabs(a[pivot][k]))
                pivot = r;
        if (std::fabs(a[pivot][k]) < 1e-12)
            return false;
        std::swap(a[k], a[pivot]);
        std::swap(b[k], b[pivot]);
        for (int r = k + 1; r < terms; ++r) {
            const double f = a[r][k] / a[k][k];
            for (int c = k; c < terms; ++c)
                a[r][c] -= f * a[k][c];
            b[r] -= f * b[k];
        }
    }
    for (int k = terms - 1; k >= 0; --k) {
        for (int c = k + 1; c < terms; ++c)
            b[k] -= a[k][c] * b[c];
        b[k] /= a[k][k];
    }
    return true;
}

}  // namespace

double pressureAtOutlinePoint(const Grid& g, OutlinePoint at)
{
    const double h = std::max(g.dx, g.dy), reach = pressureReach * h;
    const int32_t iLow = std::max(0, static_cast<int32_t>(std::floor((at.x - reach) / g.dx)));
    const int32_t iHigh = std::min(g.NX - 1, static_cast<int32_t>(std::ceil((at.x + reach) / g.dx)));
    const int32_t jLow = std::max(0, static_cast<int32_t>(std::floor((at.y - reach) / g.dy)));
    const int32_t jHigh = std::min(g.NY - 1, static_cast<int32_t>(std::ceil((at.y + reach) / g.dy)));
    std::array<Row, terms> normal{};
    Row right{};
    double nearest = 0.0, nearestDistance = 1e300;
    int samples = 0;
    for (int32_t i = iLow; i <= iHigh; ++i)
        for (int32_t j = jLow; j <= jHigh; ++j) {
            if (!isOpen(g.flags[i][j]) || g.onBorder(i, j))
                continue;
            // Offsets in cells keep the equations well scaled.
            const double x = ((i + 0.5) * g.dx - at.x) / h, y = ((j + 0.5) * g.dy - at.y) / h;
            const double distance = std::hypot(x, y);
            if (distance > pressureReach)
                continue;
            if (distance < nearestDistance) {
                nearestDistance = distance;
                nearest = g.p[i][j];
            }
            const Row basis{1.0, x, y, x * x, x * y, y * y};
            for (int r = 0; r < terms; ++r) {
                for (int c = 0; c < terms; ++c)
                    normal[r][c] += basis[r] * basis[c];
                right[r] += basis[r] * g.p[i][j];
            }
            ++samples;
        }
    if (samples < 2 * terms || !solveNormalEquations(normal, right))
        return nearest;
    return right[0];
}

double outlinePressure(const Grid& state, const BodyOutline& outline, OutlinePoint at)
{
    // The normal is the distance's gradient; the nearest point of the
    // outline lies that distance back along it.
    const double e = 1e-6 * std::max(state.dx, state.dy);
    const double gx = signedDistance(outline, at.x + e, at.y) - signedDistance(outline, at.x - e, at.y);
    const double gy = signedDistance(outline, at.x, at.y + e) - signedDistance(outline, at.x, at.y - e);
    const double length = std::hypot(gx, gy);
    const double nx = length > 0.0 ? gx / length : 1.0, ny = length > 0.0 ? gy / length : 0.0;
    const double distance = signedDistance(outline, at.x, at.y);
    return pressureAtOutlinePoint(state, {at.x - distance * nx, at.y - distance * ny});
}

double outlineHeight(const BodyOutline& outline)
{
    const OutlineBox box = outlineBox(outline);
    return box.yHigh - box.yLow;
}

MomentumBox momentumBoxFor(const Grid& g, const BodyOutline& outline, int margin)
{
    const OutlineBox box = outlineBox(outline);
    auto cell = [](double at, double size, int32_t count) {
        return std::clamp(static_cast<int32_t>(std::floor(at / size)), int32_t{1}, count - 2);
    };
    return {cell(box.xLow, g.dx, g.NX) - margin, cell(box.xHigh, g.dx, g.NX) + margin,
            cell(box.yLow, g.dy, g.NY) - margin, cell(box.yHigh, g.dy, g.NY) + margin};
}

// x momentum: the u faces between the box's cells, i0 <= i < i1, their
// volumes reaching from the centres of cells i0 to i1; y momentum alike.
BoxBalance boxBalance(const Grid& s, const MomentumBox& b, double reynolds, const WideReach* reach)
{
    const MomentumBox c{std::max(b.i0, 1), std::min(b.i1, s.NX - 2), std::max(b.j0, 1), std::min(b.j1, s.NY - 2)};
    const double nu = 1.0 / reynolds, dx = s.dx, dy = s.dy;
    BoxBalance out;
    auto centreX = [&](int32_t i, int32_t j) {  // x-momentum flux through the centre of cell (i, j), along x
        return uFluxAlongX(s.u, reach, i, j) + s.p[i][j] - nu * (s.u[i][j] - s.u[i - 1][j]) / dx;
    };
    auto cornerX = [&](int32_t i, int32_t j) {  // through the corner row between cells j and j+1, along y
        return uFluxAlongY(s.u, s.v, reach, i, j) - nu * (s.u[i][j + 1] - s.u[i][j]) / dy;
    };
    auto centreY = [&](int32_t i, int32_t j) {
        return vFluxAlongY(s.v, reach, i, j) + s.p[i][j] - nu * (s.v[i][j] - s.v[i][j - 1]) / dy;
    };
    auto cornerY = [&](int32_t i, int32_t j) {
        return vFluxAlongX(s.u, s.v, reach, i, j) - nu * (s.v[i + 1][j] - s.v[i][j]) / dx;
    };
    for (int32_t j = c.j0; j <= c.j1; ++j) {
        out.outflux.fx += (centreX(c.i1, j) - centreX(c.i0, j)) * dy;
        for (int32_t i = c.i0; i < c.i1; ++i)
            out.momentumX += s.u[i][j] * dx * dy;
    }
    for (int32_t i = c.i0; i < c.i1; ++i)
        out.outflux.fx += (cornerX(i, c.j1) - cornerX(i, c.j0 - 1)) * dx;
    for (int32_t i = c.i0; i <= c.i1; ++i) {
        out.outflux.fy += (centreY(i, c.j1) - centreY(i, c.j0)) * dx;
        for (int32_t j = c.j0; j < c.j1; ++j)
            out.momentumY += s.v[i][j] * dx * dy;
    }
    for (int32_t j = c.j0; j < c.j1; ++j)
        out.outflux.fy += (cornerY(c.i1, j) - cornerY(c.i0 - 1, j)) * dy;
    return out;
}
