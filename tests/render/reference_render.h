// A straightforward rendering of the picture and its elements, written
// formula by formula with no reuse of buffers, kept apart from the program's
// code. Tests compare the program's picture with it pixel for pixel.
#pragma once

#include "core/grid.h"

#include <vector>

struct ReferencePicture {
    int W = 0;
    int H = 0;
    std::vector<std::vector<float>> plane[3];  // [channel][row][column]

    ReferencePicture(int width, int height);
    void addPixel(int column, int row, int r, int g, int b);
    void addStreamDot(int column, int row);
    void fillRect(int x0, int y0, int x1, int y1, int r, int g, int b);
    void line(int x0, int y0, int x1, int y1, int r, int g, int b);
};

struct ReferenceElements {
    bool boundaryCells, streamlines, uField, vField, pressure, vectors;
};

void referenceScalarField(ReferencePicture& picture, int NX, int NY, const Array2D<double>& a, int k,
                          int redFactor, int greenFactor, int blueFactor);
void referenceBoundaryCells(ReferencePicture& picture, int NX, int NY, const Array2D<int32_t>& flags, int k);
void referenceVectors(ReferencePicture& picture, int NX, int NY, const Array2D<double>& u,
                      const Array2D<double>& v, int k);
// Seeds 1.5 cells apart, or, when minSeedSpacing pixels is more, every
// m-th cell with m cells at least minSeedSpacing.
void referenceStreamlines(ReferencePicture& picture, int NX, int NY, const SimGrid& grid, int k,
                          int minSeedSpacing = 0);
// The whole pass on a picture that starts all zero.
ReferencePicture referenceCompose(const SimGrid& grid, int NX, int NY, int k, const ReferenceElements& elements);
