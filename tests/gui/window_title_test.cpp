// The editor's title with and without a file, changed or not.
#include "gui/window_title.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowTitle, NamesTheFileBeforeTheProgramAndStarsChanges)
{
    const struct {
        const char* path;
        bool modified;
        const char* title;
    } cases[] = {
        {"", false, "Kelvo -Fluxeria v1.0"},
        {"", true, "*Kelvo -Fluxeria v1.0"},
        {"/home/ann/Grids/channel.grid", false, "channel.grid - Kelvo -Fluxeria v1.0"},
        {"/home/ann/Grids/channel.grid", true, "channel.grid* - Kelvo -Fluxeria v1.0"},
        {"step.grid", true, "step.grid* - Kelvo -Fluxeria v1.0"},
        {"/tmp/my.runs/lid", false, "lid - Kelvo -Fluxeria v1.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(editorWindowTitle("Kelvo -Fluxeria v1.0", c.path, c.modified), c.title) << c.path;
}

}  // namespace
