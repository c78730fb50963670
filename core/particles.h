// Tracer particles: massless points carried by the flow, released by the
// grid's emitters (core/emitter.h) and kept in release order, oldest first.
//
// Each solver step moves every particle by Heun's method on the two
// velocity fields of the step: a predictor with the field before the step,
// a corrector with the field after it, each interpolated bilinearly from
// the staggered faces (u on east faces, v on north faces; positions in
// domain units as core/probe.h). The step is second order in time and
// exact in space for any linear field.
//
// Where a particle may go is read from the cell it would land in:
//   open     a fluid or outflow cell off the border ring: it moves there;
//   blocked  a wall or an inflow cell: it slides along the wall instead
//            (only its x, else only its y move, whichever lands in an open
//            cell), and stays where it was when neither does, so no
//            particle ever enters a wall;
//   gone     an outflow cell of the ring, a fluid cell of the ring, or
//            anywhere off the grid: it has left the flow and is removed.
#pragma once

#include "core/emitter.h"
#include "core/grid.h"
#include "core/parallel_parts.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace particle_defaults {
// Particles kept at most; the oldest go first beyond it.
constexpr std::size_t cap = 100000;
}  // namespace particle_defaults

struct Particle {
    double x = 0.0;
    double y = 0.0;
    uint64_t serial = 0;   // release number, from 0, never reused in a run
    int32_t emitter = -1;  // index of the releasing emitter, -1 for none
    int32_t colour = 0;    // palette index, the emitter's

    bool operator==(const Particle& o) const
    {
        return x == o.x && y == o.y && serial == o.serial && emitter == o.emitter && colour == o.colour;
    }
};

// What a tracer carries from step to step, for a state file: the particles
// and the count of steps that sets the release schedule.
struct ParticleState {
    std::vector<Particle> particles;  // in release order
    int64_t steps = 0;                // steps the tracer has taken
    uint64_t nextSerial = 0;          // of the next particle released
};

// The velocity (u, v) at (x, y), bilinear from the staggered faces; points
// beyond the outermost faces take the nearest ones.
struct FaceVelocity {
    double u, v;
};
FaceVelocity interpolateFaces(const Grid& field, double x, double y);

class ParticleTracer {
public:
    // Reads the cells' kinds and the emitters from setUp; holds no
    // particles. threads as ParallelParts takes them.
    explicit ParticleTracer(const Grid& setUp, int threads = 0);

    // Whether there is anything to do: an emitter or a particle. A run
    // without either never copies a field or touches a particle.
    bool active() const { return !emitters.empty() || !carried.particles.empty(); }

    // Keeps the velocities of state before a step (the predictor's field).
    void beforeStep(const Grid& state);
    // After the step of length dt whose result is state: moves every
    // particle, removes those that left, releases the emitters due at this
    // step, removes the oldest beyond the cap, and counts the step.
    void afterStep(const Grid& state, double dt);

    // Releases particles along (x1, y1)-(x2, y2) now, as a timeline of the
    // given colour (not an emitter: it never releases again).
    void releaseLine(double x1, double y1, double x2, double y2, int32_t colour);
    // Adds an emitter, which releases from the next step on the schedule
    // counted from the tracer's first step.
    void addEmitter(const Emitter& emitter) { emitters.push_back(emitter); }
    const Emitters& emitterList() const { return emitters; }
    // Removes every particle (the emitters stay).
    void clearParticles() { carried.particles.clear(); }

    void setCap(std::size_t particles);
    std::size_t cap() const { return capacity; }
    const std::vector<Particle>& particles() const { return carried.particles; }
    const ParticleState& state() const { return carried; }
    // Continues a saved tracer of the same grid.
    void restore(const ParticleState& saved) { carried = saved; }
    // Reads the cells' kinds again from setUp, of the same size, after cells
    // were painted into the flow; the particles and emitters stay.
    void readCells(const Grid& setUp);

private:
    // What the cell at a place holds for a particle (the values of the
    // table core/particle_moves.h reads).
    enum Kind : unsigned char { Open = 0, Blocked = 1, Gone = 2 };
    Kind kindAt(double x, double y) const;
    // Releases one emitter's particles (those in open cells).
    void release(const Emitter& emitter, int32_t index);
    // Drops the particles marked gone and the oldest beyond the cap,
    // keeping the order.
    void compact();

    int32_t NX, NY;
    double dx, dy;
    double invDx, invDy;
    Array2D<unsigned char> kinds;  // Kind per cell
    Emitters emitters;
    std::size_t capacity = particle_defaults::cap;
    ParticleState carried;
    Grid before;                     // u and v before the step
    std::vector<unsigned char> gone;  // per particle, 1 once it has left
    ParallelParts parts;
};
