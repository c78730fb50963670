// kelvo-batch with a picture in place of the grid file: the cells a
// generated PNG turns into, the grid file --save-grid writes, a run straight
// from the picture, and the command lines that are refused.
#include "batch_probe.h"
#include "core/cell_types.h"
#include "io/grid_file.h"
#include "platform/picture_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

using namespace hostile;

namespace {

struct Rgb {
    uint8_t r, g, b;
};

constexpr Rgb white{255, 255, 255};
constexpr Rgb black{0, 0, 0};
constexpr Rgb darkGrey{60, 60, 60};    // below half brightness: a wall
constexpr Rgb lightGrey{200, 200, 200};

// The editor's canvas colour of a cell type, as a picture holds it.
Rgb editorColour(int32_t bits)
{
    const CellCanvasColour& c = cellTypeByBits(bits)->canvasColour;
    const auto byte = [](float level) { return static_cast<uint8_t>(std::lround(level * 255.0f)); };
    return {byte(c.r), byte(c.g), byte(c.b)};
}

// A picture of width x height, white but for the painted pixels (x from
// the left, y from the top).
struct Painted {
    int x, y;
    Rgb colour;
};

// A cell expected in the grid, (i, j) from the south-west, and its type bit.
struct Expected {
    int i, j;
    int32_t type;
};

struct PictureCase {
    const char* name;
    int width, height;
    std::vector<Painted> pixels;
    const char* gridSize;
    int NX, NY;
    std::vector<Expected> cells;
};

bool writePicture(const std::string& path, const PictureCase& c)
{
    PictureBytes picture;
    picture.width = c.width;
    picture.height = c.height;
    picture.rgb.assign(3 * static_cast<size_t>(c.width) * c.height, 255);
    for (const Painted& p : c.pixels) {
        uint8_t* at = &picture.rgb[3 * (static_cast<size_t>(p.y) * c.width + p.x)];
        at[0] = p.colour.r;
        at[1] = p.colour.g;
        at[2] = p.colour.b;
    }
    return writePngFile(path, picture);
}

std::vector<PictureCase> pictureCases()
{
    const Rgb inflow = editorColour(CELL_INFLOW);
    const Rgb outflow = editorColour(CELL_OUTFLOW);
    const Rgb slip = editorColour(CELL_SLIP_WALL);
    return {
        // One pixel a cell: the top pixel row is the grid's top row.
        {"one pixel a cell", 8, 6,
         {{0, 0, black}, {7, 0, black}, {0, 3, inflow}, {7, 3, outflow}, {3, 3, darkGrey}, {4, 3, lightGrey},
          {5, 5, slip}},
         "8x6", 8, 6,
         {{0, 5, CELL_NOSLIP_WALL}, {7, 5, CELL_NOSLIP_WALL}, {0, 0, CELL_FLUID}, {0, 2, CELL_INFLOW},
          {7, 2, CELL_OUTFLOW}, {3, 2, CELL_NOSLIP_WALL}, {4, 2, CELL_FLUID}, {5, 0, CELL_SLIP_WALL},
          {5, 5, CELL_FLUID}}},
        // A small picture stretched: each pixel covers 2 x 2 cells.
        {"stretched", 4, 2, {{0, 0, black}, {1, 0, black}, {3, 1, black}}, "8x4", 8, 4,
         {{0, 3, CELL_NOSLIP_WALL}, {3, 2, CELL_NOSLIP_WALL}, {4, 3, CELL_FLUID}, {7, 0, CELL_NOSLIP_WALL},
          {6, 1, CELL_NOSLIP_WALL}, {5, 1, CELL_FLUID}, {0, 1, CELL_FLUID}}},
        // A large picture shrunk: each cell takes the pixel at its centre.
        {"shrunk", 30, 30, {{5, 5, black}, {0, 0, black}, {15, 25, black}}, "3x3", 3, 3,
         {{0, 2, CELL_NOSLIP_WALL}, {1, 0, CELL_NOSLIP_WALL}, {0, 0, CELL_FLUID}, {2, 2, CELL_FLUID}}},
        // The largest grid, saved in version 2: each pixel covers 256 x 256 cells.
        {"largest", 4, 2, {{0, 0, black}, {3, 1, black}}, "1024x512", 1024, 512,
         {{0, 511, CELL_NOSLIP_WALL}, {1023, 0, CELL_NOSLIP_WALL}, {512, 300, CELL_FLUID}}},
    };
}

class BatchPicture : public BatchProbe {};

}  // namespace

TEST_F(BatchPicture, SavedGridHoldsTheCellsOfThePicture)
{
    for (const PictureCase& c : pictureCases()) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writePicture(scratch + "/setup.PNG", c));
        const ChildOutcome o = run({"setup.PNG", "--grid-size", c.gridSize, "--save-grid", "setup.grid"});
        expectRan(o, c.name);
        Grid grid;
        GridFileSettings settings;
        ASSERT_EQ(readGridFile(scratch + "/setup.grid", grid, settings), GridFileStatus::Ok);
        ASSERT_EQ(grid.NX, c.NX);
        ASSERT_EQ(grid.NY, c.NY);
        for (const Expected& e : c.cells)
            EXPECT_EQ(grid.flags[e.i][e.j] & CELL_TYPE_MASK, e.type) << "cell " << e.i << ", " << e.j;
    }
}

TEST_F(BatchPicture, PictureRunsDirectly)
{
    ASSERT_TRUE(writePicture(scratch + "/setup.png", pictureCases()[0]));
    const ChildOutcome o = run({"setup.png", "--grid-size", "8x6", "--steps", "3", "--dump-csv", "-"});
    expectRan(o, "run from a picture");
    EXPECT_EQ(linesOf(o.out).size(), 1u + 8 * 6);  // the header and every cell
}

TEST_F(BatchPicture, WrongPictureCommandLinesAreRefused)
{
    ASSERT_TRUE(writePicture(scratch + "/setup.png", pictureCases()[1]));
    std::ofstream(scratch + "/text.png") << "not a picture";
    const std::string grid = smallGrid();
    struct Refused {
        std::vector<std::string> args;
        int status;
        const char* mention;
    };
    const std::vector<Refused> refusals = {
        {{"setup.png"}, exitUsage, "--grid-size"},
        {{"setup.png", "--grid-size", "2x5"}, exitUsage, "--grid-size"},
        {{"setup.png", "--grid-size", "5x513"}, exitUsage, "--grid-size"},
        {{"setup.png", "--grid-size", "1025x5"}, exitUsage, "--grid-size"},
        {{"setup.png", "--grid-size", "12"}, exitUsage, "--grid-size"},
        {{"setup.png", "--grid-size", "8x"}, exitUsage, "--grid-size"},
        {{"setup.png", "--grid-size", "8x6", "--save-grid", ""}, exitUsage, "--save-grid"},
        {{grid, "--grid-size", "8x6"}, exitUsage, "need a picture"},
        {{grid, "--save-grid", "copy.grid"}, exitUsage, "need a picture"},
        {{"text.png", "--grid-size", "8x6"}, exitRunFailed, "not a readable"},
        {{"missing.png", "--grid-size", "8x6"}, exitRunFailed, "not a readable"},
        {{"setup.png", "--grid-size", "8x6", "--save-grid", "no/such/dir.grid"}, exitRunFailed, "cannot write"},
    };
    for (const Refused& r : refusals)
        expectRefusal(run(r.args), r.status, r.mention, r.args.back());
}
