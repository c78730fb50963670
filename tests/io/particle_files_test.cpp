// Emitters and particles in files: the EMIT and PART payloads, version-4
// grid files and version-3 state files that carry them, files without them
// left exactly as before, and the particle CSV.
#include "io/emitter_section.h"
#include "io/grid_file.h"
#include "io/grid_file_sections.h"
#include "io/grid_file_v2.h"
#include "io/particle_csv.h"
#include "io/particle_section.h"
#include "io/state_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

const Emitters sampleEmitters = {Emitter{0.25, 0.5, 0.25, 0.5, 5, 0}, Emitter{0.1, 0.2, 0.1, 0.8, 0, 3},
                                 Emitter{1.0 / 3.0, -0.0, 1e-300, 2.5, 1000000, 7}};

ParticleState sampleParticles()
{
    ParticleState s;
    s.steps = 12345;
    s.nextSerial = 900;
    s.particles = {Particle{0.125, 0.75, 3, 0, 0}, Particle{1.0 / 7.0, 0.5, 17, -1, 4},
                   Particle{2.0, std::nextafter(1.0, 2.0), 899, 2, 7}};
    return s;
}

void putU32(Bytes& b, size_t at, uint32_t value)
{
    for (int k = 0; k < 4; ++k)
        b[at + k] = static_cast<unsigned char>(value >> (8 * k));
}

void putF64(Bytes& b, size_t at, double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    for (int k = 0; k < 8; ++k)
        b[at + k] = static_cast<unsigned char>(bits >> (8 * k));
}

