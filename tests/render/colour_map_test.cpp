// The colour-map view: the two colour tables at their anchors, the range
// (automatic or locked) and its ticks, vorticity on the staggered grid, and
// the composed picture with the other elements on top.
#include "core/centre_values.h"
#include "render/colour_bar.h"
#include "render/colour_map.h"
#include "render/compose_frame.h"
#include "render/quantity_field.h"

#include "test_grids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

struct TableCase {
    double t;
    MapColour expected;
};

void expectColour(MapColour got, MapColour expected, double t)
{
    EXPECT_EQ(got.red, expected.red) << "t = " << t;
    EXPECT_EQ(got.green, expected.green) << "t = " << t;
    EXPECT_EQ(got.blue, expected.blue) << "t = " << t;
}

// A value 0..1 of the published table as the 8-bit channel it becomes.
uint8_t byte(double channel)
{
    return static_cast<uint8_t>(std::lround(channel * 255));
}

}  // namespace

// viridis as published in matplotlib's colour table (van der Walt and
// Smith, 2015): entries 0, 64, 128, 192 and 255 of 256 at n / 255.
TEST(ColourTables, ViridisHoldsThePublishedEntriesAtItsAnchors)
{
    const TableCase cases[] = {
        {0 / 255.0, {byte(0.267004), byte(0.004874), byte(0.329415)}},
        {64 / 255.0, {byte(0.229739), byte(0.322361), byte(0.545706)}},
        {128 / 255.0, {byte(0.127568), byte(0.566949), byte(0.550556)}},
        {192 / 255.0, {byte(0.369214), byte(0.788888), byte(0.382914)}},
        {1.0, {byte(0.993248), byte(0.906157), byte(0.143936)}},
        {-3.0, {byte(0.267004), byte(0.004874), byte(0.329415)}},  // held to the ends
        {7.0, {byte(0.993248), byte(0.906157), byte(0.143936)}},
    };
    for (const TableCase& c : cases)
        expectColour(viridisColour(c.t), c.expected, c.t);
    // Perceptual and one-sided: it brightens all the way.
    int previous = -1;
    for (int n = 0; n <= 16; ++n) {
        const MapColour c = viridisColour(n / 16.0);
        const int brightness = 299 * c.red + 587 * c.green + 114 * c.blue;
        EXPECT_GT(brightness, previous) << n;
        previous = brightness;
    }
}

// Temperature (inferno, the same authors' tables) darkest when coldest and
// brightening all the way; dye from white (none) darkening all the way, its
// automatic range always 0..1 whatever the frame holds.
TEST(ColourTables, TemperatureBrightensAndDyeDarkensOverAFixedRange)
{
    expectColour(temperatureColour(0.0), {byte(0.001462), byte(0.000466), byte(0.013866)}, 0.0);
    expectColour(temperatureColour(128 / 255.0), {byte(0.735683), byte(0.215906), byte(0.330245)}, 0.5);
    expectColour(temperatureColour(1.0), {byte(0.988362), byte(0.998364), byte(0.644924)}, 1.0);
    expectColour(dyeColour(0.0), {255, 255, 255}, 0.0);
    int hotter = -1, darker = 1 << 30;
    for (int n = 0; n <= 16; ++n) {
        const MapColour t = temperatureColour(n / 16.0), d = dyeColour(n / 16.0);
        const int brightT = 299 * t.red + 587 * t.green + 114 * t.blue;
        const int brightD = 299 * d.red + 587 * d.green + 114 * d.blue;
        EXPECT_GT(brightT, hotter) << n;
        EXPECT_LT(brightD, darker) << n;
        hotter = brightT;
        darker = brightD;
    }
    const ColourRange dye = automaticRange(ColourQuantity::Dye, 0.2, 0.3);
    EXPECT_EQ(dye.low, 0.0);
    EXPECT_EQ(dye.high, 1.0);
    EXPECT_FALSE(isDiverging(ColourQuantity::Temperature));
    EXPECT_STREQ(quantityName(ColourQuantity::Temperature), "temperature");
}

