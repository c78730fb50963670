#include "render/screen_frame.h"

#include "render/colour_bar.h"
#include "render/quantity_field.h"
#include "render/render_constants.h"

#include <algorithm>
#include <cmath>

int screenPixelsPerCell(int canvasWidth, int canvasHeight, int32_t NX, int32_t NY)
{
    if (NX <= 0 || NY <= 0)
        return 1;
    return std::max(1, std::min(canvasWidth / NX, canvasHeight / NY));
}

double screenShrink(int canvasWidth, int canvasHeight, int32_t NX, int32_t NY)
{
    if (canvasWidth <= 0 || canvasHeight <= 0)
        return 1.0;
    const int k = screenPixelsPerCell(canvasWidth, canvasHeight, NX, NY);
    return std::max({1.0, static_cast<double>(k * NX) / canvasWidth, static_cast<double>(k * NY) / canvasHeight});
}

namespace {

uint8_t screenByte(float value)
{
    return static_cast<uint8_t>(std::clamp(static_cast<int>(value), 0, 255));
}

// Pixels x0 + n of one row of picture as screen bytes, n = 0 .. count - 1.
uint8_t* copyRun(const FrameImage& picture, int row, int x0, int count, uint8_t* out)
{
    const float* red = picture.redRow(row) + x0;
    const float* green = picture.greenRow(row) + x0;
    const float* blue = picture.blueRow(row) + x0;
    for (int n = 0; n < count; ++n) {
        *out++ = screenByte(red[n]);
        *out++ = screenByte(green[n]);
        *out++ = screenByte(blue[n]);
    }
    return out;
}

}  // namespace

void copyToScreenFrame(const FrameImage& picture, int pictureHeight, int pixelsPerCell, const ColourRange& range,
                       ScreenFrame& frame)
{
    frame.width = picture.width();
    frame.height = picture.height();
    frame.pictureHeight = pictureHeight;
    frame.pixelsPerCell = pixelsPerCell;
    frame.range = range;
    frame.contentWidth = frame.width;
    frame.contentHeight = frame.height;
    frame.rgb.resize(3 * static_cast<size_t>(frame.width) * frame.height);
    for (int row = 0; row < frame.height; ++row)
        copyRun(picture, row, 0, frame.width, frame.rgb.data() + 3 * static_cast<size_t>(row) * frame.width);
}

int screenContentHeight(int32_t NY, int pixelsPerCell, bool colourMap)
{
    return pixelsPerCell * NY + (colourMap ? colour_bar::stripHeight : 0);
}

namespace {

// The whole grid is read for the scales through about this many cells.
constexpr double overviewCells = 512.0 * 512.0;

// A field's scale as the field pass finds it, its largest sample (the last
// column and row have none), over these cells.
double largestSample(const Array2D<double>& a)
{
    double scale = render_constants::fieldScaleFloor;
    for (int32_t i = 0; i + 1 < a.rowCount(); ++i)
        for (int32_t j = 0; j + 1 < a.colCount(); ++j)
            if (a[i][j] > scale)
                scale = a[i][j];
    return scale;
}

// What the elements read beside the velocities.
WindowArrays arraysShown(const RenderElements& elements)
{
    const ColourQuantity quantity = elements.colourMap.quantity;
    WindowArrays wanted;
    wanted.pressure = quantity == ColourQuantity::Pressure || (quantity == ColourQuantity::None && elements.pressure);
    wanted.heat = quantity == ColourQuantity::Temperature;
    wanted.dye = quantity == ColourQuantity::Dye;
    return wanted;
}

}  // namespace

void ScreenComposer::compose(const SimGrid& state, int32_t NX, int32_t NY, int pixelsPerCell,
                             const RenderElements& elements, ScreenFrame& frame, double shrink,
                             const std::vector<Particle>* particles, const ScreenWindow& window)
{
    if (!window.whole() && state.NX == NX && state.NY == NY && NX > 0 && NY > 0) {
        composeWindow(state, elements, window, frame, particles);
        return;
    }
    frame.window = ScreenWindow();
    const int W = pixelsPerCell * NX;
    const int H = pixelsPerCell * NY;
    // The pass leaves the picture's first row and column as they were: a
    // picture that showed another view starts again from black.
    if (picture.width() != W || picture.height() != H || elements.colourMap.quantity != lastQuantity)
        picture.allocate(W, H);
    lastQuantity = elements.colourMap.quantity;
    followPlace(PicturePlace{0.0, 0.0, 1.0 / std::max(1, pixelsPerCell), 0.0});
    composer.compose(picture, state, NX, NY, pixelsPerCell, elements, particles,
                     ElementSpacing{static_cast<int>(screen_spacing::seedPixels * shrink),
                                    static_cast<int>(screen_spacing::vectorPixels * shrink)});
    const ColourQuantity quantity = elements.colourMap.quantity;
    const bool bar = quantity != ColourQuantity::None;
    if (bar) {
        if (strip.width() != W)
            strip.allocate(W, colour_bar::stripHeight);
        drawColourBar(strip, 0, quantity, composer.colourRange());
    }
    frame.width = W;
    frame.height = screenContentHeight(NY, pixelsPerCell, bar);
    frame.pictureHeight = H;
    frame.pixelsPerCell = pixelsPerCell;
    frame.range = composer.colourRange();
    frame.contentWidth = frame.width;
    frame.contentHeight = frame.height;
    frame.rgb.resize(3 * static_cast<size_t>(frame.width) * frame.height);
    // The picture's rows, then the strip's, straight into the bytes, each
    // thread its own rows, with no framed copy of the picture between.
    const int parts = picture.parallel().threads();
    picture.parallel().run(parts, [&](int part) {
        for (int y = frame.height * part / parts; y < frame.height * (part + 1) / parts; ++y) {
            uint8_t* out = frame.rgb.data() + 3 * static_cast<size_t>(y) * W;
            if (y < H)
                copyRun(picture, y, 0, W, out);
            else
                copyRun(strip, y - H, 0, W, out);
        }
    });
}

