#include "core/face_boundaries.h"

#include "core/cell_flags.h"

#include <algorithm>
#include <cmath>

namespace {

bool isOutflow(int32_t word) { return (word & CELL_OUTFLOW) != 0; }

}  // namespace

Mirror mirrorBetween(int32_t a, int32_t b, double setUpValue)
{
    if (isOutflow(a) || isOutflow(b))
        return {true, 0.0, 0.0};
    if ((a & CELL_NOSLIP_WALL) || (b & CELL_NOSLIP_WALL))
        return {false, -1.0, 0.0};
    const bool slipA = (a & CELL_SLIP_WALL) != 0, slipB = (b & CELL_SLIP_WALL) != 0;
    if (slipA && slipB)
        return {false, 1.0, 0.0};
    return {false, -1.0, setUpValue};
}

namespace {

// The coupling and the diagonal and source terms one neighbour across the
// flow adds to an unknown face: across = 1/h^2 of that direction.
void addAcross(const Mirror& m, double across, double& coupling, double& diag, double& source)
{
    if (m.regular) {
        coupling = across;
        return;
    }
    coupling = 0.0;
    diag += m.factor * across;
    source += 2.0 * m.speed * across;
}

void allocateLaplacian(FaceLaplacian& L, int32_t NX, int32_t NY)
{
    for (Array2D<double>* a : {&L.unknown, &L.low, &L.high, &L.diag, &L.source})
        a->allocate(NX, NY);
}

// The solved cell of a face between a solved and an unsolved cell, and the
// unsolved one: a face of the solved cells' boundary.
struct BoundaryFace {
    int32_t other;   // the flag word of the unsolved cell
    double inward;   // +1 when the unsolved cell lies at lower i or j
};

}  // namespace

FaceBoundaries planFaceBoundaries(const Grid& g)
{
    const int32_t NX = g.NX, NY = g.NY;
    FaceBoundaries plan;
    plan.solved.allocate(NX, NY);
    for (int32_t i = 1; i <= NX - 2; ++i)
        for (int32_t j = 1; j <= NY - 2; ++j)
            plan.solved[i][j] = isOpen(g.flags[i][j]) ? 1 : 0;
    auto solved = [&](int32_t i, int32_t j) { return plan.solved[i][j] != 0; };

    const double ax = 1.0 / (g.dx * g.dx), ay = 1.0 / (g.dy * g.dy);
    allocateLaplacian(plan.u, NX, NY);
    allocateLaplacian(plan.v, NX, NY);
    plan.u.along = ax;
    plan.v.along = ay;

    // u faces: unknown between two solved cells, mirrors across in j.
    for (int32_t i = 1; i + 1 <= NX - 2; ++i)
        for (int32_t j = 1; j <= NY - 2; ++j) {
            if (!(solved(i, j) && solved(i + 1, j)))
                continue;
            FaceLaplacian& L = plan.u;
            L.unknown[i][j] = 1.0;
            double diag = -2.0 * ax - 2.0 * ay, source = 0.0;
            auto across = [&](int32_t jn, double& coupling) {
                const bool outside = !solved(i, jn) && !solved(i + 1, jn);
                const Mirror m = outside ? mirrorBetween(g.flags[i][jn], g.flags[i + 1][jn], g.u[i][jn])
                                         : Mirror{true, 0.0, 0.0};
                addAcross(m, ay, coupling, diag, source);
            };
            across(j - 1, L.low[i][j]);
            across(j + 1, L.high[i][j]);
            L.diag[i][j] = diag;
            L.source[i][j] = source;
        }
    // v faces: unknown between two solved cells, mirrors across in i.
    for (int32_t i = 1; i <= NX - 2; ++i)
        for (int32_t j = 1; j + 1 <= NY - 2; ++j) {
            if (!(solved(i, j) && solved(i, j + 1)))
                continue;
            FaceLaplacian& L = plan.v;
            L.unknown[i][j] = 1.0;
            double diag = -2.0 * ax - 2.0 * ay, source = 0.0;
            auto across = [&](int32_t in, double& coupling) {
                const bool outside = !solved(in, j) && !solved(in, j + 1);
                const Mirror m = outside ? mirrorBetween(g.flags[in][j], g.flags[in][j + 1], g.v[in][j])
                                         : Mirror{true, 0.0, 0.0};
                addAcross(m, ax, coupling, diag, source);
            };
            across(i - 1, L.low[i][j]);
            across(i + 1, L.high[i][j]);
            L.diag[i][j] = diag;
            L.source[i][j] = source;
        }

    // The boundary of the solved cells: outflow faces, and the net flux the
    // fixed faces bring in.
    for (int32_t i = 1; i <= NX - 2; ++i)
        for (int32_t j = 1; j <= NY - 2; ++j) {
            if (!solved(i, j))
                continue;
            struct Side {
                bool isU;
                int32_t ni, nj;   // the neighbour cell
                int32_t fi, fj;   // the face
                int32_t ii, ij;   // the face one cell further in
                double outward;   // +1 when the neighbour lies at larger i or j
            };
            const Side sides[] = {{true, i + 1, j, i, j, i - 1, j, 1.0},
                                  {true, i - 1, j, i - 1, j, i, j, -1.0},
                                  {false, i, j + 1, i, j, i, j - 1, 1.0},
                                  {false, i, j - 1, i, j - 1, i, j, -1.0}};
            for (const Side& s : sides) {
                if (solved(s.ni, s.nj))
                    continue;
                const int32_t other = g.flags[s.ni][s.nj];
                const double length = s.isU ? g.dy : g.dx;
                if (isOutflow(other) && g.onBorder(s.ni, s.nj)) {
                    plan.outflow.push_back({s.isU, s.fi, s.fj, s.ii, s.ij, s.outward, length});
                    plan.outflowLength += length;
                } else if (!isWall(other)) {
                    const double value = s.isU ? g.u[s.fi][s.fj] : g.v[s.fi][s.fj];
                    plan.inflowRate -= s.outward * value * length;
                }
            }
        }
    // The faces across the flow inside the outflow cells of the ring.
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            if (!isOutflow(g.flags[i][j]) || !g.onBorder(i, j))
                continue;
            if ((i == 0 || i == NX - 1) && j + 1 < NY)
                plan.outflowTangents.push_back({false, i, j, i == 0 ? 1 : NX - 2, j});
            if ((j == 0 || j == NY - 1) && i + 1 < NX)
                plan.outflowTangents.push_back({true, i, j, i, j == 0 ? 1 : NY - 2});
        }
    return plan;
}

