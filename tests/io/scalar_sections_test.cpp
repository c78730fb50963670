// Heat and dye in files: the tagged-section framing, version-4 grid files
// and version-3 state files, and the refusals of broken ones.
#include "io/grid_file_sections.h"
#include "io/grid_file_v2.h"
#include "io/scalar_sections.h"
#include "io/state_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// A walled 6 x 5 grid with a hot west wall, a cold east one and dye in one cell.
Grid heatedGrid()
{
    Grid g;
    makeFluidGrid(g, 6, 5);
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 5; ++j)
            if (g.onBorder(i, j))
                g.setCell(i, j, CELL_NOSLIP_WALL);
    enableHeat(g.scalars, 6, 5);
    g.scalars.heatSettings = HeatSettings{7.0, 2.5e4, Gravity::West};
    for (int j = 0; j < 5; ++j) {
        g.scalars.fixedTemperature[0][j] = g.scalars.fixedTemperature[5][j] = 1;
        g.scalars.T[0][j] = 30.5;
        g.scalars.T[5][j] = -2.25;
    }
    g.scalars.T[2][2] = 1.0 / 3.0;
    enableDye(g.scalars, 6, 5);
    g.scalars.dyeSettings = DyeSettings{500.0, 3};
    g.scalars.c[3][2] = 0.75;
    return g;
}

void expectSameScalars(const GridScalars& a, const GridScalars& b, int NX, int NY)
{
    ASSERT_EQ(a.heat, b.heat);
    ASSERT_EQ(a.dye, b.dye);
    EXPECT_EQ(a.heatSettings.prandtl, b.heatSettings.prandtl);
    EXPECT_EQ(a.heatSettings.rayleigh, b.heatSettings.rayleigh);
    EXPECT_EQ(a.heatSettings.gravity, b.heatSettings.gravity);
    EXPECT_EQ(a.dyeSettings.schmidt, b.dyeSettings.schmidt);
    EXPECT_EQ(a.dyeSettings.bandWidth, b.dyeSettings.bandWidth);
    for (int i = 0; i < NX; ++i)
        for (int j = 0; j < NY; ++j) {
            EXPECT_EQ(a.fixedTemperature[i][j], b.fixedTemperature[i][j]);
            EXPECT_EQ(a.T[i][j], b.T[i][j]);
            EXPECT_EQ(a.c[i][j], b.c[i][j]);
        }
}

// The version field after a file's magic text.
uint32_t versionAt(const Bytes& bytes, size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24;
}
uint32_t versionOf(const Bytes& bytes) { return versionAt(bytes, grid_file_v2::magicLength); }

}  // namespace

TEST(GridSections, FramingRoundTripsAndRefusesRunawayLengths)
{
    const std::vector<GridSection> sections = {{{'A', 'B', 'C', 'D'}, {1, 2, 3}}, {{'E', 'M', 'P', 'T'}, {}}};
    const Bytes bytes = encodeGridSections(sections);
    ASSERT_EQ(bytes.size(), 8u + 3u + 8u);
    EXPECT_EQ(std::memcmp(bytes.data(), "ABCD\x03\0\0\0", 8), 0);
    std::vector<GridSection> back;
    ASSERT_TRUE(decodeGridSections(bytes.data(), bytes.size(), back));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].bytes, sections[0].bytes);
    EXPECT_NE(findGridSection(back, "EMPT"), nullptr);
    EXPECT_EQ(findGridSection(back, "HEAT"), nullptr);
    for (size_t cut : {size_t(4), size_t(10), bytes.size() - 1})
        EXPECT_FALSE(decodeGridSections(bytes.data(), cut, back)) << cut;
}

TEST(GridSections, VersionFourCarriesHeatAndDyeAndSkipsUnknownTags)
{
    const Grid g = heatedGrid();
    GridFileSettings settings;
    settings.reynolds = 12.5;
    Bytes bytes = encodeGridFileV2(g, settings);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(versionOf(bytes), grid_file_v2::versionWithSections);
    EXPECT_FALSE(gridFitsClassicFile(g, settings));
    const Bytes unknown = encodeGridSections({{{'Z', 'Z', 'Z', 'Z'}, {9, 9}}});
    bytes.insert(bytes.end(), unknown.begin(), unknown.end());
    Grid back;
    GridFileSettings backSettings;
    ASSERT_EQ(decodeGridFileV2(bytes.data(), bytes.size(), back, backSettings), GridFileStatus::Ok);
    EXPECT_FALSE(backSettings.startsFromStoredField);
    expectSameScalars(g.scalars, back.scalars, 6, 5);

    // Without heat or dye the same grid goes back to version 2.
    Grid plain = heatedGrid();
    plain.scalars.release();
    EXPECT_EQ(versionOf(encodeGridFileV2(plain, settings)), grid_file_v2::version);
}

TEST(GridSections, MalformedHeatOrDyeIsRefused)
{
    const Grid g = heatedGrid();
    const Bytes heat = encodeHeatSection(g.scalars, 6, 5);
    const Bytes dye = encodeDyeSection(g.scalars, 6, 5);
    struct Case {
        const char* what;
        bool isHeat;
        size_t at;  // the byte to change, or the length to cut to
        int value;  // the new byte; -1 cuts
    };
    const Case cases[] = {
        {"negative Prandtl number", true, 7, 0xC0},  // 7.0 -> -7.0
        {"gravity code 4", true, 16, 4},
        {"fixed flag 2", true, 17, 2},
        {"heat payload short", true, heat.size() - 1, -1},
        {"dye above 1", false, 12 + 7, 0x40},        // the first c, 0.0 -> 2.0
        {"dye payload short", false, dye.size() - 1, -1},
    };
    for (const Case& c : cases) {
        Bytes b = c.isHeat ? heat : dye;
        if (c.value < 0)
            b.resize(c.at);
        else
            b[c.at] = static_cast<unsigned char>(c.value);
        GridScalars s;
        const bool ok = c.isHeat ? decodeHeatSection(b.data(), b.size(), 6, 5, s)
                                 : decodeDyeSection(b.data(), b.size(), 6, 5, s);
        EXPECT_FALSE(ok) << c.what;
        EXPECT_FALSE(s.heat || s.dye) << c.what;
    }
}

TEST(GridSections, StateFilesCarryTheRunsTemperatureAndDye)
{
    RunState s;
    s.settings.reynolds = 40.0;
    const Grid g = heatedGrid();
    for (Grid* target : {static_cast<Grid*>(&s.edited), static_cast<Grid*>(&s.fields)}) {
        makeFluidGrid(*target, 6, 5);
        target->flags.copyFrom(g.flags);
    }
    for (Array2D<double>* a : {&s.fields.F, &s.fields.G, &s.fields.pPrev, &s.fields.dp})
        a->allocate(6, 5);
    copyScalars(g.scalars, s.fields.scalars);
    const Bytes bytes = encodeRunState(s);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(versionAt(bytes, state_file::magicLength), state_file::stateVersion);
    RunState back;
    ASSERT_EQ(decodeRunState(bytes.data(), bytes.size(), back), StateFileStatus::Ok);
    expectSameScalars(s.fields.scalars, back.fields.scalars, 6, 5);

    // A run without them still writes version 2, byte for byte as before.
    s.fields.scalars.release();
    const Bytes plain = encodeRunState(s);
    EXPECT_EQ(versionAt(plain, state_file::magicLength), state_file::versionWithoutSections);
    EXPECT_EQ(plain.size(), state_file::headerLength + statePayloadLength(6, 5, 2));
}
