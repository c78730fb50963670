// Shedding analysis on known signals, and the history and summary of a run.
#include "sim/measurements.h"
#include "sim/shedding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;

// C_D = 1.4 + a/6 sin(4 pi f t), C_L = 0.1 + a sin(2 pi f t) over 0..40;
// with noise, C_L = 0.1 + a times a pseudo-random number in -1..1 instead.
std::vector<CoefficientSample> signal(double f, double a, bool noise = false)
{
    std::vector<CoefficientSample> samples;
    unsigned state = 12345u;
    for (int k = 0; k <= 4000; ++k) {
        const double t = 0.01 * k;
        state = state * 1103515245u + 12345u;
        const double wave = noise ? (state >> 8) / double(1u << 23) - 1.0 : std::sin(2 * kPi * f * t);
        samples.push_back({t, 1.4 + a / 6 * std::sin(4 * kPi * f * t), 0.1 + a * wave});
    }
    return samples;
}

}  // namespace

TEST(Shedding, FrequencyMeansAndAmplitudesOverWholePeriods)
{
    struct Case {
        double f, amplitude;
        bool sheds;
        bool noise;
    };
    for (const Case c : {Case{0.25, 0.3, true, false}, Case{0.137, 0.05, true, false},
                         Case{0.25, 1e-4, false, false},
                         Case{0.04, 0.3, false, false},    // under two whole periods in the last half
                         Case{0.25, 0.3, false, true},     // noise crossing its mean
                         Case{20.0, 0.3, false, false}}) { // five samples a period: not resolved
        const CoefficientStats s = analyseCoefficients(signal(c.f, c.amplitude, c.noise), 1.5, 0.125);
        ASSERT_EQ(s.strouhal.has_value(), c.sheds) << c.f << " " << c.amplitude;
        EXPECT_NEAR(s.cdMean, 1.4, (c.sheds ? 0.01 : 1.0) * c.amplitude / 6 + 1e-9);
        if (!c.sheds) continue;
        EXPECT_NEAR(*s.frequency, c.f, 1e-3 * c.f);
        EXPECT_NEAR(*s.strouhal, c.f * 0.125 / 1.5, 1e-3 * c.f);
        EXPECT_NEAR(s.clMean, 0.1, 0.01 * c.amplitude);
        EXPECT_NEAR(s.clAmplitude, c.amplitude, 0.01 * c.amplitude);
        EXPECT_NEAR(s.cdAmplitude, c.amplitude / 6, 0.01 * c.amplitude);
    }
}

TEST(Measurements, HistoryColumnsAndSummaryOfAStillFlow)
{
    Grid g;
    makeFluidGrid(g, 12, 8);
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j)
            if (g.onBorder(i, j)) g.setCell(i, j, CELL_NOSLIP_WALL);
    g.setCell(5, 4, CELL_NOSLIP_WALL);
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j) g.p[i][j] = 2.0;  // a uniform pressure pushes nowhere
    Measurements m(g, 100.0, ReferenceScales{2.0, std::nullopt}, {{0.5, 0.5}, {1.0, 0.25}});
    for (int step = 0; step < 10; ++step) m.record(g, 0.1 * step);
    ASSERT_EQ(m.bodies().size(), 2u);
    EXPECT_EQ(m.bodies()[0].body.cells, 1);
    EXPECT_DOUBLE_EQ(m.bodies()[0].length, g.dy);
    EXPECT_DOUBLE_EQ(m.bodies()[0].cd, 0.0);
    EXPECT_DOUBLE_EQ(m.probeValues()[1].p, 2.0);

    const std::string header = historyHeader(m);
    const std::string line = historyLine(m, 7, 0.7, 0.1, 3, flowFigures(g));
    EXPECT_EQ(std::count(header.begin(), header.end(), ','), 7 + 2 * 4 + 2 * 3 - 1);
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), std::count(header.begin(), header.end(), ','));
    EXPECT_EQ(header.rfind("step,t,dt,sweeps,max_speed,kinetic_energy,max_divergence,body1_cd", 0), 0u);

    const std::string json = summaryJson(m, 10, 0.9, "until-time");
    EXPECT_EQ(summaryJson(m, 10, 0.9, "").find("stopped"), std::string::npos);
    for (const char* part : {"\"steps\": 10", "\"time\": 0.9", "\"stopped\": \"until-time\",", "\"reynolds\": 100,", "\"cells\": 1", "\"strouhal\": null",
                             "\"x\": 1, \"y\": 0.25", "\"p\": 2"})
        EXPECT_NE(json.find(part), std::string::npos) << part;
}

