// StreamDots: a run of stream dots on one pixel, as a path that moves less
// than a pixel per step leaves them, plotted in one go.
#pragma once

#include "frame_image.h"

#include <cstddef>

// count dots of a path on one pixel, one after another.
struct StreamRun {
    int column;
    int row;
    int count;
};

// count calls of addStreamDot(column, row) in a row, on the given planes,
// with the very same result. Planes whose green and blue are null stand for
// a grey picture: only the red plane is drawn.
void plotStreamDots(const FramePlanes& planes, int column, int row, int count);

// plotStreamDots for each run in order. The rows of a run a few places
// ahead are fetched into the cache meanwhile.
void plotStreamRuns(const FramePlanes& planes, const StreamRun* runs, size_t count);

// count times value = float(double(value) + increment), a result above 255
// becoming 255: what count stream dots do to one value of the picture.
// Long runs cross each binade of floats in one move, with the same bits as
// the single additions.
float addRepeatedly(float value, double increment, int count);
