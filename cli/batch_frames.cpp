#include "cli/batch_frames.h"

#include "io/avi_writer.h"
#include "render/compose_frame.h"
#include "render/frame_image.h"

namespace {
// The compressor of the file being opened: the command line's choice, handed
// to the writer through its chooser hook.
CompressOptions chosenCompression;

bool chooseFromCommandLine(CompressOptions& options)
{
    options = chosenCompression;
    return true;
}
}  // namespace

BatchFrames::BatchFrames(const BatchOptions& options, const Grid& grid)
    : grid(grid), size(options.frameSize), elements(options.elements),
      aviName(options.aviPath.empty() ? std::string() : aviFileNameFor(options.aviPath)),
      compression(options.compression)
{
    saving.ppm = options.ppm;
    saving.ppmDirectory = options.ppmDirectory;
    saving.avi = !aviName.empty();
}

BatchFrames::~BatchFrames()
{
    close();
    if (allocated)
        releaseFrameImage();
}

bool BatchFrames::open(std::string& error)
{
    allocateFrameImage(size * grid.NX, size * grid.NY);
    allocated = true;
    if (!saving.avi)
        return true;
    if (!compressorAvailable(compression.compressor)) {
        error = std::string("this machine's codec library has no ") + compressorName(compression.compressor);
        return false;
    }
    chosenCompression = compression;
    setAviCompressorChooser(chooseFromCommandLine);
    setAviFileName(aviName);
    const bool opened = aviOpen();
    setAviCompressorChooser(nullptr);
    if (!opened)
        error = "cannot create the animation '" + aviName + "'";
    return opened;
}

// Compose, then the AVI frame and the PPM file, as a frame cycle does.
bool BatchFrames::frame(const SimGrid& state, int32_t index, std::string& error)
{
    composeFrame(state, grid.NX, grid.NY, size, elements);
    ++composed;
    const FrameSaveResult result = saveFrame(saving, index);
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

void BatchFrames::close()
{
    if (saving.avi)
        aviClose();
}