void applyFixedFaces(const Grid& g, const FaceBoundaries& plan, Array2D<double>& u, Array2D<double>& v)
{
    const int32_t NX = g.NX, NY = g.NY;
    auto solved = [&](int32_t i, int32_t j) { return plan.solved[i][j] != 0; };
    for (int32_t i = 0; i + 1 < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            if (solved(i, j) == solved(i + 1, j))
                continue;
            const int32_t other = solved(i, j) ? g.flags[i + 1][j] : g.flags[i][j];
            if (isWall(other))
                u[i][j] = 0.0;
            else if (!isOutflow(other))
                u[i][j] = g.u[i][j];
        }
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j + 1 < NY; ++j) {
            if (solved(i, j) == solved(i, j + 1))
                continue;
            const int32_t other = solved(i, j) ? g.flags[i][j + 1] : g.flags[i][j];
            if (isWall(other))
                v[i][j] = 0.0;
            else if (!isOutflow(other))
                v[i][j] = g.v[i][j];
        }
}

CellOperator pressureOperator(const Grid& g, const FaceBoundaries& plan)
{
    return negativeLaplacian(
        g.NX, g.NY, 1.0 / (g.dx * g.dx), 1.0 / (g.dy * g.dy), [&](int32_t i, int32_t j) { return plan.solved[i][j] != 0; },
        [](int32_t, int32_t) { return false; });
}

double largestSolvedDivergence(const Grid& s, const FaceBoundaries& plan)
{
    double largest = 0.0;
    for (int32_t i = 1; i <= s.NX - 2; ++i)
        for (int32_t j = 1; j <= s.NY - 2; ++j)
            if (plan.solved[i][j])
                largest = std::max(largest, std::fabs((s.u[i][j] - s.u[i - 1][j]) / s.dx + (s.v[i][j] - s.v[i][j - 1]) / s.dy));
    return largest;
}
