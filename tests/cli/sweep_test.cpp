// kelvo-sweep's parts: the table, the command lines, the Slurm script and
// the merge of the runs' summaries.
#include "cli/sweep_commands.h"
#include "cli/sweep_merge.h"
#include "cli/sweep_slurm.h"
#include "cli/sweep_table.h"

#include "child_process.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace {

struct TableCase {
    const char* text;
    bool accepted;
    const char* errorPart;  // for refusals: part of the reason
    size_t rows;
    const char* lastCell;   // last cell of the last row, when accepted
};

TEST(SweepTable, ParsesQuotesEmptyCellsAndLineEnds)
{
    const TableCase cases[] = {
        {"name,re\na,100\nb,200\n", true, "", 2, "200"},
        {"name,re\r\na,100\r\nb,\r\n", true, "", 2, ""},
        {"name,probe\na,\"1,2;3,4\"\n", true, "", 1, "1,2;3,4"},
        {"name,grid\na,\"say \"\"hi\"\".grid\"", true, "", 1, "say \"hi\".grid"},
        {" name , re \n\n# off for now\n#b,1\na,5\n", true, "", 1, "5"},
        {"name,re\n", true, "", 0, ""},
        {"\xEF\xBB\xBFname,re\r\na,1\r\n", true, "", 1, "1"},
        {"", false, "no header", 0, ""},
        {"grid,re\nx,1\n", false, "no 'name' column", 0, ""},
        {"name,re,re\n", false, "'re' appears twice", 0, ""},
        {"name,,re\n", false, "line 1: column 2 has no name", 0, ""},
        {"name,re\na,1\nb\n", false, "line 3: 1 values for 2 columns", 0, ""},
        {"name,re\na,1,2\n", false, "line 2: 3 values", 0, ""},
        {"name,grid\na,\"x\ny\"\n", false, "line 2: a quoted value runs past", 0, ""},
        {"name,grid\na,\"x\"y\n", false, "text after a closing quote", 0, ""},
        {"name,grid\na,x\"y\n", false, "a quote inside an unquoted value", 0, ""},
    };
    for (const TableCase& c : cases) {
        SweepTable table;
        std::string error;
        const bool accepted = parseSweepTable(c.text, table, error);
        ASSERT_EQ(accepted, c.accepted) << c.text << " -> " << error;
        if (!accepted) {
            EXPECT_NE(error.find(c.errorPart), std::string::npos) << c.text << " -> " << error;
            continue;
        }
        ASSERT_EQ(table.rows.size(), c.rows) << c.text;
        EXPECT_EQ(table.columns[0], "name") << c.text;
        if (c.rows > 0) {
            EXPECT_EQ(table.rows.back().cells.back(), c.lastCell) << c.text;
        }
    }
}

TEST(SweepTable, RowsKeepTheirLineNumbers)
{
    SweepTable table;
    std::string error;
    ASSERT_TRUE(parseSweepTable("# sweep\nname,re\n\na,1\n# b,2\nc,3\n", table, error)) << error;
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[0].line, 4);
    EXPECT_EQ(table.rows[1].line, 6);
}

TEST(SweepTable, CsvFieldsComeBackAsWritten)
{
    for (const std::string value : {"plain", "a,b", "say \"hi\"", "", "x\ny"}) {
        SweepTable table;
        std::string error;
        const std::string text = "name,v\nr," + csvField(value) + "\n";
        if (value.find('\n') != std::string::npos) {
            EXPECT_FALSE(parseSweepTable(text, table, error));
            continue;
        }
        ASSERT_TRUE(parseSweepTable(text, table, error)) << error;
        EXPECT_EQ(table.rows[0].cells[1], value);
    }
}

TEST(SweepNames, RefusesWhatCannotBeAFolder)
{
    const struct {
        const char* name;
        bool valid;
    } cases[] = {
        {"re100", true}, {"Re 100 (fine)", true}, {"a.b", true}, {"", false},
        {".", false},    {"..", false},           {"a/b", false}, {"../x", false}, {"tab\there", false},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(checkRunName(c.name, error), c.valid) << c.name << ": " << error;
        EXPECT_EQ(error.empty(), c.valid) << c.name;
    }
}

SweepTable parsed(const std::string& text)
{
    SweepTable table;
    std::string error;
    EXPECT_TRUE(parseSweepTable(text, table, error)) << error;
    return table;
}

