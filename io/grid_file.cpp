// Grid file codec: the byte stream, the line-break rule, and safe file I/O.
#include "io/grid_file.h"

#include "core/cell_types.h"
#include "io/file_replace.h"
#include "io/grid_file_v2.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr unsigned char lineFeed = 10;
constexpr unsigned char carriageReturn = 13;

// Reynolds numbers that "%4d" prints in exactly four characters.
constexpr int reynoldsStoredMin = -999;
constexpr int reynoldsStoredMax = 9999;

// Appends logical bytes to the stored stream, applying the line-break rule.
class StoredWriter {
public:
    explicit StoredWriter(std::vector<unsigned char>& out) : bytes(out) {}

    // One logical byte: 10 goes to disk as 13 10, everything else as itself.
    void put(unsigned char b)
    {
        if (b == lineFeed)
            bytes.push_back(carriageReturn);
        bytes.push_back(b);
    }

    // The low 8 bits of an integer.
    void putLow8(long long value) { put(static_cast<unsigned char>(value & 0xFF)); }

    void putText(const char* text, std::size_t length)
    {
        for (std::size_t k = 0; k < length; ++k)
            put(static_cast<unsigned char>(text[k]));
    }

private:
    std::vector<unsigned char>& bytes;
};

// Reads logical bytes from the stored stream, undoing the line-break rule.
class StoredReader {
public:
    StoredReader(const unsigned char* data, std::size_t size) : bytes(data), length(size) {}

    // The next logical byte; false at the end of the data.
    bool get(unsigned char& b)
    {
        if (pos >= length)
            return false;
        b = bytes[pos++];
        if (b == carriageReturn && pos < length && bytes[pos] == lineFeed) {
            b = lineFeed;
            ++pos;
        }
        return true;
    }

    // The next logical byte as a signed 8-bit value.
    bool getSigned(int& value)
    {
        unsigned char b = 0;
        if (!get(b))
            return false;
        value = b < 128 ? b : b - 256;
        return true;
    }

    bool getUnsigned(int& value)
    {
        unsigned char b = 0;
        if (!get(b))
            return false;
        value = b;
        return true;
    }

private:
    const unsigned char* bytes;
    std::size_t length;
    std::size_t pos = 0;
};

// The first line, at most 30 characters, must be the magic text exactly; a
// line break ends the line early and so fails the comparison.
bool readMagic(StoredReader& in)
{
    for (std::size_t k = 0; k < grid_file::magicLength; ++k) {
        unsigned char b = 0;
        if (!in.get(b) || b != static_cast<unsigned char>(grid_file::magic[k]))
            return false;
    }
    return true;
}

// Four characters as a decimal integer: leading blanks skipped, an optional
// sign, then digits up to the first other character (0 when there are none).
bool readReynolds(StoredReader& in, int& reynolds)
{
    char text[4];
    for (char& c : text) {
        unsigned char b = 0;
        if (!in.get(b))
            return false;
        c = static_cast<char>(b);
    }
    int k = 0;
    while (k < 4 && (text[k] == ' ' || text[k] == '\t' || text[k] == '\n' || text[k] == '\r' ||
                     text[k] == '\v' || text[k] == '\f'))
        ++k;
    bool negative = false;
    if (k < 4 && (text[k] == '+' || text[k] == '-')) {
        negative = text[k] == '-';
        ++k;
    }
    int value = 0;
    for (; k < 4 && text[k] >= '0' && text[k] <= '9'; ++k)
        value = value * 10 + (text[k] - '0');
    reynolds = negative ? -value : value;
    return true;
}

// The header bytes after the Reynolds number; dx and dy are read and dropped.
struct StoredHeader {
    int defaultU = 0, defaultV = 0, NX = 0, NY = 0, aux1 = 0, aux2 = 0;
};

bool readHeaderBytes(StoredReader& in, StoredHeader& h)
{
    int droppedDx = 0, droppedDy = 0;
    return in.getUnsigned(h.defaultU) && in.getUnsigned(h.defaultV) && in.getUnsigned(h.NX) &&
           in.getUnsigned(h.NY) && in.getUnsigned(h.aux1) && in.getUnsigned(h.aux2) &&
           in.getUnsigned(droppedDx) && in.getUnsigned(droppedDy);
}

