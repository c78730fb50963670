// Save Grid As and Load Grid through the window, with the file name given
// by the test in place of the file dialog.
#include "gui/decimal_text.h"
#include "test_editor.h"
#include "io/grid_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Every byte of a file.
std::vector<unsigned char> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

// A file holding exactly these bytes.
void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

struct EditorFiles : testing::Test {
    std::unique_ptr<TestEditor> editor{openEditor()};
    std::string dir;

    void SetUp() override
    {
        char pattern[] = "/tmp/kelvo-editor-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    std::string path(const char* name) const { return dir + "/" + name; }

    void save(const std::string& file)
    {
        editor->nextFile = file.c_str();
        editor->command(GridEditorWindow::ID_SAVE_GRID);
    }
    void load(const std::string& file)
    {
        editor->nextFile = file.c_str();
        editor->command(GridEditorWindow::ID_LOAD_GRID);
    }
    void paint(FXRadioButton* tool, int i, int j)
    {
        editor->choose(tool);
        int x, y;
        editor->cellPixel(i, j, x, y);
        editor->leftClick(x, y);
    }
};

// A name typed without an extension is saved with ".grid", which Load's
// filter shows; a name with one is kept as typed.
TEST_F(EditorFiles, SaveAddsTheGridExtensionToANameWithoutOne)
{
    const struct {
        const char* typed;
        const char* written;
    } cases[] = {{"channel", "channel.grid"}, {"channel.grid", "channel.grid"}, {"setup.v2", "setup.v2"}};
    for (const auto& c : cases) {
        save(path(c.typed));
        EXPECT_TRUE(editor->messages.empty()) << c.typed;
        Grid read;
        GridFileSettings settings;
        EXPECT_EQ(readGridFile(path(c.written), read, settings), GridFileStatus::Ok) << c.typed;
        std::remove(path(c.written).c_str());
    }
    EXPECT_NE(access(path("setup.v2.grid").c_str(), F_OK), 0);
}

TEST_F(EditorFiles, ASavedGridComesBackWithItsSettings)
{
    paint(editor->noSlip(), 3, 4);
    editor->choose(editor->inflow());
    editor->choose(editor->west());
    paint(editor->inflow(), 39, 10);
    editor->reynolds()->setValue(10);
    editor->defaultU()->setValue(10);
    editor->defaultV()->setValue(7);
    save(path("painted.grid"));
    ASSERT_TRUE(editor->messages.empty());

    runNewGrid(*editor, 60, 30, true);
    editor->reynolds()->setValue(500);
    editor->defaultU()->setValue(0);
    int x, y;
    editor->cellPixel(1, 1, x, y);
    editor->leftPress(x, y);
    load(path("painted.grid"));
    ASSERT_TRUE(editor->messages.empty());
    EXPECT_FALSE(editor->draggingLeft());
    const Grid& grid = editor->editedGrid();
    ASSERT_EQ(grid.NX, 40);
    ASSERT_EQ(grid.NY, 20);
    EXPECT_DOUBLE_EQ(grid.dx, 0.05);
    EXPECT_EQ(grid.flags[3][4], CELL_NOSLIP_WALL);
    EXPECT_EQ(grid.flags[39][10], CELL_INFLOW | DIR_WEST);
    EXPECT_EQ(grid.u[39][10], -1.0);
    EXPECT_EQ(grid.flags[5][5], CELL_FLUID);
    EXPECT_EQ(editor->reynolds()->getValue(), 10);
    EXPECT_EQ(editor->defaultU()->getValue(), 10);
    EXPECT_EQ(editor->defaultV()->getValue(), 7);
}

TEST_F(EditorFiles, LoadedSettingsAreClampedIntoTheSpinnersAndTheSizeIntoNewGrid)
{
    Grid wide;
    makeFluidGrid(wide, 150, 20);
    GridFileSettings settings;
    settings.reynolds = 5;
    settings.defaultU = 200;
    settings.defaultV = 3;
    ASSERT_TRUE(saveGridFile(path("wide.grid"), wide, settings));
    load(path("wide.grid"));
    ASSERT_TRUE(editor->messages.empty());
    EXPECT_EQ(editor->editedGrid().NX, 150);
    EXPECT_EQ(editor->reynolds()->getValue(), 10);
    EXPECT_EQ(editor->defaultU()->getValue(), 100);
    EXPECT_EQ(editor->defaultV()->getValue(), 3);
    // 150 div 20 = 7: dx = 7/150 whatever the file says.
    EXPECT_DOUBLE_EQ(editor->editedGrid().dx, 7.0 / 150);
    const DialogOutcome outcome = runNewGrid(*editor, 40, 20, false);
    EXPECT_EQ(outcome.shownNX, 150);
    EXPECT_EQ(editor->editedGrid().NX, 150);
}

TEST_F(EditorFiles, VersionTwoFilesCarryTheSolverSettingsBothWays)
{
    Grid large;
    makeFluidGrid(large, 300, 20);
    large.u[4][5] = 0.25;
    GridFileSettings settings;
    settings.reynolds = 816.67;
    settings.dt = 0.002;
    settings.convection = Convection::UpwindBlended;
    settings.pressure = PressureSolver::Multigrid;
    ASSERT_TRUE(saveGridFile(path("large.grid"), large, settings));
    load(path("large.grid"));
    ASSERT_TRUE(editor->messages.empty());
    EXPECT_EQ(editor->editedGrid().NX, 300);
    EXPECT_EQ(editor->editedGrid().u[4][5], 0.25);
    EXPECT_EQ(editor->reynolds()->getValue(), 816.67);
    EXPECT_EQ(std::string(editor->deltaTime()->getText().text()), "0.002");
    EXPECT_EQ(editor->solverSettings().convection, Convection::UpwindBlended);
    EXPECT_EQ(editor->solverSettings().pressure, PressureSolver::Multigrid);

    // A classic file stores none of them: the window keeps its choices.
    Grid small;
    makeFluidGrid(small, 40, 20);
    ASSERT_TRUE(saveGridFile(path("small.grid"), small, GridFileSettings()));
    load(path("small.grid"));
    EXPECT_EQ(std::string(editor->deltaTime()->getText().text()), "0.002");
    EXPECT_EQ(editor->solverSettings().pressure, PressureSolver::Multigrid);

    load(path("large.grid"));
    editor->deltaTime()->setText("0.0015");
    save(path("again.grid"));
    ASSERT_TRUE(editor->messages.empty());
    Grid back;
    GridFileSettings saved;
    ASSERT_EQ(readGridFile(path("again.grid"), back, saved), GridFileStatus::Ok);
    EXPECT_EQ(back.NX, 300);
    EXPECT_EQ(saved.reynolds, 816.67);
    EXPECT_EQ(saved.dt, 0.0015);
    EXPECT_EQ(saved.convection, Convection::UpwindBlended);
    EXPECT_EQ(saved.pressure, PressureSolver::Multigrid);
}

// The Reynolds field shows a loaded number with as many decimals as fit
// (its tool tip with all of them) and a whole one without a decimal point,
// clamped into 10..2000 either way; the value is kept exactly, and what the
// user types, decimals included, is what Calculate It and Save take.
TEST_F(EditorFiles, TheReynoldsNumberKeepsItsDecimals)
{
    FXTextField* typed = dynamic_cast<FXTextField*>(editor->reynolds()->childAtIndex(0));
    ASSERT_NE(typed, nullptr);
    EXPECT_STREQ(typed->getText().text(), "200");

    struct Case {
        double stored;
        double held;
        const char* shown;  // nullptr: rounded to fit the field, within 0.5
        const char* tip;
    };
    const Case cases[] = {
        {100, 100, "100", "100"},
        {10.5, 10.5, "10.5", "10.5"},
        {5.25, 10, "10", "10"},
        {2000.5, 2000, "2000", "2000"},
        {816.67, 816.67, nullptr, "816.67"},
        {1234.5678, 1234.5678, nullptr, "1234.5678"},
        {100.0 * 49 / 6, 100.0 * 49 / 6, nullptr, "816.6666666666666"},
    };
    Grid large;
    makeFluidGrid(large, 300, 20);
    for (const Case& c : cases) {
        GridFileSettings settings;
        settings.reynolds = c.stored;
        ASSERT_TRUE(saveGridFile(path("re.grid"), large, settings));
        load(path("re.grid"));
        ASSERT_TRUE(editor->messages.empty()) << c.stored;
        EXPECT_EQ(editor->reynolds()->getValue(), c.held) << c.stored;
        if (c.shown) {
            EXPECT_STREQ(typed->getText().text(), c.shown) << c.stored;
        }
        EXPECT_NEAR(readDecimal(typed->getText().text()), c.held, 0.5) << typed->getText().text();
        EXPECT_STREQ(editor->reynolds()->getTipText().text(), c.tip) << c.stored;
        editor->command(GridEditorWindow::ID_CALCULATE);
        EXPECT_EQ(editor->lastSettings.reynolds, c.held) << c.stored;
    }

    // Typing: the field's text changes, then it tells the spinner.
    typed->setText("123.25");
    editor->reynolds()->handle(typed, FXSEL(SEL_CHANGED, FXRealSpinner::ID_ENTRY), nullptr);
    editor->command(GridEditorWindow::ID_CALCULATE);
    EXPECT_EQ(editor->lastSettings.reynolds, 123.25);
    // Enter puts back the value as the field fits it; the arrows step by 1.
    typed->setText("1999.123456");
    editor->reynolds()->handle(typed, FXSEL(SEL_CHANGED, FXRealSpinner::ID_ENTRY), nullptr);
    editor->reynolds()->handle(typed, FXSEL(SEL_COMMAND, FXRealSpinner::ID_ENTRY), nullptr);
    EXPECT_NEAR(readDecimal(typed->getText().text()), 1999.123456, 0.5);
    EXPECT_STREQ(editor->reynolds()->getTipText().text(), "1999.123456");
    EXPECT_EQ(editor->reynolds()->getValue(), 1999.123456);
    editor->reynolds()->increment();
    EXPECT_STREQ(typed->getText().text(), "2000");
    editor->reynolds()->setValue(123.25);
    save(path("typed.grid"));
    Grid back;
    GridFileSettings saved;
    ASSERT_EQ(readGridFile(path("typed.grid"), back, saved), GridFileStatus::Ok);
    EXPECT_EQ(saved.reynolds, 123.25);
}

// "Initial field from the file" comes with the grid: a file that stores it
// ticks it, any other file unticks it; ticked, Calculate It leaves the
// grid's own velocities as the starting field, else it writes the default
// velocities over the fluid cells. A save keeps the choice.
TEST_F(EditorFiles, TheInitialFieldChoiceTravelsWithTheGrid)
{
    Grid field;
    makeFluidGrid(field, 40, 20);
    field.u[5][6] = 0.25;
    field.v[7][8] = -0.5;
    GridFileSettings settings;
    settings.reynolds = 100;
    settings.defaultU = 2;
    settings.startsFromStoredField = true;
    ASSERT_TRUE(saveGridFile(path("kept.grid"), field, settings));
    settings.startsFromStoredField = false;
    ASSERT_TRUE(saveGridFile(path("written.grid"), field, settings));
    EXPECT_FALSE(editor->storedField()->getCheck());

    struct Case {
        const char* file;
        bool ticked;
        double u56, v78;  // after Calculate It
    };
    const Case cases[] = {
        {"kept.grid", true, 0.25, -0.5},
        {"written.grid", false, 2.0, 0.0},
        {"kept.grid", true, 0.25, -0.5},
    };
    for (const Case& c : cases) {
        load(path(c.file));
        ASSERT_TRUE(editor->messages.empty()) << c.file;
        EXPECT_EQ(editor->storedField()->getCheck() == TRUE, c.ticked) << c.file;
        EXPECT_FALSE(editor->hasUnsavedChanges()) << c.file;
        editor->command(GridEditorWindow::ID_CALCULATE);
        EXPECT_EQ(editor->editedGrid().u[5][6], c.u56) << c.file;
        EXPECT_EQ(editor->editedGrid().v[7][8], c.v78) << c.file;
    }

    // Unticking is a change to save; the saved file starts from the default
    // velocities, and ticking it again is saved too.
    load(path("kept.grid"));
    editor->storedField()->setCheck(FALSE);
    EXPECT_TRUE(editor->hasUnsavedChanges());
    save(path("unticked.grid"));
    EXPECT_FALSE(editor->hasUnsavedChanges());
    editor->storedField()->setCheck(TRUE);
    save(path("ticked.grid"));
    for (const auto& [file, starts] : {std::pair{"unticked.grid", false}, std::pair{"ticked.grid", true}}) {
        Grid back;
        GridFileSettings saved;
        ASSERT_EQ(readGridFile(path(file), back, saved), GridFileStatus::Ok) << file;
        EXPECT_EQ(saved.startsFromStoredField, starts) << file;
        EXPECT_EQ(back.u[5][6], 0.25) << file;
    }
}

TEST_F(EditorFiles, CellsWithoutOneTypeBitShowTheBackground)
{
    // Words like these come only from files: no type bit, or two.
    Grid odd;
    makeFluidGrid(odd, 40, 20);
    odd.flags[5][5] = 0;
    odd.flags[6][5] = CELL_FLUID | CELL_NOSLIP_WALL;
    ASSERT_TRUE(saveGridFile(path("odd.grid"), odd, GridFileSettings()));
    load(path("odd.grid"));
    ASSERT_TRUE(editor->messages.empty());
    int x, y, rgb[3];
    for (int i : {5, 6}) {
        editor->cellPixel(i, 5, x, y);
        editor->readPixel(x, y, rgb);
        EXPECT_EQ(rgb[0], 117) << i;
        EXPECT_EQ(rgb[1], 107) << i;
        EXPECT_EQ(rgb[2], 105) << i;
    }
    editor->cellPixel(7, 5, x, y);
    editor->readPixel(x, y, rgb);
    EXPECT_EQ(rgb[2], 255);
}

TEST_F(EditorFiles, ARefusedFileIsReportedAndChangesNothing)
{
    paint(editor->noSlip(), 2, 2);
    save(path("good.grid"));
    const std::vector<unsigned char> saved = fileBytes(path("good.grid"));
    const std::string bytes(saved.begin(), saved.end());
    const std::string bad[] = {
        "",                                               // empty
        "hello",                                          // wrong magic
        "!KELVO-FLUXERIA-T.VOSSEN-v1.6b" + bytes.substr(30),  // one letter off
        bytes.substr(0, 1000),                            // cut short
    };
    editor->reynolds()->setValue(321);
    int n = 0;
    for (const std::string& content : bad) {
        const std::string file = path(("bad" + std::to_string(n++) + ".grid").c_str());
        writeBytes(file, content);
        editor->messages.clear();
        load(file);
        ASSERT_EQ(editor->messages.size(), 1u) << file;
        EXPECT_EQ(editor->messages[0].first, "Not valid *.grid file!");
        EXPECT_EQ(editor->messages[0].second, "Not valid *.grid file! \n\n " + file);
        EXPECT_EQ(editor->editedGrid().flags[2][2], CELL_NOSLIP_WALL);
        EXPECT_EQ(editor->reynolds()->getValue(), 321);
    }
}

TEST_F(EditorFiles, AMissingFileCannotBeAccessed)
{
    load(path("missing.grid"));
    ASSERT_EQ(editor->messages.size(), 1u);
    EXPECT_EQ(editor->messages[0].first, "Cannot Access File!");
    EXPECT_EQ(editor->messages[0].second, "Cannot Access File! \n " + path("missing.grid"));
    EXPECT_EQ(editor->editedGrid().NX, 40);
}

TEST_F(EditorFiles, AFailedSaveIsReportedAndLeavesWhatStoodThere)
{
    const std::string blocked = path("taken.grid");
    ASSERT_EQ(mkdir(blocked.c_str(), 0755), 0);
    save(blocked);
    ASSERT_EQ(editor->messages.size(), 1u);
    EXPECT_EQ(editor->messages[0].first, "Cannot Access File!");
    EXPECT_EQ(editor->messages[0].second, "Cannot Access File! \n " + blocked);
    struct stat info;
    ASSERT_EQ(stat(blocked.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));

    editor->messages.clear();
    save(path("no/such/dir.grid"));
    EXPECT_EQ(editor->messages.size(), 1u);
}

// A file named on the command line: a grid is loaded and named in the
// title, which follows changes, Save As and New Grid; a picture is imported
// at the size the dialog proposes; a file that cannot be read is reported
// as Load reports it and the start-up grid stays.
TEST_F(EditorFiles, AFileNamedAtStartOpensAsLoadOrImportWould)
{
    const std::string program = "Kelvo -Fluxeria v1.0";
    const std::string example = std::string(KELVO_GRIDS_DIR) + "/step.grid";
    Grid expected;
    GridFileSettings settings;
    ASSERT_EQ(readGridFile(example, expected, settings), GridFileStatus::Ok);
    editor->openFile(example.c_str());
    settle();
    ASSERT_TRUE(editor->messages.empty());
    EXPECT_EQ(editor->editedGrid().NX, expected.NX);
    ASSERT_EQ(editor->editedGrid().NY, expected.NY);
    int differing = 0;
    for (int i = 0; i < expected.NX; ++i)
        for (int j = 0; j < expected.NY; ++j)
            differing += editor->editedGrid().flags[i][j] != expected.flags[i][j];
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(editor->getTitle().text(), "step.grid - " + program);
    paint(editor->noSlip(), 30, 10);
    settle();
    EXPECT_EQ(editor->getTitle().text(), "step.grid* - " + program);
    save(path("mine"));
    settle();
    EXPECT_EQ(editor->getTitle().text(), "mine.grid - " + program);
    runNewGrid(*editor, 30, 25, true);
    settle();
    EXPECT_EQ(editor->getTitle().text(), program);

    std::unique_ptr<TestEditor> pictured{openEditor()};
    pictured->openFile(KELVO_GRIDS_DIR "/cylinder.png");
    settle();
    EXPECT_TRUE(pictured->messages.empty());
    EXPECT_EQ(pictured->editedGrid().NX, pictured->proposedAcross);
    EXPECT_EQ(pictured->editedGrid().NY, pictured->proposedUp);
    EXPECT_EQ(pictured->editedGrid().NX, 60);
    EXPECT_EQ(pictured->getTitle().text(), "*" + program);  // no file yet

    writeBytes(path("bad.grid"), "hello");
    const struct {
        std::string file;
        std::string caption;
        std::string text;
    } refused[] = {
        {path("missing.grid"), "Cannot Access File!", "Cannot Access File! \n " + path("missing.grid")},
        {path("bad.grid"), "Not valid *.grid file!", "Not valid *.grid file! \n\n " + path("bad.grid")},
    };
    for (const auto& r : refused) {
        std::unique_ptr<TestEditor> fresh{openEditor()};
        fresh->openFile(r.file.c_str());
        settle();
        ASSERT_EQ(fresh->messages.size(), 1u) << r.file;
        EXPECT_EQ(fresh->messages[0].first, r.caption);
        EXPECT_EQ(fresh->messages[0].second, r.text);
        EXPECT_EQ(fresh->editedGrid().NX, 40);
        EXPECT_EQ(fresh->editedGrid().NY, 20);
        EXPECT_EQ(fresh->getTitle().text(), program);
    }
}

TEST_F(EditorFiles, CancelledDialogsDoNothing)
{
    editor->nextFile = "";
    editor->command(GridEditorWindow::ID_SAVE_GRID);
    editor->command(GridEditorWindow::ID_LOAD_GRID);
    EXPECT_EQ(editor->fileDialogs.size(), 2u);
    EXPECT_TRUE(editor->messages.empty());
    EXPECT_EQ(editor->editedGrid().NX, 40);
}

}  // namespace
