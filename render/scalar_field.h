// ScalarField: draws one grid array as a colour channel of the picture,
// resampled at picture resolution and scaled by its largest value.
#pragma once

#include "core/array2d.h"
#include "render/field_resample.h"
#include "render/frame_image.h"

#include <cstdint>
#include <limits>
#include <vector>

// The pass with its resampling buffers, which are kept between calls.
class ScalarFieldPass {
public:
    // Adds the field a (NX x NY, pixelsPerCell pixels per cell) to the
    // picture with the colour factors (each 0 or 1; only their low byte
    // counts), scaled by givenScale, or by its largest sample when that is NaN.
    void draw(FrameImage& image, int32_t NX, int32_t NY, const Array2D<double>& a, int pixelsPerCell,
              int redFactor, int greenFactor, int blueFactor,
              double givenScale = std::numeric_limits<double>::quiet_NaN());

private:
    // M, the largest sample, looked for by parts at once.
    double fieldScale(const ParallelParts& parallel, int parts);

    // The points of the latest field, and a reader of its rows for each
    // part of them that a thread takes.
    PixelGrid fieldPoints;
    std::vector<FieldRows> partSamples;
    // Picture column of each sample column, trunc(x + cw * 5/6).
    std::vector<int> sampleColumns;
};
