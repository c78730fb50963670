// The editor's bodies with exact outlines: the Filled Ellipse of no-slip
// walls, the Polygon and Airfoil tools, and removing a body again.
#include "gui/grid_editor_window.h"

#include "core/body_outline.h"
#include "gui/grid_drawing.h"
#include "gui/ui_text.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;
// An ellipse's polygon strays at most this far (in cells) from the ellipse.
constexpr double ellipseSagCells = 0.01;
// A polygon corner this close to the one before (in cells, or in screen
// pixels where that is more) is the same one: a double click there closes
// the polygon, while quick clicks elsewhere go on adding corners.
constexpr double sameCornerCells = 0.25;
constexpr double sameCornerPixels = 4.0;
// A drag shorter than this (in cells) is a click.
constexpr double clickCells = 0.5;

bool drawsBody(ShapeKind kind)
{
    return kind == ShapeKind::Polygon || kind == ShapeKind::Airfoil;
}

double distance(OutlinePoint a, OutlinePoint b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

}  // namespace

bool GridEditorWindow::runAirfoilDialog(const AirfoilChoice& shown, AirfoilChoice& typed)
{
    AirfoilDialog dialog(this, shown);
    if (!dialog.execute(PLACEMENT_OWNER))
        return false;
    typed = dialog.choice();
    return true;
}

void GridEditorWindow::chooseAirfoil()
{
    AirfoilChoice typed;
    if (!runAirfoilDialog(airfoil, typed))
        return;
    if (airfoilChoiceValid(typed))
        airfoil = typed;
    else
        showSettingMessage(uiText(TXT_AIRFOIL_TITLE), uiText(TXT_BAD_NACA));
}

OutlinePoint GridEditorWindow::domainPointUnderPointer(const FXEvent* event) const
{
    const Grid& grid = model.grid();
    const double W = glCanvas->getWidth(), H = glCanvas->getHeight();
    const double ndcX = 2.0 * (event->win_x + 0.5) / W - 1.0, ndcY = 1.0 - 2.0 * (event->win_y + 0.5) / H;
    const double cellsX = (ndcX - view.left) / cellWidth(view, grid.NX);
    const double cellsY = (ndcY - view.bottom) / cellHeight(view, grid.NY);
    return {std::clamp(cellsX, 0.0, static_cast<double>(grid.NX)) * grid.dx,
            std::clamp(cellsY, 0.0, static_cast<double>(grid.NY)) * grid.dy};
}

// The right button ends a polygon under way, else takes the body under the
// pointer away. The left one adds a corner (a double click closes the
// polygon) or starts the chord.
bool GridEditorWindow::pressBody(const FXEvent* event, bool erases)
{
    if (!drawsBody(drawKind))
        return false;
    const OutlinePoint at = domainPointUnderPointer(event);
    const Grid& grid = model.grid();
    const double screenPixel = grid.dx / (cellWidth(view, grid.NX) * 0.5 * glCanvas->getWidth());
    const double sameCorner = std::max(sameCornerCells * std::min(grid.dx, grid.dy), sameCornerPixels * screenPixel);
    const bool onLastCorner = !polygonCorners.empty() && distance(at, polygonCorners.back()) <= sameCorner;
    if (erases) {
        if (polygonCorners.empty())
            removeBodyAt(at);
        polygonCorners.clear();
    } else if (drawKind == ShapeKind::Airfoil) {
        airfoilDragging = true;
        airfoilLeading = at;
    } else if (event->click_count >= 2 && onLastCorner) {
        closePolygon();
    } else if (!onLastCorner) {
        polygonCorners.push_back(at);
    }
    glCanvas->update();
    return true;
}

bool GridEditorWindow::releaseBody(const FXEvent* event, bool erases)
{
    if (!drawsBody(drawKind))
        return false;
    if (drawKind == ShapeKind::Airfoil && airfoilDragging && !erases) {
        airfoilDragging = false;
        BodyOutline outline;
        AirfoilChoice used;
        if (airfoilBody(airfoilLeading, domainPointUnderPointer(event), outline, used)) {
            airfoil = used;
            addBody(outline);
        }
    }
    glCanvas->update();
    return true;
}

