// The simulation window driven through its messages: its controls in the
// Idle, Running and Paused states, the cycles and counters, Stop, Step, the
// frames and pictures it writes, and the AVI start with the file name and
// compressor given in.
#include "gui/calculate_layout.h"
#include "gui/calculate_window.h"
#include "gui/ending_workers.h"
#include "io/avi_messages.h"
#include "io/ppm_writer.h"
#include "render/colour_bar.h"
#include "platform/picture_file.h"
#include "render/compose_frame.h"
#include "render/frame_image.h"
#include "support/channel_grid.h"
#include "support/screen_shot.h"
#include "core/immersed_boundary.h"
#include "probed_window.h"
#include "window_test.h"
#include "video_probe.h"

#include <gtest/gtest.h>
#include <fxkeys.h>

#include <algorithm>
#include <cmath>
#include "gui/picture_point.h"
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int reynolds = 100;
constexpr double timeStep = 0.003;
constexpr double patience = 20.0;  // seconds any wait may take at most

// The probed window over the test owner with this file's parameters.
class TestWindow : public ProbedWindow {
public:
    explicit TestWindow(const Grid* grid) : ProbedWindow(testOwner(), grid, reynolds, timeStep) {}
};

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Pixels of the screen picture where red leads green.
int reddish(const ScreenFrame& frame)
{
    int count = 0;
    for (size_t k = 0; k + 2 < frame.rgb.size(); k += 3)
        count += frame.rgb[k] > frame.rgb[k + 1];
    return count;
}

bool allZero(const FrameImage& picture)
{
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixelRed(x, y) || picture.pixelGreen(x, y) || picture.pixelBlue(x, y))
                return false;
    return true;
}

// What ffprobe says of the streams of an AVI file, one "key=value" a line.
std::string probe(const std::string& path)
{
    const std::string command = std::string(KELVO_FFPROBE) +
                                " -v error -count_frames -show_entries "
                                "stream=codec_type,width,height,r_frame_rate,nb_read_frames "
                                "-of default=nw=1 '" + path + "' 2>&1";
    return commandOutput(command);
}

// A fingerprint of the flow: every u, v and p summed with weights, so that
// any change of the state shows.
double stateSum(const SimGrid& state)
{
    double sum = 0.0;
    for (int32_t i = 0; i < state.NX; ++i)
        for (int32_t j = 0; j < state.NY; ++j)
            sum += (i + 1) * state.u[i][j] + (j + 1) * state.v[i][j] + (i + j + 1) * state.p[i][j];
    return sum;
}

// Each test in a fresh working directory, with a 40 x 20 channel, a shown
// window and the AVI hooks recording.
class CalculateWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvo_window_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
        previous = fs::current_path();
        fs::current_path(directory);
        makeChannel(grid, 40, 20);
        window = std::make_unique<TestWindow>(&grid);
        window->create();
        window->show(PLACEMENT_OWNER);
        settle(0.2);
        ASSERT_TRUE(window->waitParked());  // the build step is done
    }
    void TearDown() override
    {
        window.reset();
        fs::current_path(previous);
        fs::remove_all(directory);
    }
    // Start, then cycles until count frames were taken.
    void runFrames(int32_t count)
    {
        ASSERT_TRUE(window->waitParked());
        window->send(CalculateWindow::ID_START);
        ASSERT_TRUE(runUntil([&] { return window->frames() >= count; }, patience));
    }
    // The Idle state of every control.
    void expectIdle()
    {
        ASSERT_TRUE(window->waitParked());
        EXPECT_TRUE(window->startButton->isEnabled());
        EXPECT_FALSE(window->stopButton->isEnabled());
        EXPECT_TRUE(window->saveNone->isEnabled());
        EXPECT_TRUE(window->saveAvi->isEnabled());
        EXPECT_TRUE(window->savePpm->isEnabled());
        EXPECT_TRUE(window->saveVtk->isEnabled());
        EXPECT_TRUE(window->sizeSpinner->isEnabled());
        EXPECT_TRUE(window->intervalSpinner->isEnabled());
        EXPECT_FALSE(window->pendingCycle);
    }

    fs::path directory;
    fs::path previous;
    Grid grid;
    std::unique_ptr<TestWindow> window;
};

}  // namespace

TEST_F(CalculateWindowTest, OpensIdleWithItsDefaults)
{
    expectIdle();
    EXPECT_TRUE(window->saveNone->getCheck());
    EXPECT_FALSE(window->saveAvi->getCheck());
    EXPECT_FALSE(window->savePpm->getCheck());
    EXPECT_FALSE(window->saveVtk->getCheck());
    EXPECT_TRUE(window->showBoundaryCells->getCheck());
    EXPECT_TRUE(window->showStreamlines->getCheck());
    EXPECT_FALSE(window->showUField->getCheck());
    EXPECT_FALSE(window->showVField->getCheck());
    EXPECT_FALSE(window->showPressure->getCheck());
    EXPECT_FALSE(window->showVectors->getCheck());
    EXPECT_EQ(window->intervalSpinner->getValue(), 1);
    EXPECT_EQ(window->sizeSpinner->getValue(), 4);
    EXPECT_EQ(window->pixelsPerCell, 4);
    EXPECT_EQ(window->shownStep(), 0);
    EXPECT_EQ(window->widthLabel->getText(), "Width: 160");
    EXPECT_EQ(window->heightLabel->getText(), "Height: 80");
    EXPECT_EQ(window->outputs.pixelsPerCell(), 4);  // the picture is allocated by the frame that draws it
    EXPECT_EQ(window->cycles(), 0);
    EXPECT_EQ(window->frames(), 0);
}

// The window opens before the solver is made: the worker makes it and
// takes the build step, and until it has reported the window knows no run,
// the line says so, Start is off and the canvas is empty. A Start sent
// meanwhile starts the run once it is prepared, and elements checked and
// an output size chosen meanwhile are in its first picture.
TEST_F(CalculateWindowTest, OpensBeforeTheBuildStepAndStartWaitsForIt)
{
    const int redPlain = reddish(window->shownFrame);
    for (const bool started : {false, true}) {
        SCOPED_TRACE(started ? "started while preparing" : "left idle");
        TestWindow fresh(&grid);  // no event has run: the report cannot have been taken
        EXPECT_EQ(fresh.run, nullptr);
        EXPECT_EQ(fresh.timeLabel->getText(), "Preparing the simulation...");
        EXPECT_EQ(fresh.widthLabel->getText(), "Width: 160");
        EXPECT_FALSE(fresh.startButton->isEnabled());
        EXPECT_EQ(fresh.shownFrame.width, 0);
        fresh.showUField->setCheck(TRUE);
        fresh.send(CalculateWindow::ID_RENDER);
        fresh.sizeSpinner->setValue(2);
        fresh.send(CalculateWindow::ID_OUTPUT_SIZE);
        EXPECT_EQ(fresh.widthLabel->getText(), "Width: 80");
        if (started)
            fresh.send(CalculateWindow::ID_START);
        EXPECT_FALSE(fresh.stopButton->isEnabled());
        fresh.create();
        fresh.show(PLACEMENT_OWNER);
        if (started) {
            ASSERT_TRUE(runUntil([&] { return fresh.cycles() >= 2; }, patience));
            EXPECT_TRUE(fresh.stopButton->isEnabled());
            fresh.send(CalculateWindow::ID_PAUSE);
            ASSERT_TRUE(fresh.waitParked());
            EXPECT_EQ(fresh.shownStep(), fresh.cycles());
        } else {
            ASSERT_TRUE(fresh.waitParked());
            EXPECT_EQ(fresh.shownStep(), 0);
            EXPECT_TRUE(fresh.startButton->isEnabled());
            EXPECT_EQ(fresh.cycles(), 0);
        }
        EXPECT_GT(reddish(fresh.shownFrame), redPlain + 1000);  // the x velocity field shows
        EXPECT_EQ(fresh.outputs.pixelsPerCell(), 2);  // the frame files' size, allocated when drawn
    }
}

