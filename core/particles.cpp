#include "core/particles.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Two doubles worked on at once, (x, y) or (u, v). Each lane does exactly
// the operations a single double would, so the bits are the same.
typedef double Pair __attribute__((vector_size(16)));
typedef int32_t IndexPair __attribute__((vector_size(8)));

inline Pair both(double a)
{
    return Pair{a, a};
}

// The u and v faces of one field as flat rows (a[i][j] at i * NY + j) with
// the limits of the bilinear interpolation.
struct FaceSampler {
    const double* u;
    const double* v;
    int32_t NY;
    Pair lastFace;  // NX - 1, NY - 1: the outermost faces, as cell coordinates
    Pair lastCell;  // NX - 2, NY - 2: the last west and south corners

    explicit FaceSampler(const Grid& g)
        : u(g.u.data()), v(g.v.data()), NY(g.NY), lastFace{g.NX - 1.0, g.NY - 1.0}, lastCell{g.NX - 2.0, g.NY - 2.0}
    {
    }

    // The velocity (u, v) at cell coordinates (X, Y), bilinear from the
    // four faces around it; beyond the outermost faces the nearest ones
    // (u sits at (i + 1, j + 1/2), v at (i + 1/2, j + 1)).
    Pair at(Pair cell) const
    {
        // Lanes (of u, of v): the place among each one's faces, clamped so
        // that a NaN lands on the first face rather than off the array.
        Pair fx = both(cell[0]) - Pair{1.0, 0.5};
        Pair fy = both(cell[1]) - Pair{0.5, 1.0};
        fx = fx > 0.0 ? fx : both(0.0);
        fy = fy > 0.0 ? fy : both(0.0);
        fx = fx < lastFace[0] ? fx : both(lastFace[0]);
        fy = fy < lastFace[1] ? fy : both(lastFace[1]);
        // The south-west face of the four: on the last face, the one before.
        const IndexPair i = __builtin_convertvector(fx < lastCell[0] ? fx : both(lastCell[0]), IndexPair);
        const IndexPair j = __builtin_convertvector(fy < lastCell[1] ? fy : both(lastCell[1]), IndexPair);
        const Pair sx = fx - __builtin_convertvector(i, Pair);
        const Pair sy = fy - __builtin_convertvector(j, Pair);
        const double* a = u + (static_cast<std::ptrdiff_t>(i[0]) * NY + j[0]);
        const double* b = v + (static_cast<std::ptrdiff_t>(i[1]) * NY + j[1]);
        const Pair southWest{a[0], b[0]}, northWest{a[1], b[1]};
        const Pair southEast{a[NY], b[NY]}, northEast{a[NY + 1], b[NY + 1]};
        const Pair west = 1.0 - sx;
        return (1.0 - sy) * (west * southWest + sx * southEast) + sy * (west * northWest + sx * northEast);
    }
};

// Where a particle may go, by cell (the tracer's Kind values), as flat
// rows; everything off the grid is gone.
struct CellKinds {
    const unsigned char* kinds;
    int32_t NY;
    Pair size;  // NX, NY

    explicit CellKinds(const Array2D<unsigned char>& table)
        : kinds(table.data()), NY(table.colCount()), size{double(table.rowCount()), double(table.colCount())}
    {
    }
    // The kind at cell coordinates (X, Y).
    unsigned char at(Pair cell) const
    {
        const auto inside = (cell >= 0.0) & (cell < size);
        if (!(inside[0] & inside[1]))
            return gone;
        const IndexPair ij = __builtin_convertvector(cell, IndexPair);
        return kinds[static_cast<std::ptrdiff_t>(ij[0]) * NY + ij[1]];
    }
    static constexpr unsigned char open = 0, gone = 2;
};

// One step of Heun's method for every particle, all it reads gathered
// once; toCell is (1 / dx, 1 / dy).
struct HeunStep {
    FaceSampler before, after;
    CellKinds cells;
    double dt, halfDt;
    Pair toCell;

    HeunStep(const Grid& fieldBefore, const Grid& fieldAfter, const Array2D<unsigned char>& kinds, double dt,
             double toCellX, double toCellY)
        : before(fieldBefore), after(fieldAfter), cells(kinds), dt(dt), halfDt(0.5 * dt), toCell{toCellX, toCellY}
    {
    }

    // Where Heun's method takes the particle at place (x, y).
    Pair destination(Pair place) const
    {
        const Pair k1 = before.at(place * toCell);
        const Pair k2 = after.at((place + dt * k1) * toCell);
        return place + halfDt * (k1 + k2);
    }

    // Moves the particle at place to the destination, or slides it along a
    // wall it would enter; false when it has left the flow.
    bool settle(Pair& place, Pair to) const
    {
        const unsigned char kind = cells.at(to * toCell);
        if (kind == CellKinds::open) {
            place = to;
            return true;
        }
        if (kind == CellKinds::gone)
            return false;
        if (cells.at(Pair{to[0], place[1]} * toCell) == CellKinds::open)
            place[0] = to[0];
        else if (cells.at(Pair{place[0], to[1]} * toCell) == CellKinds::open)
            place[1] = to[1];
        return true;
    }

    // Moves particles first .. end - 1 and marks in left those that left the
    // flow (1) or stay (0). A few particles' destinations are worked out
    // side by side, so that the processor can overlap their long chains of
    // dependent steps.
    void moveAll(Particle* particles, unsigned char* left, std::size_t first, std::size_t end) const
    {
        constexpr std::size_t batch = 8;
        std::size_t k = first;
        for (; k + batch <= end; k += batch) {
            Pair place[batch], to[batch];
#pragma GCC unroll 8
            for (std::size_t b = 0; b < batch; ++b) {
                place[b] = Pair{particles[k + b].x, particles[k + b].y};
                to[b] = destination(place[b]);
            }
            for (std::size_t b = 0; b < batch; ++b)
                settleInto(particles[k + b], left[k + b], place[b], to[b]);
        }
        for (; k < end; ++k) {
            const Pair place{particles[k].x, particles[k].y};
            settleInto(particles[k], left[k], place, destination(place));
        }
    }

    void settleInto(Particle& p, unsigned char& gone, Pair place, Pair to) const
    {
        gone = settle(place, to) ? 0 : 1;
        p.x = place[0];
        p.y = place[1];
    }
};

// Particles a part of the parallel pass moves: large enough that the
// threads' start costs little beside the work.
constexpr std::size_t particlesPerPart = 8192;

}  // namespace

FaceVelocity interpolateFaces(const Grid& field, double x, double y)
{
    const Pair at = FaceSampler(field).at(Pair{x / field.dx, y / field.dy});
    return {at[0], at[1]};
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
    static_assert(Open == CellKinds::open && Gone == CellKinds::gone, "one table, one meaning");
    return static_cast<Kind>(CellKinds(kinds).at(Pair{x, y} * Pair{invDx, invDy}));
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
        const HeunStep heun(before, state, kinds, dt, invDx, invDy);
        Particle* const moving = list.data();
        unsigned char* const left = gone.data();
        const int partCount = static_cast<int>((count + particlesPerPart - 1) / particlesPerPart);
        parts.run(partCount, [&](int part) {
            const std::size_t first = static_cast<std::size_t>(part) * particlesPerPart;
            const std::size_t end = std::min(count, first + particlesPerPart);
            // A copy of its own: the particles written in the loop could
            // otherwise be taken to change what it reads.
            const HeunStep step = heun;
            step.moveAll(moving, left, first, end);
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
