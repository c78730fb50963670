#include "gui/canvas_view.h"

#include <algorithm>

void CanvasView::setCanvas(int width, int height)
{
    canvasW = std::max(width, 0);
    canvasH = std::max(height, 0);
    if (isFitted)
        fit();
    else
        clampPan();
}

void CanvasView::setContent(double width, double height)
{
    if (width <= 0.0 || height <= 0.0)
        return;
    const double shrink = contentW / width;
    contentW = width;
    contentH = height;
    if (isFitted) {
        fit();
        return;
    }
    pixelsPerUnit = std::clamp(pixelsPerUnit * shrink, minScale(), maxScale());
    clampPan();
}

double CanvasView::fitScale() const
{
    if (canvasW <= 0 || canvasH <= 0)
        return 1.0;
    return limits.fitShare * std::min(canvasW / contentW, canvasH / contentH);
}

double CanvasView::minScale() const
{
    return std::min(fitScale(), 1.0);
}

double CanvasView::maxScale() const
{
    return std::max(fitScale(), limits.maxScale);
}

void CanvasView::fit()
{
    pixelsPerUnit = fitScale();
    isFitted = true;
    clampPan();
}

void CanvasView::oneToOne()
{
    const double centreU = contentX(0.5 * canvasW);
    const double centreV = contentY(0.5 * canvasH);
    pixelsPerUnit = std::clamp(1.0, minScale(), maxScale());
    isFitted = pixelsPerUnit == fitScale();
    leftX = 0.5 * canvasW - centreU * pixelsPerUnit;
    topY = 0.5 * canvasH - centreV * pixelsPerUnit;
    clampPan();
}

void CanvasView::zoomAbout(double x, double y, double factor)
{
    const double u = contentX(x);
    const double v = contentY(y);
    pixelsPerUnit = std::clamp(pixelsPerUnit * factor, minScale(), maxScale());
    isFitted = pixelsPerUnit == fitScale();
    leftX = x - u * pixelsPerUnit;
    topY = y - v * pixelsPerUnit;
    clampPan();
}

void CanvasView::panBy(double dx, double dy)
{
    leftX += dx;
    topY += dy;
    clampPan();
}

void CanvasView::clampPan()
{
    leftX = clampedOrigin(leftX, contentW * pixelsPerUnit, canvasW);
    topY = clampedOrigin(topY, contentH * pixelsPerUnit, canvasH);
}

// A content smaller than the canvas is centred; a larger one may leave at
// most the margin Fit leaves on either side, so its edge cells can be
// brought under the pointer away from the canvas's own edge.
double CanvasView::clampedOrigin(double origin, double extent, int canvas) const
{
    const double margin = 0.5 * (1.0 - limits.fitShare) * canvas;
    if (extent <= canvas - 2.0 * margin)
        return 0.5 * (canvas - extent);
    return std::clamp(origin, canvas - margin - extent, margin);
}
