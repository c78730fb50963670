// The built kelvo-batch, run as a user runs it.
#include "cli/batch_options.h"
#include "sim/batch_run.h"
#include "io/csv_dump.h"
#include "io/grid_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

const std::string batchExe = KELVO_BATCH_EXE;
const std::string gridsDir = KELVO_GRIDS_DIR;

struct Outcome {
    int status = -1;  // exit status, -1 when the program did not exit normally
    std::string out;
    std::string err;
};

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string quoted(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs kelvo-batch with args; tag keeps the capture files of tests apart.
Outcome runBatch(const std::string& tag, const std::vector<std::string>& args)
{
    const std::string outPath = "cli_" + tag + ".out";
    const std::string errPath = "cli_" + tag + ".err";
    std::string command = quoted(batchExe);
    for (const std::string& a : args)
        command += " " + quoted(a);
    command += " >" + outPath + " 2>" + errPath + " </dev/null";
    const int raw = std::system(command.c_str());
    Outcome o;
    if (raw != -1 && WIFEXITED(raw))
        o.status = WEXITSTATUS(raw);
    o.out = readText(outPath);
    o.err = readText(errPath);
    return o;
}

int lineCount(const std::string& text)
{
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

// The CSV an in-process run of the same file gives after extra steps.
std::string inProcessCsv(const std::string& gridFile, long long steps)
{
    Grid grid;
    GridFileSettings settings;
    EXPECT_EQ(readGridFile(gridFile, grid, settings), GridFileStatus::Ok);
    BatchOptions options;
    options.dt = 0.003;
    BatchRun run(grid, resolveParameters(options, settings));
    for (long long n = 0; n < steps; ++n)
        run.advance();
    std::FILE* f = std::tmpfile();
    EXPECT_TRUE(writeCsv(f, run.state()));
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(f);
    return text;
}

// A refused run: non-zero exit, exactly one line on stderr, nothing on stdout.
void expectOneLineFailure(const std::string& tag, const std::vector<std::string>& args,
                          int status)
{
    const Outcome o = runBatch(tag, args);
    EXPECT_EQ(o.status, status) << tag;
    EXPECT_EQ(lineCount(o.err), 1) << tag << ": " << o.err;
    EXPECT_EQ(o.err.rfind("kelvo-batch: ", 0), 0u) << tag << ": " << o.err;
    EXPECT_TRUE(o.out.empty()) << tag;
}

}  // namespace

TEST(BatchCli, ChannelRunDumpsEveryCell)
{
    const Outcome o = runBatch("channel", {gridsDir + "/channel.grid", "--steps", "20",
                                           "--dump-csv", "channel.csv"});
    ASSERT_EQ(o.status, 0) << o.err;
    const std::string csv = readText("channel.csv");
    EXPECT_EQ(lineCount(csv), 40 * 20 + 1);
    EXPECT_EQ(csv.rfind("i,j,flags,u,v,p\n0,0,", 0), 0u);
    EXPECT_NE(o.err.find("20 steps after the build step"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("all fields stayed finite"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("never hit its cap"), std::string::npos) << o.err;
    EXPECT_EQ(csv, inProcessCsv(gridsDir + "/channel.grid", 20));
}

TEST(BatchCli, SameRunTwiceGivesIdenticalBytes)
{
    const std::vector<std::string> common = {gridsDir + "/step.grid", "--steps", "30"};
    std::vector<std::string> first = common, second = common;
    first.insert(first.end(), {"--dump-csv", "twice_a.csv"});
    second.insert(second.end(), {"--dump-csv", "twice_b.csv"});
    ASSERT_EQ(runBatch("twice_a", first).status, 0);
    ASSERT_EQ(runBatch("twice_b", second).status, 0);
    const std::string a = readText("twice_a.csv");
    EXPECT_EQ(lineCount(a), 60 * 20 + 1);
    EXPECT_EQ(a, readText("twice_b.csv"));
}

TEST(BatchCli, ZeroStepsDumpsTheStateAfterTheBuildStep)
{
    const Outcome o = runBatch("zero", {gridsDir + "/cavity.grid", "--steps", "0", "--dump-csv", "-"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, inProcessCsv(gridsDir + "/cavity.grid", 0));
    EXPECT_NE(o.out, inProcessCsv(gridsDir + "/cavity.grid", 1));
    // The moving lid has already dragged the fluid below it.
    EXPECT_NE(o.out.find("\n10,18,1,"), std::string::npos);
    EXPECT_EQ(o.out.find("\n10,18,1,0,"), std::string::npos) << "u under the lid still 0";
}

TEST(BatchCli, CommandLineValuesOverrideTheFile)
{
    // The channel file holds Re 100 and default U 1.
    const std::string grid = gridsDir + "/channel.grid";
    ASSERT_EQ(runBatch("ov_file", {grid, "--steps", "5", "--dump-csv", "ov_file.csv"}).status, 0);
    ASSERT_EQ(runBatch("ov_same", {grid, "--steps", "5", "--re", "100", "--default-u", "1",
                                   "--default-v", "0", "--dt", "0.003", "--dump-csv", "ov_same.csv"})
                  .status,
              0);
    ASSERT_EQ(runBatch("ov_re", {grid, "--steps", "5", "--re", "50", "--dump-csv", "ov_re.csv"}).status, 0);
    ASSERT_EQ(runBatch("ov_u", {grid, "--steps", "5", "--default-u", "0", "--dump-csv", "ov_u.csv"}).status, 0);
    ASSERT_EQ(runBatch("ov_dt", {grid, "--steps", "5", "--dt", "0.002", "--dump-csv", "ov_dt.csv"}).status, 0);
    const std::string file = readText("ov_file.csv");
    EXPECT_EQ(file, readText("ov_same.csv"));
    EXPECT_NE(file, readText("ov_re.csv"));
    EXPECT_NE(file, readText("ov_u.csv"));
    EXPECT_NE(file, readText("ov_dt.csv"));
}

// A Reynolds number with decimals, from the command line or a version-2
// file, runs as it is and is reported with every digit; a whole one still
// prints without a decimal point.
TEST(BatchCli, FractionalReynoldsNumbersRunAsGiven)
{
    Grid channel;
    GridFileSettings settings;
    ASSERT_EQ(readGridFile(gridsDir + "/channel.grid", channel, settings), GridFileStatus::Ok);
    settings.reynolds = 100.25;
    ASSERT_TRUE(saveGridFile("re_fraction.grid", channel, settings));

    const Outcome stored =
        runBatch("re_stored", {"re_fraction.grid", "--steps", "3", "--dump-csv", "re_stored.csv", "--summary-json",
                               "re_stored.json"});
    ASSERT_EQ(stored.status, 0) << stored.err;
    EXPECT_NE(stored.err.find(", Re 100.25, dt 0.003,"), std::string::npos) << stored.err;
    EXPECT_NE(readText("re_stored.json").find("\"reynolds\": 100.25,"), std::string::npos);

    const Outcome given = runBatch("re_given", {gridsDir + "/channel.grid", "--steps", "3", "--re", "100.25",
                                                "--dump-csv", "re_given.csv"});
    ASSERT_EQ(given.status, 0) << given.err;
    EXPECT_EQ(readText("re_given.csv"), readText("re_stored.csv"));

    const Outcome whole = runBatch("re_whole", {gridsDir + "/channel.grid", "--steps", "3", "--dump-csv",
                                                "re_whole.csv", "--summary-json", "re_whole.json"});
    ASSERT_EQ(whole.status, 0) << whole.err;
    EXPECT_NE(whole.err.find(", Re 100, dt 0.003,"), std::string::npos) << whole.err;
    EXPECT_NE(readText("re_whole.json").find("\"reynolds\": 100,"), std::string::npos);
    EXPECT_NE(readText("re_whole.csv"), readText("re_stored.csv"));

    const Outcome digits = runBatch("re_digits", {gridsDir + "/channel.grid", "--steps", "0", "--re",
                                                  "816.6666666666666", "--summary-json", "re_digits.json"});
    ASSERT_EQ(digits.status, 0) << digits.err;
    EXPECT_NE(digits.err.find(", Re 816.6666666666666, "), std::string::npos) << digits.err;
    EXPECT_NE(readText("re_digits.json").find("\"reynolds\": 816.6666666666666,"), std::string::npos);
}

TEST(BatchCli, BadArgumentsGiveOneLineAndStatusTwo)
{
    const std::string grid = gridsDir + "/channel.grid";
    expectOneLineFailure("noargs", {}, 2);
    expectOneLineFailure("unknown", {grid, "--frames"}, 2);
    expectOneLineFailure("partial", {grid, "--steps", "10k"}, 2);
    expectOneLineFailure("nan_dt", {grid, "--dt", "nan"}, 2);
    expectOneLineFailure("negative_re", {grid, "--re", "-100"}, 2);
    expectOneLineFailure("two_files", {grid, grid}, 2);
}

TEST(BatchCli, BadFilesGiveOneLineAndStatusOne)
{
    expectOneLineFailure("nofile", {"no_such.grid"}, 1);
    expectOneLineFailure("directory", {gridsDir}, 1);
    {
        std::ofstream("not_a_grid.grid") << "hello\n";
    }
    expectOneLineFailure("notgrid", {"not_a_grid.grid"}, 1);
    const std::string full = readText(gridsDir + "/cavity.grid");
    {
        std::ofstream("truncated.grid", std::ios::binary) << full.substr(0, full.size() - 2);
    }
    expectOneLineFailure("truncated", {"truncated.grid"}, 1);

    const Outcome o = runBatch("baddump", {gridsDir + "/cavity.grid", "--steps", "1", "--dump-csv",
                                           "no_such_dir/x.csv"});
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("cannot write the dump"), std::string::npos) << o.err;
}

// The channel example with a time step ten times the stable one blows up,
// is caught at once and leaves no dump; the automatic time step runs
// through and reports the steps it took.
TEST(BatchCli, BlowUpStopsWithStatusThreeAndAutomaticStepDoesNot)
{
    const std::string channel = gridsDir + "/channel.grid";
    std::remove("cli_blowup.csv");
    const Outcome broken =
        runBatch("blowup", {channel, "--convection", "central", "--dt", "0.05", "--steps", "600", "--dump-csv",
                            "cli_blowup.csv"});
    EXPECT_EQ(broken.status, 3) << broken.err;
    // Re 100, set-up speed 1: 0.5 min(0.0625, 0.05, 0.05, 2 / (100 (1 + 1))).
    const std::string said = "kelvo-batch: The flow became unstable at cycle ";
    const std::string advice = ". Use a smaller Delta Time (about 0.005 or less for this grid) or tick Automatic.\n";
    const std::size_t lastLine = broken.err.rfind('\n', broken.err.size() - 2) + 1;
    EXPECT_EQ(broken.err.compare(lastLine, said.size(), said), 0) << broken.err;
    EXPECT_NE(broken.err.find(advice), std::string::npos) << broken.err;
    EXPECT_FALSE(std::ifstream("cli_blowup.csv").good());

    const Outcome automatic = runBatch("auto", {channel, "--dt", "auto", "--steps", "600"});
    EXPECT_EQ(automatic.status, 0) << automatic.err;
    EXPECT_NE(automatic.err.find("dt auto, rk3 convection"), std::string::npos) << automatic.err;
    EXPECT_NE(automatic.err.find(", dt from 0."), std::string::npos) << automatic.err;
}

// --until-steady stops as soon as a step changes nothing by more than EPS,
// and says which limit ended the run.
TEST(BatchCli, UntilSteadyStopsEarlyAndSaysWhy)
{
    const std::string cavity = gridsDir + "/cavity.grid";
    const Outcome steady = runBatch("steady", {cavity, "--dt", "auto", "--until-steady", "1e-5", "--steps", "100000"});
    EXPECT_EQ(steady.status, 0) << steady.err;
    EXPECT_NE(steady.err.find("stopped at a steady state; largest change of u or v in the last step "),
              std::string::npos)
        << steady.err;
    const Outcome capped = runBatch("capped", {cavity, "--dt", "auto", "--until-steady", "1e-5", "--steps", "50"});
    EXPECT_NE(capped.err.find("50 steps after the build step"), std::string::npos) << capped.err;
    EXPECT_NE(capped.err.find("stopped after --steps steps"), std::string::npos) << capped.err;
}

// --until-time ends the run with the step that reaches or passes T (the
// channel's dt 0.003 is held as 0.0030000000260770321, so ten steps, the
// build step included, pass 0.03); --steps stays the limit; a restart
// counts the saved run's time.
TEST(BatchCli, UntilTimeStopsWithTheStepThatReachesIt)
{
    const std::string channel = gridsDir + "/channel.grid";
    ASSERT_EQ(runBatch("time_saved", {channel, "--steps", "5", "--save-state", "time_saved.state"}).status, 0);
    struct Case {
        std::vector<std::string> args;
        const char* steps;    // the summary's count after the build step
        const char* stopped;  // "stopped" of the summary file
        const char* line;     // the summary's line of why it stopped; "" for none
    };
    const Case cases[] = {
        {{channel, "--until-time", "0.03", "--steps", "1000"}, "9 steps after", "until-time",
         "stopped at --until-time 0.03: simulated time 0.03\n"},
        {{channel, "--until-time", "0.03", "--steps", "4"}, "4 steps after", "step-limit",
         "stopped after --steps steps\n"},
        {{channel, "--until-time", "0.001", "--steps", "1000"}, "0 steps after", "until-time",
         "stopped at --until-time 0.001: simulated time 0.003\n"},
        {{channel, "--steps", "3"}, "3 steps after", "step-limit", ""},
        {{"--restart", "time_saved.state", "--until-time", "0.03", "--steps", "1000"}, "9 steps after",
         "until-time", "stopped at --until-time 0.03: simulated time 0.03\n"},
        {{"--restart", "time_saved.state", "--until-time", "0.01", "--steps", "1000"}, "5 steps after",
         "until-time", "stopped at --until-time 0.01: simulated time 0.018\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--summary-json", "time.json"});
        const Outcome o = runBatch("time", args);
        ASSERT_EQ(o.status, 0) << o.err;
        EXPECT_NE(o.err.find(c.steps), std::string::npos) << o.err;
        if (*c.line) {
            EXPECT_NE(o.err.find(std::string("\nkelvo-batch: ") + c.line), std::string::npos) << o.err;
        } else {
            EXPECT_EQ(o.err.find("kelvo-batch: stopped"), std::string::npos) << o.err;
        }
        EXPECT_NE(readText("time.json").find(std::string("\"stopped\": \"") + c.stopped + "\""), std::string::npos)
            << o.err;
    }
}

// The channel with a field of its own in the fluid cells (u = 0.5 + j/50,
// v = 0.1; the file's default velocity is (1, 0)), saved with and without
// the choice to start from it. One step of kelvo-batch must give what one
// step of a solver built from the stored field, or from the default
// velocities, gives.
TEST(BatchCli, InitialFieldFromTheFileOrTheDefaultVelocities)
{
    Grid channel;
    GridFileSettings settings;
    ASSERT_EQ(readGridFile(gridsDir + "/channel.grid", channel, settings), GridFileStatus::Ok);
    forEachDefaultVelocityCell(channel, [&channel](int32_t i, int32_t j) {
        channel.u[i][j] = 0.5 + j / 50.0;
        channel.v[i][j] = 0.1;
    });
    settings.startsFromStoredField = true;
    ASSERT_TRUE(saveGridFile("field_kept.grid", channel, settings));
    settings.startsFromStoredField = false;
    ASSERT_TRUE(saveGridFile("field_default.grid", channel, settings));

    // One step of a solver built straight from a grid.
    const auto oneStep = [](const Grid& grid) {
        std::FILE* f = std::tmpfile();
        const std::unique_ptr<FlowSolver> solver = buildSolver(grid, 100, 0.003);
        solver->step();
        EXPECT_TRUE(writeCsv(f, solver->state()));
        std::rewind(f);
        std::string text;
        for (int c; (c = std::fgetc(f)) != EOF;)
            text += static_cast<char>(c);
        std::fclose(f);
        return text;
    };
    const std::string fromStored = oneStep(channel);
    Grid defaults;
    copyGridArrays(channel, defaults);
    writeDefaultVelocities(defaults, 1.0, 0.0);
    const std::string fromDefaults = oneStep(defaults);
    ASSERT_NE(fromStored, fromDefaults);

    struct Case {
        std::vector<std::string> args;
        bool stored;
    };
    const Case cases[] = {
        {{"field_kept.grid"}, true},
        {{"field_kept.grid", "--initial-field", "default"}, false},
        {{"field_default.grid"}, false},
        {{"field_default.grid", "--initial-field", "file"}, true},
        {{gridsDir + "/channel.grid", "--initial-field", "default"}, false},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        // The forward-Euler central step, as buildSolver makes it.
        args.insert(args.end(), {"--convection", "central", "--steps", "0", "--dump-csv", "-"});
        const Outcome o = runBatch("field", args);
        ASSERT_EQ(o.status, 0) << o.err;
        if (c.args[0] != gridsDir + "/channel.grid") {
            EXPECT_TRUE(o.out == (c.stored ? fromStored : fromDefaults)) << c.args[0] << " " << c.args.back();
        }
        EXPECT_EQ(o.err.find(c.stored ? "starting from the file's velocities\n" : "default velocity (1, 0)\n") !=
                      std::string::npos,
                  true)
            << o.err;
    }
    expectOneLineFailure("field_junk", {"field_kept.grid", "--initial-field", "stored"}, 2);
    expectOneLineFailure("field_restart", {"--restart", "x.state", "--initial-field", "file"}, 2);
}

TEST(BatchCli, HelpGoesToStdout)
{
    const Outcome o = runBatch("help", {"--help"});
    EXPECT_EQ(o.status, 0);
    EXPECT_NE(o.out.find("usage: kelvo-batch GRIDFILE"), std::string::npos);
    EXPECT_TRUE(o.err.empty());
}

// Probes, history and summary of a channel run: a probe at a cell centre
// reads that cell's p of the dump; the history has its header and a line
// every N-th step; the JSON names the post and the probe.
TEST(BatchCli, MeasurementsFollowTheDump)
{
    const Outcome o = runBatch("measure", {gridsDir + "/channel.grid", "--steps", "20", "--dump-csv", "measure.csv",
                                           "--probe", "0.525,0.525", "--history", "measure_history.csv",
                                           "--history-every", "5", "--summary-json", "measure.json"});
    ASSERT_EQ(o.status, 0) << o.err;
    const std::string csv = readText("measure.csv");
    const size_t row = csv.find("\n10,10,");
    ASSERT_NE(row, std::string::npos);
    const std::string cell = csv.substr(row + 1, csv.find('\n', row + 1) - row - 1);
    const std::string p = cell.substr(cell.rfind(',') + 1);
    const std::string json = readText("measure.json");
    EXPECT_NE(json.find("\"x\": 0.525, \"y\": 0.525"), std::string::npos) << json;
    EXPECT_NEAR(std::stod(json.substr(json.find("\"p\": ", json.find("\"probes\"")) + 5)), std::stod(p), 1e-8);
    EXPECT_NE(json.find("\"steps\": 20"), std::string::npos) << json;
    EXPECT_NE(json.find("\"cells\": 16"), std::string::npos) << json;  // the post of the channel
    const std::string history = readText("measure_history.csv");
    EXPECT_EQ(lineCount(history), 1 + 4);
    EXPECT_EQ(history.rfind("step,t,dt,sweeps,max_speed,kinetic_energy,max_divergence,body1_cd,", 0), 0u);
    EXPECT_NE(history.find("\n20,"), std::string::npos);
    EXPECT_NE(o.err.find("body1 (16 cells): C_D"), std::string::npos) << o.err;

    const std::string grid = gridsDir + "/channel.grid";
    // With multigrid the iterations column counts its cycles.
    ASSERT_EQ(runBatch("measure_mg", {grid, "--steps", "3", "--pressure", "multigrid", "--history", "mg.csv"}).status, 0);
    std::istringstream mgLines(readText("mg.csv"));
    std::string line;
    std::getline(mgLines, line);
    for (int step = 1; step <= 3; ++step) {
        ASSERT_TRUE(std::getline(mgLines, line));
        std::istringstream fields(line);
        std::string field;
        for (int column = 0; column < 4; ++column)
            std::getline(fields, field, ',');
        EXPECT_GE(std::stoi(field), 1) << line;
    }
    for (const std::vector<std::string>& bad : {std::vector<std::string>{grid, "--probe", "1"},
                                                {grid, "--history-every", "0"}, {grid, "--ref-speed", "-1"}})
        expectOneLineFailure("measure_bad", bad, 2);
}
