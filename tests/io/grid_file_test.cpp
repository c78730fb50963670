// Grid file codec: the stored bytes, the line-break rule, round trips,
// refused files and saves that must not destroy anything.
#include "io/grid_file.h"
#include "same_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

const std::string magicText = "!KELVO-FLUXERIA-T.VOSSEN-v1.6a";

Grid fluidGrid(int nx, int ny)
{
    Grid g;
    makeFluidGrid(g, nx, ny);
    return g;
}

GridFileSettings settingsOf(int re, int u, int v)
{
    GridFileSettings s;
    s.reynolds = re;
    s.defaultU = u;
    s.defaultV = v;
    return s;
}

Bytes textBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// The logical header of an NX x NY file with Reynolds text re4.
Bytes logicalHeader(const std::string& re4, Bytes eight)
{
    Bytes b = textBytes(magicText + re4);
    b.insert(b.end(), eight.begin(), eight.end());
    return b;
}

GridFileStatus decode(const Bytes& b, Grid& g, GridFileSettings& s)
{
    return decodeGridFile(b.data(), b.size(), g, s);
}

Bytes readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeAll(const std::string& path, const Bytes& b)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

// A fresh, empty directory for one test.
std::string scratchDir(const char* name)
{
    std::string dir = std::string("grid_file_scratch_") + name;
    if (std::system(("rm -rf '" + dir + "'").c_str()) != 0)
        ADD_FAILURE() << "cannot clear " << dir;
    mkdir(dir.c_str(), 0777);
    return dir;
}

std::vector<std::string> entriesOf(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}

// A small grid with distinctive contents, standing for the editor's grid.
Grid callersGrid()
{
    Grid g = fluidGrid(5, 4);
    g.aux1 = 7;
    g.flags[2][1] = CELL_NOSLIP_WALL;
    g.u[1][1] = 0.25;
    g.v[3][2] = -3.5;
    g.p[2][2] = 9.0;
    return g;
}

// Decoding must refuse and leave the caller's grid and settings alone.
void expectRefusedUntouched(const Bytes& stored)
{
    Grid g = callersGrid();
    GridFileSettings s = settingsOf(1234, 55, 66);
    EXPECT_EQ(decode(stored, g, s), GridFileStatus::NotValid);
    expectSameGrid(g, callersGrid());
    EXPECT_EQ(s.reynolds, 1234);
    EXPECT_EQ(s.defaultU, 55);
    EXPECT_EQ(s.defaultV, 66);
}

}  // namespace

// --- the stored bytes -------------------------------------------------------

TEST(GridFileEncode, StartupGridGivesThe2442ByteFile)
{
    Grid g = fluidGrid(40, 20);
    Bytes expected = logicalHeader(" 200", {0, 0, 40, 20, 0, 0, 0, 0});
    for (int k = 0; k < 800; ++k)
        expected.insert(expected.end(), {1, 0, 0});
    ASSERT_EQ(expected.size(), 2442u);
    EXPECT_EQ(encodeGridFile(g, settingsOf(200, 0, 0)), expected);
}

TEST(GridFileEncode, ReynoldsIsFourCharactersRightAligned)
{
    Grid g = fluidGrid(3, 3);
    const auto reText = [&g](int re) {
        const Bytes b = encodeGridFile(g, settingsOf(re, 0, 0));
        return std::string(b.begin() + 30, b.begin() + 34);
    };
    EXPECT_EQ(reText(10), "  10");
    EXPECT_EQ(reText(200), " 200");
    EXPECT_EQ(reText(2000), "2000");
    // Out of the four characters the layout would shift: clamped instead.
    EXPECT_EQ(reText(123456), "9999");
    EXPECT_EQ(reText(-5000), "-999");
    EXPECT_EQ(encodeGridFile(g, settingsOf(123456, 0, 0)).size(), 42u + 27u);
}

