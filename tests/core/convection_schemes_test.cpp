#include "core/convection_schemes.h"
#include "core/flow_check.h"
#include "core/flow_solver.h"
#include "core/time_step.h"
#include "support/scenario_grids.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// u and v sampled from functions of position on a 5 x 5 patch, cell size h:
// u[i][j] at ((i+1) h, (j+1/2) h), v[i][j] at ((i+1/2) h, (j+1) h).
struct Patch {
    static constexpr double h = 0.1;
    double u[5][5];
    double v[5][5];

    template <class U, class V>
    Patch(U uAt, V vAt)
    {
        for (int i = 0; i < 5; ++i)
            for (int j = 0; j < 5; ++j) {
                u[i][j] = uAt((i + 1) * h, (j + 0.5) * h);
                v[i][j] = vAt((i + 0.5) * h, (j + 1) * h);
            }
    }
    UFaceColumns uFace() const { return {u[1], u[2], u[3], v[2], v[3]}; }
    VFaceColumns vFace() const { return {v[1], v[2], v[3], u[1], u[2]}; }
};

ConvectionFactors factors(double gamma) { return convectionFactorsFor(Patch::h, Patch::h, gamma); }

}  // namespace

// With u = y and v = y, d(uv)/dy = 2y at a u face; with u = x and v = x,
// d(uv)/dx = 2x at a v face. The consistent terms are exact there; the
// designed ones give 1/2 u dv/dy + v du/dy = 1.5 y (1.5 x).
TEST(ConvectionTerms, CrossTermsOfTheSchemesOnLinearFields)
{
    const Patch alongY([](double, double y) { return y; }, [](double, double y) { return y; });
    const Patch alongX([](double x, double) { return x; }, [](double x, double) { return x; });
    const double yU = 2.5 * Patch::h;  // the u face (2, 2)
    const double xV = 2.5 * Patch::h;  // the v face (2, 2)
    struct Case {
        const char* name;
        ConvectionTerms atU;
        ConvectionTerms atV;
        double factor;  // of 2y and 2x
    };
    const Case cases[] = {
        {"central", CentralConvection::atUFace(alongY.uFace(), 2, factors(0)),
         CentralConvection::atVFace(alongX.vFace(), 2, factors(0)), 1.0},
        {"blended", BlendedConvection::atUFace(alongY.uFace(), 2, factors(0)),
         BlendedConvection::atVFace(alongX.vFace(), 2, factors(0)), 1.0},
        {"designed", DesignedConvection::atUFace(alongY.uFace(), 2, factors(0)),
         DesignedConvection::atVFace(alongX.vFace(), 2, factors(0)), 0.75},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(c.atU.y, c.factor * 2 * yU, 1e-12) << c.name;
        EXPECT_NEAR(c.atV.x, c.factor * 2 * xV, 1e-12) << c.name;
    }
}

// The squared terms: central keeps the designed (u[i+1]^2 - u[i-1]^2)/(2 dx),
// multiplying by 1/(2 dx) where it divided; the blended scheme is the donor-cell scheme at gamma = 1,
// (ue u[i] - uw u[i-1]) / dx for u > 0, and central fluxes at gamma = 0.
TEST(ConvectionTerms, SquaredTermsAndTheBlend)
{
    const Patch p([](double x, double y) { return 1.0 + x * x + 0.3 * y; },
                  [](double x, double y) { return 0.5 + y * y + 0.2 * x; });
    const ConvectionTerms designed = DesignedConvection::atUFace(p.uFace(), 2, factors(0));
    const ConvectionTerms central = CentralConvection::atUFace(p.uFace(), 2, factors(0));
    EXPECT_DOUBLE_EQ(central.x, designed.x);
    EXPECT_DOUBLE_EQ(CentralConvection::atVFace(p.vFace(), 2, factors(0)).y,
              DesignedConvection::atVFace(p.vFace(), 2, factors(0)).y);

    const double* u = p.u[2];
    const double ue = 0.5 * (p.u[2][2] + p.u[3][2]), uw = 0.5 * (p.u[1][2] + p.u[2][2]);
    EXPECT_NEAR(BlendedConvection::atUFace(p.uFace(), 2, factors(0)).x, (ue * ue - uw * uw) / Patch::h, 1e-12);
    EXPECT_NEAR(BlendedConvection::atUFace(p.uFace(), 2, factors(1)).x, (ue * p.u[2][2] - uw * p.u[1][2]) / Patch::h,
                1e-12);
    const double vn = 0.5 * (p.v[2][2] + p.v[3][2]), vs = 0.5 * (p.v[2][1] + p.v[3][1]);
    EXPECT_NEAR(BlendedConvection::atUFace(p.uFace(), 2, factors(1)).y, (vn * u[2] - vs * u[1]) / Patch::h, 1e-12);
    const double vN = 0.5 * (p.v[2][2] + p.v[2][3]), vS = 0.5 * (p.v[2][1] + p.v[2][2]);
    EXPECT_NEAR(BlendedConvection::atVFace(p.vFace(), 2, factors(1)).y, (vN * p.v[2][2] - vS * p.v[2][1]) / Patch::h,
                1e-12);
}

