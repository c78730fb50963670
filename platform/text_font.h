// TextFont: the one monospaced font of the title frames, rasterised with
// FreeType from a font file found through fontconfig. Glyphs are rendered
// unhinted at a fixed pixel size, so the pixels are the same on every run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Coverage bitmap of one character, placed relative to its cell.
struct GlyphImage {
    int32_t left = 0;     // columns from the cell's left edge to the bitmap
    int32_t top = 0;      // rows from the cell's top edge to the bitmap
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> coverage;  // width x height, rows top-down, 0..255
};

class TextFont {
public:
    // The program's font, loaded at the first call; null if no font file
    // could be found or read.
    static const TextFont* instance();

    // Width of every character cell, in pixels.
    int32_t cellWidth() const { return advance; }
    // Height of a line of text (ascent plus descent), in pixels.
    int32_t lineHeight() const { return height; }
    // The glyph of an ASCII character; other bytes give an empty glyph.
    const GlyphImage& glyph(unsigned char character) const;

private:
    TextFont() = default;
    // Opens the font file and renders the printable ASCII glyphs.
    bool load(const char* path);

    int32_t advance = 0;
    int32_t height = 0;
    std::vector<GlyphImage> glyphs;  // indexed by character code, 0..127
    GlyphImage empty;
};

// File name of the title font as fontconfig finds it; empty if none.
std::string findTextFontFile();
