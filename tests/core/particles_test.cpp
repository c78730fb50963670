// Tracer particles: the Heun step on a prescribed rotation, the release
// schedule, the cap, walls and outflows.
#include "core/particles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

// A 1 x 1 box of n x n cells, ring included, every face set to a solid-body
// rotation of angular speed omega about the centre.
void makeRotation(Grid& g, int32_t n, double omega)
{
    makeFluidGrid(g, n, n);
    for (int32_t i = 0; i < n; ++i)
        for (int32_t j = 0; j < n; ++j) {
            g.u[i][j] = -omega * ((j + 0.5) * g.dy - 0.5);
            g.v[i][j] = omega * ((i + 0.5) * g.dx - 0.5);
        }
}

// Where a particle released at (0.5 + r, 0.5) is after the given steps of dt.
Particle afterSteps(const Grid& field, double r, int steps, double dt)
{
    ParticleTracer tracer(field, 1);
    tracer.releaseLine(0.5 + r, 0.5, 0.5 + r, 0.5, 0);
    for (int n = 0; n < steps; ++n) {
        tracer.beforeStep(field);
        tracer.afterStep(field, dt);
    }
    EXPECT_EQ(tracer.particles().size(), 1u);
    return tracer.particles().empty() ? Particle{} : tracer.particles().front();
}

TEST(ParticleTracer, ReturnsToItsStartAfterOneTurnOfASolidBodyRotation)
{
    Grid g;
    const double omega = 2.0;
    makeRotation(g, 66, omega);
    struct Case {
        double radius;
        int stepsPerTurn;
    };
    for (const Case c : {Case{0.1, 100}, Case{0.3, 100}, Case{0.42, 250}, Case{0.2, 1000}}) {
        const double dt = 2.0 * pi / omega / c.stepsPerTurn;
        const Particle p = afterSteps(g, c.radius, c.stepsPerTurn, dt);
        const double miss = std::hypot(p.x - (0.5 + c.radius), p.y - 0.5);
        EXPECT_LT(miss, 0.01 * c.radius) << "radius " << c.radius << ", " << c.stepsPerTurn << " steps";
    }
}

// Halving the step quarters the miss: the step is second order, which a
// first-order (Euler) step, missing by its radial drift, would not be.
TEST(ParticleTracer, HalvingTheStepQuartersTheMissAfterATurn)
{
    Grid g;
    makeRotation(g, 34, 1.0);
    double misses[2];
    for (int k = 0; k < 2; ++k) {
        const int steps = 40 << k;
        const Particle p = afterSteps(g, 0.25, steps, 2.0 * pi / steps);
        misses[k] = std::hypot(p.x - 0.75, p.y - 0.5);
    }
    EXPECT_NEAR(misses[0] / misses[1], 4.0, 0.3);
}

TEST(ParticleTracer, InterpolatesALinearFieldExactlyBetweenTheFaces)
{
    Grid g;
    makeRotation(g, 20, 3.0);
    for (const auto& [x, y] : {std::pair{0.5, 0.5}, {0.13, 0.77}, {0.91, 0.08}, {0.4321, 0.2468}}) {
        const FaceVelocity at = interpolateFaces(g, x, y);
        EXPECT_NEAR(at.u, -3.0 * (y - 0.5), 1e-13);
        EXPECT_NEAR(at.v, 3.0 * (x - 0.5), 1e-13);
    }
}

// A still field: particles stay where they are released.
struct StillBox {
    Grid g;
    explicit StillBox(Emitters emitters)
    {
        makeFluidGrid(g, 12, 12);
        g.emitters = std::move(emitters);
    }
};

TEST(ParticleTracer, ReleasesOnItsScheduleAndOneParticlePerCellAlongASegment)
{
    const double h = 1.0 / 12;
    struct Case {
        Emitter emitter;
        int steps;
        size_t expected;
    };
    const Case cases[] = {
        {Emitter{0.5, 0.5, 0.5, 0.5, 3, 0}, 7, 3},             // steps 0, 3, 6
        {Emitter{0.5, 0.5, 0.5, 0.5, 1, 0}, 5, 5},
        {Emitter{0.2, 0.2, 0.2 + 4 * h, 0.2, 2, 0}, 4, 2 * 5},  // 4 cells long: 5 particles
        {Emitter{0.2, 0.2, 0.2 + 4 * h, 0.2, 0, 0}, 6, 5},      // a timeline, once
        {Emitter{0.02, 0.5, 0.02, 0.5, 1, 0}, 4, 0},            // in the ring: nothing
    };
    for (const Case& c : cases) {
        StillBox box({c.emitter});
        ParticleTracer tracer(box.g, 1);
        for (int n = 0; n < c.steps; ++n) {
            tracer.beforeStep(box.g);
            tracer.afterStep(box.g, 0.01);
        }
        EXPECT_EQ(tracer.particles().size(), c.expected) << "every " << c.emitter.every;
        for (const Particle& p : tracer.particles())
            EXPECT_EQ(p.emitter, 0);
    }
}

