#include "io/ppm_writer.h"


#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace {

// Bytes of text formatted before one write to the file, about.
constexpr size_t writeBlockBytes = size_t(1) << 20;
// Bytes of a pixel line with three two-digit values.
constexpr size_t typicalPixelLine = 9;
// Longest pixel line: three ints of 11 characters, two spaces, a line feed,
// and the padding of the last fixed copy.
constexpr size_t longestPixelLine = 3 * 11 + 3 + 4;
// Longest header: "P3\n", two ints and a space, "\n255\n".
constexpr size_t headerBytes = 3 + 2 * 11 + 1 + 5;

// Decimal texts of 0..255, the values a composed picture holds, each with
// the character that follows it in a pixel line (a space after red and
// green, a line feed after blue), padded to four bytes so that one fixed
// copy writes any of them.
struct ByteTexts {
// Built at compile time, so that the tables are read-only data.
    char text[256][4] = {};
    unsigned char length[256] = {};
    char follower;

    constexpr explicit ByteTexts(char follows) : follower(follows)
    {
        for (int value = 0; value < 256; ++value) {
            int count = 0;
            if (value >= 100)
                text[value][count++] = static_cast<char>('0' + value / 100);
            if (value >= 10)
                text[value][count++] = static_cast<char>('0' + value / 10 % 10);
            text[value][count++] = static_cast<char>('0' + value % 10);
            text[value][count] = follower;
            length[value] = static_cast<unsigned char>(count + 1);
        }
    }
};

constexpr ByteTexts spaced(' ');
constexpr ByteTexts ended('\n');

// Appends the decimal text of any int; returns the new end.
char* appendInt(char* out, int value)
{
    char digits[12];
    int count = 0;
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *out++ = '-';
    while (count > 0)
        *out++ = digits[--count];
    return out;
}

// Appends one plane value truncated toward zero, without clamping, and the
// character that follows it.
inline char* appendSample(char* out, float value, const ByteTexts& texts)
{
    if (value >= 0.0f && value < 256.0f) {
        const int byte = static_cast<int>(value);
        std::memcpy(out, texts.text[byte], 4);
        return out + texts.length[byte];
    }
    out = appendInt(out, truncPixel(value));
    *out = texts.follower;
    return out + 1;
}

// Appends the lines of columns 1..W-1 of one picture row.
char* appendRow(char* out, const float* red, const float* green, const float* blue, int W)
{
    for (int column = 1; column < W; ++column) {
        out = appendSample(out, red[column], spaced);
        out = appendSample(out, green[column], spaced);
        out = appendSample(out, blue[column], ended);
    }
    return out;
}

// Closes the file on every path out of writeFile.
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Header "P3\n%d %d\n255\n" with W - 1 and H - 1.
size_t formatHeader(char* out, int W, int H)
{
    char* end = out;
    std::memcpy(end, "P3\n", 3);
    end = appendInt(end + 3, W - 1);
    *end++ = ' ';
    end = appendInt(end, H - 1);
    std::memcpy(end, "\n255\n", 5);
    return static_cast<size_t>(end + 5 - out);
}

using RowText = PpmFrameOutput::RowText;

// Formats rows first <= row < end (within 1..H-1) into text.
// The row of a plane, or null outside the picture.
const float* rowOf(const float* const* plane, int row, int H)
{
    return row >= 0 && row < H ? plane[row] : nullptr;
}

void formatRows(RowText& text, const RgbPlanes& picture, int first, int end)
{
    const int W = picture.width;
    const int H = picture.height;
    const size_t rowBytes = static_cast<size_t>(W > 1 ? W - 1 : 0) * longestPixelLine;
    const size_t needed = rowBytes * static_cast<size_t>(std::max(end - first, 0));
    if (text.bytes.size() < needed)
        text.bytes.resize(needed);
    char* out = text.bytes.data();
    for (int row = first; row < end; ++row)
        out = appendRow(out, rowOf(picture.red, row, H), rowOf(picture.green, row, H), rowOf(picture.blue, row, H), W);
    text.used = static_cast<size_t>(out - text.bytes.data());
}

}  // namespace

PpmFrameOutput::PpmFrameOutput(std::string directory, int threads)
    : frameDirectory(std::move(directory)), parallel(threads)
{
}

// One line "%d %d %d\n" per pixel of rows 1..H-1, columns 1..W-1, values
// truncated toward zero. Rows are formatted in blocks of about a megabyte,
// as many blocks at once as there are threads, and written in order.
bool PpmFrameOutput::writeFile(const RgbPlanes& picture, const std::string& path)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "w"));
    if (!file)
        return false;
    std::setvbuf(file.get(), nullptr, _IONBF, 0);  // the blocks are already big

    const int W = picture.width;
    const int H = picture.height;
    char header[headerBytes];
    const size_t headerLength = formatHeader(header, W, H);
    bool ok = std::fwrite(header, 1, headerLength, file.get()) == headerLength;

    const int blocks = std::max(1, parallel.threads());
    if (static_cast<int>(texts.size()) < blocks)
        texts.resize(blocks);
    const int rowsPerBlock = std::max<int>(1, static_cast<int>(writeBlockBytes / (typicalPixelLine * std::max(W, 1))));
    for (int first = 1; first < H && ok; first += rowsPerBlock * blocks) {
        const int rounds = std::min(blocks, (H - first + rowsPerBlock - 1) / rowsPerBlock);
        parallel.run(rounds, [&](int block) {
            const int blockFirst = first + block * rowsPerBlock;
            formatRows(texts[block], picture, blockFirst, std::min(blockFirst + rowsPerBlock, H));
        });
        for (int block = 0; block < rounds && ok; ++block)
            ok = std::fwrite(texts[block].bytes.data(), 1, texts[block].used, file.get()) == texts[block].used;
    }
    std::FILE* raw = file.release();
    const bool closed = std::fclose(raw) == 0;
    return ok && closed;
}

// writeFile for a numbered frame; a cut-off frame (full disk, size limit)
// would pass for a whole one, so it is removed.
bool PpmFrameOutput::writeFrameFile(const RgbPlanes& picture, const std::string& path)
{
    if (writeFile(picture, path))
        return true;
    std::error_code error;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(path, error)))
        std::filesystem::remove(path, error);
    return false;
}

// n = next, next = n + 1, then directory/frame_%05d.ppm.
PpmWriteResult PpmFrameOutput::writeFrame(const RgbPlanes& picture)
{
    const std::string& directory = frameDirectory;
    const int number = next;
    next = number + 1;
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05d.ppm", number);
    PpmWriteResult result;
    // An empty directory means the working directory itself.
    result.path = directory.empty() ? std::string(name) : directory + "/" + name;
    if (directory.empty()) {
        result.ok = writeFrameFile(picture, result.path);
        return result;
    }

    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error)
        return result;  // cannot make the directory: the file cannot be written
    result.ok = writeFrameFile(picture, result.path);
    return result;
}