TEST_F(CalculateWindowTest, SaveMethodsExcludeEachOther)
{
    window->choose(window->savePpm);
    EXPECT_EQ(window->saveMethod, CalculateWindow::SAVE_PPM);
    EXPECT_TRUE(window->savePpm->getCheck());
    EXPECT_FALSE(window->saveNone->getCheck());
    EXPECT_FALSE(window->saveAvi->getCheck());
    window->choose(window->saveAvi);
    EXPECT_EQ(window->saveMethod, CalculateWindow::SAVE_AVI);
    EXPECT_FALSE(window->savePpm->getCheck());
    EXPECT_TRUE(window->saveAvi->getCheck());
    window->choose(window->saveVtk);
    EXPECT_EQ(window->saveMethod, CalculateWindow::SAVE_VTK);
    EXPECT_FALSE(window->saveAvi->getCheck());
    EXPECT_TRUE(window->saveVtk->getCheck());
}

TEST_F(CalculateWindowTest, StartRunsCyclesAndStopReturnsToIdle)
{
    runFrames(3);
    EXPECT_FALSE(window->startButton->isEnabled());
    EXPECT_TRUE(window->stopButton->isEnabled());
    EXPECT_FALSE(window->saveNone->isEnabled());
    EXPECT_FALSE(window->saveAvi->isEnabled());
    EXPECT_FALSE(window->savePpm->isEnabled());
    EXPECT_FALSE(window->sizeSpinner->isEnabled());
    EXPECT_TRUE(window->intervalSpinner->isEnabled());
    EXPECT_TRUE(window->showPressure->isEnabled());
    EXPECT_TRUE(window->pendingCycle);
    EXPECT_EQ(window->shownStep(), window->cycles());
    EXPECT_EQ(window->frames(), window->cycles());  // interval 1
    EXPECT_GT(window->shownFrame.width, 0);
    EXPECT_TRUE(std::any_of(window->shownFrame.rgb.begin(), window->shownFrame.rgb.end(),
                            [](uint8_t byte) { return byte != 0; }));  // the boundary is drawn

    window->send(CalculateWindow::ID_STOP);
    EXPECT_FALSE(window->startButton->isEnabled());  // until the run is reset
    EXPECT_FALSE(window->stopButton->isEnabled());
    const long long lastCount = window->shownStep();
    expectIdle();
    EXPECT_EQ(window->cycles(), 0);
    EXPECT_EQ(window->frames(), 0);
    EXPECT_GT(lastCount, 0);          // the line keeps the last count
    EXPECT_TRUE(allZero(window->picture()));             // a new picture
    EXPECT_EQ(window->ppm().nextNumber(), 0);
    // No cycle runs after Stop.
    settle(0.3);
    EXPECT_EQ(window->cycles(), 0);
    EXPECT_EQ(window->shownStep(), lastCount);
}

// The line above the picture counts as kelvo-batch and the history do:
// Step N after the build step, whose dt is shown before Start, and the
// time of all N + 1 steps, the same numbers as the history's last line.
// Stop leaves the line of the final state shown.
TEST_F(CalculateWindowTest, TheStepLineCountsTheBuildStepAsTheHistoryDoes)
{
    const auto expectLine = [&](long long step, double time, double dt, const char* when) {
        const ProbedWindow::RunLine line = window->shownLine();
        EXPECT_EQ(line.step, step) << when << ": " << window->timeLabel->getText().text();
        EXPECT_NEAR(line.time, time, 5e-4 * time) << when;
        EXPECT_NEAR(line.dt, dt, 5e-3 * dt) << when;
    };
    expectLine(0, timeStep, timeStep, "before Start");
    window->send(CalculateWindow::ID_MEASURE);
    runFrames(4);
    window->send(CalculateWindow::ID_PAUSE);
    window->send(CalculateWindow::ID_STEP);
    ASSERT_TRUE(window->waitParked());
    const int32_t cycles = window->cycles();
    expectLine(cycles, (cycles + 1) * timeStep, timeStep, "paused");

    const fs::path csv = directory / "history.csv";
    ASSERT_TRUE(window->measureLog->exportHistory(csv.string()));
    std::ifstream in(csv);
    std::string text, last;
    while (std::getline(in, text))
        last = text;
    long long historyStep = -1;
    double historyTime = 0.0, historyDt = 0.0;
    ASSERT_EQ(std::sscanf(last.c_str(), "%lld,%lf,%lf", &historyStep, &historyTime, &historyDt), 3) << last;
    expectLine(historyStep, historyTime, historyDt, "history");

    window->send(CalculateWindow::ID_STOP);
    ASSERT_TRUE(window->waitParked());
    expectLine(cycles, (cycles + 1) * timeStep, timeStep, "stopped");
    window->measureWindow->hide();
}

// Esc (the dialog's cancel) and the close box ask before a running
// simulation closes; No lets it run on, Yes closes it. Paused or stopped,
// the window closes without a question.
TEST_F(CalculateWindowTest, ClosingARunningSimulationAsksFirst)
{
    enum class State { Idle, Running, Paused };
    const struct {
        State state;
        bool answer;
        bool viaCloseBox;
        int questions;
        bool closed;
    } cases[] = {
        {State::Idle, false, false, 0, true},      {State::Running, false, false, 1, false},
        {State::Running, true, false, 1, true},    {State::Running, false, true, 1, false},
        {State::Paused, false, false, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(&c - cases));
        window = std::make_unique<TestWindow>(&grid);
        window->create();
        window->show(PLACEMENT_OWNER);
        if (c.state != State::Idle)
            runFrames(2);
        if (c.state == State::Paused)
            window->send(CalculateWindow::ID_PAUSE);
        window->closeAnswer = c.answer;
        if (c.viaCloseBox)
            window->handle(window.get(), FXSEL(SEL_CLOSE, 0), nullptr);
        else
            window->send(FXDialogBox::ID_CANCEL);
        EXPECT_EQ(window->closeQuestions, c.questions);
        EXPECT_EQ(window->shown() == FALSE, c.closed);
        if (!c.closed && c.state == State::Running) {  // it runs on
            const int32_t cycles = window->cycles();
            ASSERT_TRUE(runUntil([&] { return window->cycles() > cycles + 2; }, patience));
        }
    }
}

