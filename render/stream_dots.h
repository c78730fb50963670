// StreamDots: a run of stream dots on one pixel, as a path that moves less
// than a pixel per step leaves them, plotted in one go.
#pragma once

#include "render/frame_image.h"

#include <climits>
#include <cstddef>

// count dots of a path on one pixel, one after another.
struct StreamRun {
    int column;
    int row;
    int count;
};

// Picture rows first <= row < end: the part of the picture one of several
// threads draws. Every pixel sees its own additions in the same order
// whichever band draws it.
struct RowBand {
    int first;
    int end;

    bool holds(int row) const { return row >= first && row < end; }
};

// Every row there is.
constexpr RowBand everyRow{INT_MIN, INT_MAX};

// count calls of addStreamDot(column, row) in a row, on the given planes,
// with the very same result, changing only the pixels in the band's rows.
// Planes whose green and blue are null stand for a grey picture: only the
// red plane is drawn.
void plotStreamDots(const FramePlanes& planes, int column, int row, int count, RowBand band = everyRow);

// plotStreamDots in the band for each run in order.
void plotStreamRuns(const FramePlanes& planes, const StreamRun* runs, size_t count, RowBand band);

// The runs of a picture in drawing order, held in several arrays one
// after another.
struct StreamRunSpan {
    const StreamRun* runs;
    size_t count;
};

// plotStreamRuns of the spans in two bands that share no row: each band
// takes its runs in order, and the runs of one are plotted beside those of
// the other, whose additions fill the waits of the first.
void plotStreamRunsInTwoBands(const FramePlanes& planes, const StreamRunSpan* spans, size_t spanCount,
                              RowBand firstBand, RowBand secondBand);

// count times value = float(double(value) + increment), a result above 255
// becoming 255: what count stream dots do to one value of the picture.
// Long runs cross each binade of floats in one move, with the same bits as
// the single additions.
float addRepeatedly(float value, double increment, int count);
