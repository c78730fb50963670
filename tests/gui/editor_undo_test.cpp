// Undo and redo in the window: the keys, the greyed-out buttons, one step
// per stroke, the "*" of the title and the question before unsaved changes
// are thrown away.
#include "test_editor.h"

#include "gui/ui_text.h"
#include "io/grid_file.h"

#include <fxkeys.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

struct EditorUndo : testing::Test {
    std::unique_ptr<TestEditor> editor{openEditor()};

    int flag(int i, int j) const { return editor->editedGrid().flags[i][j]; }
    void pixelOf(int i, int j, int& x, int& y) const { editor->cellPixel(i, j, x, y); }
    void clickCell(int i, int j)
    {
        int x, y;
        pixelOf(i, j, x, y);
        editor->leftClick(x, y);
        settle();
    }
    // "*Program" without a file, "name.grid* - Program" with one.
    bool starred() const { return editor->getTitle().find('*') >= 0; }
    bool undoOn() const { return editor->undoButton()->isEnabled() && editor->undoMenuCommand()->isEnabled(); }
    bool redoOn() const { return editor->redoButton()->isEnabled() && editor->redoMenuCommand()->isEnabled(); }
    std::string tempGrid() const { return "/tmp/kelvo-undo-" + std::to_string(getpid()) + ".grid"; }
};

TEST_F(EditorUndo, KeysUndoAndRedoAPaintedCellAndTheButtonsFollow)
{
    EXPECT_FALSE(undoOn());
    EXPECT_FALSE(redoOn());
    editor->choose(editor->noSlip());
    clickCell(5, 6);
    ASSERT_EQ(flag(5, 6), CELL_NOSLIP_WALL);
    EXPECT_TRUE(undoOn());
    EXPECT_FALSE(redoOn());

    editor->key(KEY_z, CONTROLMASK);
    EXPECT_EQ(flag(5, 6), CELL_FLUID);
    EXPECT_FALSE(undoOn());
    EXPECT_TRUE(redoOn());
    editor->key(KEY_y, CONTROLMASK);
    EXPECT_EQ(flag(5, 6), CELL_NOSLIP_WALL);
    editor->key(KEY_z, CONTROLMASK);
    editor->key(KEY_Z, CONTROLMASK | SHIFTMASK);
    EXPECT_EQ(flag(5, 6), CELL_NOSLIP_WALL);
    EXPECT_FALSE(redoOn());
    editor->key(KEY_z, 0);  // without Ctrl nothing happens
    EXPECT_EQ(flag(5, 6), CELL_NOSLIP_WALL);
}

TEST_F(EditorUndo, AStrokeIsOneStepAndCalculateItAnother)
{
    editor->choose(editor->slip());
    int x0, y0, x1, y1;
    pixelOf(3, 3, x0, y0);
    pixelOf(8, 3, x1, y1);
    editor->leftPress(x0, y0);
    for (int k = 1; k <= 5; ++k)
        editor->motion(x0 + (x1 - x0) * k / 5, y0);
    editor->leftRelease(x1, y1);
    for (int i = 3; i <= 8; ++i)
        ASSERT_EQ(flag(i, 3), CELL_SLIP_WALL) << i;
    editor->defaultU()->setValue(2);
    editor->command(GridEditorWindow::ID_CALCULATE);
    EXPECT_EQ(editor->editedGrid().u[1][1], 2.0);

    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_EQ(editor->editedGrid().u[1][1], 0.0);
    EXPECT_EQ(flag(8, 3), CELL_SLIP_WALL);
    editor->command(GridEditorWindow::ID_UNDO);
    for (int i = 3; i <= 8; ++i)
        EXPECT_EQ(flag(i, 3), CELL_FLUID) << i;
    EXPECT_FALSE(undoOn());
}

// The cells painted into a running flow come back into the grid, when the
// user says so, as one step that one undo takes back.
TEST_F(EditorUndo, CellsPaintedIntoTheFlowComeBackAsOneStep)
{
    const std::vector<CellPaint> painted = {{5, 6, CELL_NOSLIP_WALL}, {5, 7, CELL_NOSLIP_WALL},
                                            {6, 7, CELL_SLIP_WALL}, {3, 3, CELL_INFLOW | DIR_EAST, 1.5, 0.0},
                                            {5, 6, CELL_FLUID}};
    editor->copyAnswer = false;
    editor->copyPaintedCells(painted);
    EXPECT_EQ(editor->copyQuestions, 1);
    EXPECT_EQ(flag(5, 7), CELL_FLUID);
    EXPECT_FALSE(undoOn());

    editor->copyAnswer = true;
    editor->copyPaintedCells(painted);
    EXPECT_EQ(flag(5, 6), CELL_FLUID);  // the later paint of the cell wins
    EXPECT_EQ(flag(5, 7), CELL_NOSLIP_WALL);
    EXPECT_EQ(flag(6, 7), CELL_SLIP_WALL);
    EXPECT_EQ(flag(3, 3) & CELL_INFLOW, CELL_INFLOW);
    EXPECT_EQ(editor->editedGrid().u[3][3], 1.5);
    settle();
    EXPECT_TRUE(starred());
    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_EQ(flag(5, 7), CELL_FLUID);
    EXPECT_EQ(flag(6, 7), CELL_FLUID);
    EXPECT_EQ(flag(3, 3), CELL_FLUID);
    EXPECT_FALSE(undoOn());

    editor->copyPaintedCells({});  // nothing painted: no question
    EXPECT_EQ(editor->copyQuestions, 2);
}