// Frames at cycles 0, 5, 10, ...: after n cycles, (n + 4) / 5 frames.
TEST_F(CalculateWindowTest, IntervalFiveTakesFramesAtZeroFiveAndTen)
{
    window->intervalSpinner->setValue(5);
    window->send(CalculateWindow::ID_START);
    ASSERT_TRUE(runUntil([&] { return window->cycles() >= 1; }, patience));
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    for (int step = 0; step < 12; ++step) {
        const int32_t cycles = window->cycles();
        EXPECT_EQ(window->frames(), (cycles + 4) / 5) << cycles;
        EXPECT_EQ(window->shownStep(), cycles);
        window->send(CalculateWindow::ID_STEP);
        ASSERT_TRUE(window->waitParked());
        EXPECT_EQ(window->cycles(), cycles + 1);
    }
}

TEST_F(CalculateWindowTest, PpmRunWritesNumberedFramesAndStopStartsAgain)
{
    window->choose(window->savePpm);
    runFrames(3);
    window->send(CalculateWindow::ID_STOP);
    ASSERT_TRUE(window->waitParked());
    ASSERT_TRUE(fs::exists("frames/frame_00000.ppm"));
    ASSERT_TRUE(fs::exists("frames/frame_00002.ppm"));
    const std::string firstRun = readBytes("frames/frame_00000.ppm");
    const std::string thirdFrame = readBytes("frames/frame_00002.ppm");
    EXPECT_EQ(firstRun.substr(0, 14), "P3\n159 79\n255\n");
    EXPECT_NE(firstRun, thirdFrame);  // the flow moved

    // The rebuilt solver starts from the grid again: the same first frame.
    fs::remove("frames/frame_00000.ppm");
    runFrames(1);
    window->send(CalculateWindow::ID_STOP);
    ASSERT_TRUE(window->waitParked());
    EXPECT_EQ(readBytes("frames/frame_00000.ppm"), firstRun);

    // The bytes are those of the picture two steps after the grid.
    window.reset();
    auto reference = buildSolver(grid, reynolds, timeStep);
    reference->step();
    reference->step();
    FrameImage picture(160, 80);
    RenderElements elements;
    elements.boundaryCells = true;
    elements.streamlines = true;
    ASSERT_TRUE(FrameComposer().compose(picture, reference->state(), 40, 20, 4, elements));
    ASSERT_TRUE(PpmFrameOutput().writeFile(picture.rgbPlanes(), "reference.ppm"));
    EXPECT_EQ(readBytes("reference.ppm"), firstRun);
}

TEST_F(CalculateWindowTest, VtkRunWritesFieldFilesBesideTheFrames)
{
    window->choose(window->saveVtk);
    runFrames(3);
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    const int32_t framesTaken = window->frames();
    window->send(CalculateWindow::ID_STOP);
    ASSERT_TRUE(window->waitParked());
    EXPECT_TRUE(window->saveVtk->isEnabled());  // idle again
    EXPECT_FALSE(fs::exists("frames"));                    // no picture files
    ASSERT_TRUE(fs::exists("vtk/fields_00000.vti"));
    ASSERT_TRUE(fs::exists("vtk/fields_00002.vti"));
    const std::string first = readBytes("vtk/fields_00000.vti");
    EXPECT_NE(first.find("WholeExtent=\"0 40 0 20 0 0\""), std::string::npos);
    EXPECT_NE(first, readBytes("vtk/fields_00002.vti"));  // the flow moved
    // The collection lists every frame with its simulated time: the build
    // step and one cycle per frame, at the window's fixed time step.
    const std::string collection = readBytes("vtk/fields.pvd");
    std::vector<double> times;
    for (size_t at = collection.find("timestep=\""); at != std::string::npos;
         at = collection.find("timestep=\"", at + 1))
        times.push_back(std::stod(collection.substr(at + 10)));
    ASSERT_EQ(static_cast<int32_t>(times.size()), framesTaken);
    EXPECT_NE(collection.find("file=\"fields_00000.vti\""), std::string::npos);
    for (size_t k = 0; k < times.size(); ++k)
        EXPECT_NEAR(times[k], (k + 2) * timeStep, 1e-6) << "frame " << k;
}

TEST_F(CalculateWindowTest, UnwritableFramesStopTheRunWithOneMessage)
{
    std::ofstream("frames") << "a file where the directory should be";
    window->choose(window->savePpm);
    window->send(CalculateWindow::ID_START);
    ASSERT_TRUE(runUntil([&] { return !window->pendingCycle; }, patience));
    settle(0.3);
    expectIdle();
    ASSERT_EQ(window->failures.size(), 1u);
    EXPECT_EQ(window->failures[0], "frames/frame_00000.ppm");
    EXPECT_EQ(window->cycles(), 0);
    EXPECT_EQ(window->shownStep(), 1);
}

TEST_F(CalculateWindowTest, OutputSizeResizesRelabelsAndRestartsTheNumbering)
{
    window->ppm().setNextNumber(7);
    window->sizeSpinner->setValue(3);
    window->send(CalculateWindow::ID_OUTPUT_SIZE);
    EXPECT_EQ(window->pixelsPerCell, 3);
    EXPECT_EQ(window->picture().width(), 0);  // allocated by the first frame that draws it, on the worker
    EXPECT_EQ(window->widthLabel->getText(), "Width: 120");
    EXPECT_EQ(window->heightLabel->getText(), "Height: 60");
    EXPECT_EQ(window->ppm().nextNumber(), 0);
    EXPECT_EQ(window->cycles(), 0);

    window->choose(window->savePpm);
    runFrames(1);
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    EXPECT_EQ(window->picture().width(), 120);
    EXPECT_EQ(window->picture().height(), 60);
    EXPECT_EQ(readBytes("frames/frame_00000.ppm").substr(0, 10), "P3\n119 59\n");
}

