// The canvas view's geometry and the ways the user moves it (where the
// windows' children go when a window grows is tested on the windows).
#include "gui/canvas_navigation.h"
#include "gui/canvas_view.h"
#include "gui/grid_view.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

CanvasView viewOf(const ViewLimits& limits, int W, int H, double columns, double rows)
{
    CanvasView view(limits);
    view.setCanvas(W, H);
    view.setContent(columns, rows);
    return view;
}

// Fit: one scale both ways, the content centred, fitShare of the canvas
// along the tighter direction.
TEST(CanvasView, FitKeepsUnitsSquareAndCentresTheContent)
{
    const struct Case {
        double share;
        int W, H;
        double columns, rows;
        double scale, x0, y0;
    } cases[] = {
        {0.95, 592, 392, 40, 20, 14.06, 14.8, 55.4},          // the editor's start-up grid: width-bound
        {0.95, 592, 392, 20, 80, 4.655, 249.45, 9.8},         // tall grid: height-bound
        {0.95, 592, 392, 1024, 512, 0.54921875, 14.8, 55.4},  // the largest grid
        {1.0, 388, 188, 160, 80, 2.35, 6.0, 0.0},             // a picture in the simulation window
        {1.0, 388, 188, 980, 196, 0.3959183673, 0.0, 55.2},
    };
    for (const Case& c : cases) {
        const CanvasView view = viewOf({c.share, 64.0}, c.W, c.H, c.columns, c.rows);
        EXPECT_TRUE(view.fitted());
        EXPECT_NEAR(view.scale(), c.scale, 1e-6) << c.columns << "x" << c.rows;
        EXPECT_NEAR(view.originX(), c.x0, 1e-3) << c.columns << "x" << c.rows;
        EXPECT_NEAR(view.originY(), c.y0, 1e-3) << c.columns << "x" << c.rows;
    }
}

// Zooming keeps the content point under the pointer; the scale stays
// within its limits; a zoomed view pans only as far as the fit margin.
TEST(CanvasView, ZoomKeepsThePointUnderThePointerWithinTheLimits)
{
    const struct Case {
        double x, y, factor, expectedScale;
    } cases[] = {
        {100.5, 200.5, 2.0, 28.12},    // in
        {300.5, 150.5, 8.0, 64.0},     // held at the largest scale
        {20.5, 380.5, 0.01, 1.0},      // out: held at one pixel a unit
    };
    for (const Case& c : cases) {
        CanvasView view = viewOf({0.95, 64.0}, 592, 392, 40, 20);
        const double u = view.contentX(c.x), v = view.contentY(c.y);
        view.zoomAbout(c.x, c.y, c.factor);
        EXPECT_NEAR(view.scale(), c.expectedScale, 1e-9) << c.factor;
        EXPECT_FALSE(view.fitted());
        // The point stays unless pulled back by centring or the pan limits.
        if (view.scale() * 40 > 592 && view.scale() * 20 > 392) {
            EXPECT_NEAR(view.canvasX(u), c.x, 1e-9) << c.factor;
            EXPECT_NEAR(view.canvasY(v), c.y, 1e-9) << c.factor;
        }
    }
}

TEST(CanvasView, PanStopsAtTheFitMarginAndCentresWhatFits)
{
    CanvasView view = viewOf({0.95, 64.0}, 600, 400, 100, 50);
    view.zoomAbout(300, 200, 4.0);  // 22.8 px a unit: 2280 x 1140
    const double margin = 0.025 * 600, marginY = 0.025 * 400;
    const struct Move {
        double dx, dy, x0, y0;
    } moves[] = {
        {1e6, 1e6, margin, marginY},                              // past the top-left corner
        {-1e6, -1e6, 600 - margin - 2280, 400 - marginY - 1140},  // past the bottom-right one
        {10, 20, 600 - margin - 2270, 400 - marginY - 1120},      // back a little
    };
    for (const Move& m : moves) {
        view.panBy(m.dx, m.dy);
        EXPECT_NEAR(view.originX(), m.x0, 1e-6) << m.dx;
        EXPECT_NEAR(view.originY(), m.y0, 1e-6) << m.dy;
    }
    // Zoomed out below the canvas the content is centred whatever the pan.
    view.oneToOne();
    view.panBy(50, -30);
    EXPECT_DOUBLE_EQ(view.scale(), 1.0);
    EXPECT_DOUBLE_EQ(view.originX(), 250.0);
    EXPECT_DOUBLE_EQ(view.originY(), 175.0);
}

// A fitted view follows the canvas and the content; a zoomed one keeps its
// scale on a new canvas and the same share of a content of another size.
TEST(CanvasView, FittedViewsRefitAndZoomedOnesKeepWhatTheyShow)
{
    CanvasView view = viewOf({1.0, 16.0}, 388, 188, 160, 80);
    view.setCanvas(788, 588);
    EXPECT_TRUE(view.fitted());
    EXPECT_NEAR(view.scale(), 788.0 / 160, 1e-12);
    view.zoomAbout(10, 10, 2.0);
    const double zoomed = view.scale();
    view.setCanvas(400, 300);
    EXPECT_DOUBLE_EQ(view.scale(), zoomed);
    view.setContent(320, 160);  // twice the pixels a cell
    EXPECT_DOUBLE_EQ(view.scale(), zoomed / 2);
}

