// Painting cells with the mouse, "Cell Info", and the picture on the canvas.
#include "gui/cell_texture.h"
#include "test_editor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

struct EditorPainting : testing::Test {
    std::unique_ptr<TestEditor> editor{openEditor()};

    int flag(int i, int j) const { return editor->editedGrid().flags[i][j]; }
    double u(int i, int j) const { return editor->editedGrid().u[i][j]; }
    double v(int i, int j) const { return editor->editedGrid().v[i][j]; }
    void clickCell(int i, int j)
    {
        int x, y;
        editor->cellPixel(i, j, x, y);
        editor->leftClick(x, y);
    }
    // Every flag word of the grid, for comparing before and after.
    std::vector<int> allFlags() const
    {
        std::vector<int> words;
        const Grid& g = editor->editedGrid();
        for (int i = 0; i < g.NX; ++i)
            for (int j = 0; j < g.NY; ++j)
                words.push_back(g.flags[i][j]);
        return words;
    }
};

// Clicks sample points all over the canvas with the no-slip tool. Where the
// pixel under the pointer shows fluid, exactly one cell must change and the
// pixel must then show the wall; where it shows the background, nothing may
// change. Returns the number of cells painted.
int expectPaintingFollowsThePicture(TestEditor& editor, int stepX, int stepY)
{
    editor.choose(editor.noSlip());
    const int W = editor.canvas()->getWidth();
    const int H = editor.canvas()->getHeight();
    const Grid& grid = editor.editedGrid();
    int painted = 0;
    for (int x = 1; x < W; x += stepX)
        for (int y = 2; y < H; y += stepY) {
            int before[3], after[3];
            editor.readPixel(x, y, before);
            const bool fluid = before[0] == 217 && before[1] == 219 && before[2] == 255;
            const bool background = before[0] == 117 && before[1] == 107 && before[2] == 105;
            if (!fluid && !background)
                continue;  // a grid line or a cell painted before
            int changed = 0;
            std::vector<int> words;
            for (int i = 0; i < grid.NX; ++i)
                for (int j = 0; j < grid.NY; ++j)
                    words.push_back(grid.flags[i][j]);
            editor.leftClick(x, y);
            size_t k = 0;
            for (int i = 0; i < grid.NX; ++i)
                for (int j = 0; j < grid.NY; ++j)
                    changed += grid.flags[i][j] != words[k++] ? 1 : 0;
            editor.readPixel(x, y, after);
            if (background) {
                EXPECT_EQ(changed, 0) << "strip at " << x << "," << y;
                continue;
            }
            EXPECT_EQ(changed, 1) << "pixel " << x << "," << y;
            EXPECT_EQ(after[0], 79) << "pixel " << x << "," << y;
            EXPECT_EQ(after[2], 84) << "pixel " << x << "," << y;
            painted += changed;
        }
    return painted;
}

// A colour given as glColor3f takes it, as the frame buffer stores it.
void expectColour(const int rgb[3], double r, double g, double b, const char* what)
{
    EXPECT_NEAR(rgb[0], r * 255, 1.0) << what;
    EXPECT_NEAR(rgb[1], g * 255, 1.0) << what;
    EXPECT_NEAR(rgb[2], b * 255, 1.0) << what;
}

TEST_F(EditorPainting, InflowClickStoresTheCheckedDirectionAndVelocity)
{
    editor->choose(editor->inflow());
    editor->choose(editor->north());
    clickCell(10, 7);
    EXPECT_EQ(flag(10, 7), CELL_INFLOW | DIR_NORTH);
    EXPECT_EQ(u(10, 7), 0.0);
    EXPECT_EQ(v(10, 7), 1.0);
    // On the west border the direction is turned into the domain.
    clickCell(0, 7);
    EXPECT_EQ(flag(0, 7), CELL_INFLOW | DIR_EAST);
    EXPECT_EQ(v(0, 7), 1.0);
    EXPECT_FALSE(editor->draggingLeft());
}

