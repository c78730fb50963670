// The simulation window's canvas grows with the window, shows the picture
// with square cells, zooms with the wheel and the Ctrl keys, and pans with
// a middle drag while a middle click still places a probe.
#include "gui/calculate_layout.h"
#include "gui/picture_point.h"
#include "support/channel_grid.h"
#include "probed_window.h"
#include "window_test.h"

#include <GL/gl.h>
#include <fxkeys.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <vector>

namespace {

class ViewWindow : public ProbedWindow {
public:
    explicit ViewWindow(const Grid* grid) : ProbedWindow(testOwner(), grid, 100, 0.003) {}

    void canvasEvent(FXSelector type, int x, int y, int code = 0)
    {
        FXEvent event;
        event.type = type;
        event.code = code;
        event.win_x = x;
        event.win_y = y;
        handle(glCanvas, FXSEL(type, ID_CANVAS), &event);
    }
    void key(FXuint code, FXuint state)
    {
        FXEvent event;
        event.type = SEL_KEYPRESS;
        event.code = code;
        event.state = state;
        handle(this, FXSEL(SEL_KEYPRESS, 0), &event);
        event.type = SEL_KEYRELEASE;
        handle(this, FXSEL(SEL_KEYRELEASE, 0), &event);
    }
    using CalculateWindow::canvasFrame;
    using CalculateWindow::renderGroup;
    using CalculateWindow::sizeGroup;
    using CalculateWindow::viewGroup;
};

// Checks that every step-th canvas pixel shows the frame pixel under its
// centre, leaving out those within edge (in frame pixels) of a frame
// pixel's edge, where the drawing may round either way; a pixel off the
// frame must be black when blackAround, else it is left out. Returns how
// many were compared.
int expectCanvasShowsFrame(const std::vector<uint8_t>& pixels, int W, int H, const ScreenFrame& frame,
                           const CanvasPlace& place, double edge, int step, bool blackAround)
{
    const uint8_t black[3] = {0, 0, 0};
    int compared = 0;
    for (int y = 0; y < H; y += step)
        for (int x = 0; x < W; x += step) {
            const double u = (x + 0.5 - place.originX) / place.scale, v = (y + 0.5 - place.originY) / place.scale;
            const double fu = u - std::floor(u), fv = v - std::floor(v);
            if (fu < edge || fu > 1 - edge || fv < edge || fv > 1 - edge)
                continue;
            const int column = static_cast<int>(std::floor(u)), row = static_cast<int>(std::floor(v));
            const bool inside = column >= 0 && row >= 0 && column < frame.width && row < frame.height;
            if (!inside && !blackAround)
                continue;
            const uint8_t* shown = &pixels[(static_cast<size_t>(H - 1 - y) * W + x) * 3];
            const uint8_t* expected = inside ? &frame.rgb[(static_cast<size_t>(row) * frame.width + column) * 3] : black;
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(shown[c], expected[c]) << x << "," << y << " frame " << column << "," << row;
                if (shown[c] != expected[c])
                    return compared;
            }
            ++compared;
        }
    return compared;
}

class CalculateViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        makeChannel(grid, 40, 20);
        window = std::make_unique<ViewWindow>(&grid);
        window->create();
        window->show(PLACEMENT_OWNER);
        settle(0.2);
        ASSERT_TRUE(window->waitParked());  // the build step is done
    }
    Grid grid;
    std::unique_ptr<ViewWindow> window;
};

