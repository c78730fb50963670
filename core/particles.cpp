#include "core/particles.h"

#include <algorithm>
#include <cmath>

namespace {

// a at cell coordinates (X, Y) = (x / dx, y / dy) when a[i][j] sits at
// (i + ox, j + oy).
inline double bilinear(const Array2D<double>& a, int32_t NX, int32_t NY, double X, double Y, double ox, double oy)
{
    const double fx = std::clamp(X - ox, 0.0, NX - 1.0);
    const double fy = std::clamp(Y - oy, 0.0, NY - 1.0);
    const int32_t i = std::min(static_cast<int32_t>(fx), NX - 2);
    const int32_t j = std::min(static_cast<int32_t>(fy), NY - 2);
    const double sx = fx - i, sy = fy - j;
    const double* west = a[i];
    const double* east = a[i + 1];
    return (1 - sy) * ((1 - sx) * west[j] + sx * east[j]) + sy * ((1 - sx) * west[j + 1] + sx * east[j + 1]);
}

// The velocity at cell coordinates (X, Y).
inline FaceVelocity velocityAt(const Grid& g, double X, double Y)
{
    return {bilinear(g.u, g.NX, g.NY, X, Y, 1.0, 0.5), bilinear(g.v, g.NX, g.NY, X, Y, 0.5, 1.0)};
}

// Particles a part of the parallel pass moves: large enough that the
// threads' start costs little beside the work.
constexpr std::size_t particlesPerPart = 8192;

}  // namespace

FaceVelocity interpolateFaces(const Grid& field, double x, double y)
{
    return velocityAt(field, x / field.dx, y / field.dy);
}

int32_t releaseCount(const Emitter& emitter, double cellSize)
{
    if (emitter.isPoint() || !(cellSize > 0.0))
        return 1;
    const double length = std::hypot(emitter.x2 - emitter.x1, emitter.y2 - emitter.y1);
    // One per cell length, both ends included; a very long segment across a
    // hostile file's coordinates is held to what a grid can show.
    // (rounding may leave a length of whole cells just short of it).
    const double n = std::floor(length / cellSize * (1.0 + 1e-12)) + 1.0;
    return static_cast<int32_t>(std::clamp(n, 2.0, 8192.0));
}

ParticleTracer::ParticleTracer(const Grid& setUp, int threads)
    : NX(setUp.NX), NY(setUp.NY), dx(setUp.dx), dy(setUp.dy), invDx(1.0 / setUp.dx), invDy(1.0 / setUp.dy),
      emitters(setUp.emitters), parts(threads)
{
    readCells(setUp);
}

void ParticleTracer::readCells(const Grid& setUp)
{
    kinds.allocate(NX, NY);
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            const int32_t word = setUp.flags[i][j];
            kinds[i][j] = isWall(word) || isInflow(word) ? Blocked
                          : isOpen(word) && !setUp.onBorder(i, j) ? Open
                                                                  : Gone;
        }
}

void ParticleTracer::setCap(std::size_t particles)
{
    capacity = particles;
    compact();
}

ParticleTracer::Kind ParticleTracer::kindAt(double x, double y) const
{
    return kindAtCell(x * invDx, y * invDy);
}

ParticleTracer::Kind ParticleTracer::kindAtCell(double fx, double fy) const
{
    if (!(fx >= 0.0 && fy >= 0.0 && fx < NX && fy < NY))
        return Gone;
    return static_cast<Kind>(kinds[static_cast<int32_t>(fx)][static_cast<int32_t>(fy)]);
}

void ParticleTracer::beforeStep(const Grid& state)
{
    if (!active())
        return;
    if (before.u.rowCount() != state.NX || before.u.colCount() != state.NY) {
        before.NX = state.NX;
        before.NY = state.NY;
        before.dx = state.dx;
        before.dy = state.dy;
        before.u.allocate(state.NX, state.NY);
        before.v.allocate(state.NX, state.NY);
    }
    before.u.copyFrom(state.u);
    before.v.copyFrom(state.v);
}

