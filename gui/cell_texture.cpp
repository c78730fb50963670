#include "gui/cell_texture.h"

#include "core/cell_types.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>

namespace {

uint8_t channelByte(float level)
{
    return static_cast<uint8_t>(std::lround(level * 255.0f));
}

// The texel bytes r, g, b, a in memory order, whatever the machine's order.
uint32_t packTexel(uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    const uint8_t bytes[4] = {r, g, b, a};
    uint32_t texel;
    static_assert(sizeof texel == sizeof bytes, "a texel is four bytes");
    std::memcpy(&texel, bytes, sizeof texel);
    return texel;
}

}  // namespace

// Opaque in the canvas colour of the word's type; all zero without one.
uint32_t cellTexel(int32_t word)
{
    const CellTypeInfo* type = cellTypeOfWord(word);
    if (!type)
        return 0;
    const CellCanvasColour& fill = type->canvasColour;
    return packTexel(channelByte(fill.r), channelByte(fill.g), channelByte(fill.b), 255);
}

// Words repeat along a row (fluid, walls), so the last lookup is kept.
void gridTexels(const Grid& grid, std::vector<uint32_t>& texels)
{
    texels.resize(static_cast<size_t>(grid.NX) * grid.NY);
    int32_t lastWord = 0;
    uint32_t lastTexel = cellTexel(0);
    for (int32_t i = 0; i < grid.NX; ++i)
        for (int32_t j = 0; j < grid.NY; ++j) {
            const int32_t word = grid.flags[i][j];
            if (word != lastWord) {
                lastWord = word;
                lastTexel = cellTexel(word);
            }
            texels[static_cast<size_t>(j) * grid.NX + i] = lastTexel;
        }
}

RowSpan changedRows(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after, int32_t NX)
{
    RowSpan span;
    if (NX <= 0 || before.size() != after.size())
        return span;
    const int32_t rows = static_cast<int32_t>(after.size() / NX);
    const auto rowDiffers = [&](int32_t j) {
        const size_t start = static_cast<size_t>(j) * NX;
        for (size_t k = start; k < start + NX; ++k)
            if (before[k] != after[k])
                return true;
        return false;
    };
    int32_t first = 0;
    while (first < rows && !rowDiffers(first))
        ++first;
    if (first == rows)
        return span;
    int32_t last = rows;
    while (!rowDiffers(last - 1))
        --last;
    return {first, last};
}

void CellTexture::update(const Grid& grid)
{
    if (grid.NX <= 0 || grid.NY <= 0 || grid.flags.empty())
        return;
    gridTexels(grid, scratch);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    if (name == 0 || width != grid.NX || height != grid.NY) {
        if (name == 0)
            glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        // Nearest texel: a cell keeps its own colour to its edges.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, grid.NX, grid.NY, 0, GL_RGBA, GL_UNSIGNED_BYTE, scratch.data());
        width = grid.NX;
        height = grid.NY;
        shown.swap(scratch);
        return;
    }
    const RowSpan span = changedRows(shown, scratch, width);
    if (span.first == span.last)
        return;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, span.first, width, span.last - span.first, GL_RGBA, GL_UNSIGNED_BYTE,
                    scratch.data() + static_cast<size_t>(span.first) * width);
    shown.swap(scratch);
}

void CellTexture::draw(const GridView& view) const
{
    if (name == 0)
        return;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glBegin(GL_TRIANGLES);
    glTexCoord2f(0.0f, 1.0f); glVertex2f(view.left, view.top);
    glTexCoord2f(0.0f, 0.0f); glVertex2f(view.left, view.bottom);
    glTexCoord2f(1.0f, 1.0f); glVertex2f(view.right, view.top);
    glTexCoord2f(0.0f, 0.0f); glVertex2f(view.left, view.bottom);
    glTexCoord2f(1.0f, 0.0f); glVertex2f(view.right, view.bottom);
    glTexCoord2f(1.0f, 1.0f); glVertex2f(view.right, view.top);
    glEnd();
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
}
