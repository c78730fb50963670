// Fixed parameters of the composed picture. Distances are in picture pixels,
// colours in 0..255 per channel.
#pragma once

namespace render_constants {

// Largest value a picture channel holds; additive plots saturate here.
constexpr float channelMax = 255.0f;
// Share of a plotted colour that addPixel adds to the picture.
constexpr double plotWeight = 0.78;
// Pixels on each side of the picture that addPixel and addStreamDot skip
// (the test is column < 2 or column > W - 2, and the same for rows).
constexpr int plotMargin = 2;

// A streamline dot: added to all three channels of its pixel, and a tenth of
// it to each of the four neighbours (the doubles just above 1.78 and 0.178).
constexpr double streamDotCentre = 1.7800000000000002;
constexpr double streamDotNeighbour = 0.17800000000000002;

// drawFrameLine: the parameter step between dots (100 dots, end excluded).
constexpr double lineParameterStep = 0.01;

// Scalar fields: the sample of pixel-grid column x lands on picture column
// trunc(x + cellWidth * fieldColumnShift); the double nearest 5/6.
constexpr double fieldColumnShift = 0.8333333333333334;
// Starting (and lowest) value of a field's scale M.
constexpr double fieldScaleFloor = -1.0;
// Only the low byte of a field's colour factor takes part.
constexpr int colourFactorMask = 0xFF;

// Boundary cells: the low byte of the flag word is tested (the fill colours
// are in the table of cell types).
constexpr int flagLowByteMask = 0xFF;

// Velocity vectors: length 0.7 * pixelsPerCell pixels, grey dots.
constexpr double vectorLengthFactor = 0.7;
constexpr int vectorColour = 55;

// Streamlines: seeds 1.5 cells apart, step 0.09 * velocity (pixel-grid
// units per step), at most 2300 dots per path.
constexpr double seedSpacingFactor = 1.5;
constexpr double tracerStepFactor = 0.09;
constexpr int tracerDotLimit = 2300;

// Picture coordinates whose double value lies beyond this many pixels are
// held here when converted, so later integer offsets cannot overflow; such
// positions lie off every picture anyway.
constexpr double coordinateLimit = 1073741824.0;  // 2^30 pixels

}  // namespace render_constants
