// The editor canvas: repaint, resize, zoom and pan, and painting cells with
// the mouse.
#include "gui/grid_editor_window.h"

#include "gui/decimal_text.h"
#include "gui/editor_layout.h"
#include "gui/grid_drawing.h"
#include "gui/ui_text.h"

#include <GL/gl.h>

void GridEditorWindow::syncView()
{
    const Grid& grid = model.grid();
    CanvasView& canvasView = navigation.view;
    if (glCanvas->getWidth() != canvasView.canvasWidth() || glCanvas->getHeight() != canvasView.canvasHeight())
        canvasView.setCanvas(glCanvas->getWidth(), glCanvas->getHeight());
    if (grid.NX > 0 && grid.NY > 0 &&
        (grid.NX != canvasView.contentWidth() || grid.NY != canvasView.contentHeight())) {
        canvasView.setContent(grid.NX, grid.NY);
        canvasView.fit();
    }
    view = gridViewOf(canvasView);
}

// Repaint: the whole grid.
long GridEditorWindow::onPaintCanvas(FXObject*, FXSelector, void*)
{
    syncView();
    paintGridCanvas(glCanvas, glVisual, &model.grid(), view, cellTexture);
    return 1;
}

// Resize: the viewport follows the canvas, then a repaint.
long GridEditorWindow::onConfigureCanvas(FXObject*, FXSelector, void*)
{
    syncView();
    if (glCanvas->makeCurrent()) {
        glViewport(0, 0, glCanvas->getWidth(), glCanvas->getHeight());
        glCanvas->makeNonCurrent();
        paintGridCanvas(glCanvas, glVisual, &model.grid(), view, cellTexture);
    }
    return 1;
}

// Writes the current tool into cell (i, j) with the velocity of the fields.
void GridEditorWindow::paintToolCell(FXint i, FXint j)
{
    GridChange change;
    change.cells.push_back(withScalars(GridChange::paint(i, j, paintWord, readDecimal(uField->getText().text()),
                                                         readDecimal(vField->getText().text()))
                                           .cells.front(),
                                       false));
    applyChange(std::move(change));
}

// The wheel zooms about the pointer: the cell under it stays under it.
long GridEditorWindow::onMouseWheel(FXObject*, FXSelector, void* ptr)
{
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    syncView();
    navigation.wheel(event->win_x, event->win_y, event->code);
    syncView();
    glCanvas->update();
    return 1;
}

// A middle-button drag moves the grid; painting strokes end first.
long GridEditorWindow::onMiddlePress(FXObject*, FXSelector, void* ptr)
{
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    endDrags();
    navigation.pressMiddle(event->win_x, event->win_y);
    glCanvas->grab();
    return 1;
}

long GridEditorWindow::onMiddleRelease(FXObject*, FXSelector, void* ptr)
{
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    navigation.releaseMiddle(event->win_x, event->win_y);
    glCanvas->ungrab();
    syncView();
    glCanvas->update();
    return 1;
}

// The commands' ids follow ZoomCommand's order.
long GridEditorWindow::onCmdZoom(FXObject*, FXSelector sel, void*)
{
    syncView();
    navigation.command(static_cast<ZoomCommand>(FXSELID(sel) - ID_ZOOM_IN));
    syncView();
    glCanvas->update();
    return 1;
}

PickedCell GridEditorWindow::cellUnderPointer(const FXEvent* event) const
{
    const Grid& grid = model.grid();
    return pickCell(view, grid.NX, grid.NY, event->win_x, event->win_y, glCanvas->getWidth(), glCanvas->getHeight());
}

CellIndex GridEditorWindow::strokeCellUnderPointer(const FXEvent* event) const
{
    const Grid& grid = model.grid();
    const PickedCell cell =
        pointerCell(view, grid.NX, grid.NY, event->win_x, event->win_y, glCanvas->getWidth(), glCanvas->getHeight());
    return {cell.i, cell.j};
}

