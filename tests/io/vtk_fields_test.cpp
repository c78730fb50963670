// The VTK field files: the header a reader needs, the appended block's
// layout byte for byte, values at known cells, and the numbered series with
// its collection.
#include "io/vtk_fields.h"
#include "io/vtk_series.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int32_t NX = 5;
constexpr int32_t NY = 4;
constexpr double dx = 0.25;
constexpr double dy = 0.5;

// Faces linear in the indices, so every centre value is known by hand:
// u = i + 10 j, v = 3 i + j, p = 100 i + j; one inflow cell pointing east.
void makeLinearGrid(Grid& grid)
{
    grid.NX = NX;
    grid.NY = NY;
    grid.dx = dx;
    grid.dy = dy;
    grid.allocateFluid();
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            grid.u[i][j] = i + 10.0 * j;
            grid.v[i][j] = 3.0 * i + j;
            grid.p[i][j] = 100.0 * i + j;
        }
    grid.flags[0][2] = CELL_INFLOW | DIR_EAST;
}

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The appended block of a file: everything after "_", and the offset of
// each DataArray as its header gives it.
struct ParsedFile {
    std::string header;
    std::string block;
    std::vector<unsigned long long> offsets;
};

ParsedFile parse(const std::vector<char>& bytes)
{
    const std::string text(bytes.begin(), bytes.end());
    ParsedFile parsed;
    const size_t underscore = text.find("_", text.find("<AppendedData"));
    parsed.header = text.substr(0, underscore);
    parsed.block = text.substr(underscore + 1);
    for (size_t at = parsed.header.find("offset=\""); at != std::string::npos;
         at = parsed.header.find("offset=\"", at + 1))
        parsed.offsets.push_back(std::stoull(parsed.header.substr(at + 8)));
    return parsed;
}

// Value k of array a of the block, as T.
template <typename T>
T valueAt(const ParsedFile& parsed, int a, int32_t cell)
{
    T value;
    std::memcpy(&value, parsed.block.data() + parsed.offsets[a] + sizeof(uint64_t) + cell * sizeof(T), sizeof value);
    return value;
}

ParsedFile encodedLinearGrid()
{
    Grid grid;
    makeLinearGrid(grid);
    std::vector<char> bytes;
    encodeVtkFields(grid, bytes);
    return parse(bytes);
}

}  // namespace

TEST(VtkFieldsTest, HeaderDescribesTheImageAndItsArrays)
{
    const ParsedFile parsed = encodedLinearGrid();
    for (const char* expected :
         {"<VTKFile type=\"ImageData\" version=\"1.0\" byte_order=\"LittleEndian\" header_type=\"UInt64\">",
          "<ImageData WholeExtent=\"0 5 0 4 0 0\" Origin=\"0 0 0\" Spacing=\"0.25 0.5 0.25\">",
          "<Piece Extent=\"0 5 0 4 0 0\">", "<AppendedData encoding=\"raw\">",
          "<DataArray type=\"Float64\" Name=\"u\" format=\"appended\" offset=\"0\"/>",
          "<DataArray type=\"Int32\" Name=\"cell_type\""})
        EXPECT_NE(parsed.header.find(expected), std::string::npos) << expected;
    const std::string tail = "\n  </AppendedData>\n</VTKFile>\n";
    ASSERT_GT(parsed.block.size(), tail.size());
    EXPECT_EQ(parsed.block.substr(parsed.block.size() - tail.size()), tail);

    // Six arrays, each a UInt64 byte count then NX * NY values.
    const uint64_t cells = NX * NY;
    ASSERT_EQ(parsed.offsets.size(), 6u);
    uint64_t expectedOffset = 0;
    for (int a = 0; a < 6; ++a) {
        const uint64_t valueBytes = cells * (a < 5 ? 8 : 4);
        EXPECT_EQ(parsed.offsets[a], expectedOffset) << vtk_fields::arrayNames[a];
        uint64_t count = 0;
        std::memcpy(&count, parsed.block.data() + parsed.offsets[a], sizeof count);
        EXPECT_EQ(count, valueBytes) << vtk_fields::arrayNames[a];
        expectedOffset += 8 + valueBytes;
    }
    EXPECT_EQ(parsed.block.size(), expectedOffset + tail.size());
}

