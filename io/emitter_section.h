// The EMIT section of a grid file (and of a state file): the grid's
// particle emitters. Payload, little-endian:
//   u32 count, then per emitter
//   f64 x1, f64 y1, f64 x2, f64 y2 (domain units), i32 every (0: released
//   once), i32 colour (palette index)
// A reader refuses a length that is not 4 + 40 count, more than maxEmitters,
// a coordinate that is not finite, and a negative interval or colour.
#pragma once

#include "core/emitter.h"

#include <cstddef>
#include <vector>

namespace emitter_section {
constexpr char tag[5] = "EMIT";
constexpr std::size_t recordLength = 40;
constexpr std::size_t maxEmitters = 4096;
}  // namespace emitter_section

std::vector<unsigned char> encodeEmitterSection(const Emitters& emitters);

// emitters is replaced only when the payload is sound.
bool decodeEmitterSection(const unsigned char* bytes, std::size_t length, Emitters& emitters);
