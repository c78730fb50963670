// kelvo-batch: runs the flow of a grid file or picture without a display.
#include "cli/batch_constants.h"
#include "cli/batch_frames.h"
#include "cli/batch_measure.h"
#include "cli/batch_options.h"
#include "sim/body_options.h"
#include "io/picture_grid.h"
#include "cli/batch_summary.h"
#include "io/csv_dump.h"
#include "io/grid_file.h"
#include "io/number_text.h"
#include "cli/progress_meter.h"
#include "cli/stop_request.h"
#include "io/state_file.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include <unistd.h>

namespace {

// Seconds since construction, from a monotonic clock.
class Stopwatch {
public:
    double seconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

private:
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

// Prints a one-line failure and hands back the status to exit with.
int fail(int status, const std::string& message)
{
    std::fprintf(stderr, "kelvo-batch: %s\n", message.c_str());
    return status;
}

// Loads the grid file; an empty message means success.
std::string loadGrid(const std::string& path, Grid& grid, GridFileSettings& settings)
{
    const GridFileStatus status = readGridFile(path, grid, settings);
    return status == GridFileStatus::Ok ? std::string() : gridFileMessage(status, path);
}

// The cycles after the build step, with progress on stderr; frames, when
// asked for, on every interval-th cycle. Returns seconds; error is set when a
// frame could not be saved, which ends the run.
double runSteps(BatchRun& run, long long steps, int interval, BatchFrames* frames, BatchMeasure* measure,
                std::string& error)
{
    ProgressMeter meter(stderr, steps, isatty(fileno(stderr)) != 0);
    Stopwatch clock;
    for (long long n = 1; n <= steps; ++n) {
        const bool saved = frames ? run.advance(interval, [&](int32_t index) {
            return frames->frame(run.state(), run.simulatedTime(), index, error, &run.particles());
        })
                                  : (run.advance(), true);
        if (measure)
            measure->record(run, run.tally().steps);
        meter.update(n, clock.seconds());
        if (!saved || run.finished() || stopRequested())
            break;
    }
    const double seconds = clock.seconds();
    meter.finish();
    return seconds;
}

// The method as the first report line has always named it.
const char* convectionLabel(Convection convection)
{
    switch (convection) {
    case Convection::Central:
        return "central";
    case Convection::UpwindBlended:
        return "upwind-blended";
    case Convection::Designed:
        return "designed";
    case Convection::RungeKutta:
        break;
    }
    return "rk3";
}

std::string formatNumber(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// Reads the state to continue into saved and grid, checked against the grid
// given with it; an empty message means success.
std::string loadRestart(const BatchOptions& options, Grid& grid, RunState& saved)
{
    const StateFileStatus status = readStateFile(options.restartPath, saved);
    if (status != StateFileStatus::Ok)
        return stateFileMessage(status, options.restartPath);
    if (!options.gridPath.empty() && !sameGrid(grid, saved))
        return "'" + options.gridPath + "' is not the grid of the state file '" + options.restartPath + "'";
    // A state file keeps no outlines: those of the grid file and --body go on.
    std::vector<BodyOutline> outlines = std::move(grid.outlines);
    grid = std::move(saved.edited);
    grid.outlines = std::move(outlines);
    return "";
}

// Writes the run's state; an empty message means success.
std::string saveRunState(const BatchRun& run, const std::string& path)
{
    RunState state;
    run.saveState(state);
    if (!saveStateFile(path, state))
        return "cannot write the state to '" + path + "'";
    std::fprintf(stderr, "kelvo-batch: state after step %lld written to %s\n", run.tally().steps, path.c_str());
    return "";
}

}  // namespace

int main(int argc, char** argv)
{
    BatchOptions options;
    std::string error;
    if (!parseBatchOptions(argc, argv, options, error))
        return fail(batch_constants::exitUsage, error);
    if (options.help) {
        std::fputs(batchUsage().c_str(), stdout);
        return batch_constants::exitOk;
    }

    Grid grid;
    GridFileSettings settings;  // a picture runs with the settings of a new grid
    if (!options.gridPath.empty()) {
        error = options.pictureNX > 0 ? loadPictureGrid(options.gridPath, options.pictureNX, options.pictureNY, grid)
                                      : loadGrid(options.gridPath, grid, settings);
        if (!error.empty())
            return fail(batch_constants::exitRunFailed, error);
    }
    drawBodies(options.bodies, grid);
    applyScalarOptions(options.scalars, grid);
    if (!options.saveGridPath.empty()) {
        if (!saveGridFile(options.saveGridPath, grid, settings))
            return fail(batch_constants::exitRunFailed, "cannot write the grid to '" + options.saveGridPath + "'");
        std::fprintf(stderr, "kelvo-batch: %s, %d x %d cells, written to %s\n", options.gridPath.c_str(), grid.NX,
                     grid.NY, options.saveGridPath.c_str());
        return batch_constants::exitOk;
    }
    RunState saved;
    const bool restarting = !options.restartPath.empty();
    if (restarting && !(error = loadRestart(options, grid, saved)).empty())
        return fail(batch_constants::exitRunFailed, error);

    addOptionEmitters(options.particles, grid);
    const RunParameters parameters = restarting ? resolveRestartParameters(options, saved.settings)
                                                : resolveParameters(options, settings);
    const std::string dtText = parameters.automaticDt ? std::string("auto") : formatNumber(parameters.dt);
    const std::string& source = restarting ? options.restartPath : options.gridPath;
    std::fprintf(stderr, "kelvo-batch: %s, %d x %d cells, Re %s, dt %s, %s convection, ", source.c_str(), grid.NX,
                 grid.NY, roundTripText(parameters.reynolds).c_str(), dtText.c_str(),
                 convectionLabel(parameters.convection));
    if (restarting)
        std::fprintf(stderr, "continuing after step %lld\n", static_cast<long long>(saved.counters.steps));
    else if (parameters.startFromStoredField)
        std::fprintf(stderr, "starting from the file's velocities\n");
    else
        std::fprintf(stderr, "default velocity (%g, %g)\n", parameters.defaultU, parameters.defaultV);
    if (!options.saveStatePath.empty())
        catchStopSignals();

    std::unique_ptr<BatchRun> started = restarting
                                            ? std::make_unique<BatchRun>(grid, parameters, saved, options.untilSteady,
                                                                         options.untilTime)
                                            : std::make_unique<BatchRun>(grid, parameters, options.untilSteady,
                                                                         options.untilTime);
    BatchRun& run = *started;
    run.setParticleCap(options.particles.cap);
    std::unique_ptr<BatchFrames> frames;
    if (options.writesFrames()) {
        frames = std::make_unique<BatchFrames>(options, grid);
        // The title sequence and fade-in take seconds on large pictures.
        if (!options.aviPath.empty())
            std::fprintf(stderr, "kelvo-batch: writing the title sequence of the animation...\n");
        if (!frames->open(error))
            return fail(batch_constants::exitRunFailed, error);
        frames->continueFrom(run.frames());
    }
    std::unique_ptr<BatchMeasure> measure;
    if (options.measure.any()) {
        measure = std::make_unique<BatchMeasure>(options.measure, run, parameters.reynolds, error);
        if (!error.empty())
            return fail(batch_constants::exitRunFailed, error);
        measure->setWallsOnFaces(wallsOnFaces(parameters.convection));
    }
    // The build step alone, or a saved run, may already have reached the time.
    const double seconds = run.unstable() || run.timeReached()
                               ? 0.0
                               : runSteps(run, options.steps, options.interval, frames.get(),
                                                     measure.get(), error);
    if (frames)
        frames->close();
    std::fputs(formatSummary(run.tally(), seconds).c_str(), stderr);
    if (frames)
        std::fprintf(stderr, "kelvo-batch: %d frames\n", frames->count());
    if (measure && error.empty())
        measure->finish(run, error);
    if (!error.empty())
        return fail(batch_constants::exitRunFailed, error);
    // A broken state is worth nothing to a reader: no dump.
    if (run.unstable())
        return fail(batch_constants::exitUnstable, run.instabilityText());

    if (!options.csvPath.empty() && !writeCsvFile(options.csvPath, run.state()))
        return fail(batch_constants::exitRunFailed,
                    "cannot write the dump to '" + options.csvPath + "'");
    if (!options.saveStatePath.empty()) {
        error = saveRunState(run, options.saveStatePath);
        if (!error.empty())
            return fail(batch_constants::exitRunFailed, error);
    }
    if (stopRequested()) {
        std::fprintf(stderr, "kelvo-batch: stopped by a signal after step %lld\n", run.tally().steps);
        return batch_constants::exitStopped;
    }
    return batch_constants::exitOk;
}
