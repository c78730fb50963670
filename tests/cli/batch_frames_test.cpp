// kelvo-batch's frames: the options that choose them, and the files the
// built program writes: how many, their names, the same bytes on every run,
// a frame that cannot be written, and the animation.
#include "cli/batch_options.h"
#include "video_probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Parses a command line given without the program name.
bool parse(std::vector<const char*> args, BatchOptions& options, std::string& error)
{
    args.insert(args.begin(), "kelvo-batch");
    return parseBatchOptions(static_cast<int>(args.size()), args.data(), options, error);
}

bool refused(std::vector<const char*> args)
{
    BatchOptions options;
    std::string error;
    return !parse(args, options, error) && !error.empty();
}

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs the built program in directory; returns its exit status and puts
// its standard error in err.
int runBatch(const fs::path& directory, const std::string& args, std::string& err,
             const std::string& environment = "")
{
    const std::string errPath = (directory / "batch.err").string();
    const std::string command = "cd '" + directory.string() + "' && " + environment + " " + KELVO_BATCH_EXE + " '" +
                                KELVO_GRIDS_DIR + "/channel.grid' " + args + " >/dev/null 2>'" + errPath +
                                "' </dev/null";
    const int raw = std::system(command.c_str());
    err = readBytes(errPath);
    return raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::vector<std::string> fileNames(const fs::path& directory)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// What ffprobe says of an animation's video stream, one "key=value" a line.
std::string probeVideo(const fs::path& path)
{
    const std::string command = std::string(KELVO_FFPROBE) +
                                " -v error -count_frames -select_streams v -show_entries "
                                "stream=width,height,r_frame_rate,nb_read_frames -of default=nw=1 '" +
                                path.string() + "'";
    return commandOutput(command);
}

class BatchFramesCli : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvo_batch_frames_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
    }
    void TearDown() override { fs::remove_all(directory); }
    fs::path directory;
};

}  // namespace

TEST(BatchFrameOptions, DefaultsAreThoseOfTheOpeningWindow)
{
    BatchOptions options;
    std::string error;
    ASSERT_TRUE(parse({"g.grid"}, options, error)) << error;
    EXPECT_EQ(options.interval, 1);
    EXPECT_EQ(options.pixelsPerCell, 4);
    EXPECT_TRUE(options.elements.boundaryCells);
    EXPECT_TRUE(options.elements.streamlines);
    EXPECT_FALSE(options.elements.uField || options.elements.vField || options.elements.pressure ||
                 options.elements.vectors);
    EXPECT_FALSE(options.writesFrames());
    EXPECT_EQ(options.compression.compressor, Compressor::FullFrames);
}

TEST(BatchFrameOptions, ElementListsNameTheElements)
{
    RenderElements elements;
    std::string error;
    ASSERT_TRUE(parseElements("u,p,vectors", elements, error)) << error;
    EXPECT_TRUE(elements.uField && elements.pressure && elements.vectors);
    EXPECT_FALSE(elements.boundaryCells || elements.streamlines || elements.vField);
    ASSERT_TRUE(parseElements("v", elements, error));
    EXPECT_TRUE(elements.vField);
    EXPECT_FALSE(elements.uField);
    ASSERT_TRUE(parseElements("none", elements, error));
    EXPECT_FALSE(elements.boundaryCells || elements.vField);

    for (const char* bad : {"", "u,", ",u", "u,,v", "U", "pressure", "boundary,none", "u v"}) {
        RenderElements kept = elements;
        kept.uField = true;
        EXPECT_FALSE(parseElements(bad, kept, error)) << bad;
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(kept.uField) << "a refused list changed the choice: " << bad;
    }
}

