// The divergence the run summary reports: which cells it counts.
#include "core/flow_check.h"

#include "core/cell_flags.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A 7 x 6 grid of fluid at rest; a case sets cells and faces and names the
// divergence it expects, in units of 1/dx or 1/dy.
struct DivergenceCase {
    const char* what;
    std::function<void(Grid&)> setUp;
    double perDx;
    double perDy;
};

}  // namespace

TEST(LargestDivergence, CountsEveryOpenCellOfTheInteriorAndNoBorderCell)
{
    const DivergenceCase cases[] = {
        {"still fluid", [](Grid&) {}, 0, 0},
        {"a face between two fluid cells", [](Grid& g) { g.u[3][2] = 0.5; }, 0.5, 0},
        // The old count skipped a cell with a closed neighbour: a leak there
        // went unseen.
        {"a fluid cell beside a wall",
         [](Grid& g) {
             g.setCell(4, 2, CELL_NOSLIP_WALL);
             g.u[3][2] = 0.25;
         },
         0.25, 0},
        {"a fluid cell beside an inflow", [](Grid& g) {
             g.setCell(2, 3, CELL_INFLOW);
             g.v[2][3] = -2.0;
         },
         0, 2.0},
        {"a fluid cell beside the border", [](Grid& g) { g.v[1][0] = 1.5; }, 0, 1.5},
        {"faces of the border ring only", [](Grid& g) { g.v[0][2] = 3.0; g.u[2][5] = 4.0; }, 0, 0},
        {"a face between two wall cells",
         [](Grid& g) {
             g.setCell(2, 2, CELL_NOSLIP_WALL);
             g.setCell(3, 2, CELL_SLIP_WALL);
             g.u[2][2] = 0.75;
         },
         0, 0},
        {"the last interior column and row", [](Grid& g) { g.u[5][4] = -1.0; }, 1.0, 0},
    };
    for (const DivergenceCase& c : cases) {
        Grid g;
        makeFluidGrid(g, 7, 6);
        c.setUp(g);
        EXPECT_DOUBLE_EQ(largestDivergence(g), c.perDx / g.dx + c.perDy / g.dy) << c.what;
    }
}
