// The table of cell types: every row distinct where it must be, every row
// through the grid file and back, every tool label in both text tables.
#include "core/cell_types.h"
#include "gui/ui_text.h"
#include "io/grid_file.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(CellTypeTable, RowsAreDistinctAndFindable)
{
    std::set<int32_t> bits;
    std::set<int> fileBytes;
    int32_t allBits = 0;
    for (const CellTypeInfo& type : cellTypes()) {
        SCOPED_TRACE(type.name);
        // One bit each, among the type bits, none shared.
        EXPECT_EQ(type.bits & (type.bits - 1), 0);
        EXPECT_EQ(type.bits & ~CELL_TYPE_MASK, 0);
        EXPECT_TRUE(bits.insert(type.bits).second);
        EXPECT_TRUE(fileBytes.insert(type.fileByte).second);
        allBits |= type.bits;
        EXPECT_EQ(cellTypeByBits(type.bits), &type);
        EXPECT_EQ(cellTypeOfWord(type.bits | DIR_SOUTH), &type);
        // A direction chosen by the tools comes with its unit velocity.
        if (type.direction == CellDirection::Chosen) {
            EXPECT_TRUE(type.takesVelocity);
        }
    }
    EXPECT_EQ(allBits, CELL_TYPE_MASK);
    EXPECT_EQ(cellTypeOfWord(0), nullptr);
    EXPECT_EQ(cellTypeOfWord(CELL_FLUID | CELL_INFLOW), nullptr);
    EXPECT_EQ(cellTypeByBits(DIR_EAST), nullptr);
}

TEST(CellTypeTable, EveryTypeSurvivesTheGridFile)
{
    Grid g;
    makeFluidGrid(g, 8, 8);
    int32_t j = 0;
    for (const CellTypeInfo& type : cellTypes()) {
        g.flags[3][j] = type.bits;
        g.flags[4][j] = type.bits | DIR_WEST;
        ++j;
    }
    const std::vector<unsigned char> bytes = encodeGridFile(g, GridFileSettings());
    Grid back;
    GridFileSettings settings;
    ASSERT_EQ(decodeGridFile(bytes.data(), bytes.size(), back, settings), GridFileStatus::Ok);
    j = 0;
    for (const CellTypeInfo& type : cellTypes()) {
        SCOPED_TRACE(type.name);
        // Record (i, j) starts after the header at 3 * (i * NY + j).
        EXPECT_EQ(bytes[grid_file::headerLength + 3 * (3 * 8 + j)], type.fileByte);
        EXPECT_EQ(back.flags[3][j], type.bits);
        EXPECT_EQ(back.flags[4][j], type.bits | DIR_WEST);
        EXPECT_EQ(wordOfFileByte(fileByteOfWord(type.bits | DIR_NORTH)), type.bits);
        ++j;
    }
}

TEST(CellTypeTable, ToolTextsAndColoursAreComplete)
{
    int tools = 0;
    for (const CellTypeInfo& type : cellTypes()) {
        SCOPED_TRACE(type.name);
        const CellCanvasColour& c = type.canvasColour;
        for (float channel : {c.r, c.g, c.b}) {
            EXPECT_GE(channel, 0.0f);
            EXPECT_LE(channel, 1.0f);
        }
        // Only walls, inflow and outflow stand out in the picture.
        EXPECT_EQ(type.inPicture, type.bits != CELL_FLUID);
        if (type.inPicture) {
            const CellPictureColour& p = pictureColourOf(type.bits);
            EXPECT_EQ(&p, &type.pictureColour);
        }
        if (type.toolTextKey == noTextKey) {
            EXPECT_EQ(type.toolTipKey, noTextKey);
            continue;
        }
        ++tools;
        for (int key : {type.toolTextKey, type.toolTipKey}) {
            EXPECT_NE(uiTextEnglish(key), nullptr) << key;
            EXPECT_NE(uiTextPolish(key), nullptr) << key;
        }
    }
    EXPECT_EQ(tools, 5);
    EXPECT_EQ(cellTypeByBits(CELL_MOVING_WALL)->toolTextKey, TXT_MOVE_BOUNDARY);
    EXPECT_EQ(cellTypeByBits(CELL_OUTFLOW)->toolTipKey, TXT_OUTFLOW_TIP);
}

}  // namespace
