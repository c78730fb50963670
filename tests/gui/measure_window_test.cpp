// The Measurements window driven through its messages over a running
// simulation window: opened beside it, a probe placed by a middle click on
// the picture, values and chart following the cycles, the history exported
// and the probe removed.
#include "gui/measure_window.h"
#include "gui/picture_point.h"
#include "gui/probe_marks.h"
#include "gui/ui_text.h"
#include "io/example_grids.h"
#include "probed_window.h"
#include "window_test.h"

#include "platform/picture_file.h"
#include "platform/text_font.h"

#include <GL/gl.h>

#include <initializer_list>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double patience = 30.0;  // seconds any wait may take at most

// The window's parts, and the export answered by the test.
class TestMeasureWindow : public MeasureWindow {
public:
    TestMeasureWindow(FXWindow* owner, MeasureLog* log, ChartHistory* chart) : MeasureWindow(owner, log, chart) {}
    using MeasureWindow::bodyLabel;
    using MeasureWindow::chartCanvas;
    using MeasureWindow::chartProbe;
    using MeasureWindow::probeList;
    using MeasureWindow::removeButton;
    using MeasureWindow::timeLabel;

    FXString exportAnswer;
    std::vector<std::string> exportFailures;
    FXString chooseHistoryFileName() override { return exportAnswer; }
    void showExportFailure(const FXString& path) override { exportFailures.push_back(path.text()); }
    void send(FXSelector id) { handle(this, FXSEL(SEL_COMMAND, id), nullptr); }
};

class TestWindow : public ProbedWindow {
public:
    TestWindow(const Grid* grid, const SolverSettings& settings) : ProbedWindow(testOwner(), grid, settings) {}
    MeasureWindow* newMeasureWindow(MeasureLog* log, ChartHistory* chart) override
    {
        return new TestMeasureWindow(this, log, chart);
    }
    TestMeasureWindow* measure() { return static_cast<TestMeasureWindow*>(measureWindow); }
    // How often the Measurements window reported a changed probe list.
    int probeChanges = 0;
    long handle(FXObject* sender, FXSelector sel, void* ptr) override
    {
        if (sel == FXSEL(SEL_CHANGED, ID_PROBES_CHANGED))
            ++probeChanges;
        return ProbedWindow::handle(sender, sel, ptr);
    }
    // A middle-button press and release on the picture at canvas pixel
    // (x, y), as the canvas passes them on.
    void middleClick(int x, int y)
    {
        FXEvent event;
        event.code = MIDDLEBUTTON;
        event.win_x = x;
        event.win_y = y;
        for (FXSelector type : {SEL_MIDDLEBUTTONPRESS, SEL_MIDDLEBUTTONRELEASE}) {
            event.type = type;
            glCanvas->handle(glCanvas, FXSEL(type, 0), &event);
        }
    }
};

std::vector<std::string> csvLines(const fs::path& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

long long firstField(const std::string& line)
{
    return std::atoll(line.substr(0, line.find(',')).c_str());
}

// The channel example, run from a fresh working directory.
class MeasureWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvo_measure_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
        example = channelExample();
        SolverSettings settings;
        settings.reynolds = example.settings.reynolds;
        settings.automaticDt = true;
        window = std::make_unique<TestWindow>(&example.grid, settings);
        window->create();
        window->show(PLACEMENT_OWNER);
        settle(0.2);
        ASSERT_TRUE(window->waitParked());  // the build step is done
    }
    void TearDown() override
    {
        window.reset();
        fs::remove_all(directory);
    }
    void runCycles(int32_t count)
    {
        const int32_t target = window->cycles() + count;
        ASSERT_TRUE(runUntil([&] { return window->cycles() >= target; }, patience));
    }

    fs::path directory;
    ExampleGrid example;
    std::unique_ptr<TestWindow> window;
};

}  // namespace