// The scheme and the pressure solver the editor chose are named, and the
// run uses that solver.
TEST_F(CalculateWindowTest, ShowsTheChosenSchemeAndPressureSolver)
{
    EXPECT_EQ(window->solverLabel->getText(), "Central\nMultigrid");
    ProbedWindow byDefault(testOwner(), &grid, SolverSettings{});
    EXPECT_EQ(byDefault.solverLabel->getText(), "RK3, 2nd order\nMultigrid");
    SolverSettings settings;
    settings.convection = Convection::UpwindBlended;
    settings.pressure = PressureSolver::GaussSeidel;
    ProbedWindow chosen(testOwner(), &grid, settings);
    EXPECT_EQ(chosen.solverLabel->getText(), "Upwind-blended\nGauss-Seidel");
    ASSERT_TRUE(chosen.waitPrepared());
    EXPECT_EQ(chosen.run->solverSettings().pressure, PressureSolver::GaussSeidel);
}

// Pixels per cell that keep the picture within 4096 pixels each way, never
// under one nor over the spinner's own 15.
TEST(OutputSizeLimit, KeepsThePictureWithin4096Pixels)
{
    struct Case {
        int NX, NY, most;
    };
    const Case cases[] = {{40, 20, 15},  {273, 10, 15}, {274, 10, 14}, {10, 274, 14},
                          {300, 100, 13}, {1024, 512, 4}, {512, 1024, 4}, {5000, 20, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(CalculateRanges::maxPixelsPerCellFor(c.NX, c.NY), c.most) << c.NX << "x" << c.NY;
}

// On a wide grid the spinner stops at the limit, and the picture at that
// size is made and labelled in full, however small the canvas shows it.
TEST_F(CalculateWindowTest, OutputSizeStopsWhereThePictureWouldPass4096Pixels)
{
    Grid wide;
    makeChannel(wide, 300, 100);
    TestWindow big(&wide);
    big.create();
    big.show(PLACEMENT_OWNER);
    FXint low = 0, high = 0;
    big.sizeSpinner->getRange(low, high);
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 13);
    big.sizeSpinner->setValue(20);
    EXPECT_EQ(big.sizeSpinner->getValue(), 13);
    big.send(CalculateWindow::ID_OUTPUT_SIZE);
    EXPECT_EQ(big.widthLabel->getText(), "Width: 3900");
    ASSERT_TRUE(big.waitParked());
    EXPECT_EQ(big.outputs.pixelsPerCell(), 13);  // the frame files' size, allocated when a frame draws it
}

TEST_F(CalculateWindowTest, CheckButtonRendersAtOnceWithoutAStep)
{
    const SimGrid& before = window->run->state();
    const double u = before.u[10][10];
    const int redBefore = reddish(window->shownFrame);  // the inflow cells
    window->showUField->setCheck(TRUE);
    window->send(CalculateWindow::ID_RENDER);
    EXPECT_GT(reddish(window->shownFrame), redBefore + 1000);  // the x velocity field shows
    EXPECT_EQ(window->run->state().u[10][10], u);
    EXPECT_EQ(window->cycles(), 0);
    EXPECT_EQ(window->shownStep(), 0);
}

// The summed brightness of a screen picture.
long brightness(const ScreenFrame& frame)
{
    long sum = 0;
    for (uint8_t byte : frame.rgb)
        sum += byte;
    return sum;
}

// A body with an exact outline shows as drawn, or with Bodies as Cells as
// the wall cells it covers wholly: the staircase inside the disc, so fewer
// pixels in the walls' grey over the black of the fluid. The switch redraws at once; a grid without outlines has
// nothing to switch.
TEST_F(CalculateWindowTest, BodiesShowAsDrawnOrAsTheirCells)
{
    EXPECT_FALSE(window->showBodiesAsCells->isEnabled());
    window.reset();
    grid.outlines.push_back(BodyOutline::circle(0.7, 0.5, 0.17));
    ASSERT_GT(markCoveredCells(grid), 20);
    window = std::make_unique<TestWindow>(&grid);
    window->create();
    window->show(PLACEMENT_OWNER);
    settle(0.2);
    ASSERT_TRUE(window->showBodiesAsCells->isEnabled());
    EXPECT_FALSE(window->checkedElements().outlineCells);
    const ScreenFrame drawn = window->shownFrame;
    saveScreenShot("simulation_bodies_drawn");

    window->showBodiesAsCells->setCheck(TRUE);
    window->send(CalculateWindow::ID_RENDER);
    settle(0.2);
    saveScreenShot("simulation_bodies_as_cells");
    EXPECT_TRUE(window->checkedElements().outlineCells);
    ASSERT_EQ(window->shownFrame.rgb.size(), drawn.rgb.size());
    EXPECT_LT(brightness(window->shownFrame), brightness(drawn));
    EXPECT_EQ(window->cycles(), 0);

    window->showBodiesAsCells->setCheck(FALSE);
    window->send(CalculateWindow::ID_RENDER);
    EXPECT_EQ(window->shownFrame.rgb, drawn.rgb);
}

TEST_F(CalculateWindowTest, AviRunWritesTitleFadeAndFrames)
{
    window->choose(window->saveAvi);
    window->aviAnswer = "movie";
    runFrames(4);
    EXPECT_EQ(window->aviQuestions, 1);
    EXPECT_EQ(window->compressorQuestions, 1);
    EXPECT_TRUE(fs::exists("movie.avi"));
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    const int32_t aviFramesBeforeStop = window->frames();
    window->send(CalculateWindow::ID_STOP);
    ASSERT_TRUE(window->waitParked());
    const int framesWritten = static_cast<int>(aviFramesBeforeStop);
    EXPECT_FALSE(window->avi().isOpen);
    const std::string streams = probe("movie.avi");
    EXPECT_NE(streams.find("codec_type=video\nwidth=160\nheight=80\nr_frame_rate=50/1"), std::string::npos)
        << streams;
    // The video stream and the empty text stream.
    size_t streamCount = 0;
    for (size_t at = streams.find("codec_type="); at != std::string::npos; at = streams.find("codec_type=", at + 1))
        ++streamCount;
    EXPECT_EQ(streamCount, 2u) << streams;
    // 38 growing titles, the complete one, 38 fade frames, then the run's.
    const size_t counted = streams.find("nb_read_frames=");
    ASSERT_NE(counted, std::string::npos) << streams;
    EXPECT_EQ(std::stoi(streams.substr(counted + 15)), 77 + framesWritten) << streams;
    EXPECT_TRUE(window->aviMessages.empty());
}

TEST_F(CalculateWindowTest, AviNameEndingInCapitalsGetsTheExtension)
{
    window->choose(window->saveAvi);
    window->aviAnswer = "MOVIE.AVI";
    runFrames(1);
    window->send(CalculateWindow::ID_STOP);
    ASSERT_TRUE(window->waitParked());
    EXPECT_TRUE(fs::exists("MOVIE.AVI.avi"));
    window->aviAnswer = "second.avi";
    runFrames(1);
    window->send(CalculateWindow::ID_STOP);
    ASSERT_TRUE(window->waitParked());
    EXPECT_TRUE(fs::exists("second.avi"));
    EXPECT_FALSE(fs::exists("second.avi.avi"));
}

TEST_F(CalculateWindowTest, CancelledAviDialogsLeaveTheWindowIdle)
{
    window->choose(window->saveAvi);
    window->aviAnswer = "";
    window->send(CalculateWindow::ID_START);
    expectIdle();
    EXPECT_EQ(window->aviQuestions, 1);
    EXPECT_EQ(window->compressorQuestions, 0);
    EXPECT_TRUE(fs::is_empty(directory));

    window->compressorAnswer = false;
    window->aviAnswer = "cancelled";
    window->send(CalculateWindow::ID_START);
    expectIdle();
    EXPECT_EQ(window->compressorQuestions, 1);
    ASSERT_EQ(window->aviMessages.size(), 1u);
    EXPECT_EQ(window->aviMessages[0].second, avi_messages::openFailedText);
    EXPECT_FALSE(window->avi().isOpen);
    settle(0.2);
    EXPECT_EQ(window->cycles(), 0);
}

TEST_F(CalculateWindowTest, FailedAviFrameStopsTheRunAndTellsOnce)
{
    window->choose(window->saveAvi);
    window->aviAnswer = "short.avi";
    runFrames(1);
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    const int32_t framesBefore = window->frames();
    // Two more frames reach the file, the third fails.
    aviStreamFailWritesAfter(window->avi().compressedStream, 2);
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(runUntil([&] { return !window->pendingCycle; }, patience));
    settle(0.3);
    expectIdle();
    EXPECT_FALSE(window->avi().isOpen);
    ASSERT_EQ(window->aviMessages.size(), 1u);
    EXPECT_EQ(window->aviMessages[0].second, std::string(avi_messages::incompleteText) + "short.avi");
    EXPECT_TRUE(window->failures.empty());
    EXPECT_EQ(window->cycles(), 0);
    // The file is complete and holds the frames that were written: those
    // before the failure was set up, and the two after them.
    const std::string streams = probe("short.avi");
    EXPECT_NE(streams.find("nb_read_frames=" + std::to_string(77 + framesBefore + 2) + "\n"), std::string::npos)
        << streams;
}

// Closing a running window does not wait for the step under way: the
// worker keeps the run, gives the step up and frees it, and is itself freed
// on the event thread once it has ended, as windows open and close. So it
// goes whether the worker is stepping, repainting the cells or still taking
// the build step, and the next window runs as ever.
TEST_F(CalculateWindowTest, ClosingARunningWindowLeavesTheStepToTheWorker)
{
    Grid large;
    makeChannel(large, 200, 100);
    enum class When { Preparing, Running, Repainting };
    for (const When when : {When::Preparing, When::Running, When::Repainting}) {
        SCOPED_TRACE(static_cast<int>(when));
        auto closing = std::make_unique<TestWindow>(&large);
        closing->create();
        closing->show(PLACEMENT_OWNER);
        if (when != When::Preparing) {
            closing->send(CalculateWindow::ID_START);
            ASSERT_TRUE(runUntil([&] { return closing->cycles() >= 1; }, patience));
        }
        if (when == When::Repainting) {
            const auto p = canvasPointOf(closing->canvasLayout(), DomainPoint{150.5 * large.dx, 50.5 * large.dy});
            closing->paintTool = CalculateWindow::PAINT_NOSLIP;
            closing->canvasEvent(SEL_LEFTBUTTONPRESS, static_cast<int>(p->x), static_cast<int>(p->y));
            closing->canvasEvent(SEL_LEFTBUTTONRELEASE, static_cast<int>(p->x), static_cast<int>(p->y));
            ASSERT_EQ(closing->paintedCells().size(), 1u);
        }
        closing.reset();
        EXPECT_TRUE(runUntil(
            [] {
                freeEndedWorkers();
                return endingWorkerCount() == 0;
            },
            patience));
    }
    runFrames(2);
    EXPECT_GE(window->cycles(), 2);
}

TEST_F(CalculateWindowTest, ClosingDuringAnAviRunCompletesTheFile)
{
    window->choose(window->saveAvi);
    window->aviAnswer = "closed.avi";
    runFrames(2);
    window.reset();
    EXPECT_NE(probe("closed.avi").find("r_frame_rate=50/1"), std::string::npos);
}

namespace {

// Pixels of the picture where blue or red clearly leads: the two signs of
// a diverging colour map.
struct Signs {
    int bluish = 0;
    int reddish = 0;
};
Signs countSigns(const ScreenFrame& frame)
{
    Signs signs;
    for (size_t k = 0; k < 3 * static_cast<size_t>(frame.width) * frame.pictureHeight; k += 3) {
        const int red = frame.rgb[k], green = frame.rgb[k + 1], blue = frame.rgb[k + 2];
        signs.bluish += blue > red + 40;
        signs.reddish += red > blue + 40 && green < red - 40;
    }
    return signs;
}

[[maybe_unused]] Signs countSigns(const FrameImage& picture)
{
    Signs signs;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const int red = picture.pixelRed(x, y);
            const int blue = picture.pixelBlue(x, y);
            signs.bluish += blue > red + 40;
            signs.reddish += red > blue + 40 && picture.pixelGreen(x, y) < red - 40;
        }
    return signs;
}

}  // namespace

