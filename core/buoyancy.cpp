#include "core/buoyancy.h"

#include <algorithm>
#include <cmath>
#include <limits>

Buoyancy::Buoyancy(const SimGrid& state, const HeatScales& scales) : g(state), scales(scales) {}

void Buoyancy::addTo(const FaceBoundaries& plan, double weight, Array2D<double>& rightU, Array2D<double>& rightV) const
{
    const Array2D<double>& T = g.scalars.T;
    const double perDegree = -scales.buoyancy / scales.span * weight;
    const double reference = scales.reference;
    const int32_t NX = g.NX, NY = g.NY;
    if (scales.gx != 0.0) {
        const double factor = perDegree * scales.gx;
        for (int32_t i = 1; i <= NX - 2; ++i)
            for (int32_t j = 1; j <= NY - 2; ++j)
                rightU[i][j] += plan.u.unknown[i][j] * factor * (0.5 * (T[i][j] + T[i + 1][j]) - reference);
    }
    if (scales.gy != 0.0) {
        const double factor = perDegree * scales.gy;
        for (int32_t i = 1; i <= NX - 2; ++i)
            for (int32_t j = 1; j <= NY - 2; ++j)
                rightV[i][j] += plan.v.unknown[i][j] * factor * (0.5 * (T[i][j] + T[i][j + 1]) - reference);
    }
}

// a = B / 2 at the largest (T - T_ref) / dT of 1/2 moves a fluid at rest by
// a dt^2 / 2 in dt; that is at most h / 2 for dt = sqrt(h / a).
double Buoyancy::stepLimit() const
{
    const double largest = 0.5 * std::fabs(scales.buoyancy);
    if (!(largest > 0.0))
        return std::numeric_limits<double>::infinity();
    return std::sqrt(std::min(g.dx, g.dy) / largest);
}
