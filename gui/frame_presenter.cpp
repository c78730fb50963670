#include "gui/frame_presenter.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

// Normalised device coordinate of column x: (x / W - 0.5) * 2.
float columnToDevice(int x, int W)
{
    return static_cast<float>((static_cast<double>(x) / W - 0.5) * 2.0);
}

// Normalised device coordinate of row y: (y / H - 0.5) * (-2); row 0 on top.
float rowToDevice(int y, int H)
{
    return static_cast<float>((static_cast<double>(y) / H - 0.5) * -2.0);
}

// GL colour of a picture value: trunc(value) * (1/255).
float toGlColour(int value)
{
    return static_cast<float>(value * present_constants::colourScale);
}

}  // namespace

const std::vector<float>& FramePresenter::pointPositions(int W, int H)
{
    if (W != positionsWidth || H != positionsHeight) {
        positions.resize(static_cast<size_t>(W) * H * 2);
        size_t k = 0;
        for (int x = 0; x < W; ++x)
            for (int y = 0; y < H; ++y) {
                positions[k++] = columnToDevice(x, W);
                positions[k++] = rowToDevice(y, H);
            }
        positionsWidth = W;
        positionsHeight = H;
    }
    return positions;
}

const FrameImage& FramePresenter::fitted(const FrameImage& picture, int width, int height)
{
    const int W = picture.width();
    const int H = picture.height();
    if (W <= width && H <= height)
        return picture;
    const int w = std::min(W, width);
    const int h = std::min(H, height);
    if (reduced.width() != w || reduced.height() != h)
        reduced.allocate(w, h);
    for (int y = 0; y < h; ++y) {
        const int row = static_cast<int>(static_cast<long long>(y) * H / h);
        for (int x = 0; x < w; ++x) {
            const int column = static_cast<int>(static_cast<long long>(x) * W / w);
            reduced.fillRect(x, y, x, y, picture.pixelRed(column, row), picture.pixelGreen(column, row),
                             picture.pixelBlue(column, row));
        }
    }
    return reduced;
}

void FramePresenter::paint(const FrameImage& whole, int width, int height, PointSubmission submission)
{
    if (width <= 0 || height <= 0)
        return;
    const FrameImage& picture = fitted(whole, width, height);
    glViewport(0, 0, width, height);
    glClearColor(present_constants::clearRed, present_constants::clearGreen,
                 present_constants::clearBlue, present_constants::clearAlpha);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (submission == PointSubmission::Literal)
        drawPointsLiteral(picture);
    else
        drawPointsBatched(picture);
}

void FramePresenter::drawPointsLiteral(const FrameImage& picture)
{
    const int W = picture.width();
    const int H = picture.height();
    for (int x = 0; x < W; ++x)
        for (int y = 0; y < H; ++y) {
            glColor3f(toGlColour(picture.pixelRed(x, y)), toGlColour(picture.pixelGreen(x, y)),
                      toGlColour(picture.pixelBlue(x, y)));
            glPointSize(present_constants::pointSize);
            glBegin(GL_POINTS);
            glVertex2f(columnToDevice(x, W), rowToDevice(y, H));
            glEnd();
        }
}

void FramePresenter::drawPointsBatched(const FrameImage& picture)
{
    const int W = picture.width();
    const int H = picture.height();
    if (W <= 0 || H <= 0)
        return;
    const std::vector<float>& positions = pointPositions(W, H);
    // The colours follow the vertices' order: column by column.
    std::vector<float> colours(static_cast<size_t>(W) * H * 3);
    for (int x = 0; x < W; ++x) {
        float* out = colours.data() + static_cast<size_t>(x) * H * 3;
        for (int y = 0; y < H; ++y) {
            *out++ = toGlColour(picture.pixelRed(x, y));
            *out++ = toGlColour(picture.pixelGreen(x, y));
            *out++ = toGlColour(picture.pixelBlue(x, y));
        }
    }
    glPointSize(present_constants::pointSize);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, positions.data());
    glColorPointer(3, GL_FLOAT, 0, colours.data());
    glDrawArrays(GL_POINTS, 0, W * H);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void FramePresenter::paintTexture(const ScreenFrame& frame, int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    glViewport(0, 0, width, height);
    glClearColor(present_constants::clearRed, present_constants::clearGreen,
                 present_constants::clearBlue, present_constants::clearAlpha);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (frame.width <= 0 || frame.height <= 0)
        return;
    if (texture == 0)
        glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    // A frame larger than the canvas (one pixel a cell of a large grid) is
    // averaged down rather than sampled, which would break its lines up.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, frame.width, frame.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 frame.rgb.data());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    // Row 0 of the frame is its top: texture t = 0 at the viewport's top.
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
}
