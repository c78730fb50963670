#include "scalar_field.h"

#include "field_resample.h"
#include "frame_image.h"
#include "frame_plot.h"
#include "pixel_trunc.h"
#include "render_constants.h"

#include <cmath>
#include <vector>

namespace {

// The rows of the latest field; kept, with their storage, between calls.
FieldRows samples;
// Picture column of each sample column, trunc(x + cw * 5/6).
std::vector<int> sampleColumns;

// M: starts at -1 and takes every sample greater than it (NaN never is).
// Whichever of +0 and -0 it ends on, |value / M| is the same.
double fieldScale()
{
    double scale = render_constants::fieldScaleFloor;
    for (int y = 0; y < samples.rows(); ++y) {
        const double* value = samples.row(y);
        for (int x = 0; x < samples.columns(); ++x)
            if (value[x] > scale)
                scale = value[x];
    }
    return scale;
}

// The colour factors of one field as doubles, low byte only.
struct Factors {
    double red, green, blue;
};

// The sample columns x0 <= x < x1 whose picture columns lie outside the
// margin (sampleColumns only grows).
struct SampleSpan {
    int x0 = 0;
    int x1 = 0;
};

SampleSpan spanInsideMargin(int W)
{
    using render_constants::plotMargin;
    SampleSpan span;
    const int count = static_cast<int>(sampleColumns.size());
    while (span.x0 < count && sampleColumns[span.x0] < plotMargin)
        ++span.x0;
    span.x1 = span.x0;
    while (span.x1 < count && sampleColumns[span.x1] <= W - plotMargin)
        ++span.x1;
    return span;
}

// One plane of one picture row, for a picture whose values are capped:
// the literal plot of the sample's channel, then the saturation of the
// pixel itself (its neighbours, at most 255, would not change).
void plotPlaneRow(float* pictureRow, const double* value, SampleSpan span, double scale, double factor)
{
    const int* column = sampleColumns.data();
    for (int x = span.x0; x < span.x1; ++x) {
        const double intensity = std::fabs(value[x] / scale);
        const int level = frame_plot::clampColour(truncChannel(intensity * factor * 255));
        float& pixel = pictureRow[column[x]];
        pixel += render_constants::plotWeight * level;
        frame_plot::saturate(pixel);
    }
}

// Every plane through the full plot, for a picture holding values above
// 255 somewhere.
void plotFullRow(const FramePlanes& planes, int row, const double* value, SampleSpan span,
                 double scale, const Factors& factors)
{
    for (int x = span.x0; x < span.x1; ++x) {
        const double intensity = std::fabs(value[x] / scale);
        frame_plot::plotPixelInside(planes, sampleColumns[x], row,
                                    truncChannel(intensity * factors.red * 255),
                                    truncChannel(intensity * factors.green * 255),
                                    truncChannel(intensity * factors.blue * 255));
    }
}

// Plots the samples of pixel-grid row y onto picture row `row`. In a capped
// picture a plane whose factor is 0 gets 0.78 * 0 added to values that are
// neither -0 nor NaN, which leaves them as they are: it is skipped.
void plotSampleRow(const FramePlanes& planes, int row, int y, double scale, const Factors& factors,
                   SampleSpan span)
{
    if (row < render_constants::plotMargin || row > planes.height - render_constants::plotMargin)
        return;
    const double* value = samples.row(y);
    if (!planes.capped) {
        plotFullRow(planes, row, value, span, scale, factors);
        return;
    }
    if (factors.red != 0)
        plotPlaneRow(planes.red[row], value, span, scale, factors.red);
    if (factors.green != 0)
        plotPlaneRow(planes.green[row], value, span, scale, factors.green);
    if (factors.blue != 0)
        plotPlaneRow(planes.blue[row], value, span, scale, factors.blue);
}

}  // namespace

// With I = |value / M|, each point (x, y) plots
//   addPixel(trunc(x + cw * 5/6), H - y,
//            trunc(I * red * 255), trunc(I * green * 255), trunc(I * blue * 255))
// where a product that is not finite gives 0. Every point lands on its own
// pixel and only adds (then saturates), so the points may be plotted row by
// row, along the picture's memory, with the very same result. The samples
// are made twice, once for M and once to plot, rather than kept.
void drawScalarField(int32_t NX, int32_t NY, const Array2D<double>& a, int k,
                     int redFactor, int greenFactor, int blueFactor)
{
    if (!fieldFits(NX, NY, a, k))
        return;
    samples.start(NX, NY, a, k);
    const double scale = fieldScale();

    using render_constants::colourFactorMask;
    const Factors factors{static_cast<double>(redFactor & colourFactorMask),
                          static_cast<double>(greenFactor & colourFactorMask),
                          static_cast<double>(blueFactor & colourFactorMask)};
    const double cw = static_cast<double>(k * NX) / NX;
    sampleColumns.resize(samples.columns());
    for (int x = 0; x < samples.columns(); ++x)
        sampleColumns[x] = truncCoordinate(x + cw * render_constants::fieldColumnShift);

    const FramePlanes planes = framePlanes();
    const SampleSpan span = spanInsideMargin(planes.width);
    const int H = k * NY;
    for (int y = 0; y < samples.rows(); ++y)
        plotSampleRow(planes, H - y, y, scale, factors, span);
}
