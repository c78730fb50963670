#include "sim/frame_outputs.h"

#include "render/colour_bar.h"

#include <algorithm>
#include <utility>

FrameOutputs::FrameOutputs(const std::string& ppmDirectory, CompressorChooser chooser, AviMessageHook messages)
    : ppmOutput(ppmDirectory), aviOutput(std::move(chooser), std::move(messages))
{
}

void FrameOutputs::allocate(int32_t columns, int32_t rows, int pixelsPerCell, bool colourBar)
{
    allocateLater(columns, rows, pixelsPerCell, colourBar);
    allocateIfLater();
}

void FrameOutputs::allocateLater(int32_t columns, int32_t rows, int pixelsPerCell, bool colourBar)
{
    NX = columns;
    NY = rows;
    cellPixels = pixelsPerCell;
    release();
    barShown = colourBar;
    ppmOutput.restartNumbering();
    vtkOutput.restartNumbering();
}

void FrameOutputs::allocateIfLater()
{
    if (image.width() == cellPixels * NX && image.height() == cellPixels * NY)
        return;
    image.allocate(cellPixels * NX, cellPixels * NY);
    if (barShown)
        framed.allocate(image.width(), image.height() + colour_bar::stripHeight);
}

bool FrameOutputs::compose(const SimGrid& state, const RenderElements& elements,
                           const std::vector<Particle>* particles)
{
    allocateIfLater();
    const bool composed = composer.compose(image, state, NX, NY, cellPixels, elements, particles);
    barShown = elements.colourMap.quantity != ColourQuantity::None;
    if (composed && barShown)
        frameWithColourBar(elements.colourMap.quantity);
    return composed;
}

void FrameOutputs::frameWithColourBar(ColourQuantity quantity)
{
    const int W = image.width();
    const int H = image.height();
    if (framed.width() != W || framed.height() != H + colour_bar::stripHeight)
        framed.allocate(W, H + colour_bar::stripHeight);
    const FramePlanes to = framed.planes();
    for (int row = 0; row < H; ++row) {
        std::copy_n(image.redRow(row), W, to.red[row]);
        std::copy_n(image.greenRow(row), W, to.green[row]);
        std::copy_n(image.blueRow(row), W, to.blue[row]);
    }
    drawColourBar(framed, H, quantity, composer.colourRange());
}

FrameSaveResult FrameOutputs::save(const FrameSaving& saving, int32_t index)
{
    FrameSaveResult result;
    if (saving.avi && !aviOutput.writeFrame(shown().rgbPlanes(), index)) {
        result.ok = false;
        result.aviFailed = true;
    }
    if (saving.ppm) {
        const PpmWriteResult written = ppmOutput.writeFrame(shown().rgbPlanes());
        if (!written.ok) {
            result.ok = false;
            result.ppmFailedPath = written.path;
        }
    }
    return result;
}

FrameSaveResult FrameOutputs::saveFields(const Grid& state, double time)
{
    FrameSaveResult result;
    const VtkWriteResult written = vtkOutput.writeFrame(state, time);
    if (!written.ok) {
        result.ok = false;
        result.vtkFailedPath = written.path;
    }
    return result;
}

FrameSaveResult FrameOutputs::frame(const SimGrid& state, double time, const RenderElements& elements,
                                    const FrameSaving& saving, int32_t index, const std::function<void()>& show,
                                    const std::vector<Particle>* particles)
{
    // Field files are written from the state itself: the picture is drawn
    // only when it is shown or saved.
    if (show || saving.avi || saving.ppm)
        compose(state, elements, particles);
    if (stopRequested(stopRequest))
        return FrameSaveResult();
    if (show)
        show();
    FrameSaveResult result = save(saving, index);
    if (saving.vtk) {
        const FrameSaveResult fields = saveFields(state, time);
        result.ok = result.ok && fields.ok;
        result.vtkFailedPath = fields.vtkFailedPath;
    }
    return result;
}

bool FrameOutputs::openAvi(const std::string& fileName)
{
    allocateIfLater();
    aviOutput.setFileName(fileName);
    return aviOutput.open(shown().rgbPlanes());
}