// The View choice: a colour map replaces the designed colours and puts the
// bar under the picture shown and saved; Lock range keeps the range shown
// and takes edits; Designed colours brings back the picture alone.
TEST_F(CalculateWindowTest, ViewChoiceSwitchesColourMapsAndLocksTheRange)
{
    EXPECT_EQ(window->viewList->getNumItems(), 8);  // designed, five flow quantities, temperature, dye
    EXPECT_EQ(window->viewList->getCurrentItem(), 0);
    EXPECT_FALSE(window->rangeMin->isEnabled());
    window->viewList->setCurrentItem(2);  // vorticity
    window->send(CalculateWindow::ID_VIEW);
    const ScreenFrame& shown = window->shownFrame;
    EXPECT_EQ(shown.height, shown.pictureHeight + colour_bar::stripHeight);
    EXPECT_EQ(shown.pictureHeight, 20 * shown.pixelsPerCell);
    const Signs signs = countSigns(shown);
    EXPECT_GT(signs.bluish, 100);
    EXPECT_GT(signs.reddish, 100);
    const ColourRange automatic = shown.range;
    EXPECT_LT(automatic.low, 0.0);
    EXPECT_DOUBLE_EQ(automatic.high, -automatic.low);

    window->lockRange->setCheck(TRUE);
    window->send(CalculateWindow::ID_LOCK_RANGE);
    EXPECT_TRUE(window->rangeMin->isEnabled());
    EXPECT_NEAR(FXDoubleVal(window->rangeMax->getText()), automatic.high, 1e-3 * automatic.high);
    window->rangeMin->setText("-1000");
    window->rangeMax->setText("1000");
    window->send(CalculateWindow::ID_VIEW);
    EXPECT_DOUBLE_EQ(window->shownFrame.range.high, 1000.0);
    EXPECT_LT(countSigns(window->shownFrame).bluish, signs.bluish);  // the wide range pales the picture

    // A PPM run saves the strip with every frame.
    window->choose(window->savePpm);
    runFrames(1);
    window->send(CalculateWindow::ID_STOP);
    ASSERT_TRUE(window->waitParked());
    EXPECT_EQ(readBytes("frames/frame_00000.ppm").substr(0, 14), "P3\n159 119\n255");

    window->viewList->setCurrentItem(0);
    window->send(CalculateWindow::ID_VIEW);
    EXPECT_EQ(window->shownFrame.height, window->shownFrame.pictureHeight);
}

