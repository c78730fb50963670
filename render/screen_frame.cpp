#include "render/screen_frame.h"

#include "render/colour_bar.h"

#include <algorithm>

int screenPixelsPerCell(int canvasWidth, int canvasHeight, int32_t NX, int32_t NY)
{
    if (NX <= 0 || NY <= 0)
        return 1;
    return std::max(1, std::min(canvasWidth / NX, canvasHeight / NY));
}

double screenShrink(int canvasWidth, int canvasHeight, int32_t NX, int32_t NY)
{
    if (canvasWidth <= 0 || canvasHeight <= 0)
        return 1.0;
    const int k = screenPixelsPerCell(canvasWidth, canvasHeight, NX, NY);
    return std::max({1.0, static_cast<double>(k * NX) / canvasWidth, static_cast<double>(k * NY) / canvasHeight});
}

void copyToScreenFrame(const FrameImage& picture, int pictureHeight, int pixelsPerCell, const ColourRange& range,
                       ScreenFrame& frame)
{
    frame.width = picture.width();
    frame.height = picture.height();
    frame.pictureHeight = pictureHeight;
    frame.pixelsPerCell = pixelsPerCell;
    frame.range = range;
    frame.rgb.resize(3 * static_cast<size_t>(frame.width) * frame.height);
    const auto byteOf = [](float value) {
        return static_cast<uint8_t>(std::clamp(static_cast<int>(value), 0, 255));
    };
    for (int row = 0; row < frame.height; ++row) {
        const float* red = picture.redRow(row);
        const float* green = picture.greenRow(row);
        const float* blue = picture.blueRow(row);
        uint8_t* out = frame.rgb.data() + 3 * static_cast<size_t>(row) * frame.width;
        for (int column = 0; column < frame.width; ++column) {
            *out++ = byteOf(red[column]);
            *out++ = byteOf(green[column]);
            *out++ = byteOf(blue[column]);
        }
    }
}

void ScreenComposer::compose(const SimGrid& state, int32_t NX, int32_t NY, int pixelsPerCell,
                             const RenderElements& elements, ScreenFrame& frame, double shrink,
                             const std::vector<Particle>* particles)
{
    const int W = pixelsPerCell * NX;
    const int H = pixelsPerCell * NY;
    // The pass leaves the picture's first row and column as they were: a
    // picture that showed another view starts again from black.
    if (picture.width() != W || picture.height() != H || elements.colourMap.quantity != lastQuantity)
        picture.allocate(W, H);
    lastQuantity = elements.colourMap.quantity;
    composer.compose(picture, state, NX, NY, pixelsPerCell, elements, particles,
                     ElementSpacing{static_cast<int>(screen_spacing::seedPixels * shrink),
                                    static_cast<int>(screen_spacing::vectorPixels * shrink)});
    const ColourQuantity quantity = elements.colourMap.quantity;
    if (quantity == ColourQuantity::None) {
        copyToScreenFrame(picture, H, pixelsPerCell, composer.colourRange(), frame);
        return;
    }
    if (framed.width() != W || framed.height() != H + colour_bar::stripHeight)
        framed.allocate(W, H + colour_bar::stripHeight);
    const FramePlanes to = framed.planes();
    for (int row = 0; row < H; ++row) {
        std::copy_n(picture.redRow(row), W, to.red[row]);
        std::copy_n(picture.greenRow(row), W, to.green[row]);
        std::copy_n(picture.blueRow(row), W, to.blue[row]);
    }
    drawColourBar(framed, H, quantity, composer.colourRange());
    copyToScreenFrame(framed, H, pixelsPerCell, composer.colourRange(), frame);
}
