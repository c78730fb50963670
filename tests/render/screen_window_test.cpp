// The screen picture of a grid larger than the canvas: only the part on
// the canvas, at about the canvas's pixels, each the colour of the cell it
// stands for; zoomed in to a pixel per cell, the same pixels as the whole
// one-pixel-per-cell picture.
#include "core/cell_types.h"
#include "render/colour_bar.h"
#include "render/screen_frame.h"
#include "test_grids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int canvasWidth = 400;
constexpr int canvasHeight = 250;

// The place Fit gives a whole picture of width x height on the canvas.
CanvasPlace fitPlace(int width, int height)
{
    const double scale = std::min(double(canvasWidth) / width, double(canvasHeight) / height);
    return CanvasPlace{canvasWidth, canvasHeight, 0.5 * (canvasWidth - scale * width),
                       0.5 * (canvasHeight - scale * height), scale};
}

TEST(ScreenWindow, TheCanvasPartAtAboutTheCanvasPixels)
{
    struct Case {
        const char* what;
        int32_t NX, NY;
        CanvasPlace place;
        ScreenWindow expected;
    };
    const Case cases[] = {
        {"a grid that fits is whole", 400, 200, fitPlace(400, 200), ScreenWindow{}},
        {"fit, 2.5 cells a pixel", 1000, 500, fitPlace(1000, 500), ScreenWindow{0, 0, 2.5, 400, 200}},
        {"fit, taller than wide", 300, 1000, fitPlace(300, 1000), ScreenWindow{0, 0, 4, 75, 250}},
        {"1:1 about the middle", 1000, 500, CanvasPlace{canvasWidth, canvasHeight, -300, -125, 1.0},
         ScreenWindow{300, 125, 1, 400, 250}},
        {"4:1 near the south-east corner", 1000, 500, CanvasPlace{canvasWidth, canvasHeight, -3650, -1800, 4.0},
         ScreenWindow{912, 450, 1, 88, 50}},
        {"panned off the picture", 1000, 500, CanvasPlace{canvasWidth, canvasHeight, 500, 0, 1.0}, ScreenWindow{}},
    };
    for (const Case& c : cases) {
        const ScreenWindow window = screenWindowFor(c.place, c.NX, c.NY, c.NY);
        EXPECT_EQ(window, c.expected) << c.what << ": " << window.left << "," << window.top << " stride "
                                      << window.stride << " " << window.width << " x " << window.height;
    }
}

// Cells in square blocks of one type each: wall, inflow, outflow, fluid.
int32_t blockType(int32_t i, int32_t j)
{
    static const int32_t types[] = {CELL_NOSLIP_WALL, CELL_INFLOW | DIR_EAST, CELL_OUTFLOW | DIR_EAST, CELL_FLUID};
    return types[(i / 40 + 3 * (j / 40)) % 4];
}

std::unique_ptr<SimGrid> blockGrid(int32_t NX, int32_t NY)
{
    auto grid = makeRestingGrid(NX, NY);
    grid->dx = grid->dy = 1.0 / NY;
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            grid->flags[i][j] = blockType(i, j);
            grid->u[i][j] = 0.25 + 0.5 * ((i / 40 + j / 40) % 2);  // 0.25 or 0.75
        }
    // The largest value, under a wall block, where it sets the field's
    // scale and shows nowhere.
    for (int32_t i = 10; i < 30; ++i)
        for (int32_t j = 10; j < 30; ++j)
            grid->u[i][j] = 1.0;
    return grid;
}

