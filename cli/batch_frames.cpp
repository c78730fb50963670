#include "cli/batch_frames.h"

BatchFrames::BatchFrames(const BatchOptions& options, const Grid& grid)
    : grid(grid), pixelsPerCell(options.pixelsPerCell), elements(options.elements),
      aviName(options.aviPath.empty() ? std::string() : aviFileNameFor(options.aviPath)),
      compression(options.compression),
      // The command line's choice of compressor, given without asking.
      outputs(options.ppmDirectory, [this](CompressOptions& chosen) {
          chosen = compression;
          return true;
      })
{
    saving.ppm = options.ppm;
    saving.avi = !aviName.empty();
}

BatchFrames::~BatchFrames()
{
    close();
}

bool BatchFrames::open(std::string& error)
{
    outputs.allocate(grid.NX, grid.NY, pixelsPerCell, elements.colourMap.quantity != ColourQuantity::None);
    if (!saving.avi)
        return true;
    if (!compressorAvailable(compression.compressor)) {
        error = std::string("this machine's codec library has no ") + compressorName(compression.compressor);
        return false;
    }
    const bool opened = outputs.openAvi(aviName);
    if (!opened)
        error = "cannot create the animation '" + aviName + "'";
    return opened;
}

// Compose, then the AVI frame and the PPM file, as a frame cycle does.
bool BatchFrames::frame(const SimGrid& state, int32_t index, std::string& error)
{
    const FrameSaveResult result = outputs.frame(state, elements, saving, index - firstIndex);
    ++composed;
    if (result.ok)
        return true;
    close();
    if (result.aviFailed)
        error = "frame " + std::to_string(index) + " could not be written to '" + aviName +
                "'; the animation holds the frames before it";
    if (!result.ppmFailedPath.empty())
        error += std::string(error.empty() ? "" : "; ") + "cannot write the frame file '" +
                 result.ppmFailedPath + "'";
    return false;
}

void BatchFrames::continueFrom(int32_t first)
{
    firstIndex = first;
    outputs.ppm().setNextNumber(first);
}

void BatchFrames::close()
{
    if (saving.avi)
        outputs.closeAvi();
}