TEST_F(MeasureWindowTest, ProbesValuesChartAndHistoryFollowTheRun)
{
    EXPECT_FALSE(window->measureLog) << "nothing is measured before the window opens";
    window->send(CalculateWindow::ID_MEASURE);
    ASSERT_TRUE(runUntil([&] { return window->measure() != nullptr; }, patience));
    TestMeasureWindow* measure = window->measure();
    ASSERT_NE(measure, nullptr);
    EXPECT_TRUE(measure->shown());
    // Beside the simulation window, not over it, and inside the screen
    // (1024 x 768 here: the simulation window makes room).
    EXPECT_TRUE(measure->getX() >= window->getX() + window->getWidth() ||
                measure->getX() + measure->getWidth() <= window->getX())
        << measure->getX() << " against " << window->getX() << " + " << window->getWidth();
    EXPECT_GE(measure->getX(), 0);
    EXPECT_GE(window->getX(), 0);
    EXPECT_LE(measure->getX() + measure->getWidth(), window->getRoot()->getWidth());
    EXPECT_LE(window->getX() + window->getWidth(), window->getRoot()->getWidth());
    EXPECT_LE(measure->getY() + measure->getHeight(), window->getRoot()->getHeight());
    ASSERT_EQ(window->measureLog->measurements().bodies().size(), 2u);  // the post, then all walls

    window->send(CalculateWindow::ID_START);
    runCycles(30);
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    EXPECT_EQ(window->chartHistory.size(), static_cast<size_t>(window->frames()));
    EXPECT_EQ(window->chartHistory.channelCount(), 4u);
    const FXString bodiesEarly = measure->bodyLabel->getText();
    EXPECT_NE(bodiesEarly.find("C_D"), -1);
    EXPECT_NE(bodiesEarly.find(uiText(TXT_WALLS)), -1);

    // A probe in the middle of the picture, where the domain's middle is,
    // placed while the run goes on: it is taken between two steps.
    window->send(CalculateWindow::ID_PAUSE);
    const int cx = window->glCanvas->getWidth() / 2;
    const int cy = window->glCanvas->getHeight() / 2;
    window->middleClick(cx, cy);
    ASSERT_TRUE(runUntil([&] { return window->probeCount() == 1; }, patience));
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    const DomainPoint expected = *domainPointAt(window->canvasLayout(), cx, cy);
    EXPECT_DOUBLE_EQ(window->measureLog->measurements().probes()[0].x, expected.x);
    EXPECT_NEAR(expected.x, 0.5 * example.grid.NX * example.grid.dx, example.grid.dx);
    EXPECT_NEAR(expected.y, 0.5 * example.grid.NY * example.grid.dy, example.grid.dy);
    ASSERT_EQ(measure->probeList->getNumItems(), 1);
    ASSERT_EQ(measure->chartProbe->getNumItems(), 4);  // none, u, v, p
    const FXString probeEarly = measure->probeList->getItemText(0);
    EXPECT_EQ(probeEarly.find(FXStringFormat(uiText(TXT_PROBE_NAME), 1)), 0);
    const FXString timeEarly = measure->timeLabel->getText();

    // The chart shows the new probe's u; the shown values follow the run.
    // The flow may be steady to four digits by now on a fast machine, so
    // the texts are held against the values measured last, not against
    // the texts shown before.
    EXPECT_EQ(measure->chartProbe->getCurrentItem(), 1);
    window->send(CalculateWindow::ID_PAUSE);
    runCycles(40);
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    EXPECT_NE(measure->timeLabel->getText(), timeEarly);
    EXPECT_EQ(window->chartHistory.channelCount(), 7u);
    const Measurements& last = window->measureLog->measurements();
    const ProbeValues now = last.probeValues()[0];
    const FXString probeText = measure->probeList->getItemText(0);
    for (const FXString& shown : {FXStringFormat("u %.4f", now.u), FXStringFormat("v %.4f", now.v),
                                  FXStringFormat("p %.4f", now.p)})
        EXPECT_NE(probeText.find(shown), -1) << probeText.text() << " lacks " << shown.text();
    const FXString postText = FXStringFormat("C_D %.4f   C_L %.4f", last.bodies()[0].cd, last.bodies()[0].cl);
    EXPECT_NE(measure->bodyLabel->getText().find(postText), -1) << measure->bodyLabel->getText().text();
    if (const char* shot = std::getenv("KELVO_MEASURE_SHOT")) {
        settle(0.5);
        EXPECT_EQ(std::system((std::string("import -window root ") + shot).c_str()), 0);
    }

    // Export: the header names every column, one line per step since the
    // probe was placed, steps in order. The name typed without an extension
    // gets ".csv".
    const fs::path csv = directory / "history.csv";
    measure->exportAnswer = (directory / "history").c_str();
    measure->send(MeasureWindow::ID_EXPORT);
    EXPECT_TRUE(measure->exportFailures.empty());
    const std::vector<std::string> lines = csvLines(csv);
    ASSERT_GE(lines.size(), 41u);
    EXPECT_EQ(lines[0],
              "step,t,dt,sweeps,max_speed,kinetic_energy,max_divergence,body1_cd,body1_cl,body1_fx,body1_fy,"
              "walls_cd,walls_cl,walls_fx,walls_fy,probe1_u,probe1_v,probe1_p");
    EXPECT_EQ(static_cast<long long>(lines.size() - 1), window->measureLog->historyLines());
    EXPECT_EQ(firstField(lines.back()), window->cycles());
    for (size_t k = 2; k < lines.size(); ++k) {
        EXPECT_EQ(firstField(lines[k]), firstField(lines[k - 1]) + 1) << k;
        EXPECT_EQ(std::count(lines[k].begin(), lines[k].end(), ','), 17) << lines[k];
    }
    measure->exportAnswer = (directory / "no-such-folder" / "h.csv").c_str();
    measure->send(MeasureWindow::ID_EXPORT);
    EXPECT_EQ(measure->exportFailures.size(), 1u);

    // Remove: the list, the chart's choices and its channels lose the probe.
    measure->probeList->setCurrentItem(0);
    measure->send(MeasureWindow::ID_REMOVE_PROBE);
    EXPECT_EQ(measure->probeList->getNumItems(), 0);
    EXPECT_EQ(measure->chartProbe->getNumItems(), 1);
    EXPECT_TRUE(window->measureLog->measurements().probes().empty());
    EXPECT_EQ(window->chartHistory.channelCount(), 4u);
    EXPECT_FALSE(measure->removeButton->isEnabled());

    // Stop starts the measurements again with the run.
    window->send(CalculateWindow::ID_STOP);
    ASSERT_TRUE(window->waitParked());
    EXPECT_EQ(window->chartHistory.size(), 0u);
    EXPECT_EQ(window->measureLog->historyLines(), 0);
}