// At Fit a 1000 x 500 grid makes a 400 x 200 frame: each pixel whose cell
// lies well inside a block (five cells from its edges) has the block's
// colour, and the u field's red where the block is fluid.
TEST(ScreenWindow, AGridLargerThanTheCanvasAtFitShowsTheSampledCells)
{
    const int32_t NX = 1000, NY = 500;
    const std::unique_ptr<SimGrid> grid = blockGrid(NX, NY);
    const ScreenWindow window = screenWindowFor(fitPlace(NX, NY), NX, NY, NY);
    RenderElements elements;
    elements.boundaryCells = elements.uField = true;
    ScreenComposer composer;
    ScreenFrame frame;
    composer.compose(*grid, NX, NY, 1, elements, frame, 1.0, nullptr, window);
    ASSERT_EQ(frame.width, 400);
    ASSERT_EQ(frame.height, 200);
    EXPECT_EQ(frame.contentWidth, NX);
    EXPECT_EQ(frame.contentHeight, NY);
    int checked = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            // Whole-picture column V shows cell V - 1, row R cell NY - R.
            const int32_t i = static_cast<int32_t>(window.column(x)) - 1;
            const int32_t j = NY - static_cast<int32_t>(window.row(y));
            if (i % 40 < 5 || i % 40 > 34 || j % 40 < 5 || j % 40 > 34)
                continue;
            const int32_t word = blockType(i, j);
            const uint8_t* pixel = &frame.rgb[3 * (static_cast<size_t>(y) * frame.width + x)];
            if (word == CELL_FLUID) {
                const int level = static_cast<int>(grid->u[i][j] * 255);
                EXPECT_EQ(pixel[0], static_cast<int>(static_cast<float>(0.78 * level))) << x << "," << y;
                EXPECT_EQ(pixel[1], 0);
                EXPECT_EQ(pixel[2], 0);
            } else {
                const CellPictureColour colour = pictureColourOf(word & (CELL_WALL_MASK | CELL_INFLOW | CELL_OUTFLOW));
                EXPECT_EQ(pixel[0], colour.r) << x << "," << y;
                EXPECT_EQ(pixel[1], colour.g);
                EXPECT_EQ(pixel[2], colour.b);
            }
            ++checked;
        }
    EXPECT_GT(checked, 40000);
}

// Flows with every cell different: a channel with noise added, a circle
// outline and particles.
std::unique_ptr<SimGrid> busyGrid(int32_t NX, int32_t NY)
{
    auto grid = makeChannelGrid(NX, NY);
    grid->dx = grid->dy = 1.0 / NY;
    std::srand(7);
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            grid->u[i][j] += 0.1 * std::rand() / RAND_MAX;
            grid->v[i][j] += 0.1 * std::rand() / RAND_MAX;
            grid->p[i][j] += 0.1 * std::rand() / RAND_MAX;
        }
    enableHeat(grid->scalars, NX, NY);
    enableDye(grid->scalars, NX, NY);
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            grid->scalars.T[i][j] = std::rand() % 1000 / 999.0;
            grid->scalars.c[i][j] = std::rand() % 1000 / 999.0;
        }
    // The largest of each field far from the window the test looks at: the
    // window's colours are scaled as the whole grid's.
    for (int32_t i = 100; i < 104; ++i)
        for (int32_t j = 100; j < 104; ++j)
            grid->u[i][j] = grid->v[i][j] = grid->p[i][j] = 50.0;
    grid->outlines.push_back(BodyOutline::circle(0.55 * NX * grid->dx, 0.5 * NY * grid->dy, 20 * grid->dx));
    return grid;
}

