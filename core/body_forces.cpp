#include "core/body_forces.h"

#include "core/cell_flags.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

using CellList = std::vector<std::pair<int32_t, int32_t>>;

const int32_t kSteps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};

bool inside(const Grid& g, int32_t i, int32_t j)
{
    return i >= 0 && j >= 0 && i < g.NX && j < g.NY;
}

// Flood-fills the wall group holding (i, j) with label; true when it stays
// off the border ring.
bool fillGroup(const Grid& grid, int32_t i, int32_t j, int32_t label, Array2D<int32_t>& labels,
               CellList& cells)
{
    bool offBorder = true;
    CellList stack{{i, j}};
    labels[i][j] = label;
    while (!stack.empty()) {
        const auto [ci, cj] = stack.back();
        stack.pop_back();
        cells.push_back({ci, cj});
        if (grid.onBorder(ci, cj)) offBorder = false;
        for (const auto& s : kSteps) {
            const int32_t ni = ci + s[0], nj = cj + s[1];
            if (!inside(grid, ni, nj) || labels[ni][nj] != 0 || !isWall(grid.flags[ni][nj])) continue;
            labels[ni][nj] = label;
            stack.push_back({ni, nj});
        }
    }
    return offBorder;
}

// The faces the body's cells (marked in member) share with open cells.
void collectPressureFaces(const Grid& grid, const CellList& cells, Body& body)
{
    int32_t jLow = grid.NY, jHigh = -1;
    for (const auto& [wi, wj] : cells) {
        jLow = std::min(jLow, wj);
        jHigh = std::max(jHigh, wj);
        for (const auto& s : kSteps) {
            const int32_t i = wi + s[0], j = wj + s[1];
            if (inside(grid, i, j) && isOpen(grid.flags[i][j]))
                body.faces.push_back({i, j, s[0], s[1]});
        }
    }
    body.cells = static_cast<int32_t>(cells.size());
    body.height = (jHigh - jLow + 1) * grid.dy;
}


// The viscous faces of u (alongX) or v positions: a fluid velocity with a
// body position one cell away, across the flow direction (shear; none at a
// slip wall) or along it (the closed face, normal stress).
void collectViscousFaces(const Grid& g, const Array2D<unsigned char>& member, bool alongX, Body& body)
{
    const int32_t di = alongX ? 1 : 0, dj = alongX ? 0 : 1;
    auto fluidAt = [&](int32_t i, int32_t j) {
        const int32_t a = g.flags[i][j], b = g.flags[i + di][j + dj];
        return !isWall(a) && !isWall(b) && (isOpen(a) || isOpen(b));
    };
    auto bodyCellAt = [&](int32_t i, int32_t j) -> int32_t {
        if (!inside(g, i, j) || !inside(g, i + di, j + dj)) return 0;
        if (member[i][j]) return g.flags[i][j];
        if (member[i + di][j + dj]) return g.flags[i + di][j + dj];
        return 0;
    };
    for (int32_t i = 0; i + di < g.NX; ++i)
        for (int32_t j = 0; j + dj < g.NY; ++j) {
            if (!fluidAt(i, j)) continue;
            for (const auto& s : kSteps) {
                const int32_t wi = i + s[0], wj = j + s[1];
                const int32_t word = bodyCellAt(wi, wj);
                const bool across = (s[0] != 0) != alongX;
                const bool slip = (word & CELL_SLIP_WALL) && !(word & CELL_NOSLIP_WALL);
                if (word == 0 || (across && slip)) continue;
                const bool moving = across && (word & CELL_MOVING_WALL) && !(word & CELL_NOSLIP_WALL);
                body.viscousFaces.push_back({i, j, wi, wj, alongX, across, moving});
            }
        }
}

Body makeBody(const Grid& grid, const CellList& cells)
{
    Body body;
    collectPressureFaces(grid, cells, body);
    Array2D<unsigned char> member(grid.NX, grid.NY);
    for (const auto& [i, j] : cells) member[i][j] = 1;
    collectViscousFaces(grid, member, true, body);
    collectViscousFaces(grid, member, false, body);
    return body;
}

}  // namespace

std::vector<Body> findBodies(const Grid& grid)
{
    std::vector<Body> bodies;
    Array2D<int32_t> labels(grid.NX, grid.NY);
    CellList allCells;
    int32_t label = 0;
    for (int32_t i = 0; i < grid.NX; ++i)
        for (int32_t j = 0; j < grid.NY; ++j) {
            if (labels[i][j] != 0 || !isWall(grid.flags[i][j])) continue;
            CellList cells;
            const bool offBorder = fillGroup(grid, i, j, ++label, labels, cells);
            allCells.insert(allCells.end(), cells.begin(), cells.end());
            if (offBorder) bodies.push_back(makeBody(grid, cells));
        }
    std::stable_sort(bodies.begin(), bodies.end(),
                     [](const Body& a, const Body& b) { return a.cells > b.cells; });
    Body all = makeBody(grid, allCells);
    all.allWalls = true;
    bodies.push_back(std::move(all));
    return bodies;
}

BodyForce bodyForce(const Grid& state, const Body& body, double reynolds, bool wallsOnFaces)
{
    const double acrossReach = wallsOnFaces ? 2.0 : 1.0;  // cells per distance to the wall, across
    BodyForce force;
    for (const BodyFace& f : body.faces) {
        const double ds = f.ni != 0 ? state.dy : state.dx;
        force.fx -= state.p[f.i][f.j] * f.ni * ds;
        force.fy -= state.p[f.i][f.j] * f.nj * ds;
    }
    const double acrossX = state.dx / state.dy;  // ds / h of a u face across, of a v face along
    for (const ViscousFace& f : body.viscousFaces) {
        const Array2D<double>& velocity = f.alongX ? state.u : state.v;
        const double wall = f.moving ? velocity[f.wi][f.wj] : 0.0;
        const double flux = (velocity[f.i][f.j] - wall) / reynolds;
        const double ratio = (f.alongX == f.across) ? acrossX : 1.0 / acrossX;
        (f.alongX ? force.fx : force.fy) += flux * ratio * (f.across ? acrossReach : 1.0);
    }
    return force;
}

double setUpReferenceSpeed(const Grid& grid)
{
    double speed = 0.0;
    for (int32_t i = 0; i < grid.NX; ++i)
        for (int32_t j = 0; j < grid.NY; ++j) {
            const int32_t word = grid.flags[i][j];
            if (!(word & (CELL_INFLOW | CELL_MOVING_WALL))) continue;
            speed = std::max({speed, std::fabs(grid.u[i][j]), std::fabs(grid.v[i][j])});
        }
    return speed > 0.0 ? speed : 1.0;
}
