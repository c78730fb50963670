#include "gui/canvas_picture.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {
CanvasPlace placeOf(const CanvasView& view)
{
    return CanvasPlace{view.canvasWidth(), view.canvasHeight(), view.originX(), view.originY(), view.scale()};
}
}  // namespace

VisiblePart visiblePart(const CanvasView& view, int pictureWidth, int pictureHeight)
{
    return visiblePart(placeOf(view), pictureWidth, pictureHeight);
}

VisiblePart visiblePart(const CanvasPlace& place, int pictureWidth, int pictureHeight)
{
    VisiblePart part;
    const auto contentX = [&place](double x) { return (x - place.originX) / place.scale; };
    const auto contentY = [&place](double y) { return (y - place.originY) / place.scale; };
    const int first = std::max(0, static_cast<int>(std::floor(contentX(0.0))));
    const int top = std::max(0, static_cast<int>(std::floor(contentY(0.0))));
    const int end = std::min(pictureWidth, static_cast<int>(std::ceil(contentX(place.canvasWidth))));
    const int bottom = std::min(pictureHeight, static_cast<int>(std::ceil(contentY(place.canvasHeight))));
    if (end <= first || bottom <= top)
        return part;
    part.column = first;
    part.row = top;
    part.columns = end - first;
    part.rows = bottom - top;
    part.x = place.originX + first * place.scale;
    part.y = place.originY + top * place.scale;
    return part;
}

CanvasPlace framePlace(const ScreenFrame& frame, const CanvasView& view)
{
    CanvasPlace place = placeOf(view);
    if (frame.window.whole())
        return place;
    place.originX = view.canvasX(frame.window.left);
    place.originY = view.canvasY(frame.window.top);
    place.scale = view.scale() * frame.window.stride;
    return place;
}

void CanvasPicture::draw(const FrameImage& picture, const CanvasView& view)
{
    drawPart(picture.width(), picture.height(), placeOf(view), [&picture](int column, int row, unsigned char* out) {
        out[0] = static_cast<unsigned char>(picture.pixelRed(column, row));
        out[1] = static_cast<unsigned char>(picture.pixelGreen(column, row));
        out[2] = static_cast<unsigned char>(picture.pixelBlue(column, row));
    });
}

void CanvasPicture::draw(const ScreenFrame& picture, const CanvasView& view)
{
    if (picture.rgb.size() < 3 * static_cast<size_t>(picture.width) * picture.height)
        return;
    drawPart(picture.width, picture.height, framePlace(picture, view), [&picture](int column, int row, unsigned char* out) {
        const uint8_t* in = picture.rgb.data() + 3 * (static_cast<size_t>(row) * picture.width + column);
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
    });
}

template <class PixelAt>
void CanvasPicture::drawPart(int pictureWidth, int pictureHeight, const CanvasPlace& place, PixelAt pixelAt)
{
    const int W = place.canvasWidth;
    const int H = place.canvasHeight;
    if (W <= 0 || H <= 0)
        return;
    glViewport(0, 0, W, H);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const VisiblePart part = visiblePart(place, pictureWidth, pictureHeight);
    if (part.columns <= 0 || part.rows <= 0)
        return;
    // A picture larger than its place on the screen is thinned to that
    // place's size first: the pixels sent never outnumber the canvas's.
    const double scale = place.scale;
    const int sentColumns = std::min(part.columns, std::max(1, static_cast<int>(std::ceil(part.columns * scale))));
    const int sentRows = std::min(part.rows, std::max(1, static_cast<int>(std::ceil(part.rows * scale))));
    rgb.resize(static_cast<size_t>(sentColumns) * sentRows * 3);
    unsigned char* out = rgb.data();
    for (int r = 0; r < sentRows; ++r) {
        const int row = part.row + static_cast<int>(static_cast<long long>(r) * part.rows / sentRows);
        for (int c = 0; c < sentColumns; ++c) {
            const int column = part.column + static_cast<int>(static_cast<long long>(c) * part.columns / sentColumns);
            pixelAt(column, row, out);
            out += 3;
        }
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // The raster position starts at the canvas's top-left corner, where it
    // is valid, and moves to the part's corner, which may lie off the canvas.
    glRasterPos2f(-1.0f, 1.0f);
    glBitmap(0, 0, 0.0f, 0.0f, static_cast<float>(part.x), static_cast<float>(-part.y), nullptr);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelZoom(static_cast<float>(part.columns * scale / sentColumns),
                static_cast<float>(-part.rows * scale / sentRows));
    glDrawPixels(sentColumns, sentRows, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glPixelZoom(1.0f, 1.0f);
}
