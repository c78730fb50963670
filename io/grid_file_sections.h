// The tagged sections that follow the cell records of a version-4 grid file:
// each a 4-byte ASCII tag, a uint32 little-endian payload length and the
// payload. A reader refuses a section that runs past the end and keeps every
// other, known or not; what a tag's payload means is its codec's business.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

struct GridSection {
    std::array<char, 4> tag;
    std::vector<unsigned char> bytes;
};

std::vector<unsigned char> encodeGridSections(const std::vector<GridSection>& sections);

// False when a section's header or payload runs past the end.
bool decodeGridSections(const unsigned char* bytes, std::size_t length, std::vector<GridSection>& sections);
