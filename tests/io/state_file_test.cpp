// State file codec: exact round trips and every kind of refused file.
#include "io/state_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <utility>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// A state whose every value differs from its neighbours, with values a
// text format would lose: negative zero, a subnormal, infinity's neighbour.
RunState sampleState(int32_t NX, int32_t NY)
{
    RunState s;
    s.settings = SolverSettings{250.125, 0.0021, Convection::UpwindBlended, true, PressureSolver::Multigrid};
    for (Grid* g : {static_cast<Grid*>(&s.edited), static_cast<Grid*>(&s.fields)}) {
        makeFluidGrid(*g, NX, NY);
        g->aux1 = -7;
        g->aux2 = 1 << 20;
    }
    for (Array2D<double>* a : {&s.fields.F, &s.fields.G, &s.fields.pPrev, &s.fields.dp})
        a->allocate(NX, NY);
    double value = 1.0 / 3.0;
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            s.edited.flags[i][j] = s.fields.flags[i][j] = (i * 31 + j) | (j % 2 ? CELL_INFLOW : 0);
            for (Array2D<double>* a : {&s.edited.u, &s.edited.v, &s.edited.p, &s.fields.u, &s.fields.v, &s.fields.p,
                                       &s.fields.F, &s.fields.G, &s.fields.pPrev, &s.fields.dp}) {
                value = -value * 1.0000001 + 1e-3;
                (*a)[i][j] = value;
            }
        }
    s.edited.u[0][0] = -0.0;
    s.fields.p[1][1] = std::numeric_limits<double>::denorm_min();
    s.fields.dp[2][2] = std::numeric_limits<double>::max();
    s.counters = RunCounters{1234567890123LL, 99, 42, 3, -1, 3.25, 1e-9, 0.001, 0.0125, 77, 8};
    return s;
}

bool sameBits(const Array2D<double>& a, const Array2D<double>& b)
{
    if (a.rowCount() != b.rowCount() || a.colCount() != b.colCount())
        return false;
    for (int32_t i = 0; i < a.rowCount(); ++i)
        if (std::memcmp(a[i], b[i], sizeof(double) * static_cast<size_t>(a.colCount())) != 0)
            return false;
    return true;
}

void putU32(Bytes& bytes, size_t at, uint32_t value)
{
    for (int k = 0; k < 4; ++k)
        bytes[at + k] = static_cast<unsigned char>(value >> (8 * k));
}

void putF64(Bytes& bytes, size_t at, double value)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int k = 0; k < 8; ++k)
        bytes[at + k] = static_cast<unsigned char>(bits >> (8 * k));
}

// The checksum made right again after a deliberate change to the payload.
void resealChecksum(Bytes& bytes)
{
    const size_t header = state_file::headerLength;
    putU32(bytes, header - 4, crc32Of(bytes.data() + header, bytes.size() - header));
}

StateFileStatus decode(const Bytes& bytes, RunState& into)
{
    return decodeRunState(bytes.data(), bytes.size(), into);
}

}  // namespace

TEST(StateFile, RoundTripIsExactAndStable)
{
    const RunState original = sampleState(7, 5);
    const Bytes bytes = encodeRunState(original);
    ASSERT_EQ(bytes.size(), state_file::headerLength + statePayloadLength(7, 5));
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 16), "KELVO-RUNSTATE\r\n");

    RunState back;
    ASSERT_EQ(decode(bytes, back), StateFileStatus::Ok);
    const SolverSettings& s = back.settings;
    EXPECT_TRUE(s.reynolds == 250.125 && s.dt == 0.0021 && s.automaticDt && s.convection == Convection::UpwindBlended &&
                s.pressure == PressureSolver::Multigrid);
    for (const Grid* g : {static_cast<const Grid*>(&back.edited), static_cast<const Grid*>(&back.fields)}) {
        EXPECT_TRUE(g->NX == 7 && g->NY == 5 && g->aux1 == -7 && g->aux2 == 1 << 20);
        EXPECT_TRUE(g->dx == original.edited.dx && g->dy == original.edited.dy);
        EXPECT_TRUE(sameGrid(*g, original));
    }
    const std::pair<const Array2D<double>&, const Array2D<double>&> arrays[] = {
        {back.edited.u, original.edited.u}, {back.edited.v, original.edited.v}, {back.edited.p, original.edited.p},
        {back.fields.u, original.fields.u}, {back.fields.v, original.fields.v}, {back.fields.p, original.fields.p},
        {back.fields.F, original.fields.F}, {back.fields.G, original.fields.G},
        {back.fields.pPrev, original.fields.pPrev}, {back.fields.dp, original.fields.dp}};
    for (size_t k = 0; k < std::size(arrays); ++k)
        EXPECT_TRUE(sameBits(arrays[k].first, arrays[k].second)) << "array " << k;
    const RunCounters& c = back.counters;
    EXPECT_TRUE(c.steps == 1234567890123LL && c.firstNonFiniteStep == -1 && c.simulatedTime == 3.25 &&
                c.largestDt == 0.0125 && c.cycles == 77 && c.frames == 8);
    // Decoded and encoded again, the bytes are the same.
    EXPECT_EQ(encodeRunState(back), bytes);
}