TEST_F(EditorPainting, LeftDragPaintsEveryCellThePointerCrosses)
{
    editor->choose(editor->move());
    editor->enter(editor->uText(), "1.0");
    int x, y;
    editor->cellPixel(3, 19, x, y);
    editor->leftPress(x, y);
    EXPECT_TRUE(editor->draggingLeft());
    for (int i = 4; i <= 12; ++i) {
        editor->cellPixel(i, 19, x, y);
        editor->motion(x, y);
    }
    editor->leftRelease(x, y);
    EXPECT_FALSE(editor->draggingLeft());
    for (int i = 3; i <= 12; ++i) {
        EXPECT_EQ(flag(i, 19), CELL_MOVING_WALL) << i;
        EXPECT_EQ(u(i, 19), 1.0) << i;
        EXPECT_EQ(v(i, 19), 0.0) << i;
    }
    EXPECT_EQ(flag(13, 19), CELL_FLUID);
    EXPECT_EQ(flag(2, 19), CELL_FLUID);
    // Motion without a button held paints nothing.
    editor->cellPixel(20, 19, x, y);
    editor->motion(x, y);
    EXPECT_EQ(flag(20, 19), CELL_FLUID);
}

// The pointer jumps several cells between two motion events: every cell on
// the way is painted (left) or erased to rest (right), side by side with no
// diagonal gap, and Undo takes the whole stroke back at once. A stroke that
// leaves the grid paints up to its edge.
TEST_F(EditorPainting, AStrokeThatJumpsPaintsEveryCellOnItsWay)
{
    const struct {
        bool erases;
        CellIndex from, to;
        std::vector<CellIndex> path;  // beside from and to
    } cases[] = {
        {false, {3, 3}, {9, 3}, {{4, 3}, {5, 3}, {6, 3}, {7, 3}, {8, 3}}},
        {false, {10, 2}, {10, 6}, {{10, 3}, {10, 4}, {10, 5}}},
        {false, {2, 10}, {5, 12}, {{3, 10}, {3, 11}, {4, 11}, {4, 12}}},
        {false, {14, 14}, {11, 11}, {{13, 14}, {13, 13}, {12, 13}, {12, 12}, {11, 12}}},
        {true, {20, 5}, {25, 8}, {{21, 5}, {21, 6}, {22, 6}, {23, 6}, {23, 7}, {24, 7}, {24, 8}}},
    };
    for (const auto& c : cases) {
        editor->choose(c.erases ? editor->move() : editor->noSlip());
        if (c.erases) {  // something to erase: a block of moving walls
            editor->enter(editor->uText(), "2");
            for (int i = 18; i <= 27; ++i)
                for (int j = 3; j <= 10; ++j)
                    clickCell(i, j);
        }
        const std::vector<int> before = allFlags();
        int x0, y0, x1, y1;
        editor->cellPixel(c.from.i, c.from.j, x0, y0);
        editor->cellPixel(c.to.i, c.to.j, x1, y1);
        c.erases ? editor->rightPress(x0, y0) : editor->leftPress(x0, y0);
        editor->motion(x1, y1);
        c.erases ? editor->rightRelease(x1, y1) : editor->leftRelease(x1, y1);

        std::vector<CellIndex> stroke = c.path;
        stroke.push_back(c.from);
        stroke.push_back(c.to);
        const int painted = c.erases ? CELL_FLUID : CELL_NOSLIP_WALL;
        for (const CellIndex& cell : stroke)
            EXPECT_EQ(flag(cell.i, cell.j), painted) << c.from.i << "," << c.from.j << ": " << cell.i << "," << cell.j;
        int changed = 0;
        const std::vector<int> after = allFlags();
        for (size_t k = 0; k < after.size(); ++k)
            changed += after[k] != before[k] ? 1 : 0;
        EXPECT_EQ(changed, static_cast<int>(stroke.size())) << c.from.i << "," << c.from.j;
        if (c.erases) {  // the pressed cell keeps its velocity, the dragged ones are at rest
            EXPECT_EQ(u(c.from.i, c.from.j), 2.0);
            for (const CellIndex& cell : c.path)
                EXPECT_EQ(u(cell.i, cell.j), 0.0) << cell.i << "," << cell.j;
        }
        editor->command(GridEditorWindow::ID_UNDO);
        EXPECT_EQ(allFlags(), before) << c.from.i << "," << c.from.j;
    }
}

TEST_F(EditorPainting, AStrokeLeavingTheGridPaintsUpToItsEdge)
{
    editor->choose(editor->noSlip());
    int x, y;
    editor->cellPixel(34, 10, x, y);
    editor->leftPress(x, y);
    editor->motion(editor->canvas()->getWidth() - 1, y);  // past the east border
    editor->leftRelease(editor->canvas()->getWidth() - 1, y);
    for (int i = 34; i <= 39; ++i)
        EXPECT_EQ(flag(i, 10), CELL_NOSLIP_WALL) << i;
    EXPECT_EQ(flag(33, 10), CELL_FLUID);
}

