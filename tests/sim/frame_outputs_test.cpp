// The outputs of a run: the AVI name rule, PPM files written in order and
// numbered per picture, a frame that cannot be written reported with its
// file, field files beside them, and two runs in one process that do not
// touch each other's frames.
#include "render/colour_bar.h"
#include "sim/frame_outputs.h"
#include "sim/frame_saving.h"
#include "sim/simulation_run.h"
#include "support/channel_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh directory under the system's temporary one, removed at the end.
class FrameSavingTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvo_frames_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
        outputs = std::make_unique<FrameOutputs>((directory / "frames").string());
        outputs->allocate(8, 6, 1);
    }
    void TearDown() override { fs::remove_all(directory); }
    fs::path directory;
    std::unique_ptr<FrameOutputs> outputs;
};

}  // namespace

TEST(AviFileName, ExtensionAddedUnlessTheNameEndsExactlyInIt)
{
    EXPECT_EQ(aviFileNameFor("run"), "run.avi");
    EXPECT_EQ(aviFileNameFor("run.avi"), "run.avi");
    EXPECT_EQ(aviFileNameFor("/tmp/a b/run.avi"), "/tmp/a b/run.avi");
    // Capitals are not recognised; nor is a name shorter than the extension.
    EXPECT_EQ(aviFileNameFor("RUN.AVI"), "RUN.AVI.avi");
    EXPECT_EQ(aviFileNameFor("vi"), "vi.avi");
    EXPECT_EQ(aviFileNameFor(".avi"), ".avi");
    EXPECT_EQ(aviFileNameFor("run.avi.bak"), "run.avi.bak.avi");
}

TEST_F(FrameSavingTest, PpmFramesAreNumberedFromTheAllocation)
{
    FrameSaving saving;
    saving.ppm = true;
    outputs->picture().fillRect(1, 1, 3, 2, 254, 7, 0);
    for (int32_t index = 0; index < 3; ++index)
        EXPECT_TRUE(outputs->save(saving, index).ok);
    EXPECT_TRUE(fs::exists(directory / "frames" / "frame_00000.ppm"));
    EXPECT_TRUE(fs::exists(directory / "frames" / "frame_00002.ppm"));
    EXPECT_FALSE(fs::exists(directory / "frames" / "frame_00003.ppm"));
    const std::string bytes = readBytes(directory / "frames" / "frame_00000.ppm");
    EXPECT_EQ(bytes.substr(0, 18), "P3\n7 5\n255\n254 7 0");

    // A new picture numbers from 0 again, overwriting.
    outputs->allocate(8, 6, 1);
    EXPECT_TRUE(outputs->save(saving, 0).ok);
    EXPECT_EQ(readBytes(directory / "frames" / "frame_00000.ppm").substr(11, 5), "0 0 0");
}

TEST_F(FrameSavingTest, UnwritableFrameNamesItsFile)
{
    std::ofstream(directory / "frames") << "a file where the directory should be";
    FrameSaving saving;
    saving.ppm = true;
    const FrameSaveResult result = outputs->save(saving, 0);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.aviFailed);
    EXPECT_EQ(result.ppmFailedPath, (directory / "frames" / "frame_00000.ppm").string());
}

TEST_F(FrameSavingTest, NothingChosenWritesNothing)
{
    FrameSaving saving;
    EXPECT_TRUE(outputs->save(saving, 0).ok);
    EXPECT_FALSE(fs::exists(directory / "frames"));
    EXPECT_EQ(outputs->ppm().nextNumber(), 0);
}

TEST_F(FrameSavingTest, AviFrameWithoutAnOpenFileFails)
{
    FrameSaving saving;
    saving.avi = true;
    const FrameSaveResult result = outputs->save(saving, 0);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.aviFailed);
    EXPECT_TRUE(result.ppmFailedPath.empty());
}