TEST(SweepCommands, ColumnsBecomeBatchArguments)
{
    const struct {
        const char* row;
        std::vector<std::string> expected;
    } cases[] = {
        {"a,g.grid,100,auto,,", {"/t/g.grid", "--re", "100", "--dt", "auto", "--summary-json", "/o/a/summary.json"}},
        {"e,g.grid,816.67,,,", {"/t/g.grid", "--re", "816.67", "--summary-json", "/o/e/summary.json"}},
        {"b,/abs/g.grid,,,\"1,0.5\",", {"/abs/g.grid", "--probe", "1,0.5", "--summary-json", "/o/b/summary.json"}},
        {"c,sub/g.grid,,,\"1,0.5; 2,0.25;\",multigrid",
         {"/t/sub/g.grid", "--probe", "1,0.5", "--probe", "2,0.25", "--pressure", "multigrid", "--summary-json",
          "/o/c/summary.json"}},
        {"d,,,,,", {"--summary-json", "/o/d/summary.json"}},
    };
    for (const auto& c : cases) {
        const SweepTable table = parsed(std::string("name,grid,re,dt,probe,pressure\n") + c.row + "\n");
        const SweepRow& row = table.rows[0];
        EXPECT_EQ(batchArguments(table, row, "/t", "/o/" + row.cells[0]), c.expected) << c.row;
    }
}

TEST(SweepCommands, EveryRowIsCheckedBeforeAnythingRuns)
{
    const struct {
        const char* text;
        const char* errorPart;  // "" when accepted
    } cases[] = {
        {"name,grid,re,steps\na,g.grid,100,5\nb,g.grid,200,5\n", ""},
        {"name,grid,re,steps\na,g.grid,816.67,5\nb,g.grid,0.5,5\n", ""},
        {"name,grid,re\na,g.grid,100\nb,g.grid,10x\n", "line 3: --re needs a finite number above 0"},
        {"name,grid,re\na,g.grid,-816.67\n", "line 2: --re needs a finite number above 0"},
        {"name,grid,reynolds\na,g.grid,100\n", "line 2: unknown option '--reynolds'"},
        {"name,grid\na,g.grid\na,h.grid\n", "line 3: the run name 'a' is used twice"},
        {"name,grid\n../up,g.grid\n", "line 2: the run name '../up' holds a '/'"},
        {"name,grid,re\na,,100\n", "line 2: no grid file given"},
        {"name,grid,summary-json\na,g.grid,s.json\n", "'summary-json' is not allowed"},
        {"name,grid\n", "no runs"},
    };
    for (const auto& c : cases) {
        std::vector<SweepRun> runs;
        std::string error;
        const bool accepted = buildSweepRuns(parsed(c.text), "/t", "/o", runs, error);
        EXPECT_EQ(accepted, *c.errorPart == '\0') << c.text << " -> " << error;
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << c.text << " -> " << error;
    }
}

// The shell gives back exactly the words that were quoted.
TEST(SweepCommands, QuotedWordsSurviveTheShell)
{
    const std::vector<std::string> words{"plain", "two words", "it's", "\"q\"", "$HOME", "`id`", "a;b|c&d", "*"};
    std::string line = "printf '%s\\n'";
    for (const std::string& word : words)
        line += " " + shellQuote(word);
    const std::string scratch = makeScratchDirectory();
    const ChildOutcome outcome = runChild("/bin/sh", {"-c", line}, scratch, 10.0);
    removeTree(scratch);
    ASSERT_TRUE(outcome.endedCleanly()) << outcome.describe();
    std::string expected;
    for (const std::string& word : words)
        expected += word + "\n";
    EXPECT_EQ(outcome.out, expected);
}

TEST(SweepSlurm, ArrayHasOneTaskPerRunAndAMergeStep)
{
    const std::string script = slurmArrayScript("/data/re sweep", 5);
    EXPECT_NE(script.find("#SBATCH --array=0-4\n"), std::string::npos);
    EXPECT_NE(script.find("#SBATCH --job-name=kelvo-re_sweep\n"), std::string::npos);
    EXPECT_NE(script.find("#SBATCH --output=/data/re sweep/slurm-%A_%a.out\n"), std::string::npos);
    EXPECT_NE(script.find("'/data/re sweep/commands.txt'"), std::string::npos);
    const std::string submit = slurmSubmitScript("/usr/bin/kelvo-sweep", "/data/re sweep");
    EXPECT_NE(submit.find("sbatch --dependency=afterany:"), std::string::npos);
    EXPECT_NE(submit.find("--wrap ''\\''/usr/bin/kelvo-sweep'\\'' --merge '\\''/data/re sweep'\\'''"),
              std::string::npos)
        << submit;
}

