// Particles in a run: passive (the flow has the same bits with them), kept
// to the cap across a rebuild, and never inside a wall of a real flow.
#include "core/inflow_emitters.h"
#include "sim/simulation_run.h"
#include "support/channel_grid.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool sameBits(const Array2D<double>& a, const Array2D<double>& b)
{
    for (int32_t i = 0; i < a.rowCount(); ++i)
        if (std::memcmp(a[i], b[i], sizeof(double) * a.colCount()) != 0)
            return false;
    return true;
}

TEST(ParticleRun, CarriesParticlesWithoutChangingTheFlowAndKeepsTheCapAcrossARebuild)
{
    Grid plain, traced;
    makeChannel(plain, 40, 20);
    makeChannel(traced, 40, 20);
    traced.emitters = inflowEmitters(traced, 1, 0);
    traced.emitters.push_back(Emitter{0.9, 0.2, 0.9, 0.8, 2, 1});
    SimulationRun without(plain, SolverSettings{});
    SimulationRun with(traced, SolverSettings{});
    with.setParticleCap(300);
    for (int n = 0; n < 60; ++n) {
        without.step();
        with.step();
    }
    for (auto field : {&SimGrid::u, &SimGrid::v, &SimGrid::p})
        EXPECT_TRUE(sameBits(without.state().*field, with.state().*field));
    EXPECT_EQ(with.particles().particles().size(), 300u);
    // The post (i = 13, j = 6..9) and the walls hold no particle.
    for (const Particle& p : with.particles().particles()) {
        const int32_t i = static_cast<int32_t>(p.x / traced.dx), j = static_cast<int32_t>(p.y / traced.dy);
        EXPECT_TRUE(isOpen(traced.flags[i][j]) && !traced.onBorder(i, j)) << p.x << ", " << p.y;
    }

    with.rebuild();
    EXPECT_TRUE(with.particles().particles().empty());
    for (int n = 0; n < 60; ++n)
        with.step();
    EXPECT_EQ(with.particles().particles().size(), 300u);
}

}  // namespace
