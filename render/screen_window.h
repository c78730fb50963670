// ScreenWindow: the part of a large grid's screen picture that the canvas
// shows, and the cells a picture of just that part is made from.
//
// A grid with more cells than the canvas has pixels is pictured at one
// pixel per cell (the "whole picture": NX x NY pixels, with the colour
// bar's strip below when a colour map is shown), but only the part on the
// canvas is composed, and only every stride-th pixel of it, so that a
// frame has about as many pixels as the canvas, whatever the grid's size.
// Zoomed in to one screen pixel per cell or closer the stride is 1: every
// cell shows.
#pragma once

#include "core/grid.h"
#include "core/parallel_parts.h"
#include "core/particles.h"

#include <cstdint>
#include <vector>

// Whole-picture pixel coordinates: x right from the left edge, y down from
// the top, pixel (V, R) covering [V, V + 1) x [R, R + 1).
struct ScreenWindow {
    double left = 0.0;   // the frame's top-left corner
    double top = 0.0;
    double stride = 1.0;  // whole-picture pixels per frame pixel, at least 1
    int width = 0;        // frame pixels; 0 (either) stands for the whole picture
    int height = 0;

    bool whole() const { return width <= 0 || height <= 0; }
    // The whole-picture pixel under the centre of frame pixel (x, y).
    int64_t column(int x) const;
    int64_t row(int y) const;
    bool operator==(const ScreenWindow& o) const
    {
        return left == o.left && top == o.top && stride == o.stride && width == o.width && height == o.height;
    }
    bool operator!=(const ScreenWindow& o) const { return !(*this == o); }
};

// Where the canvas puts the whole picture: its top-left corner in canvas
// pixels and the screen pixels per picture pixel.
struct CanvasPlace {
    int canvasWidth = 0;
    int canvasHeight = 0;
    double originX = 0.0;
    double originY = 0.0;
    double scale = 1.0;
};

// The window a frame of an NX x NY grid composes on that canvas: the whole
// picture when the grid fits the canvas at a pixel per cell, else the
// picture's part on the canvas at stride max(1, 1 / scale). contentHeight:
// the whole picture's rows, the strip included.
ScreenWindow screenWindowFor(const CanvasPlace& place, int32_t NX, int32_t NY, int contentHeight);

// The arrays a WindowGrid samples beside the velocities; those not wanted
// are left empty (heat and dye switched off), as no picture of the frame
// reads them.
struct WindowArrays {
    bool flags = true;
    bool pressure = true;
    bool heat = true;
    bool dye = true;
};
// Sub-cell rows first .. first + count - 1 holding grid rows from ..
// from + count - 1.
struct WindowRowRun {
    int32_t first;
    int32_t from;
    int32_t count;
};

// A grid standing for the cells a window shows: sub-cell (a, b) holds cell
// (i(a), j(b)) of the grid, nearest to where the sub-cell lies in the whole
// picture, held inside the grid, with the window's frame in columns
// margin .. margin + width - 1 and rows margin .. margin + height - 1 of
// its own one-pixel-per-cell picture. Its cells are stride times the
// grid's; its outlines and the particles are moved to match.
class WindowGrid {
public:
    static constexpr int margin = 3;  // keeps the plot margins and the last cell off the frame

    void sample(const SimGrid& grid, const ScreenWindow& window, const ParallelParts& parallel,
                const WindowArrays& wanted = WindowArrays());
    const SimGrid& cells() const { return sampled; }
    // The grid's cell behind sub-cell column a, row b.
    int32_t cellColumn(int a) const { return columnCells[a]; }
    int32_t cellRow(int b) const { return rowCells[b]; }
    // particles moved as the outlines are.
    void moveParticles(const std::vector<Particle>& from, std::vector<Particle>& to) const;

private:
    SimGrid sampled;
    std::vector<int32_t> columnCells;
    std::vector<int32_t> rowCells;
    std::vector<WindowRowRun> rowRuns;
    double shiftX = 0.0;  // domain units added to an x of the grid
    double shiftY = 0.0;
};
