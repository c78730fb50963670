// The PART section of a state file: the tracer particles of a run and the
// step count of its release schedule, so that a continued run carries and
// releases them as the uninterrupted run would. Payload, little-endian:
//   i64 steps, u64 serial of the next particle, u32 count, then per
//   particle in release order f64 x, f64 y, u64 serial, i32 emitter,
//   i32 colour
// A reader refuses a length that is not 20 + 32 count, a negative step
// count, a position that is not finite, and serials that do not rise or
// reach the next one.
#pragma once

#include "core/particles.h"

#include <cstddef>
#include <vector>

namespace particle_section {
constexpr char tag[5] = "PART";
constexpr std::size_t headerLength = 20;
constexpr std::size_t recordLength = 32;
}  // namespace particle_section

std::vector<unsigned char> encodeParticleSection(const ParticleState& state);

// state is replaced only when the payload is sound.
bool decodeParticleSection(const unsigned char* bytes, std::size_t length, ParticleState& state);
