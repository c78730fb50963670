#include "test_editor.h"

#include "gui/grid_drawing.h"
#include "io/grid_file.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

// Runs the event loop until nothing is pending.
void settle()
{
    testApp()->forceRefresh();
    testApp()->runWhileEvents();
    testApp()->flush(TRUE);
    testApp()->runWhileEvents();
}

// A fresh editor window, created and shown.
TestEditor* openEditor()
{
    TestEditor* editor = new TestEditor(testApp());
    editor->create();
    settle();
    return editor;
}

// A radio button checks itself and reports to its target.
void TestEditor::choose(FXRadioButton* radio)
{
    radio->setCheck(TRUE);
    handle(radio, FXSEL(SEL_COMMAND, ID_CELL_TOOL), reinterpret_cast<void*>(static_cast<FXuval>(1)));
    settle();
}

// A text field reports Enter with its text.
void TestEditor::enter(FXTextField* field, const char* text)
{
    field->setText(text);
    handle(field, FXSEL(SEL_COMMAND, ID_CELL_TOOL), const_cast<FXchar*>(field->getText().text()));
    settle();
}

void TestEditor::accept(FXTextField* field, const char* text)
{
    field->setText(text);
    field->getTarget()->handle(field, FXSEL(SEL_COMMAND, field->getSelector()),
                               const_cast<FXchar*>(field->getText().text()));
    settle();
}

// A window command.
void TestEditor::command(FXSelector id)
{
    handle(this, FXSEL(SEL_COMMAND, id), nullptr);
    settle();
}

// One mouse event of the canvas at (x, y).
static void canvasEvent(TestEditor* editor, FXSelector type, int x, int y, FXuint state = 0, int code = 0,
                        int clicks = 1)
{
    FXEvent event;
    event.type = type;
    event.click_count = clicks;
    event.code = code;
    event.state = state;
    event.win_x = x;
    event.win_y = y;
    editor->handle(editor->canvas(), FXSEL(type, GridEditorWindow::ID_GRID_CANVAS), &event);
}

// Button and motion events, as the canvas forwards them.
void TestEditor::leftPress(int x, int y) { canvasEvent(this, SEL_LEFTBUTTONPRESS, x, y); }
void TestEditor::leftRelease(int x, int y, FXuint state)
{
    canvasEvent(this, SEL_LEFTBUTTONRELEASE, x, y, state);
}
void TestEditor::rightPress(int x, int y) { canvasEvent(this, SEL_RIGHTBUTTONPRESS, x, y); }
void TestEditor::rightRelease(int x, int y) { canvasEvent(this, SEL_RIGHTBUTTONRELEASE, x, y); }
void TestEditor::motion(int x, int y) { canvasEvent(this, SEL_MOTION, x, y); }
void TestEditor::wheel(int x, int y, int amount)
{
    canvasEvent(this, SEL_MOUSEWHEEL, x, y, 0, amount);
    settle();
}
void TestEditor::middlePress(int x, int y) { canvasEvent(this, SEL_MIDDLEBUTTONPRESS, x, y); }
void TestEditor::middleRelease(int x, int y)
{
    canvasEvent(this, SEL_MIDDLEBUTTONRELEASE, x, y);
    settle();
}

// The import dialog itself is built and read, then the test's size (if
// any) is typed into it.
#include "gui/import_image_dialog.h"
bool TestEditor::chooseImportSize(int width, int height, int& across, int& up)
{
    ImportImageDialog dialog(this, width, height);
    proposedAcross = dialog.across();
    proposedUp = dialog.up();
    if (importAcross > 0) {
        dialog.setKeepAspect(false);
        dialog.setAcross(importAcross);
        dialog.setUp(importUp);
    }
    across = dialog.across();
    up = dialog.up();
    return true;
}

void TestEditor::chooseDraw(ShapeKind kind)
{
    drawChoice->setCurrentItem(static_cast<FXint>(kind));
    handle(drawChoice, FXSEL(SEL_COMMAND, ID_DRAW_KIND), reinterpret_cast<void*>(static_cast<FXival>(kind)));
    settle();
}

