// The convection terms of the momentum predictor, one policy per scheme.
// The solver instantiates its predictor loops once per policy and picks the
// instantiation when it is built, so no scheme pays for another's choice.
//
// At a u face (i, j) the x-momentum terms are d(uu)/dx and d(uv)/dy; at a v
// face (i, j) the y-momentum terms are d(uv)/dx and d(vv)/dy. Each policy
// returns the two with the same operations, in the same order, as its
// formula is written below.
#pragma once

#include <cmath>

// Constants of one predictor pass, widened from the solver's floats. The
// designed terms divide by the spacings as first written; the newer schemes
// multiply by the reciprocals, which costs a fraction of a division.
struct ConvectionFactors {
    double dx;
    double dy;
    double twoDx;
    double twoDy;
    double invDx;
    double invDy;
    double invTwoDx;
    double invTwoDy;
    double gamma;  // donor-cell share of the upwind-blended scheme, 0..1
};

inline ConvectionFactors convectionFactorsFor(double dx, double dy, double gamma)
{
    return {dx, dy, 2.0 * dx, 2.0 * dy, 1.0 / dx, 1.0 / dy, 1.0 / (2.0 * dx), 1.0 / (2.0 * dy), gamma};
}

// Constants of the viscous term (1/Re) laplace(q) at a face.
struct ViscousFactors {
    double invRe;
    double dx2;
    double dy2;
    double invReDx2;  // 1 / (Re dx^2)
    double invReDy2;
};

inline ViscousFactors viscousFactorsFor(double reynolds, double dx, double dy)
{
    const double invRe = 1.0 / reynolds;
    const double dx2 = dx * dx, dy2 = dy * dy;
    return {invRe, dx2, dy2, invRe / dx2, invRe / dy2};
}

// The viscous term from q at the face and at its four neighbours, as first
// written: two divisions a face.
struct DividedViscosity {
    static double at(double south, double here, double north, double west, double east, const ViscousFactors& f)
    {
        return f.invRe * ((north - 2 * here + south) / f.dy2 + (east - 2 * here + west) / f.dx2);
    }
};

// The same with the divisions folded into the constants.
struct ScaledViscosity {
    static double at(double south, double here, double north, double west, double east, const ViscousFactors& f)
    {
        return (north - 2 * here + south) * f.invReDy2 + (east - 2 * here + west) * f.invReDx2;
    }
};

// The columns a u face reads: u at i-1, i, i+1 and v at i, i+1.
struct UFaceColumns {
    const double* uWest;
    const double* uHere;
    const double* uEast;
    const double* vHere;
    const double* vEast;
};

// The columns a v face reads: v at i-1, i, i+1 and u at i-1, i.
struct VFaceColumns {
    const double* vWest;
    const double* vHere;
    const double* vEast;
    const double* uWest;
    const double* uHere;
};

// x: the derivative in x, y: the derivative in y.
struct ConvectionTerms {
    double x;
    double y;
};

namespace convection_detail {
inline double sq(double x) { return x * x; }
}  // namespace convection_detail

// The terms as first designed; their cross terms multiply an average of two
// velocities by a single one, about 1/2 u dv/dy + v du/dy instead of
// d(uv)/dy. Kept to reproduce the original pictures bit for bit.
//   u face: x = (u[i+1][j]^2 - u[i-1][j]^2) / (2 dx)
//           y = (1/2 (v[i+1][j] + v[i][j]) u[i][j+1] - 1/2 (v[i][j-1] + v[i+1][j-1]) u[i][j-1]) / (2 dy)
//   v face: y = (v[i][j+1]^2 - v[i][j-1]^2) / (2 dy)
//           x = (1/2 (u[i][j] + u[i][j+1]) v[i+1][j] - 1/2 (u[i-1][j] + u[i-1][j+1]) v[i-1][j]) / (2 dx)
struct DesignedConvection {
    static constexpr bool blends = false;
    using Viscosity = DividedViscosity;

    static ConvectionTerms atUFace(const UFaceColumns& c, int j, const ConvectionFactors& f)
    {
        using convection_detail::sq;
        return {(sq(c.uEast[j]) - sq(c.uWest[j])) / f.twoDx,
                (0.5 * (c.vEast[j] + c.vHere[j]) * c.uHere[j + 1]
                 - 0.5 * (c.vHere[j - 1] + c.vEast[j - 1]) * c.uHere[j - 1]) / f.twoDy};
    }
    static ConvectionTerms atVFace(const VFaceColumns& c, int j, const ConvectionFactors& f)
    {
        using convection_detail::sq;
        return {(0.5 * (c.uHere[j] + c.uHere[j + 1]) * c.vEast[j]
                 - 0.5 * (c.uWest[j] + c.uWest[j + 1]) * c.vWest[j]) / f.twoDx,
                (sq(c.vHere[j + 1]) - sq(c.vHere[j - 1])) / f.twoDy};
    }
};
// The designed squares with consistent cross terms: the flux d(uv) through
// each face is the product of the two velocities averaged onto it.
//   u face: y = (1/2 (v[i][j] + v[i+1][j]) 1/2 (u[i][j] + u[i][j+1])
//                - 1/2 (v[i][j-1] + v[i+1][j-1]) 1/2 (u[i][j-1] + u[i][j])) / dy
//   v face: x = (1/2 (u[i][j] + u[i][j+1]) 1/2 (v[i][j] + v[i+1][j])
//                - 1/2 (u[i-1][j] + u[i-1][j+1]) 1/2 (v[i-1][j] + v[i][j])) / dx
struct CentralConvection {
    static constexpr bool blends = false;
    using Viscosity = ScaledViscosity;