// The newer schemes multiply by reciprocals where the designed ones divide:
// on cells that are not square (a 30 x 20 grid has dx = 1/30, dy = 1/20) the
// two must still agree, term by term, to rounding; a reciprocal of the
// wrong direction would be off by the aspect ratio.
TEST(ConvectionTerms, ReciprocalsMatchTheDivisionsOnUnequalCells)
{
    const Patch p([](double x, double y) { return 1.0 + x * x + 0.3 * y; },
                  [](double x, double y) { return 0.5 + y * y + 0.2 * x; });
    struct Spacing {
        double reynolds, dx, dy;
    };
    for (const Spacing& s : {Spacing{100, 1.0 / 30, 1.0 / 20}, Spacing{2000, 0.01, 0.04}}) {
        SCOPED_TRACE(testing::Message() << "dx " << s.dx << " dy " << s.dy);
        const ConvectionFactors f = convectionFactorsFor(s.dx, s.dy, 0.0);
        const ViscousFactors visc = viscousFactorsFor(s.reynolds, s.dx, s.dy);
        const double divided = DividedViscosity::at(0.3, 1.1, 0.7, -0.4, 2.5, visc);
        EXPECT_NEAR(ScaledViscosity::at(0.3, 1.1, 0.7, -0.4, 2.5, visc), divided, 1e-13 * std::fabs(divided));
        const double uSquared = DesignedConvection::atUFace(p.uFace(), 2, f).x;
        const double vSquared = DesignedConvection::atVFace(p.vFace(), 2, f).y;
        EXPECT_NEAR(CentralConvection::atUFace(p.uFace(), 2, f).x, uSquared, 1e-13 * std::fabs(uSquared));
        EXPECT_NEAR(CentralConvection::atVFace(p.vFace(), 2, f).y, vSquared, 1e-13 * std::fabs(vSquared));
        // At gamma 0 the blended cross term is the central one.
        EXPECT_NEAR(BlendedConvection::atUFace(p.uFace(), 2, f).y, CentralConvection::atUFace(p.uFace(), 2, f).y, 1e-12);
        EXPECT_NEAR(BlendedConvection::atVFace(p.vFace(), 2, f).x, CentralConvection::atVFace(p.vFace(), 2, f).x, 1e-12);
    }
}

