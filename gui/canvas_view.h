// How a rectangle of content (the grid's cells in the editor, the picture's
// pixels in the simulation window) lies on a canvas of screen pixels: one
// scale both ways, so that cells stay square, and an origin that zooming and
// panning move. Content coordinates run right and down from the content's
// top-left corner; canvas coordinates are pixels, right and down from the
// canvas's top-left corner, pixel (x, y) covering [x, x + 1) x [y, y + 1).
// No toolkit here.
#pragma once

struct ViewLimits {
    // The share of the canvas that Fit gives the content along its tighter
    // direction; the rest is an even margin.
    double fitShare = 1.0;
    // The largest scale, screen pixels per content unit.
    double maxScale = 16.0;
};

class CanvasView {
public:
    CanvasView() = default;
    explicit CanvasView(const ViewLimits& limits) : limits(limits) {}

    // The canvas's size in pixels. A fitted view is fitted again; a zoomed
    // one keeps its scale and top-left corner, held within the pan limits.
    void setCanvas(int width, int height);
    // The content's size in its units. A fitted view is fitted again; a
    // zoomed one keeps showing the same share of the content.
    void setContent(double width, double height);

    // The whole content, centred, as large as fitShare allows.
    void fit();
    // One screen pixel per content unit, centred on the canvas's centre.
    void oneToOne();
    // Scale times factor (within the limits), with the content point under
    // canvas point (x, y) kept under it.
    void zoomAbout(double x, double y, double factor);
    // The content moved by (dx, dy) pixels, within the pan limits.
    void panBy(double dx, double dy);

    bool fitted() const { return isFitted; }
    double scale() const { return pixelsPerUnit; }
    double fitScale() const;
    // The smallest and largest scales zooming reaches.
    double minScale() const;
    double maxScale() const;
    // The content's top-left corner on the canvas, in pixels.
    double originX() const { return leftX; }
    double originY() const { return topY; }
    int canvasWidth() const { return canvasW; }
    int canvasHeight() const { return canvasH; }
    double contentWidth() const { return contentW; }
    double contentHeight() const { return contentH; }

    // Content point to canvas point and back.
    double canvasX(double u) const { return leftX + u * pixelsPerUnit; }
    double canvasY(double v) const { return topY + v * pixelsPerUnit; }
    double contentX(double x) const { return (x - leftX) / pixelsPerUnit; }
    double contentY(double y) const { return (y - topY) / pixelsPerUnit; }

private:
    // Each axis: centred while the content is no larger than the canvas,
    // else kept covering the canvas up to the margin Fit leaves.
    void clampPan();
    double clampedOrigin(double origin, double extent, int canvas) const;

    ViewLimits limits;
    int canvasW = 0;
    int canvasH = 0;
    double contentW = 1.0;
    double contentH = 1.0;
    double pixelsPerUnit = 1.0;
    double leftX = 0.0;
    double topY = 0.0;
    bool isFitted = true;
};
