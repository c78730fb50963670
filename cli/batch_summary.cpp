// The closing report of kelvo-batch.
#include "cli/batch_summary.h"

#include "io/number_text.h"

#include <cstdio>

namespace {

// Why a run with --until-steady or --until-time stopped; "" without them.
std::string stopLine(const RunTally& tally)
{
    const bool tracked = tally.lastChange >= 0.0;
    if (!tracked && tally.timeLimit < 0.0)
        return "";
    char text[256];
    if (tally.steady)
        std::snprintf(text, sizeof text, "kelvo-batch: stopped at a steady state");
    else if (tally.timeReached)
        std::snprintf(text, sizeof text, "kelvo-batch: stopped at --until-time %s: simulated time %.6g",
                      roundTripText(tally.timeLimit).c_str(), tally.simulatedTime);
    else
        std::snprintf(text, sizeof text, "kelvo-batch: stopped after --steps steps");
    std::string line = text;
    if (tracked) {
        std::snprintf(text, sizeof text, "; largest change of u or v in the last step %.6g", tally.lastChange);
        line += text;
    }
    return line + "\n";
}

}  // namespace

std::string formatSummary(const RunTally& tally, double seconds)
{
    char text[512];
    // The rate of this run's own steps; the counts cover the whole run.
    const double rate = seconds > 0.0 ? static_cast<double>(tally.steps - tally.restoredSteps) / seconds : 0.0;
    const bool multigrid = tally.cycles > 0;
    int n = std::snprintf(text, sizeof text,
                          "kelvo-batch: %lld steps after the build step in %.3f s (%.1f steps/s)\n"
                          "kelvo-batch: %lld %s in all, %.1f per step\n"
                          "kelvo-batch: largest divergence left after a step %.6g\n",
                          tally.steps, seconds, rate, multigrid ? tally.cycles : tally.sweeps,
                          multigrid ? "multigrid cycles" : "pressure sweeps",
                          static_cast<double>(multigrid ? tally.cycles : tally.sweeps) / static_cast<double>(tally.steps + 1),
                          tally.largestDivergence);
    std::string out(text, static_cast<std::size_t>(n));
    if (tally.restoredSteps > 0) {
        std::snprintf(text, sizeof text,
                      "kelvo-batch: continued a saved run after its step %lld: the counts cover the whole run, "
                      "the time and rate this run's %lld steps\n",
                      tally.restoredSteps, tally.steps - tally.restoredSteps);
        out += text;
    }
    if (tally.cappedSteps > 0)
        std::snprintf(text, sizeof text,
                      "kelvo-batch: the pressure iteration hit its sweep cap in %lld steps\n",
                      tally.cappedSteps);
    else
        std::snprintf(text, sizeof text, "kelvo-batch: the pressure iteration never hit its cap\n");
    out += text;
    if (tally.firstNonFiniteStep < 0)
        std::snprintf(text, sizeof text, "kelvo-batch: all fields stayed finite\n");
    else if (tally.firstNonFiniteStep == 0)
        std::snprintf(text, sizeof text,
                      "kelvo-batch: fields became non-finite in the build step\n");
    else
        std::snprintf(text, sizeof text, "kelvo-batch: fields became non-finite at step %lld\n",
                      tally.firstNonFiniteStep);
    out += text;
    std::snprintf(text, sizeof text, "kelvo-batch: simulated time %.6g, dt from %.6g to %.6g\n",
                  tally.simulatedTime, tally.smallestDt, tally.largestDt);
    out += text;
    out += stopLine(tally);
    return out;
}
