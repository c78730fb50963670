// Bodies with exact outlines drawn in the editor: the Filled Ellipse of
// no-slip walls, the Polygon and Airfoil tools, removing a body, and an
// anti-aliased picture imported as a body, down to the saved file.
#include "test_editor.h"

#include "core/immersed_boundary.h"
#include "io/picture_grid.h"
#include "support/disc_coverage.h"
#include "support/screen_shot.h"

#include <FXPNGImage.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <vector>
#include <unistd.h>

namespace {

struct EditorBodies : testing::Test {
    std::unique_ptr<TestEditor> editor{openEditor()};
    const std::string file = "/tmp/kelvo-bodies-" + std::to_string(getpid());

    void TearDown() override
    {
        std::remove((file + ".grid").c_str());
        std::remove((file + ".png").c_str());
    }
    const Grid& grid() const { return editor->editedGrid(); }
    // A screen shot once the display has drawn everything asked of it
    // (exposes arrive from the display a moment later); a preview that
    // only a motion event drew is taken as it stands.
    void shot(const char* name, bool repaint = true)
    {
        if (!std::getenv("KELVO_TEST_SHOTS"))
            return;
        if (repaint)
            editor->canvas()->update();
        for (int k = 0; repaint && k < 5; ++k) {
            settle();
            testApp()->repaint();
            usleep(50000);
        }
        saveScreenShot(name);
    }
    // The canvas pixel whose centre lies nearest the domain point (x, y).
    void pixelOf(double x, double y, int& px, int& py) const
    {
        const GridView& v = editor->gridView();
        const double W = editor->canvas()->getWidth(), H = editor->canvas()->getHeight();
        const double ndcX = v.left + x / grid().dx * cellWidth(v, grid().NX);
        const double ndcY = v.bottom + y / grid().dy * cellHeight(v, grid().NY);
        px = static_cast<int>(std::lround((ndcX + 1.0) / 2.0 * W - 0.5));
        py = static_cast<int>(std::lround((1.0 - ndcY) / 2.0 * H - 0.5));
    }
    // One screen pixel in domain units.
    double pixel() const
    {
        return grid().dx / (cellWidth(editor->gridView(), grid().NX) * 0.5 * editor->canvas()->getWidth());
    }
    int walls() const
    {
        int count = 0;
        for (int32_t i = 0; i < grid().NX; ++i)
            for (int32_t j = 0; j < grid().NY; ++j)
                count += grid().flags[i][j] == CELL_NOSLIP_WALL ? 1 : 0;
        return count;
    }
    // The cells of the last body are the wall cells, and nothing else is.
    void expectCellsOfBodies() const
    {
        size_t covered = 0;
        for (const BodyOutline& o : grid().outlines)
            for (const auto& cell : cellsCoveredBy(grid(), o)) {
                EXPECT_EQ(grid().flags[cell.first][cell.second], CELL_NOSLIP_WALL);
                ++covered;
            }
        EXPECT_EQ(static_cast<size_t>(walls()), covered);
    }
};

// On the 40 x 20 start-up grid (cells 0.05 square) a drag from cell
// (10, 2): with Shift to (14, 12) the circle in the box (10..20, 2..12)
// (the longer side wins), to (20, 4) the ellipse in that box; slip walls
// keep no outline, only the cells of the ellipse.
TEST_F(EditorBodies, AFilledEllipseOfNoSlipWallsKeepsItsOutlineWithItsCells)
{
    const struct {
        FXRadioButton* type;
        int bi, bj;
        FXuint state;
        int outlines;
        BodyOutline::Shape shape;
        int i1, j1;  // the box's far cell
    } cases[] = {
        {editor->noSlip(), 14, 12, SHIFTMASK, 1, BodyOutline::Shape::Circle, 20, 12},
        {editor->noSlip(), 20, 4, 0, 1, BodyOutline::Shape::Polygon, 20, 4},
        {editor->slip(), 14, 12, SHIFTMASK, 0, BodyOutline::Shape::Circle, 20, 12},
    };
    editor->chooseDraw(ShapeKind::FilledEllipse);
    const double d = grid().dx;
    for (const auto& c : cases) {
        editor->choose(c.type);
        editor->drag(10, 2, c.bi, c.bj, false, c.state);
        const int middle = (2 + c.j1) / 2;
        ASSERT_EQ(grid().outlines.size(), static_cast<size_t>(c.outlines)) << c.bi;
        if (c.outlines == 0) {
            EXPECT_EQ(grid().flags[15][middle], CELL_SLIP_WALL);  // its centre
            EXPECT_EQ(grid().flags[10][middle], CELL_SLIP_WALL);  // west and east ends
            EXPECT_EQ(grid().flags[20][middle], CELL_SLIP_WALL);
            EXPECT_EQ(grid().flags[10][2], CELL_FLUID);           // a corner of the box
            EXPECT_EQ(grid().flags[21][middle], CELL_FLUID);
        } else {
            const BodyOutline& o = grid().outlines[0];
            EXPECT_EQ(o.shape, c.shape);
            const OutlineBox box = outlineBox(o);
            EXPECT_NEAR(box.xLow, 10 * d, 1e-12);
            EXPECT_NEAR(box.xHigh, (c.i1 + 1) * d, 1e-12);
            EXPECT_NEAR(box.yLow, 2 * d, 1e-12);
            EXPECT_NEAR(box.yHigh, (c.j1 + 1) * d, 1e-12);
            EXPECT_EQ(grid().flags[15][middle], CELL_NOSLIP_WALL);
            expectCellsOfBodies();
            shot(c.shape == BodyOutline::Shape::Circle ? "editor_circle_body" : "editor_ellipse_body");
        }
        // One step: undo takes the outline and the cells, redo brings both.
        editor->command(GridEditorWindow::ID_UNDO);
        EXPECT_TRUE(grid().outlines.empty());
        EXPECT_EQ(grid().flags[15][middle], CELL_FLUID);
        editor->command(GridEditorWindow::ID_REDO);
        EXPECT_EQ(grid().outlines.size(), static_cast<size_t>(c.outlines));
        EXPECT_NE(grid().flags[15][middle], CELL_FLUID);
        editor->command(GridEditorWindow::ID_UNDO);
    }
}

// Corners where clicked, a double click closes; the right button takes the
// body under it away, and the saved file keeps the polygon.
TEST_F(EditorBodies, APolygonClickedCornerByCornerBecomesABody)
{
    editor->choose(editor->noSlip());
    editor->chooseDraw(ShapeKind::Polygon);
    const OutlinePoint corners[] = {{0.30, 0.20}, {0.90, 0.25}, {0.80, 0.70}, {0.35, 0.60}};
    int x = 0, y = 0;
    for (const OutlinePoint& c : corners) {
        pixelOf(c.x, c.y, x, y);
        editor->leftClick(x, y);
    }
    pixelOf(1.2, 0.8, x, y);
    editor->motion(x, y);
    shot("editor_polygon_drawing", false);
    EXPECT_TRUE(grid().outlines.empty());  // not closed yet
    pixelOf(corners[3].x, corners[3].y, x, y);
    editor->doubleClick(x, y);
    settle();
    ASSERT_EQ(grid().outlines.size(), 1u);
    const BodyOutline& body = grid().outlines[0];
    ASSERT_EQ(body.corners.size(), 4u);
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_NEAR(body.corners[k].x, corners[k].x, pixel()) << k;
        EXPECT_NEAR(body.corners[k].y, corners[k].y, pixel()) << k;
    }
    EXPECT_GT(signedArea(body.corners), 0.0);
    expectCellsOfBodies();
    EXPECT_GT(walls(), 50);
    shot("editor_polygon_closed");

