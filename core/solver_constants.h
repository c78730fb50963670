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
}  // namespace solver_constants
