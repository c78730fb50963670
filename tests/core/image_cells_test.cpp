// A picture as a set-up: colours to cell types and pixels to cells.
#include "core/image_cells.h"

#include "core/cell_types.h"
#include "core/immersed_boundary.h"
#include "support/disc_coverage.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

TEST(ImageCells, ColoursNameCellTypes)
{
    const struct {
        uint8_t r, g, b;
        int32_t word;
    } cases[] = {
        {217, 219, 255, CELL_FLUID},                // the canvas colours of the types
        {130, 133, 135, CELL_SLIP_WALL},            // shared with the moving wall
        {79, 82, 84, CELL_NOSLIP_WALL},
        {79, 209, 84, CELL_INFLOW | DIR_EAST},
        {207, 82, 84, CELL_OUTFLOW},
        {217 + 10, 219 - 10, 255 - 12, CELL_FLUID}, // a lossy file's shift
        {0, 0, 0, CELL_NOSLIP_WALL},                // others by brightness
        {255, 255, 255, CELL_FLUID},
        {140, 100, 140, CELL_NOSLIP_WALL},          // brightness 116.5 of 255
        {150, 130, 90, CELL_FLUID},                 // brightness 131.4
        {0, 0, 255, CELL_NOSLIP_WALL},              // saturated blue is dark
        {255, 255, 0, CELL_FLUID},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cellWordOfColour(c.r, c.g, c.b), c.word)
            << int(c.r) << "," << int(c.g) << "," << int(c.b);
}

// Pixels from text, the top row first: '#' black, '.' white, 'i' the
// inflow colour, 'o' the outflow colour.
RgbPixels pixelsOf(std::initializer_list<const char*> rows)
{
    RgbPixels image;
    image.height = static_cast<int32_t>(rows.size());
    for (const char* row : rows) {
        image.width = static_cast<int32_t>(std::string(row).size());
        for (const char* p = row; *p; ++p) {
            const uint8_t black[3] = {0, 0, 0}, white[3] = {255, 255, 255};
            const uint8_t in[3] = {79, 209, 84}, out[3] = {207, 82, 84};
            const uint8_t* c = *p == '#' ? black : *p == 'i' ? in : *p == 'o' ? out : white;
            image.rgb.insert(image.rgb.end(), c, c + 3);
        }
    }
    return image;
}

TEST(ImageCells, EachCellTakesThePixelAtItsCentreTopRowOnTop)
{
    const RgbPixels image = pixelsOf({
        "##....",
        "##....",
        "......",
        "....##",
    });
    // 3 x 2 cells of 2 x 2 pixels: the centres fall on pixels (1|3|5, 1|3).
    EXPECT_EQ(imageCellWord(image, 3, 2, 0, 1), CELL_NOSLIP_WALL);
    EXPECT_EQ(imageCellWord(image, 3, 2, 1, 1), CELL_FLUID);
    EXPECT_EQ(imageCellWord(image, 3, 2, 2, 0), CELL_NOSLIP_WALL);
    EXPECT_EQ(imageCellWord(image, 3, 2, 0, 0), CELL_FLUID);
    // More cells than pixels: each pixel repeats.
    EXPECT_EQ(imageCellWord(image, 12, 8, 11, 0), CELL_NOSLIP_WALL);
    EXPECT_EQ(imageCellWord(image, 12, 8, 11, 2), CELL_FLUID);
}

