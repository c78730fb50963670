#include "gui/picture_point.h"

std::optional<DomainPoint> domainPointAt(const PictureLayout& layout, int cx, int cy)
{
    if (layout.canvasWidth <= 0 || layout.canvasHeight <= 0 || layout.pixelsPerCell <= 0 || cx < 0 || cy < 0 ||
        cx >= layout.canvasWidth || cy >= layout.canvasHeight)
        return std::nullopt;
    // The centre of the canvas pixel, in picture pixels.
    const double px = (cx + 0.5) * layout.pictureWidth / layout.canvasWidth;
    const double py = (cy + 0.5) * layout.pictureHeight / layout.canvasHeight;
    const double k = layout.pixelsPerCell;
    const DomainPoint at{(px / k - 0.5) * layout.dx, (layout.NY - py / k + 0.5) * layout.dy};
    if (at.x < 0.0 || at.y < 0.0 || at.x > layout.NX * layout.dx || at.y > layout.NY * layout.dy)
        return std::nullopt;
    return at;
}