// A key event as the window receives it from the display.
void TestEditor::key(FXuint code, FXuint state)
{
    FXEvent event;
    event.type = SEL_KEYPRESS;
    event.code = code;
    event.state = state;
    event.text = FXString::null;
    handle(this, FXSEL(SEL_KEYPRESS, 0), &event);
    event.type = SEL_KEYRELEASE;
    handle(this, FXSEL(SEL_KEYRELEASE, 0), &event);
    settle();
}

void TestEditor::doubleClick(int x, int y)
{
    canvasEvent(this, SEL_LEFTBUTTONPRESS, x, y, 0, 0, 2);
    canvasEvent(this, SEL_LEFTBUTTONRELEASE, x, y, 0, 0, 2);
}

// The real dialog, read back with the test's texts typed in.
#include "gui/airfoil_dialog.h"
bool TestEditor::runAirfoilDialog(const AirfoilChoice& shown, AirfoilChoice& typed)
{
    ++airfoilDialogs;
    AirfoilDialog dialog(this, shown);
    dialog.create();
    if (airfoilDigits)
        dialog.setDigits(airfoilDigits);
    if (airfoilChord)
        dialog.setChord(airfoilChord);
    if (airfoilAngle)
        dialog.setAngle(airfoilAngle);
    if (airfoilCancel)
        return false;
    typed = dialog.choice();
    return true;
}

void TestEditor::drag(int ai, int aj, int bi, int bj, bool right, FXuint state)
{
    int x0, y0, x1, y1;
    cellPixel(ai, aj, x0, y0);
    cellPixel(bi, bj, x1, y1);
    right ? rightPress(x0, y0) : leftPress(x0, y0);
    motion((x0 + x1) / 2, (y0 + y1) / 2);
    motion(x1, y1);
    right ? rightRelease(x1, y1) : leftRelease(x1, y1, state);
    settle();
}

Grid TestEditor::savedGrid(const std::string& path)
{
    nextFile = path.c_str();
    command(ID_SAVE_GRID);
    Grid grid;
    GridFileSettings settings;
    EXPECT_EQ(readGridFile(path, grid, settings), GridFileStatus::Ok);
    return grid;
}

// Press and release at one place.
void TestEditor::leftClick(int x, int y)
{
    leftPress(x, y);
    leftRelease(x, y);
}

// The pixel at the centre of cell (i, j): the inverse of the viewport
// transform applied to the middle of the cell's rectangle.
void TestEditor::cellPixel(int i, int j, int& x, int& y) const
{
    const CellRect r = cellRect(view, model.grid().NX, model.grid().NY, i, j);
    const double W = glCanvas->getWidth();
    const double H = glCanvas->getHeight();
    x = static_cast<int>(std::floor((0.5 * (r.x0 + r.x1) + 1.0) / 2.0 * W));
    y = static_cast<int>(std::floor((1.0 - 0.5 * (r.y0 + r.y1)) / 2.0 * H));
}

// Draws the grid as the canvas's repaint does and reads the pixel from the
// back buffer before the swap (the front buffer of a window is not readable
// everywhere).
void TestEditor::readPixel(int x, int y, int rgb[3])
{
    unsigned char bytes[3] = {0, 0, 0};
    if (beginGridFrame(glCanvas)) {
        drawGrid(model.grid(), view, cellTexture);
        glFinish();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, glCanvas->getHeight() - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, bytes);
        endGridFrame(glCanvas, glVisual);
    }
    for (int k = 0; k < 3; ++k)
        rgb[k] = bytes[k];
}

#include "gui/about_fox.h"
#include "gui/new_grid.h"

// Drives a modal dialog from a timeout that fires inside its event loop.
class DialogDriver : public FXObject {
    FXDECLARE(DialogDriver)
public:
    enum { ID_DRIVE = 1 };
    DialogOutcome outcome;
    int nx = 0, ny = 0;
    bool accept = true;
    bool expectAbout = false;

