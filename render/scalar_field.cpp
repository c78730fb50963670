#include "scalar_field.h"

#include "field_resample.h"
#include "frame_image.h"
#include "pixel_trunc.h"
#include "render_constants.h"

#include <cmath>

namespace {

// The resampled field of the latest call; reused while the size holds.
ResampledField samples;

// M: starts at -1 and takes every sample greater than it (NaN never is).
double fieldScale(const ResampledField& field)
{
    double scale = render_constants::fieldScaleFloor;
    for (double value : field.values)
        if (value > scale)
            scale = value;
    return scale;
}

}  // namespace

// With I = |value / M|, each point (x, y) plots
//   addPixel(trunc(x + cw * 5/6), H - y,
//            trunc(I * red * 255), trunc(I * green * 255), trunc(I * blue * 255))
// where a product that is not finite gives 0.
void drawScalarField(int32_t NX, int32_t NY, const Array2D<double>& a, int k,
                     int redFactor, int greenFactor, int blueFactor)
{
    if (!fieldFits(NX, NY, a, k))
        return;
    resampleField(NX, NY, a, k, samples);
    const double scale = fieldScale(samples);

    using render_constants::colourFactorMask;
    const double red = redFactor & colourFactorMask;
    const double green = greenFactor & colourFactorMask;
    const double blue = blueFactor & colourFactorMask;
    const int H = k * NY;
    const double cw = static_cast<double>(k * NX) / NX;

    const double* value = samples.values.data();
    for (int x = 0; x < samples.columns; ++x) {
        const int column = truncCoordinate(x + cw * render_constants::fieldColumnShift);
        for (int y = 0; y < samples.rows; ++y) {
            const double intensity = std::fabs(*value++ / scale);
            addPixel(column, H - y,
                     truncChannel(intensity * red * 255),
                     truncChannel(intensity * green * 255),
                     truncChannel(intensity * blue * 255));
        }
    }
}
