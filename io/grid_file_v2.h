// Grid files, version 2: grids beyond the classic 255 x 255 and fractional
// velocities, plus the solver settings the classic format cannot hold.
// Version 3 is version 2 with one settings byte more, written only when a
// run is to start from the stored field, so that every other file stays
// readable by programs that know version 2 alone.
//
// A fixed binary layout, little-endian, no padding, no line-break rule:
//
//   offset  size        field
//        0    14        magic "KELVO-GRID" 13 10 26 10
//       14     4        uint32 version, 2
//       18     4        uint32 NX
//       22     4        uint32 NY
//       26     4        int32  aux1
//       30     4        int32  aux2
//       34     8        float64 Reynolds number
//       42     8        float64 default U
//       50     8        float64 default V
//       58     8        float64 time step; 0 = not stored
//       66     1        uint8  convection: 0 not stored, 1 central,
//                              2 upwind-blended, 3 designed
//       67     1        uint8  pressure solver: 0 not stored, 1 Gauss-Seidel,
//                              2 multigrid
//       68  17 NX NY    cell records, i outer, j inner: uint8 flag byte (as
//                       in the classic format), float64 u, float64 v
//
// Version 3 (14: 3) inserts before the records
//       68     1        uint8  initial field: 0 the default velocities are
//                              written over the fluid cells, 1 the stored u, v
//                              of the fluid cells are the starting field
//       69  17 NX NY    cell records as above
//
// Version 4 (14: 4) is the version-3 layout (the initial-field byte 0 or
// 1) followed by tagged sections (io/grid_file_sections.h): BODY holds the
// exact outlines of bodies (io/body_section.h), EMIT the particle emitters
// (io/emitter_section.h). It is written only when a section has something
// to hold; a reader skips tags it does not know and refuses a section that
// runs past the end or a known one whose payload is malformed.
//
// Floats are IEEE 754 binary64. A reader refuses an unknown version, NX or
// NY outside 3..maxCells or NX * NY above maxTotalCells, fewer bytes than
// the records need, any non-finite number, a negative time step and an
// unknown setting code (an initial-field byte above 1 included). Bytes after the last record are ignored up to
// version 3. The line
// break bytes in the magic show a file mangled by a text-mode transfer.
#pragma once

#include "io/grid_file.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace grid_file_v2 {
constexpr char magic[] = "KELVO-GRID\r\n\x1a\n";
constexpr std::size_t magicLength = sizeof(magic) - 1;
constexpr std::uint32_t version = 2;
constexpr std::uint32_t versionWithInitialField = 3;
constexpr std::uint32_t versionWithSections = 4;
constexpr std::size_t headerLength = 68;
constexpr std::size_t headerLengthWithInitialField = 69;
constexpr std::size_t recordLength = 17;
// Sizes a version-2 file may carry. The total cap keeps a hostile header
// from making a reader allocate more than a few tens of megabytes.
constexpr int minCells = 3;
constexpr int maxCells = 4096;
constexpr std::size_t maxTotalCells = std::size_t(1) << 20;  // 1024 x 1024
// The most bytes of sections a reader takes in.
constexpr std::size_t maxSectionsLength = std::size_t(32) << 20;
// The most bytes a reader ever needs.
constexpr std::size_t maxLength = headerLengthWithInitialField + recordLength * maxTotalCells + maxSectionsLength;
}  // namespace grid_file_v2

// Whether bytes start with the version-2 magic text.
bool hasGridFileV2Magic(const unsigned char* bytes, std::size_t length);

// Whether version 2 can hold the grid and settings: sizes within the
// limits, arrays allocated to them, every number finite, the time step
// (when given) positive.
bool gridFitsFileV2(const Grid& grid, const GridFileSettings& settings);

// The version-2 bytes, version 3 when the run starts from the stored field,
// version 4 when the grid has emitters; empty when the grid does not fit (gridFitsFileV2).
std::vector<unsigned char> encodeGridFileV2(const Grid& grid, const GridFileSettings& settings);

// Decodes version-2, 3 or 4 bytes. On Ok, grid and settings are
// replaced (settings the file does not store become nullopt or false);
// otherwise neither is touched.
GridFileStatus decodeGridFileV2(const unsigned char* bytes, std::size_t length, Grid& grid,
                                GridFileSettings& settings);
