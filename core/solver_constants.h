// Fixed parameters of the time-step solver.
#pragma once

namespace solver_constants {
// Largest change of any dp value in a Gauss-Seidel sweep at which the
// pressure iteration stops (held as a 32-bit float).
constexpr float pressureTolerance = 0.0001f;
// Share of the pressure correction added to the pressure each step.
constexpr float pressureRelaxation = 0.3f;
// Sweeps per step after which the iteration gives up; converging data never
// comes near it, it only keeps a diverged flow from hanging the program.
constexpr int maxPressureSweeps = 100000;
// The multigrid solver stops once the largest residual is at most this
// share of the largest divergence of (F, G). At 1e-5 the divergence left
// after a step is several times below what the sweeps leave on the same
// flow (255 x 255 cavity, 255 x 100 channel); at 1e-4 it is already above.
constexpr double multigridRelativeTolerance = 1e-5;
// Iterations per step after which the multigrid solver gives up.
constexpr int maxMultigridCycles = 500;
// The Gauss-Seidel sweeps work on row-by-row copies of dp and of the
// divergence, except on grids of at most this many cells (dp, F and G then
// fit in 256 KB of cache) when the last step needed at most inPlaceMaxSweeps:
// the copies cost about as much as two sweeps and save a few per cent of each.
// On two cores a 40 x 20 channel step (one or two sweeps) took a fifth less
// time in place; cavities of 100 x 100 to 255 x 255 (hundreds of sweeps a
// step) swept 4 to 7 per cent faster on the copies.
constexpr int inPlaceSweepMaxCells = 10240;
constexpr int inPlaceMaxSweeps = 4;
// The projection method's pressure solve, by either solver, stops once no
// solved cell keeps a divergence above this (velocity per length, in the
// program's units: the domain is 1 high).
constexpr double divergenceLimit = 1e-7;
// The first two stages of a projection step may leave this many times the
// limit: the next stage's projection takes out what they leave, and only
// the last stage's field is the step's result. On the 130 x 130 cavity at
// Re 1000 this took the iterations of a step from 4.0 to 3.6; the steady
// flow moved by less than 1e-9.
constexpr double innerStageDivergenceFactor = 10.0;
// The Courant number |u| dt/dx + |v| dt/dy of its automatic time step: the
// three stages keep central convection stable up to sqrt(3); at 1.5 the
// cavity, channel and step examples ran 5,000 steps at Re 2000 and the
// square obstacle shed for 3,000 steps without a blow-up.
constexpr double projectionCourant = 1.5;
}  // namespace solver_constants
