// --body of kelvo-batch (and a body's text in the Python module): an exact
// outline drawn over the grid, in domain units (core/probe.h):
//   circle:X,Y,R
//   polygon:X1,Y1;X2,Y2;X3,Y3[;...]
//   naca:DIGITS,X,Y,CHORD,ANGLE   (X, Y the leading edge, ANGLE in degrees)
#pragma once

#include "core/body_outline.h"
#include "core/grid.h"

#include <string>
#include <vector>

// False with a one-line reason for a malformed text.
bool parseBodyOption(const std::string& text, BodyOutline& outline, std::string& error);

// Adds the outlines to the grid's, after them, and makes walls of the cells
// they cover.
void drawBodies(const std::vector<BodyOutline>& bodies, Grid& grid);

extern const char* const bodyUsage;
