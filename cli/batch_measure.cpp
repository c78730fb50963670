#include "cli/batch_measure.h"

#include "cli/stop_request.h"

BatchMeasure::BatchMeasure(const MeasureOptions& options, const BatchRun& run, double reynolds, std::string& error)
    : options(options), measurements(run.state(), reynolds, options.scales, options.probes)
{
    if (options.historyPath.empty())
        return;
    history = std::fopen(options.historyPath.c_str(), "w");
    if (!history)
        error = "cannot write the history to '" + options.historyPath + "'";
    else
        std::fputs(historyHeader(measurements).c_str(), history);
}

BatchMeasure::~BatchMeasure()
{
    if (history) std::fclose(history);
}

void BatchMeasure::record(const BatchRun& run, long long step)
{
    const double t = run.tally().simulatedTime;
    measurements.record(run.state(), t);
    if (history && step % options.historyEvery == 0) {
        const StepReport& report = run.lastStep();
        std::fputs(historyLine(measurements, step, t, report.dt, report.sweeps + report.cycles,
                               flowFigures(run.state())).c_str(),
                   history);
    }
}

bool BatchMeasure::finish(const BatchRun& run, std::string& error)
{
    std::fputs(summaryText(measurements).c_str(), stderr);
    for (size_t k = 0; k < measurements.probes().size(); ++k) {
        const ProbePoint& at = measurements.probes()[k];
        const ProbeValues& v = measurements.probeValues()[k];
        std::fprintf(stderr, "kelvo-batch: probe %zu at (%g, %g): u %.6g, v %.6g, p %.6g\n", k + 1, at.x, at.y, v.u,
                     v.v, v.p);
    }
    if (history && std::fclose(history) != 0)
        error = "cannot write the history to '" + options.historyPath + "'";
    history = nullptr;
    if (options.summaryJsonPath.empty())
        return error.empty();
    std::FILE* file = std::fopen(options.summaryJsonPath.c_str(), "w");
    const std::string json = summaryJson(measurements, run.tally().steps, run.tally().simulatedTime,
                                         stopRequested() && !run.finished() ? "signal" : run.stopReason());
    if (!file || std::fputs(json.c_str(), file) < 0 || std::fclose(file) != 0)
        error = "cannot write the summary to '" + options.summaryJsonPath + "'";
    return error.empty();
}
