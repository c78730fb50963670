// Version-2 grid files: which format a save picks, the documented layout,
// round trips of large and fractional grids, and refused files.
#include "io/grid_file_v2.h"
#include "same_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// A small grid with walls, an inflow and fractional velocities of both signs.
Grid sampleGrid(int nx, int ny)
{
    Grid g;
    makeFluidGrid(g, nx, ny);
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j) {
            if (j == 0 || j == ny - 1)
                g.setCell(i, j, CELL_NOSLIP_WALL);
            g.u[i][j] = 0.25 * (i % 7) - 0.5;
            g.v[i][j] = -0.125 * (j % 5);
        }
    g.setCell(0, 1, CELL_INFLOW);
    g.aux1 = 7;
    g.aux2 = 300;
    return g;
}

GridFileSettings fullSettings()
{
    GridFileSettings s;
    s.reynolds = 816.5;
    s.defaultU = 0.75;
    s.defaultV = -1.0;
    s.dt = 0.0025;
    s.convection = Convection::UpwindBlended;
    s.pressure = PressureSolver::Multigrid;
    return s;
}

void expectSameSettings(const GridFileSettings& a, const GridFileSettings& b)
{
    EXPECT_EQ(a.reynolds, b.reynolds);
    EXPECT_EQ(a.defaultU, b.defaultU);
    EXPECT_EQ(a.defaultV, b.defaultV);
    EXPECT_EQ(a.dt, b.dt);
    EXPECT_EQ(a.convection, b.convection);
    EXPECT_EQ(a.pressure, b.pressure);
    EXPECT_EQ(a.startsFromStoredField, b.startsFromStoredField);
}

// Writes the documented layout field by field, independently of the codec.
struct LayoutWriter {
    Bytes bytes;
    void text(const char* t) { bytes.insert(bytes.end(), t, t + std::strlen(t)); }
    void u8(unsigned v) { bytes.push_back(static_cast<unsigned char>(v)); }
    void u32(std::uint32_t v)
    {
        for (int k = 0; k < 4; ++k)
            bytes.push_back(static_cast<unsigned char>(v >> (8 * k)));
    }
    void f64(double d)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &d, 8);
        for (int k = 0; k < 8; ++k)
            bytes.push_back(static_cast<unsigned char>(bits >> (8 * k)));
    }
};

// A header with the given fields and NX * NY fluid records of u = 0.5.
struct HeaderFields {
    std::uint32_t version = 2, nx = 3, ny = 3;
    double reynolds = 100, defaultU = 0, defaultV = 0, dt = 0;
    unsigned convection = 0, pressure = 0;
    int initialField = -1;  // the byte of version 3; -1 for none
    double u = 0.5;
};

Bytes handMadeFile(const HeaderFields& h)
{
    LayoutWriter w;
    w.text("KELVO-GRID\r\n\x1a\n");
    w.u32(h.version);
    w.u32(h.nx);
    w.u32(h.ny);
    w.u32(0);
    w.u32(0);
    w.f64(h.reynolds);
    w.f64(h.defaultU);
    w.f64(h.defaultV);
    w.f64(h.dt);
    w.u8(h.convection);
    w.u8(h.pressure);
    if (h.initialField >= 0)
        w.u8(static_cast<unsigned>(h.initialField));
    // At most a 3 x 3 set of records: the size limits are checked before
    // the length, so refusals of huge sizes need no huge buffers.
    const std::uint32_t cells = h.nx * h.ny <= 9 ? h.nx * h.ny : 9;
    for (std::uint32_t k = 0; k < cells; ++k) {
        w.u8(1);
        w.f64(h.u);
        w.f64(0.0);
    }
    return w.bytes;
}

std::string scratchFile(const std::string& name)
{
    return ::testing::TempDir() + "grid_v2_" + std::to_string(getpid()) + "_" + name;
}

}  // namespace

