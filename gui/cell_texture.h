// The grid's cells for the editor canvas as one OpenGL texture, a texel per
// cell in the colour of its type (transparent for a word with no type bit or
// several, so the background shows), drawn as a single textured rectangle.
// A large grid is then one rectangle on the screen instead of a million
// triangles, and a repaint costs the same whatever the grid's size.
//
// The texture lives in the GL context that is current when it is first
// updated; every later call must find that context current.
#pragma once

#include "core/grid.h"
#include "gui/grid_view.h"

#include <cstdint>
#include <vector>

// The colour of a cell word as a texel: r, g, b, a bytes.
uint32_t cellTexel(int32_t word);

// The texels of a grid, row j = 0 first, i running along a row.
void gridTexels(const Grid& grid, std::vector<uint32_t>& texels);

// The rows [first, last) where two texel buffers of one grid size differ;
// first == last when they are equal.
struct RowSpan {
    int32_t first = 0;
    int32_t last = 0;
};
RowSpan changedRows(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after, int32_t NX);

class CellTexture {
public:
    CellTexture() = default;
    CellTexture(const CellTexture&) = delete;
    CellTexture& operator=(const CellTexture&) = delete;

    // Brings the texture up to the grid: a new texture for a new size, else
    // only the rows whose cells changed are sent again.
    void update(const Grid& grid);
    // The texture over the grid's rectangle of view, nearest texel, the
    // transparent texels left out.
    void draw(const GridView& view) const;

private:
    unsigned int name = 0;           // the GL texture name; 0 before the first update
    int32_t width = 0, height = 0;   // the texture's size, NX x NY
    std::vector<uint32_t> shown;     // the texels the texture holds
    std::vector<uint32_t> scratch;   // the grid's texels, reused between updates
};