// Dye painted into a running flow comes back as the grid's starting dye,
// the cells' types kept, as one step; an undo leaves no dye in them.
TEST_F(EditorUndo, DyePaintedIntoTheFlowComesBackAsOneStep)
{
    const std::vector<DyePaint> dye = {{4, 4}, {5, 4}, {6, 5}};
    editor->copyDyeAnswer = false;
    editor->copyPaintedDye(dye);
    EXPECT_EQ(editor->copyDyeQuestions, 1);
    EXPECT_FALSE(editor->editedGrid().scalars.dye);
    EXPECT_FALSE(undoOn());

    editor->copyDyeAnswer = true;
    editor->copyPaintedDye(dye);
    const GridScalars& scalars = editor->editedGrid().scalars;
    ASSERT_TRUE(scalars.dye);
    for (const DyePaint& cell : dye) {
        EXPECT_EQ(scalars.c[cell.i][cell.j], 1.0) << cell.i << "," << cell.j;
        EXPECT_EQ(flag(cell.i, cell.j), CELL_FLUID);
    }
    EXPECT_EQ(scalars.c[5][5], 0.0);
    editor->command(GridEditorWindow::ID_UNDO);
    for (const DyePaint& cell : dye)
        EXPECT_EQ(editor->editedGrid().scalars.c[cell.i][cell.j], 0.0);
    EXPECT_FALSE(undoOn());

    editor->copyPaintedDye({});  // none painted: no question
    EXPECT_EQ(editor->copyDyeQuestions, 2);
}

TEST_F(EditorUndo, TheTitleIsStarredWhileTheGridDiffersFromItsFile)
{
    EXPECT_FALSE(starred());
    editor->choose(editor->noSlip());
    clickCell(2, 2);
    EXPECT_TRUE(starred());
    editor->nextFile = tempGrid().c_str();
    editor->command(GridEditorWindow::ID_SAVE_GRID);
    EXPECT_FALSE(starred());
    clickCell(3, 2);
    EXPECT_TRUE(starred());
    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_FALSE(starred());  // back to what the file holds
    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_TRUE(starred());
    editor->command(GridEditorWindow::ID_REDO);
    // The settings are saved with the grid, so they count too.
    editor->reynolds()->setValue(700);
    settle();
    EXPECT_TRUE(starred());
    editor->reynolds()->setValue(200);
    settle();
    EXPECT_FALSE(starred());
    std::remove(tempGrid().c_str());
}

TEST_F(EditorUndo, UnsavedChangesAreAskedAboutBeforeTheyAreThrownAway)
{
    // Nothing unsaved: no question.
    runNewGrid(*editor, 30, 25, true);
    EXPECT_EQ(editor->saveQuestions, 0);

    editor->choose(editor->noSlip());
    clickCell(4, 4);
    editor->saveAnswer = SaveAnswer::Cancel;
    const DialogOutcome cancelled = runNewGrid(*editor, 50, 40, true);
    EXPECT_EQ(editor->saveQuestions, 1);
    EXPECT_FALSE(cancelled.seen);
    EXPECT_EQ(editor->editedGrid().NX, 30);
    editor->nextFile = "/nonexistent-folder/x.grid";
    editor->command(GridEditorWindow::ID_LOAD_GRID);
    editor->command(GridEditorWindow::ID_QUIT);  // still running afterwards
    EXPECT_EQ(editor->saveQuestions, 3);
    EXPECT_TRUE(editor->fileDialogs.empty());
    EXPECT_EQ(flag(4, 4), CELL_NOSLIP_WALL);

    // Save: the grid goes to the chosen file first, then New goes ahead.
    editor->saveAnswer = SaveAnswer::Save;
    editor->nextFile = tempGrid().c_str();
    runNewGrid(*editor, 50, 40, true);
    EXPECT_EQ(editor->editedGrid().NX, 50);
    Grid saved;
    GridFileSettings settings;
    ASSERT_EQ(readGridFile(tempGrid(), saved, settings), GridFileStatus::Ok);
    EXPECT_EQ(saved.NX, 30);
    EXPECT_EQ(saved.flags[4][4], CELL_NOSLIP_WALL);

    // Discard, and New is undone as one step.
    clickCell(6, 6);
    editor->saveAnswer = SaveAnswer::Discard;
    runNewGrid(*editor, 20, 20, true);
    EXPECT_EQ(editor->editedGrid().NX, 20);
    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_EQ(editor->editedGrid().NX, 50);
    EXPECT_EQ(flag(6, 6), CELL_NOSLIP_WALL);
    std::remove(tempGrid().c_str());
}

}  // namespace