// Zoomed in to four screen pixels a cell about the middle of the grid,
// the frame holds the visible cells at one pixel each, whatever they show:
// the very pixels of
// the whole picture at a pixel per cell (the fields scaled by the whole
// grid's largest values, which lie outside the window; outlines and
// particles, moved to the frame, within a level of rounding).
TEST(ScreenWindow, ZoomedInTheFrameIsTheWholePicturesPartOnTheCanvas)
{
    const int32_t NX = 1000, NY = 500;
    const std::unique_ptr<SimGrid> grid = busyGrid(NX, NY);
    std::vector<Particle> particles;
    for (int n = 0; n < 50; ++n)
        particles.push_back(Particle{(520.2 + n % 10 * 3.37) * grid->dx, (250.2 + n / 10 * 2.71) * grid->dy,
                                     static_cast<uint64_t>(n), 0, n % 8});
    struct Case {
        const char* what;
        RenderElements elements;
        int tolerance;
    };
    Case cases[6] = {{"designed fields and cells", {}, 0}, {"locked vorticity map", {}, 0},
                     {"locked pressure map", {}, 0},       {"locked temperature map", {}, 0},
                     {"locked dye map", {}, 0},            {"outlines and particles", {}, 1}};
    cases[0].elements.boundaryCells = cases[0].elements.uField = cases[0].elements.vField = true;
    cases[0].elements.pressure = cases[0].elements.outlineCells = true;
    cases[1].elements.colourMap = ColourMapView{ColourQuantity::Vorticity, true, ColourRange{-30, 30}};
    cases[1].elements.boundaryCells = cases[1].elements.outlineCells = true;
    cases[2].elements.colourMap = ColourMapView{ColourQuantity::Pressure, true, ColourRange{0, 0.1}};
    cases[3].elements.colourMap = ColourMapView{ColourQuantity::Temperature, true, ColourRange{0, 1}};
    cases[4].elements.colourMap = ColourMapView{ColourQuantity::Dye, true, ColourRange{0, 1}};
    cases[5].elements.boundaryCells = cases[5].elements.particles = true;
    const CanvasPlace place{canvasWidth, canvasHeight, -4.0 * 450, -4.0 * 220, 4.0};
    const ScreenWindow window = screenWindowFor(place, NX, NY, NY);
    ASSERT_EQ(window, (ScreenWindow{450, 220, 1, 100, 63}));
    for (const Case& c : cases) {
        ScreenComposer whole, part;
        ScreenFrame wholeFrame, frame;
        whole.compose(*grid, NX, NY, 1, c.elements, wholeFrame, 1.0, &particles);
        part.compose(*grid, NX, NY, 1, c.elements, frame, 1.0, &particles, window);
        ASSERT_EQ(frame.width, window.width) << c.what;
        ASSERT_EQ(frame.height, window.height) << c.what;
        int differing = 0;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x)
                for (int c3 = 0; c3 < 3; ++c3) {
                    const int shown = frame.rgb[3 * (static_cast<size_t>(y) * frame.width + x) + c3];
                    const int expected =
                        wholeFrame.rgb[3 * ((static_cast<size_t>(y) + 220) * wholeFrame.width + x + 450) + c3];
                    EXPECT_NEAR(shown, expected, c.tolerance) << c.what << " at " << x << "," << y;
                    differing += shown != expected;
                }
        if (c.tolerance == 0) {
            EXPECT_EQ(differing, 0) << c.what;
        }
    }
}

// Particles' streaks follow the view: after a pan, a zoom or a change from
// the whole picture to a part, the frame is the one a composer that had
// shown the new view all along draws. Places on binary fractions of a
// cell keep every step of the arithmetic exact.
TEST(ScreenWindow, StreaksFollowTheViewAcrossPansAndZooms)
{
    const int32_t NX = 1024, NY = 512;
    const std::unique_ptr<SimGrid> grid = busyGrid(NX, NY);
    RenderElements elements;
    elements.particles = elements.particleStreaks = true;
    const auto placesAt = [&](int frame) {
        std::vector<Particle> particles;
        for (int n = 0; n < 40; ++n)
            particles.push_back(Particle{(520.25 + n % 8 * 5 + 2.25 * frame) * grid->dx,
                                         (260.5 + n / 8 * 6 + 1.5 * frame) * grid->dy, static_cast<uint64_t>(n), 0,
                                         n % 8});
        return particles;
    };
    const ScreenWindow oneToOne = screenWindowFor(CanvasPlace{canvasWidth, canvasHeight, -400, -200, 1.0}, NX, NY, NY);
    const ScreenWindow panned = screenWindowFor(CanvasPlace{canvasWidth, canvasHeight, -430, -190, 1.0}, NX, NY, NY);
    const ScreenWindow zoomedOut = screenWindowFor(CanvasPlace{canvasWidth, canvasHeight, -200, -100, 0.5}, NX, NY, NY);
    ASSERT_EQ(zoomedOut.stride, 2.0);
    struct Case {
        const char* what;
        ScreenWindow before, after;
    };
    const Case cases[] = {{"pan", oneToOne, panned},
                          {"zoom out", oneToOne, zoomedOut},
                          {"zoom in", zoomedOut, panned},
                          {"whole picture to a part", ScreenWindow(), panned},
                          {"part to the whole picture", panned, ScreenWindow()}};
    for (const Case& c : cases) {
        ScreenComposer moved, direct;
        ScreenFrame movedFrame, directFrame;
        for (int frame = 0; frame < 3; ++frame) {
            const std::vector<Particle> particles = placesAt(frame);
            moved.compose(*grid, NX, NY, 1, elements, movedFrame, 1.0, &particles, frame < 2 ? c.before : c.after);
            direct.compose(*grid, NX, NY, 1, elements, directFrame, 1.0, &particles, c.after);
        }
        ASSERT_EQ(movedFrame.width, directFrame.width) << c.what;
        ASSERT_EQ(movedFrame.height, directFrame.height) << c.what;
        int differing = 0, lit = 0;
        for (size_t n = 0; n < movedFrame.rgb.size(); ++n) {
            differing += movedFrame.rgb[n] != directFrame.rgb[n];
            lit += directFrame.rgb[n] != 0;
        }
        EXPECT_EQ(differing, 0) << c.what;
        EXPECT_GT(lit, 0) << c.what;
    }
}

