#include "core/scalar_transport.h"

#include "core/cell_flags.h"

#include <algorithm>
#include <cmath>

namespace {

// The share of its content a cell may lose in one forward-Euler stage.
constexpr double stageOutflowLimit = 0.5;
constexpr int maxSubsteps = 1000;
// The diffusion solve of the increment stops when no residual exceeds this
// share of the largest right side: for temperature far below what a
// Nusselt number shows, for dye far below what its total may drift.
constexpr double temperatureRelativeLimit = 1e-8;
constexpr double dyeRelativeLimit = 1e-12;
constexpr int maxDiffusionIterations = 1000;

using Kind = ScalarTransport::CellKind;

}  // namespace

double limitedFaceValue(double upwind, double farUpwind, double downwind)
{
    const double ahead = downwind - upwind, behind = upwind - farUpwind;
    if (!(ahead * behind > 0.0))
        return upwind;
    const double slope = std::min({2.0 * std::fabs(ahead), 0.5 * std::fabs(ahead + behind), 2.0 * std::fabs(behind)});
    return upwind + 0.5 * std::copysign(slope, ahead);
}

ScalarTransport::ScalarTransport(SimGrid& state, const FaceBoundaries& plan, double reynolds)
    : g(state), NX(state.NX), NY(state.NY)
{
    kind.allocate(NX, NY);
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            const int32_t word = g.flags[i][j];
            Kind k = Kind::Closed;
            if (plan.solved[i][j])
                k = Kind::Solved;
            else if (isInflow(word) || isFluid(word))
                k = Kind::Held;
            else if (word & CELL_OUTFLOW)
                k = Kind::Outflow;
            kind[i][j] = static_cast<unsigned char>(k);
        }
    GridScalars& s = g.scalars;
    if (s.heat) {
        const HeatScales scales = heatScalesFor(s, g.flags, NX, NY, g.dy, reynolds);
        carried.push_back({&s.T, diffusionFor(scales.diffusivity, s.T, true)});
        carried.back().diffusion.relativeLimit = temperatureRelativeLimit;
    }
    if (s.dye) {
        for (int32_t i = 0; i < NX; ++i)
            for (int32_t j = 0; j < NY; ++j)
                if (isInflow(g.flags[i][j]))
                    s.c[i][j] = inflowDye(s.dyeSettings, i, j, NX, NY);
        carried.push_back({&s.c, diffusionFor(1.0 / (reynolds * s.dyeSettings.schmidt), s.c, false)});
        carried.back().diffusion.relativeLimit = dyeRelativeLimit;
    }
    for (Array2D<double>* a :
         {&fluxX, &fluxY, &rate, &stage, &residual, &direction, &product, &increment, &inverseDiagonal})
        a->allocate(NX, NY);
}

ScalarTransport::Diffusion ScalarTransport::diffusionFor(double D, const Array2D<double>& values,
                                                         bool wallsHoldValues) const
{
    Diffusion d;
    d.D = D;
    for (Array2D<double>* a : {&d.west, &d.east, &d.south, &d.north, &d.diag, &d.fixedSource, &d.solved})
        a->allocate(NX, NY);
    const double cx = D / (g.dx * g.dx), cy = D / (g.dy * g.dy);
    auto link = [&](int32_t i, int32_t j, int32_t ni, int32_t nj, double c, Array2D<double>& coupling) {
        const Kind k = static_cast<Kind>(kind[ni][nj]);
        const bool held = k == Kind::Held ||
                          (k == Kind::Closed && wallsHoldValues && g.scalars.fixedTemperature[ni][nj] != 0);
        if (k == Kind::Solved) {
            coupling[i][j] = c;
        } else if (held) {
            d.diag[i][j] += 2.0 * c;
            d.fixedSource[i][j] += 2.0 * c * values[ni][nj];
        }
    };
    for (int32_t i = 1; i <= NX - 2; ++i)
        for (int32_t j = 1; j <= NY - 2; ++j) {
            if (static_cast<Kind>(kind[i][j]) != Kind::Solved)
                continue;
            link(i, j, i - 1, j, cx, d.west);
            link(i, j, i + 1, j, cx, d.east);
            link(i, j, i, j - 1, cy, d.south);
            link(i, j, i, j + 1, cy, d.north);
            d.diag[i][j] += d.west[i][j] + d.east[i][j] + d.south[i][j] + d.north[i][j];
            d.solved[i][j] = 1.0;
        }
    return d;
}

