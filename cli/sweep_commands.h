// Turning the rows of a sweep table into kelvo-batch command lines.
#pragma once

#include "cli/sweep_table.h"

#include <string>
#include <vector>

struct SweepRun {
    std::string name;                    // also the name of its folder
    int line = 0;                        // of the table, for messages
    std::vector<std::string> arguments;  // kelvo-batch's, without the program
};

// Names become folder names: not empty, no '/', not "." or "..", no control
// characters. False with a reason.
bool checkRunName(const std::string& name, std::string& error);

// kelvo-batch's arguments for one row. `grid` is the grid argument, relative
// to tableDirectory unless absolute; `probe` holds points separated by ';',
// one --probe each; any other column COLUMN becomes --COLUMN VALUE. An empty
// cell leaves its option out. --summary-json runDirectory/summary.json comes
// last.
std::vector<std::string> batchArguments(const SweepTable& table, const SweepRow& row,
                                        const std::string& tableDirectory, const std::string& runDirectory);

// Every row as a run, checked before anything starts: names valid and
// unique, the columns' options accepted by kelvo-batch's own parser. False
// with "line N: reason" at the first fault.
bool buildSweepRuns(const SweepTable& table, const std::string& tableDirectory, const std::string& outDirectory,
                    std::vector<SweepRun>& runs, std::string& error);

// The text in single quotes for a POSIX shell, each ' written as '\''.
std::string shellQuote(const std::string& text);

// One line of the command file: makes the run's folder, runs kelvo-batch in
// it with stdout and stderr into log.txt, and keeps its exit status in
// exit_status, ending with the same status.
std::string runCommandLine(const std::string& batchProgram, const SweepRun& run, const std::string& outDirectory);

// outDirectory/name.
std::string runDirectory(const std::string& outDirectory, const std::string& name);