// The NX * NY cell records, i outer and j inner: the flag byte as the table
// of cell types reads it, the velocity bytes signed.
bool readRecords(StoredReader& in, Grid& grid)
{
    for (int32_t i = 0; i < grid.NX; ++i) {
        for (int32_t j = 0; j < grid.NY; ++j) {
            int flag = 0, u = 0, v = 0;
            if (!in.getUnsigned(flag) || !in.getSigned(u) || !in.getSigned(v))
                return false;
            grid.flags[i][j] = wordOfFileByte(static_cast<unsigned char>(flag));
            grid.u[i][j] = u;
            grid.v[i][j] = v;
        }
    }
    return true;
}

// A double that is a whole number within lowest..highest.
bool wholeWithin(double value, double lowest, double highest)
{
    return std::isfinite(value) && value == std::trunc(value) && value >= lowest && value <= highest;
}

// A setting as the classic header's "%4d" prints it: truncated, clamped.
int storedReynolds(double reynolds)
{
    if (std::isnan(reynolds))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(reynolds), double(reynoldsStoredMin),
                                       double(reynoldsStoredMax)));
}

// Reads at most limit bytes of a file; false when it cannot be opened or read,
// or is not a regular file. Opening without blocking keeps a FIFO with no
// writer (or a terminal) from freezing the reader; it is then refused.
bool readFileBytes(const std::string& path, std::size_t limit, std::vector<unsigned char>& bytes)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    std::FILE* f = nullptr;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !(f = fdopen(fd, "rb"))) {
        close(fd);
        return false;
    }
    // The file's size bounds the buffer, so a small file costs no more than
    // itself; one byte more still reads a file that grew meanwhile.
    const std::size_t wanted = std::min(limit, static_cast<std::size_t>(info.st_size) + 1);
    bytes.resize(wanted);
    const std::size_t n = std::fread(bytes.data(), 1, wanted, f);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    bytes.resize(n);
    return !failed;
}

}  // namespace

// The default velocities rounded to the spinners' whole numbers, the
// Reynolds number kept with its decimals; each clamped into its range. The
// optional settings pass through.
GridFileSettings editorSettings(const GridFileSettings& raw)
{
    const auto clamped = [](double value, int lowest, int highest) {
        return std::isfinite(value) ? std::clamp(value, double(lowest), double(highest)) : double(lowest);
    };
    const auto shown = [&clamped](double value, int lowest, int highest) {
        return clamped(std::round(value), lowest, highest);
    };
    GridFileSettings s = raw;
    s.reynolds = clamped(raw.reynolds, grid_file::reynoldsMin, grid_file::reynoldsMax);
    s.defaultU = shown(raw.defaultU, grid_file::defaultVelocityMin, grid_file::defaultVelocityMax);
    s.defaultV = shown(raw.defaultV, grid_file::defaultVelocityMin, grid_file::defaultVelocityMax);
    return s;
}

// byte = low8(trunc(value)), with NaN and infinities as 0 and the truncation
// saturated into int, since converting those directly is undefined.
unsigned char velocityByte(double value)
{
    if (!std::isfinite(value))
        return 0;
    const double lowest = static_cast<double>(std::numeric_limits<int>::min());
    const double highest = static_cast<double>(std::numeric_limits<int>::max());
    const int whole = value <= lowest ? std::numeric_limits<int>::min()
                      : value >= highest ? std::numeric_limits<int>::max()
                                         : static_cast<int>(value);
    return static_cast<unsigned char>(whole & 0xFF);
}

// NX and NY within what the size bytes and the reader accept, arrays in place.
bool gridFitsFile(const Grid& grid)
{
    const auto fits = [](int32_t n) {
        return n >= grid_file::minCells && n <= grid_file::maxCells;
    };
    const auto sized = [&grid](auto& a) {
        return a.rowCount() == grid.NX && a.colCount() == grid.NY && !a.empty();
    };
    return fits(grid.NX) && fits(grid.NY) && sized(grid.flags) && sized(grid.u) && sized(grid.v);
}

