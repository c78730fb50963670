// kelvo-batch run in a scratch directory, and the rules its answers to bad
// input must follow.
#pragma once

#include "child_process.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hostile {

// Seconds any single run may take before it counts as a hang.
constexpr double runLimitSeconds = 20.0;
// Longest message line that still reads as a clear one-line refusal.
constexpr std::size_t longestClearLine = 200;

// Exit statuses of kelvo-batch.
constexpr int exitOk = 0;
constexpr int exitRunFailed = 1;
constexpr int exitUsage = 2;
constexpr int exitUnstable = 3;

// The values every option that takes one is tried with.
std::vector<std::string> hostileValues();

// A small example grid (20 x 20) that runs fast.
std::string smallGrid();

// Each test runs the program in its own scratch directory.
class BatchProbe : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // kelvo-batch with args, in the scratch directory.
    ChildOutcome run(const std::vector<std::string>& args) const;

    // The options the usage text lists with a value, e.g. "--steps".
    std::vector<std::string> valueOptions() const;

    std::string scratch;
};

// Lines of stderr, without their line feeds.
std::vector<std::string> linesOf(const std::string& text);

// Refused with status, one short line on stderr naming what was wrong,
// nothing on stdout. what says which run this was.
void expectRefusal(const ChildOutcome& o, int status, const std::string& mention,
                   const std::string& what);

// Ran to the end (status 0) without a crash or sanitizer report.
void expectRan(const ChildOutcome& o, const std::string& what);

// Whatever it decided, it ended in time, cleanly, and with the status
// telling the truth: 0, a one-line usage refusal, or a failed run whose last
// line says why.
// A run stopped by a blow-up: status 3, the instability message last.
void expectBlewUp(const ChildOutcome& o, const std::string& what);

void expectHonestEnd(const ChildOutcome& o, const std::string& what);

}  // namespace hostile