TEST(BatchFrameOptions, RangesAndCombinationsAreChecked)
{
    EXPECT_TRUE(refused({"g.grid", "--interval", "0"}));
    EXPECT_TRUE(refused({"g.grid", "--interval", "1111"}));
    EXPECT_TRUE(refused({"g.grid", "--size", "16"}));
    EXPECT_TRUE(refused({"g.grid", "--size", "0"}));
    EXPECT_TRUE(refused({"g.grid", "--size", "4x"}));
    EXPECT_TRUE(refused({"g.grid", "--elements", "boundary,"}));
    EXPECT_TRUE(refused({"g.grid", "--codec", "mjpeg"}));  // no --avi
    EXPECT_TRUE(refused({"g.grid", "--avi", "a", "--codec", "h264"}));
    EXPECT_TRUE(refused({"g.grid", "--avi", "a", "--quality", "101"}));
    EXPECT_TRUE(refused({"g.grid", "--avi", ""}));
    EXPECT_TRUE(refused({"g.grid", "--ppm="}));
    EXPECT_TRUE(refused({"g.grid", "--vtk", ""}));
    EXPECT_TRUE(refused({"g.grid", "--vtk"}));

    BatchOptions options;
    std::string error;
    ASSERT_TRUE(parse({"g.grid", "--interval", "1110", "--size", "15", "--avi", "a", "--codec", "mjpeg",
                       "--quality", "60"},
                      options, error))
        << error;
    EXPECT_EQ(options.interval, 1110);
    EXPECT_EQ(options.pixelsPerCell, 15);
    EXPECT_EQ(options.compression.compressor, Compressor::MotionJpeg);
    EXPECT_EQ(options.compression.quality, 60);
    EXPECT_TRUE(options.writesFrames());

    // Field files alone are frames too: the frame cycles write them.
    ASSERT_TRUE(parse({"--vtk", "out/fields", "g.grid"}, options, error)) << error;
    EXPECT_EQ(options.vtkDirectory, "out/fields");
    EXPECT_FALSE(options.ppm);
    EXPECT_TRUE(options.writesFrames());
}

TEST(BatchFrameOptions, PpmDirectoryIsOptional)
{
    BatchOptions options;
    std::string error;
    ASSERT_TRUE(parse({"g.grid", "--ppm"}, options, error)) << error;
    EXPECT_TRUE(options.ppm);
    EXPECT_EQ(options.ppmDirectory, "frames");
    ASSERT_TRUE(parse({"g.grid", "--ppm", "--steps", "3"}, options, error)) << error;
    EXPECT_EQ(options.ppmDirectory, "frames");
    EXPECT_EQ(options.steps, 3);
    ASSERT_TRUE(parse({"g.grid", "--ppm", "out"}, options, error)) << error;
    EXPECT_EQ(options.ppmDirectory, "out");
    EXPECT_EQ(options.gridPath, "g.grid");
    ASSERT_TRUE(parse({"--ppm=out", "g.grid"}, options, error)) << error;
    EXPECT_EQ(options.ppmDirectory, "out");
    EXPECT_EQ(options.gridPath, "g.grid");
}

TEST_F(BatchFramesCli, FramesAreNumberedPerFrameCycleAndRepeatByteForByte)
{
    std::string err;
    // 12 cycles at interval 5: frame cycles 0, 5 and 10.
    ASSERT_EQ(runBatch(directory, "--steps 12 --interval 5 --ppm first", err), 0) << err;
    EXPECT_EQ(fileNames(directory / "first"),
              std::vector<std::string>({"frame_00000.ppm", "frame_00001.ppm", "frame_00002.ppm"}));
    ASSERT_EQ(runBatch(directory, "--steps 12 --interval 5 --ppm second", err), 0) << err;
    for (const char* name : {"frame_00000.ppm", "frame_00001.ppm", "frame_00002.ppm"})
        EXPECT_EQ(readBytes(directory / "first" / name), readBytes(directory / "second" / name)) << name;
    EXPECT_NE(readBytes(directory / "first" / "frame_00000.ppm"),
              readBytes(directory / "first" / "frame_00002.ppm"));
    EXPECT_EQ(readBytes(directory / "first" / "frame_00000.ppm").substr(0, 14), "P3\n159 79\n255\n");
    EXPECT_NE(err.find("3 frames"), std::string::npos) << err;
}

TEST_F(BatchFramesCli, SizeAndElementsShapeTheFrames)
{
    std::string err;
    ASSERT_EQ(runBatch(directory, "--steps 1 --size 3 --elements none --ppm", err), 0) << err;
    const std::string bytes = readBytes(directory / "frames" / "frame_00000.ppm");
    // 40 x 20 at 3: 119 x 59 pixel lines, all black without elements.
    ASSERT_EQ(bytes.substr(0, 14), "P3\n119 59\n255\n");
    std::string black = "P3\n119 59\n255\n";
    for (int k = 0; k < 119 * 59; ++k)
        black += "0 0 0\n";
    EXPECT_EQ(bytes, black);
}

TEST_F(BatchFramesCli, UnwritableFrameEndsTheRunWithItsName)
{
    std::ofstream(directory / "frames") << "not a directory";
    std::string err;
    EXPECT_EQ(runBatch(directory, "--steps 5 --ppm", err), 1);
    EXPECT_NE(err.find("frames/frame_00000.ppm"), std::string::npos) << err;
}

