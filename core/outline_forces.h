// What the flow does to a body with an exact outline: the force on it, from
// the momentum balance of a box around it, and the pressure on its outline.
#pragma once

#include "core/body_forces.h"
#include "core/body_outline.h"
#include "core/grid.h"
#include "core/wide_convection.h"

// The pressure on the outline at a point of it: a least-squares quadratic
// through the pressures of the open cells within 2.5 cells of the point,
// all on the fluid's side, taken at the point itself (second order). The
// nearest cell's pressure when too few cells are open there.
double pressureAtOutlinePoint(const Grid& state, OutlinePoint at);

// The pressure on the outline nearest to at: what a probe placed on (or
// within a cell of) an outline reads.
double outlinePressure(const Grid& state, const BodyOutline& outline, OutlinePoint at);

// The extent of an outline across the flow (y): its reference length.
double outlineHeight(const BodyOutline& outline);

// The momentum balance of a box of cells around an outline: the force on
// the body is what the box's fluid loses,
//   F = -d/dt (sum of u dV) - (flux out of its sides),
// the flux being the solver's own convective flux (reach: the default
// method's, core/wide_convection.h; nullptr: the second-order central
// one), the pressure and the viscous flux (1/Re) du/dn, so that summed
// over the box the terms of the faces inside cancel exactly and only the
// body's share remains: the momentum the outline's conditions take from
// the flow, pressure and shear on the outline together. The box is the cells the outline touches
// with margin cells more on every side; another wall inside it counts as
// part of the body.
struct MomentumBox {
    int32_t i0 = 0, i1 = 0, j0 = 0, j1 = 0;  // cells, inclusive
};
MomentumBox momentumBoxFor(const Grid& grid, const BodyOutline& outline, int margin);

struct BoxBalance {
    double momentumX = 0.0;  // sum of u dV over the x-momentum faces inside
    double momentumY = 0.0;
    BodyForce outflux;       // momentum leaving through the sides, per unit time
};
BoxBalance boxBalance(const Grid& state, const MomentumBox& box, double reynolds, const WideReach* reach);

// Cells between an outline and its box's sides.
constexpr int momentumBoxMargin = 3;
