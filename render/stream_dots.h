// StreamDots: a run of stream dots on one pixel, as a path that moves less
// than a pixel per step leaves them, plotted in one go.
#pragma once

#include "frame_image.h"

// count calls of addStreamDot(column, row) in a row, on the given planes,
// with the very same result.
void plotStreamDots(const FramePlanes& planes, int column, int row, int count);