// The ring of a 1024 x 512 grid under the pointer: at Fit the outermost
// pixels touching the grid pick edge cells; zoomed, and panned along each
// edge a canvas at a time, every ring cell is under some pixel.
TEST(CanvasView, EveryRingCellOfTheLargestGridCanBeHit)
{
    const int W = 588, H = 388, NX = 1024, NY = 512;
    CanvasView fitted = viewOf({0.95, 64.0}, W, H, NX, NY);
    const GridView atFit = gridViewOf(fitted);
    const int left = static_cast<int>(fitted.originX());
    const int right = static_cast<int>(fitted.canvasX(NX));
    const int top = static_cast<int>(fitted.originY());
    const int bottom = static_cast<int>(fitted.canvasY(NY));
    EXPECT_EQ(pickCell(atFit, NX, NY, left, H / 2, W, H).i, 0);
    EXPECT_EQ(pickCell(atFit, NX, NY, right, H / 2, W, H).i, NX - 1);
    EXPECT_EQ(pickCell(atFit, NX, NY, W / 2, top, W, H).j, NY - 1);
    EXPECT_EQ(pickCell(atFit, NX, NY, W / 2, bottom, W, H).j, 0);
    EXPECT_FALSE(pickCell(atFit, NX, NY, left - 1, H / 2, W, H).onGrid);
    EXPECT_FALSE(pickCell(atFit, NX, NY, W / 2, bottom + 1, W, H).onGrid);

    std::set<std::pair<int, int>> hit;
    const auto collectRing = [&](const CanvasView& view) {
        const GridView grid = gridViewOf(view);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const PickedCell cell = pickCell(grid, NX, NY, x, y, W, H);
                if (cell.onGrid && (cell.i == 0 || cell.j == 0 || cell.i == NX - 1 || cell.j == NY - 1))
                    hit.insert({cell.i, cell.j});
            }
    };
    CanvasView zoomed = fitted;
    zoomed.zoomAbout(0, 0, 3.0);  // about 1.6 pixels a cell
    // From each corner along the two edges that meet there.
    for (const double startX : {1e6, -1e6})
        for (const double startY : {1e6, -1e6})
            for (const bool across : {true, false}) {
                CanvasView view = zoomed;
                view.panBy(startX, startY);
                const double stepX = startX > 0 ? -W / 2 : W / 2;
                const double stepY = startY > 0 ? -H / 2 : H / 2;
                for (int k = 0; k < 8; ++k) {
                    collectRing(view);
                    view.panBy(across ? stepX : 0.0, across ? 0.0 : stepY);
                }
            }
    EXPECT_EQ(hit.size(), static_cast<size_t>(2 * NX + 2 * NY - 4));
}

// Wheel notches zoom by 1.25 each about the pointer; a middle press and
// release within three pixels is a click and leaves the view, a longer
// drag pans it and is no click.
TEST(CanvasNavigation, WheelZoomsAndMiddleDragsPanUnlessTheyAreClicks)
{
    CanvasNavigation navigation({0.95, 64.0});
    navigation.view.setCanvas(592, 392);
    navigation.view.setContent(40, 20);
    const double fit = navigation.view.scale();
    navigation.wheel(100, 100, 240);
    EXPECT_NEAR(navigation.view.scale(), fit * 1.5625, 1e-9);
    navigation.wheel(100, 100, -120);
    EXPECT_NEAR(navigation.view.scale(), fit * 1.25, 1e-9);

    const struct Drag {
        int toX, toY;
        bool click;
        double movedX;
    } drags[] = {{203, 197, true, 0.0}, {200, 204, false, 0.0}, {170, 200, false, -30.0}};
    for (const Drag& d : drags) {
        const double x0 = navigation.view.originX();
        navigation.pressMiddle(200, 200);
        EXPECT_FALSE(navigation.dragMiddle(d.toX, d.toY) && d.click);
        EXPECT_EQ(navigation.releaseMiddle(d.toX, d.toY), d.click) << d.toX << "," << d.toY;
        EXPECT_NEAR(navigation.view.originX() - x0, d.movedX, 1e-9) << d.toX;
        EXPECT_FALSE(navigation.panning());
    }
    navigation.command(ZoomCommand::Fit);
    EXPECT_TRUE(navigation.view.fitted());
    navigation.command(ZoomCommand::OneToOne);
    EXPECT_DOUBLE_EQ(navigation.view.scale(), 1.0);
    navigation.command(ZoomCommand::In);
    EXPECT_DOUBLE_EQ(navigation.view.scale(), 1.25);
}

}  // namespace