void ScreenComposer::composeWindow(const SimGrid& state, const RenderElements& elements, const ScreenWindow& window,
                                  ScreenFrame& frame, const std::vector<Particle>* particles)
{
    RenderElements shown = elements;
    const FieldScales scales = wholeGridScales(state, shown);
    windowCells.sample(state, window, windowPicture.parallel(), arraysShown(elements));
    const SimGrid& cells = windowCells.cells();
    if (windowPicture.width() != cells.NX || windowPicture.height() != cells.NY)
        windowPicture.allocate(cells.NX, cells.NY);
    followPlace(PicturePlace{window.left, window.top, window.stride, static_cast<double>(WindowGrid::margin)});
    const std::vector<Particle>* shownParticles = nullptr;
    if (elements.particles && particles) {
        windowCells.moveParticles(*particles, movedParticles);
        shownParticles = &movedParticles;
    }
    composer.compose(windowPicture, cells, cells.NX, cells.NY, 1, shown, shownParticles,
                     ElementSpacing{screen_spacing::seedPixels, screen_spacing::vectorPixels}, scales);
    cropWindow(state, shown, window, frame);
}

void ScreenComposer::followPlace(const PicturePlace& place)
{
    if (place == latestPlace)
        return;
    const PicturePlace& from = latestPlace;
    const double scale = from.stride / place.stride;
    const double shiftColumn = (from.left - from.stride * from.margin - place.left) / place.stride + place.margin;
    const double shiftRow = (from.top - from.stride * from.margin - place.top) / place.stride + place.margin;
    composer.moveStreaks(scale, shiftColumn, shiftRow);
    latestPlace = place;
}

FieldScales ScreenComposer::wholeGridScales(const SimGrid& state, RenderElements& elements)
{
    const double stride = std::max(1.0, std::sqrt(static_cast<double>(state.NX) * state.NY / overviewCells));
    const ScreenWindow all{0.0, 0.0, stride, static_cast<int>(std::ceil(state.NX / stride)),
                           static_cast<int>(std::ceil(state.NY / stride))};
    FieldScales scales;
    ColourMapView& view = elements.colourMap;
    const bool designed = view.quantity == ColourQuantity::None;
    if (!designed && view.locked)
        return scales;
    if (designed && !elements.uField && !elements.vField && !elements.pressure)
        return scales;
    // The designed scales read the fields shown (a field not shown gets the
    // floor of an empty array, unused); the colour map's range its quantity
    // over the fluid cells.
    WindowArrays wanted = arraysShown(elements);
    wanted.flags = !designed;
    overview.sample(state, all, windowPicture.parallel(), wanted);
    const SimGrid& cells = overview.cells();
    if (designed) {
        scales.u = largestSample(cells.u);
        scales.v = largestSample(cells.v);
        scales.p = largestSample(cells.p);
        return scales;
    }
    cellCentreQuantity(cells, cells.NX, cells.NY, view.quantity, overviewValues, windowPicture.parallel());
    const ValueExtent extent = fluidExtent(cells, cells.NX, cells.NY, overviewValues, windowPicture.parallel());
    view.range = automaticRange(view.quantity, extent.smallest, extent.largest);
    view.locked = true;
    return scales;
}

// Pixels off the whole picture stay black.
void ScreenComposer::cropWindow(const SimGrid& state, const RenderElements& elements, const ScreenWindow& window,
                                ScreenFrame& frame)
{
    const ColourQuantity quantity = elements.colourMap.quantity;
    frame.width = window.width;
    frame.height = window.height;
    frame.pictureHeight = state.NY;
    frame.pixelsPerCell = 1;
    frame.range = composer.colourRange();
    frame.contentWidth = state.NX;
    frame.contentHeight = screenContentHeight(state.NY, 1, quantity != ColourQuantity::None);
    frame.window = window;
    frame.rgb.assign(3 * static_cast<size_t>(frame.width) * frame.height, 0);
    if (quantity != ColourQuantity::None && window.row(window.height - 1) >= state.NY) {
        if (strip.width() != state.NX)
            strip.allocate(state.NX, colour_bar::stripHeight);
        drawColourBar(strip, 0, quantity, frame.range);
    }
    // The frame's columns on the whole picture run on with x: those on it
    // are one run.
    int firstOn = 0;
    while (firstOn < frame.width && window.column(firstOn) < 0)
        ++firstOn;
    int endOn = firstOn;
    while (endOn < frame.width && window.column(endOn) < state.NX)
        ++endOn;
    stripColumns.clear();
    for (int x = firstOn; x < endOn; ++x)
        stripColumns.push_back(static_cast<int>(window.column(x)));
    const int margin = WindowGrid::margin;
    const auto copyRow = [&](int y) {
        const int64_t row = window.row(y);
        if (row < 0 || row >= frame.contentHeight)
            return;
        uint8_t* out = frame.rgb.data() + 3 * (static_cast<size_t>(y) * frame.width + firstOn);
        if (row < state.NY) {
            copyRun(windowPicture, y + margin, firstOn + margin, endOn - firstOn, out);
            return;
        }
        for (int column : stripColumns)
            out = copyRun(strip, static_cast<int>(row - state.NY), column, 1, out);
    };
    const int parts = windowPicture.parallel().threads();
    windowPicture.parallel().run(parts, [&](int part) {
        for (int y = frame.height * part / parts; y < frame.height * (part + 1) / parts; ++y)
            copyRow(y);
    });
}
