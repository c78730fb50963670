// BatchFrames: the frames of a batch run, composed and saved exactly as the
// simulation window composes and saves them, into PPM files and an AVI file,
// with the fields into VTK files.
#pragma once

#include "cli/batch_options.h"
#include "core/grid.h"
#include "sim/frame_outputs.h"
#include "sim/frame_saving.h"

#include <cstdint>
#include <string>

class BatchFrames {
public:
    // Takes the frame settings; nothing is allocated or opened yet.
    BatchFrames(const BatchOptions& options, const Grid& grid);
    // Closes the animation.
    ~BatchFrames();
    BatchFrames(const BatchFrames&) = delete;
    BatchFrames& operator=(const BatchFrames&) = delete;

    // Allocates the all-zero picture and opens the animation (whose fade-in
    // thus shows black, as after the window opens); false with a reason.
    bool open(std::string& error);
    // Composes the state with the chosen elements and saves it as frame
    // index of the run, the fields with the simulated time; false with a
    // reason when a frame could not be saved (the animation is then
    // completed and closed).
    // The particles are drawn when the elements ask for them, and written
    // as CSV when the options do.
    bool frame(const SimGrid& state, double time, int32_t index, std::string& error,
               const std::vector<Particle>* particles = nullptr);
    // For a continued run whose frames so far were firstIndex: PPM files
    // and field files go on from that number (the collection keeps the
    // earlier files), and the animation, a new file, holds the
    // frames from there on. Called after open.
    void continueFrom(int32_t firstIndex);
    // Completes the animation; does nothing when none is open.
    void close();

    // Frames composed so far.
    int32_t count() const { return composed; }

private:
    const Grid& grid;
    int pixelsPerCell;          // pixels per cell edge
    RenderElements elements;
    FrameSaving saving;
    std::string aviName;        // "" when no animation is written
    CompressOptions compression;
    std::string particleDirectory;  // "" when no particle CSV is written
    FrameOutputs outputs;       // the picture, the PPM files, the animation
    int32_t composed = 0;
    int32_t firstIndex = 0;     // the run's frame index of this file's first frame
};