bool ParticleTracer::move(Particle& p, const Grid& after, double dt, double toCellX, double toCellY) const
{
    const FaceVelocity k1 = velocityAt(before, p.x * toCellX, p.y * toCellY);
    const FaceVelocity k2 = velocityAt(after, (p.x + dt * k1.u) * toCellX, (p.y + dt * k1.v) * toCellY);
    const double x = p.x + 0.5 * dt * (k1.u + k2.u);
    const double y = p.y + 0.5 * dt * (k1.v + k2.v);
    switch (kindAtCell(x * toCellX, y * toCellY)) {
    case Open:
        p.x = x;
        p.y = y;
        return true;
    case Gone:
        return false;
    case Blocked:
        break;
    }
    if (kindAt(x, p.y) == Open)
        p.x = x;
    else if (kindAt(p.x, y) == Open)
        p.y = y;
    return true;
}

void ParticleTracer::afterStep(const Grid& state, double dt)
{
    if (!active())
        return;
    std::vector<Particle>& list = carried.particles;
    // A field that has blown up moves nothing: the particles stay where the
    // last sound field left them.
    if (std::isfinite(dt) && !list.empty()) {
        gone.assign(list.size(), 0);
        const std::size_t count = list.size();
        // Held in locals: the particles written in the loop could otherwise
        // be taken to change them.
        const double toCellX = invDx, toCellY = invDy;
        const int partCount = static_cast<int>((count + particlesPerPart - 1) / particlesPerPart);
        parts.run(partCount, [&](int part) {
            const std::size_t first = static_cast<std::size_t>(part) * particlesPerPart;
            const std::size_t end = std::min(count, first + particlesPerPart);
            for (std::size_t k = first; k < end; ++k) {
                Particle moved = list[k];
                const bool kept =
                    move(moved, state, dt, toCellX, toCellY) && std::isfinite(moved.x) && std::isfinite(moved.y);
                list[k] = moved;
                gone[k] = kept ? 0 : 1;
            }
        });
    } else {
        gone.assign(list.size(), 0);
    }
    for (std::size_t e = 0; e < emitters.size(); ++e) {
        const Emitter& emitter = emitters[e];
        const bool due = emitter.isTimeline() ? carried.steps == 0 : carried.steps % emitter.every == 0;
        if (due)
            release(emitter, static_cast<int32_t>(e));
    }
    compact();
    ++carried.steps;
}

void ParticleTracer::release(const Emitter& emitter, int32_t index)
{
    const int32_t n = releaseCount(emitter, std::min(dx, dy));
    for (int32_t k = 0; k < n; ++k) {
        const double t = n == 1 ? 0.0 : static_cast<double>(k) / (n - 1);
        const double x = emitter.x1 + t * (emitter.x2 - emitter.x1);
        const double y = emitter.y1 + t * (emitter.y2 - emitter.y1);
        if (kindAt(x, y) != Open)
            continue;
        Particle p;
        p.x = x;
        p.y = y;
        p.serial = carried.nextSerial++;
        p.emitter = index;
        p.colour = emitter.colour;
        carried.particles.push_back(p);
        gone.push_back(0);
    }
}

void ParticleTracer::releaseLine(double x1, double y1, double x2, double y2, int32_t colour)
{
    Emitter line{x1, y1, x2, y2, 0, colour};
    gone.assign(carried.particles.size(), 0);
    release(line, -1);
    compact();
}

void ParticleTracer::compact()
{
    std::vector<Particle>& list = carried.particles;
    gone.resize(list.size(), 0);
    std::size_t staying = 0;
    for (unsigned char g : gone)
        staying += g == 0;
    // The oldest of those staying go first beyond the cap.
    std::size_t drop = staying > capacity ? staying - capacity : 0;
    if (drop == 0 && staying == list.size())
        return;
    std::size_t to = 0;
    for (std::size_t from = 0; from < list.size(); ++from) {
        if (gone[from])
            continue;
        if (drop > 0) {
            --drop;
            continue;
        }
        list[to++] = list[from];
    }
    list.resize(to);
    gone.assign(to, 0);
}