TEST_F(CalculateWindowTest, PauseKeepsTheStateAndResumeGoesOn)
{
    EXPECT_FALSE(window->pauseButton->isEnabled());  // nothing to pause when idle
    runFrames(3);
    window->send(CalculateWindow::ID_PAUSE);
    EXPECT_FALSE(window->savePictureButton->isEnabled());  // until the cycle under way is done
    ASSERT_TRUE(window->waitParked());
    const int32_t cycles = window->cycles();
    const double state = stateSum(window->run->state());
    settle(0.3);
    EXPECT_TRUE(window->paused);
    EXPECT_FALSE(window->pendingCycle);
    EXPECT_EQ(window->cycles(), cycles);
    EXPECT_EQ(stateSum(window->run->state()), state);
    EXPECT_EQ(window->shownStep(), cycles);
    EXPECT_EQ(window->pauseButton->getText(), "Resume");
    EXPECT_TRUE(window->stepButton->isEnabled());
    EXPECT_TRUE(window->savePictureButton->isEnabled());
    EXPECT_TRUE(window->stopButton->isEnabled());
    EXPECT_FALSE(window->startButton->isEnabled());
    EXPECT_FALSE(window->sizeSpinner->isEnabled());

    // Space resumes as the button does.
    FXEvent space;
    space.type = SEL_KEYPRESS;
    space.code = KEY_space;
    space.state = 0;
    window->handle(window.get(), FXSEL(SEL_KEYPRESS, 0), &space);
    ASSERT_TRUE(runUntil([&] { return window->cycles() >= cycles + 2; }, patience));
    EXPECT_FALSE(window->paused);
    EXPECT_EQ(window->pauseButton->getText(), "Pause");
    EXPECT_FALSE(window->stepButton->isEnabled());
    EXPECT_FALSE(window->savePictureButton->isEnabled());

    // Stop while paused starts over, as Stop always does.
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    EXPECT_NE(stateSum(window->run->state()), state);
    window->send(CalculateWindow::ID_STOP);
    expectIdle();
    EXPECT_FALSE(window->paused);
    EXPECT_FALSE(window->pauseButton->isEnabled());
    EXPECT_FALSE(window->stepButton->isEnabled());
    EXPECT_EQ(window->cycles(), 0);
}

TEST_F(CalculateWindowTest, StepTakesExactlyOneCycleAndSavesItsFrame)
{
    window->choose(window->savePpm);
    runFrames(2);
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    const int32_t cycles = window->cycles();
    const int32_t frames = window->frames();
    const double state = stateSum(window->run->state());
    const std::string nextFrame = FXStringFormat("frames/frame_%05d.ppm", frames).text();
    ASSERT_FALSE(fs::exists(nextFrame));

    window->send(CalculateWindow::ID_STEP);
    ASSERT_TRUE(window->waitParked());
    EXPECT_EQ(window->cycles(), cycles + 1);
    EXPECT_EQ(window->frames(), frames + 1);
    EXPECT_EQ(window->shownStep(), cycles + 1);
    EXPECT_NE(stateSum(window->run->state()), state);
    EXPECT_TRUE(fs::exists(nextFrame));
    settle(0.3);
    EXPECT_EQ(window->cycles(), cycles + 1);  // and no more
    EXPECT_TRUE(window->paused);

    // Step does nothing once the run goes on again.
    window->send(CalculateWindow::ID_PAUSE);
    window->send(CalculateWindow::ID_STOP);
    window->send(CalculateWindow::ID_STEP);
    ASSERT_TRUE(window->waitParked());
    EXPECT_EQ(window->cycles(), 0);
}

TEST_F(CalculateWindowTest, SavePictureWritesThePictureAsPng)
{
    window->showUField->setCheck(TRUE);  // colours in every pixel row
    runFrames(2);
    window->pictureAnswer = "still";
    window->send(CalculateWindow::ID_SAVE_PICTURE);  // not paused: nothing
    EXPECT_FALSE(fs::exists("still.png"));

    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    window->send(CalculateWindow::ID_SAVE_PICTURE);
    ASSERT_TRUE(window->waitParked());  // the worker draws and writes it
    EXPECT_TRUE(window->savePictureButton->isEnabled());
    PictureBytes saved;
    ASSERT_TRUE(readPictureFile("still.png", saved));
    const FrameImage& picture = window->picture();
    ASSERT_EQ(saved.width, picture.width());
    ASSERT_EQ(saved.height, picture.height());
    int differing = 0;
    for (int row = 0; row < picture.height(); ++row)
        for (int column = 0; column < picture.width(); ++column) {
            const uint8_t* rgb = &saved.rgb[3 * (static_cast<size_t>(row) * picture.width() + column)];
            differing += rgb[0] != std::min(picture.pixelRed(column, row), 255) ||
                         rgb[1] != std::min(picture.pixelGreen(column, row), 255) ||
                         rgb[2] != std::min(picture.pixelBlue(column, row), 255);
        }
    EXPECT_EQ(differing, 0);
    EXPECT_FALSE(allZero(picture));
    EXPECT_TRUE(window->pictureFailures.empty());

    // A Step given while the picture is made is taken after it.
    const int32_t cycles = window->cycles();
    window->pictureAnswer = "no/such/folder/still.png";
    window->send(CalculateWindow::ID_SAVE_PICTURE);
    window->send(CalculateWindow::ID_STEP);
    ASSERT_TRUE(window->waitParked());
    EXPECT_EQ(window->cycles(), cycles + 1);
    ASSERT_EQ(window->pictureFailures.size(), 1u);
    EXPECT_EQ(window->pictureFailures[0], "no/such/folder/still.png");

    // With a colour map the PNG carries its colour bar below the picture,
    // widened for its values where the picture is narrow; the frames shown
    // and saved keep the picture's width.
    window->viewList->setCurrentItem(2);  // vorticity, blue to red
    window->send(CalculateWindow::ID_VIEW);
    window->pictureAnswer = "mapped.png";
    window->send(CalculateWindow::ID_SAVE_PICTURE);
    ASSERT_TRUE(window->waitParked());
    PictureBytes mapped;
    ASSERT_TRUE(readPictureFile("mapped.png", mapped));
    if (const char* copy = std::getenv("KELVO_SAVED_PICTURE"))
        fs::copy_file("mapped.png", copy, fs::copy_options::overwrite_existing);
    const int W = picture.width();
    const int H = picture.height();
    EXPECT_EQ(window->outputs.shown().width(), W);
    ASSERT_EQ(mapped.width, std::max(W, savedColourBarWidth()));
    ASSERT_EQ(mapped.height, H + colour_bar::stripHeight);
    const int left = (mapped.width - W) / 2;
    const auto at = [&](int column, int row) { return &mapped.rgb[3 * (static_cast<size_t>(row) * mapped.width + column)]; };
    differing = 0;
    for (int row = 0; row < H; ++row)
        for (int column = 0; column < W; ++column)
            differing += at(left + column, row)[0] != std::min(picture.pixelRed(column, row), 255) ||
                         at(left + column, row)[2] != std::min(picture.pixelBlue(column, row), 255);
    EXPECT_EQ(differing, 0);
    // The bar runs from blue on the left to red on the right; the values
    // under it are white text.
    const uint8_t* low = at(colour_bar::sideGap + 1, H + colour_bar::topGap + 2);
    const uint8_t* high = at(mapped.width - colour_bar::sideGap - 2, H + colour_bar::topGap + 2);
    EXPECT_GT(low[2], low[0] + 60);
    EXPECT_GT(high[0], high[2] + 60);
    int light = 0;  // text pixels, their smoothed edges included
    for (int row = H + colour_bar::textTop; row < mapped.height; ++row)
        for (int column = 0; column < mapped.width; ++column)
            light += std::min({at(column, row)[0], at(column, row)[1], at(column, row)[2]}) >= 128;
    EXPECT_GT(light, 40);
}