// Saving writes the classic format when nothing would be lost, version 2
// when that holds the grid, and nothing at all (no file either) otherwise.
TEST(GridFileV2, SavePicksClassicOnlyWhenNothingIsLost)
{
    enum class Saved { Classic, V2, Neither };
    struct Case {
        const char* what;
        std::function<void(Grid&, GridFileSettings&)> change;
        Saved saved;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"whole values that fit", [](Grid&, GridFileSettings&) {}, Saved::Classic},
        {"optional settings are dropped, not a reason for v2",
         [](Grid&, GridFileSettings& s) { s.dt = 0.01; s.pressure = PressureSolver::Multigrid; }, Saved::Classic},
        {"u = -128 and v = 127 fit", [](Grid& g, GridFileSettings&) { g.u[1][1] = -128; g.v[1][1] = 127; },
         Saved::Classic},
        {"u = 0.25", [](Grid& g, GridFileSettings&) { g.u[2][3] = 0.25; }, Saved::V2},
        {"u = 128", [](Grid& g, GridFileSettings&) { g.u[2][3] = 128; }, Saved::V2},
        {"v = -129", [](Grid& g, GridFileSettings&) { g.v[2][3] = -129; }, Saved::V2},
        {"Reynolds 816.5", [](Grid&, GridFileSettings& s) { s.reynolds = 816.5; }, Saved::V2},
        {"starting from the stored field", [](Grid&, GridFileSettings& s) { s.startsFromStoredField = true; },
         Saved::V2},
        {"Reynolds 10000", [](Grid&, GridFileSettings& s) { s.reynolds = 10000; }, Saved::V2},
        {"default U -1 (read back unsigned)", [](Grid&, GridFileSettings& s) { s.defaultU = -1; }, Saved::V2},
        {"default V 0.5", [](Grid&, GridFileSettings& s) { s.defaultV = 0.5; }, Saved::V2},
        {"aux1 300", [](Grid& g, GridFileSettings&) { g.aux1 = 300; }, Saved::V2},
        {"256 wide", [](Grid& g, GridFileSettings&) { makeFluidGrid(g, 256, 10); }, Saved::V2},
        {"NaN velocity", [nan](Grid& g, GridFileSettings&) { g.u[1][1] = nan; }, Saved::Neither},
        {"infinite v on a grid only v2 holds", [inf](Grid& g, GridFileSettings&) { g = sampleGrid(300, 4); g.v[299][3] = inf; },
         Saved::Neither},
        {"4097 wide", [](Grid& g, GridFileSettings&) { makeFluidGrid(g, 4097, 3); }, Saved::Neither},
        {"time step 0 on a grid only v2 holds", [](Grid& g, GridFileSettings& s) { g = sampleGrid(300, 4); s.dt = 0.0; },
         Saved::Neither},
    };
    const std::string path = scratchFile("picked.grid");
    for (const Case& c : cases) {
        Grid g;
        makeFluidGrid(g, 20, 10);
        GridFileSettings s;
        c.change(g, s);
        EXPECT_EQ(gridFitsClassicFile(g, s), c.saved == Saved::Classic) << c.what;
        const Bytes saved = encodeSavedGrid(g, s);
        if (c.saved == Saved::Classic)
            EXPECT_EQ(saved, encodeGridFile(g, s)) << c.what;
        else if (c.saved == Saved::V2)
            EXPECT_TRUE(hasGridFileV2Magic(saved.data(), saved.size())) << c.what;
        else
            EXPECT_TRUE(saved.empty()) << c.what;
        EXPECT_EQ(saveGridFile(path, g, s), c.saved != Saved::Neither) << c.what;
        EXPECT_EQ(access(path.c_str(), F_OK) == 0, c.saved != Saved::Neither) << c.what;
        std::remove(path.c_str());
    }
}

