// Gathering the runs' summaries into one table.
#pragma once

#include "cli/sweep_table.h"

#include <string>

// What summary.csv takes from one summary.json: the numbers as written
// there, "" for null or missing ones.
struct RunFigures {
    std::string steps;
    std::string time;
    // The first body (the largest; "walls" when there is no body).
    std::string cdMean, clMean, cdAmplitude, clAmplitude, strouhal;
};

// Reads the fields above from kelvo-batch's --summary-json text; false when
// the text has no "steps" or no "bodies" list.
bool parseRunFigures(const std::string& json, RunFigures& figures);

// summary.csv: a header, then per row of the table its name, the table's
// other columns, status, steps_run (as the summary counts them; the table
// may have its own steps column), time, cd_mean, cl_mean, cd_amplitude,
// cl_amplitude and strouhal. Status is "ok" (exit 0 and a summary),
// "exit N" (kelvo-batch ended with N) or "failed" (no summary: the run did
// not start, was killed, or could not be read). ok counts the "ok" rows.
std::string mergeSummaries(const SweepTable& table, const std::string& outDirectory, int& ok);
