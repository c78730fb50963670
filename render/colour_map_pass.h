// ColourMapPass: the colour-map view's picture of one quantity, every
// pixel coloured from the quantity's table, in place of the designed
// u, v and p fields.
#pragma once

#include "core/grid.h"
#include "render/colour_map.h"
#include "render/frame_image.h"

#include <cstdint>
#include <vector>

class ColourMapPass {
public:
    // Sets every pixel of the top pixelsPerCell*NY rows of image to the
    // colour of the quantity there: the cell-centre values bilinearly
    // interpolated at the pixel's centre (held at the outermost centres),
    // over the view's range when locked, else over the frame's own range.
    // Returns the range used.
    ColourRange draw(FrameImage& image, const Grid& grid, int32_t NX, int32_t NY, int pixelsPerCell,
                     const ColourMapView& view);

private:
    // Index and east/north share of the cell centre below each pixel.
    struct AxisSamples {
        std::vector<int32_t> index;
        std::vector<double> share;
        void compute(int pixels, int cells, int pixelsPerCell);
    };
    // The table over the frame's range: step n holds the colour of the
    // value n / (tableSize - 1) of the way from range.low to range.high.
    void buildTable(ColourQuantity quantity, const ColourRange& range);
    // The automatic range of the values over the fluid cells; looked for
    // only when the view's range is not locked.
    ColourRange frameRange(const ParallelParts& parallel, const Grid& grid, int32_t NX, int32_t NY,
                           ColourQuantity quantity) const;

    Array2D<double> values;  // the quantity at the cell centres
    AxisSamples columns;     // along x, west to east
    AxisSamples rows;        // along y, south to north
    std::vector<float> table;  // red, green, blue of tableSize steps
};
