// Outlines from coverage: a field of samples, each the share (0..1) of its
// pixel that a body covers, as an anti-aliased picture gives it, traced
// along its half-covered contour with marching squares. Where the contour
// passes between two samples is read from the part-covered one's share, so
// it lies within a small part of a pixel of the true edge rather than on
// the pixel staircase.
#pragma once

#include "core/body_outline.h"

#include <vector>

// Samples in rows, the top row first; sample (x, y) stands for the pixel
// [x, x+1] x [y, y+1] (y downward), its value taken at the pixel's centre.
struct CoverageField {
    int width = 0;
    int height = 0;
    std::vector<float> share;  // width * height values, 0 empty .. 1 covered
    float at(int x, int y) const { return share[static_cast<size_t>(y) * width + x]; }
};

// A closed contour in pixel coordinates (x right, y down).
struct CoverageContour {
    std::vector<OutlinePoint> corners;
    bool hole = false;        // the covered side lies outside it
    double antiAliased = 0.0; // the share of its crossings next to a part-covered sample
    bool wholeInside = false; // a wholly covered sample lies just inside it
};

// Every closed half-coverage contour. Outside the field counts as empty,
// so a body cut by the field's edge is closed along that edge. Where two
// covered samples meet only at a corner, the mean of the four decides
// whether they join.
std::vector<CoverageContour> traceCoverage(const CoverageField& field);

// The bodies worth an outline: contours without holes inside them whose
// crossings are mostly anti-aliased (a picture of hard edges gives none)
// around a wholly covered inside (a flat grey shape with hard edges gives
// none either),
// with the corners that lie within tolerance (pixels) of the straight
// line between their neighbours left out (Douglas-Peucker).
std::vector<CoverageContour> antiAliasedBodies(const std::vector<CoverageContour>& contours, double tolerance);
