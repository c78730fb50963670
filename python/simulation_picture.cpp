#include "python/simulation_picture.h"

#include "io/rgb_planes.h"
#include "python/python_errors.h"
#include "sim/frame_outputs.h"

#include <algorithm>
#include <cmath>

namespace py = pybind11;

namespace {

// Pixels per cell edge of a picture, as kelvo-batch --size allows.
constexpr int minPixelsPerCell = 1;
constexpr int maxPixelsPerCell = 15;

ColourQuantity colourQuantity(const std::string& name)
{
    for (ColourQuantity q : {ColourQuantity::Speed, ColourQuantity::Vorticity, ColourQuantity::Pressure,
                             ColourQuantity::U, ColourQuantity::V, ColourQuantity::Temperature, ColourQuantity::Dye})
        if (name == quantityName(q))
            return q;
    raiseValueError("colour_map needs speed, vorticity, p, u, v, temperature or dye, not '" + name + "'");
}

}  // namespace

PictureSnapshot pictureSnapshot(const Simulation& s)
{
    PictureSnapshot snapshot;
    copyGridArrays(s.batchRun().state(), snapshot.state);
    snapshot.particles = s.batchRun().particles();
    return snapshot;
}

PictureBytes renderPicture(const PictureSnapshot& snapshot, const PictureChoices& choices)
{
    const SimGrid& state = snapshot.state;
    FrameOutputs outputs;
    outputs.allocate(state.NX, state.NY, choices.size, choices.elements.colourMap.quantity != ColourQuantity::None);
    outputs.compose(state, choices.elements, choices.elements.particles ? &snapshot.particles : nullptr);
    const RgbPlanes planes = outputs.shown().rgbPlanes();
    PictureBytes picture;
    picture.width = planes.width - 1;
    picture.height = planes.height - 1;
    picture.rgb.reserve(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 3);
    auto byte = [](float value) { return static_cast<uint8_t>(std::clamp(truncPixel(value), 0, 255)); };
    for (int row = 1; row < planes.height; ++row)
        for (int column = 1; column < planes.width; ++column)
            for (const float* const* plane : {planes.red, planes.green, planes.blue})
                picture.rgb.push_back(byte(plane[row][column]));
    return picture;
}

PictureChoices pictureChoices(int size, const PictureElements& shown, const std::optional<std::string>& colourMap,
                              const std::optional<std::pair<double, double>>& range)
{
    if (size < minPixelsPerCell || size > maxPixelsPerCell)
        raiseValueError("size needs a whole number from " + std::to_string(minPixelsPerCell) + " to " +
                        std::to_string(maxPixelsPerCell) + ", not " + std::to_string(size));
    PictureChoices c;
    c.size = size;
    RenderElements& e = c.elements;
    e.boundaryCells = shown.boundary;
    e.streamlines = shown.streamlines;
    e.uField = shown.u;
    e.vField = shown.v;
    e.pressure = shown.p;
    e.vectors = shown.vectors;
    e.outlineCells = shown.cells;
    e.particles = shown.particles;
    if (colourMap)
        e.colourMap.quantity = colourQuantity(*colourMap);
    if (range) {
        if (!colourMap)
            raiseValueError("range needs colour_map");
        if (!std::isfinite(range->first) || !std::isfinite(range->second) || !(range->first < range->second))
            raiseValueError("range needs (low, high) with low below high");
        e.colourMap.locked = true;
        e.colourMap.range = ColourRange{range->first, range->second};
    }
    return c;
}

py::array_t<uint8_t> pictureArray(const PictureBytes& picture)
{
    py::array_t<uint8_t> out({static_cast<py::ssize_t>(picture.height), static_cast<py::ssize_t>(picture.width),
                              static_cast<py::ssize_t>(3)});
    std::copy(picture.rgb.begin(), picture.rgb.end(), out.mutable_data());
    return out;
}

