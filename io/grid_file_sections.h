// The tagged sections that follow the cell records of a version-4 grid
// file: each a 4-byte ASCII tag, a uint32 little-endian payload length and
// the payload. Known tags: "HEAT" and "DYE " (io/scalar_sections.h); a
// reader skips a tag it does not know.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

struct GridSection {
    std::array<char, 4> tag;
    std::vector<unsigned char> bytes;
};

std::vector<unsigned char> encodeGridSections(const std::vector<GridSection>& sections);

// Splits bytes into sections, in file order; false (sections untouched)
// when a header is cut short or a payload runs past the end.
bool decodeGridSections(const unsigned char* bytes, std::size_t length, std::vector<GridSection>& sections);

// The first section with the given tag; nullptr when there is none.
const GridSection* findGridSection(const std::vector<GridSection>& sections, const char (&tag)[5]);
