#include "sim/frame_outputs.h"

#include <utility>

FrameOutputs::FrameOutputs(const std::string& ppmDirectory, CompressorChooser chooser, AviMessageHook messages)
    : ppmOutput(ppmDirectory), aviOutput(std::move(chooser), std::move(messages))
{
}

void FrameOutputs::allocate(int32_t columns, int32_t rows, int pixelsPerCell)
{
    NX = columns;
    NY = rows;
    cellPixels = pixelsPerCell;
    image.allocate(pixelsPerCell * NX, pixelsPerCell * NY);
    ppmOutput.restartNumbering();
}

bool FrameOutputs::compose(const SimGrid& state, const RenderElements& elements)
{
    return composer.compose(image, state, NX, NY, cellPixels, elements);
}

FrameSaveResult FrameOutputs::save(const FrameSaving& saving, int32_t index)
{
    FrameSaveResult result;
    if (saving.avi && !aviOutput.writeFrame(image.rgbPlanes(), index)) {
        result.ok = false;
        result.aviFailed = true;
    }
    if (saving.ppm) {
        const PpmWriteResult written = ppmOutput.writeFrame(image.rgbPlanes());
        if (!written.ok) {
            result.ok = false;
            result.ppmFailedPath = written.path;
        }
    }
    return result;
}

FrameSaveResult FrameOutputs::frame(const SimGrid& state, const RenderElements& elements,
                                    const FrameSaving& saving, int32_t index, const std::function<void()>& show)
{
    compose(state, elements);
    if (show)
        show();
    return save(saving, index);
}

bool FrameOutputs::openAvi(const std::string& fileName)
{
    aviOutput.setFileName(fileName);
    return aviOutput.open(image.rgbPlanes());
}
