// The main window after start-up, the cell tools and what they enable, and
// Calculate It.
#include "test_editor.h"
#include "gui/ui_text.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct EditorTools : testing::Test {
    std::unique_ptr<TestEditor> editor{openEditor()};

    // Whether the velocity fields and the direction buttons are enabled.
    void expectEnabled(bool fields, bool directions)
    {
        EXPECT_EQ(editor->uText()->isEnabled(), fields);
        EXPECT_EQ(editor->vText()->isEnabled(), fields);
        for (FXRadioButton* r : {editor->east(), editor->west(), editor->north(), editor->south()})
            EXPECT_EQ(r->isEnabled(), directions) << r->getText().text();
    }
    void expectFields(const char* u, const char* v)
    {
        EXPECT_STREQ(editor->uText()->getText().text(), u);
        EXPECT_STREQ(editor->vText()->getText().text(), v);
    }
    // How many of the given radios are checked.
    static int checkedCount(std::initializer_list<FXRadioButton*> group)
    {
        int n = 0;
        for (FXRadioButton* r : group)
            n += r->getCheck() ? 1 : 0;
        return n;
    }
    int checkedTypes() const
    {
        return checkedCount({editor->move(), editor->slip(), editor->noSlip(), editor->inflow(),
                             editor->outflow()});
    }
    int checkedDirections() const
    {
        return checkedCount({editor->east(), editor->west(), editor->north(), editor->south()});
    }
};

TEST_F(EditorTools, StartsWithSlipAndEastAndTheFieldsDisabled)
{
    EXPECT_STREQ(editor->getTitle().text(), "Kelvo -Fluxeria v1.0");
    EXPECT_EQ(editor->getWidth(), 870);
    EXPECT_EQ(editor->getHeight(), 600);
    EXPECT_TRUE(editor->slip()->getCheck());
    EXPECT_TRUE(editor->east()->getCheck());
    EXPECT_EQ(checkedTypes(), 1);
    EXPECT_EQ(checkedDirections(), 1);
    EXPECT_EQ(editor->word(), CELL_SLIP_WALL);
    expectEnabled(false, false);
    expectFields("0.0", "0.0");
    EXPECT_TRUE(editor->calculateButton()->isEnabled());
    EXPECT_TRUE(editor->calculateTool()->isEnabled());
    EXPECT_TRUE(editor->saveButton()->isEnabled());
    EXPECT_STREQ(editor->deltaTime()->getText().text(), "0.003");
    EXPECT_EQ(editor->reynolds()->getValue(), 200);
    EXPECT_EQ(editor->defaultU()->getValue(), 0);
    EXPECT_EQ(editor->defaultV()->getValue(), 0);
    for (int line = 0; line < 4; ++line)
        EXPECT_STREQ(editor->info(line)->getText().text(), " ");
}

TEST_F(EditorTools, StartUpGridIsFortyByTwentyFluid)
{
    const Grid& grid = editor->editedGrid();
    ASSERT_EQ(grid.NX, 40);
    ASSERT_EQ(grid.NY, 20);
    EXPECT_DOUBLE_EQ(grid.dx, 0.05);
    EXPECT_DOUBLE_EQ(grid.dy, 0.05);
    for (int i = 0; i < 40; ++i)
        for (int j = 0; j < 20; ++j) {
            ASSERT_EQ(grid.flags[i][j], CELL_FLUID);
            ASSERT_EQ(grid.u[i][j], 0.0);
            ASSERT_EQ(grid.v[i][j], 0.0);
        }
}

TEST_F(EditorTools, InflowTakesItsVelocityFromTheCheckedDirection)
{
    editor->choose(editor->inflow());
    EXPECT_EQ(editor->word(), CELL_INFLOW);
    EXPECT_FALSE(editor->slip()->getCheck());
    EXPECT_EQ(checkedTypes(), 1);
    expectFields("1.0", "0.0");
    expectEnabled(true, true);

    editor->choose(editor->west());
    EXPECT_FALSE(editor->east()->getCheck());
    EXPECT_EQ(checkedDirections(), 1);
    expectFields("-1.0", "0.0");
    editor->choose(editor->north());
    expectFields("0.0", "1.0");
    editor->choose(editor->south());
    expectFields("0.0", "-1.0");
}

