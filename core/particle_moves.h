// The Heun step of tracer particles (core/particles.h) over a run of them,
// and what it reads: the faces' velocities and the cells' kinds.
//
// Where the processor has AVX2, four particles move at once, one in each
// lane of a register (with AVX-512VL's registers where it has them too);
// every lane does exactly the operations of the move one at a time, so
// every way gives the same bits.
#pragma once

#include "core/array2d.h"
#include "core/grid.h"
#include "core/particles.h"

#include <cstddef>

// What one step of the particles reads: the velocities before and after
// it, the kind of every cell (ParticleTracer's table: 0 open, 1 blocked,
// 2 gone), the step's length and the cell sizes' reciprocals.
struct ParticleStepFields {
    const Grid& before;
    const Grid& after;
    const Array2D<unsigned char>& kinds;
    double dt;
    double invDx, invDy;
};

// How many particles a move takes at once: the widest the processor has,
// four with AVX2's registers alone even where it has more, or one (the
// same bits every way; for comparing them).
enum class MoveLanes { widest, fourOnAvx2, one };

// Moves particles first .. end - 1 by one step and marks in left those
// that left the flow (1) or stay (0).
void moveParticles(const ParticleStepFields& fields, Particle* particles, unsigned char* left, std::size_t first,
                   std::size_t end, MoveLanes lanes = MoveLanes::widest);

// The kind in the table at (x, y) in domain units; everything off the grid
// is gone (2).
unsigned char particleCellKind(const Array2D<unsigned char>& kinds, double x, double y, double invDx, double invDy);
