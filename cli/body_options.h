// --body of kelvo-batch: an exact outline drawn over the grid, in domain
// units (core/probe.h):
//   circle:X,Y,R
//   polygon:X1,Y1;X2,Y2;X3,Y3[;...]
//   naca:DIGITS,X,Y,CHORD,ANGLE   (X, Y the leading edge, ANGLE in degrees)
#pragma once

#include "core/body_outline.h"

#include <string>

// False with a one-line reason for a malformed text.
bool parseBodyOption(const std::string& text, BodyOutline& outline, std::string& error);

extern const char* const bodyUsage;
