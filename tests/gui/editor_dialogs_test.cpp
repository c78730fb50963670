// New Grid and About, run as the user runs them.
#include "gui/import_image_dialog.h"
#include "test_editor.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct EditorDialogs : testing::Test {
    std::unique_ptr<TestEditor> editor{openEditor()};
};

TEST_F(EditorDialogs, AcceptedNewGridReplacesTheGridWithFluidOfTheChosenSize)
{
    editor->choose(editor->noSlip());
    int x, y;
    editor->cellPixel(4, 4, x, y);
    editor->leftPress(x, y);
    const DialogOutcome outcome = runNewGrid(*editor, 60, 30, true);
    ASSERT_TRUE(outcome.seen);
    EXPECT_EQ(outcome.shownNX, 40);
    EXPECT_EQ(outcome.shownNY, 20);
    const Grid& grid = editor->editedGrid();
    ASSERT_EQ(grid.NX, 60);
    ASSERT_EQ(grid.NY, 30);
    EXPECT_DOUBLE_EQ(grid.dx, 2.0 / 60);
    EXPECT_DOUBLE_EQ(grid.dy, 1.0 / 30);
    int fluid = 0;
    for (int i = 0; i < 60; ++i)
        for (int j = 0; j < 30; ++j)
            fluid += grid.flags[i][j] == CELL_FLUID && grid.u[i][j] == 0.0 ? 1 : 0;
    EXPECT_EQ(fluid, 1800);
    // The drag that was on when the dialog opened is over.
    EXPECT_FALSE(editor->draggingLeft());
    // The tools are re-read: the painted word is the checked tool's.
    EXPECT_EQ(editor->word(), CELL_NOSLIP_WALL);
}

TEST_F(EditorDialogs, CancelledNewGridKeepsTheGrid)
{
    editor->choose(editor->noSlip());
    int x, y;
    editor->cellPixel(4, 4, x, y);
    editor->leftClick(x, y);
    const DialogOutcome outcome = runNewGrid(*editor, 60, 30, false);
    ASSERT_TRUE(outcome.seen);
    EXPECT_EQ(editor->editedGrid().NX, 40);
    EXPECT_EQ(editor->editedGrid().flags[4][4], CELL_NOSLIP_WALL);
}

TEST_F(EditorDialogs, NewGridSpinnersClampIntoTheirRanges)
{
    runNewGrid(*editor, 5000, 5, true);
    EXPECT_EQ(editor->editedGrid().NX, 1024);
    EXPECT_EQ(editor->editedGrid().NY, 20);
    const DialogOutcome outcome = runNewGrid(*editor, 10, 5000, true);
    EXPECT_EQ(outcome.shownNX, 1024);
    EXPECT_EQ(editor->editedGrid().NX, 20);
    EXPECT_EQ(editor->editedGrid().NY, 512);
    // 20 x 512 is narrower than high: the width stays one, not zero.
    EXPECT_DOUBLE_EQ(editor->editedGrid().dx, 1.0 / 20);
}

// The import size reaches New Grid's largest grid, 1024 x 512, and no
// further, with the picture's aspect kept or not.
TEST_F(EditorDialogs, ImportSizeReachesTheLargestGrid)
{
    struct Case {
        int width, height;  // the picture
        bool keepAspect;
        int across, up;     // typed, 0 for not typed
        int wantAcross, wantUp;
    };
    const Case cases[] = {
        {2048, 1024, true, 1024, 0, 1024, 512},
        {2048, 1024, true, 5000, 0, 1024, 512},  // across held at 1024
        {1000, 1000, true, 1024, 0, 1024, 512},  // up held at 512
        {100, 1000, true, 0, 900, 51, 512},      // up held, across follows
        {3000, 1000, true, 0, 400, 1024, 400},   // across would be 1200
        {300, 200, false, 1024, 512, 1024, 512},
        {300, 200, false, 2, 2, 3, 3},           // at least 3 each way
    };
    for (const Case& c : cases) {
        ImportImageDialog dialog(editor.get(), c.width, c.height);
        dialog.setKeepAspect(c.keepAspect);
        if (c.across)
            dialog.setAcross(c.across);
        if (c.up)
            dialog.setUp(c.up);
        EXPECT_EQ(dialog.across(), c.wantAcross) << c.width << "x" << c.height;
        EXPECT_EQ(dialog.up(), c.wantUp) << c.width << "x" << c.height;
    }
}

TEST_F(EditorDialogs, AboutOpensAndCloses)
{
    editor->rightPress(100, 100);
    const DialogOutcome outcome = runAbout(*editor);
    EXPECT_TRUE(outcome.seen);
    EXPECT_FALSE(editor->draggingRight());
}

}  // namespace

namespace {

TEST_F(EditorDialogs, TheCloseBoxEndsTheEventLoopLikeQuit)
{
    bool closed = true;
    EXPECT_EQ(runLoopAndCloseBox(*editor, closed), 0);
    // The window is left to the program's end, as with Quit.
    EXPECT_FALSE(closed);
}

}  // namespace
