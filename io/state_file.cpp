// State file codec: a fixed little-endian layout, checked field by field
// before anything is allocated, and a CRC-32 over the payload.
#include "io/state_file.h"

#include "io/emitter_section.h"
#include "io/file_replace.h"
#include "io/grid_file_sections.h"
#include "io/particle_section.h"
#include "io/little_endian.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Bytes of the payload before the arrays; version 1 kept the Reynolds
// number in four bytes.
constexpr std::size_t settingsLength(uint32_t version)
{
    return (version == 1 ? 4 : 8) + 8 + 4;
}
constexpr std::size_t gridLength = 4 + 4 + 8 + 8;
constexpr std::size_t countersLength = 5 * 8 + 4 * 8 + 2 * 4;
// Per cell: the flag word and ten doubles.
constexpr std::size_t cellLength = 4 + 10 * 8;

struct Header {
    uint32_t version = 0;
    uint32_t NX = 0;
    uint32_t NY = 0;
    uint32_t payload = 0;
    uint32_t checksum = 0;
};

bool cellsInRange(uint32_t n)
{
    return n >= static_cast<uint32_t>(state_file::minCells) && n <= static_cast<uint32_t>(state_file::maxCells);
}

// The header's checks, in the order a reader meets them.
StateFileStatus checkHeader(const unsigned char* bytes, std::size_t length, Header& header)
{
    using namespace state_file;
    if (std::memcmp(bytes, magic, std::min(length, magicLength)) != 0)
        return StateFileStatus::BadMagic;
    if (length < headerLength)
        return StateFileStatus::Short;
    LittleEndianReader in(bytes + magicLength);
    header.version = in.u32();
    header.NX = in.u32();
    header.NY = in.u32();
    header.payload = in.u32();
    header.checksum = in.u32();
    if (header.version < oldestReadVersion || header.version > stateVersion)
        return StateFileStatus::OtherVersion;
    if (!cellsInRange(header.NX) || !cellsInRange(header.NY))
        return StateFileStatus::BadSizes;
    const std::size_t fixed = statePayloadLength(static_cast<int32_t>(header.NX), static_cast<int32_t>(header.NY),
                                                 header.version);
    const bool sized = header.version == stateVersion ? header.payload >= fixed : header.payload == fixed;
    if (!sized)
        return StateFileStatus::BadSizes;
    return StateFileStatus::Ok;
}

std::array<const Array2D<double>*, 10> arraysOf(const RunState& s)
{
    return {&s.edited.u, &s.edited.v, &s.edited.p, &s.fields.u, &s.fields.v,
            &s.fields.p, &s.fields.F, &s.fields.G, &s.fields.pPrev, &s.fields.dp};
}

std::array<Array2D<double>*, 10> arraysOf(RunState& s)
{
    return {&s.edited.u, &s.edited.v, &s.edited.p, &s.fields.u, &s.fields.v,
            &s.fields.p, &s.fields.F, &s.fields.G, &s.fields.pPrev, &s.fields.dp};
}

template <typename T>
bool sized(const Array2D<T>& a, int32_t NX, int32_t NY)
{
    return a.rowCount() == NX && a.colCount() == NY;
}

void writeSettings(LittleEndianWriter& out, const SolverSettings& s)
{
    out.f64(s.reynolds);
    out.f64(s.dt);
    out.u8(s.automaticDt ? 1 : 0);
    out.u8(static_cast<unsigned>(s.convection));
    out.u8(static_cast<unsigned>(s.pressure));
    out.u8(0);
}

void writeCounters(LittleEndianWriter& out, const RunCounters& c)
{
    for (int64_t n : {c.steps, c.sweeps, c.multigridCycles, c.cappedSteps, c.firstNonFiniteStep})
        out.i64(n);
    for (double x : {c.simulatedTime, c.largestDivergence, c.smallestDt, c.largestDt})
        out.f64(x);
    out.i32(c.cycles);
    out.i32(c.frames);
}

// A Reynolds number the solver can hold: above 0 and finite as a float too.
bool reynoldsHeld(double reynolds)
{
    return reynolds > 0.0 && reynolds <= std::numeric_limits<float>::max() && static_cast<float>(reynolds) > 0.0f;
}

// The settings as stored; false when one is out of range.
bool readSettings(LittleEndianReader& in, uint32_t version, SolverSettings& s)
{
    s.reynolds = version == 1 ? in.i32() : in.f64();
    s.dt = in.f64();
    const unsigned automatic = in.u8();
    const unsigned convection = in.u8();
    const unsigned pressure = in.u8();
    const unsigned padding = in.u8();
    s.automaticDt = automatic == 1;
    s.convection = static_cast<Convection>(convection);
    s.pressure = static_cast<PressureSolver>(pressure);
    return reynoldsHeld(s.reynolds) && std::isfinite(s.dt) && s.dt > 0.0 && automatic <= 1 && convection <= 3 &&
           pressure <= 1 && padding == 0;
}

