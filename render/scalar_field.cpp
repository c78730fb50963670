#include "render/scalar_field.h"

#include "render/field_resample.h"
#include "render/frame_image.h"
#include "render/frame_plot.h"
#include "render/pixel_trunc.h"
#include "render/render_constants.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Sample rows first <= y < end of one part.
struct PartRows {
    int first, end;
};
PartRows rowsOfPart(int part, int parts, int rows)
{
    return PartRows{partStart(rows, part, parts), partStart(rows, part + 1, parts)};
}

// The largest sample of some rows greater than scale, or scale.
double largestAbove(FieldRows& samples, PartRows rows, double scale)
{
    for (int y = rows.first; y < rows.end; ++y) {
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

SampleSpan spanInsideMargin(const std::vector<int>& sampleColumns, int W)
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

// One sample onto its pixel of one plane: the literal plot of the sample's
// channel, then the saturation of the pixel itself (in a capped picture
// its neighbours, at most 255, would not change).
inline void plotSample(float& pixel, double value, double scale, double factor)
{
    const double intensity = std::fabs(value / scale);
    const int level = frame_plot::clampColour(truncChannel(intensity * factor * 255));
    pixel += render_constants::plotWeight * level;
    frame_plot::saturate(pixel);
}

#if defined(__SSE2__)

// plotSample for four samples onto four neighbouring pixels at a time, for
// samples x0 <= x < x1 whose pixels are row[first + x - x0]. A factor is
// never negative, so a product is +0 or more, +infinity or NaN: the last
// two give level 0, 255 and more give 255, the rest truncate. Every packed
// operation rounds as its scalar one does. Returns the first sample left.
int plotSampleQuads(float* row, const double* value, int x0, int x1, int first, double scale, double factor)
{
    float* pixel = row + first - x0;
    const __m128d divisor = _mm_set1_pd(scale);
    const __m128d colour = _mm_set1_pd(factor);
    const __m128d full = _mm_set1_pd(255.0);
    const __m128d infinity = _mm_set1_pd(HUGE_VAL);
    const __m128d weight = _mm_set1_pd(render_constants::plotWeight);
    const __m128d signBit = _mm_set1_pd(-0.0);
    const __m128 ceiling = _mm_set1_ps(render_constants::channelMax);
    auto addends = [&](const double* at) {
        const __m128d intensity = _mm_andnot_pd(signBit, _mm_div_pd(_mm_loadu_pd(at), divisor));
        const __m128d product = _mm_mul_pd(_mm_mul_pd(intensity, colour), full);
        const __m128d kept = _mm_and_pd(_mm_min_pd(product, full), _mm_cmplt_pd(product, infinity));
        return _mm_mul_pd(weight, _mm_cvtepi32_pd(_mm_cvttpd_epi32(kept)));
    };
    int x = x0;
    for (; x + 4 <= x1; x += 4) {
        const __m128 old = _mm_loadu_ps(pixel + x);
        const __m128d low = _mm_add_pd(_mm_cvtps_pd(old), addends(value + x));
        const __m128d high = _mm_add_pd(_mm_cvtps_pd(_mm_movehl_ps(old, old)), addends(value + x + 2));
        const __m128 sum = _mm_movelh_ps(_mm_cvtpd_ps(low), _mm_cvtpd_ps(high));
        _mm_storeu_ps(pixel + x, _mm_min_ps(ceiling, sum));  // keeps a NaN, as saturate does
    }
    return x;
}

#else

int plotSampleQuads(float*, const double*, int x0, int, int, double, double)
{
    return x0;
}

#endif

// One plane of one picture row, for a picture whose values are capped.
// Sample columns that land on neighbouring pixels go four at a time.
void plotPlaneRow(float* pictureRow, const double* value, const int* column, SampleSpan span, double scale,
                  double factor)
{
    int x = span.x0;
    if (span.x1 > span.x0 && column[span.x1 - 1] - column[span.x0] == span.x1 - 1 - span.x0)
        x = plotSampleQuads(pictureRow, value, span.x0, span.x1, column[span.x0], scale, factor);
    for (; x < span.x1; ++x)
        plotSample(pictureRow[column[x]], value[x], scale, factor);
}

// Every plane through the full plot, for a picture holding values above
// 255 somewhere.
void plotFullRow(const FramePlanes& planes, int row, const double* value, const int* sampleColumns,
                 SampleSpan span, double scale, const Factors& factors)
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
void plotSampleRow(const FramePlanes& planes, int row, const double* value, double scale, const Factors& factors,
                   const int* columns, SampleSpan span)
{
    if (!planes.capped) {
        plotFullRow(planes, row, value, columns, span, scale, factors);
        return;
    }
    if (factors.red != 0)
        plotPlaneRow(planes.red[row], value, columns, span, scale, factors.red);
    if (factors.green != 0)
        plotPlaneRow(planes.green[row], value, columns, span, scale, factors.green);
    if (factors.blue != 0)
        plotPlaneRow(planes.blue[row], value, columns, span, scale, factors.blue);
}

}  // namespace

// With I = |value / M|, each point (x, y) plots
//   addPixel(trunc(x + cw * 5/6), H - y,
//            trunc(I * red * 255), trunc(I * green * 255), trunc(I * blue * 255))
// where a product that is not finite gives 0. Every point lands on its own
// pixel and only adds (then saturates), so the points may be plotted row by
// row, along the picture's memory, with the very same result, and parts of
// the rows on several threads. The samples are made twice, once for M and
// once to plot, rather than kept.
// M: starts at -1 and takes every sample greater than it (NaN never is).
// The largest value does not depend on the order the samples are visited,
// and whichever of +0 and -0 it ends on, |value / M| is the same: the parts
// look for their largest at once.
double ScalarFieldPass::fieldScale(const ParallelParts& parallel, int parts)
{
    const int rows = fieldPoints.rows;
    std::vector<double> partLargest(parts);
    parallel.run(parts, [&](int part) {
        partLargest[part] = largestAbove(partSamples[part], rowsOfPart(part, parts, rows),
                                         render_constants::fieldScaleFloor);
    });
    double scale = render_constants::fieldScaleFloor;
    for (double largest : partLargest)
        if (largest > scale)
            scale = largest;
    return scale;
}

void ScalarFieldPass::draw(FrameImage& image, int32_t NX, int32_t NY, const Array2D<double>& a, int k,
                           int redFactor, int greenFactor, int blueFactor, double givenScale)
{
    if (!fieldFits(NX, NY, a, k))
        return;
    const FramePlanes planes = image.planes();
    const ParallelParts& parallel = image.parallel();
    // Without the cap a plot saturates the rows beside its own, which other
    // parts draw: then one part does it all. Small pictures are not worth
    // a thread either.
    const int rowsWorthAThread = 128;
    const int parts = planes.capped ? std::clamp(k * NY / rowsWorthAThread, 1, parallel.threads()) : 1;
    if (static_cast<int>(partSamples.size()) < parts)
        partSamples.resize(parts);
    fieldPoints.compute(NX, NY, k);
    for (int part = 0; part < parts; ++part) {
        const PartRows mine = rowsOfPart(part, parts, fieldPoints.rows);
        partSamples[part].start(fieldPoints, NX, a, mine.first, mine.end);
    }
    const double scale = std::isnan(givenScale) ? fieldScale(parallel, parts) : givenScale;

    using render_constants::colourFactorMask;
    const Factors factors{static_cast<double>(redFactor & colourFactorMask),
                          static_cast<double>(greenFactor & colourFactorMask),
                          static_cast<double>(blueFactor & colourFactorMask)};
    const double cw = static_cast<double>(k * NX) / NX;
    const int columns = fieldPoints.columns;
    sampleColumns.resize(columns);
    for (int x = 0; x < columns; ++x)
        sampleColumns[x] = truncCoordinate(x + cw * render_constants::fieldColumnShift);

    const SampleSpan span = spanInsideMargin(sampleColumns, planes.width);
    const int* columnOf = sampleColumns.data();
    const int H = k * NY;
    const int rows = fieldPoints.rows;
    parallel.run(parts, [&](int part) {
        const PartRows mine = rowsOfPart(part, parts, rows);
        for (int y = mine.first; y < mine.end; ++y) {
            const int row = H - y;
            if (row >= render_constants::plotMargin && row <= planes.height - render_constants::plotMargin)
                plotSampleRow(planes, row, partSamples[part].row(y), scale, factors, columnOf, span);
        }
    });
}