void ScalarTransport::advance(double dt)
{
    substeps = substepsFor(dt);
    for (Carried& q : carried) {
        convect(*q.values, dt);
        diffuse(*q.values, q.diffusion, dt);
    }
}

// The largest share of its content any solved cell sends out in dt.
int ScalarTransport::substepsFor(double dt) const
{
    double largest = 0.0;
    for (int32_t i = 1; i <= NX - 2; ++i)
        for (int32_t j = 1; j <= NY - 2; ++j) {
            if (static_cast<Kind>(kind[i][j]) != Kind::Solved)
                continue;
            const double out = (std::max(0.0, g.u[i][j]) + std::max(0.0, -g.u[i - 1][j])) / g.dx +
                               (std::max(0.0, g.v[i][j]) + std::max(0.0, -g.v[i][j - 1])) / g.dy;
            largest = std::max(largest, out * dt);
        }
    const double needed = std::ceil(largest / stageOutflowLimit);
    return static_cast<int>(std::min<double>(maxSubsteps, std::max(1.0, needed)));
}

namespace {

// The value a face carries between cell a (lower index) and b, with the
// face velocity w positive from a to b; aFar and bFar the cells beyond.
struct FaceCells {
    Kind a, b, aFar, bFar;
    double qa, qb, qaFar, qbFar;
};

double faceValue(const FaceCells& f, double w)
{
    if (f.a == Kind::Solved && f.b == Kind::Solved) {
        if (w >= 0.0)
            return limitedFaceValue(f.qa, f.aFar == Kind::Solved ? f.qaFar : f.qa, f.qb);
        return limitedFaceValue(f.qb, f.bFar == Kind::Solved ? f.qbFar : f.qb, f.qa);
    }
    const bool aSolved = f.a == Kind::Solved;
    const Kind other = aSolved ? f.b : f.a;
    const double inside = aSolved ? f.qa : f.qb, outside = aSolved ? f.qb : f.qa;
    if (other == Kind::Held) {
        const bool fromOutside = aSolved ? w < 0.0 : w > 0.0;
        return fromOutside ? outside : inside;
    }
    return other == Kind::Outflow ? inside : 0.0;
}

}  // namespace

void ScalarTransport::convectionRate(const Array2D<double>& q, Array2D<double>& out)
{
    auto kindAt = [&](int32_t i, int32_t j) {
        return (i < 0 || i >= NX || j < 0 || j >= NY) ? Kind::Closed : static_cast<Kind>(kind[i][j]);
    };
    auto valueAt = [&](int32_t i, int32_t j) { return (i < 0 || i >= NX || j < 0 || j >= NY) ? 0.0 : q[i][j]; };
    for (int32_t i = 0; i <= NX - 2; ++i)
        for (int32_t j = 1; j <= NY - 2; ++j) {
            const FaceCells f{kindAt(i, j), kindAt(i + 1, j), kindAt(i - 1, j), kindAt(i + 2, j),
                              q[i][j], q[i + 1][j], valueAt(i - 1, j), valueAt(i + 2, j)};
            const bool open = f.a == Kind::Solved || f.b == Kind::Solved;
            fluxX[i][j] = open && (f.a != Kind::Closed && f.b != Kind::Closed) ? g.u[i][j] * faceValue(f, g.u[i][j]) : 0.0;
        }
    for (int32_t i = 1; i <= NX - 2; ++i)
        for (int32_t j = 0; j <= NY - 2; ++j) {
            const FaceCells f{kindAt(i, j), kindAt(i, j + 1), kindAt(i, j - 1), kindAt(i, j + 2),
                              q[i][j], q[i][j + 1], valueAt(i, j - 1), valueAt(i, j + 2)};
            const bool open = f.a == Kind::Solved || f.b == Kind::Solved;
            fluxY[i][j] = open && (f.a != Kind::Closed && f.b != Kind::Closed) ? g.v[i][j] * faceValue(f, g.v[i][j]) : 0.0;
        }
    const double invDx = 1.0 / g.dx, invDy = 1.0 / g.dy;
    for (int32_t i = 1; i <= NX - 2; ++i)
        for (int32_t j = 1; j <= NY - 2; ++j)
            out[i][j] = static_cast<Kind>(kind[i][j]) == Kind::Solved
                            ? -((fluxX[i][j] - fluxX[i - 1][j]) * invDx + (fluxY[i][j] - fluxY[i][j - 1]) * invDy)
                            : 0.0;
}

