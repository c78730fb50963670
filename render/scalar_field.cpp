#include "scalar_field.h"

#include "field_resample.h"
#include "frame_image.h"
#include "frame_plot.h"
#include "pixel_trunc.h"
#include "render_constants.h"

#include <cmath>
#include <vector>

namespace {

// The resampled field of the latest call; reused while the size holds.
ResampledField samples;
// Picture column of each sample column, trunc(x + cw * 5/6).
std::vector<int> sampleColumns;

// M: starts at -1 and takes every sample greater than it (NaN never is).
// The largest value does not depend on the order the samples are visited.
double fieldScale(const ResampledField& field)
{
    double scale = render_constants::fieldScaleFloor;
    for (double value : field.values)
        if (value > scale)
            scale = value;
    return scale;
}

// The colour factors of one field as doubles, low byte only.
struct Factors {
    double red, green, blue;
};

// Plots the samples of pixel-grid row y onto picture row H - y.
void plotSampleRow(const FramePlanes& planes, int y, int H, double scale, const Factors& factors)
{
    const int row = H - y;
    const double* value = samples.row(y);
    for (int x = 0; x < samples.columns; ++x) {
        const int column = sampleColumns[x];
        if (frame_plot::inMargin(planes, column, row))
            continue;
        const double intensity = std::fabs(value[x] / scale);
        frame_plot::plotPixelInside(planes, column, row,
                                    truncChannel(intensity * factors.red * 255),
                                    truncChannel(intensity * factors.green * 255),
                                    truncChannel(intensity * factors.blue * 255));
    }
}

}  // namespace

// With I = |value / M|, each point (x, y) plots
//   addPixel(trunc(x + cw * 5/6), H - y,
//            trunc(I * red * 255), trunc(I * green * 255), trunc(I * blue * 255))
// where a product that is not finite gives 0. Every point lands on its own
// pixel and only adds (then saturates), so the points may be plotted row by
// row, along the picture's memory, with the very same result.
void drawScalarField(int32_t NX, int32_t NY, const Array2D<double>& a, int k,
                     int redFactor, int greenFactor, int blueFactor)
{
    if (!fieldFits(NX, NY, a, k))
        return;
    resampleField(NX, NY, a, k, samples);
    const double scale = fieldScale(samples);

    using render_constants::colourFactorMask;
    const Factors factors{static_cast<double>(redFactor & colourFactorMask),
                          static_cast<double>(greenFactor & colourFactorMask),
                          static_cast<double>(blueFactor & colourFactorMask)};
    const int H = k * NY;
    const double cw = static_cast<double>(k * NX) / NX;
    sampleColumns.resize(samples.columns);
    for (int x = 0; x < samples.columns; ++x)
        sampleColumns[x] = truncCoordinate(x + cw * render_constants::fieldColumnShift);

    const FramePlanes planes = framePlanes();
    for (int y = 0; y < samples.rows; ++y)
        plotSampleRow(planes, y, H, scale, factors);
}