TEST_F(EditorPainting, RightClickMakesFluidAndKeepsTheVelocityUntilDragged)
{
    editor->choose(editor->move());
    editor->enter(editor->uText(), "2");
    clickCell(8, 8);
    editor->choose(editor->noSlip());
    clickCell(8, 8);
    editor->choose(editor->move());
    editor->enter(editor->uText(), "2");
    clickCell(8, 8);
    ASSERT_EQ(u(8, 8), 2.0);

    int x, y;
    editor->cellPixel(8, 8, x, y);
    editor->rightPress(x, y);
    EXPECT_EQ(flag(8, 8), CELL_FLUID);
    EXPECT_EQ(u(8, 8), 2.0);
    EXPECT_TRUE(editor->draggingRight());
    editor->motion(x + 1, y);
    EXPECT_EQ(u(8, 8), 0.0);
    editor->rightRelease(x, y);
    EXPECT_FALSE(editor->draggingRight());
}

TEST_F(EditorPainting, OutflowOffTheBorderLeavesTheWordButTakesTheFields)
{
    editor->choose(editor->move());
    editor->enter(editor->uText(), "3");
    clickCell(5, 5);
    editor->choose(editor->outflow());
    clickCell(5, 5);
    EXPECT_EQ(flag(5, 5), CELL_MOVING_WALL);
    EXPECT_EQ(u(5, 5), 0.0);
    clickCell(39, 5);
    EXPECT_EQ(flag(39, 5), CELL_OUTFLOW | DIR_EAST);
}

TEST_F(EditorPainting, TheStripAroundTheGridPaintsNothing)
{
    editor->choose(editor->noSlip());
    const std::vector<int> before = allFlags();
    const int W = editor->canvas()->getWidth();
    const int H = editor->canvas()->getHeight();
    const int points[][2] = {{0, 0}, {2, H / 2}, {W / 2, 1}, {W - 2, H / 2}, {W / 2, H - 2}};
    for (const auto& p : points) {
        editor->leftPress(p[0], p[1]);
        editor->motion(p[0], p[1]);
        editor->leftRelease(p[0], p[1]);
    }
    EXPECT_EQ(allFlags(), before);
}

TEST_F(EditorPainting, ThePaintedCellIsTheCellDrawnUnderThePointer)
{
    EXPECT_GT(expectPaintingFollowsThePicture(*editor, 23, 29), 100);
}

TEST_F(EditorPainting, OnAHundredAndTwentyColumnsThePointerStillHitsTheDrawnCell)
{
    const DialogOutcome outcome = runNewGrid(*editor, 120, 80, true);
    ASSERT_TRUE(outcome.seen);
    ASSERT_EQ(editor->editedGrid().NX, 120);
    // The middle of the leftmost drawn column is column 0.
    editor->choose(editor->noSlip());
    int x, y;
    editor->cellPixel(0, 40, x, y);
    editor->leftClick(static_cast<int>(editor->canvas()->getWidth() * (0.025 + 0.95 * 0.5 / 120)), y);
    EXPECT_EQ(flag(0, 40), CELL_NOSLIP_WALL);
    EXPECT_EQ(flag(1, 40), CELL_FLUID);
    EXPECT_GT(expectPaintingFollowsThePicture(*editor, 41, 43), 30);
}

// Cells well under a pixel: the texture's nearest texel and the pick agree,
// and a painted cell shows at once (only its row is sent again).
TEST_F(EditorPainting, OnTheLargestGridThePointerStillHitsTheDrawnCell)
{
    ASSERT_TRUE(runNewGrid(*editor, 1024, 512, true).seen);
    ASSERT_EQ(editor->editedGrid().NX, 1024);
    ASSERT_EQ(editor->editedGrid().NY, 512);
    EXPECT_GT(expectPaintingFollowsThePicture(*editor, 37, 41), 100);
}