const char* const summaryWithShedding =
    "{\n  \"steps\": 4000,\n  \"time\": 12.5,\n  \"reference_speed\": 1,\n  \"bodies\": [\n"
    "    {\"name\": \"body1\", \"cells\": 25, \"reference_length\": 0.119, \"cd_mean\": 1.5, \"cl_mean\": -0.01, "
    "\"cd_amplitude\": 0.02, \"cl_amplitude\": 0.3, \"frequency\": 1.2, \"strouhal\": 0.143},\n"
    "    {\"name\": \"walls\", \"cells\": 400, \"reference_length\": 1, \"cd_mean\": 9, \"cl_mean\": 9, "
    "\"cd_amplitude\": 9, \"cl_amplitude\": 9, \"frequency\": null, \"strouhal\": 9}\n  ],\n  \"probes\": [\n  ]\n}\n";

const char* const summarySteady =
    "{\n  \"steps\": 100,\n  \"time\": 0.3,\n  \"reference_speed\": 1,\n  \"bodies\": [\n"
    "    {\"name\": \"body1\", \"cells\": 4, \"reference_length\": 0.1, \"cd_mean\": 4.6, \"cl_mean\": 1e-05, "
    "\"cd_amplitude\": 1.05, \"cl_amplitude\": 2e-05, \"frequency\": null, \"strouhal\": null}\n  ],\n"
    "  \"probes\": [\n  ]\n}\n";

TEST(SweepMerge, ReadsTheFirstBodyOfASummary)
{
    RunFigures f;
    ASSERT_TRUE(parseRunFigures(summaryWithShedding, f));
    EXPECT_EQ(f.steps, "4000");
    EXPECT_EQ(f.time, "12.5");
    EXPECT_EQ(f.cdMean, "1.5");
    EXPECT_EQ(f.clMean, "-0.01");
    EXPECT_EQ(f.cdAmplitude, "0.02");
    EXPECT_EQ(f.clAmplitude, "0.3");
    EXPECT_EQ(f.strouhal, "0.143");
    ASSERT_TRUE(parseRunFigures(summarySteady, f));
    EXPECT_EQ(f.cdMean, "4.6");
    EXPECT_EQ(f.strouhal, "");
    const std::string noBodies = "{\"steps\": 3, \"time\": 1, \"bodies\": [], \"probes\": []}";
    ASSERT_TRUE(parseRunFigures(noBodies, f));
    EXPECT_EQ(f.steps, "3");
    EXPECT_EQ(f.cdMean, "");
    EXPECT_FALSE(parseRunFigures("{\"steps\": 3}", f));
    EXPECT_FALSE(parseRunFigures("{\"bodies\": []}", f));
    EXPECT_FALSE(parseRunFigures("", f));
}

void writeRun(const std::string& out, const std::string& name, const char* summary, const char* status)
{
    const std::string folder = out + "/" + name;
    mkdir(folder.c_str(), 0777);
    if (summary)
        std::ofstream(folder + "/summary.json") << summary;
    if (status)
        std::ofstream(folder + "/exit_status") << status;
}

TEST(SweepMerge, OneRowPerRunWithItsStatus)
{
    const std::string out = makeScratchDirectory();
    writeRun(out, "shed", summaryWithShedding, "0\n");
    writeRun(out, "steady", summarySteady, "0\n");
    writeRun(out, "blew up", summarySteady, "3\n");
    writeRun(out, "bad grid", nullptr, "1\n");
    writeRun(out, "killed", nullptr, nullptr);
    const SweepTable table = parsed("re,name,dt\n840,shed,auto\n100,steady,\n9000,blew up,1\n1,bad grid,\n"
                                    "5,killed,\n7,never,\n");
    int ok = -1;
    const std::string csv = mergeSummaries(table, out, ok);
    removeTree(out);
    EXPECT_EQ(ok, 2);
    EXPECT_EQ(csv,
              "name,re,dt,status,steps_run,time,cd_mean,cl_mean,cd_amplitude,cl_amplitude,strouhal\n"
              "shed,840,auto,ok,4000,12.5,1.5,-0.01,0.02,0.3,0.143\n"
              "steady,100,,ok,100,0.3,4.6,1e-05,1.05,2e-05,\n"
              "blew up,9000,1,exit 3,100,0.3,4.6,1e-05,1.05,2e-05,\n"
              "bad grid,1,,exit 1,,,,,,,\n"
              "killed,5,,failed,,,,,,,\n"
              "never,7,,failed,,,,,,,\n");
}

}  // namespace
