// ColourMap: the quantities the colour-map view can show, the two colour
// tables they use and the range that maps values onto a table.
#pragma once

#include <cstdint>

// The quantity a colour map shows; None keeps the designed colours.
enum class ColourQuantity { None, Speed, Vorticity, Pressure, U, V, Temperature, Dye };

// The values mapped onto the two ends of a table.
struct ColourRange {
    double low = 0.0;
    double high = 1.0;
};

// What the colour-map view shows and over which range: the automatic range
// is found anew in every frame, a locked one is kept as given.
struct ColourMapView {
    ColourQuantity quantity = ColourQuantity::None;
    bool locked = false;
    ColourRange range;  // used while locked
};

struct MapColour {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// Vorticity, u and v change sign and take the diverging table; speed and
// pressure take the one-sided one.
bool isDiverging(ColourQuantity quantity);

// The one-sided table (viridis) at t in 0..1; t outside is held to the ends.
MapColour viridisColour(double t);
// The diverging table at t in 0..1: blue at 0, white at 0.5, red at 1.
MapColour divergingColour(double t);
// The temperature table (inferno) at t in 0..1: black through red to pale
// yellow.
MapColour temperatureColour(double t);
// The dye table at t in 0..1: white (no dye) to deep blue.
MapColour dyeColour(double t);
// The table of the quantity at t.
MapColour quantityColour(ColourQuantity quantity, double t);

// Where value lies in the range, 0..1, held to the ends; NaN gives 0.5 so
// a broken flow shows white or the table's middle rather than an end.
double rangePosition(const ColourRange& range, double value);

// The table position of a value: over the range for a one-sided table; for
// a diverging one, zero at the white middle and the end of the range
// farther from zero at its own end of the table, so that zero stays white
// in any range, locked ones included.
double tablePosition(ColourQuantity quantity, const ColourRange& range, double value);

// The automatic range from the smallest and largest values of a frame: a
// diverging quantity gets a range symmetric about zero, so that zero stays
// white; a range of no width is widened so that it can still be drawn.
// Dye always takes 0..1, so that its shades read as concentrations.
ColourRange automaticRange(ColourQuantity quantity, double smallest, double largest);

// The short name of a quantity as kelvo-batch and the colour bar spell it.
const char* quantityName(ColourQuantity quantity);
