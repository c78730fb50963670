// The edited grid's one path of change: the painting rules hold, every cell
// is recorded before and after, and whole-grid changes hand back the grid
// they replaced.
#include "gui/grid_edit_model.h"

#include <gtest/gtest.h>

namespace {

// A model holding a fresh all-fluid NX x NY grid.
GridEditModel modelOf(int32_t NX, int32_t NY)
{
    GridEditModel model;
    model.apply(GridChange::newFluidGrid(model.grid(), NX, NY));
    return model;
}

TEST(GridEditModel, PaintingFollowsTheBorderRulesAndWritesTheVelocity)
{
    GridEditModel model = modelOf(40, 20);
    const struct {
        int32_t i, j, word, stored;
    } cases[] = {
        {0, 5, CELL_INFLOW | DIR_NORTH, CELL_INFLOW | DIR_EAST},   // points inward
        {39, 5, CELL_INFLOW | DIR_EAST, CELL_INFLOW | DIR_WEST},
        {3, 3, CELL_INFLOW | DIR_SOUTH, CELL_INFLOW | DIR_SOUTH},  // interior keeps it
        {3, 0, CELL_OUTFLOW, CELL_OUTFLOW | DIR_SOUTH},            // points outward
        {4, 4, CELL_OUTFLOW, CELL_FLUID},                          // refused inside
        {7, 7, CELL_MOVING_WALL, CELL_MOVING_WALL},
    };
    for (const auto& c : cases) {
        const AppliedChange done = model.apply(GridChange::paint(c.i, c.j, c.word, 1.5, -2.0));
        EXPECT_EQ(model.grid().flags[c.i][c.j], c.stored) << c.i << "," << c.j;
        // The velocity is written even where the word was refused.
        EXPECT_EQ(model.grid().u[c.i][c.j], 1.5);
        EXPECT_EQ(model.grid().v[c.i][c.j], -2.0);
        ASSERT_EQ(done.before.size(), 1u);
        ASSERT_EQ(done.after.size(), 1u);
        EXPECT_EQ(done.before[0].word, CELL_FLUID);
        EXPECT_EQ(done.before[0].u, 0.0);
        EXPECT_EQ(done.after[0].word, c.stored);
        EXPECT_EQ(done.after[0].v, -2.0);
        EXPECT_FALSE(done.replaced);
    }
}

TEST(GridEditModel, EraseKeepsTheVelocityAndEraseToRestZeroesIt)
{
    GridEditModel model = modelOf(40, 20);
    model.apply(GridChange::paint(5, 5, CELL_NOSLIP_WALL, 2.0, 3.0));
    model.apply(GridChange::paint(6, 5, CELL_NOSLIP_WALL, 2.0, 3.0));
    const AppliedChange click = model.apply(GridChange::erase(5, 5));
    model.apply(GridChange::eraseToRest(6, 5));
    EXPECT_EQ(model.grid().flags[5][5], CELL_FLUID);
    EXPECT_EQ(model.grid().u[5][5], 2.0);
    EXPECT_EQ(model.grid().v[5][5], 3.0);
    EXPECT_EQ(model.grid().flags[6][5], CELL_FLUID);
    EXPECT_EQ(model.grid().u[6][5], 0.0);
    EXPECT_EQ(model.grid().v[6][5], 0.0);
    EXPECT_EQ(click.before[0].word, CELL_NOSLIP_WALL);
    EXPECT_EQ(click.after[0].word, CELL_FLUID);
}

TEST(GridEditModel, DefaultVelocitiesGoIntoFluidCellsAndLeaveEveryWord)
{
    GridEditModel model = modelOf(40, 20);
    model.apply(GridChange::paint(5, 5, CELL_SLIP_WALL, 0.0, 0.0));
    model.apply(GridChange::paint(39, 3, CELL_FLUID, 7.0, 0.0));
    // A word with fluid and inflow bits comes only from a file; it takes the
    // velocity and must not be turned by the border rules.
    Grid odd;
    makeFluidGrid(odd, 40, 20);
    odd.flags[0][3] = CELL_FLUID | CELL_INFLOW;
    auto loaded = std::make_unique<Grid>(std::move(odd));
    GridEditModel fromFile;
    fromFile.apply(GridChange::loadedGrid(std::move(loaded)));
    fromFile.apply(GridChange::defaultVelocities(fromFile.grid(), 3.0, 2.0));
    EXPECT_EQ(fromFile.grid().flags[0][3], CELL_FLUID | CELL_INFLOW);
    EXPECT_EQ(fromFile.grid().u[0][3], 3.0);

    const AppliedChange done = model.apply(GridChange::defaultVelocities(model.grid(), 3.0, 2.0));
    // Which cells take them is forEachDefaultVelocityCell's rule, tested in
    // core; here: one record per such cell, the slip wall left out.
    EXPECT_EQ(model.grid().u[38][18], 3.0);
    EXPECT_EQ(model.grid().u[39][3], 7.0);
    EXPECT_EQ(done.after.size(), 39u * 19u - 1u);
    EXPECT_EQ(done.before.size(), done.after.size());
}

TEST(GridEditModel, WholeGridChangesReplaceAndHandBackTheOldGrid)
{
    GridEditModel model = modelOf(40, 20);
    EXPECT_DOUBLE_EQ(model.grid().dx, 0.05);
    model.apply(GridChange::paint(2, 2, CELL_SLIP_WALL, 0.0, 0.0));

    // A loaded grid's cell size follows its size, whatever it carried.
    auto loaded = std::make_unique<Grid>();
    makeFluidGrid(*loaded, 150, 20);
    loaded->aux1 = 9;
    loaded->aux2 = 4;
    loaded->dx = 42.0;
    AppliedChange load = model.apply(GridChange::loadedGrid(std::move(loaded)));
    ASSERT_TRUE(load.replaced);
    EXPECT_EQ(load.replaced->NX, 40);
    EXPECT_EQ(load.replaced->flags[2][2], CELL_SLIP_WALL);
    EXPECT_TRUE(load.before.empty());
    EXPECT_DOUBLE_EQ(model.grid().dx, 7.0 / 150);

    // New Grid keeps aux1 and aux2; a grid narrower than high keeps width 1.
    model.apply(GridChange::newFluidGrid(model.grid(), 20, 80));
    const Grid& g = model.grid();
    EXPECT_EQ(g.NX, 20);
    EXPECT_EQ(g.NY, 80);
    EXPECT_EQ(g.aux1, 9);
    EXPECT_EQ(g.aux2, 4);
    EXPECT_DOUBLE_EQ(g.dx, 1.0 / 20);
    EXPECT_DOUBLE_EQ(g.dy, 1.0 / 80);
    EXPECT_EQ(g.flags[19][79], CELL_FLUID);
}

// Emitters placed in the simulation window join the grid's own as a whole-
// grid change: the cells, outlines and dye stay as they were, and the grid
// it replaced (for undo) has the emitters it had before.
TEST(GridEditModel, AddedEmittersKeepTheCellsAndHandBackTheGridWithout)
{
    GridEditModel model = modelOf(30, 12);
    model.apply(GridChange::paint(0, 4, CELL_INFLOW, 1.5, 0.0));
    model.apply(GridChange::addedBody(model.grid(), BodyOutline::circle(0.5, 0.2, 0.1)));
    GridChange dyed;
    dyed.cells.push_back({5, 5, false, 0, false, 0.0, 0.0, ScalarPaint{false, false, 0.0, true, 1.0}});
    model.apply(std::move(dyed));
    auto withOne = std::make_unique<Grid>();
    *withOne = std::move(*model.apply(GridChange::addedEmitters(model.grid(), {Emitter{0.1, 0.2, 0.1, 0.2, 3, 0}}))
                              .replaced);
    const Emitters added = {Emitter{0.5, 0.5, 0.5, 0.9, 5, 1}, Emitter{1.0, 0.3, 1.0, 0.3, 0, 2}};
    AppliedChange change = model.apply(GridChange::addedEmitters(model.grid(), added));
    ASSERT_TRUE(change.replaced);
    EXPECT_EQ(change.replaced->emitters.size(), 1u);
    const Grid& g = model.grid();
    ASSERT_EQ(g.emitters.size(), 3u);
    EXPECT_EQ(g.emitters[2], added[1]);
    EXPECT_EQ(g.flags[0][4], change.replaced->flags[0][4]);
    EXPECT_EQ(g.u[0][4], 1.5);
    EXPECT_EQ(g.dx, change.replaced->dx);
    EXPECT_EQ(g.outlines.size(), 1u);
    ASSERT_TRUE(g.scalars.dye);
    EXPECT_EQ(g.scalars.c[5][5], 1.0);
    EXPECT_TRUE(withOne->emitters.empty());
}

}  // namespace

