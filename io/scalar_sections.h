// The heat and dye sections of a version-4 grid file and of a state file.
//
// "HEAT", little-endian:  f64 Prandtl number (> 0), f64 Rayleigh number
//   (finite, may be 0 or negative), u8 gravity (0 down, 1 up, 2 west,
//   3 east), then NX * NY records, i outer and j inner: u8 1 when the cell
//   holds its temperature (walls only; inflow cells always do), f64 T.
// "DYE ":  f64 Schmidt number (> 0), u32 inflow band width in cells (0: no
//   dye from the inflow), then NX * NY f64 concentrations in 0..1.
// A payload of any other length, or with a value out of range, is refused.
#pragma once

#include "core/grid.h"

#include <cstddef>
#include <vector>

std::vector<unsigned char> encodeHeatSection(const GridScalars& s, int32_t NX, int32_t NY);
std::vector<unsigned char> encodeDyeSection(const GridScalars& s, int32_t NX, int32_t NY);

// Each switches its quantity on in s for an NX x NY grid on success and
// leaves s untouched on failure.
bool decodeHeatSection(const unsigned char* bytes, std::size_t length, int32_t NX, int32_t NY, GridScalars& s);
bool decodeDyeSection(const unsigned char* bytes, std::size_t length, int32_t NX, int32_t NY, GridScalars& s);
