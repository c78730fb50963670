#include "gui/probe_marks.h"

#include "platform/text_font.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// The cross centred on pixel (x, y) in the current colour, each arm
// crossArm pixels long, widened by edge pixels on every side. Rectangles
// on pixel edges cover exactly the pixels inside them, as lines need not.
void drawCross(int x, int y, int edge)
{
    using probe_marks::crossArm;
    glRecti(x - crossArm - edge, y - edge, x + crossArm + 1 + edge, y + 1 + edge);
    glRecti(x - edge, y - crossArm - edge, x + 1 + edge, y + crossArm + 1 + edge);
}

// One glyph as a GL bitmap: bits set where the coverage is at least half,
// rows from the bottom up as glBitmap reads them.
std::vector<GLubyte> glyphBits(const GlyphImage& glyph)
{
    const int rowBytes = (glyph.width + 7) / 8;
    std::vector<GLubyte> bits(static_cast<size_t>(rowBytes) * glyph.height, 0);
    for (int row = 0; row < glyph.height; ++row)
        for (int column = 0; column < glyph.width; ++column)
            if (glyph.coverage[static_cast<size_t>(row) * glyph.width + column] >= 128)
                bits[static_cast<size_t>(glyph.height - 1 - row) * rowBytes + column / 8] |=
                    static_cast<GLubyte>(0x80 >> (column % 8));
    return bits;
}

// The text with its top-left corner at canvas pixel (left, top), in the
// current colour. The raster position stays inside the canvas, where GL
// draws a bitmap at all.
void drawText(const TextFont& font, const std::string& text, int left, int top)
{
    for (size_t k = 0; k < text.size(); ++k) {
        const GlyphImage& glyph = font.glyph(static_cast<unsigned char>(text[k]));
        if (glyph.width <= 0 || glyph.height <= 0)
            continue;
        const std::vector<GLubyte> bits = glyphBits(glyph);
        const int x = left + static_cast<int>(k) * font.cellWidth() + glyph.left;
        const int bottom = top + glyph.top + glyph.height;
        glRasterPos2i(x, bottom);
        glBitmap(glyph.width, glyph.height, 0.0f, 0.0f, 0.0f, 0.0f, bits.data());
    }
}

// The number up and right of the cross; left of it or below where the
// canvas ends first.
void placeLabel(const TextFont& font, const std::string& text, int x, int y, int width, int height, int& left,
                int& top)
{
    using namespace probe_marks;
    const int textWidth = static_cast<int>(text.size()) * font.cellWidth();
    const int textHeight = font.lineHeight();
    left = x + labelGap + 1;
    if (left + textWidth + 1 > width)
        left = x - labelGap - textWidth;
    top = y - labelGap - textHeight;
    if (top - 1 < 0)
        top = y + labelGap + 1;
    left = std::clamp(left, 1, std::max(1, width - textWidth - 1));
    top = std::clamp(top, 1, std::max(1, height - textHeight - 1));
}

// The number, edged in black by copies one pixel around it.
void drawLabel(const TextFont& font, const std::string& text, int left, int top)
{
    glColor3f(0.0f, 0.0f, 0.0f);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx != 0 || dy != 0)
                drawText(font, text, left + dx, top + dy);
    glColor3f(1.0f, 1.0f, 1.0f);
    drawText(font, text, left, top);
}

}  // namespace

void drawProbeMarks(const std::vector<ProbePoint>& probes, const PictureLayout& layout)
{
    const int width = layout.canvasWidth;
    const int height = layout.canvasHeight;
    if (probes.empty() || width <= 0 || height <= 0)
        return;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const TextFont* font = TextFont::instance();
    for (size_t k = 0; k < probes.size(); ++k) {
        const auto at = canvasPointOf(layout, DomainPoint{probes[k].x, probes[k].y});
        if (!at)
            continue;
        const int x = static_cast<int>(std::floor(at->x));
        const int y = static_cast<int>(std::floor(at->y));
        glColor3f(0.0f, 0.0f, 0.0f);
        drawCross(x, y, 1);
        glColor3f(1.0f, 1.0f, 1.0f);
        drawCross(x, y, 0);
        if (!font)
            continue;
        const std::string number = std::to_string(k + 1);
        int left = 0, top = 0;
        placeLabel(*font, number, x, y, width, height, left, top);
        drawLabel(*font, number, left, top);
    }
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}
