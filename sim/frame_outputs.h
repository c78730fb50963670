// FrameOutputs: the picture of one run and where its frames go (numbered
// PPM files, an AVI file, VTK field files), with the frame of a frame cycle
// composed and saved in one place for the simulation window and kelvo-batch
// alike.
#pragma once

#include "core/grid.h"
#include "io/avi_writer.h"
#include "io/ppm_writer.h"
#include "io/vtk_series.h"
#include "render/compose_frame.h"
#include "render/frame_image.h"
#include "sim/frame_saving.h"

#include <cstdint>
#include <functional>
#include <string>

class FrameOutputs {
public:
    // PPM frames go to ppmDirectory, field files to vtk/ (vtk().setDirectory
    // changes it); chooser and messages are the AVI
    // output's hooks (null: full frames, messages on standard error).
    explicit FrameOutputs(const std::string& ppmDirectory = "frames", CompressorChooser chooser = nullptr,
                          AviMessageHook messages = nullptr);

    // An all-zero picture of pixelsPerCell * NX by pixelsPerCell * NY; the
    // PPM and VTK numbering starts again at 0. With colourBar the frames shown and
    // saved start out with the colour bar's strip below the picture.
    void allocate(int32_t NX, int32_t NY, int pixelsPerCell, bool colourBar = false);
    // As allocate, but the picture is freed now and allocated when it is
    // next drawn or an animation opens, on whichever thread does that: a
    // window can change the size without waiting for a large allocation.
    void allocateLater(int32_t NX, int32_t NY, int pixelsPerCell, bool colourBar = false);
    // Frees the picture.
    void release()
    {
        image.release();
        framed.release();
    }

    // Clears the picture and draws the chosen elements of state into it,
    // the particles (when given) among them.
    bool compose(const SimGrid& state, const RenderElements& elements,
                 const std::vector<Particle>* particles = nullptr);
    // Saves the picture as frame index of the run: the AVI frame first, then
    // the PPM file. Both are tried even when the first fails.
    FrameSaveResult save(const FrameSaving& saving, int32_t index);
    // Writes the fields of state, at simulated time, as the next VTK file.
    FrameSaveResult saveFields(const Grid& state, double time);
    // The frame of a frame cycle: compose (only when the picture is shown or
    // saved), show (when given; the window presents the picture), save, then
    // the fields when saving asks for them.
    FrameSaveResult frame(const SimGrid& state, double time, const RenderElements& elements,
                          const FrameSaving& saving, int32_t index, const std::function<void()>& show = nullptr,
                          const std::vector<Particle>* particles = nullptr);

    // Opens the animation file at the picture's size, its fade-in showing
    // the picture as it is now; false when it could not be (the user has
    // been told).
    bool openAvi(const std::string& fileName);
    // Completes the animation; does nothing when none is open.
    void closeAvi() { aviOutput.close(); }

    // A frame whose picture is still being composed when request is raised
    // is neither finished nor saved.
    void watchStopRequest(const StopRequest* request)
    {
        stopRequest = request;
        composer.watchStopRequest(request);
    }

    int pixelsPerCell() const { return cellPixels; }
    FrameImage& picture() { return image; }
    const FrameImage& picture() const { return image; }
    // The frame shown and saved: the picture, or with a colour map the
    // picture with the colour bar's strip below it.
    const FrameImage& shown() const { return barShown ? framed : image; }
    // The range of the latest colour-map frame.
    ColourRange colourRange() const { return composer.colourRange(); }
    AviOutput& avi() { return aviOutput; }
    PpmFrameOutput& ppm() { return ppmOutput; }
    VtkFieldsOutput& vtk() { return vtkOutput; }

private:
    // The picture at the size set, when it is not.
    void allocateIfLater();
    // Copies the picture into the framed one and draws the bar below it.
    void frameWithColourBar(ColourQuantity quantity);

    int32_t NX = 0;
    int32_t NY = 0;
    int cellPixels = 0;
    FrameImage image;
    FrameImage framed;       // picture and colour bar, while barShown
    bool barShown = false;
    FrameComposer composer;
    const StopRequest* stopRequest = nullptr;
    PpmFrameOutput ppmOutput;
    VtkFieldsOutput vtkOutput;
    AviOutput aviOutput;
};
