#include "core/grid.h"

#include <gtest/gtest.h>

TEST(Array2D, AllocatesZeroFilledRowsAndReleasesToEmpty)
{
    Array2D<double> a(3, 4);
    ASSERT_EQ(a.rowCount(), 3);
    ASSERT_EQ(a.colCount(), 4);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_EQ(a[i][j], 0.0);
    a[2][3] = 7.5;
    EXPECT_EQ(a[2][3], 7.5);
    a.release();
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(a.rowCount(), 0);
    a.release();  // releasing an empty array frees nothing
    EXPECT_TRUE(a.empty());
}

TEST(Array2D, ZeroOrNegativeRowCountAllocatesNothing)
{
    Array2D<int32_t> a(0, 5);
    EXPECT_TRUE(a.empty());
    Array2D<int32_t> b(-2, 5);
    EXPECT_TRUE(b.empty());
}

TEST(Array2D, ReallocationStartsFromZero)
{
    Array2D<int32_t> a(2, 2);
    a[1][1] = 9;
    a.allocate(3, 3);
    EXPECT_EQ(a[1][1], 0);
    Array2D<int32_t> moved(std::move(a));
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(moved.rowCount(), 3);
}

TEST(Grid, NewGridIsAllFluidAtRestWithStartUpCellSize)
{
    Grid g;
    makeFluidGrid(g, 40, 20);
    EXPECT_EQ(g.dx, 0.05);
    EXPECT_EQ(g.dy, 0.05);
    for (int i = 0; i < 40; ++i)
        for (int j = 0; j < 20; ++j) {
            EXPECT_EQ(g.flags[i][j], CELL_FLUID);
            EXPECT_EQ(g.u[i][j], 0.0);
            EXPECT_EQ(g.v[i][j], 0.0);
            EXPECT_EQ(g.p[i][j], 0.0);
        }
}

TEST(Grid, ClearZeroesHeaderAndArrays)
{
    Grid g;
    makeFluidGrid(g, 30, 20);
    g.aux1 = 4;
    g.clear();
    EXPECT_EQ(g.NX, 0);
    EXPECT_EQ(g.aux1, 0);
    EXPECT_EQ(g.dx, 0.0);
    EXPECT_TRUE(g.flags.empty());
    EXPECT_TRUE(g.p.empty());
}

TEST(CellSize, WidthIsWholeCellsOfHeight)
{
    EXPECT_EQ(cellSizeFor(45, 20).dx, 2.0 / 45);
    EXPECT_EQ(cellSizeFor(45, 20).dy, 0.05);
    EXPECT_EQ(cellSizeFor(50, 20).dx, 0.04);
    EXPECT_EQ(cellSizeFor(30, 20).dx, 1.0 / 30);
    EXPECT_EQ(cellSizeFor(60, 20).dx, 3.0 / 60);
}

// A grid taller than wide used to get a zero width and divide by zero.
TEST(CellSize, NarrowGridKeepsAWidthOfOne)
{
    const CellSize s = cellSizeFor(20, 80);
    EXPECT_EQ(s.dx, 1.0 / 20);
    EXPECT_EQ(s.dy, 1.0 / 80);
}

class SetCell : public ::testing::Test {
protected:
    void SetUp() override { makeFluidGrid(g, 40, 20); }
    Grid g;
};

TEST_F(SetCell, InflowOnTheBorderPointsIntoTheDomain)
{
    g.setCell(0, 5, CELL_INFLOW);
    EXPECT_EQ(g.flags[0][5], 0x050);
    g.setCell(39, 5, CELL_INFLOW | DIR_EAST);
    EXPECT_EQ(g.flags[39][5], 0x090);
    g.setCell(3, 0, CELL_INFLOW | DIR_EAST);
    EXPECT_EQ(g.flags[3][0], 0x110);
    g.setCell(3, 19, CELL_INFLOW | DIR_EAST);
    EXPECT_EQ(g.flags[3][19], 0x210);
    g.setCell(0, 0, CELL_INFLOW);  // the later (south) test wins at a corner
    EXPECT_EQ(g.flags[0][0], 0x110);
}

TEST_F(SetCell, InflowOffTheBorderKeepsItsDirection)
{
    g.setCell(3, 3, CELL_INFLOW | DIR_SOUTH);
    EXPECT_EQ(g.flags[3][3], 0x210);
}

TEST_F(SetCell, OutflowPointsOutOfTheDomainFirstTestDecides)
{
    g.setCell(0, 5, CELL_OUTFLOW);
    EXPECT_EQ(g.flags[0][5], 0x0A0);
    g.setCell(39, 5, CELL_OUTFLOW);
    EXPECT_EQ(g.flags[39][5], 0x060);
    g.setCell(3, 0, CELL_OUTFLOW);
    EXPECT_EQ(g.flags[3][0], 0x220);
    g.setCell(3, 19, CELL_OUTFLOW);
    EXPECT_EQ(g.flags[3][19], 0x120);
    g.setCell(0, 0, CELL_OUTFLOW);
    EXPECT_EQ(g.flags[0][0], 0x0A0);
}

TEST_F(SetCell, OutflowOffTheBorderLeavesTheCellAsItWas)
{
    g.setCell(3, 3, CELL_OUTFLOW);
    EXPECT_EQ(g.flags[3][3], CELL_FLUID);
    g.setCell(4, 4, CELL_NOSLIP_WALL);
    g.setCell(4, 4, CELL_OUTFLOW | DIR_EAST);
    EXPECT_EQ(g.flags[4][4], CELL_NOSLIP_WALL);
}

TEST_F(SetCell, WallWordsAreStoredUnchanged)
{
    g.setCell(0, 0, CELL_MOVING_WALL);
    EXPECT_EQ(g.flags[0][0], CELL_MOVING_WALL);
    g.setCell(10, 10, CELL_SLIP_WALL);
    EXPECT_EQ(g.flags[10][10], CELL_SLIP_WALL);
}

TEST(DefaultVelocities, WrittenIntoFluidCellsExceptLastColumnAndRow)
{
    Grid g;
    makeFluidGrid(g, 40, 20);
    g.setCell(5, 5, CELL_NOSLIP_WALL);
    g.u[39][3] = 7.0;
    writeDefaultVelocities(g, 3.0, 2.0);
    EXPECT_EQ(g.u[0][0], 3.0);
    EXPECT_EQ(g.v[38][18], 2.0);
    EXPECT_EQ(g.u[39][3], 7.0);   // last column untouched
    EXPECT_EQ(g.u[10][19], 0.0);  // last row untouched
    EXPECT_EQ(g.u[5][5], 0.0);    // walls untouched
}