// The rows a texture update sends again: from the first changed row to
// past the last, none when nothing changed.
TEST(CellTextureRows, SpanFromTheFirstToPastTheLastChangedRow)
{
    struct Case {
        std::vector<int> changedCells;  // indices into a 3-wide, 4-high buffer
        int first, last;
    };
    const Case cases[] = {
        {{}, 0, 0}, {{0}, 0, 1}, {{11}, 3, 4}, {{4, 5}, 1, 2}, {{2, 9}, 0, 4}, {{3, 8}, 1, 3},
    };
    for (const Case& c : cases) {
        const std::vector<uint32_t> before(12, 7);
        std::vector<uint32_t> after = before;
        for (int k : c.changedCells)
            after[k] = 8;
        const RowSpan span = changedRows(before, after, 3);
        EXPECT_EQ(span.first, c.first) << c.changedCells.size();
        EXPECT_EQ(span.last, c.last) << c.changedCells.size();
    }
}

TEST_F(EditorPainting, CellInfoShowsTheCellUnderThePointerInRedWhenMoving)
{
    editor->choose(editor->move());
    editor->enter(editor->uText(), "1.5");
    clickCell(12, 6);
    int x, y;
    editor->cellPixel(12, 6, x, y);
    editor->motion(x, y);
    EXPECT_STREQ(editor->info(0)->getText().text(), "i: 12");
    EXPECT_STREQ(editor->info(1)->getText().text(), "j: 6");
    EXPECT_STREQ(editor->info(2)->getText().text(), "u: 1.5000");
    EXPECT_STREQ(editor->info(3)->getText().text(), "v: 0.0000");
    EXPECT_EQ(editor->info(2)->getTextColor(), FXRGB(255, 0, 0));
    EXPECT_EQ(editor->info(3)->getTextColor(), FXRGB(0, 0, 0));

    editor->cellPixel(13, 6, x, y);
    editor->motion(x, y);
    EXPECT_STREQ(editor->info(0)->getText().text(), "i: 13");
    EXPECT_STREQ(editor->info(2)->getText().text(), "u: 0.0000");
    EXPECT_EQ(editor->info(2)->getTextColor(), FXRGB(0, 0, 0));
    // Off the grid the lines keep their last content.
    editor->motion(0, 0);
    EXPECT_STREQ(editor->info(0)->getText().text(), "i: 13");
}

TEST_F(EditorPainting, CanvasShowsBackgroundFluidAndAnInflowCellWithItsArrow)
{
    int rgb[3];
    editor->readPixel(1, 1, rgb);
    expectColour(rgb, 0.46, 0.42, 0.41, "background");
    int x, y;
    editor->cellPixel(20, 10, x, y);
    editor->readPixel(x + 2, y + 3, rgb);
    expectColour(rgb, 0.85, 0.86, 1.0, "fluid");

    editor->choose(editor->inflow());
    clickCell(0, 10);
    ASSERT_EQ(flag(0, 10), CELL_INFLOW | DIR_EAST);
    editor->cellPixel(0, 10, x, y);
    // Below the shaft, between the barbs: the cell's own green.
    editor->readPixel(x, y + 4, rgb);
    expectColour(rgb, 0.31, 0.82, 0.33, "inflow");
    // The shaft runs through the middle of the cell: white in the column
    // at the cell's centre, one or two pixels high.
    int white = 0;
    for (int dy = -3; dy <= 3; ++dy) {
        editor->readPixel(x, y + dy, rgb);
        white += (rgb[0] == 255 && rgb[1] == 255 && rgb[2] == 255) ? 1 : 0;
    }
    EXPECT_GE(white, 1);
    EXPECT_LE(white, 3);
}

TEST_F(EditorPainting, WallsShowTheirOwnColours)
{
    int x, y, rgb[3];
    editor->choose(editor->noSlip());
    clickCell(5, 5);
    editor->choose(editor->slip());
    clickCell(6, 5);
    editor->choose(editor->outflow());
    clickCell(39, 5);
    editor->cellPixel(5, 5, x, y);
    editor->readPixel(x, y, rgb);
    expectColour(rgb, 0.31, 0.32, 0.33, "no-slip wall");
    editor->cellPixel(6, 5, x, y);
    editor->readPixel(x, y, rgb);
    expectColour(rgb, 0.51, 0.52, 0.53, "slip wall");
    editor->cellPixel(39, 5, x, y);
    editor->readPixel(x, y + 4, rgb);
    expectColour(rgb, 0.81, 0.32, 0.33, "outflow");
}

}  // namespace