TEST_F(FrameSavingTest, FieldFilesGoBesideTheFramesAndAFailureNamesTheFile)
{
    Grid grid;
    makeChannel(grid, 8, 6);
    SimulationRun run(grid, 100, 0.003);
    run.step();
    FrameSaving saving;
    saving.vtk = true;
    outputs->vtk().setDirectory((directory / "vtk").string());
    for (int32_t index = 0; index < 2; ++index)
        ASSERT_TRUE(outputs->frame(run.state(), 0.5 * (index + 1), RenderElements{}, saving, index).ok);
    EXPECT_TRUE(fs::exists(directory / "vtk" / "fields_00001.vti"));
    EXPECT_NE(readBytes(directory / "vtk" / "fields.pvd").find("timestep=\"1\""), std::string::npos);
    EXPECT_FALSE(fs::exists(directory / "frames"));

    // A new picture is a new run: numbered from 0 again.
    outputs->allocate(8, 6, 1);
    EXPECT_EQ(outputs->vtk().nextNumber(), 0);

    fs::remove_all(directory / "vtk");
    std::ofstream(directory / "vtk") << "a file where the directory should be";
    saving.ppm = true;
    const FrameSaveResult result = outputs->frame(run.state(), 0.0, RenderElements{}, saving, 0);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.ppmFailedPath.empty());
    EXPECT_EQ(result.vtkFailedPath, (directory / "vtk" / "fields_00000.vti").string());
}

namespace {

// One run with its own grid, solver, picture and outputs, as a simulation
// window or a batch run holds them.
struct OwnedRun {
    struct Settings {
        int32_t NX, NY;
        int pixelsPerCell;
        int reynolds;
        double dt;
        RenderElements elements;
        bool avi;
        int interval;
    };

    Settings settings;
    fs::path directory;
    Grid grid;
    std::unique_ptr<SimulationRun> run;
    FrameOutputs outputs;
    FrameSaving saving;

    OwnedRun(const Settings& chosen, const fs::path& where)
        : settings(chosen), directory(where), outputs((where / "frames").string())
    {
        makeChannel(grid, settings.NX, settings.NY);
        run = std::make_unique<SimulationRun>(grid, settings.reynolds, settings.dt);
        outputs.allocate(settings.NX, settings.NY, settings.pixelsPerCell);
        run->step();
        saving.ppm = true;
        saving.avi = settings.avi;
        fs::create_directories(where);
        if (settings.avi) {
            EXPECT_TRUE(outputs.openAvi((where / "run.avi").string()));
        }
    }
    ~OwnedRun() { outputs.closeAvi(); }