// Motion events come seconds apart on a busy display, and the pointer may
// jump many cells between two of them: the cells it passed over are
// painted too, so a quick stroke draws a closed wall.
void GridEditorWindow::continueStroke(CellIndex to)
{
    std::vector<CellIndex> path = strokeCells(strokeLast, to);
    if (path.size() > 1)
        path.erase(path.begin());  // painted by the event before
    strokeLast = to;
    const CellTypeInfo* type = cellTypeOfWord(paintWord);
    if (leftDragging && type && type->direction == CellDirection::Chosen)
        paintWord = (paintWord & ~DIR_MASK) | checkedDirection();
    const double u = readDecimal(uField->getText().text());
    const double v = readDecimal(vField->getText().text());
    GridChange change;
    for (const CellIndex& cell : clipToGrid(path, model.grid().NX, model.grid().NY))
        change.cells.push_back(withScalars(leftDragging ? GridChange::paint(cell.i, cell.j, paintWord, u, v).cells.front()
                                                        : GridChange::eraseToRest(cell.i, cell.j).cells.front(),
                                           !leftDragging));
    if (!change.cells.empty())
        applyChange(std::move(change));
}

// A shape dragged past the grid's edge stops at the edge: the pointer is
// pulled onto the grid's rectangle before it is picked.
CellIndex GridEditorWindow::shapeCellUnderPointer(const FXEvent* event) const
{
    const Grid& grid = model.grid();
    const CellRect first = cellRect(view, grid.NX, grid.NY, 0, 0);
    const CellRect last = cellRect(view, grid.NX, grid.NY, grid.NX - 1, grid.NY - 1);
    const double W = glCanvas->getWidth(), H = glCanvas->getHeight();
    const FXint left = static_cast<FXint>((first.x0 + 1.0) / 2.0 * W) + 1;
    const FXint right = static_cast<FXint>((last.x1 + 1.0) / 2.0 * W) - 1;
    const FXint top = static_cast<FXint>((1.0 - last.y1) / 2.0 * H) + 1;
    const FXint bottom = static_cast<FXint>((1.0 - first.y0) / 2.0 * H) - 1;
    const FXint x = FXCLAMP(left, event->win_x, right);
    const FXint y = FXCLAMP(top, event->win_y, bottom);
    const PickedCell cell = pickCell(view, grid.NX, grid.NY, x, y, glCanvas->getWidth(), glCanvas->getHeight());
    if (!cell.onGrid)
        return shapeEnd;
    return {cell.i, cell.j};
}

CellIndex GridEditorWindow::shapeCorner(const FXEvent* event) const
{
    const CellIndex corner = shapeCellUnderPointer(event);
    if (event->state & SHIFTMASK)
        return constrainCorner(drawKind, shapeStart, corner);
    return corner;
}

// The painting rules hold for each cell, as the model applies every cell
// edit through the grid's own painting.
void GridEditorWindow::paintCells(const std::vector<CellIndex>& cells, bool erases)
{
    const CellTypeInfo* type = cellTypeOfWord(paintWord);
    if (type && type->direction == CellDirection::Chosen)
        paintWord = (paintWord & ~DIR_MASK) | checkedDirection();
    const double u = readDecimal(uField->getText().text());
    const double v = readDecimal(vField->getText().text());
    GridChange change;
    for (const CellIndex& cell : clipToGrid(cells, model.grid().NX, model.grid().NY))
        change.cells.push_back(withScalars(erases ? GridChange::eraseToRest(cell.i, cell.j).cells.front()
                                                  : GridChange::paint(cell.i, cell.j, paintWord, u, v).cells.front(),
                                           erases));
    applyChange(std::move(change));
    glCanvas->update();
}

// A press with a shape or Fill chosen: Fill fills (or, erasing, empties)
// at once, a shape starts at the cell. False when the cell tool paints as
// before.
bool GridEditorWindow::pressShape(const PickedCell& cell, bool erases, FXObject* sender,
                                  FXSelector sel, void* ptr)
{
    if (drawKind == ShapeKind::Cells)
        return false;
    if (!cell.onGrid)
        return true;
    if (drawKind == ShapeKind::Fill) {
        paintCells(floodFillCells(model.grid(), cell.i, cell.j), erases);
        return true;
    }
    shapeStart = shapeEnd = {cell.i, cell.j};
    shapeDragging = true;
    shapeErases = erases;
    onMotion(sender, sel, ptr);
    return true;
}

// A release of the button that started the shape paints (or erases) it;
// false when no shape was dragged with that button.
bool GridEditorWindow::releaseShape(bool erases, void* ptr)
{
    if (!shapeDragging || shapeErases != erases)
        return false;
    shapeEnd = shapeCorner(static_cast<const FXEvent*>(ptr));
    if (ellipseKeepsOutline(erases)) {
        endDrags();
        addBody(ellipseBody(shapeStart, shapeEnd));
        return true;
    }
    const std::vector<CellIndex> cells = shapeCells(drawKind, shapeStart, shapeEnd);
    endDrags();
    paintCells(cells, erases);
    return true;
}