TEST_F(MeasureWindowTest, NothingIsMeasuredWhileTheWindowIsClosedAndNoProbeExists)
{
    window->send(CalculateWindow::ID_MEASURE);
    window->measure()->handle(window->measure(), FXSEL(SEL_COMMAND, FXDialogBox::ID_CANCEL), nullptr);
    EXPECT_FALSE(window->measure()->shown());
    window->send(CalculateWindow::ID_START);
    runCycles(10);
    const auto historyLines = [&] {
        FXMutexLock lock(window->worker->sharedLock());
        return window->measureLog->historyLines();
    };
    EXPECT_EQ(historyLines(), 0);
    {
        FXMutexLock lock(window->worker->sharedLock());
        EXPECT_EQ(window->chartHistory.size(), 0u);
    }
    // A probe alone keeps the history going, with the window closed: every
    // step from the one after the probe was placed.
    window->middleClick(window->glCanvas->getWidth() / 3, window->glCanvas->getHeight() / 2);
    ASSERT_TRUE(runUntil([&] { return window->probeCount() == 1; }, patience));
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    const long long linesBefore = historyLines();
    const int32_t cyclesBefore = window->cycles();
    window->send(CalculateWindow::ID_PAUSE);
    runCycles(10);
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    EXPECT_EQ(historyLines(), linesBefore + window->cycles() - cyclesBefore);
    EXPECT_GE(window->cycles(), cyclesBefore + 10);
    // A click on no part of the grid places no probe.
    window->middleClick(0, 0);
    EXPECT_EQ(window->probeCount(), 1u);
}

