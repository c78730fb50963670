// Particles: the tracer particles drawn as dots, each in its emitter's
// colour, with an optional streak through the places each particle held at
// the last frames drawn (a pass object: the streaks are kept between
// frames).
//
// A particle at (x, y) in domain units lands where the boundary cells put
// its cell: cell (i, j) covers columns (i + 0.5) k .. (i + 1.5) k and rows
// (NY - j - 0.5) k .. (NY - j + 0.5) k.
#pragma once

#include "core/grid.h"
#include "core/particles.h"
#include "render/frame_image.h"

#include <array>
#include <cstdint>
#include <vector>

namespace particle_palette {
// Colours told apart by most colour-blind eyes as well (the eight-colour
// qualitative palette of Okabe and Ito), white last.
constexpr int size = 8;
struct Colour {
    unsigned char r, g, b;
};
// The colour of palette index n; any n wraps around.
Colour colourOf(int32_t n);
}  // namespace particle_palette

class ParticlePass {
public:
    // Positions of a streak, the newest last, at most this many.
    static constexpr int streakLength = 8;

    // Draws every particle of list as a dot (1 pixel below 4 pixels per
    // cell, 2 x 2 below 8, 3 x 3 above), over what the picture holds; with
    // streaks, a line at half strength through each particle's positions at
    // the frames drawn before, for as many frames as it has lived, up to
    // streakLength. grid gives the cell size; the picture is
    // k NX x k NY.
    void draw(FrameImage& image, const Grid& grid, int k, const std::vector<Particle>& list, bool streaks);

    // Carries the streaks over to a picture whose pixel p' is scale p plus
    // shift (per axis) of the pixel p the streaks were drawn in, so that a
    // view that moves or zooms takes the streaks along rather than joining
    // their old places to the new ones.
    void moveStreaks(double scale, double shiftColumn, double shiftRow);

private:
    struct Streak {
        uint64_t serial;
        int count;                                  // positions held
        std::array<float, 2 * streakLength> place;  // column, row pairs, the oldest first
    };
    // Moves the streaks on to list: each particle keeps its own (by serial,
    // both in release order) with its place now added, new ones start.
    void followStreaks(const std::vector<Particle>& list, const std::vector<std::array<float, 2>>& places);

    std::vector<Streak> streaks;
    std::vector<Streak> following;  // the next streaks, built beside the old
};