// Blue at the low end, white at zero, red at the high end; each side fades
// toward white steadily.
TEST(ColourTables, DivergingIsBlueWhiteRedWithWhiteAtTheMiddle)
{
    const TableCase cases[] = {
        {0.0, {59, 76, 192}},
        {0.5, {255, 255, 255}},
        {1.0, {180, 4, 38}},
        {std::numeric_limits<double>::quiet_NaN(), {59, 76, 192}},
    };
    for (const TableCase& c : cases)
        expectColour(divergingColour(c.t), c.expected, c.t);
    const MapColour lowSide = divergingColour(0.25);
    const MapColour highSide = divergingColour(0.75);
    EXPECT_GT(lowSide.blue, lowSide.red);
    EXPECT_GT(highSide.red, highSide.blue);
    for (ColourQuantity q : {ColourQuantity::Vorticity, ColourQuantity::U, ColourQuantity::V})
        expectColour(quantityColour(q, rangePosition(automaticRange(q, -3.0, 1.0), 0.0)), {255, 255, 255}, 0.5);
    // Zero stays white in a locked range that is not symmetric, and the end
    // farther from zero reaches its end of the table.
    struct Position {
        ColourRange range;
        double value, t;
    } const positions[] = {
        {{0.0, 6.0}, 0.0, 0.5}, {{0.0, 6.0}, 6.0, 1.0},  {{0.0, 6.0}, -3.0, 0.5},
        {{-2.0, 8.0}, -2.0, 0.375}, {{-2.0, 8.0}, 8.0, 1.0}, {{-2.0, 8.0}, 0.0, 0.5},
        {{-4.0, -1.0}, -4.0, 0.0}, {{-4.0, -1.0}, 0.0, 0.375}, {{0.0, 0.0}, 1.0, 0.5},
    };
    for (const Position& p : positions)
        EXPECT_DOUBLE_EQ(tablePosition(ColourQuantity::Vorticity, p.range, p.value), p.t)
            << p.range.low << ".." << p.range.high << " at " << p.value;
    EXPECT_DOUBLE_EQ(tablePosition(ColourQuantity::Speed, {0.0, 6.0}, 3.0), 0.5);
    EXPECT_FALSE(isDiverging(ColourQuantity::Speed));
    EXPECT_FALSE(isDiverging(ColourQuantity::Pressure));
}

TEST(ColourRange, AutomaticRangesAndPositions)
{
    struct Case {
        ColourQuantity quantity;
        double smallest, largest;
        double low, high;
    } const cases[] = {
        {ColourQuantity::Speed, 0.5, 2.0, 0.5, 2.0},
        {ColourQuantity::Pressure, -4.0, -1.0, -4.0, -1.0},
        {ColourQuantity::Vorticity, -3.0, 1.0, -3.0, 3.0},   // symmetric about zero
        {ColourQuantity::U, 0.2, 0.7, -0.7, 0.7},
        {ColourQuantity::V, 0.0, 0.0, -1.0, 1.0},            // no width: widened
        {ColourQuantity::Speed, 2.0, 2.0, 1.0, 3.0},
        {ColourQuantity::Speed, INFINITY, -INFINITY, 0.0, 1.0},  // nothing finite
    };
    for (const Case& c : cases) {
        const ColourRange r = automaticRange(c.quantity, c.smallest, c.largest);
        EXPECT_DOUBLE_EQ(r.low, c.low) << quantityName(c.quantity) << " " << c.smallest;
        EXPECT_DOUBLE_EQ(r.high, c.high) << quantityName(c.quantity) << " " << c.smallest;
    }
    const ColourRange r{-2.0, 6.0};
    EXPECT_DOUBLE_EQ(rangePosition(r, 0.0), 0.25);
    EXPECT_DOUBLE_EQ(rangePosition(r, -9.0), 0.0);
    EXPECT_DOUBLE_EQ(rangePosition(r, 9.0), 1.0);
    EXPECT_DOUBLE_EQ(rangePosition(r, std::nan("")), 0.5);
}