namespace {

// Canvas pixel (x, y), y downward, of pixels read bottom-up.
const uint8_t* canvasPixel(const std::vector<uint8_t>& pixels, int width, int height, int x, int y)
{
    return &pixels[3 * (static_cast<size_t>(height - 1 - y) * width + x)];
}

bool isColour(const uint8_t* rgb, int value) { return rgb[0] == value && rgb[1] == value && rgb[2] == value; }

// Probes placed with the middle button are marked on the canvas, a white
// cross edged in black and the probe's number beside it, with every field
// shown and on a colour map; the frame that is shown and saved stays as it
// was, and a removed probe's mark goes from the canvas.
TEST_F(MeasureWindowTest, ProbesAreMarkedOnTheCanvasAndNotInTheFrame)
{
    for (FXCheckButton* field : {window->showUField, window->showVField, window->showPressure})
        field->setCheck(TRUE);
    window->send(CalculateWindow::ID_START);
    runCycles(20);
    window->send(CalculateWindow::ID_PAUSE);
    ASSERT_TRUE(window->waitParked());
    const int width = window->glCanvas->getWidth();
    const int height = window->glCanvas->getHeight();
    const std::vector<uint8_t> bare = window->canvasPixels();
    const std::vector<uint8_t> frame = window->shownFrame.rgb;

    // Where the fields are strong: behind the post, near the inflow, high up.
    const int at[][2] = {{width / 2, height / 2}, {width / 8, height / 3}, {width - 12, 8}};
    for (const auto& p : at)
        window->middleClick(p[0], p[1]);
    ASSERT_EQ(window->measureLog->measurements().probes().size(), 3u);
    const std::vector<uint8_t> marked = window->canvasPixels();
    ASSERT_EQ(marked.size(), bare.size());
    const TextFont* font = TextFont::instance();
    ASSERT_NE(font, nullptr);
    const int reach = probe_marks::crossArm + probe_marks::labelGap + 2 * font->cellWidth() + font->lineHeight();
    for (const auto& p : at) {
        const int x = p[0], y = p[1];
        EXPECT_TRUE(isColour(canvasPixel(marked, width, height, x, y), 255)) << x << "," << y;
        EXPECT_TRUE(isColour(canvasPixel(marked, width, height, x + probe_marks::crossArm, y), 255)) << x;
        EXPECT_TRUE(isColour(canvasPixel(marked, width, height, x + 3, y + 1), 0)) << x;  // the edge
        // The number: new white and black pixels near the cross, beyond its arms.
        int whiteDigit = 0, blackEdge = 0;
        for (int yy = std::max(0, y - reach); yy < std::min(height, y + reach); ++yy)
            for (int xx = std::max(0, x - reach); xx < std::min(width, x + reach); ++xx) {
                if (xx == x || yy == y || std::abs(yy - y) <= 1 || std::abs(xx - x) <= 1)
                    continue;
                const uint8_t* now = canvasPixel(marked, width, height, xx, yy);
                const bool changed = !std::equal(now, now + 3, canvasPixel(bare, width, height, xx, yy));
                whiteDigit += changed && isColour(now, 255);
                blackEdge += changed && isColour(now, 0);
            }
        EXPECT_GE(whiteDigit, 8) << x << "," << y;
        EXPECT_GE(blackEdge, 16) << x << "," << y;
    }
    // Nothing else on the canvas changed.
    int changedFar = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bool near = false;
            for (const auto& p : at)
                near = near || (std::abs(x - p[0]) <= reach && std::abs(y - p[1]) <= reach);
            const uint8_t* now = canvasPixel(marked, width, height, x, y);
            changedFar += !near && !std::equal(now, now + 3, canvasPixel(bare, width, height, x, y));
        }
    EXPECT_EQ(changedFar, 0);
    if (const char* shot = std::getenv("KELVO_PROBE_SHOT")) {
        PictureBytes canvas{width, height, {}};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                canvas.rgb.insert(canvas.rgb.end(), canvasPixel(marked, width, height, x, y),
                                  canvasPixel(marked, width, height, x, y) + 3);
        EXPECT_TRUE(writePngFile(shot, canvas));
    }