// Left press: paint the cell under the pointer, start a drag, then run the
// motion step (which draws and, as the drag is on, paints once more).
long GridEditorWindow::onLeftPress(FXObject* sender, FXSelector sel, void* ptr)
{
    if (glCanvas->getWidth() == 0 || glCanvas->getHeight() == 0)
        return 1;
    syncView();
    const PickedCell cell = cellUnderPointer(static_cast<const FXEvent*>(ptr));
    endDrags();
    if (pressBody(static_cast<const FXEvent*>(ptr), false) || pressShape(cell, false, sender, sel, ptr))
        return 1;
    history.beginGroup();
    if (cell.onGrid)
        paintToolCell(cell.i, cell.j);
    strokeLast = strokeCellUnderPointer(static_cast<const FXEvent*>(ptr));
    leftDragging = true;
    onMotion(sender, sel, ptr);
    return 1;
}

// Left release: the drag ends; a dragged shape is painted.
long GridEditorWindow::onLeftRelease(FXObject*, FXSelector, void* ptr)
{
    if (!releaseBody(static_cast<const FXEvent*>(ptr), false) && !releaseShape(false, ptr))
        endDrags();
    return 1;
}

// Right press: the cell under the pointer becomes fluid and keeps its
// velocity; the drag starts after the motion step, so only later motion
// zeroes velocities.
long GridEditorWindow::onRightPress(FXObject* sender, FXSelector sel, void* ptr)
{
    if (glCanvas->getWidth() == 0 || glCanvas->getHeight() == 0)
        return 1;
    syncView();
    const PickedCell cell = cellUnderPointer(static_cast<const FXEvent*>(ptr));
    endDrags();
    if (pressBody(static_cast<const FXEvent*>(ptr), true) || pressShape(cell, true, sender, sel, ptr))
        return 1;
    history.beginGroup();
    if (cell.onGrid) {
        GridChange change;
        change.cells.push_back(withScalars(GridChange::erase(cell.i, cell.j).cells.front(), true));
        applyChange(std::move(change));
    }
    onMotion(sender, sel, ptr);
    strokeLast = strokeCellUnderPointer(static_cast<const FXEvent*>(ptr));
    rightDragging = true;
    return 1;
}

// Right release: the drag ends; a dragged shape is erased to fluid.
long GridEditorWindow::onRightRelease(FXObject*, FXSelector, void* ptr)
{
    if (!releaseBody(static_cast<const FXEvent*>(ptr), true) && !releaseShape(true, ptr))
        endDrags();
    return 1;
}

// Motion: describe the cell under the pointer, redraw the grid with that
// cell outlined (or the dragged shape's cells), then paint it if a drag is
// on. The picture is drawn before the painting, so a painted cell shows
// from the next redraw.
long GridEditorWindow::onMotion(FXObject*, FXSelector, void* ptr)
{
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    navigation.dragMiddle(event->win_x, event->win_y);
    syncView();
    const PickedCell cell = cellUnderPointer(event);
    if (cell.onGrid)
        showCellInfo(cell.i, cell.j);
    if (glCanvas->getWidth() == 0 || glCanvas->getHeight() == 0 || !beginGridFrame(glCanvas))
        return 1;
    const Grid& grid = model.grid();
    drawGrid(grid, view, cellTexture);
    if (shapeDragging && ellipseKeepsOutline(shapeErases)) {
        shapeEnd = shapeCorner(event);
        setColour(GridColours::pointerCell);
        drawDomainLine(grid, view, outlineLinePoints(ellipseBody(shapeStart, shapeEnd)), true);
    } else if (shapeDragging) {
        shapeEnd = shapeCorner(event);
        setColour(GridColours::pointerCell);
        drawMarkedCells(view, grid.NX, grid.NY, clipToGrid(shapeCells(drawKind, shapeStart, shapeEnd), grid.NX, grid.NY));
    } else if (drawKind == ShapeKind::Polygon || drawKind == ShapeKind::Airfoil) {
        drawBodyPreview(event);
    } else if (cell.onGrid) {
        setColour(GridColours::pointerCell);
        drawCellOutline(view, grid.NX, grid.NY, cell.i, cell.j);
    }
    if (!shapeDragging && (leftDragging || rightDragging))
        continueStroke(strokeCellUnderPointer(event));
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