TEST(ColourBar, ThreeToFiveRoundTicksInsideTheRange)
{
    struct Case {
        ColourRange range;
        int maxTicks;
        std::vector<double> ticks;
    } const cases[] = {
        {{0.0, 1.0}, 5, {0.0, 0.25, 0.5, 0.75, 1.0}},
        {{0.0, 1.0}, 3, {0.0, 0.5, 1.0}},
        {{-15.3, 15.3}, 3, {-10.0, 0.0, 10.0}},
        {{-0.73, 0.73}, 5, {-0.5, -0.25, 0.0, 0.25, 0.5}},
        {{-0.73, 0.73}, 3, {-0.5, 0.0, 0.5}},
        {{0.013, 2.9}, 4, {0.013, 1.4565, 2.9}},  // 0.5 gives five, 1 two: the ends and middle
        {{2.0, 9.0}, 4, {2.0, 4.0, 6.0, 8.0}},
    };
    for (const Case& c : cases) {
        const std::vector<double> ticks = colourBarTicks(c.range, c.maxTicks);
        ASSERT_GE(ticks.size(), 3u);
        ASSERT_LE(ticks.size(), 5u);
        ASSERT_EQ(ticks.size(), c.ticks.size()) << c.range.low << ".." << c.range.high;
        for (size_t n = 0; n < ticks.size(); ++n)
            EXPECT_NEAR(ticks[n], c.ticks[n], 1e-15) << c.range.low << ".." << c.range.high;
    }
    EXPECT_EQ(tickLabel(-10.0), "-10");
    EXPECT_EQ(tickLabel(0.25), "0.25");
    EXPECT_EQ(tickLabel(12345.0), "1.23e+04");
}

// A picture saved with its bar: the picture on top (centred on black when
// narrower than the bar needs), the strip below as the frames draw it at
// that width, with light value text in it.
TEST(ColourBar, ASavedPictureCarriesTheBarWideEnoughForItsValues)
{
    const ColourRange range{-2.0, 6.0};
    for (const int W : {40, 600}) {
        FrameImage picture(W, 30);
        picture.fillRect(0, 0, W - 1, 29, 200, 100, 50);
        FrameImage saved;
        pictureWithColourBar(picture, ColourQuantity::Speed, range, saved);
        const int width = std::max(W, savedColourBarWidth());
        ASSERT_EQ(saved.width(), width) << W;
        ASSERT_EQ(saved.height(), 30 + colour_bar::stripHeight) << W;
        const int left = (width - W) / 2;
        EXPECT_EQ(saved.pixelRed(left, 0), 200) << W;
        EXPECT_EQ(saved.pixelBlue(left + W - 1, 29), 50) << W;
        if (left > 0) {  // black beside a narrow picture
            EXPECT_EQ(saved.pixelRed(left - 1, 15), 0);
            EXPECT_EQ(saved.pixelRed(left + W, 15), 0);
        }

        FrameImage strip(width, colour_bar::stripHeight);
        drawColourBar(strip, 0, ColourQuantity::Speed, range);
        int differing = 0, light = 0;  // light: text pixels, smoothed edges included
        for (int row = 0; row < colour_bar::stripHeight; ++row)
            for (int column = 0; column < width; ++column) {
                differing += saved.pixelRed(column, 30 + row) != strip.pixelRed(column, row) ||
                             saved.pixelGreen(column, 30 + row) != strip.pixelGreen(column, row) ||
                             saved.pixelBlue(column, 30 + row) != strip.pixelBlue(column, row);
                light += row >= colour_bar::textTop &&
                         std::min({saved.pixelRed(column, 30 + row), saved.pixelGreen(column, 30 + row),
                                   saved.pixelBlue(column, 30 + row)}) >= 128;
            }
        EXPECT_EQ(differing, 0) << W;
        EXPECT_GT(light, 40) << W;  // three values or more
    }
    EXPECT_GE(savedColourBarWidth(), colour_bar::savedTicks * colour_bar::labelCharacters * 6);
}