TEST_F(EditorTools, EnterInAFieldPutsTheInflowVelocityBack)
{
    editor->choose(editor->inflow());
    editor->enter(editor->uText(), "7.5");
    expectFields("1.0", "0.0");
}

TEST_F(EditorTools, MovingWallKeepsTypedVelocitiesUntilAnotherToolIsChosen)
{
    editor->choose(editor->inflow());
    editor->choose(editor->move());
    EXPECT_EQ(editor->word(), CELL_MOVING_WALL);
    expectFields("1.0", "0.0");
    expectEnabled(true, false);
    editor->enter(editor->uText(), "2.5");
    expectFields("2.5", "0.0");

    editor->choose(editor->slip());
    EXPECT_EQ(editor->word(), CELL_SLIP_WALL);
    expectFields("0.0", "0.0");
    expectEnabled(false, false);
}

TEST_F(EditorTools, EachToolPaintsItsOwnWord)
{
    const struct { FXRadioButton* radio; FXint word; } tools[] = {
        {editor->noSlip(), CELL_NOSLIP_WALL}, {editor->outflow(), CELL_OUTFLOW},
        {editor->move(), CELL_MOVING_WALL},   {editor->inflow(), CELL_INFLOW},
        {editor->slip(), CELL_SLIP_WALL}};
    for (const auto& tool : tools) {
        editor->choose(tool.radio);
        EXPECT_EQ(editor->word(), tool.word) << tool.radio->getText().text();
        EXPECT_EQ(checkedTypes(), 1);
    }
    editor->choose(editor->outflow());
    expectEnabled(false, false);
    expectFields("0.0", "0.0");
}

TEST_F(EditorTools, CalculateWritesDefaultVelocitiesIntoAllButTheLastColumnAndRow)
{
    editor->defaultU()->setValue(3);
    editor->defaultV()->setValue(4);
    editor->command(GridEditorWindow::ID_CALCULATE);
    const Grid& grid = editor->editedGrid();
    for (int i = 0; i < 40; ++i)
        for (int j = 0; j < 20; ++j) {
            const bool written = i <= 38 && j <= 18;
            ASSERT_EQ(grid.u[i][j], written ? 3.0 : 0.0) << i << "," << j;
            ASSERT_EQ(grid.v[i][j], written ? 4.0 : 0.0) << i << "," << j;
        }
    ASSERT_EQ(editor->simulations.size(), 1u);
    EXPECT_EQ(editor->simulations[0].first, 200);
    EXPECT_DOUBLE_EQ(editor->simulations[0].second, 0.003);
}

