// The example channel with a time step of 0.05 blows up within a few dozen
// steps. The window must stop by itself at the step that broke the flow:
// no frame shows the broken state, the files written so far are whole, the
// user is told what to try, and a new start behaves the same way; with the
// automatic time step the same set-up runs on.
#include "robust_support.h"
#include "test_editor.h"

#include "core/flow_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr double patience = 120.0;
constexpr const char* divergingStep = "0.05";

// Whether any u, v or p of the solver's grid is infinite or not a number.
bool hasNonFinite(const SimGrid& grid)
{
    for (int32_t i = 0; i < grid.NX; ++i)
        for (int32_t j = 0; j < grid.NY; ++j)
            if (!std::isfinite(grid.u[i][j]) || !std::isfinite(grid.v[i][j]) || !std::isfinite(grid.p[i][j]))
                return true;
    return false;
}

// The cycle a blow-up message names.
long long cycleNamed(const std::string& message)
{
    long long cycle = -1;
    std::sscanf(message.c_str(), "The flow became unstable at cycle %lld", &cycle);
    return cycle;
}

// Frame cycles among the cycles before the one that blew up, at one frame
// every interval cycles, the first cycle included.
int framesBefore(long long blowUpCycle, int interval)
{
    return static_cast<int>((blowUpCycle - 1 + interval - 1) / interval);
}

// A window on the example channel at the diverging time step, with every
// element rendered.
class DivergingFlowTest : public testing::Test {
protected:
    void SetUp() override
    {
        editor.reset(editorWithGrid(exampleGrid("channel.grid"), divergingStep));
        ASSERT_TRUE(editor);
        double reynolds = 0;
        double timeStep = 0.0;
        ASSERT_TRUE(calculateArguments(*editor, reynolds, timeStep));
        ASSERT_EQ(timeStep, 0.05);
        settings = editor->lastSettings;
        // The forward-Euler central step: the default method holds at 0.05.
        settings.convection = Convection::Central;
        open();
    }
    void TearDown() override
    {
        window.reset();
        editor.reset();
    }
    void open()
    {
        window = std::make_unique<RobustWindow>(editor.get(), &editor->editedGrid(), settings);
        window->create();
        window->show(PLACEMENT_OWNER);
        settle(0.05);
        window->checkAllElements(true);
    }
    // Start, then events until the window has told of a blow-up.
    void runToBlowUp()
    {
        const size_t told = window->instabilities.size();
        window->send(CalculateWindow::ID_START);
        ASSERT_TRUE(runUntil([&] { return window->instabilities.size() > told; }, patience));
        settle(0.1);
    }

    ScratchDirectory scratch;
    std::unique_ptr<TestEditor> editor;
    SolverSettings settings;
    std::unique_ptr<RobustWindow> window;
};

TEST_F(DivergingFlowTest, PpmRunStopsAtTheBlowUpWithWholeFramesOfGoodStates)
{
    window->choose(window->savePpm);
    window->intervalSpinner->setValue(5);
    runToBlowUp();
    ASSERT_EQ(window->instabilities.size(), 1u);
    const std::string& told = window->instabilities[0];
    const long long cycle = cycleNamed(told);
    ASSERT_GT(cycle, 1) << told;
    EXPECT_NE(told.find("or tick Automatic."), std::string::npos) << told;
    EXPECT_TRUE(window->isIdle());
    EXPECT_EQ(window->cycles(), 0);
    EXPECT_FALSE(hasNonFinite(window->run->state()));  // rebuilt from the grid
    EXPECT_TRUE(window->failures.empty());

    // Every frame before the blow-up was written whole; none after it.
    const int frames = framesBefore(cycle, 5);
    ASSERT_GT(frames, 0);
    std::string why;
    char name[64];
    for (int n = 0; n < frames; ++n) {
        std::snprintf(name, sizeof name, "frames/frame_%05d.ppm", n);
        EXPECT_TRUE(isWellFormedPpm(name, window->picture().width(), window->picture().height(), why))
            << name << ": " << why;
    }
    std::snprintf(name, sizeof name, "frames/frame_%05d.ppm", frames);
    EXPECT_FALSE(std::ifstream(name).good()) << name;
}

TEST_F(DivergingFlowTest, AviRunIsCompletedWithTheFramesBeforeTheBlowUp)
{
    window->choose(window->saveAvi);
    window->aviAnswer = "diverging";
    window->intervalSpinner->setValue(5);
    runToBlowUp();
    ASSERT_EQ(window->instabilities.size(), 1u);
    EXPECT_TRUE(window->isIdle());
    EXPECT_FALSE(window->avi().isOpen);
    std::string probe;
    // 38 growing titles, the whole one, 38 fade frames, then the run's frames.
    EXPECT_EQ(aviVideoFrames("diverging.avi", probe), 77 + framesBefore(cycleNamed(window->instabilities[0]), 5))
        << probe;
}

TEST_F(DivergingFlowTest, EachStartBlowsUpAtTheSameCycleAndTheMessageSuggestsTheRule)
{
    runToBlowUp();
    runToBlowUp();
    ASSERT_EQ(window->instabilities.size(), 2u);
    EXPECT_EQ(window->instabilities[0], window->instabilities[1]);
    char suggested[32];
    std::snprintf(suggested, sizeof suggested, "(about %.2g or less",
                  suggestedTimeStep(editor->editedGrid(), settings));
    EXPECT_NE(window->instabilities[0].find(suggested), std::string::npos) << window->instabilities[0];
}

TEST_F(DivergingFlowTest, TheAutomaticTimeStepRunsTheSameSetUpOn)
{
    settings.automaticDt = true;
    open();
    ASSERT_TRUE(window->runCycles(300, patience));
    EXPECT_TRUE(window->instabilities.empty());
    EXPECT_FALSE(hasNonFinite(window->run->state()));
    EXPECT_LT(window->run->lastStepReport().dt, 0.05);
    window->send(CalculateWindow::ID_STOP);
    EXPECT_TRUE(window->isIdle());
}

}  // namespace
