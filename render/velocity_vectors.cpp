#include "render/velocity_vectors.h"

#include "render/field_resample.h"
#include "render/frame_image.h"
#include "render/pixel_trunc.h"
#include "render/render_constants.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace {

// Rows firstRow <= row < endRow of the picture: the part one thread draws.
struct VectorRows {
    int first, end;
};

// Draws the segment of cell (i, j) with face velocities (uu, vv), its dots
// on the given rows.
//   s  = sqrt(vv^2 + uu^2)
//   X0 = cw (i + 0.5),                 Y0 = H - ch (j - 0.5)
//   X1 = X0 + 0.7 k uu / s,            Y1 = H - (ch (j - 0.5) + 0.7 k vv / s)
void drawCellVector(FrameImage& image, int32_t i, int32_t j, double uu, double vv, int k, int H, double cw, double ch,
                    int stride, VectorRows rows)
{
    const double speed = std::sqrt(vv * vv + uu * uu);
    if (speed == 0 || !std::isfinite(speed) || !std::isfinite(uu) || !std::isfinite(vv))
        return;
    using render_constants::vectorLengthFactor;
    const double x0 = cw * (i + 0.5);
    const double y0 = H - ch * (j - 0.5);
    const double length = vectorLengthFactor * k * stride;
    const double x1 = x0 + length * uu / speed;
    const double y1 = H - (ch * (j - 0.5) + length * vv / speed);
    const int row0 = truncCoordinate(y0);
    const int row1 = truncCoordinate(y1);
    // A dot's row lies between the ends' rows, give or take the rounding
    // of the point between them: a segment clear of the rows by more is
    // another thread's.
    if (std::max(row0, row1) + 1 < rows.first || std::min(row0, row1) - 1 >= rows.end)
        return;
    const int grey = render_constants::vectorColour;
    image.drawLine(truncCoordinate(x0), row0, truncCoordinate(x1), row1, grey, grey, grey, rows.first, rows.end);
}

}  // namespace

// Interior cells only, row by row (j outer, i inner). In a capped picture a
// dot changes its own pixel alone, so bands of rows go to the threads, each
// drawing every segment's dots on its rows in the same order.
void drawVelocityVectors(FrameImage& image, int32_t NX, int32_t NY, const Array2D<double>& u,
                         const Array2D<double>& v, int k, int minSpacing)
{
    if (!fieldFits(NX, NY, u, k) || !fieldFits(NX, NY, v, k))
        return;
    const int H = k * NY;
    const double cw = static_cast<double>(k * NX) / NX;
    const double ch = static_cast<double>(H) / NY;
    const int stride = k >= minSpacing ? 1 : (minSpacing + k - 1) / k;
    const ParallelParts& parallel = image.parallel();
    const int rowsWorthAThread = 64;
    const int bands = image.planes().capped ? std::clamp(H / rowsWorthAThread, 1, parallel.threads()) : 1;
    parallel.run(bands, [&](int band) {
        const VectorRows rows{band == 0 ? INT_MIN : static_cast<int>(int64_t(H) * band / bands),
                              band == bands - 1 ? INT_MAX : static_cast<int>(int64_t(H) * (band + 1) / bands)};
        for (int32_t j = 1; j <= NY - 2; j += stride)
            for (int32_t i = 1; i <= NX - 2; i += stride)
                drawCellVector(image, i, j, u[i][j], v[i][j], k, H, cw, ch, stride, rows);
    });
}