    static ConvectionTerms atUFace(const UFaceColumns& c, int j, const ConvectionFactors& f)
    {
        using convection_detail::sq;
        const double vNorth = 0.5 * (c.vHere[j] + c.vEast[j]);
        const double vSouth = 0.5 * (c.vHere[j - 1] + c.vEast[j - 1]);
        return {(sq(c.uEast[j]) - sq(c.uWest[j])) * f.invTwoDx,
                (vNorth * (0.5 * (c.uHere[j] + c.uHere[j + 1]))
                 - vSouth * (0.5 * (c.uHere[j - 1] + c.uHere[j]))) * f.invDy};
    }
    static ConvectionTerms atVFace(const VFaceColumns& c, int j, const ConvectionFactors& f)
    {
        using convection_detail::sq;
        const double uEastFace = 0.5 * (c.uHere[j] + c.uHere[j + 1]);
        const double uWestFace = 0.5 * (c.uWest[j] + c.uWest[j + 1]);
        return {(uEastFace * (0.5 * (c.vHere[j] + c.vEast[j]))
                 - uWestFace * (0.5 * (c.vWest[j] + c.vHere[j]))) * f.invDx,
                (sq(c.vHere[j + 1]) - sq(c.vHere[j - 1])) * f.invTwoDy};
    }
};

// Conservative central fluxes plus a share gamma of donor-cell upwinding,
// which damps the wiggles central differences grow at high Reynolds numbers.
// At a u face, with ue, uw the u averaged onto the cell centres east and
// west and vn, vs the v averaged onto the corners north and south:
//   x = (ue^2 - uw^2)/dx + gamma/dx (|ue| 1/2 (u[i] - u[i+1]) - |uw| 1/2 (u[i-1] - u[i]))
//   y = (vn 1/2 (u[j] + u[j+1]) - vs 1/2 (u[j-1] + u[j]))/dy
//       + gamma/dy (|vn| 1/2 (u[j] - u[j+1]) - |vs| 1/2 (u[j-1] - u[j]))
// and the mirror image at a v face.
struct BlendedConvection {
    static constexpr bool blends = true;
    using Viscosity = ScaledViscosity;

    // One direction's flux difference: a, b, c are the transported velocity
    // before, at and after the face; acrossIn and acrossOut the velocities
    // carrying it in and out; invH the reciprocal of the spacing.
    static double blendedDifference(double a, double b, double c, double acrossIn, double acrossOut,
                                    double invH, double gamma)
    {
        const double central = acrossOut * (0.5 * (b + c)) - acrossIn * (0.5 * (a + b));
        const double donor = std::fabs(acrossOut) * (0.5 * (b - c)) - std::fabs(acrossIn) * (0.5 * (a - b));
        return (central + gamma * donor) * invH;
    }
    static ConvectionTerms atUFace(const UFaceColumns& c, int j, const ConvectionFactors& f)
    {
        const double ue = 0.5 * (c.uHere[j] + c.uEast[j]);
        const double uw = 0.5 * (c.uWest[j] + c.uHere[j]);
        const double vn = 0.5 * (c.vHere[j] + c.vEast[j]);
        const double vs = 0.5 * (c.vHere[j - 1] + c.vEast[j - 1]);
        return {blendedDifference(c.uWest[j], c.uHere[j], c.uEast[j], uw, ue, f.invDx, f.gamma),
                blendedDifference(c.uHere[j - 1], c.uHere[j], c.uHere[j + 1], vs, vn, f.invDy, f.gamma)};
    }
    static ConvectionTerms atVFace(const VFaceColumns& c, int j, const ConvectionFactors& f)
    {
        const double vn = 0.5 * (c.vHere[j] + c.vHere[j + 1]);
        const double vs = 0.5 * (c.vHere[j - 1] + c.vHere[j]);
        const double ue = 0.5 * (c.uHere[j] + c.uHere[j + 1]);
        const double uw = 0.5 * (c.uWest[j] + c.uWest[j + 1]);
        return {blendedDifference(c.vWest[j], c.vHere[j], c.vEast[j], uw, ue, f.invDx, f.gamma),
                blendedDifference(c.vHere[j - 1], c.vHere[j], c.vHere[j + 1], vs, vn, f.invDy, f.gamma)};
    }
};
