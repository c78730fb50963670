// FrameImage: the program's single RGB picture of 32-bit float pixels,
// composed in software and then shown, or saved as PPM or AVI frames.
//
// W = outputSize * NX columns, H = outputSize * NY rows. Column 0 is the west
// (left) edge, row 0 the north (top) edge. Each plane is a table of H row
// pointers, each row a separate block of W floats: plane[row][column].
#pragma once

#include <cstdint>

// Allocates W x H, all zero, and resets ppmFrameCounter to 0.
void allocateFrameImage(int width, int height);
// Frees every row of the three planes and the tables.
void releaseFrameImage();

int frameWidth();
int frameHeight();

// Plane value at (column, row), truncated toward zero.
int pixelRed(int column, int row);
int pixelGreen(int column, int row);
int pixelBlue(int column, int row);

// The same readers taking (row, column), used by the AVI frame makers.
int redAt(int row, int column);
int greenAt(int row, int column);
int blueAt(int row, int column);

// Whole rows of a plane, for writers that convert rows in bulk.
const float* redRow(int row);
const float* greenRow(int row);
const float* blueRow(int row);

// Sets all three planes to value in rows y0..y1 and columns x0..x1
// (inclusive); no clamping.
void clearFrameRect(int x0, int y0, int x1, int y1, int value);
// Clamps the rectangle into the picture, then sets every pixel to (r, g, b).
void fillFrameRect(int x0, int y0, int x1, int y1, int r, int g, int b);
// Additive plot of 0.78 * (r, g, b), saturating at 255; a two-pixel margin is
// never plotted.
void addPixel(int column, int row, int r, int g, int b);
// Additive soft white dot with its four neighbours.
void addStreamDot(int column, int row);
// 100 addPixel dots from (x0, y0) toward (x1, y1), the end point excluded.
void drawFrameLine(int x0, int y0, int x1, int y1, int r, int g, int b);

// The three row tables and the size, for the elements that plot many dots
// and must reach the rows directly. Valid until the next allocation.
struct FramePlanes {
    float** red;
    float** green;
    float** blue;
    int width;
    int height;
    // True while every value a plot can reach (rows and columns 1 .. size-1)
    // is at most 255: plots add only non-negative amounts and saturate what
    // they add to, so then a plot's saturation of the pixels around the one
    // it adds to changes nothing. Only a rectangle set above 255 breaks it.
    bool capped;
};
FramePlanes framePlanes();

// Number of the next PPM file; allocateFrameImage resets it.
extern int32_t ppmFrameCounter;
