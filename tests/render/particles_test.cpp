// Particles in the picture: where a dot lands and its colour, streaks that
// follow each particle from frame to frame, and a picture without particles
// left as it was.
#include "render/compose_frame.h"
#include "render/particles.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Pixel {
    int r, g, b;
    bool operator==(const Pixel& o) const { return r == o.r && g == o.g && b == o.b; }
};

Pixel at(const FrameImage& image, int column, int row)
{
    return {image.pixelRed(column, row), image.pixelGreen(column, row), image.pixelBlue(column, row)};
}

Pixel paletteAt(int n, double strength = 1.0)
{
    const particle_palette::Colour c = particle_palette::colourOf(n);
    return {int(c.r * strength), int(c.g * strength), int(c.b * strength)};
}

// Lit pixels of the picture.
int litPixels(const FrameImage& image)
{
    int count = 0;
    for (int row = 0; row < image.height(); ++row)
        for (int column = 0; column < image.width(); ++column)
            count += !(at(image, column, row) == Pixel{0, 0, 0});
    return count;
}

TEST(ParticlePass, DotsLandOnTheirCellInTheirEmittersColour)
{
    Grid g;
    makeFluidGrid(g, 10, 8);  // cells 0.125 square
    struct Case {
        int k;
        int32_t i, j;  // the particle sits at the centre of cell (i, j)
        int colour;
        int size;      // dot edge in pixels
    };
    for (const Case c : {Case{1, 3, 2, 0, 1}, Case{4, 5, 6, 1, 2}, Case{8, 2, 1, 9, 3}, Case{3, 8, 6, 6, 1}}) {
        FrameImage image(c.k * 10, c.k * 8);
        const std::vector<Particle> list = {Particle{(c.i + 0.5) * g.dx, (c.j + 0.5) * g.dy, 0, 0, c.colour}};
        ParticlePass().draw(image, g, c.k, list, false);
        // Cell (i, j) covers columns (i + 0.5) k .. (i + 1.5) k and rows
        // (NY - j - 0.5) k .. (NY - j + 0.5) k: its centre is at
        // ((i + 1) k, (NY - j) k).
        const int column = (c.i + 1) * c.k, row = (8 - c.j) * c.k;
        EXPECT_EQ(at(image, column, row), paletteAt(c.colour)) << "k " << c.k;
        EXPECT_EQ(litPixels(image), c.size * c.size) << "k " << c.k;
    }
    // Far off the picture (a damaged state file's particle): nothing drawn.
    FrameImage image(40, 32);
    const std::vector<Particle> far = {Particle{1e300, -1e300, 0, 0, 0}, Particle{-3.0, 0.5, 1, 0, 0}};
    ParticlePass pass;
    pass.draw(image, g, 4, far, true);
    pass.draw(image, g, 4, far, true);
    EXPECT_EQ(litPixels(image), 0);
    EXPECT_EQ(paletteAt(9), paletteAt(1)) << "the palette wraps around";
    EXPECT_EQ(paletteAt(-1), paletteAt(7));
}

TEST(ParticlePass, StreaksFollowEachParticleAndEndWithIt)
{
    Grid g;
    makeFluidGrid(g, 16, 16);  // cells 1/16 square; k = 2: dots of one pixel
    const int k = 2;
    FrameImage image(32, 32);
    ParticlePass pass;
    std::vector<Particle> list = {Particle{0.25, 0.5, 4, 0, 0}, Particle{0.7, 0.7, 9, 1, 2}};
    // Ten frames, each moving the first particle a cell (two pixels) east
    // and holding the second still; a third released at the fifth.
    for (int frame = 0; frame < 10; ++frame) {
        if (frame == 5)
            list.push_back(Particle{0.3, 0.2, 11, 1, 5});
        image.clearRect(0, 0, 31, 31, 0);
        pass.draw(image, g, k, list, true);
        if (frame < 9)
            list[0].x += 1.0 / 16;
    }
    // The first particle's dot is where frame 9 put it, cell 13 of row 8:
    // column (13 + 0.5) 2, row (16 - 8 + 0.5) 2; its streak runs back over
    // its last eight places, 14 pixels at half strength.
    EXPECT_EQ(at(image, 27, 17), paletteAt(0));
    EXPECT_EQ(at(image, 26, 17), paletteAt(0, 0.5));
    EXPECT_EQ(at(image, 13, 17), paletteAt(0, 0.5));
    EXPECT_EQ(at(image, 12, 17), (Pixel{0, 0, 0}));
    // The still one and the late one have no streak.
    EXPECT_EQ(litPixels(image), 3 + 14);

    // A particle gone takes its streak with it.
    list.erase(list.begin());
    image.clearRect(0, 0, 31, 31, 0);
    pass.draw(image, g, k, list, true);
    EXPECT_EQ(litPixels(image), 2);
}

TEST(ParticlePass, ComposeDrawsThemOnlyWhenChosenAndGiven)
{
    SimGrid g;
    makeFluidGrid(g, 16, 8);  // 2 x 1, cells 0.125 square
    g.setCell(0, 4, CELL_NOSLIP_WALL);
    const std::vector<Particle> list = {Particle{0.5, 0.5, 0, 0, 3}};
    RenderElements plain;
    plain.boundaryCells = true;
    RenderElements chosen = plain;
    chosen.particles = true;
    FrameImage without(64, 32), notGiven(64, 32), with(64, 32);
    FrameComposer().compose(without, g, 16, 8, 4, plain, &list);
    FrameComposer().compose(notGiven, g, 16, 8, 4, chosen, nullptr);
    FrameComposer().compose(with, g, 16, 8, 4, chosen, &list);
    int differing = 0;
    for (int row = 0; row < 32; ++row) {
        EXPECT_EQ(std::memcmp(without.redRow(row), notGiven.redRow(row), 64 * sizeof(float)), 0);
        for (int column = 0; column < 64; ++column)
            differing += !(at(without, column, row) == at(with, column, row));
    }
    EXPECT_EQ(differing, 4);
    // (0.5, 0.5): column (4 + 0.5) 4, row (8 - 4 + 0.5) 4.
    EXPECT_EQ(at(with, 18, 18), paletteAt(3));
}

}  // namespace
