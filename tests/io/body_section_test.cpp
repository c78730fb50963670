// Exact outlines in grid files: the BODY payload, the section framing and
// version 4, which only a grid with outlines is written in.
#include "io/body_section.h"
#include "io/grid_file.h"
#include "io/grid_file_sections.h"
#include "io/grid_file_v2.h"
#include "io/little_endian.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using Bytes = std::vector<unsigned char>;

std::vector<BodyOutline> sampleOutlines()
{
    return {BodyOutline::circle(0.5, 0.25, 0.125), BodyOutline::polygon({{1.0, 0.1}, {1.5, 0.2}, {1.25, 0.75}})};
}

bool sameOutlines(const std::vector<BodyOutline>& a, const std::vector<BodyOutline>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t k = 0; k < a.size(); ++k) {
        if (a[k].shape != b[k].shape || a[k].centre.x != b[k].centre.x || a[k].centre.y != b[k].centre.y ||
            a[k].radius != b[k].radius || a[k].corners.size() != b[k].corners.size())
            return false;
        for (size_t c = 0; c < a[k].corners.size(); ++c)
            if (a[k].corners[c].x != b[k].corners[c].x || a[k].corners[c].y != b[k].corners[c].y)
                return false;
    }
    return true;
}

std::uint32_t versionOf(const Bytes& file)
{
    LittleEndianReader in(file.data() + grid_file_v2::magicLength);
    return in.u32();
}

Grid smallGrid()
{
    Grid g;
    makeFluidGrid(g, 40, 20);
    g.u[3][4] = 0.375;
    return g;
}

}  // namespace

TEST(BodySection, OutlinesRoundTripThroughVersionFour)
{
    Grid g = smallGrid();
    g.outlines = sampleOutlines();
    GridFileSettings settings;
    const Bytes file = encodeSavedGrid(g, settings);
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(versionOf(file), grid_file_v2::versionWithSections);
    Grid loaded;
    GridFileSettings read;
    ASSERT_EQ(decodeGridFile(file.data(), file.size(), loaded, read), GridFileStatus::Ok);
    EXPECT_TRUE(sameOutlines(loaded.outlines, g.outlines));
    EXPECT_EQ(loaded.u[3][4], 0.375);
    EXPECT_FALSE(read.startsFromStoredField);
}

TEST(BodySection, AGridWithoutOutlinesIsWrittenAsBefore)
{
    Grid g = smallGrid();
    GridFileSettings settings;
    settings.reynolds = 100.5;  // not classic
    const Bytes file = encodeSavedGrid(g, settings);
    EXPECT_EQ(versionOf(file), grid_file_v2::version);
    EXPECT_EQ(file.size(), grid_file_v2::headerLength + grid_file_v2::recordLength * 40 * 20);
    settings.startsFromStoredField = true;
    EXPECT_EQ(versionOf(encodeSavedGrid(g, settings)), grid_file_v2::versionWithInitialField);
}

TEST(BodySection, SectionsOfUnknownTagsAreSkippedAndOverlongOnesRefused)
{
    Grid g = smallGrid();
    g.outlines = sampleOutlines();
    Bytes file = encodeSavedGrid(g, GridFileSettings());
    const Bytes unknown = encodeGridSections({{{'X', 'Y', 'Z', 'W'}, {1, 2, 3}}});
    Bytes extended = file;
    extended.insert(extended.end(), unknown.begin(), unknown.end());
    Grid loaded;
    GridFileSettings read;
    ASSERT_EQ(decodeGridFile(extended.data(), extended.size(), loaded, read), GridFileStatus::Ok);
    EXPECT_TRUE(sameOutlines(loaded.outlines, g.outlines));

    Bytes cut(file.begin(), file.end() - 1);  // the BODY section runs past the end
    EXPECT_EQ(decodeGridFile(cut.data(), cut.size(), loaded, read), GridFileStatus::NotValid);
}

TEST(BodySection, MalformedPayloadsAreRefused)
{
    const Bytes good = encodeBodySection(sampleOutlines());
    std::vector<BodyOutline> outlines;
    ASSERT_TRUE(decodeBodySection(good.data(), good.size(), outlines));
    EXPECT_TRUE(sameOutlines(outlines, sampleOutlines()));

    auto withCircle = [](double x, double y, double r) {
        return encodeBodySection({BodyOutline::circle(x, y, r)});
    };
    Bytes trailing = good;
    trailing.push_back(0);
    Bytes unknownShape = withCircle(1, 1, 1);
    unknownShape[4] = 7;
    Bytes hugeCount = good;
    hugeCount[0] = hugeCount[1] = hugeCount[2] = hugeCount[3] = 0xff;
    Bytes hugeCorners = encodeBodySection({BodyOutline::polygon({{0, 0}, {1, 0}, {0, 1}})});
    hugeCorners[5] = hugeCorners[6] = hugeCorners[7] = hugeCorners[8] = 0xff;
    const Bytes bad[] = {
        Bytes(good.begin(), good.end() - 1),
        trailing,
        unknownShape,
        hugeCount,
        hugeCorners,
        withCircle(1, 1, 0),
        withCircle(std::numeric_limits<double>::quiet_NaN(), 1, 1),
        withCircle(1, std::numeric_limits<double>::infinity(), 1),
        encodeBodySection({BodyOutline::polygon({{0, 0}, {1, 0}})}),
        Bytes{1, 0},
    };
    int k = 0;
    for (const Bytes& b : bad) {
        outlines = sampleOutlines();
        EXPECT_FALSE(decodeBodySection(b.data(), b.size(), outlines)) << "case " << k++;
        EXPECT_EQ(outlines.size(), 2u);
    }
}
