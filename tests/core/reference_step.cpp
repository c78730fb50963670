#include "reference_step.h"

#include <cmath>

namespace {

double sq(double x) { return x * x; }

bool uFace(const SimGrid& g, int i, int j)
{
    return !(g.flags[i][j] & CELL_INFLOW) && (g.flags[i][j] & CELL_OPEN_MASK) && (g.flags[i + 1][j] & CELL_OPEN_MASK);
}

bool vFace(const SimGrid& g, int i, int j)
{
    return !(g.flags[i][j] & CELL_INFLOW) && (g.flags[i][j] & CELL_OPEN_MASK) && (g.flags[i][j + 1] & CELL_OPEN_MASK);
}

}  // namespace

LiteralSolver::LiteralSolver(const Grid& grid, const SolverScalars& scalars)
    : state(copyForSolver(grid)), plan(planWallConditions(state->flags, state->NX, state->NY)), s(scalars)
{
    applyWallPlan(plan, state->u, state->v, state->dp);
    applyWallPlan(plan, state->F, state->G, state->dp);
}

int LiteralSolver::step()
{
    SimGrid& g = *state;
    const int NX = g.NX, NY = g.NY;
    double dx = s.dx, dy = s.dy, dt = s.dt, Re = s.Re;

    for (int j = 1; j <= NY - 2; ++j)
        for (int i = 1; i <= NX - 3; ++i) {
            if (!uFace(g, i, j)) continue;
            auto& u = g.u; auto& v = g.v;
            double visc = (1 / Re) * ((u[i][j + 1] - 2 * u[i][j] + u[i][j - 1]) / sq(dy) + (u[i + 1][j] - 2 * u[i][j] + u[i - 1][j]) / sq(dx));
            double convX = (sq(u[i + 1][j]) - sq(u[i - 1][j])) / (2 * dx);
            double convY = (0.5 * (v[i + 1][j] + v[i][j]) * u[i][j + 1] - 0.5 * (v[i][j - 1] + v[i + 1][j - 1]) * u[i][j - 1]) / (2 * dy);
            double grad = (g.pPrev[i + 1][j] - g.pPrev[i][j]) * (1 / dx);
            g.F[i][j] = g.F[i][j] + dt * (visc - convX - convY - grad);
        }
    for (int j = 1; j <= NY - 3; ++j)
        for (int i = 1; i <= NX - 2; ++i) {
            if (!vFace(g, i, j)) continue;
            auto& u = g.u; auto& v = g.v;
            double visc = (1 / Re) * ((v[i][j + 1] - 2 * v[i][j] + v[i][j - 1]) / sq(dy) + (v[i + 1][j] - 2 * v[i][j] + v[i - 1][j]) / sq(dx));
            double convY = (sq(v[i][j + 1]) - sq(v[i][j - 1])) / (2 * dy);
            double convX = (0.5 * (u[i][j] + u[i][j + 1]) * v[i + 1][j] - 0.5 * (u[i - 1][j] + u[i - 1][j + 1]) * v[i - 1][j]) / (2 * dx);
            double grad = (g.pPrev[i][j + 1] - g.pPrev[i][j]) * (1 / dy);
            g.G[i][j] = g.G[i][j] + dt * (visc - convY - convX - grad);
        }

    double S = 2 * (dt / sq(dx) + dt / sq(dy)), cx = -dt / sq(dx), cy = -dt / sq(dy);
    int sweeps = 0;
    double maxChange;
    do {
        maxChange = 0;
        for (int j = NY - 2; j >= 1; --j)
            for (int i = 1; i <= NX - 2; ++i) {
                if (!(g.flags[i][j] & CELL_OPEN_MASK)) continue;
                double old = g.dp[i][j];
                double r = (g.F[i][j] - g.F[i - 1][j]) * (1 / dx) + (g.G[i][j] - g.G[i][j - 1]) * (1 / dy)
                         + cx * (g.dp[i + 1][j] + g.dp[i - 1][j]) + cy * (g.dp[i][j + 1] + g.dp[i][j - 1]);
                g.dp[i][j] = -r * (1 / S);
                if (std::fabs(g.dp[i][j] - old) > maxChange) maxChange = std::fabs(g.dp[i][j] - old);
            }
        ++sweeps;
    } while (static_cast<double>(s.tolerance) < maxChange);

    applyWallPlan(plan, g.u, g.v, g.dp);
    for (int i = 1; i <= NX - 1; ++i)
        for (int j = 1; j <= NY - 2; ++j)
            if (vFace(g, i, j)) {
                g.v[i][j] = g.G[i][j] - (dt / dy) * (g.dp[i][j + 1] - g.dp[i][j]);
                g.G[i][j] = g.v[i][j];
            }
    for (int i = 1; i <= NX - 2; ++i)
        for (int j = 1; j <= NY - 1; ++j)
            if (uFace(g, i, j)) {
                g.u[i][j] = g.F[i][j] - (dt / dx) * (g.dp[i + 1][j] - g.dp[i][j]);
                g.F[i][j] = g.u[i][j];
            }
    applyWallPlan(plan, g.u, g.v, g.p);
    double relax = s.pressureRelaxation;
    for (int i = 0; i < NX; ++i)
        for (int j = 0; j < NY; ++j) g.p[i][j] = relax * g.dp[i][j] + g.pPrev[i][j];
    for (int i = 0; i < NX; ++i)
        for (int j = 0; j < NY; ++j) g.pPrev[i][j] = g.p[i][j];
    for (int i = 0; i < NX; ++i)
        for (int j = 0; j < NY; ++j) g.dp[i][j] = 0;
    return sweeps;
}
