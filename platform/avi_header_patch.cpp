#include "platform/avi_header_patch.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/platform_constants.h"

namespace {
// The header list starts after 'RIFF' size 'AVI '.
constexpr long headerListStart = 12;
constexpr long chunkHead = 8;  // id and size
// Offsets in the data of a stream header ('strh').
constexpr long strhType = 0;
constexpr long strhHandler = 4;
constexpr long strhBufferSize = 36;
constexpr long strhFrame = 48;  // four 16-bit values: left, top, right, bottom
constexpr uint32_t strhBytes = 56;

// Where the chunks of one stream lie in the file (-1 if absent).
struct StreamChunks {
    long strh = -1;        // start of the chunk
    long strf = -1;
    uint32_t strfSize = 0;
    long junkAfterStrh = -1;  // reserved space directly behind the header
    uint32_t junkSize = 0;
};

// Little-endian 32-bit value at p.
uint32_t readLe32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// Stores v little-endian at p.
void writeLe32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Walks the header list and notes the chunks of stream index:
//   LIST 'hdrl' { 'avih', LIST 'strl' { 'strh', 'strf', ... }, ... }
bool locateStream(const std::vector<uint8_t>& list, int index, StreamChunks& chunks)
{
    int stream = -1;
    long previous = -1;
    for (size_t at = 0; at + chunkHead <= list.size();) {
        const uint32_t size = readLe32(&list[at + 4]);
        const long offset = headerListStart + 12 + static_cast<long>(at);
        if (std::memcmp(&list[at], "LIST", 4) == 0) {
            if (at + 12 <= list.size() && std::memcmp(&list[at + 8], "strl", 4) == 0)
                ++stream;
            at += 12;  // descend into the list
            previous = -1;
            continue;
        }
        if (stream == index) {
            if (std::memcmp(&list[at], "strh", 4) == 0 && size >= strhBytes)
                chunks.strh = offset;
            if (std::memcmp(&list[at], "strf", 4) == 0) {
                chunks.strf = offset;
                chunks.strfSize = size;
            }
            if (std::memcmp(&list[at], "JUNK", 4) == 0 && previous == chunks.strh && chunks.strh >= 0) {
                chunks.junkAfterStrh = offset;
                chunks.junkSize = size;
            }
        }
        previous = offset;
        at += chunkHead + size + (size & 1);
    }
    return chunks.strh >= 0;
}

// Reads the header list of the open file and locates stream index in it.
bool readStreamChunks(std::FILE* file, int index, std::vector<uint8_t>& list, StreamChunks& chunks)
{
    uint8_t head[12];
    if (std::fseek(file, headerListStart, SEEK_SET) != 0 || std::fread(head, 1, sizeof head, file) != sizeof head ||
        std::memcmp(head, "LIST", 4) != 0 || std::memcmp(head + 8, "hdrl", 4) != 0 || readLe32(head + 4) < 4)
        return false;
    list.resize(readLe32(head + 4) - 4);
    return !list.empty() && std::fread(list.data(), 1, list.size(), file) == list.size() &&
           locateStream(list, index, chunks);
}

// Writes bytes at offset.
bool writeAt(std::FILE* file, long offset, const void* bytes, size_t count)
{
    return std::fseek(file, offset, SEEK_SET) == 0 && std::fwrite(bytes, 1, count, file) == count;
}

// Opens the file, lets patch write into it, closes it.
template <typename Patch>
bool patchFile(const std::string& path, int index, Patch patch)
{
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (!file)
        return false;
    std::vector<uint8_t> list;
    StreamChunks chunks;
    bool done = readStreamChunks(file, index, list, chunks) && patch(file, chunks);
    done = std::fclose(file) == 0 && done;
    return done;
}
}  // namespace

// The format chunk must be there and hold at least the 40 bytes.
bool restoreBitmapFormat(const std::string& path, int index, const BitmapInfoHeader& header)
{
    return patchFile(path, index, [&header](std::FILE* file, const StreamChunks& chunks) {
        return chunks.strf >= 0 && chunks.strfSize >= sizeof header &&
               writeAt(file, chunks.strf + chunkHead, &header, sizeof header);
    });
}

// Type, handler, buffer and rectangle in place; the format goes into the
// front of the reserved space if the library left it unused:
//   'strf' 4 <format> 'JUNK' (size - 12) ...
bool restoreTextStream(const std::string& path, int index, const AviStreamInfo& info, int32_t format)
{
    return patchFile(path, index, [&info, format](std::FILE* file, const StreamChunks& chunks) {
        uint8_t fields[strhBytes];
        if (std::fseek(file, chunks.strh + chunkHead, SEEK_SET) != 0 ||
            std::fread(fields, 1, sizeof fields, file) != sizeof fields)
            return false;
        writeLe32(fields + strhType, info.fccType);
        writeLe32(fields + strhHandler, info.fccHandler);
        writeLe32(fields + strhBufferSize, info.suggestedBufferSize);
        const int16_t frame[4] = {static_cast<int16_t>(info.frame.left), static_cast<int16_t>(info.frame.top),
                                  static_cast<int16_t>(info.frame.right), static_cast<int16_t>(info.frame.bottom)};
        std::memcpy(fields + strhFrame, frame, sizeof frame);
        if (!writeAt(file, chunks.strh + chunkHead, fields, sizeof fields))
            return false;
        constexpr uint32_t formatChunk = chunkHead + sizeof(int32_t);
        if (chunks.strf >= 0 || chunks.junkAfterStrh < 0 || chunks.junkSize < formatChunk)
            return true;
        uint8_t chunk[formatChunk + chunkHead];
        std::memcpy(chunk, "strf", 4);
        writeLe32(chunk + 4, sizeof(int32_t));
        writeLe32(chunk + 8, static_cast<uint32_t>(format));
        std::memcpy(chunk + 12, "JUNK", 4);
        writeLe32(chunk + 16, chunks.junkSize - formatChunk);
        return writeAt(file, chunks.junkAfterStrh, chunk, sizeof chunk);
    });
}