    // The frame is drawn again with the probes in place: not a byte differs,
    // and a frame saved by Step is the picture alone as well.
    window->renderFrame();
    EXPECT_TRUE(window->shownFrame.rgb == frame);

    // On a colour map too the marks are white, where the taller picture
    // (the colour bar below it) now shows the probes.
    window->viewList->setCurrentItem(1);  // speed
    window->send(CalculateWindow::ID_VIEW);
    const std::vector<uint8_t> mapped = window->canvasPixels();
    const PictureLayout layout = window->canvasLayout();
    for (const ProbePoint& probe : window->measureLog->measurements().probes()) {
        const auto p = canvasPointOf(layout, DomainPoint{probe.x, probe.y});
        ASSERT_TRUE(p.has_value());
        EXPECT_TRUE(isColour(canvasPixel(mapped, width, height, static_cast<int>(p->x), static_cast<int>(p->y)), 255))
            << p->x << "," << p->y;
    }
    window->viewList->setCurrentItem(0);
    window->send(CalculateWindow::ID_VIEW);

    // Each probe removed in the Measurements window is reported to this
    // one, which shows the canvas again; without probes it is the bare one.
    window->send(CalculateWindow::ID_MEASURE);
    for (int k = 0; k < 3; ++k) {
        window->measure()->probeList->setCurrentItem(0);
        window->measure()->send(MeasureWindow::ID_REMOVE_PROBE);
    }
    EXPECT_EQ(window->probeChanges, 3);
    // The colour map's round trip composes the designed picture again, and
    // it comes back with some pixels changed: the canvas is compared with
    // that picture drawn alone.
    EXPECT_EQ(window->canvasPixels(), window->pictureOnlyPixels());
}

}  // namespace
// Opened on a paused run (or before Start), the window shows the forces of
// the state as it stands, as a recorded step would give them; the walls'
// row has no shedding figures, the body's has.
TEST_F(MeasureWindowTest, ForcesShowAtOnceAndOnlyBodiesGetSheddingFigures)
{
    for (const bool started : {false, true}) {
        SCOPED_TRACE(started ? "paused" : "before Start");
        if (started) {
            window->send(CalculateWindow::ID_START);
            runCycles(20);
            window->send(CalculateWindow::ID_PAUSE);
            ASSERT_TRUE(window->waitParked());
        }
        window->send(CalculateWindow::ID_MEASURE);
        Measurements expected(window->run->state(), example.settings.reynolds, ReferenceScales{}, {});
        expected.setWallsOnFaces(wallsOnFaces(window->run->solverSettings().convection));
        expected.record(window->run->state(), window->run->simulatedTime());
        const std::vector<BodyRecord>& shown = window->measureLog->measurements().bodies();
        ASSERT_EQ(shown.size(), expected.bodies().size());
        for (size_t k = 0; k < shown.size(); ++k) {
            EXPECT_NE(shown[k].cd, 0.0) << k;
            EXPECT_DOUBLE_EQ(shown[k].cd, expected.bodies()[k].cd) << k;
            EXPECT_DOUBLE_EQ(shown[k].cl, expected.bodies()[k].cl) << k;
        }
        const std::string text = window->measure()->bodyLabel->getText().text();
        const std::string bodyLine = FXStringFormat("C_D %.4f", shown[0].cd).text();
        EXPECT_NE(text.find(bodyLine), std::string::npos) << text;
        const size_t walls = text.find(uiText(TXT_WALLS));
        ASSERT_NE(walls, std::string::npos) << text;
        EXPECT_EQ(text.find('\n', walls), std::string::npos) << "the walls' row is one line: " << text;
        EXPECT_NE(text.find(uiText(TXT_NOT_PERIODIC)), std::string::npos) << text;
        EXPECT_LT(text.find(uiText(TXT_NOT_PERIODIC)), walls) << text;
        window->measure()->hide();
    }
}
