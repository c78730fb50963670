// Bodies and the forces the flow exerts on them.
//
// A body is a 4-connected group of wall cells (any wall type) that does not
// touch the border ring; all walls together form one more body. The faces a
// body shares with open cells are found once per set of flags; the force is
// then summed over them whenever it is asked for.
#pragma once

#include "core/grid.h"

#include <cstdint>
#include <vector>

// One face between a wall cell and an open cell: where pressure acts.
struct BodyFace {
    int32_t i, j;      // the open cell
    int32_t ni, nj;    // the unit normal into the fluid, in cells (one is 0)
};

// A velocity in the fluid with a body position one cell away: where the
// viscous flux reaches the body. u positions when alongX, v otherwise.
struct ViscousFace {
    int32_t i, j;      // the velocity in the fluid
    int32_t wi, wj;    // the velocity position at the body
    bool alongX;
    bool across;       // the body lies across the velocity (shear), not along it
    bool moving;       // the wall's speed is its stored velocity; else 0
};

struct Body {
    int32_t cells = 0;        // wall cells in the body
    double height = 0.0;      // extent across the flow (y), domain units
    bool allWalls = false;    // the body of all walls together
    std::vector<BodyFace> faces;
    std::vector<ViscousFace> viscousFaces;
};

// The bodies of grid, largest first, then the body of all walls.
std::vector<Body> findBodies(const Grid& grid);

// Force per unit depth on a body, density 1.
struct BodyForce {
    double fx = 0.0;
    double fy = 0.0;
};

// F = sum of -p n ds over the faces (n into the fluid, p the open cell's)
// plus (1/Re) (u_k - u_wall) / h ds for every velocity component u_k whose
// neighbour h away is a body position: the viscous flux the solver's own
// momentum cells exchange with the body, with the wall value at the wall
// cell's centre (tangential) or on the closed face (normal). This is the
// Laplacian form of (1/Re)(grad u + grad u^T) n, equal to it for
// incompressible flow, and it makes the force agree with a momentum balance
// of the discrete flow. Slip walls carry no shear.
// With wallsOnFaces the no-slip value of a tangential velocity holds on the
// face beside it, half a cell away, so the shear there is twice as large.
BodyForce bodyForce(const Grid& state, const Body& body, double reynolds, bool wallsOnFaces = false);

// The largest inflow or moving-wall speed of a set-up; 1 when it has none.
double setUpReferenceSpeed(const Grid& grid);

// C = 2 F / (U^2 L).
inline double forceCoefficient(double force, double speed, double length)
{
    return 2.0 * force / (speed * speed * length);
}
