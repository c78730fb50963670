// The wall conditions of a fixed set of cell flags, planned once per solver:
// which treated cell writes into which wall neighbour, in scan order, and
// which faces lie between a wall and a non-wall cell.
#pragma once

#include "core/array2d.h"

#include <cstdint>
#include <vector>

enum class WallSide : uint8_t { East, West, North, South };
enum class WallKind : uint8_t { NoSlip, Slip, Moving };

struct WallWrite {
    int32_t i;      // the treated (non-wall) cell
    int32_t j;
    WallSide side;  // where its wall neighbour lies
    WallKind kind;  // what that neighbour is
};

struct WallPlan {
    std::vector<WallWrite> writes;                         // in scan order
    std::vector<std::pair<int32_t, int32_t>> closedUFaces; // u faces beside a wall
    std::vector<std::pair<int32_t, int32_t>> closedVFaces; // v faces beside a wall
};

WallPlan planWallConditions(const Array2D<int32_t>& flags, int32_t NX, int32_t NY);

// Makes the planned writes into a u-like, a v-like and a pressure-like array.
void applyWallPlan(const WallPlan& plan, Array2D<double>& U, Array2D<double>& V, Array2D<double>& P);
