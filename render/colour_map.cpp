#include "render/colour_map.h"

#include <algorithm>
#include <cmath>

namespace {

struct Anchor {
    double position;          // 0..1 along the table
    double red, green, blue;  // 0..1
};

// viridis, from the matplotlib colour table of van der Walt and Smith
// (2015), entries 0, 32, 64, 96, 128, 160, 192, 224 and 255 of its 256
// (entry n at n / 255); between anchors the colour is interpolated linearly.
constexpr Anchor viridisAnchors[] = {
    {0 / 255.0, 0.267004, 0.004874, 0.329415},   {32 / 255.0, 0.278826, 0.175490, 0.483397},
    {64 / 255.0, 0.229739, 0.322361, 0.545706},  {96 / 255.0, 0.172719, 0.448791, 0.557885},
    {128 / 255.0, 0.127568, 0.566949, 0.550556}, {160 / 255.0, 0.157851, 0.683765, 0.501686},
    {192 / 255.0, 0.369214, 0.788888, 0.382914}, {224 / 255.0, 0.678489, 0.863742, 0.189503},
    {255 / 255.0, 0.993248, 0.906157, 0.143936},
};

// inferno, from the same authors' tables, entries 0, 32, ..., 224 and 255.
constexpr Anchor infernoAnchors[] = {
    {0 / 255.0, 0.001462, 0.000466, 0.013866},   {32 / 255.0, 0.129285, 0.047293, 0.290788},
    {64 / 255.0, 0.341500, 0.062325, 0.429425},  {96 / 255.0, 0.540920, 0.134729, 0.415123},
    {128 / 255.0, 0.735683, 0.215906, 0.330245}, {160 / 255.0, 0.894305, 0.353399, 0.193584},
    {192 / 255.0, 0.978422, 0.557937, 0.034931}, {224 / 255.0, 0.974638, 0.797692, 0.206332},
    {255 / 255.0, 0.988362, 0.998364, 0.644924},
};

// The sequential "Blues" of ColorBrewer (Brewer, 2003), its nine classes
// spread evenly from 0 to 1, starting from pure white so that water without
// dye shows none.
constexpr Anchor dyeAnchors[] = {
    {0.0, 1.0, 1.0, 1.0},
    {0.125, 0.870588, 0.921569, 0.968627},
    {0.25, 0.776471, 0.858824, 0.937255},
    {0.375, 0.619608, 0.792157, 0.882353},
    {0.5, 0.419608, 0.682353, 0.839216},
    {0.625, 0.258824, 0.572549, 0.776471},
    {0.75, 0.129412, 0.443137, 0.709804},
    {0.875, 0.031373, 0.317647, 0.611765},
    {1.0, 0.031373, 0.188235, 0.419608},
};

// Blue-white-red: the end colours of Moreland's cool-warm map (Moreland,
// 2009, "Diverging Color Maps for Scientific Visualization"), RGB 59, 76,
// 192 and 180, 4, 38, with pure white at the middle so that zero reads as
// nothing at all.
constexpr Anchor divergingAnchors[] = {
    {0.0, 59 / 255.0, 76 / 255.0, 192 / 255.0},
    {0.5, 1.0, 1.0, 1.0},
    {1.0, 180 / 255.0, 4 / 255.0, 38 / 255.0},
};

uint8_t toByte(double channel)
{
    return static_cast<uint8_t>(std::lround(std::clamp(channel, 0.0, 1.0) * 255.0));
}

template <size_t N>
MapColour tableColour(const Anchor (&anchors)[N], double t)
{
    if (!(t > 0.0))
        t = 0.0;
    if (t > 1.0)
        t = 1.0;
    size_t below = 0;
    while (below + 2 < N && anchors[below + 1].position <= t)
        ++below;
    const Anchor& a = anchors[below];
    const Anchor& b = anchors[below + 1];
    const double share = std::clamp((t - a.position) / (b.position - a.position), 0.0, 1.0);
    return MapColour{toByte(a.red + (b.red - a.red) * share), toByte(a.green + (b.green - a.green) * share),
                     toByte(a.blue + (b.blue - a.blue) * share)};
}

}  // namespace

bool isDiverging(ColourQuantity quantity)
{
    return quantity == ColourQuantity::Vorticity || quantity == ColourQuantity::U || quantity == ColourQuantity::V;
}

MapColour viridisColour(double t)
{
    return tableColour(viridisAnchors, t);
}

MapColour divergingColour(double t)
{
    return tableColour(divergingAnchors, t);
}

MapColour temperatureColour(double t)
{
    return tableColour(infernoAnchors, t);
}

MapColour dyeColour(double t)
{
    return tableColour(dyeAnchors, t);
}

MapColour quantityColour(ColourQuantity quantity, double t)
{
    if (quantity == ColourQuantity::Temperature)
        return temperatureColour(t);
    if (quantity == ColourQuantity::Dye)
        return dyeColour(t);
    return isDiverging(quantity) ? divergingColour(t) : viridisColour(t);
}

double rangePosition(const ColourRange& range, double value)
{
    const double width = range.high - range.low;
    if (std::isnan(value) || !(width != 0.0))
        return 0.5;
    return std::clamp((value - range.low) / width, 0.0, 1.0);
}

double tablePosition(ColourQuantity quantity, const ColourRange& range, double value)
{
    if (!isDiverging(quantity))
        return rangePosition(range, value);
    const double extent = std::max(std::fabs(range.low), std::fabs(range.high));
    if (std::isnan(value) || !(extent > 0.0) || !std::isfinite(extent))
        return 0.5;
    const double low = std::max(range.low, -extent);
    const double high = std::min(range.high, extent);
    return 0.5 + 0.5 * std::clamp(value, std::min(low, high), std::max(low, high)) / extent;
}

ColourRange automaticRange(ColourQuantity quantity, double smallest, double largest)
{
    if (quantity == ColourQuantity::Dye)
        return ColourRange{0.0, 1.0};
    if (!std::isfinite(smallest) || !std::isfinite(largest) || smallest > largest)
        return ColourRange{isDiverging(quantity) ? -1.0 : 0.0, 1.0};
    if (isDiverging(quantity)) {
        const double extent = std::max(std::fabs(smallest), std::fabs(largest));
        return extent > 0.0 ? ColourRange{-extent, extent} : ColourRange{-1.0, 1.0};
    }
    if (largest - smallest > 0.0)
        return ColourRange{smallest, largest};
    const double pad = std::max(std::fabs(smallest) * 0.5, 0.5);
    return ColourRange{smallest - pad, largest + pad};
}

const char* quantityName(ColourQuantity quantity)
{
    switch (quantity) {
    case ColourQuantity::Speed: return "speed";
    case ColourQuantity::Vorticity: return "vorticity";
    case ColourQuantity::Pressure: return "p";
    case ColourQuantity::U: return "u";
    case ColourQuantity::V: return "v";
    case ColourQuantity::Temperature: return "temperature";
    case ColourQuantity::Dye: return "dye";
    case ColourQuantity::None: break;
    }
    return "none";
}