TEST(GridFileV2, EncoderWritesTheDocumentedLayout)
{
    Grid g;
    makeFluidGrid(g, 3, 3);
    g.u[0][0] = 0.5;
    g.u[0][1] = g.u[0][2] = g.u[1][0] = g.u[1][1] = g.u[1][2] = 0.5;
    g.u[2][0] = g.u[2][1] = g.u[2][2] = 0.5;
    GridFileSettings s;
    s.reynolds = 100;
    EXPECT_EQ(encodeGridFileV2(g, s), handMadeFile(HeaderFields{}));

    HeaderFields h;
    h.dt = 0.004;
    h.convection = 3;
    h.pressure = 1;
    s.dt = 0.004;
    s.convection = Convection::Designed;
    s.pressure = PressureSolver::GaussSeidel;
    const Bytes expected = handMadeFile(h);
    EXPECT_EQ(expected.size(), grid_file_v2::headerLength + 9 * grid_file_v2::recordLength);
    EXPECT_EQ(encodeGridFileV2(g, s), expected);
}

TEST(GridFileV2, LargeAndFractionalGridsRoundTripThroughFiles)
{
    for (auto size : {std::pair<int, int>{300, 20}, {20, 20}, {1024, 512}}) {
        const Grid g = sampleGrid(size.first, size.second);
        const std::string path = scratchFile("roundtrip.grid");
        ASSERT_TRUE(saveGridFile(path, g, fullSettings())) << size.first;
        Grid back;
        GridFileSettings s;
        ASSERT_EQ(readGridFile(path, back, s), GridFileStatus::Ok) << size.first;
        expectSameGrid(back, g);
        expectSameSettings(s, fullSettings());
        EXPECT_EQ(back.u[1][1], -0.25);
        std::remove(path.c_str());
    }
}

// The choice to start from the stored field is the one byte version 3 adds;
// without it a file stays version 2, byte for byte.
TEST(GridFileV2, VersionThreeCarriesTheInitialFieldChoice)
{
    Grid g;
    makeFluidGrid(g, 3, 3);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            g.u[i][j] = 0.5;
    GridFileSettings s;
    s.reynolds = 100;
    s.startsFromStoredField = true;
    HeaderFields h;
    h.version = 3;
    h.initialField = 1;
    const Bytes v3 = handMadeFile(h);
    EXPECT_EQ(v3.size(), grid_file_v2::headerLengthWithInitialField + 9 * grid_file_v2::recordLength);
    EXPECT_EQ(encodeGridFileV2(g, s), v3);
    s.startsFromStoredField = false;
    EXPECT_EQ(encodeGridFileV2(g, s), handMadeFile(HeaderFields{}));

    struct Case {
        const char* what;
        int version, initialField;
        bool starts;
    };
    for (const Case& c : {Case{"version 2", 2, -1, false}, Case{"version 3, stored field", 3, 1, true},
                          Case{"version 3, default velocities", 3, 0, false}}) {
        HeaderFields fields;
        fields.version = std::uint32_t(c.version);
        fields.initialField = c.initialField;
        fields.u = 0.75;
        const Bytes bytes = handMadeFile(fields);
        Grid back;
        GridFileSettings read;
        read.startsFromStoredField = !c.starts;
        ASSERT_EQ(decodeGridFile(bytes.data(), bytes.size(), back, read), GridFileStatus::Ok) << c.what;
        EXPECT_EQ(read.startsFromStoredField, c.starts) << c.what;
        EXPECT_EQ(back.u[2][2], 0.75) << c.what;
    }

    // A large fractional grid through a file, the choice with it.
    const Grid large = sampleGrid(300, 20);
    GridFileSettings full = fullSettings();
    full.startsFromStoredField = true;
    const std::string path = scratchFile("initial.grid");
    ASSERT_TRUE(saveGridFile(path, large, full));
    Grid back;
    GridFileSettings read;
    ASSERT_EQ(readGridFile(path, back, read), GridFileStatus::Ok);
    expectSameGrid(back, large);
    expectSameSettings(read, full);
    std::remove(path.c_str());
}

