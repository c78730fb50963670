// The editor's canvas grows with the window, keeps its cells square, zooms
// with the wheel and the View keys, pans with the middle button, and lets
// every cell of the largest grid be painted.
#include "gui/editor_layout.h"
#include "test_editor.h"

#include <fxkeys.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

struct EditorView : testing::Test {
    std::unique_ptr<TestEditor> editor{openEditor()};

    int flag(int i, int j) const { return editor->editedGrid().flags[i][j]; }
    // A cell's width and height on the screen, in pixels.
    double cellPixelsAcross() const
    {
        const GridView& v = editor->gridView();
        return (v.right - v.left) / editor->editedGrid().NX * 0.5 * editor->canvas()->getWidth();
    }
    double cellPixelsUp() const
    {
        const GridView& v = editor->gridView();
        return (v.top - v.bottom) / editor->editedGrid().NY * 0.5 * editor->canvas()->getHeight();
    }
    // Paints cell (i, j) by a click at the centre of its pixel.
    void clickCell(int i, int j)
    {
        int x, y;
        editor->cellPixel(i, j, x, y);
        editor->leftClick(x, y);
    }
};

// At the designed size the window is laid out as it always was; made
// larger, the canvas takes every added pixel, the tab book stays at its
// right and Calculate It stays centred under it.
TEST_F(EditorView, TheCanvasTakesTheRoomOfALargerWindow)
{
    using namespace EditorLayout;
    struct Size {
        int width, height;
    };
    for (const Size& size : {Size{windowWidth, windowHeight}, Size{1200, 800}, Size{windowWidth, windowHeight}}) {
        editor->resize(size.width, size.height);
        settle();
        const int dx = size.width - windowWidth, dy = size.height - windowHeight;
        EXPECT_EQ(editor->canvasBox()->getX(), canvasX);
        EXPECT_EQ(editor->canvasBox()->getY(), canvasY);
        EXPECT_EQ(editor->canvasBox()->getWidth(), canvasWidth + dx);
        EXPECT_EQ(editor->canvasBox()->getHeight(), canvasHeight + dy);
        EXPECT_EQ(editor->canvas()->getWidth(), canvasWidth + dx - 12);  // groove and padding
        EXPECT_EQ(editor->tabs()->getX(), tabBookX + dx);
        EXPECT_EQ(editor->tabs()->getY(), tabBookY);
        EXPECT_EQ(editor->calculateButton()->getX(), calcButtonX + dx / 2);
        EXPECT_EQ(editor->calculateButton()->getY(), calcButtonY + dy);
        // Square cells, the grid fitted: 95% of the width for 40 x 20.
        EXPECT_NEAR(cellPixelsAcross(), cellPixelsUp(), 1e-3);
        EXPECT_NEAR(cellPixelsAcross() * 40, 0.95 * editor->canvas()->getWidth(), 1e-2);
    }
    // The smallest size the window manager allows is the designed one.
    EXPECT_EQ(editor->getDefaultWidth(), windowWidth);
    EXPECT_EQ(editor->getDefaultHeight(), windowHeight);
}

// A wheel notch enlarges the cells by a quarter and keeps the cell under
// the pointer there (once the grid is larger than the canvas both ways);
// Zoom Out, 1:1 and Fit from the View menu's keys.
TEST_F(EditorView, TheWheelZoomsAboutThePointerAndTheKeysFitAndShowOneToOne)
{
    const double fitted = cellPixelsAcross();
    int x, y;
    editor->cellPixel(7, 4, x, y);
    editor->wheel(x, y, 3 * 120);
    EXPECT_NEAR(cellPixelsAcross(), 1.953125 * fitted, 1e-3);
    EXPECT_NEAR(cellPixelsUp(), 1.953125 * fitted, 1e-3);
    editor->choose(editor->noSlip());
    editor->leftClick(x, y);
    EXPECT_EQ(flag(7, 4), CELL_NOSLIP_WALL);

    for (int k = 0; k < 3; ++k)
        editor->key(KEY_minus, CONTROLMASK);
    EXPECT_NEAR(cellPixelsAcross(), fitted, 1e-3);
    editor->key(KEY_1, CONTROLMASK);
    EXPECT_NEAR(cellPixelsAcross(), 1.0, 1e-3);
    editor->key(KEY_0, CONTROLMASK);
    EXPECT_NEAR(cellPixelsAcross(), fitted, 1e-3);
    EXPECT_TRUE(editor->canvasView().fitted());
}

// On 1024 x 512 cells are about half a pixel: at Fit the pixels along the
// grid's edge paint the ring, and zoomed in and dragged with the middle
// button the far corner comes under the pointer and can be painted.
TEST_F(EditorView, EveryRingCellOfTheLargestGridCanBePainted)
{
    ASSERT_TRUE(runNewGrid(*editor, 1024, 512, true).seen);
    editor->choose(editor->noSlip());
    const CanvasView& view = editor->canvasView();
    const int H = editor->canvas()->getHeight();
    const auto wallsInColumn = [&](int i) {
        int walls = 0;
        for (int j = 0; j < 512; ++j)
            walls += flag(i, j) == CELL_NOSLIP_WALL;
        return walls;
    };
    // The pixels the grid's left and right edges pass through.
    editor->leftClick(static_cast<int>(view.originX()), H / 2);
    EXPECT_EQ(wallsInColumn(0), 1);
    editor->leftClick(static_cast<int>(view.canvasX(1024)), H / 2);
    EXPECT_EQ(wallsInColumn(1023), 1);
    EXPECT_EQ(wallsInColumn(1), 0);
    EXPECT_EQ(wallsInColumn(1022), 0);

    // Eight notches: about 3.3 pixels a cell.
    for (int k = 0; k < 8; ++k)
        editor->wheel(10, 10, 120);
    EXPECT_GT(cellPixelsAcross(), 3.0);
    clickCell(0, 511);
    EXPECT_EQ(flag(0, 511), CELL_NOSLIP_WALL);
    EXPECT_EQ(flag(1, 511), CELL_FLUID);
    // Dragged far to the upper left, the lower right corner shows.
    editor->middlePress(500, 300);
    editor->motion(100, 100);
    editor->motion(-4000, -3000);
    editor->middleRelease(-4000, -3000);
    int x, y;
    editor->cellPixel(1023, 0, x, y);
    ASSERT_GE(x, 0);
    ASSERT_LT(x, editor->canvas()->getWidth());
    ASSERT_LT(y, H);
    editor->leftClick(x, y);
    EXPECT_EQ(flag(1023, 0), CELL_NOSLIP_WALL);
    EXPECT_EQ(flag(1022, 0), CELL_FLUID);
    EXPECT_EQ(flag(1023, 1), CELL_FLUID);
}

}  // namespace
