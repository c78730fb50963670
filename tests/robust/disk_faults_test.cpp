// A disk that fills up under the program: saving a grid, a PPM run and an
// AVI run. The user is told, an old grid file survives byte for byte, the
// run returns to Idle with its file closed, and nothing crashes.
#include "io/avi_messages.h"
#include "io/avi_writer.h"
#include "robust_support.h"
#include "test_editor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

constexpr double patience = 60.0;

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The names in a directory, fillers left out.
std::vector<std::string> entriesOf(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string().rfind("filler", 0) != 0)
            names.push_back(entry.path().filename().string());
    return names;
}

class DiskFaultTest : public testing::Test {
protected:
    void SetUp() override
    {
        editor.reset(editorWithGrid(exampleGrid("channel.grid"), "0.003"));
        ASSERT_TRUE(editor);
    }
    // A window on the editor's grid, working in dir.
    void openWindow()
    {
        double reynolds = 0;
        double timeStep = 0.0;
        ASSERT_TRUE(calculateArguments(*editor, reynolds, timeStep));
        window = std::make_unique<RobustWindow>(editor.get(), &editor->editedGrid(), reynolds, timeStep);
        window->create();
        window->show(PLACEMENT_OWNER);
        settle(0.05);
    }
    void TearDown() override
    {
        window.reset();
        editor.reset();
        fs::current_path(scratch.path());
    }

    ScratchDirectory scratch;
    std::unique_ptr<TestEditor> editor;
    std::unique_ptr<RobustWindow> window;
};

TEST_F(DiskFaultTest, SaveOnAFullDiskIsReportedAndKeepsTheOldFile)
{
    SmallDisk disk(scratch.path() + "/disk", 64);
    const std::string target = scratch.path() + "/disk/old.grid";
    // Under the file-size limit a file no larger than the cavity still fits.
    const std::string old = readBytes(exampleGrid("cavity.grid"));
    std::ofstream(target, std::ios::binary) << old;
    ASSERT_EQ(readBytes(target), old);
    disk.fill();

    editor->nextFile = target.c_str();
    editor->command(GridEditorWindow::ID_SAVE_GRID);
    ASSERT_EQ(editor->messages.size(), 1u);
    EXPECT_EQ(editor->messages[0].first, "Cannot Access File!");
    EXPECT_NE(editor->messages[0].second.find(target), std::string::npos);
    EXPECT_EQ(readBytes(target), old);
    EXPECT_EQ(entriesOf(scratch.path() + "/disk"), std::vector<std::string>{"old.grid"});
}

TEST_F(DiskFaultTest, SaveOverAFifoIsReportedAndLeavesTheFifo)
{
    // Regression: the save renamed its temporary over whatever the name
    // held, so a FIFO or a device (/dev/full) became a regular file.
    const std::string fifo = scratch.path() + "/pipe.grid";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    editor->nextFile = fifo.c_str();
    editor->command(GridEditorWindow::ID_SAVE_GRID);
    ASSERT_EQ(editor->messages.size(), 1u);
    EXPECT_EQ(editor->messages[0].first, "Cannot Access File!");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(entriesOf(scratch.path()), std::vector<std::string>{"pipe.grid"});
}

TEST_F(DiskFaultTest, PpmRunOnAFillingDiskStopsWithOneMessage)
{
    // Room for a few frames of 160 x 80 (about 110 KB each), or without a
    // mount a limit below one frame.
    SmallDisk disk(scratch.path() + "/disk", 400, 60);
    fs::current_path(scratch.path() + "/disk");
    openWindow();
    window->choose(window->savePpm);
    window->send(CalculateWindow::ID_START);
    ASSERT_TRUE(runUntil([&] { return !window->pendingCycle; }, patience));
    settle(0.1);
    EXPECT_TRUE(window->isIdle());
    EXPECT_EQ(window->cycles(), 0);
    ASSERT_EQ(window->failures.size(), 1u);
    const std::string failed = window->failures[0];
    EXPECT_EQ(failed.rfind("frames/frame_000", 0), 0u) << failed;
    // The frames before the failing one are whole.
    std::string why;
    if (disk.mounted()) {
        EXPECT_TRUE(isWellFormedPpm("frames/frame_00000.ppm", 160, 80, why)) << why;
    }
    // The frame that did not fit is not left behind cut off.
    EXPECT_FALSE(fs::exists(failed));

    // With room again, a new run writes from frame 0 on.
    fs::remove_all("frames");
    disk.lift();
    ASSERT_TRUE(window->runCycles(2, patience));
    window->send(CalculateWindow::ID_STOP);
    EXPECT_TRUE(window->isIdle());
    EXPECT_EQ(window->failures.size(), 1u);
    EXPECT_TRUE(isWellFormedPpm("frames/frame_00001.ppm", 160, 80, why)) << why;
}

TEST_F(DiskFaultTest, AviOpenOnAFullDiskFailsWithItsMessage)
{
    SmallDisk disk(scratch.path() + "/disk", 64);
    disk.fill();
    fs::current_path(scratch.path() + "/disk");
    openWindow();
    window->choose(window->saveAvi);
    window->aviAnswer = "full.avi";
    window->send(CalculateWindow::ID_START);
    settle(0.1);
    EXPECT_TRUE(window->isIdle());
    EXPECT_FALSE(window->avi().isOpen);
    ASSERT_FALSE(window->aviMessages.empty());
    EXPECT_EQ(window->aviMessages.back().second, avi_messages::openFailedText);
    EXPECT_EQ(window->cycles(), 0);
}

TEST_F(DiskFaultTest, AviRunOnAFillingDiskStopsAndClosesTheFile)
{
    // The title sequence fits (77 frames of 38 KB), a few hundred frames not.
    SmallDisk disk(scratch.path() + "/disk", 6 * 1024);
    fs::current_path(scratch.path() + "/disk");
    openWindow();
    window->choose(window->saveAvi);
    window->aviAnswer = "filling.avi";
    window->send(CalculateWindow::ID_START);
    ASSERT_TRUE(window->aviMessages.empty()) << window->aviMessages[0].second;
    ASSERT_TRUE(runUntil([&] { return !window->pendingCycle; }, patience));
    settle(0.1);
    EXPECT_TRUE(window->isIdle());
    EXPECT_FALSE(window->avi().isOpen);
    ASSERT_EQ(window->aviMessages.size(), 1u);
    EXPECT_EQ(window->aviMessages[0].second, std::string(avi_messages::incompleteText) + "filling.avi");
    EXPECT_TRUE(window->failures.empty());
    EXPECT_TRUE(fs::exists("filling.avi"));
    // Whatever the full disk let through is readable: at least the title.
    std::string probe;
    EXPECT_GE(aviVideoFrames("filling.avi", probe), 77) << probe;
}

}  // namespace