bool gridFitsClassicFile(const Grid& grid, const GridFileSettings& settings)
{
    if (!gridFitsFile(grid) || settings.startsFromStoredField || !grid.outlines.empty() || !grid.emitters.empty())
        return false;
    const auto headerFits = [](double value) { return wholeWithin(value, 0.0, 255.0); };
    if (!wholeWithin(settings.reynolds, reynoldsStoredMin, reynoldsStoredMax) ||
        !headerFits(settings.defaultU) || !headerFits(settings.defaultV) || !headerFits(grid.aux1) ||
        !headerFits(grid.aux2))
        return false;
    for (int32_t i = 0; i < grid.NX; ++i)
        for (int32_t j = 0; j < grid.NY; ++j)
            if (!wholeWithin(grid.u[i][j], -128.0, 127.0) || !wholeWithin(grid.v[i][j], -128.0, 127.0))
                return false;
    return true;
}

std::vector<unsigned char> encodeSavedGrid(const Grid& grid, const GridFileSettings& settings)
{
    return gridFitsClassicFile(grid, settings) ? encodeGridFile(grid, settings)
                                               : encodeGridFileV2(grid, settings);
}

// Magic, "%4d" Reynolds number, eight header bytes, then the cell records.
std::vector<unsigned char> encodeGridFile(const Grid& grid, const GridFileSettings& settings)
{
    std::vector<unsigned char> bytes;
    if (!gridFitsFile(grid))
        return bytes;
    bytes.reserve(2 * (grid_file::headerLength + grid_file::recordLength * grid.NX * grid.NY));
    StoredWriter out(bytes);

    out.putText(grid_file::magic, grid_file::magicLength);
    char reynolds[8];
    std::snprintf(reynolds, sizeof reynolds, "%4d", storedReynolds(settings.reynolds));
    out.putText(reynolds, 4);

    out.put(velocityByte(settings.defaultU));
    out.put(velocityByte(settings.defaultV));
    out.putLow8(grid.NX);
    out.putLow8(grid.NY);
    out.putLow8(grid.aux1);
    out.putLow8(grid.aux2);
    out.put(velocityByte(grid.dx));  // the same truncation; below 1 it is 0
    out.put(velocityByte(grid.dy));

    for (int32_t i = 0; i < grid.NX; ++i) {
        for (int32_t j = 0; j < grid.NY; ++j) {
            out.put(fileByteOfWord(grid.flags[i][j]));
            out.put(velocityByte(grid.u[i][j]));
            out.put(velocityByte(grid.v[i][j]));
        }
    }
    return bytes;
}

// Everything is decoded into a fresh grid first, so a refusal changes nothing.
GridFileStatus decodeGridFile(const unsigned char* bytes, std::size_t length, Grid& grid,
                              GridFileSettings& settings)
{
    if (hasGridFileV2Magic(bytes, length))
        return decodeGridFileV2(bytes, length, grid, settings);
    StoredReader in(bytes, length);
    GridFileSettings read;
    int reynolds = 0;
    StoredHeader h;
    if (!readMagic(in) || !readReynolds(in, reynolds) || !readHeaderBytes(in, h))
        return GridFileStatus::NotValid;
    if (h.NX < grid_file::minCells || h.NY < grid_file::minCells)
        return GridFileStatus::NotValid;

    Grid loaded;
    makeFluidGrid(loaded, h.NX, h.NY);
    loaded.aux1 = h.aux1;
    loaded.aux2 = h.aux2;
    if (!readRecords(in, loaded))
        return GridFileStatus::NotValid;

    read.reynolds = reynolds;
    read.defaultU = h.defaultU;
    read.defaultV = h.defaultV;
    grid = std::move(loaded);
    settings = read;
    return GridFileStatus::Ok;
}

// Only as many bytes as the largest grid of either format can need are read,
// so a huge or endless file cannot exhaust memory.
GridFileStatus readGridFile(const std::string& path, Grid& grid, GridFileSettings& settings)
{
    std::vector<unsigned char> bytes;
    if (!readFileBytes(path, std::max(grid_file::maxStoredLength, grid_file_v2::maxLength), bytes))
        return GridFileStatus::CannotOpen;
    return decodeGridFile(bytes.data(), bytes.size(), grid, settings);
}

bool saveGridFile(const std::string& chosen, const Grid& grid, const GridFileSettings& settings)
{
    const std::vector<unsigned char> bytes = encodeSavedGrid(grid, settings);
    return !bytes.empty() && replaceFile(chosen, bytes, FileSync::BeforeRename);
}

std::string gridFileMessage(GridFileStatus status, const std::string& path)
{
    if (status == GridFileStatus::CannotOpen)
        return "cannot read grid file '" + path + "'";
    return "'" + path + "' is not a valid grid file";
}
