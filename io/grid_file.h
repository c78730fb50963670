// Grid files: one edited grid plus three settings of the main window, kept
// as a byte stream.
//
// Logical layout: the 30-character magic text, the Reynolds number as "%4d",
// one byte each for default U, default V, NX, NY, aux1, aux2, dx and dy
// (truncated), then NX * NY records of three bytes (flag word, u, v) with i
// outer and j inner. On disk every logical byte 10 is stored as 13 10; on
// reading the pair 13 10 yields 10 and a lone 13 stands for itself.
//
// The codec hands the settings back exactly as the file holds them; the
// caller clamps them into its own ranges (editorSettings below mirrors the
// editor's spinners).
#pragma once

#include "core/grid.h"

#include <cstddef>
#include <string>
#include <vector>

// The three main-window settings a grid file carries.
struct GridFileSettings {
    int reynolds = 200;  // "%4d" on disk: values outside -999..9999 are clamped
    int defaultU = 0;    // low 8 bits on disk, read back unsigned 0..255
    int defaultV = 0;
};

enum class GridFileStatus {
    Ok,          // the grid and settings were replaced
    CannotOpen,  // the file could not be opened or read
    NotValid,    // wrong magic text, truncated, or a grid smaller than 3 x 3
};

namespace grid_file {
// The first 30 bytes of every grid file.
constexpr char magic[] = "!KELVO-FLUXERIA-T.VOSSEN-v1.6a";
constexpr std::size_t magicLength = sizeof(magic) - 1;
// Logical bytes before the first cell record.
constexpr std::size_t headerLength = magicLength + 4 + 8;
// Bytes of one cell record.
constexpr std::size_t recordLength = 3;
// Smallest and largest NX or NY a file can carry: the solver needs an
// interior, and the size bytes hold 0..255.
constexpr int minCells = 3;
constexpr int maxCells = 255;
// Largest logical stream (255 x 255 records) and the most disk bytes a
// reader ever needs for it (every byte doubled by the line-break rule).
constexpr std::size_t maxLogicalLength = headerLength + recordLength * maxCells * maxCells;
constexpr std::size_t maxStoredLength = 2 * maxLogicalLength;

// Ranges of the editor's spinners that show the settings.
constexpr int reynoldsMin = 10;
constexpr int reynoldsMax = 2000;
constexpr int defaultVelocityMin = 0;
constexpr int defaultVelocityMax = 100;
}  // namespace grid_file

// The settings as the editor's spinners would show them after a load.
GridFileSettings editorSettings(const GridFileSettings& raw);

// One double as a stored velocity byte: truncated toward zero (non-finite
// values give 0, out-of-range ones saturate into int), low 8 bits.
unsigned char velocityByte(double value);

// Whether a grid can be written and read back: NX and NY in 3..255 and the
// arrays allocated to that size.
bool gridFitsFile(const Grid& grid);

// The bytes as stored on disk, line-break rule applied; empty when the grid
// does not fit a file.
std::vector<unsigned char> encodeGridFile(const Grid& grid, const GridFileSettings& settings);

// Decodes stored bytes. On Ok, grid and settings are replaced; otherwise
// neither is touched. Bytes after the last record are ignored.
GridFileStatus decodeGridFile(const unsigned char* bytes, std::size_t length, Grid& grid,
                              GridFileSettings& settings);

// Reads and decodes a file; the caller's grid and settings change only on Ok.
GridFileStatus readGridFile(const std::string& path, Grid& grid, GridFileSettings& settings);

// Writes the grid through a temporary file in the target's directory renamed
// over the target, so a failed save leaves any existing file untouched.
// Returns false on any failure (the temporary is then removed), and for a
// target that exists but is not a regular file (a device or FIFO). Through
// a symbolic link the file it leads to is replaced and the link kept.
bool saveGridFile(const std::string& path, const Grid& grid, const GridFileSettings& settings);
