// Shapes, Fill and Import Image in the window, down to the saved file.
#include "test_editor.h"


#include <FXPNGImage.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>
#include <unistd.h>

namespace {

struct EditorShapes : testing::Test {
    std::unique_ptr<TestEditor> editor{openEditor()};
    const std::string file = "/tmp/kelvo-shapes-" + std::to_string(getpid());

    void TearDown() override
    {
        std::remove((file + ".grid").c_str());
        std::remove((file + ".png").c_str());
        std::remove((file + "-bad.png").c_str());
    }
    int flag(int i, int j) const { return editor->editedGrid().flags[i][j]; }
    void drag(int ai, int aj, int bi, int bj, bool right = false) { editor->drag(ai, aj, bi, bj, right); }
};

TEST_F(EditorShapes, ARectangleDrawnWithTheMouseIsSavedAsItsOutline)
{
    editor->choose(editor->noSlip());
    editor->chooseDraw(ShapeKind::Rectangle);
    drag(3, 4, 9, 7);
    const Grid grid = editor->savedGrid(file + ".grid");
    for (int i = 0; i < grid.NX; ++i)
        for (int j = 0; j < grid.NY; ++j) {
            const bool onOutline = i >= 3 && i <= 9 && j >= 4 && j <= 7 &&
                                   (i == 3 || i == 9 || j == 4 || j == 7);
            ASSERT_EQ(grid.flags[i][j], onOutline ? CELL_NOSLIP_WALL : CELL_FLUID) << i << "," << j;
        }
    editor->command(GridEditorWindow::ID_UNDO);  // the whole shape is one step
    EXPECT_EQ(flag(3, 4), CELL_FLUID);
    EXPECT_EQ(flag(9, 7), CELL_FLUID);

    // Let go past the grid's top right corner: the shape stops at the edge.
    int x, y;
    editor->cellPixel(35, 15, x, y);
    editor->leftPress(x, y);
    editor->leftRelease(editor->canvas()->getWidth() - 1, 0);
    EXPECT_EQ(flag(39, 19), CELL_NOSLIP_WALL);
    EXPECT_EQ(flag(35, 19), CELL_NOSLIP_WALL);
    EXPECT_EQ(flag(39, 15), CELL_NOSLIP_WALL);
    EXPECT_EQ(flag(37, 17), CELL_FLUID);
}

// (Shift squaring a Filled Ellipse: tests/gui/editor_bodies_test.cpp.)
TEST_F(EditorShapes, TheRightButtonErasesAShape)
{
    editor->choose(editor->slip());
    editor->chooseDraw(ShapeKind::FilledRectangle);
    drag(12, 4, 20, 10);
    drag(14, 6, 16, 8, true);
    EXPECT_EQ(flag(14, 6), CELL_FLUID);
    EXPECT_EQ(flag(16, 8), CELL_FLUID);
    EXPECT_EQ(flag(17, 7), CELL_SLIP_WALL);
}

TEST_F(EditorShapes, ALineOfInflowCellsFollowsThePaintingRules)
{
    editor->choose(editor->inflow());
    editor->choose(editor->north());
    editor->chooseDraw(ShapeKind::Line);
    drag(0, 5, 0, 8);  // along the west border
    for (int j = 5; j <= 8; ++j)
        EXPECT_EQ(flag(0, j), CELL_INFLOW | DIR_EAST) << j;
    drag(5, 5, 5, 6);  // inside: the chosen direction
    EXPECT_EQ(flag(5, 6), CELL_INFLOW | DIR_NORTH);
    EXPECT_EQ(editor->editedGrid().v[5][6], 1.0);
}

TEST_F(EditorShapes, FillTakesTheConnectedCellsOfOneType)
{
    editor->choose(editor->noSlip());
    editor->chooseDraw(ShapeKind::Rectangle);
    drag(2, 2, 6, 6);
    editor->choose(editor->slip());
    editor->chooseDraw(ShapeKind::Fill);
    int x, y;
    editor->cellPixel(4, 4, x, y);
    editor->leftClick(x, y);
    EXPECT_EQ(flag(4, 4), CELL_SLIP_WALL);
    EXPECT_EQ(flag(3, 5), CELL_SLIP_WALL);
    EXPECT_EQ(flag(2, 2), CELL_NOSLIP_WALL);  // the ring stays
    EXPECT_EQ(flag(8, 8), CELL_FLUID);        // the outside is not reached
    editor->cellPixel(2, 2, x, y);
    editor->rightPress(x, y);
    editor->rightRelease(x, y);
    EXPECT_EQ(flag(6, 4), CELL_FLUID);        // the ring erased
    EXPECT_EQ(flag(4, 4), CELL_SLIP_WALL);
}

// A 20 x 10 PNG: black on the left half, white on the right, and the
// inflow colour in the top-left 4 x 2 pixels.
void writeTestPicture(const std::string& path)
{
    const int W = 20, H = 10;
    std::vector<FXColor> pixels(W * H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            pixels[y * W + x] = x < 4 && y < 2 ? FXRGB(79, 209, 84)
                                : x < W / 2 ? FXRGB(0, 0, 0) : FXRGB(255, 255, 255);
    FXFileStream stream;
    ASSERT_TRUE(stream.open(path.c_str(), FXStreamSave));
    ASSERT_TRUE(fxsavePNG(stream, pixels.data(), W, H));
}

TEST_F(EditorShapes, AnImportedPictureBecomesOneUndoableGrid)
{
    writeTestPicture(file + ".png");
    editor->nextImage = (file + ".png").c_str();
    editor->command(GridEditorWindow::ID_IMPORT_IMAGE);
    EXPECT_EQ(editor->proposedAcross, 20);
    EXPECT_EQ(editor->proposedUp, 10);  // the picture's aspect
    ASSERT_TRUE(editor->messages.empty());
    ASSERT_EQ(editor->editedGrid().NX, 20);
    ASSERT_EQ(editor->editedGrid().NY, 10);
    EXPECT_EQ(flag(5, 5), CELL_NOSLIP_WALL);
    EXPECT_EQ(flag(15, 5), CELL_FLUID);
    EXPECT_EQ(flag(1, 9), CELL_INFLOW | DIR_SOUTH);  // top border, pointing in
    EXPECT_EQ(flag(1, 8), CELL_INFLOW | DIR_EAST);

    editor->importAcross = 10;
    editor->importUp = 20;
    editor->command(GridEditorWindow::ID_IMPORT_IMAGE);
    ASSERT_EQ(editor->editedGrid().NX, 10);
    ASSERT_EQ(editor->editedGrid().NY, 20);
    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_EQ(editor->editedGrid().NX, 20);
    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_EQ(editor->editedGrid().NX, 40);  // the start-up grid

    std::ofstream(file + ".grid") << "not a picture";
    editor->nextImage = (file + ".grid").c_str();
    editor->command(GridEditorWindow::ID_IMPORT_IMAGE);
    std::ofstream(file + "-bad.png") << "not a picture";
    editor->nextImage = (file + "-bad.png").c_str();
    editor->command(GridEditorWindow::ID_IMPORT_IMAGE);
    EXPECT_EQ(editor->messages.size(), 2u);
    EXPECT_EQ(editor->editedGrid().NX, 40);
}

// The example picture shipped with the grids: one pixel per cell at the
// size the dialog proposes.
TEST_F(EditorShapes, TheExamplePictureBecomesAChannelWithACylinder)
{
    editor->nextImage = KELVO_GRIDS_DIR "/cylinder.png";
    editor->command(GridEditorWindow::ID_IMPORT_IMAGE);
    ASSERT_TRUE(editor->messages.empty());
    ASSERT_EQ(editor->editedGrid().NX, 60);
    ASSERT_EQ(editor->editedGrid().NY, 24);
    EXPECT_EQ(flag(0, 12), CELL_INFLOW | DIR_EAST);
    EXPECT_EQ(flag(59, 12), CELL_OUTFLOW | DIR_EAST);
    EXPECT_EQ(flag(30, 0), CELL_NOSLIP_WALL);
    EXPECT_EQ(flag(30, 23), CELL_NOSLIP_WALL);
    EXPECT_EQ(flag(18, 12), CELL_NOSLIP_WALL);  // the cylinder
    EXPECT_EQ(flag(30, 12), CELL_FLUID);
}

}  // namespace