    void cycle()
    {
        run->cycle(settings.interval, [this](int32_t index) {
            return outputs.frame(run->state(), run->simulatedTime(), settings.elements, saving, index).ok;
        });
    }
    // The three planes, row by row.
    std::vector<float> planes() const
    {
        const FrameImage& image = outputs.picture();
        std::vector<float> values;
        for (int row = 0; row < image.height(); ++row)
            for (const float* plane : {image.redRow(row), image.greenRow(row), image.blueRow(row)})
                values.insert(values.end(), plane, plane + image.width());
        return values;
    }
};

// Every file of a run's directory, by name, with its bytes.
std::vector<std::pair<std::string, std::string>> filesOf(const fs::path& directory)
{
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& entry : fs::recursive_directory_iterator(directory))
        if (entry.is_regular_file())
            files.emplace_back(fs::relative(entry.path(), directory).string(), readBytes(entry.path()));
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

// Two runs of different grids, sizes and elements, one also writing an
// animation, interleaved cycle by cycle in one process: each writes the
// very files and ends with the very picture it does alone.
TEST_F(FrameSavingTest, InterleavedRunsWriteTheSameFramesAsEachAlone)
{
    const RenderElements everything{true, true, true, true, true, true, {}};
    const RenderElements someElements{true, true, false, false, true, false, {}};
    const OwnedRun::Settings first{20, 10, 4, 100, 0.003, everything, true, 3};
    const OwnedRun::Settings second{16, 12, 3, 400, 0.002, someElements, false, 2};
    constexpr int cycles = 12;

    std::vector<float> firstAlonePlanes, secondAlonePlanes;
    {
        OwnedRun alone(first, directory / "first_alone");
        for (int n = 0; n < cycles; ++n)
            alone.cycle();
        firstAlonePlanes = alone.planes();
    }
    {
        OwnedRun alone(second, directory / "second_alone");
        for (int n = 0; n < cycles; ++n)
            alone.cycle();
        secondAlonePlanes = alone.planes();
    }
    {
        OwnedRun a(first, directory / "first_mixed");
        OwnedRun b(second, directory / "second_mixed");
        b.outputs.picture().setThreads(1);  // the thread split does not matter either
        for (int n = 0; n < cycles; ++n) {
            a.cycle();
            b.cycle();
        }
        EXPECT_EQ(a.run->frames(), 4);
        EXPECT_EQ(b.run->frames(), 6);
        EXPECT_TRUE(a.planes() == firstAlonePlanes);
        EXPECT_TRUE(b.planes() == secondAlonePlanes);
    }
    const auto firstAlone = filesOf(directory / "first_alone");
    const auto secondAlone = filesOf(directory / "second_alone");
    ASSERT_EQ(firstAlone.size(), 5u);   // four frames and the animation
    ASSERT_EQ(secondAlone.size(), 6u);
    EXPECT_EQ(firstAlone.back().first, "run.avi");
    EXPECT_TRUE(filesOf(directory / "first_mixed") == firstAlone);
    EXPECT_TRUE(filesOf(directory / "second_mixed") == secondAlone);
    EXPECT_NE(firstAlone[0].second, secondAlone[0].second);
}

namespace {

// A plain PPM file's size and values (every number after the header).
struct PpmText {
    int width = 0;
    int height = 0;
    std::vector<int> values;
    // Red, green, blue of (column, row) of the file.
    int at(int column, int row, int channel) const { return values[(row * width + column) * 3 + channel]; }
};

PpmText readPpm(const fs::path& path)
{
    std::ifstream in(path);
    std::string magic;
    int largest = 0;
    PpmText ppm;
    in >> magic >> ppm.width >> ppm.height >> largest;
    for (int value; in >> value;)
        ppm.values.push_back(value);
    return ppm;
}

}  // namespace

// A colour map adds the colour bar below the picture of every saved frame;
// the designed colours keep the picture's own size.
TEST_F(FrameSavingTest, ColourMapFramesCarryTheColourBarStrip)
{
    Grid grid;
    makeChannel(grid, 40, 20);
    SimulationRun run(grid, 100, 0.003);
    for (int n = 0; n < 30; ++n)
        run.step();
    const int k = 3;
    FrameSaving saving;
    saving.ppm = true;
    RenderElements elements;
    elements.boundaryCells = true;
    outputs->allocate(40, 20, k);
    ASSERT_TRUE(outputs->frame(run.state(), run.simulatedTime(), elements, saving, 0).ok);
    elements.colourMap.quantity = ColourQuantity::Vorticity;
    ASSERT_TRUE(outputs->frame(run.state(), run.simulatedTime(), elements, saving, 1).ok);

    const PpmText designed = readPpm(directory / "frames" / "frame_00000.ppm");
    EXPECT_EQ(designed.width, 40 * k - 1);
    EXPECT_EQ(designed.height, 20 * k - 1);
    const PpmText mapped = readPpm(directory / "frames" / "frame_00001.ppm");
    ASSERT_EQ(mapped.width, 40 * k - 1);
    ASSERT_EQ(mapped.height, 20 * k + colour_bar::stripHeight - 1);
    ASSERT_EQ(mapped.values.size(), size_t(mapped.width) * mapped.height * 3);

    // The file starts at picture pixel (1, 1); the bar's middle row: blue
    // at the left end, white in the middle, red at the right end.
    const int barRow = 20 * k + colour_bar::topGap + colour_bar::barHeight / 2 - 1;
    const int left = colour_bar::sideGap;
    const int right = 40 * k - 2 - colour_bar::sideGap;
    EXPECT_GT(mapped.at(left, barRow, 2), mapped.at(left, barRow, 0) + 60);
    EXPECT_GT(mapped.at(right, barRow, 0), mapped.at(right, barRow, 2) + 60);
    const int middle = (left + right + 1) / 2;
    EXPECT_GT(mapped.at(middle, barRow, 0) + mapped.at(middle, barRow, 1) + mapped.at(middle, barRow, 2), 3 * 240);
    // Tick values are written in white under the bar.
    int lit = 0;
    for (int row = 20 * k + colour_bar::textTop - 1; row < mapped.height; ++row)
        for (int column = 0; column < mapped.width; ++column)
            lit += mapped.at(column, row, 0) > 128 && mapped.at(column, row, 2) > 128;
    EXPECT_GT(lit, 30);
    // The picture above the strip is the composed one.
    EXPECT_EQ(mapped.at(10, 10, 1), outputs->picture().pixelGreen(11, 11));

    // A size set for later holds no picture until a frame is drawn, and
    // that frame is the one of a picture allocated at once.
    FrameOutputs later((directory / "later").string());
    later.allocateLater(40, 20, k, true);
    EXPECT_EQ(later.picture().width(), 0);
    ASSERT_TRUE(later.frame(run.state(), run.simulatedTime(), elements, saving, 0).ok);
    EXPECT_EQ(readBytes(directory / "later" / "frame_00000.ppm"), readBytes(directory / "frames" / "frame_00001.ppm"));
}