void readCounters(LittleEndianReader& in, RunCounters& c)
{
    for (int64_t* n : {&c.steps, &c.sweeps, &c.multigridCycles, &c.cappedSteps, &c.firstNonFiniteStep})
        *n = in.i64();
    for (double* x : {&c.simulatedTime, &c.largestDivergence, &c.smallestDt, &c.largestDt})
        *x = in.f64();
    c.cycles = in.i32();
    c.frames = in.i32();
}

// The grid header of both grids, and every array allocated NX x NY.
bool readGrid(LittleEndianReader& in, int32_t NX, int32_t NY, RunState& s)
{
    const int32_t aux1 = in.i32(), aux2 = in.i32();
    const double dx = in.f64(), dy = in.f64();
    for (Grid* g : {static_cast<Grid*>(&s.edited), static_cast<Grid*>(&s.fields)}) {
        g->NX = NX;
        g->NY = NY;
        g->aux1 = aux1;
        g->aux2 = aux2;
        g->dx = dx;
        g->dy = dy;
        g->flags.allocate(NX, NY);
    }
    for (Array2D<double>* a : arraysOf(s))
        a->allocate(NX, NY);
    return std::isfinite(dx) && dx > 0.0 && std::isfinite(dy) && dy > 0.0;
}

// Up to count bytes; fewer at the end of the file or on an error.
std::size_t readUpTo(int fd, unsigned char* into, std::size_t count)
{
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = read(fd, into + done, count - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

// A regular file whose header is sound and whose size is the one the header
// declares, read whole: nothing is allocated for sizes a file does not have.
StateFileStatus readWholeFile(int fd, std::vector<unsigned char>& bytes)
{
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return StateFileStatus::CannotOpen;
    bytes.resize(state_file::headerLength);
    Header header;
    const StateFileStatus status = checkHeader(bytes.data(), readUpTo(fd, bytes.data(), bytes.size()), header);
    if (status != StateFileStatus::Ok)
        return status;
    const uint64_t declared = state_file::headerLength + header.payload;
    const uint64_t size = static_cast<uint64_t>(info.st_size);
    if (size != declared)
        return size < declared ? StateFileStatus::Short : StateFileStatus::BadSizes;
    bytes.resize(declared);
    if (readUpTo(fd, bytes.data() + state_file::headerLength, header.payload) != header.payload)
        return StateFileStatus::Short;
    return StateFileStatus::Ok;
}

// The sections a state has something for.
std::vector<GridSection> sectionsOf(const RunState& s)
{
    std::vector<GridSection> sections;
    if (!s.edited.emitters.empty())
        sections.push_back({{'E', 'M', 'I', 'T'}, encodeEmitterSection(s.edited.emitters)});
    const ParticleState& p = s.particles;
    if (!p.particles.empty() || p.steps != 0 || p.nextSerial != 0)
        sections.push_back({{'P', 'A', 'R', 'T'}, encodeParticleSection(p)});
    return sections;
}

// The sections after the fixed payload into s; false on a framing fault or
// a malformed payload of a known tag.
bool readSections(const unsigned char* bytes, std::size_t length, RunState& s)
{
    std::vector<GridSection> sections;
    if (!decodeGridSections(bytes, length, sections))
        return false;
    const GridSection* emitters = findGridSection(sections, emitter_section::tag);
    const GridSection* particles = findGridSection(sections, particle_section::tag);
    return (!emitters || decodeEmitterSection(emitters->bytes.data(), emitters->bytes.size(), s.edited.emitters)) &&
           (!particles || decodeParticleSection(particles->bytes.data(), particles->bytes.size(), s.particles));
}

}  // namespace

std::size_t statePayloadLength(int32_t NX, int32_t NY, uint32_t version)
{
    return settingsLength(version) + gridLength + countersLength +
           cellLength * static_cast<std::size_t>(NX) * static_cast<std::size_t>(NY);
}

uint32_t crc32Of(const unsigned char* bytes, std::size_t length)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t k = 0; k < length; ++k) {
        crc ^= bytes[k];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::vector<unsigned char> encodeRunState(const RunState& s)
{
    const int32_t NX = s.edited.NX, NY = s.edited.NY;
    std::vector<unsigned char> bytes;
    if (NX < state_file::minCells || NX > state_file::maxCells || NY < state_file::minCells ||
        NY > state_file::maxCells || s.fields.NX != NX || s.fields.NY != NY || !sized(s.edited.flags, NX, NY))
        return bytes;
    for (const Array2D<double>* a : arraysOf(s))
        if (!sized(*a, NX, NY))
            return bytes;

    const std::vector<unsigned char> tail = encodeGridSections(sectionsOf(s));
    const std::size_t payload = statePayloadLength(NX, NY) + tail.size();
    bytes.reserve(state_file::headerLength + payload);
    bytes.insert(bytes.end(), state_file::magic, state_file::magic + state_file::magicLength);
    LittleEndianWriter out(bytes);
    out.u32(tail.empty() ? state_file::versionWithoutSections : state_file::stateVersion);
    out.u32(static_cast<uint32_t>(NX));
    out.u32(static_cast<uint32_t>(NY));
    out.u32(static_cast<uint32_t>(payload));
    out.u32(0);  // the checksum, filled in below
    writeSettings(out, s.settings);
    out.i32(s.edited.aux1);
    out.i32(s.edited.aux2);
    out.f64(s.edited.dx);
    out.f64(s.edited.dy);
    writeCounters(out, s.counters);
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j)
            out.i32(s.edited.flags[i][j]);
    for (const Array2D<double>* a : arraysOf(s))
        for (int32_t i = 0; i < NX; ++i)
            for (int32_t j = 0; j < NY; ++j)
                out.f64((*a)[i][j]);
    bytes.insert(bytes.end(), tail.begin(), tail.end());

    const uint32_t crc = crc32Of(bytes.data() + state_file::headerLength, payload);
    for (int k = 0; k < 4; ++k)
        bytes[state_file::headerLength - 4 + k] = static_cast<unsigned char>((crc >> (8 * k)) & 0xFFu);
    return bytes;
}

