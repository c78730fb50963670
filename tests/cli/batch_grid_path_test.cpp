// Grid file arguments that are not grid files: directories, empty files,
// missing files, FIFOs, endless devices, and hand-made broken grids.
#include "batch_probe.h"
#include "io/grid_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace hostile;
namespace fs = std::filesystem;

namespace {

const std::string seedsDir = KELVO_FUZZ_SEEDS_DIR;
const std::string gridsDir = KELVO_GRIDS_DIR;

// Seconds an in-process read may take before the test process is killed.
constexpr unsigned readLimitSeconds = 20;

// Creates or replaces a file with the given bytes.
void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// The whole content of a file.
std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Reads a grid in this process; a read that blocks ends the test process.
GridFileStatus boundedRead(const std::string& path)
{
    Grid grid;
    GridFileSettings settings;
    alarm(readLimitSeconds);
    const GridFileStatus status = readGridFile(path, grid, settings);
    alarm(0);
    return status;
}

}  // namespace

class HostileGridPath : public BatchProbe {};

TEST_F(HostileGridPath, ThingsThatAreNotGridFilesAreRefused)
{
    expectRefusal(run({"missing.grid"}), exitRunFailed, "cannot read", "missing file");
    expectRefusal(run({scratch}), exitRunFailed, "cannot read", "directory");
    writeBytes(scratch + "/empty.grid", "");
    expectRefusal(run({"empty.grid"}), exitRunFailed, "not a valid grid file", "empty file");
    // The name is echoed whole, so only the line count is held to here.
    const ChildOutcome longName = run({std::string(10000, 'n') + ".grid"});
    ASSERT_TRUE(longName.endedCleanly()) << longName.describe();
    EXPECT_EQ(longName.status, exitRunFailed);
    ASSERT_EQ(linesOf(longName.err).size(), 1u);
    EXPECT_EQ(longName.err.rfind("kelvo-batch: cannot read", 0), 0u);
    expectRefusal(run({"/dev/zero"}), exitRunFailed, "/dev/zero", "endless device");
}

// Opening a FIFO waits for a writer; with one that never writes, reading
// waits for ever. Neither may hang the program.
TEST_F(HostileGridPath, FifosAreRefusedWithoutWaiting)
{
    const std::string fifo = scratch + "/pipe.grid";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    expectRefusal(run({"pipe.grid"}), exitRunFailed, "pipe.grid", "FIFO without a writer");

    const int holder = open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(holder, 0);
    expectRefusal(run({"pipe.grid"}), exitRunFailed, "pipe.grid", "FIFO with an idle writer");
    EXPECT_EQ(boundedRead(fifo), GridFileStatus::CannotOpen);
    close(holder);
    EXPECT_EQ(boundedRead(fifo), GridFileStatus::CannotOpen);
}

TEST_F(HostileGridPath, OddButSoundFilesRun)
{
    const std::string grid = readText(gridsDir + "/cavity.grid");
    ASSERT_FALSE(grid.empty());
    writeBytes(scratch + "/padded.grid", grid + std::string(5 << 20, '\n'));
    expectRan(run({"padded.grid", "--steps", "1"}), "grid followed by 5 MB of line feeds");
    fs::create_symlink(gridsDir + "/cavity.grid", scratch + "/link.grid");
    expectRan(run({"link.grid", "--steps", "1"}), "symbolic link");
    writeBytes(scratch + "/-", grid);
    expectRan(run({"-", "--steps", "1"}), "a file named '-'");
}

// Hand-made broken grids and grids with every flag byte: each is refused in
// one line, or runs a few steps without a fault or until it is stopped as
// unstable (run under the sanitizers, this walks the solver over flag words
// no editor makes).
TEST_F(HostileGridPath, HandMadeGridsRunOrAreRefused)
{
    int loaded = 0, refused = 0;
    for (const auto& entry : fs::directory_iterator(seedsDir)) {
        const std::string path = entry.path().string();
        const ChildOutcome o = run({path, "--steps", "5", "--dump-csv", "out.csv"});
        if (o.status == exitOk) {
            expectRan(o, path);
            ++loaded;
        } else if (o.status == exitUnstable) {
            expectBlewUp(o, path);
            ++loaded;
        } else {
            expectRefusal(o, exitRunFailed, "not a valid grid file", path);
            ++refused;
        }
    }
    // The seeds hold both kinds; none at all means the folder was not found.
    EXPECT_GT(loaded, 10);
    EXPECT_GT(refused, 10);
}
