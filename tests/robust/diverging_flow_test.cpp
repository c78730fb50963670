// The example channel with a time step of 0.05 blows up within a few dozen
// steps. The window must go on regardless: cycles keep coming, Stop is
// handled, frames are still written whole, and memory stays flat.
#include "robust_support.h"
#include "test_editor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>

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

// Presses Stop from a timeout, as a click arrives: through the event queue,
// between two cycles.
class StopClicker : public FXObject {
    FXDECLARE(StopClicker)
public:
    enum { ID_CLICK = 1 };
    RobustWindow* window = nullptr;
    int32_t cyclesBeforeStop = -1;

    long onClick(FXObject*, FXSelector, void*)
    {
        cyclesBeforeStop = window->cycles();
        window->send(CalculateWindow::ID_STOP);
        return 1;
    }
};

FXDEFMAP(StopClicker) StopClickerMap[] = {
    FXMAPFUNC(SEL_TIMEOUT, StopClicker::ID_CLICK, StopClicker::onClick),
};
FXIMPLEMENT(StopClicker, FXObject, StopClickerMap, ARRAYNUMBER(StopClickerMap))

// A window on the example channel at the diverging time step, with every
// element rendered.
class DivergingFlowTest : public testing::Test {
protected:
    void SetUp() override
    {
        editor.reset(editorWithGrid(exampleGrid("channel.grid"), divergingStep));
        ASSERT_TRUE(editor);
        int reynolds = 0;
        double timeStep = 0.0;
        ASSERT_TRUE(calculateArguments(*editor, reynolds, timeStep));
        ASSERT_EQ(timeStep, 0.05);
        window = std::make_unique<RobustWindow>(editor.get(), &editor->editedGrid(), reynolds, timeStep);
        window->create();
        window->show(PLACEMENT_OWNER);
        settle(0.05);
        window->checkAllElements(true);
    }
    void TearDown() override
    {
        window.reset();
        editor.reset();
    }

    ScratchDirectory scratch;
    std::unique_ptr<TestEditor> editor;
    std::unique_ptr<RobustWindow> window;
};

TEST_F(DivergingFlowTest, PpmRunGoesOnWithFlatMemoryAndWholeFrames)
{
    window->choose(window->savePpm);
    window->intervalSpinner->setValue(50);
    ASSERT_TRUE(window->runCycles(500, patience));
    EXPECT_TRUE(hasNonFinite(window->run->state()));
    const long afterFirst = residentKiB();
    ASSERT_TRUE(window->runCycles(2500, patience)) << window->cycles();
    const long afterLast = residentKiB();
    if (residentMemoryIsMeaningful()) {
        EXPECT_LE(afterLast, afterFirst + afterFirst / 20) << afterFirst << " KiB, then " << afterLast << " KiB";
    }

    // Stop is handled between two cycles.
    window->send(CalculateWindow::ID_STOP);
    EXPECT_TRUE(window->isIdle());
    settle(0.2);
    EXPECT_EQ(window->cycles(), 0);
    EXPECT_FALSE(hasNonFinite(window->run->state()));  // rebuilt from the grid
    EXPECT_TRUE(window->failures.empty());

    // 3000 cycles at 50 a frame: 60 files, the first finite, the last not.
    std::string why;
    for (const char* name : {"frames/frame_00000.ppm", "frames/frame_00030.ppm", "frames/frame_00059.ppm"})
        EXPECT_TRUE(isWellFormedPpm(name, window->picture().width(), window->picture().height(), why)) << name << ": " << why;
    EXPECT_FALSE(std::ifstream("frames/frame_00060.ppm").good());
}

TEST_F(DivergingFlowTest, AviRunGoesOnAndTheFileIsWhole)
{
    window->choose(window->saveAvi);
    window->aviAnswer = "diverging";
    window->intervalSpinner->setValue(5);
    ASSERT_TRUE(window->runCycles(400, patience));
    EXPECT_TRUE(hasNonFinite(window->run->state()));
    window->send(CalculateWindow::ID_STOP);
    EXPECT_TRUE(window->isIdle());
    EXPECT_TRUE(window->failures.empty());
    std::string probe;
    // 38 growing titles, the whole one, 38 fade frames, then 80 frames.
    EXPECT_EQ(aviVideoFrames("diverging.avi", probe), 77 + 80) << probe;
}

TEST_F(DivergingFlowTest, StopAndStartAgainWhileTheFieldsAreNotFinite)
{
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(window->runCycles(200, patience));
        EXPECT_TRUE(hasNonFinite(window->run->state()));
        window->checkAllElements(round % 2 == 1);
        window->send(CalculateWindow::ID_STOP);
        EXPECT_TRUE(window->isIdle());
        window->changeOutputSize(1 + 7 * round);
        EXPECT_EQ(window->picture().width(), (1 + 7 * round) * 40);
    }
}

TEST_F(DivergingFlowTest, AStopClickArrivesBetweenCyclesOfTheBlownUpFlow)
{
    ASSERT_TRUE(window->runCycles(100, patience));
    ASSERT_TRUE(hasNonFinite(window->run->state()));
    StopClicker clicker;
    clicker.window = window.get();
    testApp()->addTimeout(&clicker, StopClicker::ID_CLICK, 300);
    ASSERT_TRUE(runUntil([&] { return clicker.cyclesBeforeStop >= 0; }, 30.0));
    EXPECT_GT(clicker.cyclesBeforeStop, 100);  // cycles went on until the click
    EXPECT_TRUE(window->isIdle());
    settle(0.2);
    EXPECT_EQ(window->cycles(), 0);
}

}  // namespace