TEST(StateFile, ChecksumIsTheStandardCrc32)
{
    const char* check = "123456789";
    EXPECT_EQ(crc32Of(reinterpret_cast<const unsigned char*>(check), 9), 0xCBF43926u);
    EXPECT_EQ(crc32Of(nullptr, 0), 0u);
}

TEST(StateFile, BrokenFilesAreRefusedAndLeaveTheStateAlone)
{
    const Bytes good = encodeRunState(sampleState(6, 4));
    struct Case {
        const char* what;
        void (*damage)(Bytes&);
        StateFileStatus expected;
    };
    const Case cases[] = {
        {"empty", [](Bytes& b) { b.clear(); }, StateFileStatus::Short},
        {"half a header", [](Bytes& b) { b.resize(20); }, StateFileStatus::Short},
        {"header only", [](Bytes& b) { b.resize(state_file::headerLength); }, StateFileStatus::Short},
        {"one byte short", [](Bytes& b) { b.pop_back(); }, StateFileStatus::Short},
        {"one byte more", [](Bytes& b) { b.push_back(0); }, StateFileStatus::BadSizes},
        {"magic", [](Bytes& b) { b[3] = 'x'; }, StateFileStatus::BadMagic},
        {"a grid file", [](Bytes& b) { std::memcpy(b.data(), "!KELVO-FLUXERIA", 15); }, StateFileStatus::BadMagic},
        {"version 4", [](Bytes& b) { putU32(b, 16, 4); }, StateFileStatus::OtherVersion},
        {"version 0", [](Bytes& b) { putU32(b, 16, 0); }, StateFileStatus::OtherVersion},
        {"NX 2", [](Bytes& b) { putU32(b, 20, 2); }, StateFileStatus::BadSizes},
        {"NY huge", [](Bytes& b) { putU32(b, 24, 0xFFFFFFFFu); }, StateFileStatus::BadSizes},
        {"NX 4097", [](Bytes& b) { putU32(b, 20, 4097); }, StateFileStatus::BadSizes},
        {"NX of another size", [](Bytes& b) { putU32(b, 20, 7); }, StateFileStatus::BadSizes},
        {"payload length", [](Bytes& b) { putU32(b, 28, 100); }, StateFileStatus::BadSizes},
        {"flipped payload byte", [](Bytes& b) { b[b.size() / 2] ^= 0x10; }, StateFileStatus::BadChecksum},
        {"flipped last byte", [](Bytes& b) { b.back() ^= 0x01; }, StateFileStatus::BadChecksum},
        {"checksum", [](Bytes& b) { b[state_file::headerLength - 1] ^= 0x80; }, StateFileStatus::BadChecksum},
        {"convection 4", [](Bytes& b) { b[state_file::headerLength + 17] = 4; resealChecksum(b); },
         StateFileStatus::BadValues},
        // Reynolds numbers the solver's single-precision value cannot hold.
        {"Re 0", [](Bytes& b) { putF64(b, state_file::headerLength, 0.0); resealChecksum(b); },
         StateFileStatus::BadValues},
        {"Re -100", [](Bytes& b) { putF64(b, state_file::headerLength, -100.0); resealChecksum(b); },
         StateFileStatus::BadValues},
        {"Re NaN", [](Bytes& b) { putF64(b, state_file::headerLength, std::nan("")); resealChecksum(b); },
         StateFileStatus::BadValues},
        {"Re inf", [](Bytes& b) { putF64(b, state_file::headerLength, HUGE_VAL); resealChecksum(b); },
         StateFileStatus::BadValues},
        {"Re beyond a float", [](Bytes& b) { putF64(b, state_file::headerLength, 1e39); resealChecksum(b); },
         StateFileStatus::BadValues},
        {"Re 0 as a float", [](Bytes& b) { putF64(b, state_file::headerLength, 1e-50); resealChecksum(b); },
         StateFileStatus::BadValues},
    };
    for (const Case& c : cases) {
        Bytes bytes = good;
        c.damage(bytes);
        RunState kept = sampleState(3, 3);
        kept.settings.reynolds = 1;
        EXPECT_EQ(decode(bytes, kept), c.expected) << c.what;
        EXPECT_EQ(kept.edited.NX, 3) << c.what;
        EXPECT_EQ(kept.settings.reynolds, 1) << c.what;
    }
    // Undamaged, the same bytes decode.
    RunState back;
    EXPECT_EQ(decode(good, back), StateFileStatus::Ok);
}