    const Grid saved = editor->savedGrid(file + ".grid");
    ASSERT_EQ(saved.outlines.size(), 1u);
    EXPECT_EQ(saved.outlines[0].corners.size(), 4u);
    EXPECT_EQ(saved.flags[12][9], CELL_NOSLIP_WALL);

    pixelOf(0.6, 0.45, x, y);  // inside: the body goes, cells and outline
    editor->rightPress(x, y);
    editor->rightRelease(x, y);
    EXPECT_TRUE(grid().outlines.empty());
    EXPECT_EQ(walls(), 0);
    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_EQ(grid().outlines.size(), 1u);
    expectCellsOfBodies();

    // Two corners enclose nothing: the double click ends them unused.
    pixelOf(0.2, 0.8, x, y);
    editor->leftClick(x, y);
    pixelOf(0.4, 0.9, x, y);
    editor->leftClick(x, y);
    editor->doubleClick(x, y);
    EXPECT_EQ(grid().outlines.size(), 1u);
}

// The dialog comes with the tool; a click places its section, a drag sets
// the chord and the angle (a drag down to the right raises the nose).
TEST_F(EditorBodies, AnAirfoilIsPlacedByItsChord)
{
    editor->airfoilDigits = "0012";
    editor->airfoilChord = "0.3";
    editor->airfoilAngle = "5";
    editor->chooseDraw(ShapeKind::Airfoil);
    EXPECT_EQ(editor->airfoilDialogs, 1);
    EXPECT_EQ(editor->airfoilChoice().digits, "0012");

    const struct {
        OutlinePoint leading, trailing;
        double chord, angle;
    } cases[] = {
        {{0.2, 0.5}, {0.2, 0.5}, 0.3, 5.0},                 // a click: the dialog's section
        {{0.6, 0.6}, {1.3, 0.6}, 0.7, 0.0},                 // a level drag
        {{0.3, 0.9}, {0.3 + 0.5 * std::cos(0.2), 0.9 - 0.5 * std::sin(0.2)}, 0.5, 0.2 * 180.0 / 3.14159265358979},
    };
    for (size_t k = 0; k < std::size(cases); ++k) {
        const auto& c = cases[k];
        int x0, y0, x1, y1;
        pixelOf(c.leading.x, c.leading.y, x0, y0);
        pixelOf(c.trailing.x, c.trailing.y, x1, y1);
        editor->leftPress(x0, y0);
        editor->motion(x1, y1);
        if (k == 2)
            shot("editor_airfoil_dragging", false);
        editor->leftRelease(x1, y1);
        settle();
        ASSERT_EQ(grid().outlines.size(), k + 1);
        const BodyOutline& wing = grid().outlines[k];
        ASSERT_EQ(wing.corners.size(), 2u * nacaCornersPerSide);
        // The trailing edge is the corner farthest from the leading edge.
        OutlinePoint trailing = wing.corners[0];
        for (const OutlinePoint& p : wing.corners)
            if (std::hypot(p.x - c.leading.x, p.y - c.leading.y) > std::hypot(trailing.x - c.leading.x, trailing.y - c.leading.y))
                trailing = p;
        const double chord = std::hypot(trailing.x - c.leading.x, trailing.y - c.leading.y);
        const double angle = std::atan2(-(trailing.y - c.leading.y), trailing.x - c.leading.x) * 180.0 / 3.14159265358979;
        EXPECT_NEAR(chord, c.chord, 3.0 * pixel()) << k;
        EXPECT_NEAR(angle, c.angle, 1.0) << k;
        EXPECT_NEAR(editor->airfoilChoice().chord, chord, 2.0 * pixel()) << k;
    }
    expectCellsOfBodies();
    shot("editor_airfoils");

    // Digits that give no section are refused with a message; Cancel keeps
    // the section too.
    editor->airfoilDigits = "12a";
    editor->chooseDraw(ShapeKind::Airfoil);
    EXPECT_EQ(editor->messages.size(), 1u);
    editor->airfoilCancel = true;
    editor->chooseDraw(ShapeKind::Airfoil);
    EXPECT_EQ(editor->airfoilDialogs, 3);
    EXPECT_EQ(editor->airfoilChoice().digits, "0012");
    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_EQ(grid().outlines.size(), 2u);
}

