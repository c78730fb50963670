#include "ppm_writer.h"

#include "frame_image.h"
#include "pixel_trunc.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace {

// Bytes gathered before one write to the file.
constexpr size_t writeBlockBytes = size_t(1) << 20;
// Longest pixel line: three ints of 11 characters, two spaces, a line feed.
constexpr size_t longestPixelLine = 3 * 11 + 3;

// Decimal texts of 0..255, the values a composed picture holds.
struct ByteTexts {
    char text[256][4];
    unsigned char length[256];

    ByteTexts()
    {
        for (int value = 0; value < 256; ++value)
            length[value] = static_cast<unsigned char>(std::snprintf(text[value], 4, "%d", value));
    }
};

const ByteTexts& byteTexts()
{
    static const ByteTexts texts;
    return texts;
}

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

// Appends one plane value truncated toward zero, without clamping.
char* appendSample(char* out, float value)
{
    if (value >= 0.0f && value < 256.0f) {
        const int byte = static_cast<int>(value);
        const ByteTexts& texts = byteTexts();
        std::memcpy(out, texts.text[byte], 4);  // the table row is 4 bytes
        return out + texts.length[byte];
    }
    return appendInt(out, truncPixel(value));
}

// Closes the file on every path out of writePpmFile.
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Writes the gathered bytes and empties the block; false when short.
bool flushBlock(std::FILE* file, std::vector<char>& block, size_t& used)
{
    const bool written = std::fwrite(block.data(), 1, used, file) == used;
    used = 0;
    return written;
}

// Header "P3\n%d %d\n255\n" with W - 1 and H - 1.
size_t formatHeader(char* out)
{
    char* end = out;
    std::memcpy(end, "P3\n", 3);
    end = appendInt(end + 3, frameWidth() - 1);
    *end++ = ' ';
    end = appendInt(end, frameHeight() - 1);
    std::memcpy(end, "\n255\n", 5);
    return static_cast<size_t>(end + 5 - out);
}

// writePpmFile for a numbered frame; a cut-off frame (full disk, size
// limit) would pass for a whole one, so it is removed.
bool writePpmFrameFile(const std::string& path)
{
    if (writePpmFile(path))
        return true;
    std::error_code error;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(path, error)))
        std::filesystem::remove(path, error);
    return false;
}

}  // namespace

// One line "%d %d %d\n" per pixel of rows 1..H-1, columns 1..W-1, values
// truncated toward zero; the bytes go out in blocks of about a megabyte.
bool writePpmFile(const std::string& path)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "w"));
    if (!file)
        return false;
    std::setvbuf(file.get(), nullptr, _IONBF, 0);  // the blocks are already big

    // Kept from frame to frame: a fresh megabyte each frame would cost its
    // page faults every time.
    static std::vector<char> block(writeBlockBytes + longestPixelLine);
    size_t used = formatHeader(block.data());
    bool ok = true;
    for (int row = 1; row < frameHeight() && ok; ++row) {
        const float* red = redRow(row);
        const float* green = greenRow(row);
        const float* blue = blueRow(row);
        for (int column = 1; column < frameWidth(); ++column) {
            char* end = block.data() + used;
            end = appendSample(end, red[column]);
            *end++ = ' ';
            end = appendSample(end, green[column]);
            *end++ = ' ';
            end = appendSample(end, blue[column]);
            *end++ = '\n';
            used = static_cast<size_t>(end - block.data());
            if (used >= writeBlockBytes && !flushBlock(file.get(), block, used)) {
                ok = false;
                break;
            }
        }
    }
    if (ok && used > 0)
        ok = flushBlock(file.get(), block, used);
    std::FILE* raw = file.release();
    const bool closed = std::fclose(raw) == 0;
    return ok && closed;
}

// n = ppmFrameCounter, ppmFrameCounter = n + 1, then directory/frame_%05d.ppm.
PpmWriteResult writePpmFrame(const std::string& directory)
{
    const int number = ppmFrameCounter;
    ppmFrameCounter = number + 1;
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05d.ppm", number);
    PpmWriteResult result;
    // An empty directory means the working directory itself.
    result.path = directory.empty() ? std::string(name) : directory + "/" + name;
    if (directory.empty()) {
        result.ok = writePpmFrameFile(result.path);
        return result;
    }

    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error)
        return result;  // cannot make the directory: the file cannot be written
    result.ok = writePpmFrameFile(result.path);
    return result;
}
