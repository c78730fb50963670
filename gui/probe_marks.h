// The probes marked on the simulation window's canvas: a cross where each
// stands and its number beside it, white edged in black so that they show
// on the red, green and blue fields, on black and on the colour maps alike.
// Drawn over the presented picture with GL, in canvas pixels, so that they
// keep their size however the picture is stretched, and never enter the
// picture that is saved.
#pragma once

#include "gui/picture_point.h"
#include "sim/measurements.h"

#include <vector>

namespace probe_marks {
// Half the length of a cross arm, in canvas pixels.
constexpr int crossArm = 5;
// Gap between the cross's centre and its number.
constexpr int labelGap = 3;
}  // namespace probe_marks

// Draws the marks of probes (numbered from 1 in their order) into the
// current GL context over a canvas of the layout's size; the probes are
// placed by the layout as a middle click finds them. Leaves the matrices
// as it found them.
void drawProbeMarks(const std::vector<ProbePoint>& probes, const PictureLayout& layout);