// Painting a temperature switches heat on and holds it in a wall; the dye
// brush writes dye alone; undoing puts both back as they stood.
TEST(GridEditModel, TemperatureAndDyePaintAndRestore)
{
    GridEditModel model = modelOf(6, 5);
    CellEdit hot = GridChange::paint(0, 2, CELL_NOSLIP_WALL, 0.0, 0.0).cells.front();
    hot.scalars.setsTemperature = true;
    hot.scalars.holdsTemperature = true;
    hot.scalars.T = 35.5;
    GridChange change;
    change.cells.push_back(hot);
    const AppliedChange applied = model.apply(std::move(change));
    const GridScalars& s = model.grid().scalars;
    ASSERT_TRUE(s.heat);
    EXPECT_EQ(s.fixedTemperature[0][2], 1);
    EXPECT_EQ(s.T[0][2], 35.5);
    EXPECT_EQ(applied.after.front().T, 35.5);

    CellEdit dye{3, 2, false, 0, false, 0.0, 0.0};
    dye.scalars.setsDye = true;
    dye.scalars.c = 1.0;
    GridChange brush;
    brush.cells.push_back(dye);
    model.apply(std::move(brush));
    ASSERT_TRUE(model.grid().scalars.dye);
    EXPECT_EQ(model.grid().scalars.c[3][2], 1.0);
    EXPECT_EQ(model.grid().flags[3][2], CELL_FLUID);

    model.apply(GridChange::restoring(applied.before));
    EXPECT_EQ(model.grid().scalars.fixedTemperature[0][2], 0);
    EXPECT_EQ(model.grid().scalars.T[0][2], 0.0);
    EXPECT_EQ(model.grid().flags[0][2], CELL_FLUID);
}