TEST(ParticleTracer, RemovesTheOldestBeyondTheCap)
{
    StillBox box({Emitter{0.3, 0.3, 0.7, 0.3, 1, 2}, Emitter{0.5, 0.6, 0.5, 0.6, 1, 5}});
    ParticleTracer tracer(box.g, 1);
    tracer.setCap(20);
    for (int n = 0; n < 10; ++n) {
        tracer.beforeStep(box.g);
        tracer.afterStep(box.g, 0.01);
    }
    const std::vector<Particle>& kept = tracer.particles();
    ASSERT_EQ(kept.size(), 20u);
    for (size_t k = 0; k < kept.size(); ++k)
        EXPECT_EQ(kept[k].serial, tracer.state().nextSerial - 20 + k);
    EXPECT_EQ(kept.back().colour, 5);
    EXPECT_EQ(kept.front().colour, 2);
}

TEST(ParticleTracer, NeverEntersAWallAndSlidesAlongIt)
{
    // A wall column at i = 8 across a uniform field heading east-north.
    Grid g;
    makeFluidGrid(g, 16, 16);
    for (int32_t j = 0; j < 16; ++j)
        g.setCell(8, j, CELL_NOSLIP_WALL);
    for (int32_t i = 0; i < 16; ++i)
        for (int32_t j = 0; j < 16; ++j) {
            g.u[i][j] = 1.0;
            g.v[i][j] = 0.25;
        }
    ParticleTracer tracer(g, 1);
    tracer.releaseLine(0.3, 0.2, 0.3, 0.2, 0);
    for (int n = 0; n < 40; ++n) {
        tracer.beforeStep(g);
        tracer.afterStep(g, 0.01);
        ASSERT_EQ(tracer.particles().size(), 1u);
        const Particle& p = tracer.particles().front();
        ASSERT_LT(p.x, 8.0 / 16) << "step " << n;
    }
    const Particle& p = tracer.particles().front();
    EXPECT_GT(p.x, 7.0 / 16);
    EXPECT_NEAR(p.y, 0.2 + 40 * 0.01 * 0.25, 1e-12);
}

TEST(ParticleTracer, RemovesParticlesThatLeaveThroughAnOutflow)
{
    Grid g;
    makeFluidGrid(g, 20, 10);
    for (int32_t j = 1; j < 9; ++j)
        g.setCell(19, j, CELL_OUTFLOW);
    for (int32_t i = 0; i < 20; ++i)
        for (int32_t j = 0; j < 10; ++j)
            g.u[i][j] = 1.0;
    g.emitters = {Emitter{0.5, 0.5, 0.5, 0.5, 1, 0}};
    ParticleTracer tracer(g, 1);
    for (int n = 0; n < 200; ++n) {
        tracer.beforeStep(g);
        tracer.afterStep(g, 0.01);
    }
    // The domain is 2 x 1. Released every step at x = 0.5, moving 0.01 a
    // step, gone into the outflow column at x = 1.9: those of the last 140
    // steps (141 with rounding) are left.
    EXPECT_GE(tracer.particles().size(), 140u);
    EXPECT_LE(tracer.particles().size(), 141u);
    for (const Particle& p : tracer.particles())
        EXPECT_LT(p.x, 1.9);
}

// Each particle moves on its own, so however many threads share the moves
// (tens of thousands of particles: several parts each), the particles, the
// ones removed at the outflow and the oldest dropped beyond the cap are the
// same, to the bit. The swirl carries particles into the wall block (to
// slide), out through the outflow and off the grid.
TEST(ParticleTracer, MovesTheSameBitsOnAnyNumberOfThreads)
{
    Grid g;
    makeRotation(g, 64, 5.0);
    for (int32_t i = 20; i < 30; ++i)
        for (int32_t j = 20; j < 26; ++j)
            g.setCell(i, j, CELL_NOSLIP_WALL);
    for (int32_t j = 1; j < 63; ++j)
        g.setCell(63, j, CELL_OUTFLOW);
    g.emitters = {Emitter{0.05, 0.1, 0.05, 0.9, 1, 3}};
    std::vector<Particle> firstRun;
    for (int threads : {1, 2, 3}) {
        ParticleTracer tracer(g, threads);
        tracer.setCap(20000);
        for (int line = 0; line < 500; ++line)
            tracer.releaseLine(0.02, 0.02 + line * 0.0019, 0.98, 0.02 + line * 0.0019, line % 7);
        for (int n = 0; n < 6; ++n) {
            tracer.beforeStep(g);
            tracer.afterStep(g, 0.02);
        }
        if (threads == 1) {
            firstRun = tracer.particles();
            ASSERT_GT(firstRun.size(), 16384u) << "not parts enough for every thread";
            EXPECT_LT(firstRun.size(), 20000u) << "none has left the flow";
            continue;
        }
        EXPECT_TRUE(tracer.particles() == firstRun) << threads << " threads";
    }
}

TEST(ParticleTracer, WithoutEmittersOrParticlesDoesNothing)
{
    StillBox box({});
    ParticleTracer tracer(box.g, 1);
    EXPECT_FALSE(tracer.active());
    tracer.beforeStep(box.g);
    tracer.afterStep(box.g, 0.01);
    EXPECT_EQ(tracer.state().steps, 0);
}

}  // namespace
