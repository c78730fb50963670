// Which cells the editor's shapes cover and how far a fill reaches.
#include "gui/shape_cells.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

// A shape drawn as text, the top row first: '#' for a covered cell.
std::string picture(const std::vector<CellIndex>& cells, int32_t NX, int32_t NY)
{
    std::string rows;
    for (int32_t j = NY - 1; j >= 0; --j) {
        for (int32_t i = 0; i < NX; ++i)
            rows += std::count(cells.begin(), cells.end(), CellIndex{i, j}) ? '#' : '.';
        rows += '\n';
    }
    return rows;
}

// A stroke's cells go from a to b, each beside the one before (no diagonal
// step), through the cells the line between the centres crosses.
TEST(ShapeCells, AStrokeWalksSideBySideFromStartToEnd)
{
    const struct {
        CellIndex a, b;
        const char* expected;
    } cases[] = {
        {{0, 0}, {5, 2},
         "....##\n"
         ".####.\n"
         "##....\n"},
        {{0, 2}, {2, 0},  // through the corners: the cell across the vertical side first
         "##....\n"
         ".##...\n"
         "..#...\n"},
        {{4, 1}, {4, 1},
         "......\n"
         "....#.\n"
         "......\n"},
        {{5, 1}, {0, 1},
         "......\n"
         "######\n"
         "......\n"},
    };
    for (const auto& c : cases) {
        const std::vector<CellIndex> cells = strokeCells(c.a, c.b);
        EXPECT_EQ(picture(cells, 6, 3), c.expected) << c.a.i << "," << c.a.j;
        ASSERT_FALSE(cells.empty());
        EXPECT_EQ(cells.front(), c.a);
        EXPECT_EQ(cells.back(), c.b);
        for (size_t k = 1; k < cells.size(); ++k)
            EXPECT_EQ(std::abs(cells[k].i - cells[k - 1].i) + std::abs(cells[k].j - cells[k - 1].j), 1) << k;
    }
}

TEST(ShapeCells, ShapesCoverTheExpectedCellsEachOnce)
{
    const struct {
        ShapeKind kind;
        CellIndex a, b;
        const char* expected;
    } cases[] = {
        {ShapeKind::Line, {0, 0}, {5, 2},
         "....##\n"
         "..##..\n"
         "##....\n"},
        {ShapeKind::Line, {5, 2}, {5, 0},  // vertical, drawn downward
         ".....#\n"
         ".....#\n"
         ".....#\n"},
        {ShapeKind::Rectangle, {4, 0}, {1, 2},
         ".####.\n"
         ".#..#.\n"
         ".####.\n"},
        {ShapeKind::FilledRectangle, {1, 1}, {2, 2},
         ".##...\n"
         ".##...\n"
         "......\n"},
        {ShapeKind::FilledEllipse, {0, 0}, {5, 2},
         ".####.\n"
         "######\n"
         ".####.\n"},
        {ShapeKind::FilledEllipse, {3, 1}, {3, 1},
         "......\n"
         "...#..\n"
         "......\n"},
        {ShapeKind::Fill, {0, 0}, {5, 2},
         "......\n"
         "......\n"
         "......\n"},
    };
    for (const auto& c : cases) {
        const std::vector<CellIndex> cells = shapeCells(c.kind, c.a, c.b);
        EXPECT_EQ(picture(cells, 6, 3), c.expected) << static_cast<int>(c.kind);
        for (const CellIndex& cell : cells)
            EXPECT_EQ(std::count(cells.begin(), cells.end(), cell), 1);
    }
    EXPECT_EQ(shapeCells(ShapeKind::FilledEllipse, {0, 0}, {9, 9}).size(), 80u);  // about pi * 5 * 5
}

TEST(ShapeCells, ShiftMakesSquaresAndLinesAtMultiplesOf45Degrees)
{
    const struct {
        ShapeKind kind;
        CellIndex b, expected;
    } cases[] = {
        {ShapeKind::Rectangle, {13, 12}, {13, 13}},
        {ShapeKind::FilledEllipse, {7, 2}, {2, 2}},   // towards lower left
        {ShapeKind::FilledRectangle, {12, 3}, {17, 3}},
        {ShapeKind::Line, {20, 12}, {20, 10}},        // nearly horizontal
        {ShapeKind::Line, {11, 19}, {10, 19}},        // nearly vertical
        {ShapeKind::Line, {16, 15}, {16, 16}},        // nearly diagonal
        {ShapeKind::Line, {6, 13}, {6, 14}},          // diagonal up and left
        {ShapeKind::Cells, {1, 1}, {1, 1}},
    };
    for (const auto& c : cases) {
        const CellIndex got = constrainCorner(c.kind, {10, 10}, c.b);
        EXPECT_EQ(got.i, c.expected.i) << c.b.i << "," << c.b.j;
        EXPECT_EQ(got.j, c.expected.j) << c.b.i << "," << c.b.j;
    }
    EXPECT_EQ(clipToGrid({{-1, 0}, {0, 0}, {3, 2}, {2, 3}}, 3, 3).size(), 1u);
}

TEST(ShapeCells, FillReachesTheFourConnectedCellsOfTheSameType)
{
    Grid grid;
    makeFluidGrid(grid, 6, 4);
    // A wall ring around (1..2, 1..2) closed only diagonally at (3, 3).
    for (CellIndex wall : std::vector<CellIndex>{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}, {3, 1},
                                                 {0, 2}, {3, 2}, {0, 3}, {1, 3}, {2, 3}})
        grid.setCell(wall.i, wall.j, CELL_NOSLIP_WALL);
    grid.setCell(2, 2, CELL_INFLOW | DIR_EAST);  // another type inside

    EXPECT_EQ(picture(floodFillCells(grid, 1, 1), 6, 4),
              "......\n"
              ".#....\n"
              ".##...\n"
              "......\n");
    EXPECT_EQ(floodFillCells(grid, 4, 0).size(), 9u);  // the fluid outside, (3, 3) included
    EXPECT_EQ(floodFillCells(grid, 0, 0).size(), 11u);
    EXPECT_TRUE(floodFillCells(grid, 6, 0).empty());
}

}  // namespace
