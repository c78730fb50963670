// Saving a run and continuing it: the continued run must give the very
// bytes of one uninterrupted run, and a state that cannot be used must be
// refused before anything is written.
#include "batch_probe.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace hostile;

namespace {

const std::string batchExe = KELVO_BATCH_EXE;
const std::string channelGrid = std::string(KELVO_GRIDS_DIR) + "/channel.grid";
const std::string cavityGrid = std::string(KELVO_GRIDS_DIR) + "/cavity.grid";
constexpr int exitStopped = 4;

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

bool exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::vector<std::string> joined(std::vector<std::string> first, const std::vector<std::string>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// The summary line of the simulated time and the time steps.
std::string timeLine(const std::string& err)
{
    for (const std::string& line : linesOf(err))
        if (line.rfind("kelvo-batch: simulated time ", 0) == 0)
            return line;
    return "";
}

class BatchRestart : public BatchProbe {
protected:
    std::string at(const std::string& name) const { return scratch + "/" + name; }
};

}  // namespace

// 100 steps, save, restart, 100 steps against 200 steps in one run, on the
// 40 x 20 channel whose wall post makes the flow change every step.
TEST_F(BatchRestart, ContinuedRunGivesTheBytesOfOneRun)
{
    struct Case {
        const char* what;
        std::vector<std::string> options;
        bool gridGivenAgain;  // the grid file named with --restart too
    };
    const Case cases[] = {
        {"central, fixed dt", {"--convection", "central"}, false},
        {"upwind-blended, fixed dt", {"--convection", "blended"}, true},
        {"central, automatic dt", {"--dt", "auto"}, false},
        {"upwind-blended, automatic dt", {"--convection", "blended", "--dt", "auto"}, false},
        {"multigrid pressure", {"--pressure", "multigrid", "--re", "400"}, true},
    };
    for (const Case& c : cases) {
        const ChildOutcome whole = run(joined({channelGrid, "--steps", "200", "--dump-csv", "whole.csv"}, c.options));
        expectRan(whole, c.what);
        const ChildOutcome first = run(joined({channelGrid, "--steps", "100", "--save-state", "run.state"}, c.options));
        expectRan(first, c.what);
        std::vector<std::string> again = {"--restart", "run.state", "--steps", "100", "--dump-csv", "continued.csv"};
        if (c.gridGivenAgain)
            again.push_back(channelGrid);
        const ChildOutcome continued = run(again);
        expectRan(continued, c.what);

        const std::string expected = readBytes(at("whole.csv"));
        ASSERT_GT(expected.size(), 40u * 20u * 10u) << c.what;
        EXPECT_TRUE(readBytes(at("continued.csv")) == expected) << c.what << ": the dumps differ";
        EXPECT_EQ(timeLine(continued.err), timeLine(whole.err)) << c.what;
        EXPECT_NE(timeLine(whole.err), "") << c.what;
    }
}

// The frame cycle keeps its phase, the PPM and field files their numbering
// and the collection its earlier files: the frames of a continued run are
// the files of one run.
TEST_F(BatchRestart, FramesContinueTheRun)
{
    const std::vector<std::string> frames = {"--interval", "3", "--size", "2"};
    expectRan(run(joined({channelGrid, "--steps", "20", "--ppm=whole", "--vtk", "whole"}, frames)), "whole");
    expectRan(run(joined({channelGrid, "--steps", "10", "--ppm=parts", "--vtk", "parts", "--save-state", "run.state"},
                         frames)),
              "first");
    expectRan(run(joined({"--restart", "run.state", "--steps", "10", "--ppm=parts", "--vtk", "parts"}, frames)),
              "continued");
    // Cycles 0, 3, ..., 18 of the 20 (the build step is no cycle).
    for (int n = 0; n <= 6; ++n)
        for (const std::string& name : {"/frame_0000" + std::to_string(n) + ".ppm",
                                       "/fields_0000" + std::to_string(n) + ".vti"}) {
            const std::string expected = readBytes(at("whole" + name));
            EXPECT_FALSE(expected.empty()) << name;
            EXPECT_TRUE(readBytes(at("parts" + name)) == expected) << name;
        }
    EXPECT_EQ(readBytes(at("parts/fields.pvd")), readBytes(at("whole/fields.pvd")));
    EXPECT_FALSE(exists(at("whole/frame_00007.ppm")) || exists(at("parts/frame_00007.ppm")));
}

// Particles are carried across a restart: the emitters with the saved
// set-up, the particles and their release schedule with the state, so the
// positions, the pictures and the fields of a continued run are those of one
// run.
TEST_F(BatchRestart, ParticlesContinueTheRun)
{
    const std::vector<std::string> particles = {"--interval", "7", "--size", "2", "--elements", "boundary,particles",
                                                "--release-from-inflow", "3", "--emitter", "0.5,0.3,0.5,0.7:4"};
    expectRan(run(joined({channelGrid, "--steps", "40", "--ppm=whole", "--particles-csv", "whole", "--dump-csv",
                          "whole.csv"},
                         particles)),
              "whole");
    expectRan(run(joined({channelGrid, "--steps", "20", "--ppm=parts", "--particles-csv", "parts", "--save-state",
                          "run.state"},
                         particles)),
              "first");
    expectRan(run({"--restart", "run.state", "--steps", "20", "--interval", "7", "--size", "2", "--elements",
                   "boundary,particles", "--ppm=parts", "--particles-csv", "parts", "--dump-csv", "continued.csv"}),
              "continued");
    EXPECT_TRUE(readBytes(at("continued.csv")) == readBytes(at("whole.csv")));
    for (int n = 0; n <= 5; ++n)
        for (const std::string& name : {"/frame_0000" + std::to_string(n) + ".ppm",
                                       "/particles_0000" + std::to_string(n) + ".csv"}) {
            const std::string expected = readBytes(at("whole" + name));
            EXPECT_FALSE(expected.empty()) << name;
            EXPECT_TRUE(readBytes(at("parts" + name)) == expected) << name;
        }
    // Both inflow runs' and the segment's particles are there by the end.
    EXPECT_GT(linesOf(readBytes(at("whole/particles_00005.csv"))).size(), 100u);
}

// SIGTERM ends a long run after its current step with the state saved; the
// state continues like any other.
TEST_F(BatchRestart, SignalStopsAfterTheStepAndSaves)
{
    const std::string script =
        "\"$0\" \"$1\" --steps 1000000000 --save-state stopped.state 2>stopped.err & pid=$!\n"
        "while [ ! -s stopped.err ]; do sleep 0.05; done\n"
        "sleep 0.3; kill -TERM $pid; wait $pid; echo $?";
    const ChildOutcome stopper = runChild("/bin/sh", {"-c", script, batchExe, channelGrid}, scratch, runLimitSeconds);
    ASSERT_TRUE(stopper.endedCleanly()) << stopper.describe();
    EXPECT_EQ(stopper.out, std::to_string(exitStopped) + "\n");
    const std::vector<std::string> lines = linesOf(readBytes(at("stopped.err")));
    ASSERT_FALSE(lines.empty());
    const std::string stoppedPrefix = "kelvo-batch: stopped by a signal after step ";
    ASSERT_EQ(lines.back().rfind(stoppedPrefix, 0), 0u) << lines.back();
    const long long stoppedAt = std::stoll(lines.back().substr(stoppedPrefix.size()));
    ASSERT_GT(stoppedAt, 0);

    expectRan(run({"--restart", "stopped.state", "--steps", "30", "--dump-csv", "continued.csv"}), "continued");
    expectRan(run({channelGrid, "--steps", std::to_string(stoppedAt + 30), "--dump-csv", "whole.csv"}), "whole");
    EXPECT_TRUE(readBytes(at("continued.csv")) == readBytes(at("whole.csv")));
}

// Every refused state: one line naming the problem, status 1, and neither
// the dump nor a new state written.
TEST_F(BatchRestart, UnusableStatesAreRefusedBeforeAnythingIsWritten)
{
    expectRan(run({channelGrid, "--steps", "5", "--save-state", "good.state"}), "saving");
    const std::string good = readBytes(at("good.state"));
    ASSERT_GT(good.size(), 1000u);
    std::string flipped = good, otherVersion = good;
    flipped[good.size() / 2] ^= 0x04;
    otherVersion[16] = 4;
    writeBytes(at("short.state"), good.substr(0, good.size() - 8));
    writeBytes(at("flipped.state"), flipped);
    writeBytes(at("version.state"), otherVersion);
    writeBytes(at("grid.state"), readBytes(channelGrid));

    struct Case {
        const char* what;
        std::vector<std::string> args;
        const char* mention;
    };
    const Case cases[] = {
        {"short file", {"--restart", "short.state"}, "cut short"},
        {"flipped byte", {"--restart", "flipped.state"}, "checksum"},
        {"other version", {"--restart", "version.state"}, "another version"},
        {"a grid file", {"--restart", "grid.state"}, "not a state file"},
        {"other grid", {"--restart", "good.state", cavityGrid}, "is not the grid of the state file"},
        {"missing file", {"--restart", "missing.state"}, "cannot read state file 'missing.state'"},
    };
    for (const Case& c : cases) {
        const ChildOutcome o = run(joined(c.args, {"--dump-csv", "out.csv", "--save-state", "new.state",
                                                   "--history", "history.csv"}));
        expectRefusal(o, exitRunFailed, c.mention, c.what);
        EXPECT_FALSE(exists(at("out.csv")) || exists(at("new.state")) || exists(at("history.csv"))) << c.what;
    }
    EXPECT_EQ(readBytes(at("good.state")), good);
}

// A run that blew up leaves no state, as it leaves no dump.
TEST_F(BatchRestart, BlownUpRunSavesNoState)
{
    const ChildOutcome o = run({channelGrid, "--dt", "0.5", "--steps", "50", "--save-state", "broken.state"});
    expectBlewUp(o, "dt 0.5");
    EXPECT_FALSE(exists(at("broken.state")));
}