TEST(GridFileEncode, LineFeedIsStoredAsCrLf)
{
    Grid g = fluidGrid(40, 20);
    const Bytes b = encodeGridFile(g, settingsOf(200, 10, 0));
    ASSERT_EQ(b.size(), 2443u);
    EXPECT_EQ(b[34], 13);
    EXPECT_EQ(b[35], 10);
    EXPECT_EQ(b[36], 0);   // default V
    EXPECT_EQ(b[37], 40);  // NX
}

TEST(GridFileEncode, OneByteValuesKeepTheirLow8Bits)
{
    Grid g = fluidGrid(3, 3);
    g.aux1 = 300;
    g.aux2 = -1;
    g.flags[0][0] = CELL_INFLOW | DIR_NORTH;   // 0x110
    g.flags[0][1] = CELL_INFLOW | DIR_WEST;    // 0x090
    g.u[0][2] = 257.9;
    g.v[0][2] = -1.0;
    const Bytes b = encodeGridFile(g, settingsOf(200, 256 + 5, -2));
    EXPECT_EQ(b[34], 5);
    EXPECT_EQ(b[35], 254);
    EXPECT_EQ(b[38], 44);
    EXPECT_EQ(b[39], 255);
    EXPECT_EQ(b[42], 0x10);
    EXPECT_EQ(b[45], 0x90);
    EXPECT_EQ(b[49], 1);
    EXPECT_EQ(b[50], 255);
}

TEST(GridFileEncode, CellSizeBytesAreTruncated)
{
    Grid g = fluidGrid(3, 3);
    g.dx = 3.99;
    g.dy = 0.99;
    const Bytes b = encodeGridFile(g, settingsOf(200, 0, 0));
    EXPECT_EQ(b[40], 3);
    EXPECT_EQ(b[41], 0);
}