// The chord runs from the press to the release: its length is the chord,
// its angle below the flow's direction (east) the angle of attack, so a
// drag down to the right raises the nose.
bool GridEditorWindow::airfoilBody(OutlinePoint leading, OutlinePoint trailing, BodyOutline& outline,
                                   AirfoilChoice& used) const
{
    used = airfoil;
    const double cell = std::min(model.grid().dx, model.grid().dy);
    const double length = distance(leading, trailing);
    if (length >= clickCells * cell) {
        used.chord = length;
        used.angle = std::atan2(-(trailing.y - leading.y), trailing.x - leading.x) * 180.0 / pi;
    }
    return nacaOutline(used.digits, leading, used.chord, used.angle, nacaCornersPerSide, outline);
}

void GridEditorWindow::drawBodyPreview(const FXEvent* event)
{
    const Grid& grid = model.grid();
    setColour(GridColours::pointerCell);
    const OutlinePoint at = domainPointUnderPointer(event);
    if (drawKind == ShapeKind::Polygon && !polygonCorners.empty()) {
        std::vector<OutlinePoint> line = polygonCorners;
        line.push_back(at);
        drawDomainLine(grid, view, line, false);
    } else if (drawKind == ShapeKind::Airfoil && airfoilDragging) {
        BodyOutline outline;
        AirfoilChoice used;
        if (airfoilBody(airfoilLeading, at, outline, used))
            drawDomainLine(grid, view, outline.corners, true);
        drawDomainLine(grid, view, {airfoilLeading, at}, false);
    }
}

bool GridEditorWindow::ellipseKeepsOutline(bool erases) const
{
    return drawKind == ShapeKind::FilledEllipse && !erases && paintWord == CELL_NOSLIP_WALL;
}

// The ellipse inscribed in the cells' box, as the cells of the shape are.
BodyOutline GridEditorWindow::ellipseBody(CellIndex a, CellIndex b) const
{
    const Grid& grid = model.grid();
    const int32_t i0 = std::min(a.i, b.i), i1 = std::max(a.i, b.i);
    const int32_t j0 = std::min(a.j, b.j), j1 = std::max(a.j, b.j);
    const OutlinePoint centre{0.5 * (i0 + i1 + 1) * grid.dx, 0.5 * (j0 + j1 + 1) * grid.dy};
    const double rx = 0.5 * (i1 - i0 + 1) * grid.dx, ry = 0.5 * (j1 - j0 + 1) * grid.dy;
    return ellipseOutline(centre, rx, ry, ellipseSagCells * std::min(grid.dx, grid.dy));
}

void GridEditorWindow::addBody(const BodyOutline& outline)
{
    GridChange change = GridChange::addedBody(model.grid(), outline);
    for (CellEdit& edit : change.cells)
        edit = withScalars(edit, false);
    applyChange(std::move(change));
    glCanvas->update();
}

// The last drawn of the bodies holding the point.
void GridEditorWindow::removeBodyAt(OutlinePoint at)
{
    const std::vector<BodyOutline>& outlines = model.grid().outlines;
    for (size_t k = outlines.size(); k-- > 0;)
        if (signedDistance(outlines[k], at.x, at.y) < 0.0) {
            applyChange(GridChange::removedBody(model.grid(), k));
            return;
        }
}

void GridEditorWindow::closePolygon()
{
    std::vector<OutlinePoint> corners;
    corners.swap(polygonCorners);
    if (corners.size() >= 3 && signedArea(corners) != 0.0) {
        if (signedArea(corners) < 0.0)
            std::reverse(corners.begin(), corners.end());
        addBody(BodyOutline::polygon(std::move(corners)));
    }
}

void GridEditorWindow::showDrawTip()
{
    const int tip = drawKind == ShapeKind::FilledEllipse ? TXT_ELLIPSE_TIP
                    : drawKind == ShapeKind::Polygon     ? TXT_POLYGON_TIP
                    : drawKind == ShapeKind::Airfoil     ? TXT_AIRFOIL_TIP
                                                         : -1;
    drawChoice->setTipText(tip < 0 ? FXString::null : FXString(uiText(tip)));
    drawChoice->setHelpText(tip < 0 ? FXString::null : FXString(uiText(tip)));
}
