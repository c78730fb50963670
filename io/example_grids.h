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

// The differentially heated square cavity, cells x cells with the walls:
// the west wall at T = 1, the east wall at 0, the others insulated, Pr 0.71,
// the fluid at rest at 0.5. The file's Reynolds number is that of the
// free-fall speed sqrt(g beta dT 1), so that the buoyancy factor B is 1 and
// speeds stay near 1 (core/grid_scalars.h).
ExampleGrid heatedCavityExample(int cells = 130, double rayleigh = 1e5);
// A layer heated from below: rows x (widthRatio rows) cells, the floor at
// T = 1, the lid at 0, insulated side walls, Pr 0.71, starting from the
// conduction profile with a small warm bump left of the middle.
ExampleGrid heatedLayerExample(int rows = 26, int widthRatio = 4, double rayleigh = 5000);
// The square cylinder with dye from the inflow in bands 4 cells wide.
ExampleGrid dyeWakeExample();

// All examples, in the order above.
std::vector<ExampleGrid> exampleGrids();
