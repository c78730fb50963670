// The example set-ups shipped in Grids/, built in code so they can be
// regenerated.
#pragma once

#include "core/grid.h"
#include "io/grid_file.h"

#include <string>
#include <vector>

struct ExampleGrid {
    std::string fileName;       // e.g. "channel.grid"
    Grid grid;
    GridFileSettings settings;  // Reynolds number and default velocities
};

// Channel with a square obstacle, 40 x 20: inflow west, outflow east.
ExampleGrid channelExample();
// Lid-driven cavity, 20 x 20: the north wall moves east.
ExampleGrid cavityExample();
// Backward-facing step, 60 x 20: inflow over a step block in the lower left.
ExampleGrid stepExample();
// A square cylinder in a channel, 245 x 49: parabolic inflow, side D = 6
// cells, blockage 1/8, Re 100 on D and the centre-line inflow speed (the
// file's Reynolds number is the domain's, 100 x 49 / 6).
ExampleGrid squareCylinderExample();
// The same with streaklines: a rake of four point emitters across the wake,
// 2 D ahead of the cylinder, releasing every step.
ExampleGrid squareCylinderStreaksExample();

// A NACA 2412 section at 6 degrees in a free stream, 240 x 60: uniform
// inflow west, outflow east, slip walls south and north; the chord 0.4 (24
// cells) drawn as an exact outline, Re 500 on the chord (the file's Reynolds
// number is the domain's, 500 / 0.4).
ExampleGrid airfoilExample();

// All examples, in the order above.
std::vector<ExampleGrid> exampleGrids();
