// The picture on the canvas, read back with glReadPixels: the points one
// per pixel call and the points from vertex arrays give the same pixels,
// and a point lands where its pixel says, 5 x 5 screen pixels large.
#include "support/channel_grid.h"
#include "render/compose_frame.h"
#include "core/flow_solver.h"
#include "render/frame_image.h"
#include "gui/frame_presenter.h"
#include "window_test.h"

#include <fx3d.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

// A top-level window holding nothing but a double-buffered canvas of the
// given size.
class CanvasWindow {
public:
    CanvasWindow(int width, int height)
    {
        visual = new FXGLVisual(testApp(), VISUAL_DOUBLEBUFFER);
        shell = new FXMainWindow(testApp(), "canvas", nullptr, nullptr, DECOR_NONE, 0, 0, width, height, 0, 0, 0,
                                 0, 0, 0);
        canvas = new FXGLCanvas(shell, visual, nullptr, 0, LAYOUT_FIX_WIDTH | LAYOUT_FIX_HEIGHT, 0, 0, width, height);
        shell->create();
        shell->show(PLACEMENT_SCREEN);
        settle(0.2);
    }
    ~CanvasWindow()
    {
        delete shell;
        delete visual;
    }

    // Paints the picture one way and reads the back buffer: RGB rows from
    // the bottom up.
    std::vector<uint8_t> paint(const FrameImage& picture, PointSubmission submission)
    {
        const int width = canvas->getWidth();
        const int height = canvas->getHeight();
        std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3);
        EXPECT_TRUE(canvas->makeCurrent());
        presenter.paint(picture, width, height, submission);
        glFinish();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        canvas->makeNonCurrent();
        return pixels;
    }

    FXGLCanvas* canvas = nullptr;
    FramePresenter presenter;

private:
    FXGLVisual* visual = nullptr;
    FXMainWindow* shell = nullptr;
};

// The channel composed with every element at k pixels per cell.
void composeChannel(FrameImage& picture, int k)
{
    Grid grid;
    makeChannel(grid, 40, 20);
    auto solver = buildSolver(grid, 100, 0.003);
    for (int n = 0; n < 30; ++n)
        solver->step();
    picture.allocate(40 * k, 20 * k);
    RenderElements all;
    all.boundaryCells = all.streamlines = all.uField = all.vField = all.pressure = all.vectors = true;
    ASSERT_TRUE(FrameComposer().compose(picture, solver->state(), 40, 20, k, all));
}

// Random values over the whole range at every pixel, row 0 and column 0
// included.
void composeNoise(FrameImage& picture, int width, int height)
{
    picture.allocate(width, height);
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> value(0, 255);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.fillRect(x, y, x, y, value(random), value(random), value(random));
}

int litPixels(const std::vector<uint8_t>& pixels)
{
    int count = 0;
    for (size_t k = 0; k < pixels.size(); k += 3)
        count += (pixels[k] | pixels[k + 1] | pixels[k + 2]) != 0 ? 1 : 0;
    return count;
}

}  // namespace

TEST(PresentFrame, BatchedPointsMatchLiteralPointsPixelForPixel)
{
    struct Case {
        int canvasWidth, canvasHeight;  // the window's canvas is 392 x 192
        int k;                          // 0: noise picture instead
        int noiseWidth, noiseHeight;
    };
    const Case cases[] = {
        {392, 192, 4, 0, 0}, {160, 80, 1, 0, 0}, {613, 311, 15, 0, 0}, {201, 97, 0, 33, 17}, {64, 64, 0, 120, 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.canvasWidth << " x " << c.canvasHeight << ", k " << c.k);
        FrameImage picture;
        if (c.k > 0)
            composeChannel(picture, c.k);
        else
            composeNoise(picture, c.noiseWidth, c.noiseHeight);
        CanvasWindow window(c.canvasWidth, c.canvasHeight);
        ASSERT_EQ(window.canvas->getWidth(), c.canvasWidth);
        const std::vector<uint8_t> literal = window.paint(picture, PointSubmission::Literal);
        const std::vector<uint8_t> batched = window.paint(picture, PointSubmission::Batched);
        EXPECT_GT(litPixels(literal), c.canvasWidth * c.canvasHeight / 10);
        EXPECT_TRUE(literal == batched);
    }
}

TEST(PresentFrame, EachPixelIsAFivePixelSquareAtItsPlace)
{
    // A 4 x 2 picture with one pixel lit: column 2, row 1 lies at (0, 0) in
    // device coordinates, the centre of a 40 x 20 canvas.
    FrameImage picture(4, 2);
    picture.fillRect(2, 1, 2, 1, 255, 128, 0);
    CanvasWindow window(40, 20);
    for (PointSubmission submission : {PointSubmission::Literal, PointSubmission::Batched}) {
        const std::vector<uint8_t> pixels = window.paint(picture, submission);
        EXPECT_EQ(litPixels(pixels), 25);
        const size_t centre = (static_cast<size_t>(10) * 40 + 20) * 3;
        EXPECT_EQ(pixels[centre], 255);
        EXPECT_EQ(pixels[centre + 1], 128);
        EXPECT_EQ(pixels[centre + 2], 0);
        // Nothing outside the square around the centre.
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x) {
                if (x < 17 || x > 22 || y < 7 || y > 12) {
                    EXPECT_EQ(pixels[(static_cast<size_t>(y) * 40 + x) * 3], 0) << x << ", " << y;
                }
            }
    }
}

// A picture ten times the canvas each way shows as its canvas-sized copy:
// the same halves, and the same pixels as that copy painted itself.
TEST(PresentFrame, APictureLargerThanTheCanvasIsShownFitted)
{
    FrameImage large(400, 200);
    large.fillRect(0, 0, 199, 199, 255, 0, 0);
    large.fillRect(200, 0, 399, 199, 0, 0, 255);
    large.fillRect(0, 0, 399, 9, 0, 255, 0);  // the top row of the copy
    FrameImage small(40, 20);
    small.fillRect(0, 0, 19, 19, 255, 0, 0);
    small.fillRect(20, 0, 39, 19, 0, 0, 255);
    small.fillRect(0, 0, 39, 0, 0, 255, 0);
    CanvasWindow window(40, 20);
    const std::vector<uint8_t> shown = window.paint(large, PointSubmission::Batched);
    EXPECT_TRUE(shown == window.paint(small, PointSubmission::Batched));
    EXPECT_TRUE(shown == window.paint(large, PointSubmission::Literal));
    const size_t left = (static_cast<size_t>(10) * 40 + 5) * 3, right = (static_cast<size_t>(10) * 40 + 35) * 3;
    EXPECT_EQ(shown[left], 255);
    EXPECT_EQ(shown[right + 2], 255);
    EXPECT_EQ(large.width(), 400);  // the picture itself keeps its size
}

TEST(PresentFrame, CanvasWithoutAreaDrawsNothing)
{
    FrameImage picture(4, 2);
    picture.fillRect(0, 0, 3, 1, 255, 255, 255);
    CanvasWindow window(30, 30);
    ASSERT_TRUE(window.canvas->makeCurrent());
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    FramePresenter presenter;
    presenter.paint(picture, 0, 30, PointSubmission::Batched);
    presenter.paint(picture, 30, 0, PointSubmission::Literal);
    uint8_t pixel[3] = {0, 0, 0};
    glReadBuffer(GL_BACK);
    glReadPixels(15, 15, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    window.canvas->makeNonCurrent();
    EXPECT_EQ(pixel[2], 255);  // still the blue it was cleared to
    EXPECT_EQ(pixel[0], 0);
}
