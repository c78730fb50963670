// The files a run in the simulation window writes, byte for byte those of
// kelvo-batch for the same grid, settings and number of cycles: the frames
// (PPM, AVI, VTK) and the measurement history, while the cycles run on the
// window's worker thread.
#include "io/grid_file.h"
#include "probed_window.h"
#include "window_test.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string fileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One way of saving, set up alike in the window and on kelvo-batch's
// command line; the files compared are those under folder.
struct SavingCase {
    const char* name;
    int method;              // CalculateWindow::SaveMethod
    int interval;
    int viewItem;            // the View list's entry: 0 designed colours, 2 vorticity
    bool vectors;
    const char* batchArguments;
    const char* folder;      // where the files land, relative to the run's folder
};

const SavingCase cases[] = {
    {"ppm", CalculateWindow::SAVE_PPM, 1, 0, false, "--ppm=frames", "frames"},
    {"ppm, vorticity, vectors, every 2nd", CalculateWindow::SAVE_PPM, 2, 2, true,
     "--ppm=frames --interval 2 --colour-map vorticity --elements boundary,streamlines,vectors", "frames"},
    {"vtk", CalculateWindow::SAVE_VTK, 1, 0, false, "--vtk vtk", "vtk"},
    {"avi", CalculateWindow::SAVE_AVI, 1, 0, false, "--avi movie --codec raw", "."},
};

class WindowBatchFilesTest : public testing::TestWithParam<SavingCase> {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvo_window_batch_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
        GridFileSettings raw;
        ASSERT_EQ(readGridFile(std::string(KELVO_GRIDS_DIR) + "/channel.grid", grid, raw), GridFileStatus::Ok);
        file = editorSettings(raw);
        writeDefaultVelocities(grid, file.defaultU, file.defaultV);
    }
    void TearDown() override { fs::remove_all(directory); }

    // The window's run in window/: started, left to run until it has taken
    // some frames, paused; the history exported; then stopped and closed.
    // Returns the cycles it took.
    int32_t runInWindow(const SavingCase& c)
    {
        const fs::path folder = directory / "window";
        fs::create_directories(folder);
        const fs::path previous = fs::current_path();
        fs::current_path(folder);
        SolverSettings settings;
        settings.reynolds = reynolds;
        settings.dt = timeStep;
        auto window = std::make_unique<ProbedWindow>(testOwner(), &grid, settings);
        window->create();
        window->show(PLACEMENT_OWNER);
        window->send(CalculateWindow::ID_MEASURE);
        window->choose(c.method == CalculateWindow::SAVE_PPM   ? window->savePpm
                       : c.method == CalculateWindow::SAVE_VTK ? window->saveVtk
                                                               : window->saveAvi);
        window->aviAnswer = "movie";
        window->intervalSpinner->setValue(c.interval);
        window->showVectors->setCheck(c.vectors ? TRUE : FALSE);
        window->viewList->setCurrentItem(c.viewItem);
        window->send(CalculateWindow::ID_VIEW);
        window->send(CalculateWindow::ID_START);
        EXPECT_TRUE(runUntil([&] { return window->frames() >= 6; }, 60.0));
        window->send(CalculateWindow::ID_PAUSE);
        EXPECT_TRUE(window->waitParked());
        const int32_t cycles = window->cycles();
        EXPECT_TRUE(window->measureLog->exportHistory("history.csv"));
        window->send(CalculateWindow::ID_STOP);
        EXPECT_TRUE(window->waitParked());
        window.reset();
        fs::current_path(previous);
        return cycles;
    }

    // kelvo-batch's run of as many cycles in batch/.
    void runInBatch(const SavingCase& c, int32_t cycles)
    {
        const fs::path folder = directory / "batch";
        fs::create_directories(folder);
        const std::string command = "cd '" + folder.string() + "' && '" KELVO_BATCH_EXE "' '" KELVO_GRIDS_DIR
                                    "/channel.grid' --steps " + std::to_string(cycles) +
                                    " --re " + std::to_string(reynolds) + " --dt 0.003 --convection rk3"
                                    " --pressure multigrid --default-u " + std::to_string(file.defaultU) +
                                    " --default-v " + std::to_string(file.defaultV) +
                                    " --history history.csv " + c.batchArguments + " > batch.log 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << fileBytes(folder / "batch.log");
    }

    static constexpr int reynolds = 100;
    static constexpr double timeStep = 0.003;
    fs::path directory;
    Grid grid;
    GridFileSettings file;
};

}  // namespace

TEST_P(WindowBatchFilesTest, FramesAndHistoryEqualKelvoBatchs)
{
    const SavingCase& c = GetParam();
    const int32_t cycles = runInWindow(c);
    ASSERT_GT(cycles, 0);
    runInBatch(c, cycles);
    const fs::path windowFiles = directory / "window" / c.folder;
    const fs::path batchFiles = directory / "batch" / c.folder;
    int compared = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(batchFiles)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name == "batch.log" || name == "history.csv")
            continue;
        ASSERT_TRUE(fs::exists(windowFiles / name)) << name;
        EXPECT_TRUE(fileBytes(entry.path()) == fileBytes(windowFiles / name)) << name;
        ++compared;
    }
    int windowCount = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(windowFiles))
        windowCount += entry.is_regular_file() && entry.path().filename() != "history.csv";
    EXPECT_EQ(windowCount, compared) << "the window wrote files kelvo-batch did not";
    EXPECT_GE(compared, 1);
    EXPECT_TRUE(fileBytes(directory / "window" / "history.csv") == fileBytes(directory / "batch" / "history.csv"));
}

INSTANTIATE_TEST_SUITE_P(SavingMethods, WindowBatchFilesTest, testing::ValuesIn(cases),
                         [](const testing::TestParamInfo<SavingCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 if (std::isalnum(static_cast<unsigned char>(*p)))
                                     name += *p;
                             return name;
                         });