// A black disc on white, anti-aliased, as a PNG.
void writeDiscPicture(const std::string& path, int width, int height, double cx, double cy, double r)
{
    std::vector<FXColor> pixels;
    for (float covered : discCoverage(width, height, cx, cy, r, 8)) {
        const FXuchar grey = static_cast<FXuchar>(std::lround(255.0 * (1.0 - covered)));
        pixels.push_back(FXRGB(grey, grey, grey));
    }
    FXFileStream stream;
    ASSERT_TRUE(stream.open(path.c_str(), FXStreamSave));
    ASSERT_TRUE(fxsavePNG(stream, pixels.data(), width, height));
}

// The editor and kelvo-batch's picture reading give the same body (the
// body's size and cells are checked in tests/core/image_cells_test.cpp).
TEST_F(EditorBodies, AnAntiAliasedPictureImportsAsAnOutlineBody)
{
    writeDiscPicture(file + ".png", 60, 30, 22.0, 14.5, 8.0);
    editor->nextImage = (file + ".png").c_str();
    editor->command(GridEditorWindow::ID_IMPORT_IMAGE);
    ASSERT_TRUE(editor->messages.empty());
    ASSERT_EQ(grid().outlines.size(), 1u);
    shot("editor_imported_disc");

    Grid batch;
    ASSERT_EQ(loadPictureGrid(file + ".png", grid().NX, grid().NY, batch), "");
    ASSERT_EQ(batch.outlines.size(), 1u);
    ASSERT_EQ(batch.outlines[0].corners.size(), grid().outlines[0].corners.size());
    for (size_t k = 0; k < batch.outlines[0].corners.size(); ++k) {
        EXPECT_EQ(batch.outlines[0].corners[k].x, grid().outlines[0].corners[k].x);
        EXPECT_EQ(batch.outlines[0].corners[k].y, grid().outlines[0].corners[k].y);
    }
    for (int32_t i = 0; i < batch.NX; ++i)
        for (int32_t j = 0; j < batch.NY; ++j)
            ASSERT_EQ(batch.flags[i][j], grid().flags[i][j]) << i << "," << j;
}

}  // namespace
