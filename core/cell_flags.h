// The cell flag word: one type bit per cell, plus one direction bit for
// inflow and outflow cells.
#pragma once

#include <cstdint>

enum : int32_t {
    CELL_FLUID       = 0x001,  // open cell
    CELL_MOVING_WALL = 0x002,  // wall carrying the velocity set in the editor
    CELL_SLIP_WALL   = 0x004,  // wall, tangential velocity mirrored
    CELL_NOSLIP_WALL = 0x008,  // wall, tangential velocity zero
    CELL_INFLOW      = 0x010,  // fixed velocity, never computed
    CELL_OUTFLOW     = 0x020,  // open cell on the border
    DIR_EAST         = 0x040,
    DIR_WEST         = 0x080,
    DIR_NORTH        = 0x100,
    DIR_SOUTH        = 0x200,
};

enum : int32_t {
    CELL_WALL_MASK = 0x00E,  // any of the three walls
    CELL_OPEN_MASK = 0x021,  // fluid or outflow: pressure solved, faces computed
    DIR_MASK       = 0x3C0,  // the four direction bits
    CELL_TYPE_MASK = 0x03F,  // the six type bits
};

inline bool isWall(int32_t word) { return (word & CELL_WALL_MASK) != 0; }
inline bool isOpen(int32_t word) { return (word & CELL_OPEN_MASK) != 0; }
inline bool isFluid(int32_t word) { return (word & CELL_FLUID) != 0; }
inline bool isInflow(int32_t word) { return (word & CELL_INFLOW) != 0; }