// The volume flux east through the faces u[i][1..NY-2].
static double fluxThrough(const SimGrid& state, int32_t i)
{
    double flux = 0.0;
    for (int32_t j = 1; j <= state.NY - 2; ++j)
        flux += state.u[i][j] * state.dy;
    return flux;
}

// A stroke of the left button dragged across the running channel with the
// no-slip wall chosen: quick moves of several cells paint every cell on the
// way, the worker takes the wall between two steps, and a few steps later
// nothing passes it. With painting off the button does nothing.
TEST_F(CalculateWindowTest, AWallDraggedAcrossTheRunningChannelBlocksIt)
{
    const int32_t column = 30;
    const auto canvasOf = [&](int32_t i, int32_t j) {
        const auto p = canvasPointOf(window->canvasLayout(), DomainPoint{(i + 0.5) * grid.dx, (j + 0.5) * grid.dy});
        return std::make_pair(static_cast<int>(p->x), static_cast<int>(p->y));
    };
    runFrames(20);
    const auto [x0, y0] = canvasOf(column, 18);
    const auto [x1, y1] = canvasOf(column, 1);
    window->canvasEvent(SEL_LEFTBUTTONPRESS, x0, y0);  // painting is off
    window->canvasEvent(SEL_LEFTBUTTONRELEASE, x0, y0);
    EXPECT_TRUE(window->paintedCells().empty());

    window->paintTool = CalculateWindow::PAINT_NOSLIP;
    window->canvasEvent(SEL_LEFTBUTTONPRESS, x0, y0);
    for (int k = 1; k <= 3; ++k)  // about six cells a move
        window->canvasEvent(SEL_MOTION, x0, y0 + (y1 - y0) * k / 3);
    window->canvasEvent(SEL_LEFTBUTTONRELEASE, x1, y1);
    ASSERT_EQ(window->paintedCells().size(), 18u);
    // Counted from a pause, by when the wall is in: a window behind with
    // its reports (a busy machine) would count steps taken before it.
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    const int32_t paintedAt = window->cycles();
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(runUntil([&] { return window->cycles() >= paintedAt + 5; }, patience));
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    const SimGrid& state = window->run->state();
    for (int32_t j = 1; j <= 18; ++j)
        EXPECT_EQ(state.flags[column][j] & CELL_NOSLIP_WALL, CELL_NOSLIP_WALL) << j;
    EXPECT_EQ(fluxThrough(state, column), 0.0);
    EXPECT_LT(std::fabs(fluxThrough(state, column + 1)), 0.05);
    EXPECT_EQ(grid.flags[column][5], CELL_FLUID);  // the editor's grid waits for the copy
    if (const char* shot = std::getenv("KELVO_PAINT_SHOT")) {
        settle(0.3);
        EXPECT_EQ(std::system((std::string("import -window root ") + shot).c_str()), 0);
    }
}

// The left button does one thing at a time: the emitter tool turns a paint
// tool off and a paint tool the emitter tool. An emitter clicked into the
// running flow reaches the run between two steps and releases particles
// there; with a paint tool chosen afterwards the same click paints.
TEST_F(CalculateWindowTest, TheEmitterToolAndThePaintToolsTakeTheLeftButtonInTurn)
{
    const auto p = canvasPointOf(window->canvasLayout(), DomainPoint{10.5 * grid.dx, 10.5 * grid.dy});
    const int x = static_cast<int>(p->x), y = static_cast<int>(p->y);
    runFrames(5);
    window->paintTool = CalculateWindow::PAINT_SLIP;
    window->emitterTool->setCheck(TRUE);
    window->send(CalculateWindow::ID_EMITTER_TOOL);
    EXPECT_EQ(window->paintTool, CalculateWindow::PAINT_OFF);
    window->canvasEvent(SEL_LEFTBUTTONPRESS, x, y);
    window->canvasEvent(SEL_LEFTBUTTONRELEASE, x, y);
    ASSERT_EQ(window->placedEmitterList().size(), 1u);
    EXPECT_TRUE(window->paintedCells().empty());
    window->send(CalculateWindow::ID_PAUSE);  // counted from a pause, as the painted wall's steps
    ASSERT_TRUE(window->waitParked());
    const int32_t placedAt = window->cycles();
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(runUntil([&] { return window->cycles() >= placedAt + 10; }, patience));
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    ASSERT_EQ(window->run->particles().emitterList().size(), 1u);
    EXPECT_NEAR(window->run->particles().emitterList()[0].x1, 10.5 * grid.dx, 0.5 * grid.dx);
    EXPECT_FALSE(window->run->particles().particles().empty());

    // Save Picture draws them too, in the emitter's colour.
    window->showParticles->setCheck(TRUE);
    window->pictureAnswer = "particles.png";
    window->send(CalculateWindow::ID_SAVE_PICTURE);
    ASSERT_TRUE(window->waitParked());
    PictureBytes saved;
    ASSERT_TRUE(readPictureFile("particles.png", saved));
    const particle_palette::Colour dot = particle_palette::colourOf(window->run->particles().particles()[0].colour);
    int dots = 0;
    for (size_t n = 0; n + 2 < saved.rgb.size(); n += 3)
        dots += saved.rgb[n] == dot.r && saved.rgb[n + 1] == dot.g && saved.rgb[n + 2] == dot.b;
    EXPECT_GT(dots, 0);

    window->paintTool = CalculateWindow::PAINT_NOSLIP;
    window->send(CalculateWindow::ID_PAINT_TOOL);
    EXPECT_FALSE(window->emitterTool->getCheck());
    window->canvasEvent(SEL_LEFTBUTTONPRESS, x, y);
    window->canvasEvent(SEL_LEFTBUTTONRELEASE, x, y);
    EXPECT_EQ(window->placedEmitterList().size(), 1u);
    ASSERT_EQ(window->paintedCells().size(), 1u);
    EXPECT_EQ(window->paintedCells()[0].i, 10);
    EXPECT_EQ(window->paintedCells()[0].j, 10);
}

