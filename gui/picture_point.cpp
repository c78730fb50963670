#include "gui/picture_point.h"

namespace {
struct ShownRect {
    double x, y, width, height;
};

// The picture's rectangle on the canvas.
ShownRect shownRect(const PictureLayout& layout)
{
    if (layout.shownWidth > 0.0 && layout.shownHeight > 0.0)
        return {layout.shownX, layout.shownY, layout.shownWidth, layout.shownHeight};
    return {0.0, 0.0, static_cast<double>(layout.canvasWidth), static_cast<double>(layout.canvasHeight)};
}
}  // namespace

std::optional<DomainPoint> domainPointAt(const PictureLayout& layout, int cx, int cy)
{
    if (layout.canvasWidth <= 0 || layout.canvasHeight <= 0 || layout.pixelsPerCell <= 0 || cx < 0 || cy < 0 ||
        cx >= layout.canvasWidth || cy >= layout.canvasHeight)
        return std::nullopt;
    // The centre of the canvas pixel, in picture pixels.
    const ShownRect shown = shownRect(layout);
    const double px = (cx + 0.5 - shown.x) * layout.pictureWidth / shown.width;
    const double py = (cy + 0.5 - shown.y) * layout.pictureHeight / shown.height;
    const double k = layout.pixelsPerCell;
    const DomainPoint at{(px / k - 0.5) * layout.dx, (layout.NY - py / k + 0.5) * layout.dy};
    if (at.x < 0.0 || at.y < 0.0 || at.x > layout.NX * layout.dx || at.y > layout.NY * layout.dy)
        return std::nullopt;
    return at;
}

std::optional<CanvasPoint> canvasPointOf(const PictureLayout& layout, const DomainPoint& at)
{
    if (layout.canvasWidth <= 0 || layout.canvasHeight <= 0 || layout.pictureWidth <= 0 ||
        layout.pictureHeight <= 0 || layout.pixelsPerCell <= 0 || layout.dx <= 0.0 || layout.dy <= 0.0)
        return std::nullopt;
    const double k = layout.pixelsPerCell;
    const double px = (at.x / layout.dx + 0.5) * k;
    const double py = (layout.NY - at.y / layout.dy + 0.5) * k;
    const ShownRect shown = shownRect(layout);
    return CanvasPoint{shown.x + px * shown.width / layout.pictureWidth,
                       shown.y + py * shown.height / layout.pictureHeight};
}