    // Reads and sets the dialog, then closes it.
    long onDrive(FXObject*, FXSelector, void*)
    {
        FXWindow* modal = testApp()->getModalWindow();
        FXDialogBox* box = dynamic_cast<FXDialogBox*>(modal);
        if (NewGrid* dialog = dynamic_cast<NewGrid*>(modal)) {
            outcome.seen = !expectAbout;
            outcome.shownNX = dialog->getNX();
            outcome.shownNY = dialog->getNY();
            dialog->setNX(nx);
            dialog->setNY(ny);
        } else if (dynamic_cast<AboutFox*>(modal)) {
            outcome.seen = expectAbout;
        }
        if (box)
            box->handle(this, FXSEL(SEL_COMMAND, accept ? FXDialogBox::ID_ACCEPT : FXDialogBox::ID_CANCEL),
                        nullptr);
        return 1;
    }
};

FXDEFMAP(DialogDriver) DialogDriverMap[] = {
    FXMAPFUNC(SEL_TIMEOUT, DialogDriver::ID_DRIVE, DialogDriver::onDrive),
};
FXIMPLEMENT(DialogDriver, FXObject, DialogDriverMap, ARRAYNUMBER(DialogDriverMap))

// New Grid, driven while it runs.
DialogOutcome runNewGrid(TestEditor& editor, int nx, int ny, bool accept)
{
    DialogDriver driver;
    driver.nx = nx;
    driver.ny = ny;
    driver.accept = accept;
    testApp()->addTimeout(&driver, DialogDriver::ID_DRIVE, 50);
    editor.command(GridEditorWindow::ID_NEW_GRID);
    testApp()->removeTimeout(&driver, DialogDriver::ID_DRIVE);
    return driver.outcome;
}

// About, closed with Ok while it runs.
DialogOutcome runAbout(TestEditor& editor)
{
    DialogDriver driver;
    driver.expectAbout = true;
    testApp()->addTimeout(&driver, DialogDriver::ID_DRIVE, 50);
    editor.command(GridEditorWindow::ID_ABOUT);
    testApp()->removeTimeout(&driver, DialogDriver::ID_DRIVE);
    return driver.outcome;
}

// Presses the close box from inside the event loop; a second timeout stops
// a loop that the close did not end.
class CloseDriver : public FXObject {
    FXDECLARE(CloseDriver)
public:
    enum { ID_CLOSE = 1, ID_GIVE_UP };
    TestEditor* editor = nullptr;
    bool closed = false;

    long onClose(FXObject*, FXSelector, void*)
    {
        closed = editor->close(TRUE);
        return 1;
    }
    long onGiveUp(FXObject*, FXSelector, void*)
    {
        testApp()->exit(7);
        return 1;
    }
};

FXDEFMAP(CloseDriver) CloseDriverMap[] = {
    FXMAPFUNC(SEL_TIMEOUT, CloseDriver::ID_CLOSE,   CloseDriver::onClose),
    FXMAPFUNC(SEL_TIMEOUT, CloseDriver::ID_GIVE_UP, CloseDriver::onGiveUp),
};
FXIMPLEMENT(CloseDriver, FXObject, CloseDriverMap, ARRAYNUMBER(CloseDriverMap))

// The event loop with the close box pressed after 50 ms.
int runLoopAndCloseBox(TestEditor& editor, bool& closed)
{
    CloseDriver driver;
    driver.editor = &editor;
    testApp()->addTimeout(&driver, CloseDriver::ID_CLOSE, 50);
    testApp()->addTimeout(&driver, CloseDriver::ID_GIVE_UP, 3000);
    const int code = testApp()->run();
    testApp()->removeTimeout(&driver, CloseDriver::ID_CLOSE);
    testApp()->removeTimeout(&driver, CloseDriver::ID_GIVE_UP);
    closed = driver.closed;
    return code;
}
