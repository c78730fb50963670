// kelvo-batch: runs the flow of a grid file or picture without a display.
#include "cli/batch_constants.h"
#include "cli/batch_frames.h"
#include "cli/batch_measure.h"
#include "cli/batch_options.h"
#include "cli/batch_picture.h"
#include "cli/batch_run.h"
#include "io/csv_dump.h"
#include "io/grid_file.h"
#include "cli/progress_meter.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

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
    switch (readGridFile(path, grid, settings)) {
    case GridFileStatus::Ok:
        return "";
    case GridFileStatus::CannotOpen:
        return "cannot read grid file '" + path + "'";
    case GridFileStatus::NotValid:
        break;
    }
    return "'" + path + "' is not a valid grid file";
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
            return frames->frame(run.state(), run.simulatedTime(), index, error);
        })
                                  : (run.advance(), true);
        if (measure)
            measure->record(run, n);
        meter.update(n, clock.seconds());
        if (!saved || run.unstable() || run.steady())
            break;
    }
    const double seconds = clock.seconds();
    meter.finish();
    return seconds;
}

const char* convectionName(Convection convection)
{
    switch (convection) {
    case Convection::Central:
        return "central";
    case Convection::UpwindBlended:
        return "upwind-blended";
    case Convection::Designed:
        break;
    }
    return "designed";
}

std::string formatNumber(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
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
    error = options.pictureNX > 0 ? loadPictureGrid(options.gridPath, options.pictureNX, options.pictureNY, grid)
                                  : loadGrid(options.gridPath, grid, settings);
    if (!error.empty())
        return fail(batch_constants::exitRunFailed, error);
    if (!options.saveGridPath.empty()) {
        if (!saveGridFile(options.saveGridPath, grid, settings))
            return fail(batch_constants::exitRunFailed, "cannot write the grid to '" + options.saveGridPath + "'");
        std::fprintf(stderr, "kelvo-batch: %s, %d x %d cells, written to %s\n", options.gridPath.c_str(), grid.NX,
                     grid.NY, options.saveGridPath.c_str());
        return batch_constants::exitOk;
    }

    const RunParameters parameters = resolveParameters(options, settings);
    const std::string dtText = parameters.automaticDt ? std::string("auto") : formatNumber(parameters.dt);
    std::fprintf(stderr,
                 "kelvo-batch: %s, %d x %d cells, Re %d, dt %s, %s convection, default velocity (%g, %g)\n",
                 options.gridPath.c_str(), grid.NX, grid.NY, parameters.reynolds, dtText.c_str(),
                 convectionName(parameters.convection), parameters.defaultU, parameters.defaultV);

    BatchRun run(grid, parameters, options.untilSteady);
    std::unique_ptr<BatchFrames> frames;
    if (options.writesFrames()) {
        frames = std::make_unique<BatchFrames>(options, grid);
        // The title sequence and fade-in take seconds on large pictures.
        if (!options.aviPath.empty())
            std::fprintf(stderr, "kelvo-batch: writing the title sequence of the animation...\n");
        if (!frames->open(error))
            return fail(batch_constants::exitRunFailed, error);
    }
    std::unique_ptr<BatchMeasure> measure;
    if (options.measure.any()) {
        measure = std::make_unique<BatchMeasure>(options.measure, run, parameters.reynolds, error);
        if (!error.empty())
            return fail(batch_constants::exitRunFailed, error);
    }
    const double seconds = run.unstable() ? 0.0
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
    return batch_constants::exitOk;
}
