// Undo and redo over the edited grid: strokes as one step, grids swapped in
// and out, the depth limit, and the saved mark behind the title's "*".
#include "gui/edit_history.h"

#include <gtest/gtest.h>

namespace {

struct History : testing::Test {
    GridEditModel model;
    EditHistory history{5};

    void SetUp() override { model.apply(GridChange::newFluidGrid(model.grid(), 10, 8)); }
    void paint(int32_t i, int32_t j, int32_t word, double u = 0.0)
    {
        history.record(model.apply(GridChange::paint(i, j, word, u, 0.0)));
    }
    int32_t word(int32_t i, int32_t j) const { return model.grid().flags[i][j]; }
};

TEST_F(History, AStrokeIsOneStepAndEachCellComesBackExactly)
{
    history.beginGroup();
    paint(2, 2, CELL_NOSLIP_WALL, 0.5);
    paint(3, 2, CELL_NOSLIP_WALL);
    paint(2, 2, CELL_SLIP_WALL);  // passed over again
    history.endGroup();
    paint(0, 4, CELL_INFLOW | DIR_NORTH, 1.0);  // the border rule turns it east
    ASSERT_EQ(history.undoCount(), 2u);

    ASSERT_TRUE(history.undo(model));
    EXPECT_EQ(word(0, 4), CELL_FLUID);
    EXPECT_EQ(word(2, 2), CELL_SLIP_WALL);
    ASSERT_TRUE(history.undo(model));
    EXPECT_EQ(word(2, 2), CELL_FLUID);
    EXPECT_EQ(word(3, 2), CELL_FLUID);
    EXPECT_EQ(model.grid().u[2][2], 0.0);
    EXPECT_FALSE(history.undo(model));

    ASSERT_TRUE(history.redo(model));
    EXPECT_EQ(word(2, 2), CELL_SLIP_WALL);
    EXPECT_EQ(word(3, 2), CELL_NOSLIP_WALL);
    ASSERT_TRUE(history.redo(model));
    EXPECT_EQ(word(0, 4), CELL_INFLOW | DIR_EAST);
    EXPECT_EQ(model.grid().u[0][4], 1.0);
    EXPECT_FALSE(history.canRedo());
}

TEST_F(History, StepsThatChangeNothingAreNoStepsAndANewStepEndsTheRedos)
{
    paint(1, 1, CELL_FLUID);  // already fluid
    history.beginGroup();
    history.endGroup();
    EXPECT_FALSE(history.canUndo());

    paint(1, 1, CELL_SLIP_WALL);
    paint(1, 2, CELL_SLIP_WALL);
    history.undo(model);
    ASSERT_TRUE(history.canRedo());
    paint(5, 5, CELL_NOSLIP_WALL);
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.undoCount(), 2u);
}

TEST_F(History, AReplacedGridIsSwappedBackAndForth)
{
    paint(4, 4, CELL_NOSLIP_WALL);
    history.record(model.apply(GridChange::newFluidGrid(model.grid(), 30, 20)));
    EXPECT_EQ(model.grid().NX, 30);

    ASSERT_TRUE(history.undo(model));
    EXPECT_EQ(model.grid().NX, 10);
    EXPECT_EQ(word(4, 4), CELL_NOSLIP_WALL);
    ASSERT_TRUE(history.redo(model));
    EXPECT_EQ(model.grid().NX, 30);
    EXPECT_EQ(model.grid().NY, 20);
    history.undo(model);
    history.undo(model);
    EXPECT_EQ(model.grid().NX, 10);
    EXPECT_EQ(word(4, 4), CELL_FLUID);
}

TEST_F(History, OnlyTheNewestStepsAreKept)
{
    for (int32_t k = 0; k < 8; ++k)
        paint(k, 1, CELL_SLIP_WALL);
    EXPECT_EQ(history.undoCount(), 5u);
    while (history.undo(model)) {
    }
    EXPECT_EQ(word(2, 1), CELL_SLIP_WALL);  // older than the kept steps
    EXPECT_EQ(word(3, 1), CELL_FLUID);
    EXPECT_EQ(EditHistory().undoCount(), 0u);
    EXPECT_GE(EditHistory::defaultDepth, 200u);
}

TEST_F(History, TheSavedMarkFollowsUndoRedoAndIsLostWithItsStep)
{
    EXPECT_FALSE(history.modified());
    paint(1, 1, CELL_SLIP_WALL);
    EXPECT_TRUE(history.modified());
    history.markSaved();
    EXPECT_FALSE(history.modified());
    paint(2, 1, CELL_SLIP_WALL);
    EXPECT_TRUE(history.modified());
    history.undo(model);
    EXPECT_FALSE(history.modified());  // back to what the file holds
    history.undo(model);
    EXPECT_TRUE(history.modified());
    paint(3, 3, CELL_SLIP_WALL);       // the saved state's step is gone
    history.undo(model);
    EXPECT_TRUE(history.modified());

    history.clear(false);
    EXPECT_TRUE(history.modified());
    EXPECT_FALSE(history.canUndo());
    history.clear(true);
    EXPECT_FALSE(history.modified());

    for (int32_t k = 0; k < 6; ++k)    // the mark falls off the depth limit
        paint(k, 5, CELL_NOSLIP_WALL);
    while (history.undo(model)) {
    }
    EXPECT_TRUE(history.modified());
}

// A body is one step with its outline; painting over it takes the outline
// away in the same step as the cell, and undo brings both back. Grid 10 x 8
// (dx = 1/10, dy = 1/8): the circle about (4.5, 4) cells of radius 1.9 dy
// covers cells (4, 3) and (4, 4) wholly and holds the centre of (4, 2).
TEST_F(History, BodiesComeAndGoWithTheirCells)
{
    const double dx = model.grid().dx, dy = model.grid().dy;
    const BodyOutline body = BodyOutline::circle(4.5 * dx, 4.0 * dy, 1.9 * dy);
    history.record(model.apply(GridChange::addedBody(model.grid(), body)));
    ASSERT_EQ(model.grid().outlines.size(), 1u);
    EXPECT_EQ(word(4, 4), CELL_NOSLIP_WALL);
    EXPECT_EQ(word(4, 2), CELL_FLUID);  // centre inside, cell not wholly covered

    const struct {
        int32_t i, j, word;
        bool keeps;
    } edits[] = {
        {4, 3, CELL_NOSLIP_WALL, true},  // the wall the body is made of
        {8, 6, CELL_FLUID, true},        // outside it
        {4, 2, CELL_FLUID, false},       // fluid with its centre inside: erased
        {4, 4, CELL_SLIP_WALL, false},   // another type over it
    };
    for (const auto& e : edits) {
        paint(e.i, e.j, e.word);
        EXPECT_EQ(model.grid().outlines.size(), e.keeps ? 1u : 0u) << e.i << "," << e.j;
        if (!e.keeps) {
            ASSERT_TRUE(history.undo(model));
            EXPECT_EQ(model.grid().outlines.size(), 1u);
        }
    }
    const std::size_t steps = history.undoCount();
    history.record(model.apply(GridChange::removedBody(model.grid(), 0)));
    EXPECT_TRUE(model.grid().outlines.empty());
    EXPECT_EQ(word(4, 4), CELL_FLUID);
    EXPECT_EQ(history.undoCount(), steps + 1);
    ASSERT_TRUE(history.undo(model));
    EXPECT_EQ(word(4, 4), CELL_NOSLIP_WALL);
    ASSERT_EQ(model.grid().outlines.size(), 1u);
    EXPECT_EQ(model.grid().outlines[0].radius, 1.9 * dy);
}

}  // namespace