TEST(ParticleFiles, EmitterAndParticlePayloadsRoundTripAndRefuseDamage)
{
    const Bytes emitters = encodeEmitterSection(sampleEmitters);
    ASSERT_EQ(emitters.size(), 4 + 40 * sampleEmitters.size());
    Emitters emittersBack;
    ASSERT_TRUE(decodeEmitterSection(emitters.data(), emitters.size(), emittersBack));
    EXPECT_EQ(emittersBack, sampleEmitters);

    const Bytes particles = encodeParticleSection(sampleParticles());
    ParticleState particlesBack;
    ASSERT_TRUE(decodeParticleSection(particles.data(), particles.size(), particlesBack));
    EXPECT_EQ(particlesBack.particles, sampleParticles().particles);
    EXPECT_EQ(particlesBack.steps, 12345);
    EXPECT_EQ(particlesBack.nextSerial, 900u);

    struct Damage {
        const char* what;
        bool emitterPayload;
        std::function<void(Bytes&)> apply;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Damage damages[] = {
        {"emitter count too high", true, [](Bytes& b) { putU32(b, 0, 4); }},
        {"emitter cut short", true, [](Bytes& b) { b.pop_back(); }},
        {"emitter byte after", true, [](Bytes& b) { b.push_back(0); }},
        {"emitter coordinate not finite", true, [nan](Bytes& b) { putF64(b, 4 + 40 + 16, nan); }},
        {"emitter interval negative", true, [](Bytes& b) { putU32(b, 4 + 32, 0xFFFFFFFFu); }},
        {"emitter colour negative", true, [](Bytes& b) { putU32(b, 4 + 36, 0x80000000u); }},
        {"emitters beyond the most", true, [](Bytes& b) { putU32(b, 0, 5000); }},
        {"particle cut short", false, [](Bytes& b) { b.resize(b.size() - 1); }},
        {"particle count too low", false, [](Bytes& b) { putU32(b, 16, 2); }},
        {"particle steps negative", false, [](Bytes& b) { putU32(b, 4, 0x80000000u); }},
        {"particle position not finite", false, [nan](Bytes& b) { putF64(b, 20 + 32 + 8, nan); }},
        {"serials falling", false, [](Bytes& b) { putU32(b, 20 + 32 + 16, 2); }},
        {"serial at the next", false, [](Bytes& b) { putU32(b, 20 + 64 + 16, 900); }},
    };
    for (const Damage& d : damages) {
        Bytes b = d.emitterPayload ? emitters : particles;
        d.apply(b);
        Emitters e = sampleEmitters;
        ParticleState p;
        const bool read = d.emitterPayload ? decodeEmitterSection(b.data(), b.size(), e)
                                           : decodeParticleSection(b.data(), b.size(), p);
        EXPECT_FALSE(read) << d.what;
        EXPECT_EQ(e, sampleEmitters) << d.what << ": changed on a refusal";
    }
}

// A 6 x 5 grid, classic-storable when it has no emitters.
Grid smallGrid()
{
    Grid g;
    makeFluidGrid(g, 6, 5);
    for (int32_t i = 0; i < 6; ++i)
        g.setCell(i, 0, CELL_NOSLIP_WALL);
    g.setCell(0, 2, CELL_INFLOW);
    g.u[0][2] = 1;
    return g;
}

TEST(ParticleFiles, GridFilesCarryEmittersInVersionFourAndOnlyThen)
{
    Grid g = smallGrid();
    GridFileSettings settings;
    const Bytes before = encodeSavedGrid(g, settings);
    ASSERT_FALSE(hasGridFileV2Magic(before.data(), before.size())) << "without emitters the classic format stays";

    g.emitters = sampleEmitters;
    for (bool storedField : {false, true}) {
        settings.startsFromStoredField = storedField;
        const Bytes bytes = encodeSavedGrid(g, settings);
        ASSERT_TRUE(hasGridFileV2Magic(bytes.data(), bytes.size()));
        EXPECT_EQ(bytes[14], 4);
        EXPECT_EQ(bytes[68], storedField ? 1 : 0);
        const size_t records = grid_file_v2::headerLengthWithInitialField + 17 * 30;
        EXPECT_EQ(std::string(bytes.begin() + records, bytes.begin() + records + 4), "EMIT");
        Grid back;
        GridFileSettings backSettings;
        ASSERT_EQ(decodeGridFile(bytes.data(), bytes.size(), back, backSettings), GridFileStatus::Ok);
        EXPECT_EQ(back.emitters, sampleEmitters);
        EXPECT_EQ(backSettings.startsFromStoredField, storedField);
        EXPECT_EQ(back.flags[0][2], g.flags[0][2]);

        // An unknown section is skipped; a section running past the end,
        // or a malformed EMIT, refuses the file.
        Bytes unknown = bytes;
        const Bytes extra = encodeGridSections({GridSection{{'X', 'Y', 'Z', '1'}, {1, 2, 3}}});
        unknown.insert(unknown.begin() + records, extra.begin(), extra.end());
        ASSERT_EQ(decodeGridFile(unknown.data(), unknown.size(), back, backSettings), GridFileStatus::Ok);
        EXPECT_EQ(back.emitters, sampleEmitters);
        Bytes pastEnd = bytes;
        putU32(pastEnd, records + 4, static_cast<uint32_t>(bytes.size()));
        EXPECT_EQ(decodeGridFile(pastEnd.data(), pastEnd.size(), back, backSettings), GridFileStatus::NotValid);
        Bytes malformed = bytes;
        putU32(malformed, records + 8, 2);
        EXPECT_EQ(decodeGridFile(malformed.data(), malformed.size(), back, backSettings), GridFileStatus::NotValid);
    }
}

RunState smallState()
{
    RunState s;
    s.settings.reynolds = 100;
    for (Grid* g : {static_cast<Grid*>(&s.edited), static_cast<Grid*>(&s.fields)})
        makeFluidGrid(*g, 4, 3);
    for (Array2D<double>* a : {&s.fields.F, &s.fields.G, &s.fields.pPrev, &s.fields.dp})
        a->allocate(4, 3);
    return s;
}

TEST(ParticleFiles, StateFilesCarryParticlesInVersionThreeAndOnlyThen)
{
    RunState s = smallState();
    const Bytes plain = encodeRunState(s);
    ASSERT_EQ(plain[16], 2) << "a run without particles keeps version 2";
    ASSERT_EQ(plain.size(), state_file::headerLength + statePayloadLength(4, 3));

    s.edited.emitters = sampleEmitters;
    s.particles = sampleParticles();
    const Bytes bytes = encodeRunState(s);
    EXPECT_EQ(bytes[16], 3);
    RunState back;
    ASSERT_EQ(decodeRunState(bytes.data(), bytes.size(), back), StateFileStatus::Ok);
    EXPECT_EQ(back.edited.emitters, sampleEmitters);
    EXPECT_EQ(back.particles.particles, sampleParticles().particles);
    EXPECT_EQ(back.particles.steps, 12345);
    EXPECT_EQ(encodeRunState(back), bytes);

    // A version-2 header over a longer payload is refused by its size.
    Bytes asTwo = bytes;
    asTwo[16] = 2;
    EXPECT_EQ(decodeRunState(asTwo.data(), asTwo.size(), back), StateFileStatus::BadSizes);
}

TEST(ParticleFiles, CsvHoldsTimeSerialEmitterAndRoundTripPositions)
{
    const std::string text = particleCsvText(sampleParticles().particles, 0.1 + 0.2);
    EXPECT_EQ(text,
              "t,serial,emitter,x,y\n"
              "0.30000000000000004,3,0,0.125,0.75\n"
              "0.30000000000000004,17,-1,0.14285714285714285,0.5\n"
              "0.30000000000000004,899,2,2,1.0000000000000002\n");
    EXPECT_EQ(particleCsvPath("out", 12), "out/particles_00012.csv");
}

}  // namespace
