// Saving a grid over a name that is not a regular file: the save is
// refused and the thing behind the name is left alone.
#include "io/grid_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class GridSaveTarget : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvo_save_target_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        makeFluidGrid(grid, 20, 10);
    }
    void TearDown() override { fs::remove_all(dir); }

    size_t entries() const { return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {})); }

    fs::path dir;
    Grid grid;
    GridFileSettings settings;
};

TEST_F(GridSaveTarget, AFifoIsRefusedAndStaysAFifo)
{
    const fs::path fifo = dir / "pipe.grid";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(saveGridFile(fifo.string(), grid, settings));
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(entries(), 1u);  // no temporary left behind
}

TEST_F(GridSaveTarget, ADirectoryIsRefusedAndKeepsItsContents)
{
    const fs::path sub = dir / "sub.grid";
    fs::create_directory(sub);
    std::ofstream(sub / "inside") << "kept";
    EXPECT_FALSE(saveGridFile(sub.string(), grid, settings));
    EXPECT_TRUE(fs::is_directory(sub));
    EXPECT_TRUE(fs::exists(sub / "inside"));
    EXPECT_EQ(entries(), 1u);
}

TEST_F(GridSaveTarget, ARegularFileIsStillReplaced)
{
    const fs::path file = dir / "old.grid";
    std::ofstream(file) << "old contents";
    ASSERT_TRUE(saveGridFile(file.string(), grid, settings));
    Grid loaded;
    GridFileSettings read;
    ASSERT_EQ(readGridFile(file.string(), loaded, read), GridFileStatus::Ok);
    EXPECT_EQ(loaded.NX, 20);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(GridSaveTarget, ALinkIsKeptAndTheFileItLeadsToIsReplaced)
{
    // Regression: the temporary was renamed over the link itself, so the
    // linked file kept its old contents and the link was gone.
    fs::create_directory(dir / "store");
    const fs::path file = dir / "store" / "real.grid";
    std::ofstream(file) << "old contents";
    const fs::path link = dir / "link.grid";
    fs::create_symlink(file, link);
    ASSERT_TRUE(saveGridFile(link.string(), grid, settings));
    EXPECT_TRUE(fs::is_symlink(link));
    Grid loaded;
    GridFileSettings read;
    ASSERT_EQ(readGridFile(file.string(), loaded, read), GridFileStatus::Ok);
    EXPECT_EQ(loaded.NX, 20);
    EXPECT_EQ(static_cast<size_t>(std::distance(fs::directory_iterator(dir / "store"), {})), 1u);
}

}  // namespace
