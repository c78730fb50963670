#include "gui/grid_directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

class GridDirectory : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("kelvo_grid_dir_" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "installed");
    }
    void TearDown() override { fs::remove_all(root); }
    fs::path root;
};

TEST_F(GridDirectory, WorkingGridsFolderWinsForBothDialogs)
{
    fs::create_directories(root / "Grids");
    const std::string preferred = (root / "Grids").string();
    const std::string installed = (root / "installed").string();
    EXPECT_EQ(gridDialogDirectory(GridDirectoryUse::Load, preferred, installed), preferred);
    EXPECT_EQ(gridDialogDirectory(GridDirectoryUse::Save, preferred, installed), preferred);
}

TEST_F(GridDirectory, WithoutGridsLoadOpensTheInstalledExamplesAndSaveTheWorkingDirectory)
{
    const std::string preferred = (root / "Grids").string();
    const std::string installed = (root / "installed").string();
    EXPECT_EQ(gridDialogDirectory(GridDirectoryUse::Load, preferred, installed), installed);
    EXPECT_EQ(gridDialogDirectory(GridDirectoryUse::Save, preferred, installed), ".");
}

TEST_F(GridDirectory, NothingInstalledKeepsTheUsualFolder)
{
    const std::string preferred = (root / "Grids").string();
    EXPECT_EQ(gridDialogDirectory(GridDirectoryUse::Load, preferred, ""), preferred);
    EXPECT_EQ(gridDialogDirectory(GridDirectoryUse::Load, preferred, (root / "missing").string()), preferred);
}

TEST(InstalledGrids, FoundBesideTheProgramWhateverThePrefix)
{
    const std::string folder = installedGridsFolder("../share/kelvo/Grids");
    ASSERT_FALSE(folder.empty());
    const fs::path program = fs::read_symlink("/proc/self/exe");
    EXPECT_EQ(fs::path(folder), (program.parent_path().parent_path() / "share" / "kelvo" / "Grids"));
}
