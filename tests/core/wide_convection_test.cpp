// The default method's convection terms: fourth order where their reach is
// clear, and conservative everywhere, so that a box's momentum balance with
// the same fluxes is exact.
#include "core/face_boundaries.h"
#include "core/outline_forces.h"
#include "core/wide_convection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// A smooth field that is not divergence-free, so both products matter.
double uAt(double x, double y) { return 1.0 + 0.5 * std::sin(2.0 * x + 0.3) * std::cos(1.5 * y); }
double vAt(double x, double y) { return 0.4 * std::cos(1.7 * x) * std::sin(2.2 * y + 0.1); }

// d(uu)/dx + d(uv)/dy at (x, y), by the product rule.
double uTermAt(double x, double y)
{
    const double u = uAt(x, y), v = vAt(x, y);
    const double dudx = std::cos(2.0 * x + 0.3) * std::cos(1.5 * y);
    const double dudy = -0.75 * std::sin(2.0 * x + 0.3) * std::sin(1.5 * y);
    const double dvdy = 0.88 * std::cos(1.7 * x) * std::cos(2.2 * y + 0.1);
    return 2.0 * u * dudx + u * dvdy + v * dudy;
}

// An all-fluid grid of n x n cells on a domain 4 wide, holding the field.
Grid fieldGrid(int32_t n)
{
    Grid g;
    makeFluidGrid(g, n, n);
    g.dx = g.dy = 4.0 / n;
    for (int32_t i = 0; i < n; ++i)
        for (int32_t j = 0; j < n; ++j) {
            g.u[i][j] = uAt((i + 1) * g.dx, (j + 0.5) * g.dy);
            g.v[i][j] = vAt((i + 0.5) * g.dx, (j + 1) * g.dy);
        }
    return g;
}

struct TermErrors {
    double wide = 0.0;    // largest error at u faces whose four fluxes are wide
    double narrow = 0.0;  // at u faces whose four fluxes are second order
    int wideFaces = 0, narrowFaces = 0;
};

TermErrors uTermErrors(int32_t n)
{
    Grid g = fieldGrid(n);
    const FaceBoundaries plan = planFaceBoundaries(g);
    const WideReach reach = wideReachFor(plan, n, n);
    ConvectionFluxes work;
    work.allocate(n, n);
    Array2D<double> convU(n, n), convV(n, n);
    wideConvection(g.u, g.v, reach, plan, g.dx, g.dy, work, convU, convV);
    TermErrors e;
    for (int32_t i = 1; i <= n - 3; ++i)
        for (int32_t j = 2; j <= n - 3; ++j) {
            const int wide = reach.centre[i][j] + reach.centre[i + 1][j] + reach.corner[i][j] + reach.corner[i][j - 1];
            const double error = std::fabs(convU[i][j] - uTermAt((i + 1) * g.dx, (j + 0.5) * g.dy));
            if (wide == 4) {
                e.wide = std::max(e.wide, error);
                ++e.wideFaces;
            } else if (wide == 0) {
                e.narrow = std::max(e.narrow, error);
                ++e.narrowFaces;
            }
        }
    return e;
}

}  // namespace

// Halving the cells divides the error by about 16 where the fluxes are
// wide and by about 4 where they are not.
TEST(WideConvection, FourthOrderWhereClearSecondOrderBesideWalls)
{
    const TermErrors coarse = uTermErrors(40), fine = uTermErrors(80);
    ASSERT_GT(coarse.wideFaces, 0);
    ASSERT_GT(coarse.narrowFaces, 0);
    const double wideOrder = std::log2(coarse.wide / fine.wide);
    const double narrowOrder = std::log2(coarse.narrow / fine.narrow);
    EXPECT_GT(wideOrder, 3.7);
    EXPECT_LT(wideOrder, 4.3);
    EXPECT_GT(narrowOrder, 1.7);
    EXPECT_LT(narrowOrder, 2.3);
}

// Summed over a box that reaches from the walls' neighbourhood into the
// clear middle, the faces' terms are what the box's sides carry out, as
// the box balance reads them: no momentum is made where the fluxes change
// form, and the balance uses the solver's own fluxes.
TEST(WideConvection, TermsOfABoxSumToTheFluxThroughItsSides)
{
    Grid g = fieldGrid(30);
    const FaceBoundaries plan = planFaceBoundaries(g);
    const WideReach reach = wideReachFor(g);
    ConvectionFluxes work;
    work.allocate(g.NX, g.NY);
    Array2D<double> convU(g.NX, g.NY), convV(g.NX, g.NY);
    wideConvection(g.u, g.v, reach, plan, g.dx, g.dy, work, convU, convV);
    const MomentumBox box{2, 20, 3, 24};
    ASSERT_FALSE(reach.centre[box.i0][box.j0]);
    ASSERT_TRUE(reach.centre[12][12]);
    double sumU = 0.0, sumV = 0.0;
    for (int32_t i = box.i0; i < box.i1; ++i)
        for (int32_t j = box.j0; j <= box.j1; ++j)
            sumU += convU[i][j] * g.dx * g.dy;
    for (int32_t i = box.i0; i <= box.i1; ++i)
        for (int32_t j = box.j0; j < box.j1; ++j)
            sumV += convV[i][j] * g.dx * g.dy;
    const double inviscid = 1e300;  // the viscous fluxes vanish; p is zero
    const BoxBalance wide = boxBalance(g, box, inviscid, &reach);
    EXPECT_NEAR(wide.outflux.fx, sumU, 1e-12);
    EXPECT_NEAR(wide.outflux.fy, sumV, 1e-12);
    // The second-order fluxes alone would miss it.
    const BoxBalance narrow = boxBalance(g, box, inviscid, nullptr);
    EXPECT_GT(std::fabs(narrow.outflux.fx - sumU), 1e-6);
}