TEST_F(BatchFramesCli, AnimationHoldsTitleFadeAndOneFramePerFrameCycle)
{
    std::string err;
    ASSERT_EQ(runBatch(directory, "--steps 6 --interval 2 --avi run", err), 0) << err;
    ASSERT_TRUE(fs::exists(directory / "run.avi"));
    const std::string out = probeVideo(directory / "run.avi");
    // 38 growing titles, the complete one, 38 fade frames, then frames at
    // the cycles 0, 2 and 4.
    EXPECT_EQ(out, "width=160\nheight=80\nr_frame_rate=50/1\nnb_read_frames=80\n");
}

// The video libraries are many shared objects; a run that writes no
// animation starts without them.
TEST_F(BatchFramesCli, VideoLibrariesLoadOnlyForAnAnimation)
{
    std::string err;
    ASSERT_EQ(runBatch(directory, "--steps 2 --ppm", err, "LD_DEBUG=files"), 0) << err;
    EXPECT_EQ(err.find("libavformat"), std::string::npos);
    ASSERT_EQ(runBatch(directory, "--steps 2 --avi run", err, "LD_DEBUG=files"), 0) << err;
    EXPECT_NE(err.find("file=libavformat"), std::string::npos);
}

TEST(BatchFrameOptions, ColourMapAndRange)
{
    EXPECT_TRUE(refused({"g.grid", "--colour-map", "pressure"}));
    EXPECT_TRUE(refused({"g.grid", "--colour-map", "vorticity", "--range", "1"}));
    EXPECT_TRUE(refused({"g.grid", "--colour-map", "vorticity", "--range", "2,1"}));
    EXPECT_TRUE(refused({"g.grid", "--colour-map", "u", "--range", "a,1"}));
    EXPECT_TRUE(refused({"g.grid", "--range", "0,1"}));  // no map to range

    BatchOptions options;
    std::string error;
    ASSERT_TRUE(parse({"g.grid", "--colour-map", "p", "--elements", "boundary", "--range", "-2.5,4"}, options,
                      error))
        << error;
    EXPECT_EQ(options.elements.colourMap.quantity, ColourQuantity::Pressure);
    EXPECT_TRUE(options.elements.colourMap.locked);
    EXPECT_DOUBLE_EQ(options.elements.colourMap.range.low, -2.5);
    EXPECT_DOUBLE_EQ(options.elements.colourMap.range.high, 4.0);
    EXPECT_TRUE(options.elements.boundaryCells);
    EXPECT_FALSE(options.elements.streamlines);
    ASSERT_TRUE(parse({"g.grid", "--colour-map", "speed"}, options, error)) << error;
    EXPECT_FALSE(options.elements.colourMap.locked);
}

// The example channel's vorticity: positive along the south wall and on
// one side of the post, negative along the north wall and on the other,
// so the diverging map shows both blue and red; the frame carries the bar.
TEST_F(BatchFramesCli, VorticityOfTheChannelShowsBothSigns)
{
    std::string err;
    ASSERT_EQ(runBatch(directory, "--steps 101 --interval 100 --size 3 --elements boundary "
                                  "--colour-map vorticity --ppm",
                       err),
              0)
        << err;
    std::ifstream in(directory / "frames" / "frame_00001.ppm");
    std::string magic;
    int width = 0, height = 0, largest = 0;
    in >> magic >> width >> height >> largest;
    EXPECT_EQ(width, 119);
    EXPECT_EQ(height, 59 + 40);  // the colour bar's strip below the picture
    int bluish = 0, reddish = 0;
    for (int pixel = 0; pixel < width * 59; ++pixel) {
        int red = 0, green = 0, blue = 0;
        in >> red >> green >> blue;
        bluish += blue > red + 60;
        reddish += red > blue + 60 && red > green + 60;
    }
    EXPECT_GT(bluish, 50);
    EXPECT_GT(reddish, 50);
}

// The animation of a colour map is as tall as picture and strip from its
// title on.
TEST_F(BatchFramesCli, ColourMapAnimationCarriesTheStrip)
{
    std::string err;
    ASSERT_EQ(runBatch(directory, "--steps 2 --colour-map speed --avi run", err), 0) << err;
    EXPECT_EQ(probeVideo(directory / "run.avi"), "width=160\nheight=120\nr_frame_rate=50/1\nnb_read_frames=79\n");
}