// The designed layout at the designed size, and in a larger window the
// canvas with every added pixel, the groups moved right, the buttons and
// View down; the picture keeps its aspect, fitted and centred.
TEST_F(CalculateViewTest, TheCanvasTakesTheRoomAndThePictureKeepsItsAspect)
{
    using namespace CalculateLayout;
    struct Size {
        int width, height;
    };
    for (const Size& size : {Size{windowWidth, windowHeight}, Size{1100, 800}, Size{windowWidth, windowHeight}}) {
        window->resize(size.width, size.height);
        settle(0.1);
        const int dx = size.width - windowWidth, dy = size.height - windowHeight;
        EXPECT_EQ(window->canvasFrame->getX(), canvasFrameX);
        EXPECT_EQ(window->canvasFrame->getWidth(), canvasFrameWidth + dx);
        EXPECT_EQ(window->canvasFrame->getHeight(), canvasFrameHeight + dy);
        EXPECT_EQ(window->renderGroup->getX(), renderGroupX + dx);
        EXPECT_EQ(window->sizeGroup->getX(), sizeGroupX + dx);
        EXPECT_EQ(window->sizeGroup->getY(), sizeGroupY);
        EXPECT_EQ(window->startButton->getX(), startX);
        EXPECT_EQ(window->startButton->getY(), buttonsY + dy);
        EXPECT_EQ(window->viewGroup->getY(), viewGroupY + dy);
        const PictureLayout layout = window->canvasLayout();
        EXPECT_NEAR(layout.shownWidth / layout.shownHeight,
                    static_cast<double>(layout.pictureWidth) / layout.pictureHeight, 1e-9);
        // Fitted: as large as the tighter direction allows, centred.
        EXPECT_NEAR(std::max(layout.shownWidth / layout.canvasWidth, layout.shownHeight / layout.canvasHeight), 1.0,
                    1e-9);
        EXPECT_LE(layout.shownWidth, layout.canvasWidth + 1e-9);
        EXPECT_LE(layout.shownHeight, layout.canvasHeight + 1e-9);
        EXPECT_NEAR(2 * layout.shownX + layout.shownWidth, layout.canvasWidth, 1e-9);
        EXPECT_NEAR(2 * layout.shownY + layout.shownHeight, layout.canvasHeight, 1e-9);
    }
    // The smallest size the window manager allows is the designed one.
    EXPECT_EQ(window->getDefaultWidth(), windowWidth);
    EXPECT_EQ(window->getDefaultHeight(), windowHeight);
}

// Two wheel notches keep the domain point under the pointer; a middle
// drag moves the picture and places no probe, a middle click places one
// where the zoomed picture shows it; Ctrl+0 fits again.
TEST_F(CalculateViewTest, TheWheelZoomsAMiddleDragPansAndAMiddleClickPlacesAProbe)
{
    const int x = 150, y = 90;
    const DomainPoint before = *domainPointAt(window->canvasLayout(), x, y);
    const double fitted = window->navigation.view.scale();
    window->canvasEvent(SEL_MOUSEWHEEL, x, y, 240);
    EXPECT_NEAR(window->navigation.view.scale(), 1.5625 * fitted, 1e-9);
    const DomainPoint after = *domainPointAt(window->canvasLayout(), x, y);
    EXPECT_NEAR(after.x, before.x, 1e-9);
    EXPECT_NEAR(after.y, before.y, 1e-9);

    const double originX = window->navigation.view.originX();
    window->canvasEvent(SEL_MIDDLEBUTTONPRESS, 200, 100);
    window->canvasEvent(SEL_MOTION, 180, 100);
    window->canvasEvent(SEL_MIDDLEBUTTONRELEASE, 180, 100);
    EXPECT_DOUBLE_EQ(window->navigation.view.originX(), originX - 20);
    EXPECT_TRUE(!window->measureLog || window->measureLog->measurements().probes().empty());

    const DomainPoint clicked = *domainPointAt(window->canvasLayout(), x, y);
    window->canvasEvent(SEL_MIDDLEBUTTONPRESS, x, y);
    window->canvasEvent(SEL_MIDDLEBUTTONRELEASE, x + 1, y);
    ASSERT_TRUE(window->measureLog);
    ASSERT_EQ(window->measureLog->measurements().probes().size(), 1u);
    EXPECT_NEAR(window->measureLog->measurements().probes()[0].x, clicked.x, 0.5 * grid.dx);
    EXPECT_NEAR(window->measureLog->measurements().probes()[0].y, clicked.y, 0.5 * grid.dy);

    window->key(KEY_0, CONTROLMASK);
    EXPECT_TRUE(window->navigation.view.fitted());
    window->key(KEY_1, CONTROLMASK);
    EXPECT_DOUBLE_EQ(window->navigation.view.scale(), 1.0);
}

// Zoomed in, every canvas pixel shows the picture pixel under its centre
// (away from the pixels' edges, where rounding may go either way), and
// the canvas around the picture is black.
TEST_F(CalculateViewTest, AZoomedCanvasShowsThePicturePixelUnderEachScreenPixel)
{
    window->send(CalculateWindow::ID_STEP);
    ASSERT_TRUE(window->waitParked());
    window->send(CalculateWindow::ID_RENDER);
    for (int k = 0; k < 8; ++k)
        window->canvasEvent(SEL_MOUSEWHEEL, 37, 61, 120);
    window->canvasEvent(SEL_MIDDLEBUTTONPRESS, 100, 100);
    window->canvasEvent(SEL_MIDDLEBUTTONRELEASE, 60, 83);
    const CanvasView& view = window->navigation.view;
    ASSERT_GT(view.scale(), 5.0);
    const ScreenFrame& picture = window->shownFrame;
    EXPECT_GT(expectCanvasShowsFrame(window->canvasPixels(), window->glCanvas->getWidth(),
                                     window->glCanvas->getHeight(), picture, framePlace(picture, view), 0.1, 3, true),
              1000);
}