namespace {

// The dye of the state: its total and the i of its centre, in cells.
struct DyeSpread {
    double total = 0.0;
    double centreI = 0.0;
};
DyeSpread dyeSpread(const SimGrid& state)
{
    DyeSpread spread;
    double moment = 0.0;
    for (int32_t i = 0; i < state.NX; ++i)
        for (int32_t j = 0; j < state.NY; ++j) {
            spread.total += state.scalars.c[i][j];
            moment += (i + 0.5) * state.scalars.c[i][j];
        }
    spread.centreI = spread.total > 0.0 ? moment / spread.total : 0.0;
    return spread;
}

// Pixels of the screen picture (above the colour bar) that the dye map
// shows blue.
int dyed(const ScreenFrame& frame)
{
    int count = 0;
    for (size_t k = 0; k < 3 * static_cast<size_t>(frame.width) * frame.pictureHeight; k += 3)
        count += frame.rgb[k + 2] > frame.rgb[k] + 60;
    return count;
}

}  // namespace

// Dye brushed across the running channel with the RK3 method: the run,
// which had none, takes it on; only the fluid cells take it, the flow
// carries it downstream without losing any, and the View shows it. Dye
// painted while paused goes in at once; Stop starts again from the painted
// dye. The editor's grid waits for the copy. The central method carries no
// dye: its Dye choice is off.
TEST_F(CalculateWindowTest, DyeBrushedIntoTheRunningChannelGoesWithTheFlow)
{
    EXPECT_FALSE(window->dyeChoice->isEnabled());
    SolverSettings settings;
    settings.dt = timeStep;
    ProbedWindow rk3(testOwner(), &grid, settings);
    rk3.create();
    rk3.show(PLACEMENT_OWNER);
    ASSERT_TRUE(rk3.waitParked());
    EXPECT_TRUE(rk3.dyeChoice->isEnabled());
    const auto canvasOf = [&](int32_t i, int32_t j) {
        const auto p = canvasPointOf(rk3.canvasLayout(), DomainPoint{(i + 0.5) * grid.dx, (j + 0.5) * grid.dy});
        return std::make_pair(static_cast<int>(p->x), static_cast<int>(p->y));
    };
    const int32_t column = 20;
    rk3.send(CalculateWindow::ID_START);
    ASSERT_TRUE(runUntil([&] { return rk3.cycles() >= 3; }, patience));
    rk3.paintTool = CalculateWindow::PAINT_DYE;
    rk3.send(CalculateWindow::ID_PAINT_TOOL);
    EXPECT_EQ(rk3.viewList->getCurrentItem(), 7);  // the dye's colour map
    ASSERT_TRUE(runUntil([&] { return rk3.shownFrame.height > rk3.shownFrame.pictureHeight; }, patience));
    const int blueBefore = dyed(rk3.shownFrame);  // the map with its bar, no dye yet
    const auto [x0, y0] = canvasOf(column, 19);
    const auto [x1, y1] = canvasOf(column, 1);
    rk3.canvasEvent(SEL_LEFTBUTTONPRESS, x0, y0);
    for (int k = 1; k <= 3; ++k)
        rk3.canvasEvent(SEL_MOTION, x0, y0 + (y1 - y0) * k / 3);

    rk3.canvasEvent(SEL_LEFTBUTTONRELEASE, x1, y1);
    ASSERT_EQ(rk3.paintedDye().size(), 19u);  // the north wall's cell too
    EXPECT_TRUE(rk3.paintedCells().empty());
    const int32_t paintedAt = rk3.cycles();
    ASSERT_TRUE(runUntil([&] { return rk3.cycles() >= paintedAt + 20; }, patience));
    rk3.send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(rk3.waitParked());
    const SimGrid& state = rk3.run->state();
    ASSERT_TRUE(state.scalars.dye);
    EXPECT_EQ(state.scalars.c[column][19], 0.0);  // no dye in the wall
    const DyeSpread spread = dyeSpread(state);
    EXPECT_NEAR(spread.total, 18.0, 1e-6);           // the 18 fluid cells' worth, carried whole
    EXPECT_GT(spread.centreI, column + 0.5 + 0.3);   // downstream, at about the mean speed
    EXPECT_LT(spread.centreI, column + 0.5 + 5.0);
    EXPECT_GT(dyed(rk3.shownFrame), blueBefore + 50);
    EXPECT_FALSE(grid.scalars.dye);

    const int32_t pausedAt = rk3.cycles();
    const auto [xs, ys] = canvasOf(5, 10);
    rk3.canvasEvent(SEL_LEFTBUTTONPRESS, xs, ys);
    rk3.canvasEvent(SEL_LEFTBUTTONRELEASE, xs, ys);
    ASSERT_TRUE(rk3.waitParked());
    EXPECT_EQ(rk3.run->state().scalars.c[5][10], 1.0);
    EXPECT_EQ(rk3.cycles(), pausedAt);
    if (const char* shot = std::getenv("KELVO_DYE_SHOT")) {
        rk3.send(CalculateWindow::ID_PAUSE);
        ASSERT_TRUE(runUntil([&] { return rk3.cycles() >= pausedAt + 30; }, patience));
        settle(0.3);
        EXPECT_EQ(std::system((std::string("import -window root ") + shot).c_str()), 0);
    }

    // Stop starts again from the dye painted so far, as from painted cells:
    // the painted cells hold it again, carried only by the reset's one step.
    rk3.send(CalculateWindow::ID_STOP);
    ASSERT_TRUE(rk3.waitParked());
    const DyeSpread restarted = dyeSpread(rk3.run->state());
    EXPECT_NEAR(restarted.total, 19.0, 1e-6);
    EXPECT_NEAR(restarted.centreI, (18 * (column + 0.5) + 5.5) / 19, 0.15);
    EXPECT_FALSE(grid.scalars.dye);
}
