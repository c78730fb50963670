#include "render/screen_window.h"

#include <algorithm>
#include <cmath>

int64_t ScreenWindow::column(int x) const
{
    return static_cast<int64_t>(std::floor(left + stride * (x + 0.5)));
}

int64_t ScreenWindow::row(int y) const
{
    return static_cast<int64_t>(std::floor(top + stride * (y + 0.5)));
}

ScreenWindow screenWindowFor(const CanvasPlace& place, int32_t NX, int32_t NY, int contentHeight)
{
    ScreenWindow window;
    if (NX < 1 || NY < 1 || place.canvasWidth <= 0 || place.canvasHeight <= 0 || !(place.scale > 0))
        return window;
    if (NX <= place.canvasWidth && NY <= place.canvasHeight)
        return window;  // a pixel or more per cell: the whole picture is no larger than the canvas
    const double scale = place.scale;
    const double left = std::max(0.0, std::floor(-place.originX / scale));
    const double top = std::max(0.0, std::floor(-place.originY / scale));
    const double right = std::min(static_cast<double>(NX), (place.canvasWidth - place.originX) / scale);
    const double bottom = std::min(static_cast<double>(contentHeight), (place.canvasHeight - place.originY) / scale);
    if (!(right > left) || !(bottom > top))
        return window;
    window.left = left;
    window.top = top;
    window.stride = std::max(1.0, 1.0 / scale);
    window.width = std::max(1, static_cast<int>(std::ceil((right - left) / window.stride)));
    window.height = std::max(1, static_cast<int>(std::ceil((bottom - top) / window.stride)));
    return window;
}

namespace {

// Columns of sub-cells a thread is worth.
constexpr int32_t columnsWorthAThread = 256;

// Whether a column's sub-cells are copied as blocks of consecutive rows
// (a window at one cell per pixel) or row by row.
bool copyInRuns(const std::vector<WindowRowRun>& runs, int32_t ny)
{
    return static_cast<int64_t>(runs.size()) * 8 <= ny;
}

template <typename T>
void sampleArray(const Array2D<T>& from, const std::vector<int32_t>& columns, const std::vector<int32_t>& rows,
                 const std::vector<WindowRowRun>& runs, Array2D<T>& to, const ParallelParts& parallel)
{
    const int32_t nx = static_cast<int32_t>(columns.size());
    const int32_t ny = static_cast<int32_t>(rows.size());
    if (to.rowCount() != nx || to.colCount() != ny)
        to.allocate(nx, ny);
    const bool inRuns = copyInRuns(runs, ny);
    const int parts = std::clamp(nx / columnsWorthAThread, 1, parallel.threads());
    parallel.run(parts, [&](int part) {
        for (int32_t a = partStart(nx, part, parts); a < partStart(nx, part + 1, parts); ++a) {
            const T* in = from[columns[a]];
            T* out = to[a];
            if (inRuns) {
                for (const WindowRowRun& run : runs)
                    std::copy(in + run.from, in + run.from + run.count, out + run.first);
            } else {
                for (int32_t b = 0; b < ny; ++b)
                    out[b] = in[rows[b]];
            }
        }
    });
}

// An array a picture does not read is left empty, so that reading it
// fails at once rather than showing another frame's cells.
template <typename T>
void sampleArrayIf(bool wanted, const Array2D<T>& from, const std::vector<int32_t>& columns,
                   const std::vector<int32_t>& rows, const std::vector<WindowRowRun>& runs, Array2D<T>& to,
                   const ParallelParts& parallel)
{
    if (wanted)
        sampleArray(from, columns, rows, runs, to, parallel);
    else
        to.allocate(0, 0);
}

void findRowRuns(const std::vector<int32_t>& rows, std::vector<WindowRowRun>& runs)
{
    runs.clear();
    for (int32_t b = 0; b < static_cast<int32_t>(rows.size()); ++b) {
        if (!runs.empty() && rows[b] == runs.back().from + runs.back().count)
            ++runs.back().count;
        else
            runs.push_back(WindowRowRun{b, rows[b], 1});
    }
}

}  // namespace

// Sub-cell a's centre lies at column a + 1 of the sub-grid's picture, that
// is at frame column a + 1 - margin, whole-picture column
// left + stride (a + 1 - margin), and a cell's centre at column i + 1:
// the cell there is floor of that less a half. Rows alike, from the north.
void WindowGrid::sample(const SimGrid& grid, const ScreenWindow& window, const ParallelParts& parallel,
                        const WindowArrays& wanted)
{
    const int32_t nx = window.width + 2 * margin;
    const int32_t ny = window.height + 2 * margin;
    const double s = window.stride;
    columnCells.resize(nx);
    rowCells.resize(ny);
    for (int32_t a = 0; a < nx; ++a) {
        const double at = window.left + s * (a + 1 - margin) - 0.5;
        columnCells[a] = static_cast<int32_t>(std::clamp(std::floor(at), 0.0, grid.NX - 1.0));
    }
    for (int32_t b = 0; b < ny; ++b) {
        const double at = grid.NY + 0.5 - window.top - s * (ny - b - margin);
        rowCells[b] = static_cast<int32_t>(std::clamp(std::floor(at), 0.0, grid.NY - 1.0));
    }
    sampled.NX = nx;
    sampled.NY = ny;
    sampled.dx = s * grid.dx;
    sampled.dy = s * grid.dy;
    findRowRuns(rowCells, rowRuns);
    sampleArrayIf(wanted.flags, grid.flags, columnCells, rowCells, rowRuns, sampled.flags, parallel);
    sampleArray(grid.u, columnCells, rowCells, rowRuns, sampled.u, parallel);
    sampleArray(grid.v, columnCells, rowCells, rowRuns, sampled.v, parallel);
    sampleArrayIf(wanted.pressure, grid.p, columnCells, rowCells, rowRuns, sampled.p, parallel);
    sampled.scalars.heat = grid.scalars.heat && wanted.heat;
    sampled.scalars.dye = grid.scalars.dye && wanted.dye;
    sampleArrayIf(sampled.scalars.heat, grid.scalars.T, columnCells, rowCells, rowRuns, sampled.scalars.T, parallel);
    sampleArrayIf(sampled.scalars.dye, grid.scalars.c, columnCells, rowCells, rowRuns, sampled.scalars.c, parallel);

    // Domain x lies at whole-picture column x / dx + 1/2, frame column
    // (that - left) / stride, sub-grid column that + margin, which is
    // x' / dx' + 1/2 there.
    shiftX = grid.dx * (0.5 - window.left) + sampled.dx * (margin - 0.5);
    shiftY = sampled.dy * (ny + 0.5 - margin) - grid.dy * (grid.NY + 0.5 - window.top);
    sampled.outlines = grid.outlines;
    for (BodyOutline& outline : sampled.outlines) {
        outline.centre.x += shiftX;
        outline.centre.y += shiftY;
        for (OutlinePoint& corner : outline.corners) {
            corner.x += shiftX;
            corner.y += shiftY;
        }
    }
}

void WindowGrid::moveParticles(const std::vector<Particle>& from, std::vector<Particle>& to) const
{
    to = from;
    for (Particle& particle : to) {
        particle.x += shiftX;
        particle.y += shiftY;
    }
}
