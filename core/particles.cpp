#include "core/particles.h"

#include "core/particle_moves.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Particles a part of the parallel pass moves: large enough that the
// threads' start costs little beside the work.
constexpr std::size_t particlesPerPart = 8192;

}  // namespace


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
    static_assert(Open == 0 && Blocked == 1 && Gone == 2, "the table particle_moves.h reads");
    return static_cast<Kind>(particleCellKind(kinds, x, y, invDx, invDy));
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
    const std::size_t faces = static_cast<std::size_t>(state.NX) * static_cast<std::size_t>(state.NY);
    std::copy(state.u.data(), state.u.data() + faces, before.u.data());
    std::copy(state.v.data(), state.v.data() + faces, before.v.data());
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
        const ParticleStepFields fields{before, state, kinds, dt, invDx, invDy};
        Particle* const moving = list.data();
        unsigned char* const left = gone.data();
        const int partCount = static_cast<int>((count + particlesPerPart - 1) / particlesPerPart);
        parts.run(partCount, [&](int part) {
            const std::size_t first = static_cast<std::size_t>(part) * particlesPerPart;
            const std::size_t end = std::min(count, first + particlesPerPart);
            moveParticles(fields, moving, left, first, end);
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
    const std::size_t count = list.size();
    gone.resize(count, 0);
    const unsigned char* left = gone.data();
    const std::size_t staying = count - static_cast<std::size_t>(std::count(gone.begin(), gone.end(), 1));
    // The oldest of those staying go first beyond the cap.
    std::size_t drop = staying > capacity ? staying - capacity : 0;
    if (drop == 0 && staying == count)
        return;
    // Runs of particles staying, between those gone, each moved down at
    // once.
    std::size_t to = 0;
    for (std::size_t from = 0; from < count;) {
        const void* nextGone = std::memchr(left + from, 1, count - from);
        const std::size_t runEnd = nextGone ? static_cast<std::size_t>(static_cast<const unsigned char*>(nextGone) - left) : count;
        const std::size_t skipped = std::min(drop, runEnd - from);
        drop -= skipped;
        if (to != from + skipped)
            std::copy(list.begin() + (from + skipped), list.begin() + runEnd, list.begin() + to);
        to += runEnd - from - skipped;
        from = runEnd + 1;
    }
    list.resize(to);
    gone.assign(to, 0);
}
