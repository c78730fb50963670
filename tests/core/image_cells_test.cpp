// A picture as a set-up: colours to cell types and pixels to cells.
#include "core/image_cells.h"

#include "core/cell_types.h"

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

TEST(ImageCells, CellsUpKeepTheAspectWithinLimits)
{
    EXPECT_EQ(cellsUpForAspect(100, 640, 480, 255), 75);
    EXPECT_EQ(cellsUpForAspect(255, 100, 400, 255), 255);
    EXPECT_EQ(cellsUpForAspect(3, 1000, 10, 255), 1);
    EXPECT_EQ(cellsUpForAspect(40, 0, 0, 255), 40);
}

}  // namespace
