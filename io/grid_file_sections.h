// Tagged sections after the cell records of a version-4 grid file (and
// after the payload of a state file that carries them): each a 4-byte ASCII
// tag, a uint32 little-endian payload length, then the payload.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

struct GridSection {
    std::array<char, 4> tag;
    std::vector<unsigned char> bytes;
};

// The sections one after another.
std::vector<unsigned char> encodeGridSections(const std::vector<GridSection>& sections);

// Splits bytes into sections; false when a header or a payload runs past
// the end. Unknown tags are kept: the reader of each tag decides.
bool decodeGridSections(const unsigned char* bytes, std::size_t length, std::vector<GridSection>& sections);

// The payload of the first section with the tag, or null.
const GridSection* findGridSection(const std::vector<GridSection>& sections, const char (&tag)[5]);