// A grid larger than the canvas: the picture is only the part shown, at
// about the canvas's pixels, composed again (the worker parked) as Fit,
// 1:1, the wheel and a drag (already while it lasts) move the view; every
// canvas pixel shows the frame pixel under it, and a middle click places
// the probe where the whole picture has the point.
class LargeGridViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        makeChannel(grid, 1000, 500);
        window = std::make_unique<ViewWindow>(&grid);
        window->create();
        window->show(PLACEMENT_OWNER);
        settle(0.2);
        ASSERT_TRUE(window->waitParked());
        window->showStreamlines->setCheck(TRUE);
        window->showUField->setCheck(TRUE);
        window->send(CalculateWindow::ID_RENDER);
    }
    // The frame shows the view as it stands, and no more pixels than the canvas.
    void expectFrameFollowsView(const char* when)
    {
        const ScreenFrame& frame = window->shownFrame;
        EXPECT_FALSE(frame.window.whole()) << when;
        EXPECT_EQ(frame.window, window->screenWindow()) << when;
        EXPECT_EQ(frame.width, frame.window.width) << when;
        EXPECT_LE(frame.width, window->glCanvas->getWidth()) << when;
        EXPECT_LE(frame.height, window->glCanvas->getHeight()) << when;
        EXPECT_EQ(frame.contentWidth, grid.NX) << when;
    }
    Grid grid;
    std::unique_ptr<ViewWindow> window;
};

TEST_F(LargeGridViewTest, ThePictureFollowsFitAndZoomWhilePaused)
{
    const int W = window->glCanvas->getWidth(), H = window->glCanvas->getHeight();
    expectFrameFollowsView("fitted");
    EXPECT_GT(window->shownFrame.window.stride, 2.0);

    window->key(KEY_1, CONTROLMASK);
    expectFrameFollowsView("1:1");
    EXPECT_EQ(window->shownFrame.window.stride, 1.0);
    EXPECT_EQ(window->shownFrame.width, W);
    EXPECT_EQ(window->shownFrame.height, H);

    window->canvasEvent(SEL_MOUSEWHEEL, 50, 40, 480);
    expectFrameFollowsView("zoomed in");
    const double left = window->shownFrame.window.left;
    window->canvasEvent(SEL_MIDDLEBUTTONPRESS, 200, 100);
    window->canvasEvent(SEL_MOTION, 150, 100);
    settle(0.2);
    expectFrameFollowsView("while the button is held");
    window->canvasEvent(SEL_MIDDLEBUTTONRELEASE, 150, 100);
    expectFrameFollowsView("panned");
    EXPECT_NEAR(window->shownFrame.window.left, left + 50 / window->navigation.view.scale(), 1.0);

    // The drawing may round its corner to a whole pixel: canvas pixels
    // within 0.6 of a frame pixel's edge are left out.
    const ScreenFrame& frame = window->shownFrame;
    const CanvasPlace place = framePlace(frame, window->navigation.view);
    EXPECT_GT(expectCanvasShowsFrame(window->pictureOnlyPixels(), W, H, frame, place, 0.6 / place.scale, 2, false),
              1000);

    // Whole-picture column V shows the cells from x = (V - 1/2) dx.
    const CanvasView& view = window->navigation.view;
    const int cx = 120, cy = 70;
    window->canvasEvent(SEL_MIDDLEBUTTONPRESS, cx, cy);
    window->canvasEvent(SEL_MIDDLEBUTTONRELEASE, cx, cy);
    ASSERT_TRUE(window->measureLog);
    ASSERT_EQ(window->measureLog->measurements().probes().size(), 1u);
    const ProbePoint probe = window->measureLog->measurements().probes()[0];
    EXPECT_NEAR(probe.x, (view.contentX(cx + 0.5) - 0.5) * grid.dx, 1e-9);
    EXPECT_NEAR(probe.y, (grid.NY - view.contentY(cy + 0.5) + 0.5) * grid.dy, 1e-9);

    window->key(KEY_0, CONTROLMASK);
    expectFrameFollowsView("fitted again");
    EXPECT_GT(window->shownFrame.window.stride, 2.0);
}

}  // namespace
