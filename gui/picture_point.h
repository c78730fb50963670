// Where a click on the simulation window's picture lies in the flow's
// domain (x east, y north, origin the grid's south-west corner, as the
// probes take it). The picture lies where the canvas view puts it (or,
// without one, stretched over the whole canvas), and cell
// (i, j) is drawn centred on picture pixel ((i + 1) k, (NY - j) k) for k
// pixels per cell edge. No toolkit here.
#pragma once

#include <cstdint>
#include <optional>

struct DomainPoint {
    double x = 0.0;
    double y = 0.0;
};

struct PictureLayout {
    int canvasWidth = 0;
    int canvasHeight = 0;
    int pictureWidth = 0;   // the shown picture, a colour bar strip included
    int pictureHeight = 0;
    int pixelsPerCell = 1;
    int32_t NX = 0;
    int32_t NY = 0;
    double dx = 0.0;
    double dy = 0.0;
    // The picture's rectangle on the canvas, in canvas pixels; a width or
    // height of 0 stands for the whole canvas.
    double shownX = 0.0;
    double shownY = 0.0;
    double shownWidth = 0.0;
    double shownHeight = 0.0;
};

// The domain point under canvas pixel (cx, cy); nothing when it lies
// outside the grid (on the colour bar, or off the canvas).
std::optional<DomainPoint> domainPointAt(const PictureLayout& layout, int cx, int cy);

// Where the picture shows a domain point, in canvas pixels (x right, y
// down; the centre of pixel (cx, cy) is at cx + 0.5, cy + 0.5): the inverse
// of domainPointAt. Nothing when the layout has no area.
struct CanvasPoint {
    double x = 0.0;
    double y = 0.0;
};
std::optional<CanvasPoint> canvasPointOf(const PictureLayout& layout, const DomainPoint& at);
