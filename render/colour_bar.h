// ColourBar: the strip under a colour-map picture that shows the colours of
// the range with a few values along it, so that a saved frame can be read.
#pragma once

#include "render/colour_map.h"
#include "render/frame_image.h"

#include <string>
#include <vector>

namespace colour_bar {
// Rows of the strip: a gap, the bar, the tick marks, a line of text, a gap.
constexpr int topGap = 4;
constexpr int barHeight = 10;
constexpr int tickHeight = 3;
constexpr int textTop = topGap + barHeight + tickHeight + 1;
constexpr int stripHeight = 40;
// Columns kept free at each end of the bar.
constexpr int sideGap = 4;
// Characters a tick value may take, the space between values included.
constexpr int labelCharacters = 8;
// Values a picture saved on its own has room for at least under its bar.
constexpr int savedTicks = 4;
}  // namespace colour_bar

// Round values inside the range, 3 to maxTicks of them (maxTicks is held
// to 3..5), multiples of 1, 2, 2.5 or 5 times a power of ten; the two ends
// and the middle when no such step fits.
std::vector<double> colourBarTicks(const ColourRange& range, int maxTicks);

// A tick value as the strip prints it: three significant digits.
std::string tickLabel(double value);

// Draws the strip over rows top .. top + stripHeight - 1 of image, its whole
// width: black, the bar of the quantity's colours from range.low at the left
// to range.high at the right (each value's colour as the picture has it), and the tick values under it (white; left out
// when no font is found).
void drawColourBar(FrameImage& image, int top, ColourQuantity quantity, const ColourRange& range);

// The width a strip needs for savedTicks values in the text font (or in
// labelCharacters-pixel cells without one), its side gaps included.
int savedColourBarWidth();

// A picture saved on its own with its colour bar: framed gets the picture
// on top and the strip below (drawColourBar), as wide as the picture or, when
// that is narrower than savedColourBarWidth(), that wide with the picture
// centred on black, so that the values stay readable on small pictures.
void pictureWithColourBar(const FrameImage& picture, ColourQuantity quantity, const ColourRange& range,
                          FrameImage& framed);
