// The flow past a circle in a channel of Schäfer & Turek (1996), built at a
// chosen resolution: their channel 2.2 x 0.41 (here as long as the grid's
// width allows, below), the circle of diameter D = 0.1 centred at (0.2, 0.2)
// and a parabolic inflow of mean speed U_mean, U_max = 1.5 U_mean.
//
// Their lengths map onto the domain 1 high as follows: the channel's walls
// lie on the faces of the border ring (the walls of core/face_boundaries.h),
// so its height 0.41 is the NY - 2 cells between them, 4.1 D; a length l of
// theirs is l * 10 D dy here, measured from the ring's inner faces (x = dx,
// y = dy). Cells are square: NX = 6 NY, so the channel is 6 NY - 2 cells,
// about 2.5 of their units long instead of 2.2 (the outflow 23 diameters
// behind the circle instead of 20). U_mean is 1, so the program's Reynolds
// number 1/nu is Re NY / D, Re = U_mean D / nu theirs.
#pragma once

#include "core/body_outline.h"
#include "core/grid.h"
#include "io/grid_file.h"

struct BenchmarkPoint {
    double x, y;
};

struct ChannelBenchmark {
    Grid grid;
    GridFileSettings settings;
    BodyOutline circle;
    BenchmarkPoint front, back;  // where their pressure difference is taken
    double diameter = 0.0;       // D in domain units
    double lengthScale = 0.0;    // domain units per unit of theirs
};

// cellsPerDiameter: 10, 20, 40, ... (a multiple of 10, so the channel is a
// whole number of cells high); reynolds: theirs, 20 or 100.
ChannelBenchmark schaeferTurekChannel(int cellsPerDiameter, double reynolds);
