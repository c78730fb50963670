// Hostile text in the editor's "Delta Time" and velocity fields: each value
// is read as the decimal reader reads it (longest numeric prefix, hex and
// inf/nan included), and a simulation window opened with it either runs,
// renders every element, stops and starts again, or stops by itself at a
// blow-up and says so; it never crashes or hangs.
#include "gui/decimal_text.h"
#include "robust_support.h"
#include "test_editor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

namespace {

constexpr double patience = 60.0;  // seconds any run of cycles may take
constexpr int32_t runLength = 300;

// One hostile text and what the decimal reader must make of it.
struct HostileText {
    std::string name;
    std::string text;
    double expected;
};

std::vector<HostileText> hostileTexts()
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return {
        {"empty", "", 0.0},
        {"letters", "abc", 0.0},
        {"zero", "0", 0.0},
        {"negative", "-1", -1.0},
        {"huge", "1e308", 1e308},
        {"infinity", "inf", inf},
        {"notANumber", "nan", nan},
        // strtod reads C99 hexadecimal floating constants: 0x10 is 16.
        {"hexadecimal", "0x10", 16.0},
        // 10,000 digits overflow to infinity; 10,000 letters are no number.
        {"longDigits", std::string(10000, '9'), inf},
        {"longLetters", std::string(10000, 'x'), 0.0},
        {"longFraction", "0." + std::string(9998, '3'), 1.0 / 3.0},
    };
}

// Equal as doubles, a NaN equal to a NaN.
bool sameValue(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

class HostileFieldTest : public testing::TestWithParam<HostileText> {
protected:
    void SetUp() override
    {
        editor.reset(editorWithGrid(exampleGrid("channel.grid"), GetParam().text.c_str()));
        ASSERT_TRUE(editor);
    }

    // Paints a moving wall at the centre of cell (i, j) with the given
    // velocity texts; returns the cell's stored u and v.
    void paintMovingWall(int i, int j, const char* u, const char* v)
    {
        editor->choose(editor->move());
        editor->enter(editor->uText(), u);
        editor->enter(editor->vText(), v);
        int x = 0, y = 0;
        editor->cellPixel(i, j, x, y);
        editor->leftClick(x, y);
        editor->motion(x, y);  // the info lines show the new values
        settle();
    }

    // The simulation window for these arguments: runs with all six
    // elements, toggles them, stops, runs again, closes.
    void exerciseWindow(double reynolds, double timeStep)
    {
        ScratchDirectory scratch;
        auto window = std::make_unique<RobustWindow>(editor.get(), &editor->editedGrid(), reynolds, timeStep);
        window->create();
        window->show(PLACEMENT_OWNER);
        settle(0.05);
        window->checkAllElements(true);
        window->choose(window->savePpm);
        window->intervalSpinner->setValue(10);

        const bool ran = window->runCycles(runLength, patience);
        if (!window->instabilities.empty()) {
            // Values this far off blow the flow up: the window stops by
            // itself, idle, and says so once.
            EXPECT_FALSE(ran);
            EXPECT_TRUE(window->isIdle());
            EXPECT_EQ(window->instabilities.size(), 1u);
            EXPECT_EQ(window->instabilities[0].rfind("The flow became unstable at cycle ", 0), 0u);
            EXPECT_TRUE(window->failures.empty());
            window.reset();
            settle(0.05);
            return;
        }
        ASSERT_TRUE(ran) << window->cycles() << " cycles";
        // Toggling during the run redraws at once; the run goes on.
        window->checkAllElements(false);
        window->checkAllElements(true);
        ASSERT_TRUE(window->runCycles(10, patience));
        window->send(CalculateWindow::ID_STOP);
        EXPECT_TRUE(window->isIdle());
        EXPECT_EQ(window->cycles(), 0);
        EXPECT_TRUE(window->failures.empty());

        // Start again from the rebuilt solver, then close while running.
        // The worker may have finished a cycle or more beyond the one the
        // window took when the count was reached.
        ASSERT_TRUE(window->runCycles(50, patience));
        EXPECT_GE(window->cycles(), 50);
        std::string why;
        EXPECT_TRUE(isWellFormedPpm("frames/frame_00004.ppm", window->picture().width(), window->picture().height(), why)) << why;
        window.reset();
        settle(0.05);
    }

    std::unique_ptr<TestEditor> editor;
};

TEST_P(HostileFieldTest, DeltaTimeIsReadAsTheDecimalReaderSaysAndTheRunSurvives)
{
    const HostileText& hostile = GetParam();
    double reynolds = 0;
    double timeStep = -7.0;
    // A time step that is not a number above 0 is refused before any run.
    const bool usable = std::isfinite(hostile.expected) && hostile.expected > 0.0;
    ASSERT_EQ(calculateArguments(*editor, reynolds, timeStep), usable) << hostile.text;
    if (!usable)
        return;
    EXPECT_TRUE(sameValue(timeStep, hostile.expected)) << timeStep;
    EXPECT_TRUE(sameValue(timeStep, readDecimal(hostile.text.c_str())));
    exerciseWindow(reynolds, timeStep);
}

TEST_P(HostileFieldTest, VelocityFieldsAreReadAsTheDecimalReaderSaysAndTheRunSurvives)
{
    const HostileText& hostile = GetParam();
    // A moving lid in the middle of the north wall, u from the text, and
    // one cell next to it with v from the text.
    paintMovingWall(20, 19, hostile.text.c_str(), "0");
    paintMovingWall(21, 19, "0", hostile.text.c_str());
    const Grid& grid = editor->editedGrid();
    EXPECT_EQ(grid.flags[20][19], CELL_MOVING_WALL);
    EXPECT_TRUE(sameValue(grid.u[20][19], hostile.expected)) << grid.u[20][19];
    EXPECT_EQ(grid.v[20][19], 0.0);
    EXPECT_TRUE(sameValue(grid.v[21][19], hostile.expected)) << grid.v[21][19];
    // The fields keep what was typed while the moving-wall tool is on.
    EXPECT_EQ(std::string(editor->vText()->getText().text()), hostile.text);

    double reynolds = 0;
    double timeStep = 0.0;
    editor->deltaTime()->setText("0.003");
    ASSERT_TRUE(calculateArguments(*editor, reynolds, timeStep));
    EXPECT_EQ(timeStep, 0.003);
    exerciseWindow(reynolds, timeStep);
}

INSTANTIATE_TEST_SUITE_P(Texts, HostileFieldTest, testing::ValuesIn(hostileTexts()),
                         [](const testing::TestParamInfo<HostileText>& info) { return info.param.name; });

}  // namespace