TEST(TimeStepRule, SmallestBoundHalvedAndZeroSpeedsLeftOut)
{
    struct Case {
        double reynolds;
        LargestVelocities fastest;
        bool centralBound;
        double expected;
    };
    const double h = 0.05;
    const double viscous = 0.5 * (100.0 / 2 / (2 / (h * h)));  // 0.03125
    const Case cases[] = {
        {100, {0.0, 0.0}, true, viscous},                 // at rest: viscosity only
        {100, {4.0, 0.0}, false, 0.5 * h / 4},            // dx / |u|
        {100, {0.0, 10.0}, false, 0.5 * h / 10},          // dy / |v|
        {100, {4.0, 0.0}, true, 0.5 * 2 / (100 * 16.0)},  // 2 / (Re u^2)
        {2000, {1.0, 1.0}, true, 0.5 * 2 / (2000 * 2.0)},  // 2 / (Re (u^2 + v^2))
        {2000, {1.0, 1.0}, false, 0.5 * h},               // not for the blended scheme
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(stableTimeStep({h, h, c.reynolds, c.centralBound}, c.fastest), c.expected)
            << c.reynolds << " " << c.fastest.u << " " << c.fastest.v << " " << c.centralBound;
}

// Automatic steps take the rule's dt, held as a float; a fixed dt is
// reported as held.
TEST(TimeStepRule, SolverTakesTheRulesStepBeforeEveryStep)
{
    Grid g;
    makeLidCavity(g, 30);
    FlowSolver automatic(g, SolverSettings{1000, 0.0, Convection::Central, true});
    for (int n = 0; n < 20; ++n) {
        const LargestVelocities fastest = largestVelocities(automatic.state());
        const double rule = stableTimeStep({g.dx, g.dy, 1000, true}, fastest);
        ASSERT_EQ(automatic.step().dt, static_cast<double>(static_cast<float>(rule))) << n;
    }
    FlowSolver fixed(g, SolverSettings{1000, 0.003, Convection::Central, false});
    EXPECT_EQ(fixed.step().dt, static_cast<double>(0.003f));
}

TEST(FlowCheck, BlowUpIsNonFiniteOrHundredTimesTheSetUpSpeed)
{
    Grid g;
    makeLidCavity(g, 10);
    EXPECT_EQ(setUpSpeed(g), 1.0);
    g.u[0][5] = 3.0;  // an inflow three times faster
    EXPECT_EQ(setUpSpeed(g), 3.0);
    Grid still;
    makeFluidGrid(still, 10, 10);
    EXPECT_EQ(setUpSpeed(still), 1.0);  // never below 1

    EXPECT_FALSE(flowUnstable(g, 3.0));
    g.v[4][4] = -299.0;
    EXPECT_FALSE(flowUnstable(g, 3.0));
    g.v[4][4] = -301.0;
    EXPECT_TRUE(flowUnstable(g, 3.0));
    g.v[4][4] = 0.0;
    g.u[4][4] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(flowUnstable(g, 3.0));
    g.u[4][4] = 0.0;
    g.p[2][2] = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(flowUnstable(g, 3.0));

    EXPECT_EQ(instabilityMessage(812, 2.436, 0.000251),
              "The flow became unstable at cycle 812 (t = 2.436). Use a smaller Delta Time "
              "(about 0.00025 or less for this grid) or tick Automatic.");
}

// The extremes a step finds in its last pass are those a scan of its result
// finds, up to and past a blow-up (dt far too large for Re 1000), for each
// scheme, and with the time step fixed or automatic.
TEST(FlowCheck, StepFindsTheExtremesAScanFinds)
{
    Grid g;
    makeLidCavity(g, 24);
    for (Convection scheme : {Convection::Central, Convection::UpwindBlended, Convection::Designed})
        for (bool automatic : {false, true}) {
            SCOPED_TRACE(static_cast<int>(scheme) * 2 + automatic);
            FlowSolver solver(g, SolverSettings{1000, 0.5, scheme, automatic});
            solver.trackExtremes();
            solver.capSweeps(50);
            bool blownUp = false;
            for (int n = 0; n < 60; ++n) {
                solver.step();
                const FieldExtremes scanned = fieldExtremes(solver.state());
                const FieldExtremes& found = solver.stateExtremes();
                ASSERT_EQ(found.fastest.u, scanned.fastest.u) << n;
                ASSERT_EQ(found.fastest.v, scanned.fastest.v) << n;
                ASSERT_EQ(found.finite, scanned.finite) << n;
                blownUp = blownUp || !found.finite;
            }
            EXPECT_EQ(blownUp, !automatic);
        }
}

// The suggestion is the automatic rule with the set-up speed both ways.
TEST(FlowCheck, SuggestedTimeStepFollowsTheRule)
{
    Grid g;
    makeLidCavity(g, 20);
    const double central = suggestedTimeStep(g, SolverSettings{2000, 0.01, Convection::Central, false});
    EXPECT_DOUBLE_EQ(central, 0.5 * 2 / (2000 * 2.0));
    const double blended = suggestedTimeStep(g, SolverSettings{2000, 0.01, Convection::UpwindBlended, false});
    EXPECT_DOUBLE_EQ(blended, 0.5 * g.dx);
}