TEST(FlowFigures, SpeedEnergyAndDivergence)
{
    Grid g;
    makeFluidGrid(g, 6, 6);
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j) g.u[i][j] = 3.0;
    g.u[2][2] = 3.5;  // cell (2, 2) gains 0.5/dx, cell (3, 2) loses it
    const FlowFigures f = flowFigures(g);
    EXPECT_NEAR(f.maxDivergence, 0.5 / g.dx, 1e-12);
    EXPECT_NEAR(f.maxSpeed, 3.25, 1e-12);
    EXPECT_GT(f.kineticEnergy, 0.5 * 9.0 * 25 * g.dx * g.dy);
}

namespace {

// A still channel 40 x 20 (domain 2 x 1) with a circle drawn at (0.8, 0.5).
Grid channelWithCircle()
{
    Grid g;
    makeFluidGrid(g, 40, 20);
    g.outlines.push_back(BodyOutline::circle(0.8, 0.5, 0.15));
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j)
            if ((g.outlines[0].centre.x - (i + 0.5) * g.dx) * (g.outlines[0].centre.x - (i + 0.5) * g.dx) +
                    (0.5 - (j + 0.5) * g.dy) * (0.5 - (j + 0.5) * g.dy) < 0.1 * 0.1)
                g.setCell(i, j, CELL_NOSLIP_WALL);
    return g;
}

}  // namespace

// A body drawn with an outline is measured on it, first, and its cells are
// not a body of their own; its force is the momentum its box loses.
TEST(Measurements, OutlineBodiesComeFirstWithTheForceTheirBoxLoses)
{
    Grid g = channelWithCircle();
    // A pressure rising by 3 per unit of x, the fluid at rest: the box's
    // east side pushes 3 x (its width) x (its height) harder than its west
    // side, and that is the body's force, towards -x.
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j)
            g.p[i][j] = 3.0 * (i + 0.5) * g.dx;
    ReferenceScales scales;
    scales.speed = 1.0;
    Measurements m(g, 100.0, scales, {{0.8 - 0.15, 0.5}, {0.8, 0.5 + 0.15}});
    m.record(g, 0.0);
    ASSERT_EQ(m.bodies().size(), 2u);  // the outline, then all walls together
    const BodyRecord& circle = m.bodies()[0];
    EXPECT_EQ(circle.outline, 0);
    EXPECT_DOUBLE_EQ(circle.length, 0.3);
    const double width = (circle.box.i1 - circle.box.i0) * g.dx;
    const double height = (circle.box.j1 - circle.box.j0 + 1) * g.dy;
    EXPECT_NEAR(circle.force.fx, -3.0 * width * height, 1e-12);
    EXPECT_NEAR(circle.force.fy, 0.0, 1e-12);
    EXPECT_TRUE(m.bodies()[1].body.allWalls);
    // A probe on the outline reads the pressure there, exactly for a
    // linear field: 3 x at the west point and at the top.
    EXPECT_NEAR(m.probeValues()[0].p, 3.0 * 0.65, 1e-9);
    EXPECT_NEAR(m.probeValues()[1].p, 3.0 * 0.8, 1e-9);
}

// Between two records the box's force is its loss of momentum over the
// interval and the mean of the fluxes at both ends, both centred on the
// interval's middle; a force sampled before the next record keeps it.
TEST(Measurements, OutlineForceOverAnIntervalTakesTheMeanOfItsEndFluxes)
{
    Grid g = channelWithCircle();
    auto pressureRising = [&g](double gradient) {
        for (int32_t i = 0; i < g.NX; ++i)
            for (int32_t j = 0; j < g.NY; ++j)
                g.p[i][j] = gradient * (i + 0.5) * g.dx;
    };
    pressureRising(3.0);
    ReferenceScales scales;
    scales.speed = 1.0;
    Measurements m(g, 100.0, scales, {});
    m.record(g, 1.0);
    // Half a unit of time later the pressure rises by 5 per unit of x and
    // every face moves east at 0.2: the box gained 0.2 dx dy per x face.
    pressureRising(5.0);
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j)
            g.u[i][j] = 0.2;
    m.record(g, 1.5);
    const BodyRecord& circle = m.bodies()[0];
    const double width = (circle.box.i1 - circle.box.i0) * g.dx;
    const double height = (circle.box.j1 - circle.box.j0 + 1) * g.dy;
    const double gained = 0.2 * width * height;
    EXPECT_NEAR(circle.force.fx, -gained / 0.5 - 0.5 * (3.0 + 5.0) * width * height, 1e-12);
    EXPECT_NEAR(circle.force.fy, 0.0, 1e-12);
    pressureRising(7.0);
    m.sampleForces(g);
    EXPECT_NEAR(m.bodies()[0].force.fx, -gained / 0.5 - 4.0 * width * height, 1e-12);
}