// Version 1 kept a whole Reynolds number in four bytes; such files still
// read, with everything else as version 2 has it.
TEST(StateFile, VersionOneWithItsWholeReynoldsNumberStillReads)
{
    RunState original = sampleState(5, 4);
    original.settings.reynolds = 817;
    const Bytes current = encodeRunState(original);
    const size_t header = state_file::headerLength;
    Bytes old(current.begin(), current.begin() + header);
    old.insert(old.end(), {0x31, 0x03, 0x00, 0x00});  // i32 817
    old.insert(old.end(), current.begin() + header + 8, current.end());
    putU32(old, 16, 1);
    putU32(old, 28, static_cast<uint32_t>(statePayloadLength(5, 4, 1)));
    resealChecksum(old);
    ASSERT_EQ(statePayloadLength(5, 4, 1) + 4, statePayloadLength(5, 4));

    RunState back;
    ASSERT_EQ(decode(old, back), StateFileStatus::Ok);
    EXPECT_EQ(back.settings.reynolds, 817.0);
    EXPECT_EQ(encodeRunState(back), current);
}

// On disk: a saved file reads back and leaves no temporary; only a regular
// file of exactly its declared size is read, and a FIFO is refused at once
// rather than waited on.
TEST(StateFile, SavedFilesReadBackAndOnlyWholeRegularFilesAreRead)
{
    char dirTemplate[] = "/tmp/kelvo_state_XXXXXX";
    ASSERT_NE(mkdtemp(dirTemplate), nullptr);
    const std::string dir = dirTemplate;
    const RunState original = sampleState(9, 4);
    ASSERT_TRUE(saveStateFile(dir + "/run.state", original));
    ASSERT_TRUE(saveStateFile(dir + "/run.state", original));  // over an existing file
    EXPECT_FALSE(saveStateFile(dir + "/no/such/dir.state", original));
    RunState back;
    EXPECT_EQ(readStateFile(dir + "/run.state", back), StateFileStatus::Ok);
    EXPECT_EQ(encodeRunState(back), encodeRunState(original));
    const std::string listing = dir + "/listing";
    ASSERT_EQ(std::system(("ls -A " + dir + " > " + listing).c_str()), 0);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(std::ifstream(listing).rdbuf()), {}),
              "listing\nrun.state\n");

    Bytes largest = encodeRunState(original);
    largest.resize(state_file::headerLength);
    putU32(largest, 20, state_file::maxCells);
    putU32(largest, 24, state_file::maxCells);
    putU32(largest, 28, static_cast<uint32_t>(statePayloadLength(state_file::maxCells, state_file::maxCells)));
    std::ofstream(dir + "/largest").write(reinterpret_cast<const char*>(largest.data()),
                                          static_cast<std::streamsize>(largest.size()));
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0);
    ASSERT_EQ(mkdir((dir + "/directory").c_str(), 0700), 0);
    for (const auto& [name, expected] : {std::pair{"largest", StateFileStatus::Short},
                                         std::pair{"fifo", StateFileStatus::CannotOpen},
                                         std::pair{"directory", StateFileStatus::CannotOpen},
                                         std::pair{"missing", StateFileStatus::CannotOpen}})
        EXPECT_EQ(readStateFile(dir + "/" + name, back), expected) << name;
    for (const char* name : {"run.state", "listing", "largest", "fifo"})
        std::remove((dir + "/" + name).c_str());
    rmdir((dir + "/directory").c_str());
    rmdir(dir.c_str());
}
