// The particle options of kelvo-batch: emitters as written on the command
// line, refused values, and the emitters a run gets from them.
#include "cli/batch_options.h"
#include "sim/particle_options.h"
#include "core/inflow_emitters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool parse(const std::vector<std::string>& args, BatchOptions& o, std::string& error)
{
    std::vector<const char*> argv = {"kelvo-batch", "grid.grid"};
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    return parseBatchOptions(static_cast<int>(argv.size()), argv.data(), o, error);
}

TEST(ParticleOptions, EmittersTimelinesAndTheRestParse)
{
    BatchOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--emitter", "0.5,0.25", "--emitter", "1,0.1,1,0.9:12", "--timeline", "0.2,0.1,0.2,0.9",
                       "--emitter", "0.3,0.3:0", "--release-from-inflow", "4", "--particle-cap", "250",
                       "--particles-csv", "out", "--elements", "boundary,streaks"},
                      o, error))
        << error;
    const Emitters expected = {Emitter{0.5, 0.25, 0.5, 0.25, 5, 0}, Emitter{1, 0.1, 1, 0.9, 12, 0},
                               Emitter{0.2, 0.1, 0.2, 0.9, 0, 0}, Emitter{0.3, 0.3, 0.3, 0.3, 0, 0}};
    EXPECT_EQ(o.particles.emitters, expected);
    EXPECT_EQ(o.particles.inflowEvery, 4);
    EXPECT_EQ(o.particles.cap, 250u);
    EXPECT_EQ(o.particles.csvDirectory, "out");
    EXPECT_TRUE(o.writesFrames());
    EXPECT_TRUE(o.elements.particles && o.elements.particleStreaks && o.elements.boundaryCells);

    BatchOptions plain;
    ASSERT_TRUE(parse({}, plain, error));
    EXPECT_TRUE(plain.particles.emitters.empty());
    EXPECT_EQ(plain.particles.cap, 100000u);
    EXPECT_FALSE(plain.elements.particles);
}

TEST(ParticleOptions, BadValuesAreRefusedWithTheirOption)
{
    const std::vector<std::vector<std::string>> refused = {
        {"--emitter", "0.5"},           {"--emitter", "0.5,0.5,0.7"},      {"--emitter", "0.5,x"},
        {"--emitter", "0.5,0.5:"},      {"--emitter", "0.5,0.5:-1"},       {"--emitter", "0.5,0.5:2.5"},
        {"--emitter", "nan,0.5"},       {"--emitter", "0.5,0.5,"},         {"--timeline", "0.5,0.5"},
        {"--timeline", "0,0,1,1:3"},    {"--release-from-inflow", "0"},    {"--particle-cap", "-1"},
        {"--particle-cap", "1e5"},      {"--particles-csv", ""},           {"--elements", "particle"},
    };
    for (const auto& args : refused) {
        BatchOptions o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error)) << args[0] << " " << args[1];
        EXPECT_NE(error.find(args[0]), std::string::npos) << error;
    }
}

// A channel 2 x 1: inflow on the west edge in two runs (j = 1..3 and
// 6..8, a wall cell between), and one on the south edge (i = 4..5).
TEST(ParticleOptions, ReleaseFromInflowPutsAnEmitterAlongEachRunAfterTheGivenOnes)
{
    Grid g;
    makeFluidGrid(g, 20, 10);
    for (int32_t j : {1, 2, 3, 6, 7, 8})
        g.setCell(0, j, CELL_INFLOW);
    g.setCell(0, 4, CELL_NOSLIP_WALL);
    for (int32_t i : {4, 5})
        g.setCell(i, 0, CELL_INFLOW);
    g.emitters = {Emitter{0.5, 0.5, 0.5, 0.5, 5, 0}};
    ParticleOptions o;
    o.emitters = {Emitter{1.0, 0.5, 1.0, 0.5, 2, 0}};
    o.inflowEvery = 3;
    addOptionEmitters(o, g);
    const double h = 0.1;  // the cells are 0.1 square
    ASSERT_EQ(g.emitters.size(), 5u);
    EXPECT_EQ(g.emitters[1].colour, 1);
    const Emitter west1{1.1 * h, 1.5 * h, 1.1 * h, 3.5 * h, 3, 2};
    const Emitter west2{1.1 * h, 6.5 * h, 1.1 * h, 8.5 * h, 3, 3};
    const Emitter south{4.5 * h, 1.1 * h, 5.5 * h, 1.1 * h, 3, 4};
    for (const auto& [found, wanted] : {std::pair{g.emitters[2], west1}, {g.emitters[3], west2},
                                        {g.emitters[4], south}}) {
        EXPECT_NEAR(found.x1, wanted.x1, 1e-15);
        EXPECT_NEAR(found.y1, wanted.y1, 1e-15);
        EXPECT_NEAR(found.x2, wanted.x2, 1e-15);
        EXPECT_NEAR(found.y2, wanted.y2, 1e-15);
        EXPECT_EQ(found.every, 3);
        EXPECT_EQ(found.colour, wanted.colour);
        EXPECT_EQ(releaseCount(found, h), found.y1 == found.y2 ? 2 : 3);
    }
}

}  // namespace
