#include "cli/batch_frames.h"

#include "io/particle_csv.h"

BatchFrames::BatchFrames(const BatchOptions& options, const Grid& grid)
    : grid(grid), pixelsPerCell(options.pixelsPerCell), elements(options.elements),
      aviName(options.aviPath.empty() ? std::string() : aviFileNameFor(options.aviPath)),
      compression(options.compression), particleDirectory(options.particles.csvDirectory),
      // The command line's choice of compressor, given without asking.
      outputs(options.ppmDirectory, [this](CompressOptions& chosen) {
          chosen = compression;
          return true;
      })
{
    saving.ppm = options.ppm;
    saving.avi = !aviName.empty();
    saving.vtk = !options.vtkDirectory.empty();
    outputs.vtk().setDirectory(options.vtkDirectory);
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

// Compose, then the AVI frame, the PPM file and the field file, as a frame
// cycle does.
bool BatchFrames::frame(const SimGrid& state, double time, int32_t index, std::string& error,
                        const std::vector<Particle>* particles)
{
    FrameSaveResult result = outputs.frame(state, time, elements, saving, index - firstIndex, nullptr, particles);
    std::string particleFailedPath;
    if (!particleDirectory.empty() && particles && !writeParticleCsv(particleDirectory, index, *particles, time)) {
        result.ok = false;
        particleFailedPath = particleCsvPath(particleDirectory, index);
    }
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
    if (!particleFailedPath.empty())
        error += std::string(error.empty() ? "" : "; ") + "cannot write the particle file '" + particleFailedPath +
                 "'";
    if (!result.vtkFailedPath.empty())
        error += std::string(error.empty() ? "" : "; ") + "cannot write the field file '" +
                 result.vtkFailedPath + "'";
    return false;
}

void BatchFrames::continueFrom(int32_t first)
{
    firstIndex = first;
    outputs.ppm().setNextNumber(first);
    outputs.vtk().continueFrom(first);
}

void BatchFrames::close()
{
    if (saving.avi)
        outputs.closeAvi();
}