// Vorticity dv/dx - du/dy of two linear flows the staggered grid holds
// exactly: u = c y gives -c, v = c x gives +c, in every cell.
TEST(QuantityField, VorticityOfLinearShearAndCentreValues)
{
    Grid g;
    makeFluidGrid(g, 8, 6);
    const double c = 2.5;
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j) {
            g.u[i][j] = c * (j + 0.5) * g.dy;  // u lies half a cell up the east face
            g.v[i][j] = 0.0;
        }
    Array2D<double> values;
    cellCentreQuantity(g, g.NX, g.NY, ColourQuantity::Vorticity, values);
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j)
            EXPECT_NEAR(values[i][j], -c, 1e-12) << i << "," << j;
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j) {
            g.u[i][j] = 0.0;
            g.v[i][j] = c * (i + 0.5) * g.dx;
        }
    cellCentreQuantity(g, g.NX, g.NY, ColourQuantity::Vorticity, values);
    EXPECT_NEAR(values[3][2], c, 1e-12);
    EXPECT_NEAR(values[0][0], c, 1e-12);
    // Centre values: v of cell (3, 2) is the mean of its south and north faces.
    cellCentreQuantity(g, g.NX, g.NY, ColourQuantity::V, values);
    EXPECT_DOUBLE_EQ(values[3][2], c * 3.5 * g.dx);
    g.u[2][2] = 3.0;
    g.u[3][2] = 5.0;
    g.v[3][1] = 0.0;
    g.v[3][2] = 0.0;
    cellCentreQuantity(g, g.NX, g.NY, ColourQuantity::Speed, values);
    EXPECT_DOUBLE_EQ(values[3][2], 4.0);
}

