// The editor canvas: repaint, resize, and painting cells with the mouse.
#include "gui/grid_editor_window.h"

#include "gui/decimal_text.h"
#include "gui/editor_layout.h"
#include "gui/grid_drawing.h"
#include "gui/ui_text.h"

#include <GL/gl.h>

// Repaint: the whole grid.
long GridEditorWindow::onPaintCanvas(FXObject*, FXSelector, void*)
{
    paintGridCanvas(glCanvas, glVisual, &model.grid(), view);
    return 1;
}

// Resize: the viewport follows the canvas, then a repaint.
long GridEditorWindow::onConfigureCanvas(FXObject*, FXSelector, void*)
{
    if (glCanvas->makeCurrent()) {
        glViewport(0, 0, glCanvas->getWidth(), glCanvas->getHeight());
        glCanvas->makeNonCurrent();
        paintGridCanvas(glCanvas, glVisual, &model.grid(), view);
    }
    return 1;
}

// Writes the current tool into cell (i, j) with the velocity of the fields.
void GridEditorWindow::paintToolCell(FXint i, FXint j)
{
    model.apply(GridChange::paint(i, j, paintWord, readDecimal(uField->getText().text()),
                                  readDecimal(vField->getText().text())));
}

PickedCell GridEditorWindow::cellUnderPointer(const FXEvent* event) const
{
    const Grid& grid = model.grid();
    return pickCell(view, grid.NX, grid.NY, event->win_x, event->win_y, glCanvas->getWidth(), glCanvas->getHeight());
}

// Left press: paint the cell under the pointer, start a drag, then run the
// motion step (which draws and, as the drag is on, paints once more).
long GridEditorWindow::onLeftPress(FXObject* sender, FXSelector sel, void* ptr)
{
    if (glCanvas->getWidth() == 0 || glCanvas->getHeight() == 0)
        return 1;
    const PickedCell cell = cellUnderPointer(static_cast<const FXEvent*>(ptr));
    if (cell.onGrid)
        paintToolCell(cell.i, cell.j);
    leftDragging = true;
    onMotion(sender, sel, ptr);
    return 1;
}

// Left release: the drag ends.
long GridEditorWindow::onLeftRelease(FXObject*, FXSelector, void*)
{
    leftDragging = false;
    return 1;
}

// Right press: the cell under the pointer becomes fluid and keeps its
// velocity; the drag starts after the motion step, so only later motion
// zeroes velocities.
long GridEditorWindow::onRightPress(FXObject* sender, FXSelector sel, void* ptr)
{
    if (glCanvas->getWidth() == 0 || glCanvas->getHeight() == 0)
        return 1;
    const PickedCell cell = cellUnderPointer(static_cast<const FXEvent*>(ptr));
    if (cell.onGrid)
        model.apply(GridChange::erase(cell.i, cell.j));
    onMotion(sender, sel, ptr);
    rightDragging = true;
    return 1;
}

// Right release: the drag ends.
long GridEditorWindow::onRightRelease(FXObject*, FXSelector, void*)
{
    rightDragging = false;
    return 1;
}

// Motion: describe the cell under the pointer, redraw the grid with that
// cell outlined, then paint it if a drag is on. The picture is drawn before
// the painting, so a painted cell shows from the next redraw.
long GridEditorWindow::onMotion(FXObject*, FXSelector, void* ptr)
{
    const PickedCell cell = cellUnderPointer(static_cast<const FXEvent*>(ptr));
    if (cell.onGrid)
        showCellInfo(cell.i, cell.j);
    if (glCanvas->getWidth() == 0 || glCanvas->getHeight() == 0 || !beginGridFrame(glCanvas))
        return 1;
    drawGrid(model.grid(), view);
    if (cell.onGrid) {
        setColour(GridColours::pointerCell);
        drawCellOutline(view, model.grid().NX, model.grid().NY, cell.i, cell.j);
        if (leftDragging) {
            const CellTypeInfo* type = cellTypeOfWord(paintWord);
            if (type && type->direction == CellDirection::Chosen)
                paintWord = (paintWord & ~DIR_MASK) | checkedDirection();
            paintToolCell(cell.i, cell.j);
        }
        if (rightDragging)
            model.apply(GridChange::eraseToRest(cell.i, cell.j));
    }
    endGridFrame(glCanvas, glVisual);
    return 1;
}

// "Cell Info": i, j, and the cell's u and v to four decimals.
void GridEditorWindow::showCellInfo(FXint i, FXint j)
{
    infoI->setText(FXStringFormat(EditorTexts::intFormat, uiText(TXT_INFO_I), i));
    infoJ->setText(FXStringFormat(EditorTexts::intFormat, uiText(TXT_INFO_J), j));
    showVelocityLine(infoU, TXT_INFO_U, model.grid().u[i][j]);
    showVelocityLine(infoV, TXT_INFO_V, model.grid().v[i][j]);
}

// A velocity line of "Cell Info", red when the value is not zero.
void GridEditorWindow::showVelocityLine(FXLabel* label, int key, double value)
{
    label->setText(FXStringFormat(EditorTexts::velocityFormat, uiText(key), value));
    label->setTextColor(value != 0.0 ? FXRGB(255, 0, 0) : FXRGB(0, 0, 0));
}
