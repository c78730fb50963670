#include "core/wall_heat.h"

#include "core/cell_flags.h"

#include <cstddef>
#include <utility>

namespace {

bool heldWall(const Grid& g, int32_t i, int32_t j)
{
    return isWall(g.flags[i][j]) && g.scalars.fixedTemperature[i][j] != 0;
}

bool solvedCell(const Grid& g, int32_t i, int32_t j)
{
    return isOpen(g.flags[i][j]) && !g.onBorder(i, j);
}

// Collects the group of (i0, j0) into wall, marking its cells.
void gatherGroup(const Grid& g, int32_t i0, int32_t j0, Array2D<unsigned char>& seen, HeatedWall& wall)
{
    static const int32_t steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    wall.temperature = g.scalars.T[i0][j0];
    std::vector<std::pair<int32_t, int32_t>> pending{{i0, j0}};
    seen[i0][j0] = 1;
    while (!pending.empty()) {
        const auto [i, j] = pending.back();
        pending.pop_back();
        ++wall.cells;
        for (const auto& s : steps) {
            const int32_t ni = i + s[0], nj = j + s[1];
            if (ni < 0 || nj < 0 || ni >= g.NX || nj >= g.NY)
                continue;
            if (solvedCell(g, ni, nj)) {
                const bool acrossX = s[0] != 0;
                wall.faces.push_back({ni, nj, i, j, acrossX ? g.dy : g.dx, 0.5 * (acrossX ? g.dx : g.dy)});
                wall.length += acrossX ? g.dy : g.dx;
            } else if (!seen[ni][nj] && heldWall(g, ni, nj) && g.scalars.T[ni][nj] == wall.temperature) {
                seen[ni][nj] = 1;
                pending.push_back({ni, nj});
            }
        }
    }
}

}  // namespace

std::vector<HeatedWall> findHeatedWalls(const Grid& g)
{
    std::vector<HeatedWall> walls;
    if (!g.scalars.heat)
        return walls;
    Array2D<unsigned char> seen(g.NX, g.NY);
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j) {
            if (seen[i][j] || !heldWall(g, i, j))
                continue;
            HeatedWall wall;
            gatherGroup(g, i, j, seen, wall);
            if (!wall.faces.empty())
                walls.push_back(std::move(wall));
        }
    return walls;
}

std::vector<double> localNusselt(const Grid& state, const HeatedWall& wall, const HeatScales& scales)
{
    std::vector<double> local;
    local.reserve(wall.faces.size());
    const double perDegree = scales.length / scales.span;
    for (const HeatedFace& f : wall.faces)
        local.push_back((wall.temperature - state.scalars.T[f.i][f.j]) / f.gap * perDegree);
    return local;
}

double meanNusselt(const Grid& state, const HeatedWall& wall, const HeatScales& scales)
{
    if (wall.length <= 0.0)
        return 0.0;
    const std::vector<double> local = localNusselt(state, wall, scales);
    double sum = 0.0;
    for (std::size_t k = 0; k < local.size(); ++k)
        sum += local[k] * wall.faces[k].length;
    return sum / wall.length;
}
