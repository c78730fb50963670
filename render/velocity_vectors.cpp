#include "render/velocity_vectors.h"

#include "render/field_resample.h"
#include "render/frame_image.h"
#include "render/pixel_trunc.h"
#include "render/render_constants.h"

#include <cmath>

namespace {

// Draws the segment of cell (i, j) with face velocities (uu, vv).
//   s  = sqrt(vv^2 + uu^2)
//   X0 = cw (i + 0.5),                 Y0 = H - ch (j - 0.5)
//   X1 = X0 + 0.7 k uu / s,            Y1 = H - (ch (j - 0.5) + 0.7 k vv / s)
void drawCellVector(FrameImage& image, int32_t i, int32_t j, double uu, double vv, int k, int H, double cw, double ch,
                    int stride)
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
    const int grey = render_constants::vectorColour;
    image.drawLine(truncCoordinate(x0), truncCoordinate(y0),
                   truncCoordinate(x1), truncCoordinate(y1), grey, grey, grey);
}

}  // namespace

// Interior cells only, row by row (j outer, i inner).
void drawVelocityVectors(FrameImage& image, int32_t NX, int32_t NY, const Array2D<double>& u,
                         const Array2D<double>& v, int k, int minSpacing)
{
    if (!fieldFits(NX, NY, u, k) || !fieldFits(NX, NY, v, k))
        return;
    const int H = k * NY;
    const double cw = static_cast<double>(k * NX) / NX;
    const double ch = static_cast<double>(H) / NY;
    const int stride = k >= minSpacing ? 1 : (minSpacing + k - 1) / k;
    for (int32_t j = 1; j <= NY - 2; j += stride)
        for (int32_t i = 1; i <= NX - 2; i += stride)
            drawCellVector(image, i, j, u[i][j], v[i][j], k, H, cw, ch, stride);
}