TEST(GridFileV2, UnstoredSettingsReadBackAsNotStored)
{
    Grid g = sampleGrid(10, 5);
    GridFileSettings none;
    none.reynolds = 123.25;
    Grid back;
    GridFileSettings s = fullSettings();
    const Bytes v2 = encodeSavedGrid(g, none);
    ASSERT_EQ(decodeGridFile(v2.data(), v2.size(), back, s), GridFileStatus::Ok);
    expectSameSettings(s, none);

    Grid whole;
    makeFluidGrid(whole, 10, 5);
    GridFileSettings wholeSettings = fullSettings();
    wholeSettings.reynolds = 800;
    wholeSettings.defaultU = 1;
    wholeSettings.defaultV = 0;
    s = fullSettings();
    const Bytes classic = encodeSavedGrid(whole, wholeSettings);
    ASSERT_FALSE(hasGridFileV2Magic(classic.data(), classic.size()));
    ASSERT_EQ(decodeGridFile(classic.data(), classic.size(), back, s), GridFileStatus::Ok);
    EXPECT_FALSE(s.dt || s.convection || s.pressure);
}

TEST(GridFileV2, BadFilesAreRefusedAndChangeNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Bytes good = handMadeFile(HeaderFields{});
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const auto with = [](std::function<void(HeaderFields&)> change) {
        HeaderFields h;
        change(h);
        return handMadeFile(h);
    };
    Bytes badMagic = good;
    badMagic.erase(badMagic.begin() + 10);  // a text-mode transfer dropped the 13
    const Case cases[] = {
        {"magic only", Bytes(good.begin(), good.begin() + 14)},
        {"header short by one", Bytes(good.begin(), good.begin() + 67)},
        {"records short by one byte", Bytes(good.begin(), good.end() - 1)},
        {"records short by one record", Bytes(good.begin(), good.end() - 17)},
        {"bad magic", badMagic},
        {"version 1", with([](HeaderFields& h) { h.version = 1; })},
        {"version 3", with([](HeaderFields& h) { h.version = 3; })},
        {"NX 0", with([](HeaderFields& h) { h.nx = 0; })},
        {"NY 2", with([](HeaderFields& h) { h.ny = 2; })},
        {"NX 4097", with([](HeaderFields& h) { h.nx = 4097; })},
        {"NX 2^32 - 1", with([](HeaderFields& h) { h.nx = 0xFFFFFFFFu; })},
        {"2048 x 1024 beyond the total", with([](HeaderFields& h) { h.nx = 2048; h.ny = 1024; })},
        {"1024 x 512 without its records", with([](HeaderFields& h) { h.nx = 1024; h.ny = 512; })},
        {"NaN velocity", with([nan](HeaderFields& h) { h.u = nan; })},
        {"infinite velocity", with([inf](HeaderFields& h) { h.u = -inf; })},
        {"NaN Reynolds", with([nan](HeaderFields& h) { h.reynolds = nan; })},
        {"infinite default U", with([inf](HeaderFields& h) { h.defaultU = inf; })},
        {"NaN default V", with([nan](HeaderFields& h) { h.defaultV = nan; })},
        {"NaN time step", with([nan](HeaderFields& h) { h.dt = nan; })},
        {"negative time step", with([](HeaderFields& h) { h.dt = -0.001; })},
        {"convection code 5", with([](HeaderFields& h) { h.convection = 5; })},
        {"version 3 without its initial-field byte", with([](HeaderFields& h) { h.version = 3; })},
        {"version 3 cut after its header", [] {
             HeaderFields h;
             h.version = 3;
             h.initialField = 1;
             Bytes b = handMadeFile(h);
             b.resize(grid_file_v2::headerLengthWithInitialField);
             return b;
         }()},
        {"initial-field byte 2", with([](HeaderFields& h) { h.version = 3; h.initialField = 2; })},
        {"pressure code 3", with([](HeaderFields& h) { h.pressure = 3; })},
    };
    Grid probe;
    GridFileSettings probeSettings;
    ASSERT_EQ(decodeGridFile(good.data(), good.size(), probe, probeSettings), GridFileStatus::Ok);
    for (const Case& c : cases) {
        Grid g = sampleGrid(5, 4);
        GridFileSettings s = fullSettings();
        EXPECT_EQ(decodeGridFile(c.bytes.data(), c.bytes.size(), g, s), GridFileStatus::NotValid) << c.what;
        expectSameGrid(g, sampleGrid(5, 4));
        expectSameSettings(s, fullSettings());
    }
}