TEST(ImageCells, TheGridFollowsThePaintingRules)
{
    const RgbPixels image = pixelsOf({
        "i...o",
        "i.#.o",
        "i.o.o",
    });
    Grid grid;
    gridFromImage(grid, image, 5, 3);
    ASSERT_EQ(grid.NX, 5);
    ASSERT_EQ(grid.NY, 3);
    EXPECT_EQ(grid.flags[0][1], CELL_INFLOW | DIR_EAST);
    EXPECT_EQ(grid.u[0][1], 1.0);
    EXPECT_EQ(grid.flags[0][2], CELL_INFLOW | DIR_SOUTH);  // the top border turns it
    EXPECT_EQ(grid.flags[4][1], CELL_OUTFLOW | DIR_EAST);
    EXPECT_EQ(grid.flags[2][0], CELL_OUTFLOW | DIR_SOUTH);
    EXPECT_EQ(grid.flags[2][1], CELL_NOSLIP_WALL);
    EXPECT_EQ(grid.flags[1][1], CELL_FLUID);
    EXPECT_EQ(grid.u[1][1], 0.0);
    EXPECT_GT(grid.dx, 0.0);
}

// A black disc on white: each pixel's grey the share of it the disc leaves
// white (anti-aliased), or black where its centre lies inside (hard).
RgbPixels discPicture(int width, int height, double cx, double cy, double r, bool antiAliased)
{
    RgbPixels image;
    image.width = width;
    image.height = height;
    const std::vector<float> share = discCoverage(width, height, cx, cy, r, antiAliased ? 8 : 1);
    for (float covered : share) {
        const uint8_t grey = static_cast<uint8_t>(std::lround(255.0 * (1.0 - covered)));
        image.rgb.insert(image.rgb.end(), {grey, grey, grey});
    }
    return image;
}

// An anti-aliased disc becomes an outline of its radius, at one pixel a
// cell and at two (60 x 30 pixels, square cells 1/30 of the domain's
// height); its cells are those the outline covers wholly. With hard edges
// the picture gives its cells as before and no outline.
TEST(ImageCells, AnAntiAliasedDiscBecomesAnOutlineBody)
{
    const double r = 7.3;  // pixels
    const struct {
        int NX, NY;
    } sizes[] = {{60, 30}, {30, 15}};
    for (const auto& size : sizes) {
        Grid grid;
        gridFromImage(grid, discPicture(60, 30, 24.4, 14.1, r, true), size.NX, size.NY);
        ASSERT_EQ(grid.outlines.size(), 1u) << size.NX;
        const double rDomain = r / 30.0;  // the picture is 30 pixels high, the domain 1
        EXPECT_NEAR(signedArea(grid.outlines[0].corners) / (3.14159265358979323846 * rDomain * rDomain), 1.0, 8e-3);
        const double cx = 24.4 / 30.0, cy = (30.0 - 14.1) / 30.0;
        EXPECT_NEAR(signedDistance(grid.outlines[0], cx, cy), -rDomain, 0.06 / 30.0);
        const auto covered = cellsCoveredBy(grid, grid.outlines[0]);
        int walls = 0;
        for (int32_t i = 0; i < grid.NX; ++i)
            for (int32_t j = 0; j < grid.NY; ++j)
                walls += grid.flags[i][j] == CELL_NOSLIP_WALL ? 1 : 0;
        EXPECT_EQ(walls, static_cast<int>(covered.size())) << size.NX;
        for (const auto& cell : covered)
            EXPECT_EQ(grid.flags[cell.first][cell.second], CELL_NOSLIP_WALL);
    }

    const RgbPixels hard = discPicture(60, 30, 24.4, 14.1, r, false);
    Grid grid;
    gridFromImage(grid, hard, 60, 30);
    EXPECT_TRUE(grid.outlines.empty());
    for (int32_t i = 0; i < 60; ++i)
        for (int32_t j = 0; j < 30; ++j)
            ASSERT_EQ(grid.flags[i][j], imageCellWord(hard, 60, 30, i, j)) << i << "," << j;
}

TEST(ImageCells, CellsUpKeepTheAspectWithinLimits)
{
    EXPECT_EQ(cellsUpForAspect(100, 640, 480, 255), 75);
    EXPECT_EQ(cellsUpForAspect(255, 100, 400, 255), 255);
    EXPECT_EQ(cellsUpForAspect(3, 1000, 10, 255), 1);
    EXPECT_EQ(cellsUpForAspect(40, 0, 0, 255), 40);
}

}  // namespace
