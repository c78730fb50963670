// The BODY section of a version-4 grid file: the exact outlines of its
// bodies (core/body_outline.h), little-endian:
//   uint32 count, then per outline
//     uint8 shape: 0 circle, 1 polygon
//     circle:  float64 x, y, radius
//     polygon: uint32 corners (3 or more), then float64 x, y per corner
// A reader refuses a payload that ends early or goes on after the last
// outline, an unknown shape, a radius not above zero, fewer than three
// corners, more corners than the payload could hold, and any number that
// is not finite.
#pragma once

#include "core/body_outline.h"

#include <array>
#include <cstddef>
#include <vector>

constexpr std::array<char, 4> bodySectionTag{'B', 'O', 'D', 'Y'};

std::vector<unsigned char> encodeBodySection(const std::vector<BodyOutline>& outlines);
bool decodeBodySection(const unsigned char* bytes, std::size_t length, std::vector<BodyOutline>& outlines);
