#include "core/inflow_emitters.h"

namespace {

// How far inside the inflow face the segment lies, in cells.
constexpr double inset = 0.1;

// One border edge: cells (i0 + k di, j0 + k dj) for k = 1 .. count - 2 (the
// corners belong to the edges across), and where the segment of a run
// lies: across = the coordinate normal to the edge, in cells.
struct Edge {
    int32_t i0, j0, di, dj, count;
    double across;
};

}  // namespace

Emitters inflowEmitters(const Grid& grid, int32_t every, int32_t firstColour)
{
    Emitters found;
    const Edge edges[] = {
        {0, 0, 0, 1, grid.NY, 1.0 + inset},                        // west: x in cells
        {grid.NX - 1, 0, 0, 1, grid.NY, grid.NX - 1.0 - inset},    // east
        {0, 0, 1, 0, grid.NX, 1.0 + inset},                        // south: y in cells
        {0, grid.NY - 1, 1, 0, grid.NX, grid.NY - 1.0 - inset},    // north
    };
    for (const Edge& e : edges) {
        const bool vertical = e.dj == 1;
        int32_t runStart = -1;
        for (int32_t k = 1; k <= e.count - 1; ++k) {
            const bool inflow = k < e.count - 1 && isInflow(grid.flags[e.i0 + k * e.di][e.j0 + k * e.dj]);
            if (inflow && runStart < 0)
                runStart = k;
            if (inflow || runStart < 0)
                continue;
            // Cells runStart .. k - 1 along the edge; the centres of the
            // first and last are the segment's ends.
            const double from = runStart + 0.5, to = k - 0.5;
            Emitter emitter;
            if (vertical) {
                emitter = Emitter{e.across * grid.dx, from * grid.dy, e.across * grid.dx, to * grid.dy, every, 0};
            } else {
                emitter = Emitter{from * grid.dx, e.across * grid.dy, to * grid.dx, e.across * grid.dy, every, 0};
            }
            emitter.colour = firstColour + static_cast<int32_t>(found.size());
            found.push_back(emitter);
            runStart = -1;
        }
    }
    return found;
}