TEST(GridFileEncode, VelocityByteTruncatesTowardZeroAndNeverOverflows)
{
    EXPECT_EQ(velocityByte(0.5), 0);
    EXPECT_EQ(velocityByte(-0.5), 0);
    EXPECT_EQ(velocityByte(-1.0), 255);
    EXPECT_EQ(velocityByte(-1.9), 255);
    EXPECT_EQ(velocityByte(127.99), 127);
    EXPECT_EQ(velocityByte(300.0), 44);
    EXPECT_EQ(velocityByte(std::nan("")), 0);
    EXPECT_EQ(velocityByte(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(velocityByte(-std::numeric_limits<double>::infinity()), 0);
    // Saturated at INT_MAX (low byte 0xFF) and INT_MIN (low byte 0x00).
    EXPECT_EQ(velocityByte(1e300), 0xFF);
    EXPECT_EQ(velocityByte(-1e300), 0x00);
    EXPECT_EQ(velocityByte(2147483647.5), 0xFF);
}

TEST(GridFileEncode, GridsAFileCannotHoldAreRefused)
{
    EXPECT_TRUE(encodeGridFile(fluidGrid(2, 20), settingsOf(200, 0, 0)).empty());
    EXPECT_TRUE(encodeGridFile(fluidGrid(20, 256), settingsOf(200, 0, 0)).empty());
    EXPECT_TRUE(encodeGridFile(Grid(), settingsOf(200, 0, 0)).empty());
    EXPECT_EQ(encodeGridFile(fluidGrid(255, 3), settingsOf(200, 0, 0)).size(),
              42u + 3u * 255u * 3u);
}

// --- the line-break rule on reading -------------------------------------------

TEST(GridFileLineBreaks, CrLfPairReadsAsOneLineFeed)
{
    Bytes stored = logicalHeader(" 200", {13, 10, 0, 3, 3, 0, 0, 0, 0});
    for (int k = 0; k < 9; ++k)
        stored.insert(stored.end(), {1, 0, 0});
    Grid g;
    GridFileSettings s;
    ASSERT_EQ(decode(stored, g, s), GridFileStatus::Ok);
    EXPECT_EQ(s.defaultU, 10);
    EXPECT_EQ(s.defaultV, 0);
    EXPECT_EQ(g.NX, 3);
    EXPECT_EQ(g.NY, 3);
}

TEST(GridFileLineBreaks, LoneCarriageReturnStandsForItself)
{
    // Default U is a lone 13; the last byte of the file is a lone 13 too.
    Bytes stored = logicalHeader(" 200", {13, 0, 3, 3, 0, 0, 0, 0});
    for (int k = 0; k < 9; ++k)
        stored.insert(stored.end(), {1, 0, 0});
    stored.back() = 13;
    Grid g;
    GridFileSettings s;
    ASSERT_EQ(decode(stored, g, s), GridFileStatus::Ok);
    EXPECT_EQ(s.defaultU, 13);
    EXPECT_EQ(g.v[2][2], 13.0);
}

TEST(GridFileLineBreaks, CarriageReturnBeforeLineFeedSurvivesTheRoundTrip)
{
    // Logical 13 then 10 is stored 13 13 10 and reads back as 13, 10.
    Grid g = fluidGrid(3, 3);
    g.flags[1][1] = 13;
    g.u[1][1] = 10.0;
    g.v[1][1] = 13.0;
    const Bytes b = encodeGridFile(g, settingsOf(200, 0, 0));
    const std::size_t rec = 42 + 3 * (1 * 3 + 1);
    ASSERT_EQ(b.size(), 42u + 27u + 1u);
    EXPECT_EQ(Bytes(b.begin() + rec, b.begin() + rec + 4), (Bytes{13, 13, 10, 13}));

    Grid back;
    GridFileSettings s;
    ASSERT_EQ(decode(b, back, s), GridFileStatus::Ok);
    EXPECT_EQ(back.flags[1][1], 13);
    EXPECT_EQ(back.u[1][1], 10.0);
    EXPECT_EQ(back.v[1][1], 13.0);
}

TEST(GridFileLineBreaks, BareLineFeedOnDiskReadsAsLineFeed)
{
    Bytes stored = logicalHeader("  10", {10, 0, 3, 3, 0, 0, 0, 0});
    for (int k = 0; k < 9; ++k)
        stored.insert(stored.end(), {1, 0, 0});
    Grid g;
    GridFileSettings s;
    ASSERT_EQ(decode(stored, g, s), GridFileStatus::Ok);
    EXPECT_EQ(s.reynolds, 10);
    EXPECT_EQ(s.defaultU, 10);
}

// --- round trips ---------------------------------------------------------------

TEST(GridFileRoundTrip, DirectionsBeyondTheLowByteAreLost)
{
    Grid g = fluidGrid(20, 20);
    g.flags[3][0] = CELL_INFLOW | DIR_NORTH;   // 0x110
    g.flags[19][5] = CELL_INFLOW | DIR_WEST;   // 0x090
    g.flags[0][5] = CELL_OUTFLOW | DIR_WEST;   // 0x0A0
    g.flags[5][0] = CELL_OUTFLOW | DIR_SOUTH;  // 0x220
    Grid back;
    GridFileSettings s;
    ASSERT_EQ(decode(encodeGridFile(g, settingsOf(200, 0, 0)), back, s), GridFileStatus::Ok);
    EXPECT_EQ(back.flags[3][0], 0x010);
    EXPECT_EQ(back.flags[19][5], 0x090);
    EXPECT_EQ(back.flags[0][5], 0x0A0);
    EXPECT_EQ(back.flags[5][0], 0x020);
}

TEST(GridFileRoundTrip, VelocitiesComeBackAsSignedWholeNumbers)
{
    Grid g = fluidGrid(20, 20);
    g.flags[4][19] = CELL_MOVING_WALL;
    g.u[4][19] = 1.0;
    g.u[5][19] = -1.0;
    g.v[6][0] = -1.0;
    g.u[7][7] = 0.9;
    g.u[8][8] = -128.0;
    g.u[9][9] = 127.0;
    g.u[10][10] = 200.0;  // beyond a signed byte: wraps
    Grid back;
    GridFileSettings s;
    ASSERT_EQ(decode(encodeGridFile(g, settingsOf(200, 0, 0)), back, s), GridFileStatus::Ok);
    EXPECT_EQ(back.flags[4][19], CELL_MOVING_WALL);
    EXPECT_EQ(back.u[4][19], 1.0);
    EXPECT_EQ(back.v[4][19], 0.0);
    EXPECT_EQ(back.u[5][19], -1.0);
    EXPECT_EQ(back.v[6][0], -1.0);
    EXPECT_EQ(back.u[7][7], 0.0);
    EXPECT_EQ(back.u[8][8], -128.0);
    EXPECT_EQ(back.u[9][9], 127.0);
    EXPECT_EQ(back.u[10][10], -56.0);
}

TEST(GridFileRoundTrip, SettingsAndHeaderComeBackRaw)
{
    Grid g = fluidGrid(30, 20);
    g.aux1 = 17;
    g.aux2 = 255;
    Grid back;
    GridFileSettings s;
    ASSERT_EQ(decode(encodeGridFile(g, settingsOf(5, 200, 255)), back, s), GridFileStatus::Ok);
    EXPECT_EQ(s.reynolds, 5);
    EXPECT_EQ(s.defaultU, 200);
    EXPECT_EQ(s.defaultV, 255);
    EXPECT_EQ(back.aux1, 17);
    EXPECT_EQ(back.aux2, 255);
    // The editor's spinners clamp what the codec hands back.
    const GridFileSettings shown = editorSettings(s);
    EXPECT_EQ(shown.reynolds, 10);
    EXPECT_EQ(shown.defaultU, 100);
    EXPECT_EQ(shown.defaultV, 100);
    EXPECT_EQ(editorSettings(settingsOf(9999, -4, 50)).reynolds, 2000);
    EXPECT_EQ(editorSettings(settingsOf(9999, -4, 50)).defaultU, 0);
    EXPECT_EQ(editorSettings(settingsOf(9999, -4, 50)).defaultV, 50);
}

// The editor's Reynolds field keeps decimals: only its range is imposed,
// while the default velocities stay whole numbers.
TEST(GridFileRoundTrip, EditorSettingsKeepTheReynoldsNumbersDecimals)
{
    const std::pair<double, double> cases[] = {
        {816.67, 816.67}, {10.5, 10.5}, {1999.999, 1999.999}, {9.75, 10}, {2000.5, 2000}, {1e300, 2000},
        {-3.5, 10},
    };
    for (const auto& [stored, shown] : cases) {
        GridFileSettings raw;
        raw.reynolds = stored;
        raw.defaultU = 2.6;
        raw.defaultV = 0.4;
        const GridFileSettings s = editorSettings(raw);
        EXPECT_EQ(s.reynolds, shown) << stored;
        EXPECT_EQ(s.defaultU, 3.0) << stored;
        EXPECT_EQ(s.defaultV, 0.0) << stored;
    }
}

TEST(GridFileRoundTrip, CellSizeIsRecomputedFromTheSize)
{
    const auto loaded = [](int nx, int ny, double fakeDx) {
        Grid g = fluidGrid(nx, ny);
        g.dx = fakeDx;  // the stored bytes must play no part
        g.dy = fakeDx;
        Grid back;
        GridFileSettings s;
        EXPECT_EQ(decode(encodeGridFile(g, settingsOf(200, 0, 0)), back, s), GridFileStatus::Ok);
        return back;
    };
    Grid a = loaded(60, 20, 7.0);
    EXPECT_EQ(a.dx, 3.0 / 60.0);
    EXPECT_EQ(a.dy, 1.0 / 20.0);
    Grid b = loaded(30, 20, 9.0);
    EXPECT_EQ(b.dx, 1.0 / 30.0);
    EXPECT_EQ(b.dy, 1.0 / 20.0);
    Grid c = loaded(20, 40, 2.0);  // narrower than high: width 1
    EXPECT_EQ(c.dx, 1.0 / 20.0);
    EXPECT_EQ(c.dy, 1.0 / 40.0);
    EXPECT_EQ(c.p[5][5], 0.0);
}

TEST(GridFileRoundTrip, EveryByteValueSurvives)
{
    // Random flags 0..255 and velocities -128..127: the line-break rule meets
    // 10s and 13s in every position and must give the exact grid back.
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    Grid g = fluidGrid(37, 23);
    for (int i = 0; i < g.NX; ++i)
        for (int j = 0; j < g.NY; ++j) {
            g.flags[i][j] = byte(rng);
            g.u[i][j] = byte(rng) - 128;
            g.v[i][j] = byte(rng) - 128;
        }
    g.aux1 = 10;
    g.aux2 = 13;
    Grid back;
    GridFileSettings s;
    ASSERT_EQ(decode(encodeGridFile(g, settingsOf(-10, 10, 13)), back, s), GridFileStatus::Ok);
    expectSameGrid(back, g);
    EXPECT_EQ(s.reynolds, -10);
    EXPECT_EQ(s.defaultU, 10);
    EXPECT_EQ(s.defaultV, 13);
}

// --- refused files -------------------------------------------------------------

TEST(GridFileRefusal, WrongMagicTextChangesNothing)
{
    Bytes good = encodeGridFile(fluidGrid(20, 20), settingsOf(200, 0, 0));
    for (std::size_t k : {0u, 17u, 29u}) {
        Bytes bad = good;
        bad[k] = bad[k] == 'A' ? 'B' : 'A';
        expectRefusedUntouched(bad);
    }
    Bytes lower = good;
    lower[1] = 'k';
    expectRefusedUntouched(lower);
}

TEST(GridFileRefusal, ShortFirstLineEmptyAndHeaderOnlyFilesAreRefused)
{
    Bytes shortLine = textBytes(magicText.substr(0, 12) + "\r\n" + magicText + " 200");
    expectRefusedUntouched(shortLine);
    expectRefusedUntouched(Bytes{});
    expectRefusedUntouched(textBytes(magicText));
    expectRefusedUntouched(textBytes(magicText + " 20"));
    expectRefusedUntouched(logicalHeader(" 200", {0, 0, 20, 20, 0, 0, 0}));
}

TEST(GridFileRefusal, TruncatedRecordsAreRefusedTrailingBytesIgnored)
{
    Bytes good = encodeGridFile(fluidGrid(20, 20), settingsOf(200, 0, 0));
    expectRefusedUntouched(Bytes(good.begin(), good.end() - 1));
    expectRefusedUntouched(Bytes(good.begin(), good.end() - 3));
    expectRefusedUntouched(Bytes(good.begin(), good.begin() + 43));

    // A last v byte of 10 is stored as 13 10: cutting the 10 leaves a lone
    // 13, which is a whole value, so the file is complete.
    Grid g = fluidGrid(3, 3);
    g.v[2][2] = 10.0;
    Bytes crlf = encodeGridFile(g, settingsOf(200, 0, 0));
    Grid back;
    GridFileSettings s;
    ASSERT_EQ(decode(Bytes(crlf.begin(), crlf.end() - 1), back, s), GridFileStatus::Ok);
    EXPECT_EQ(back.v[2][2], 13.0);

    Bytes longer = good;
    longer.insert(longer.end(), {'x', 13, 10, 0});
    ASSERT_EQ(decode(longer, back, s), GridFileStatus::Ok);
    EXPECT_EQ(back.NX, 20);
}

TEST(GridFileRefusal, GridsBelowThreeCellsAreRefused)
{
    for (auto size : {std::pair<int, int>{2, 20}, {20, 2}, {0, 0}, {20, 0}}) {
        Bytes stored = logicalHeader(" 200", {0, 0, static_cast<unsigned char>(size.first),
                                              static_cast<unsigned char>(size.second), 0, 0, 0, 0});
        stored.resize(stored.size() + 3 * 20 * 20, 1);
        expectRefusedUntouched(stored);
    }
}

// --- files on disk ---------------------------------------------------------------

TEST(GridFileDisk, SavedFileHoldsTheEncodedBytesAndReadsBack)
{
    const std::string dir = scratchDir("roundtrip");
    const std::string path = dir + "/a.grid";
    Grid g = fluidGrid(40, 20);
    g.flags[0][3] = CELL_INFLOW | DIR_EAST;
    g.u[0][3] = 1.0;
    ASSERT_TRUE(saveGridFile(path, g, settingsOf(10, 10, 0)));
    EXPECT_EQ(readAll(path), encodeGridFile(g, settingsOf(10, 10, 0)));
    EXPECT_EQ(entriesOf(dir), std::vector<std::string>{"a.grid"});

    Grid back;
    GridFileSettings s;
    ASSERT_EQ(readGridFile(path, back, s), GridFileStatus::Ok);
    expectSameGrid(back, g);
    EXPECT_EQ(s.reynolds, 10);
    EXPECT_EQ(s.defaultU, 10);
}

TEST(GridFileDisk, SaveReplacesAnExistingFileKeepingItsPermissions)
{
    const std::string dir = scratchDir("replace");
    const std::string path = dir + "/b.grid";
    writeAll(path, Bytes(5000, 'z'));
    ASSERT_EQ(chmod(path.c_str(), 0604), 0);
    Grid g = fluidGrid(20, 20);
    ASSERT_TRUE(saveGridFile(path, g, settingsOf(200, 0, 0)));
    EXPECT_EQ(readAll(path), encodeGridFile(g, settingsOf(200, 0, 0)));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0604u);
}

TEST(GridFileDisk, UnreadableFilesCannotBeOpened)
{
    const std::string dir = scratchDir("unreadable");
    Grid g = callersGrid();
    GridFileSettings s = settingsOf(1, 2, 3);
    EXPECT_EQ(readGridFile(dir + "/missing.grid", g, s), GridFileStatus::CannotOpen);
    EXPECT_EQ(readGridFile(dir, g, s), GridFileStatus::CannotOpen);
    writeAll(dir + "/empty.grid", Bytes{});
    EXPECT_EQ(readGridFile(dir + "/empty.grid", g, s), GridFileStatus::NotValid);
    expectSameGrid(g, callersGrid());
    EXPECT_EQ(s.reynolds, 1);
}

TEST(GridFileDisk, FailedSavesLeaveNoTraceAndKeepTheOldFile)
{
    const std::string dir = scratchDir("failed");
    const std::string existing = dir + "/keep.grid";
    const Bytes old = textBytes("old contents\r\n");
    writeAll(existing, old);
    mkdir((dir + "/sub").c_str(), 0777);
    Grid g = fluidGrid(20, 20);

    EXPECT_FALSE(saveGridFile(dir + "/nowhere/x.grid", g, settingsOf(200, 0, 0)));
    EXPECT_FALSE(saveGridFile(dir + "/sub", g, settingsOf(200, 0, 0)));
    EXPECT_FALSE(saveGridFile(existing + "/x.grid", g, settingsOf(200, 0, 0)));
    EXPECT_FALSE(saveGridFile("", g, settingsOf(200, 0, 0)));
    EXPECT_FALSE(saveGridFile(existing, fluidGrid(2, 20), settingsOf(200, 0, 0)));

    std::vector<std::string> names = entriesOf(dir);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"keep.grid", "sub"}));
    EXPECT_TRUE(entriesOf(dir + "/sub").empty());
    EXPECT_EQ(readAll(existing), old);
}

TEST(GridFileDisk, FailedWriteKeepsTheOldFileByteIdentical)
{
    // A file size limit makes the write itself fail, even for root.
    const std::string dir = scratchDir("short_write");
    const std::string existing = dir + "/keep.grid";
    const Bytes old = encodeGridFile(fluidGrid(3, 3), settingsOf(200, 0, 0));
    writeAll(existing, old);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1000;
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved40x20 = saveGridFile(existing, fluidGrid(40, 20), settingsOf(200, 0, 0));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved40x20);
    EXPECT_EQ(readAll(existing), old);
    EXPECT_EQ(entriesOf(dir), std::vector<std::string>{"keep.grid"});
}
