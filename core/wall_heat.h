// The heat that walls holding their temperature give the flow, as Nusselt
// numbers: Nu = q L / (k dT), the heat flux over that of pure conduction
// across the length L by the span dT (core/grid_scalars.h). The wall's
// temperature holds on the face it shares with an open cell, half a cell
// from that cell's centre, as the transport has it, so the local number
// there is (T_wall - T_cell) / (h / 2) L / dT: positive where the wall
// heats the fluid.
#pragma once

#include "core/grid.h"
#include "core/grid_scalars.h"

#include <cstdint>
#include <vector>

// A face between a wall cell holding its temperature and an open cell.
struct HeatedFace {
    int32_t i, j;    // the open cell
    int32_t wi, wj;  // the wall cell
    double length;   // of the face
    double gap;      // from the open cell's centre to the face
};

// A wall group: 4-connected wall cells that hold one and the same
// temperature, with the faces it shares with the flow.
struct HeatedWall {
    double temperature = 0.0;
    int32_t cells = 0;
    std::vector<HeatedFace> faces;
    double length = 0.0;  // summed over the faces
};

// The groups of a grid that carries heat, in the order their first cell
// comes (i outer, j inner); groups without a face to the flow are left out.
std::vector<HeatedWall> findHeatedWalls(const Grid& grid);

// The local Nusselt number at each face of the wall, in the faces' order.
std::vector<double> localNusselt(const Grid& state, const HeatedWall& wall, const HeatScales& scales);
// Their mean, weighted by the faces' lengths.
double meanNusselt(const Grid& state, const HeatedWall& wall, const HeatScales& scales);
