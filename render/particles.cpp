#include "render/particles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace particle_palette {

Colour colourOf(int32_t n)
{
    static constexpr Colour colours[size] = {
        {230, 159, 0},    // orange
        {86, 180, 233},   // sky blue
        {0, 158, 115},    // bluish green
        {240, 228, 66},   // yellow
        {213, 94, 0},     // vermilion
        {204, 121, 167},  // reddish purple
        {0, 114, 178},    // blue
        {255, 255, 255},  // white
    };
    const int32_t index = ((n % size) + size) % size;
    return colours[index];
}

}  // namespace particle_palette

namespace {

using particle_palette::Colour;

// Sets the pixel to the colour, scaled by strength; off the picture nothing.
inline void setPixel(const FramePlanes& planes, int column, int row, const Colour& c, float strength)
{
    if (column < 0 || row < 0 || column >= planes.width || row >= planes.height)
        return;
    planes.red[row][column] = c.r * strength;
    planes.green[row][column] = c.g * strength;
    planes.blue[row][column] = c.b * strength;
}

// A straight line of pixels from (x0, y0) to (x1, y1), both ends included.
void plotLine(const FramePlanes& planes, float x0, float y0, float x1, float y1, const Colour& c, float strength)
{
    const int steps = static_cast<int>(std::ceil(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0))));
    // A streak across most of the picture is a particle that jumped (a
    // restart, a rebuilt run): not drawn.
    if (steps > planes.width / 2 + planes.height / 2)
        return;
    for (int s = 0; s <= steps; ++s) {
        const float t = steps == 0 ? 0.0f : static_cast<float>(s) / steps;
        setPixel(planes, static_cast<int>(x0 + t * (x1 - x0)), static_cast<int>(y0 + t * (y1 - y0)), c, strength);
    }
}

constexpr float streakStrength = 0.5f;

int dotSize(int k)
{
    return k < 4 ? 1 : k < 8 ? 2 : 3;
}

}  // namespace

void ParticlePass::draw(FrameImage& image, const Grid& grid, int k, const std::vector<Particle>& list, bool withStreaks)
{
    if (!(grid.dx > 0.0) || !(grid.dy > 0.0) || k < 1)
        return;
    const FramePlanes planes = image.planes();
    std::vector<std::array<float, 2>> places(list.size());
    // Places far off the picture (a particle of a damaged state file) are
    // held just outside it, where nothing is drawn, so every place converts
    // to a pixel number.
    const double margin = 16.0;
    for (std::size_t n = 0; n < list.size(); ++n) {
        const double column = (list[n].x / grid.dx + 0.5) * k;
        const double row = (grid.NY - list[n].y / grid.dy + 0.5) * k;
        places[n] = {static_cast<float>(std::clamp(column, -margin, planes.width + margin)),
                     static_cast<float>(std::clamp(row, -margin, planes.height + margin))};
    }
    if (withStreaks) {
        followStreaks(list, places);
        for (std::size_t n = 0; n < list.size(); ++n) {
            const Streak& s = streaks[n];
            const Colour c = particle_palette::colourOf(list[n].colour);
            for (int m = 1; m < s.count; ++m)
                plotLine(planes, s.place[2 * m - 2], s.place[2 * m - 1], s.place[2 * m], s.place[2 * m + 1], c,
                         streakStrength);
        }
    } else {
        streaks.clear();
    }
    const int size = dotSize(k);
    const int lead = (size - 1) / 2;
    for (std::size_t n = 0; n < list.size(); ++n) {
        const Colour c = particle_palette::colourOf(list[n].colour);
        const int column = static_cast<int>(places[n][0]) - lead;
        const int row = static_cast<int>(places[n][1]) - lead;
        for (int dy = 0; dy < size; ++dy)
            for (int dx = 0; dx < size; ++dx)
                setPixel(planes, column + dx, row + dy, c, 1.0f);
    }
}

void ParticlePass::moveStreaks(double scale, double shiftColumn, double shiftRow)
{
    for (Streak& streak : streaks)
        for (int m = 0; m < streak.count; ++m) {
            streak.place[2 * m] = static_cast<float>(streak.place[2 * m] * scale + shiftColumn);
            streak.place[2 * m + 1] = static_cast<float>(streak.place[2 * m + 1] * scale + shiftRow);
        }
}

void ParticlePass::followStreaks(const std::vector<Particle>& list, const std::vector<std::array<float, 2>>& places)
{
    following.resize(list.size());
    std::size_t old = 0;
    for (std::size_t n = 0; n < list.size(); ++n) {
        const uint64_t serial = list[n].serial;
        while (old < streaks.size() && streaks[old].serial < serial)
            ++old;
        Streak& next = following[n];
        if (old < streaks.size() && streaks[old].serial == serial)
            next = streaks[old];
        else
            next.serial = serial, next.count = 0;
        // A frame drawn again without a step adds nothing.
        const bool moved = next.count == 0 || next.place[2 * next.count - 2] != places[n][0] ||
                           next.place[2 * next.count - 1] != places[n][1];
        if (!moved)
            continue;
        if (next.count == streakLength) {
            std::copy(next.place.begin() + 2, next.place.end(), next.place.begin());
            --next.count;
        }
        next.place[2 * next.count] = places[n][0];
        next.place[2 * next.count + 1] = places[n][1];
        ++next.count;
    }
    streaks.swap(following);
}