TEST(VtkFieldsTest, CellsHoldTheCentreValuesInImageOrder)
{
    const ParsedFile parsed = encodedLinearGrid();
    // Cell (i, j) is cell i + NX j. Vorticity of the linear faces is
    // 3/dx - 10/dy = 12 - 20 everywhere.
    struct Cell {
        int32_t i, j;
        double u, v, p;
        int32_t flags;
    };
    const Cell cells[] = {
        {0, 0, 0.0, 0.0, 0.0, CELL_FLUID},                        // first column and row: their one face
        {2, 1, 0.5 * (11 + 12), 0.5 * (6 + 7), 201.0, CELL_FLUID},  // mean of the two faces
        {4, 3, 0.5 * (33 + 34), 0.5 * (14 + 15), 403.0, CELL_FLUID},
        {0, 2, 20.0, 0.5 * (1 + 2), 2.0, CELL_INFLOW | DIR_EAST},
    };
    for (const Cell& c : cells) {
        const int32_t k = c.i + NX * c.j;
        SCOPED_TRACE("cell " + std::to_string(c.i) + "," + std::to_string(c.j));
        EXPECT_EQ(valueAt<double>(parsed, 0, k), c.u);
        EXPECT_EQ(valueAt<double>(parsed, 1, k), c.v);
        EXPECT_DOUBLE_EQ(valueAt<double>(parsed, 2, k), std::hypot(c.u, c.v));
        EXPECT_DOUBLE_EQ(valueAt<double>(parsed, 3, k), 3.0 / dx - 10.0 / dy);
        EXPECT_EQ(valueAt<double>(parsed, 4, k), c.p);
        EXPECT_EQ(valueAt<int32_t>(parsed, 5, k), c.flags);
    }
}

class VtkSeriesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        directory = fs::temp_directory_path() / ("kelvo_vtk_" + std::to_string(getpid()) + "_" + test);
        fs::remove_all(directory);
        fs::create_directories(directory);
        makeLinearGrid(grid);
    }
    void TearDown() override { fs::remove_all(directory); }

    fs::path directory;
    Grid grid;
};

TEST_F(VtkSeriesTest, FramesAreNumberedAndListedWithTheirTimes)
{
    VtkFieldsOutput output((directory / "vtk" / "deeper").string());
    for (double time : {0.25, 0.5, 0.75})
        ASSERT_TRUE(output.writeFrame(grid, time).ok);
    const fs::path where = directory / "vtk" / "deeper";
    std::vector<char> expected;
    encodeVtkFields(grid, expected);
    EXPECT_EQ(readBytes(where / "fields_00002.vti"), std::string(expected.begin(), expected.end()));
    EXPECT_EQ(readBytes(where / "fields.pvd"),
              "<?xml version=\"1.0\"?>\n"
              "<VTKFile type=\"Collection\" version=\"1.0\">\n"
              "  <Collection>\n"
              "    <DataSet timestep=\"0.25\" part=\"0\" file=\"fields_00000.vti\"/>\n"
              "    <DataSet timestep=\"0.5\" part=\"0\" file=\"fields_00001.vti\"/>\n"
              "    <DataSet timestep=\"0.75\" part=\"0\" file=\"fields_00002.vti\"/>\n"
              "  </Collection>\n"
              "</VTKFile>\n");
    // Only the outputs: no temporary left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(where), fs::directory_iterator()), 4);

    // A new run numbers from 0 again with a fresh collection.
    output.restartNumbering();
    ASSERT_TRUE(output.writeFrame(grid, 0.125).ok);
    const std::string collection = readBytes(where / "fields.pvd");
    EXPECT_NE(collection.find("timestep=\"0.125\" part=\"0\" file=\"fields_00000.vti\""), std::string::npos);
    EXPECT_EQ(collection.find("fields_00001.vti"), std::string::npos);
}

TEST_F(VtkSeriesTest, UnwritableDirectoryFailsNamingTheFile)
{
    std::ofstream(directory / "vtk") << "a file where the directory should be";
    VtkFieldsOutput output((directory / "vtk").string());
    const VtkWriteResult result = output.writeFrame(grid, 0.0);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.path, (directory / "vtk" / "fields_00000.vti").string());
    EXPECT_EQ(output.nextNumber(), 1);
}
