// The closing report of kelvo-batch.
#pragma once

#include "sim/batch_run.h"

#include <string>

// The closing report: steps, sweeps, speed, cap, finiteness, simulated
// time and the time steps, and why the run stopped when it tracked changes.
std::string formatSummary(const RunTally& tally, double seconds);
