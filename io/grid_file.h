// Grid files: one edited grid plus the settings of the main window, kept
// as a byte stream in one of two formats. The classic format is written
// whenever the grid and settings fit it (see gridFitsClassicFile); anything
// else goes into version 2 (io/grid_file_v2.h). Both are read, told apart
// by their magic text.
//
// Classic logical layout: the 30-character magic text, the Reynolds number as "%4d",
// one byte each for default U, default V, NX, NY, aux1, aux2, dx and dy
// (truncated), then NX * NY records of three bytes (flag word, u, v) with i
// outer and j inner. On disk every logical byte 10 is stored as 13 10; on
// reading the pair 13 10 yields 10 and a lone 13 stands for itself.
//
// The codec hands the settings back exactly as the file holds them; the
// caller clamps them into its own ranges (editorSettings below mirrors the
// editor's spinners).
#pragma once

#include "core/flow_solver.h"
#include "core/grid.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The main-window settings a grid file carries. The classic format holds
// whole numbers only and none of the optional ones; a setting a file does
// not hold reads back as nullopt, so the caller keeps its own value.
struct GridFileSettings {
    double reynolds = 200;  // classic: "%4d", values outside -999..9999 clamped
    double defaultU = 0;    // classic: low 8 bits, read back unsigned 0..255
    double defaultV = 0;
    std::optional<double> dt;                  // the time step, > 0
    std::optional<Convection> convection;
    std::optional<PressureSolver> pressure;
    // A run starts from the u and v stored for the fluid cells instead of
    // writing the default velocities over them. Only version 3 of the
    // binary format holds it; without it a run starts as it always has.
    bool startsFromStoredField = false;
};

enum class GridFileStatus {
    Ok,          // the grid and settings were replaced
    CannotOpen,  // the file could not be opened or read
    NotValid,    // wrong magic text, truncated, or a grid smaller than 3 x 3;
                 // for version 2 also an unknown version, sizes beyond its
                 // limits, a non-finite value or an unknown setting code
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
// Largest classic logical stream (255 x 255 records) and the most disk bytes
// a reader ever needs for it (every byte doubled by the line-break rule).
constexpr std::size_t maxLogicalLength = headerLength + recordLength * maxCells * maxCells;
constexpr std::size_t maxStoredLength = 2 * maxLogicalLength;

// Ranges of the editor's fields that show the settings.
constexpr int reynoldsMin = 10;
constexpr int reynoldsMax = 2000;
constexpr int defaultVelocityMin = 0;
constexpr int defaultVelocityMax = 100;
}  // namespace grid_file

// The settings as the editor's fields would show them after a load: the
// Reynolds number clamped into its range with its decimals kept, the
// default velocities rounded to whole numbers and clamped.
GridFileSettings editorSettings(const GridFileSettings& raw);

// One double as a stored velocity byte: truncated toward zero (non-finite
// values give 0, out-of-range ones saturate into int), low 8 bits.
unsigned char velocityByte(double value);

// Whether a grid's size fits the classic format: NX and NY in 3..255 and
// the arrays allocated to that size.
bool gridFitsFile(const Grid& grid);

// Whether the classic format holds grid and settings without loss: the size
// fits, every u and v is a whole number in -128..127, the Reynolds number a
// whole one in -999..9999, the default velocities and aux1, aux2 whole ones
// in 0..255, and the run does not start from the stored field. The optional
// settings are not looked at: classic drops them.
bool gridFitsClassicFile(const Grid& grid, const GridFileSettings& settings);

// The classic bytes as stored on disk, line-break rule applied; empty when
// the grid's size does not fit the classic format.
std::vector<unsigned char> encodeGridFile(const Grid& grid, const GridFileSettings& settings);

// The bytes saveGridFile writes: classic when gridFitsClassicFile, else
// version 2; empty when neither can hold the grid.
std::vector<unsigned char> encodeSavedGrid(const Grid& grid, const GridFileSettings& settings);

// Decodes stored bytes of either format. On Ok, grid and settings are
// replaced; otherwise neither is touched. Bytes after the last record are
// ignored.
GridFileStatus decodeGridFile(const unsigned char* bytes, std::size_t length, Grid& grid,
                              GridFileSettings& settings);

// Reads and decodes a file; the caller's grid and settings change only on Ok.
GridFileStatus readGridFile(const std::string& path, Grid& grid, GridFileSettings& settings);

// What to tell the user when readGridFile did not return Ok.
std::string gridFileMessage(GridFileStatus status, const std::string& path);

// Writes the grid through a temporary file in the target's directory renamed
// over the target, so a failed save leaves any existing file untouched.
// Returns false on any failure (the temporary is then removed), and for a
// target that exists but is not a regular file (a device or FIFO). Through
// a symbolic link the file it leads to is replaced and the link kept.
bool saveGridFile(const std::string& path, const Grid& grid, const GridFileSettings& settings);