// Delta Time is read as its numeric prefix; a text whose number is not
// above 0 opens no run, writes nothing into the grid and says why, naming
// the field, with the field shown and focused.
TEST_F(EditorTools, CalculateRunsOnlyATimeStepAboveZero)
{
    const struct {
        const char* typed;
        double runs;  // 0: refused
    } cases[] = {{"0.5s", 0.5}, {"2e-3", 0.002}, {"abc", 0}, {"0", 0}, {"-1", 0}, {"", 0}, {"inf", 0}, {"nan", 0}};
    editor->reynolds()->setValue(5000);
    editor->defaultU()->setValue(3);
    for (const auto& c : cases) {
        editor->simulations.clear();
        editor->messages.clear();
        editor->tabs()->setCurrent(0);
        editor->deltaTime()->setText(c.typed);
        editor->command(GridEditorWindow::ID_CALCULATE);
        if (c.runs > 0) {
            ASSERT_EQ(editor->simulations.size(), 1u) << c.typed;
            EXPECT_EQ(editor->simulations[0].first, 2000);
            EXPECT_DOUBLE_EQ(editor->simulations[0].second, c.runs) << c.typed;
            EXPECT_TRUE(editor->messages.empty()) << c.typed;
            editor->command(GridEditorWindow::ID_UNDO);  // the run's default velocities
            continue;
        }
        EXPECT_TRUE(editor->simulations.empty()) << c.typed;
        ASSERT_EQ(editor->messages.size(), 1u) << c.typed;
        EXPECT_EQ(editor->messages[0].first, uiText(TXT_DELTA_TIME)) << c.typed;
        EXPECT_EQ(editor->messages[0].second, uiText(TXT_BAD_DELTA_TIME)) << c.typed;
        EXPECT_EQ(editor->tabs()->getCurrent(), 1) << c.typed;
        EXPECT_EQ(editor->deltaTime()->getParent()->getFocus(), editor->deltaTime()) << c.typed;
        EXPECT_EQ(editor->editedGrid().u[5][5], 0.0) << c.typed;
    }
    // Automatic does not read the field.
    editor->automaticDt()->setCheck(TRUE);
    editor->command(GridEditorWindow::ID_CALCULATE);
    EXPECT_EQ(editor->simulations.size(), 1u);
    editor->automaticDt()->setCheck(FALSE, TRUE);
}

// The Convection and Pressure solver choices and the Automatic tick reach
// the simulation, grey out Delta Time, and are remembered for the next
// editor window.
TEST_F(EditorTools, SimulationChoicesReachTheRunAndAreRemembered)
{
    editor->command(GridEditorWindow::ID_CALCULATE);
    ASSERT_EQ(editor->convection()->getNumItems(), 3);
    ASSERT_EQ(editor->pressure()->getNumItems(), 2);
    EXPECT_EQ(editor->lastSettings.convection, Convection::RungeKutta);
    EXPECT_EQ(editor->lastSettings.pressure, PressureSolver::Multigrid);
    editor->convection()->setCurrentItem(2, TRUE);
    editor->pressure()->setCurrentItem(1, TRUE);
    editor->automaticDt()->setCheck(TRUE, TRUE);
    testApp()->refresh();
    settle();
    EXPECT_FALSE(editor->deltaTime()->isEnabled());
    editor->command(GridEditorWindow::ID_CALCULATE);
    ASSERT_EQ(editor->simulations.size(), 2u);
    EXPECT_EQ(editor->lastSettings.convection, Convection::UpwindBlended);
    EXPECT_EQ(editor->lastSettings.pressure, PressureSolver::GaussSeidel);
    EXPECT_TRUE(editor->lastSettings.automaticDt);

    std::unique_ptr<TestEditor> next(openEditor());
    EXPECT_EQ(next->convection()->getCurrentItem(), 2);
    EXPECT_EQ(next->pressure()->getCurrentItem(), 1);
    EXPECT_TRUE(next->automaticDt()->getCheck());

    // The forward-Euler central terms, then back to the defaults.
    editor->convection()->setCurrentItem(1, TRUE);
    editor->command(GridEditorWindow::ID_CALCULATE);
    EXPECT_EQ(editor->lastSettings.convection, Convection::Central);
    editor->convection()->setCurrentItem(0, TRUE);
    editor->pressure()->setCurrentItem(0, TRUE);
    editor->automaticDt()->setCheck(FALSE, TRUE);
    testApp()->refresh();
    settle();
    EXPECT_TRUE(editor->deltaTime()->isEnabled());
    editor->command(GridEditorWindow::ID_CALCULATE);
    EXPECT_EQ(editor->lastSettings.convection, Convection::RungeKutta);
    EXPECT_EQ(editor->lastSettings.pressure, PressureSolver::Multigrid);
    EXPECT_FALSE(editor->lastSettings.automaticDt);
}

}  // namespace