StateFileStatus decodeRunState(const unsigned char* bytes, std::size_t length, RunState& state)
{
    Header header;
    const StateFileStatus headerStatus = checkHeader(bytes, length, header);
    if (headerStatus != StateFileStatus::Ok)
        return headerStatus;
    if (length < state_file::headerLength + header.payload)
        return StateFileStatus::Short;
    if (length > state_file::headerLength + header.payload)
        return StateFileStatus::BadSizes;
    const unsigned char* payload = bytes + state_file::headerLength;
    if (crc32Of(payload, header.payload) != header.checksum)
        return StateFileStatus::BadChecksum;

    const int32_t NX = static_cast<int32_t>(header.NX), NY = static_cast<int32_t>(header.NY);
    RunState decoded;
    LittleEndianReader in(payload);
    bool valid = readSettings(in, header.version, decoded.settings);
    valid = readGrid(in, NX, NY, decoded) && valid;
    readCounters(in, decoded.counters);
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j)
            decoded.edited.flags[i][j] = decoded.fields.flags[i][j] = in.i32();
    for (Array2D<double>* a : arraysOf(decoded))
        for (int32_t i = 0; i < NX; ++i)
            for (int32_t j = 0; j < NY; ++j)
                (*a)[i][j] = in.f64();
    const std::size_t fixed = statePayloadLength(NX, NY, header.version);
    if (header.payload > fixed)
        valid = readSections(payload + fixed, header.payload - fixed, decoded) && valid;
    if (!valid)
        return StateFileStatus::BadValues;
    state = std::move(decoded);
    return StateFileStatus::Ok;
}

StateFileStatus readStateFile(const std::string& path, RunState& state)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return StateFileStatus::CannotOpen;
    std::vector<unsigned char> bytes;
    const StateFileStatus status = readWholeFile(fd, bytes);
    close(fd);
    return status == StateFileStatus::Ok ? decodeRunState(bytes.data(), bytes.size(), state) : status;
}

bool saveStateFile(const std::string& path, const RunState& state)
{
    const std::vector<unsigned char> bytes = encodeRunState(state);
    return !bytes.empty() && replaceFile(path, bytes, FileSync::BeforeRename);
}

bool sameGrid(const Grid& grid, const RunState& state)
{
    if (grid.NX != state.edited.NX || grid.NY != state.edited.NY)
        return false;
    for (int32_t i = 0; i < grid.NX; ++i)
        if (std::memcmp(grid.flags[i], state.edited.flags[i], sizeof(int32_t) * static_cast<std::size_t>(grid.NY)) != 0)
            return false;
    return true;
}

std::string stateFileMessage(StateFileStatus status, const std::string& path)
{
    const std::string name = "'" + path + "'";
    switch (status) {
    case StateFileStatus::Ok:
        return "";
    case StateFileStatus::CannotOpen:
        return "cannot read state file " + name;
    case StateFileStatus::Short:
        return name + " is cut short: not a whole state file";
    case StateFileStatus::BadMagic:
        return name + " is not a state file";
    case StateFileStatus::OtherVersion:
        return name + " is a state file of another version (this program reads versions " +
               std::to_string(state_file::oldestReadVersion) + " to " + std::to_string(state_file::stateVersion) +
               ")";
    case StateFileStatus::BadSizes:
        return name + " is not a valid state file: its sizes are out of range or do not match";
    case StateFileStatus::BadChecksum:
        return name + " is corrupt: its checksum does not match";
    case StateFileStatus::BadValues:
        return name + " is not a valid state file: a setting is out of range";
    }
    return name + " is not a valid state file";
}
