// The command line of kelvo-batch.
#pragma once

#include "cli/measure_options.h"
#include "core/body_outline.h"
#include "sim/particle_options.h"
#include "sim/scalar_options.h"
#include "core/flow_solver.h"
#include "sim/run_choices.h"
#include "render/compose_frame.h"
#include "platform/compress_options.h"

#include <optional>
#include <string>
#include <vector>

// The run's own choices (the Reynolds number, dt, method, pressure solver,
// threads, default velocities, initial field) come from RunChoices.
struct BatchOptions : RunChoices {
    std::string gridPath;             // the grid file to run
    long long steps = 0;              // steps after the build step
    std::optional<double> untilSteady;  // stop once no u or v changes more in a step
    std::optional<double> untilTime;    // stop once the simulated time reaches it
    std::string csvPath;              // "" for no dump, "-" for stdout
    std::string saveStatePath;        // "" for no state file
    std::string restartPath;          // continue the run saved there; "" for none
    bool help = false;                // --help: print usage, run nothing
    MeasureOptions measure;           // probes, history, summary file
    std::vector<BodyOutline> bodies;  // --body, drawn over the grid in order
    ParticleOptions particles;        // emitters, cap, positions as CSV
    ScalarOptions scalars;            // heat and dye

    // Frames, rendered on every interval-th cycle as the simulation window
    // renders them; written when ppm or aviPath asks for them.
    int interval = 1;                 // cycles per frame
    int pixelsPerCell = 4;            // pixels per cell edge (--size)
    RenderElements elements;          // as the window opens: boundary, streamlines
    bool ppm = false;                 // numbered PPM files
    std::string ppmDirectory;         // where they go
    std::string aviPath;              // "" for no animation
    std::string vtkDirectory;         // field files go here; "" for none
    CompressOptions compression;      // of the animation

    // A picture in place of the grid file (known by its extension): sampled
    // at NX x NY cells as the editor imports it; with saveGridPath the grid is
    // written there and nothing runs.
    int pictureNX = 0;                // --grid-size NXxNY; 0 when not given
    int pictureNY = 0;
    std::string saveGridPath;         // --save-grid FILE

    // Whether any frame is written.
    bool writesFrames() const
    {
        return ppm || !aviPath.empty() || !vtkDirectory.empty() || !particles.csvDirectory.empty();
    }
};

// The elements the simulation window starts with checked.
RenderElements defaultElements();

// A comma list of boundary, streamlines, u, v, p, vectors, particles,
// streaks (particles with their streaks) (or "none"); false
// with a reason for an empty item or an unknown name.
bool parseElements(const std::string& text, RenderElements& elements, std::string& error);

// raw, mjpeg, ffv1 or utvideo; false for any other name.
bool parseCodec(const std::string& text, Compressor& compressor);

// Fills options from argv; on failure returns false with a one-line reason.
bool parseBatchOptions(int argc, const char* const* argv, BatchOptions& options,
                       std::string& error);

// "NXxNY" with NX in 3..1024 and NY in 3..512; false for anything else.
bool parseGridSize(const std::string& text, int& NX, int& NY);

// The usage text printed by --help.
std::string batchUsage();
