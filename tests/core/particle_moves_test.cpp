// The particles' moves taken four at once give the bits of the moves taken
// one at a time, whatever the particles run into.
#include "core/particle_moves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// A 48 x 40 box, ring included, 1.2 x 1 in domain units: a wall block in
// the middle, an outflow on the east side, and before and after the step
// two different swirls, so that predictor and corrector read different
// faces.
void makeSwirls(Grid& before, Grid& after)
{
    for (Grid* g : {&before, &after}) {
        makeFluidGrid(*g, 48, 40);
        g->dx = 1.2 / 48;
        g->dy = 1.0 / 40;
        for (int32_t i = 20; i < 27; ++i)
            for (int32_t j = 15; j < 22; ++j)
                g->setCell(i, j, CELL_NOSLIP_WALL);
        for (int32_t j = 1; j < 39; ++j)
            g->setCell(47, j, CELL_OUTFLOW);
    }
    for (int32_t i = 0; i < 48; ++i)
        for (int32_t j = 0; j < 40; ++j) {
            const double x = (i + 1) * before.dx - 0.6, y = (j + 0.5) * before.dy - 0.5;
            before.u[i][j] = -3.0 * y + 0.4;
            before.v[i][j] = 3.0 * x + std::sin(7.0 * x);
            after.u[i][j] = -2.5 * y + 0.6 + 0.3 * std::cos(5.0 * y);
            after.v[i][j] = 3.5 * x - 0.2;
        }
}

// The kinds ParticleTracer reads from the cells: open, blocked, gone.
Array2D<unsigned char> kindsOf(const Grid& g)
{
    Array2D<unsigned char> kinds(g.NX, g.NY);
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j) {
            const int32_t word = g.flags[i][j];
            kinds[i][j] = isWall(word) ? 1 : isOpen(word) && !g.onBorder(i, j) ? 0 : 2;
        }
    return kinds;
}

// Particles on a jittered lattice over and beyond the box, a few not even
// on the grid (NaN, infinite), numbering no multiple of four.
std::vector<Particle> scattered()
{
    std::vector<Particle> particles;
    for (int a = 0; a < 41; ++a)
        for (int b = 0; b < 37; ++b) {
            Particle p;
            p.x = -0.05 + a * 0.0325 + 0.004 * std::sin(a * b);
            p.y = -0.05 + b * 0.03 + 0.003 * std::cos(a + b);
            p.serial = particles.size();
            particles.push_back(p);
        }
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (const double x : {nan, inf, -inf, 0.5})
        particles.push_back(Particle{x, x == 0.5 ? nan : 0.5, particles.size(), 0, 0});
    return particles;
}

TEST(ParticleMoves, FourAtOnceGiveTheBitsOfOneAtATime)
{
    Grid before, after;
    makeSwirls(before, after);
    const Array2D<unsigned char> kinds = kindsOf(before);
    struct Case {
        double dt;
        std::size_t first, end;  // end 0: all
    };
    // Short steps, steps long enough to leave the grid, and runs starting
    // and ending between fours.
    for (const Case c : {Case{0.002, 0, 0}, Case{0.02, 0, 0}, Case{0.3, 0, 0}, Case{0.02, 3, 1010}}) {
        std::vector<Particle> one = scattered();
        const std::size_t end = c.end ? c.end : one.size();
        std::vector<unsigned char> leftOne(one.size(), 7);
        const ParticleStepFields fields{before, after, kinds, c.dt, 1.0 / before.dx, 1.0 / before.dy};
        moveParticles(fields, one.data(), leftOne.data(), c.first, end, MoveLanes::one);
        for (const MoveLanes lanes : {MoveLanes::widest, MoveLanes::fourOnAvx2}) {
            std::vector<Particle> wide = scattered();
            std::vector<unsigned char> leftWide(wide.size(), 7);
            moveParticles(fields, wide.data(), leftWide.data(), c.first, end, lanes);
            // Bytes, not values: NaN places are compared too.
            EXPECT_EQ(std::memcmp(wide.data(), one.data(), wide.size() * sizeof(Particle)), 0)
                << "dt " << c.dt << " lanes " << static_cast<int>(lanes);
            EXPECT_TRUE(leftWide == leftOne) << "dt " << c.dt << " lanes " << static_cast<int>(lanes);
        }
        // Not a comparison of nothing: particles moved, stayed, slid along
        // the block and left.
        const std::vector<Particle> start = scattered();
        std::size_t moved = 0, gone = 0, slid = 0;
        for (std::size_t k = c.first; k < end; ++k) {
            moved += one[k].x != start[k].x && one[k].y != start[k].y;
            slid += (one[k].x == start[k].x) != (one[k].y == start[k].y);
            gone += leftOne[k] == 1;
        }
        EXPECT_GT(moved, 500u) << "dt " << c.dt;
        EXPECT_GT(gone, 100u) << "dt " << c.dt;
        if (c.dt < 0.1) {
            EXPECT_GT(slid, 0u) << "dt " << c.dt;
        }
    }
}

}  // namespace
