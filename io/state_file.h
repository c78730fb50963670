// State files: everything a run needs to continue exactly where it stopped,
// so that saving after N steps and continuing for M gives the same numbers,
// bit for bit, as N + M steps in one go.
//
// Layout, every number little-endian, doubles as their raw IEEE 754 bytes:
//   header (36 bytes)
//     0  16  magic text "KELVO-RUNSTATE\r\n"
//    16   4  u32 format version (stateVersion)
//    20   4  u32 NX, 3..maxCells
//    24   4  u32 NY, 3..maxCells
//    28   4  u32 payload length in bytes; must be payloadLength(NX, NY)
//    32   4  u32 CRC-32 (IEEE 802.3, as zlib) of the payload
//   payload
//     settings  f64 Reynolds number (version 1: i32), f64 dt, u8 automatic dt (0/1),
//               u8 convection (0 central, 1 upwind-blended, 2 designed),
//               u8 pressure solver (0 Gauss-Seidel, 1 multigrid), u8 zero
//     grid      i32 aux1, i32 aux2, f64 dx, f64 dy
//     counters  i64 steps after the build step, i64 pressure sweeps,
//               i64 multigrid cycles, i64 steps that hit the sweep cap,
//               i64 first non-finite step (-1 none), f64 simulated time,
//               f64 largest divergence, f64 smallest dt, f64 largest dt,
//               i32 cycles, i32 frames (of the frame cycle)
//     arrays    NX * NY values each, i outer and j inner, in this order:
//               i32 flags; f64 u, v, p of the edited grid (the set-up, with
//               its default velocities); f64 u, v, p, F, G, pPrev, dp of
//               the solver
//     sections  version 3 only: tagged sections (io/grid_file_sections.h)
//               up to the payload's end: EMIT the set-up's particle
//               emitters (io/emitter_section.h), PART the particles
//               (io/particle_section.h); unknown tags are skipped
// Bytes after the payload make the file invalid. Version 3 is written only
// when a section has something to hold, version 2 otherwise. Version 1,
// whose Reynolds number was a whole one, is still read.
#pragma once

#include "core/flow_solver.h"
#include "core/grid.h"
#include "core/particles.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace state_file {
constexpr char magic[] = "KELVO-RUNSTATE\r\n";
constexpr std::size_t magicLength = sizeof(magic) - 1;
constexpr uint32_t stateVersion = 3;
// The version written when no section has anything to hold.
constexpr uint32_t versionWithoutSections = 2;
// The oldest version still read.
constexpr uint32_t oldestReadVersion = 1;
constexpr std::size_t headerLength = magicLength + 5 * 4;
// Largest NX or NY accepted: the arrays of a 4096 x 4096 state take
// about 1.4 GB, which is checked before anything is allocated.
constexpr int32_t minCells = 3;
constexpr int32_t maxCells = 4096;
}  // namespace state_file

// The counters of a run that continue across a restart.
struct RunCounters {
    int64_t steps = 0;               // after the build step
    int64_t sweeps = 0;
    int64_t multigridCycles = 0;
    int64_t cappedSteps = 0;
    int64_t firstNonFiniteStep = -1;
    double simulatedTime = 0.0;
    double largestDivergence = 0.0;
    double smallestDt = 0.0;
    double largestDt = 0.0;
    int32_t cycles = 0;              // of the frame cycle
    int32_t frames = 0;
};

// A saved run. edited holds the set-up grid (flags, u, v, p, the header
// and the emitters); fields the solver's arrays, its flags the same as
// edited's; particles the tracer's.
struct RunState {
    SolverSettings settings;
    Grid edited;
    SimGrid fields;
    RunCounters counters;
    ParticleState particles;
};

enum class StateFileStatus {
    Ok,
    CannotOpen,
    Short,          // shorter than its header or its sizes say
    BadMagic,
    OtherVersion,
    BadSizes,       // NX, NY or payload length out of range or inconsistent
    BadChecksum,
    BadValues,      // a setting out of range, or a malformed section
};

// A one-line reason for a refusal, naming the file.
std::string stateFileMessage(StateFileStatus status, const std::string& path);

// The payload bytes of an NX x NY state of the given format version,
// sections not counted.
std::size_t statePayloadLength(int32_t NX, int32_t NY, uint32_t version = state_file::stateVersion);

// CRC-32 of bytes (the polynomial of zlib and PNG).
uint32_t crc32Of(const unsigned char* bytes, std::size_t length);

// The bytes of a state file; empty when the sizes are out of range or the
// arrays are not all NX x NY.
std::vector<unsigned char> encodeRunState(const RunState& state);

// Decodes a whole file's bytes; state is replaced only on Ok.
StateFileStatus decodeRunState(const unsigned char* bytes, std::size_t length, RunState& state);

// Reads and decodes a file; state is replaced only on Ok.
StateFileStatus readStateFile(const std::string& path, RunState& state);

// Writes through a temporary file in the target's directory renamed over
// the target; false on any failure, the temporary then removed.
bool saveStateFile(const std::string& path, const RunState& state);

// Whether grid has the size and flags of the state's grid.
bool sameGrid(const Grid& grid, const RunState& state);
