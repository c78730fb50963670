#include "io/grid_file_sections.h"

#include "io/little_endian.h"

#include <cstdint>
#include <cstring>

namespace {
constexpr std::size_t sectionHeaderLength = 8;
}  // namespace

std::vector<unsigned char> encodeGridSections(const std::vector<GridSection>& sections)
{
    std::vector<unsigned char> bytes;
    LittleEndianWriter out(bytes);
    for (const GridSection& s : sections) {
        bytes.insert(bytes.end(), s.tag.begin(), s.tag.end());
        out.u32(static_cast<std::uint32_t>(s.bytes.size()));
        bytes.insert(bytes.end(), s.bytes.begin(), s.bytes.end());
    }
    return bytes;
}

bool decodeGridSections(const unsigned char* bytes, std::size_t length, std::vector<GridSection>& sections)
{
    std::vector<GridSection> found;
    std::size_t at = 0;
    while (at < length) {
        if (length - at < sectionHeaderLength)
            return false;
        GridSection s;
        std::memcpy(s.tag.data(), bytes + at, 4);
        LittleEndianReader in(bytes + at + 4);
        const std::uint32_t size = in.u32();
        at += sectionHeaderLength;
        if (size > length - at)
            return false;
        s.bytes.assign(bytes + at, bytes + at + size);
        at += size;
        found.push_back(std::move(s));
    }
    sections = std::move(found);
    return true;
}

const GridSection* findGridSection(const std::vector<GridSection>& sections, const char (&tag)[5])
{
    for (const GridSection& s : sections)
        if (std::memcmp(s.tag.data(), tag, 4) == 0)
            return &s;
    return nullptr;
}