// Values and extent shared among threads equal one pass, cell by cell,
// to the bit: odd sizes, walls, a grid of walls only, NaN, infinities and
// a negative zero first among zeros.
TEST(QuantityField, AnyNumberOfThreadsGivesTheBitsOfOnePass)
{
    struct SizeCase {
        int32_t NX, NY;
        bool allWalls;
    };
    const SizeCase sizes[] = {{1, 1, false}, {2, 2, false}, {1, 5, false}, {5, 1, false}, {3, 3, true},
                              {300, 7, false}, {400, 9, true}, {260, 130, false}};
    const ColourQuantity quantities[] = {ColourQuantity::U, ColourQuantity::V, ColourQuantity::Speed,
                                         ColourQuantity::Pressure, ColourQuantity::Vorticity};
    const auto sameBits = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    for (const SizeCase& size : sizes) {
        SimGrid g;
        makeFluidGrid(g, size.NX, size.NY);
        uint32_t seed = 12345;
        const auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
        for (int32_t i = 0; i < g.NX; ++i)
            for (int32_t j = 0; j < g.NY; ++j) {
                g.u[i][j] = static_cast<double>(next() % 2001) / 1000.0 - 1.0;
                g.v[i][j] = next() % 50 == 0 ? std::numeric_limits<double>::quiet_NaN() : 0.001 * (next() % 997);
                g.p[i][j] = 0.0;
                if (size.allWalls || (i + 3 * j) % 11 == 0)
                    g.setCell(i, j, CELL_NOSLIP_WALL);
            }
        g.p[0][0] = -0.0;
        g.u[g.NX / 2][g.NY / 2] = std::numeric_limits<double>::infinity();
        for (ColourQuantity quantity : quantities) {
            Array2D<double> onePass(g.NX, g.NY);
            for (int32_t i = 0; i < g.NX; ++i)
                for (int32_t j = 0; j < g.NY; ++j)
                    onePass[i][j] = quantity == ColourQuantity::U       ? centreU(g, i, j)
                                    : quantity == ColourQuantity::V     ? centreV(g, i, j)
                                    : quantity == ColourQuantity::Speed ? centreSpeed(g, i, j)
                                    : quantity == ColourQuantity::Pressure
                                        ? g.p[i][j]
                                        : centreVorticity(g, g.NX, g.NY, i, j);
            bool anyFluid = false;
            for (int32_t i = 0; i < g.NX; ++i)
                for (int32_t j = 0; j < g.NY; ++j)
                    anyFluid = anyFluid || isFluid(g.flags[i][j]);
            ValueExtent expected{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
            for (int32_t i = 0; i < g.NX; ++i)
                for (int32_t j = 0; j < g.NY; ++j)
                    if ((!anyFluid || isFluid(g.flags[i][j])) && std::isfinite(onePass[i][j])) {
                        expected.smallest = std::min(expected.smallest, onePass[i][j]);
                        expected.largest = std::max(expected.largest, onePass[i][j]);
                    }
            for (int threads : {1, 2, 3, 8}) {
                const ParallelParts parallel(threads);
                Array2D<double> values;
                cellCentreQuantity(g, g.NX, g.NY, quantity, values, parallel);
                int differing = 0;
                for (int32_t i = 0; i < g.NX; ++i)
                    for (int32_t j = 0; j < g.NY; ++j)
                        differing += !sameBits(values[i][j], onePass[i][j]);
                const ValueExtent extent = fluidExtent(g, g.NX, g.NY, values, parallel);
                const std::string where = std::to_string(size.NX) + " x " + std::to_string(size.NY) +
                                          ", quantity " + std::to_string(static_cast<int>(quantity)) + ", " +
                                          std::to_string(threads) + " threads";
                EXPECT_EQ(differing, 0) << where;
                EXPECT_TRUE(sameBits(extent.smallest, expected.smallest)) << where << ": " << extent.smallest;
                EXPECT_TRUE(sameBits(extent.largest, expected.largest)) << where << ": " << extent.largest;
            }
        }
    }
}

// The map fills the picture over the frame's own range, or over the locked
// one; the boundary cells still cover it.
TEST(ColourMapCompose, AutomaticAndLockedRangeWithBoundaryCellsOnTop)
{
    SimGrid g;
    makeFluidGrid(g, 10, 6);
    for (int32_t i = 0; i < g.NX; ++i) {
        g.setCell(i, 0, CELL_NOSLIP_WALL);
        for (int32_t j = 0; j < g.NY; ++j)
            g.p[i][j] = i;  // pressure rising west to east
    }
    const int k = 4;
    FrameImage image(k * g.NX, k * g.NY);
    FrameComposer composer;
    RenderElements elements;
    elements.boundaryCells = true;
    elements.colourMap.quantity = ColourQuantity::Pressure;
    ASSERT_TRUE(composer.compose(image, g, g.NX, g.NY, k, elements));
    EXPECT_DOUBLE_EQ(composer.colourRange().low, 0.0);
    EXPECT_DOUBLE_EQ(composer.colourRange().high, 9.0);
    // West end low, east end high, the wall row in its own grey.
    const MapColour west = viridisColour(0.0);
    const MapColour east = viridisColour(1.0);
    const int middleRow = k * g.NY / 2;
    EXPECT_EQ(image.pixelRed(1, middleRow), west.red);
    EXPECT_EQ(image.pixelGreen(image.width() - 2, middleRow), east.green);
    const int wallRow = image.height() - 2;
    EXPECT_EQ(image.pixelRed(20, wallRow), image.pixelGreen(20, wallRow));
    EXPECT_NE(image.pixelRed(20, wallRow), viridisColour(rangePosition({0.0, 9.0}, 5.0)).red);

    elements.colourMap.locked = true;
    elements.colourMap.range = ColourRange{0.0, 4.5};
    ASSERT_TRUE(composer.compose(image, g, g.NX, g.NY, k, elements));
    EXPECT_DOUBLE_EQ(composer.colourRange().high, 4.5);
    // Half way along is now the top of the range; beyond it stays there.
    EXPECT_EQ(image.pixelGreen(image.width() - 2, middleRow), east.green);
    EXPECT_EQ(image.pixelGreen(k * 7, middleRow), east.green);
    EXPECT_NE(image.pixelGreen(k * 2, middleRow), east.green);
}
