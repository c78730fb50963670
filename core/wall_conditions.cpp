// Wall conditions: what the cells of obstacle walls next to fluid receive.
//
// A treated cell is a non-wall cell of the interior (i = 1..NX-2,
// j = 1..NY-2) with exactly one wall neighbour and three fluid neighbours.
// Its wall neighbour receives:
//
// | wall neighbour   | P (pressure-like)   | two tangential faces  | shared face |
// |------------------|---------------------|-----------------------|-------------|
// | CELL_NOSLIP_WALL | copy of the cell's  | 0                     | 0           |
// | CELL_SLIP_WALL   | copy of the cell's  | the cell's own values | 0           |
// | CELL_MOVING_WALL | copy of the cell's  | kept (the wall speed) | 0           |
//
// The factor comes from the wall that is written, so a no-slip wall never
// slips, whatever the scan met before it. Cases are tested east, west,
// north, south; later writes win. After the scan every face between a wall
// cell and a non-wall cell is set to 0, so no flow passes through a wall
// even where no case applies (corners, walls beside inflow or outflow cells)
// or where a tangential copy landed on another cell's wall face.
//
// The flags of a solver's grid never change, so the cases and the closed
// faces are found once, when the solver is built; every call then makes the
// same writes in the same order as a scan would.
#include "core/wall_conditions.h"

#include "core/cell_flags.h"
#include "core/flow_solver.h"

namespace {

// No-slip wins over slip when a word carries both; a wall with neither bit
// is a moving wall.
WallKind wallKind(int32_t word)
{
    if (word & CELL_NOSLIP_WALL) return WallKind::NoSlip;
    if (word & CELL_SLIP_WALL) return WallKind::Slip;
    return WallKind::Moving;
}

// The case of a non-wall cell: exactly one wall neighbour, three fluid ones,
// tested east, west, north, south.
bool wallCase(const Array2D<int32_t>& flags, int32_t i, int32_t j, WallSide& side, int32_t& wall)
{
    const int32_t e = flags[i + 1][j], w = flags[i - 1][j];
    const int32_t n = flags[i][j + 1], s = flags[i][j - 1];
    if (isWall(e) && isFluid(w) && isFluid(n) && isFluid(s)) { side = WallSide::East; wall = e; return true; }
    if (isFluid(e) && isWall(w) && isFluid(n) && isFluid(s)) { side = WallSide::West; wall = w; return true; }
    if (isFluid(e) && isFluid(w) && isWall(n) && isFluid(s)) { side = WallSide::North; wall = n; return true; }
    if (isFluid(e) && isFluid(w) && isFluid(n) && isWall(s)) { side = WallSide::South; wall = s; return true; }
    return false;
}

}  // namespace

WallPlan planWallConditions(const Array2D<int32_t>& flags, int32_t NX, int32_t NY)
{
    WallPlan plan;
    for (int32_t i = 1; i <= NX - 2; ++i)
        for (int32_t j = 1; j <= NY - 2; ++j) {
            WallSide side;
            int32_t wall;
            if (!isWall(flags[i][j]) && wallCase(flags, i, j, side, wall))
                plan.writes.push_back({i, j, side, wallKind(wall)});
        }
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            const bool wall = isWall(flags[i][j]);
            if (i + 1 < NX && wall != isWall(flags[i + 1][j]))
                plan.closedUFaces.push_back({i, j});
            if (j + 1 < NY && wall != isWall(flags[i][j + 1]))
                plan.closedVFaces.push_back({i, j});
        }
    return plan;
}

// East wall (i+1, j): P[i+1][j] = P[i][j]; V[i+1][j] = f V[i][j]; V[i+1][j-1] = f V[i][j-1]; U[i][j] = 0
// West wall (i-1, j): P[i-1][j] = P[i][j]; V[i-1][j] = f V[i][j]; V[i-1][j-1] = f V[i][j-1]; U[i-1][j] = 0
// North wall (i, j+1): P[i][j+1] = P[i][j]; U[i][j+1] = f U[i][j]; U[i-1][j+1] = f U[i-1][j]; V[i][j] = 0
// South wall (i, j-1): P[i][j-1] = P[i][j]; U[i][j-1] = f U[i][j]; U[i-1][j-1] = f U[i-1][j]; V[i][j-1] = 0
// with f = 0 for a no-slip and 1 for a slip wall; a moving wall keeps its
// tangential faces.
void applyWallPlan(const WallPlan& plan, Array2D<double>& U, Array2D<double>& V, Array2D<double>& P)
{
    for (const WallWrite& w : plan.writes) {
        const int32_t i = w.i, j = w.j;
        const bool tangential = w.kind != WallKind::Moving;
        const double f = w.kind == WallKind::Slip ? 1.0 : 0.0;
        switch (w.side) {
        case WallSide::East:
            P[i + 1][j] = P[i][j];
            if (tangential) {
                V[i + 1][j] = f * V[i][j];
                V[i + 1][j - 1] = f * V[i][j - 1];
            }
            U[i][j] = 0.0;
            break;
        case WallSide::West:
            P[i - 1][j] = P[i][j];
            if (tangential) {
                V[i - 1][j] = f * V[i][j];
                V[i - 1][j - 1] = f * V[i][j - 1];
            }
            U[i - 1][j] = 0.0;
            break;
        case WallSide::North:
            P[i][j + 1] = P[i][j];
            if (tangential) {
                U[i][j + 1] = f * U[i][j];
                U[i - 1][j + 1] = f * U[i - 1][j];
            }
            V[i][j] = 0.0;
            break;
        case WallSide::South:
            P[i][j - 1] = P[i][j];
            if (tangential) {
                U[i][j - 1] = f * U[i][j];
                U[i - 1][j - 1] = f * U[i - 1][j];
            }
            V[i][j - 1] = 0.0;
            break;
        }
    }
    for (const auto& [i, j] : plan.closedUFaces)
        U[i][j] = 0.0;
    for (const auto& [i, j] : plan.closedVFaces)
        V[i][j] = 0.0;
}

void FlowSolver::applyWallConditions(Array2D<double>& U, Array2D<double>& V, Array2D<double>& P)
{
    applyWallPlan(wallPlan, U, V, P);
}
