#include "platform/text_font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

#include "platform/platform_constants.h"

namespace {
constexpr int asciiCount = 128;
constexpr unsigned char firstPrintable = 32;
constexpr unsigned char lastPrintable = 126;

// Pixels of a 26.6 fixed-point length, rounded up.
int32_t ceilPixels(long fixed)
{
    return static_cast<int32_t>((fixed + 63) >> 6);
}

// Pixels of a 26.6 fixed-point length, rounded to the nearest.
int32_t roundPixels(long fixed)
{
    return static_cast<int32_t>((fixed + 32) >> 6);
}

// The file fontconfig matches for a family name; empty if none.
std::string matchFamily(FcConfig* config, const char* family)
{
    std::string file;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    if (!pattern)
        return file;
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcChar8* name = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &name) == FcResultMatch && name)
        file = reinterpret_cast<const char*>(name);
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return file;
}

// Copies the rendered 8-bit coverage bitmap of the current glyph.
GlyphImage copyGlyph(FT_GlyphSlot slot, int32_t ascent)
{
    GlyphImage image;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
        return image;
    image.left = slot->bitmap_left;
    image.top = ascent - slot->bitmap_top;
    image.width = static_cast<int32_t>(bitmap.width);
    image.height = static_cast<int32_t>(bitmap.rows);
    image.coverage.resize(static_cast<size_t>(image.width) * image.height);
    for (int32_t y = 0; y < image.height; ++y) {
        const unsigned char* source = bitmap.buffer + static_cast<long>(y) * bitmap.pitch;
        for (int32_t x = 0; x < image.width; ++x)
            image.coverage[static_cast<size_t>(y) * image.width + x] = source[x];
    }
    return image;
}
}  // namespace

// The preferred family first, then any monospaced font.
std::string findTextFontFile()
{
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config)
        return std::string();
    std::string file = matchFamily(config, platform_constants::textFontFamily);
    if (file.empty())
        file = matchFamily(config, platform_constants::textFallbackFamily);
    FcConfigDestroy(config);
    return file;
}

// Loaded once; a missing font leaves the title frames without text.
const TextFont* TextFont::instance()
{
    static std::unique_ptr<TextFont> font = [] {
        std::unique_ptr<TextFont> loaded(new TextFont);
        const std::string path = findTextFontFile();
        if (path.empty() || !loaded->load(path.c_str()))
            loaded.reset();
        return loaded;
    }();
    return font.get();
}

// The glyph of a character, or an empty one outside printable ASCII.
const GlyphImage& TextFont::glyph(unsigned char character) const
{
    if (character >= glyphs.size())
        return empty;
    return glyphs[character];
}

// Renders every printable ASCII glyph once, unhinted, at the fixed size.
bool TextFont::load(const char* path)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return false;
    FT_Face face = nullptr;
    bool loaded = FT_New_Face(library, path, 0, &face) == 0 &&
                  FT_Set_Pixel_Sizes(face, 0, platform_constants::textPixelSize) == 0;
    if (loaded) {
        const int32_t ascent = ceilPixels(face->size->metrics.ascender);
        height = ascent + ceilPixels(-face->size->metrics.descender);
        glyphs.assign(asciiCount, GlyphImage());
        for (int c = firstPrintable; c <= lastPrintable && loaded; ++c) {
            loaded = FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) == 0;
            if (loaded)
                glyphs[c] = copyGlyph(face->glyph, ascent);
            if (c == 'M')
                advance = roundPixels(face->glyph->advance.x);
        }
    }
    if (face)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    return loaded && advance > 0;
}