// Two-stage SSP Runge-Kutta per sub-step: q1 = q + h R(q),
// q = (q + q1 + h R(q1)) / 2.
void ScalarTransport::convect(Array2D<double>& q, double dt)
{
    const double h = dt / substeps;
    for (int n = 0; n < substeps; ++n) {
        convectionRate(q, rate);
        for (int32_t i = 0; i < NX; ++i)
            for (int32_t j = 0; j < NY; ++j)
                stage[i][j] = q[i][j] + h * rate[i][j];
        convectionRate(stage, rate);
        for (int32_t i = 1; i <= NX - 2; ++i)
            for (int32_t j = 1; j <= NY - 2; ++j)
                if (static_cast<Kind>(kind[i][j]) == Kind::Solved)
                    q[i][j] = 0.5 * (q[i][j] + stage[i][j] + h * rate[i][j]);
    }
}

// out = (diag - neighbours) x on the solved cells, 0 elsewhere (every
// coefficient of a cell that is not solved is 0).
void ScalarTransport::applyDiffusion(const Diffusion& d, const Array2D<double>& x, Array2D<double>& out) const
{
    for (int32_t i = 1; i <= NX - 2; ++i) {
        const double *west = d.west[i], *east = d.east[i], *south = d.south[i], *north = d.north[i];
        const double *diag = d.diag[i], *xw = x[i - 1], *xc = x[i], *xe = x[i + 1];
        double* o = out[i];
        for (int32_t j = 1; j <= NY - 2; ++j)
            o[j] = diag[j] * xc[j] - (west[j] * xw[j] + east[j] * xe[j] + south[j] * xc[j - 1] + north[j] * xc[j + 1]);
    }
}

// The increment x - q of (I - dt D lap) x = q by conjugate gradients with
// the diagonal as preconditioner, from 0; sums in a fixed order, so the
// same bits every run.
void ScalarTransport::diffuse(Array2D<double>& q, const Diffusion& d, double dt)
{
    if (d.D <= 0.0)
        return;
    applyDiffusion(d, q, product);
    double largestRight = 0.0, rz = 0.0;
    for (int32_t i = 1; i <= NX - 2; ++i)
        for (int32_t j = 1; j <= NY - 2; ++j) {
            inverseDiagonal[i][j] = d.solved[i][j] / (1.0 + dt * d.diag[i][j]);
            residual[i][j] = dt * (d.fixedSource[i][j] - product[i][j]);
            largestRight = std::max(largestRight, std::fabs(residual[i][j]));
            increment[i][j] = 0.0;
            direction[i][j] = residual[i][j] * inverseDiagonal[i][j];
            rz += residual[i][j] * direction[i][j];
        }
    const double limit = d.relativeLimit * largestRight;
    for (int iteration = 0; iteration < maxDiffusionIterations && rz > 0.0; ++iteration) {
        applyDiffusion(d, direction, product);
        double pAp = 0.0;
        for (int32_t i = 1; i <= NX - 2; ++i)
            for (int32_t j = 1; j <= NY - 2; ++j) {
                product[i][j] = direction[i][j] + dt * product[i][j];
                pAp += direction[i][j] * product[i][j];
            }
        const double alpha = rz / pAp;
        double rzNext = 0.0, largestResidual = 0.0;
        for (int32_t i = 1; i <= NX - 2; ++i)
            for (int32_t j = 1; j <= NY - 2; ++j) {
                increment[i][j] += alpha * direction[i][j];
                residual[i][j] -= alpha * product[i][j];
                rzNext += residual[i][j] * residual[i][j] * inverseDiagonal[i][j];
                largestResidual = std::max(largestResidual, std::fabs(residual[i][j]));
            }
        if (largestResidual <= limit)
            break;
        const double beta = rzNext / rz;
        rz = rzNext;
        for (int32_t i = 1; i <= NX - 2; ++i)
            for (int32_t j = 1; j <= NY - 2; ++j)
                direction[i][j] = residual[i][j] * inverseDiagonal[i][j] + beta * direction[i][j];
    }
    for (int32_t i = 1; i <= NX - 2; ++i)
        for (int32_t j = 1; j <= NY - 2; ++j)
            q[i][j] += increment[i][j];
}
