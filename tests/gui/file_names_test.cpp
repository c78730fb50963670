// The extension a save dialog adds to a typed name.
#include "gui/file_names.h"

#include <gtest/gtest.h>

namespace {

TEST(FileNames, AnExtensionIsAddedOnlyToANameWithoutOne)
{
    const struct {
        const char* typed;
        const char* extension;
        const char* saved;
    } cases[] = {
        {"channel", ".grid", "channel.grid"},
        {"channel.grid", ".grid", "channel.grid"},
        {"channel.dat", ".grid", "channel.dat"},
        {"/tmp/my.runs/channel", ".grid", "/tmp/my.runs/channel.grid"},
        {"/tmp/runs/.hidden", ".csv", "/tmp/runs/.hidden.csv"},
        {"history.", ".csv", "history.csv"},
        {"shot", ".png", "shot.png"},
        {"/tmp/runs/", ".csv", "/tmp/runs/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withDefaultExtension(c.typed, c.extension), c.saved) << c.typed;
}

}  // namespace