// With a colour map, the rows of a window below the grid show the colour
// bar's strip under the whole picture, at the window's columns.
TEST(ScreenWindow, TheStripBelowAWindowIsTheWholePicturesColourBar)
{
    const int32_t NX = 1000, NY = 500;
    const std::unique_ptr<SimGrid> grid = busyGrid(NX, NY);
    RenderElements elements;
    elements.colourMap = ColourMapView{ColourQuantity::Speed, true, ColourRange{0, 2}};
    const int contentHeight = screenContentHeight(NY, 1, true);
    const ScreenWindow window = screenWindowFor(fitPlace(NX, contentHeight), NX, NY, contentHeight);
    ScreenComposer composer;
    ScreenFrame frame;
    composer.compose(*grid, NX, NY, 1, elements, frame, 1.0, nullptr, window);
    EXPECT_EQ(frame.contentHeight, NY + colour_bar::stripHeight);
    FrameImage strip(NX, colour_bar::stripHeight);
    drawColourBar(strip, 0, ColourQuantity::Speed, ColourRange{0, 2});
    int stripRows = 0;
    for (int y = 0; y < frame.height; ++y) {
        const int64_t row = window.row(y);
        if (row < NY)
            continue;
        ++stripRows;
        for (int x = 0; x < frame.width; ++x) {
            const uint8_t* pixel = &frame.rgb[3 * (static_cast<size_t>(y) * frame.width + x)];
            const int column = static_cast<int>(window.column(x));
            const int stripRow = static_cast<int>(row - NY);
            ASSERT_EQ(pixel[0], strip.pixelRed(column, stripRow)) << x << "," << y;
            ASSERT_EQ(pixel[1], strip.pixelGreen(column, stripRow));
            ASSERT_EQ(pixel[2], strip.pixelBlue(column, stripRow));
        }
    }
    EXPECT_GE(stripRows, colour_bar::stripHeight / window.stride - 1);
}

// The whole picture, with and without a colour map, at one and at several
// pixels per cell: the bytes of the composed picture with the colour bar's
// strip framed below it, as they were made before the rows went straight
// into the frame.
TEST(ScreenWindow, AWholeFrameIsTheFramedPicturesBytes)
{
    const int32_t NX = 150, NY = 110;
    const std::unique_ptr<SimGrid> grid = busyGrid(NX, NY);
    for (int k : {1, 3})
        for (bool colourMap : {false, true}) {
            RenderElements elements;
            elements.boundaryCells = elements.streamlines = elements.vectors = true;
            elements.uField = elements.vField = elements.pressure = true;
            if (colourMap)
                elements.colourMap.quantity = ColourQuantity::Vorticity;
            ScreenComposer composer;
            ScreenFrame frame;
            composer.compose(*grid, NX, NY, k, elements, frame);

            FrameComposer plain;
            FrameImage picture(k * NX, k * NY);
            plain.compose(picture, *grid, NX, NY, k, elements, nullptr,
                          ElementSpacing{screen_spacing::seedPixels, screen_spacing::vectorPixels});
            FrameImage framed(k * NX, screenContentHeight(NY, k, colourMap));
            const FramePlanes to = framed.planes();
            for (int row = 0; row < k * NY; ++row) {
                std::copy_n(picture.redRow(row), k * NX, to.red[row]);
                std::copy_n(picture.greenRow(row), k * NX, to.green[row]);
                std::copy_n(picture.blueRow(row), k * NX, to.blue[row]);
            }
            if (colourMap)
                drawColourBar(framed, k * NY, elements.colourMap.quantity, plain.colourRange());
            ScreenFrame expected;
            copyToScreenFrame(framed, k * NY, k, plain.colourRange(), expected);
            EXPECT_EQ(frame.width, expected.width);
            EXPECT_EQ(frame.height, expected.height);
            EXPECT_EQ(frame.pictureHeight, expected.pictureHeight);
            EXPECT_EQ(frame.contentHeight, expected.contentHeight);
            EXPECT_TRUE(frame.rgb == expected.rgb) << "k " << k << " colour map " << colourMap;
        }
}

}  // namespace
