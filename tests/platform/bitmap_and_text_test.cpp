// Packed bitmaps and the drawing surface with its text.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/draw_surface.h"
#include "platform/packed_dib.h"
#include "platform/text_font.h"

namespace {
const SurfaceColour white{255, 255, 255};

// Bounding box of the pixels that are not black.
struct LitBox {
    int32_t left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
    int count = 0;
};

LitBox litBox(const DrawSurface& surface)
{
    LitBox box;
    for (int32_t y = 0; y < surface.height(); ++y)
        for (int32_t x = 0; x < surface.width(); ++x) {
            const SurfaceColour c = surface.pixel(x, y);
            if (c.red || c.green || c.blue) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
                ++box.count;
            }
        }
    return box;
}
}  // namespace

TEST(PackedDib, RowLengthPadsToFourBytes)
{
    EXPECT_EQ(dibRowBytes(120), 360);
    EXPECT_EQ(dibRowBytes(21), 64);
    EXPECT_EQ(dibRowBytes(1), 4);
    EXPECT_EQ(dibRowBytes(4), 12);
    EXPECT_EQ(dibRowBytes(5), 16);
    EXPECT_EQ(dibColourTableEntries(24), 0);
    EXPECT_EQ(dibColourTableEntries(8), 256);
    EXPECT_EQ(dibColourTableEntries(1), 2);
}

TEST(PackedDib, HeaderOfA120By60Frame)
{
    const BitmapInfoHeader h = makeBitmapHeader(120, 60);
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 120);
    EXPECT_EQ(h.biHeight, 60);  // positive: bottom-up
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 24);
    EXPECT_EQ(h.biCompression, 0u);
    EXPECT_EQ(h.biSizeImage, 21600u);
    EXPECT_EQ(h.biXPelsPerMeter, 0);
    EXPECT_EQ(h.biYPelsPerMeter, 0);
    EXPECT_EQ(h.biClrUsed, 0u);
    EXPECT_EQ(h.biClrImportant, 0u);
    EXPECT_EQ(makeBitmapHeader(21, 7).biSizeImage, 64u * 7);
}

TEST(PackedDib, BlockIsZeroFilledWithPixelsAfterTheHeader)
{
    std::unique_ptr<PackedDib> dib = allocatePackedDib(21, 3);
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->size, 40u + 64 * 3);
    EXPECT_EQ(dib->pixels(), dib->block.get() + 40);
    for (size_t i = 0; i < 64 * 3; ++i)
        ASSERT_EQ(dib->pixels()[i], 0) << i;
}

TEST(PackedDib, RefusesSizesItCannotDescribe)
{
    EXPECT_FALSE(allocatePackedDib(0, 10));
    EXPECT_FALSE(allocatePackedDib(10, -1));
    EXPECT_FALSE(allocatePackedDib(100000, 100000));  // beyond the 32-bit size fields
}

TEST(PackedDib, SurfaceRowsAreStoredBottomUpAsBlueGreenRed)
{
    DrawSurface surface(21, 3);
    surface.setPixel(0, 0, SurfaceColour{10, 20, 30});   // top-left
    surface.setPixel(20, 2, SurfaceColour{40, 50, 60});  // bottom-right
    std::unique_ptr<PackedDib> dib = allocatePackedDib(21, 3);
    ASSERT_TRUE(dib);
    copySurfaceToDib(surface, *dib);
    const uint8_t* px = dib->pixels();
    // The top row is the last stored row.
    EXPECT_EQ(px[2 * 64 + 0], 30);
    EXPECT_EQ(px[2 * 64 + 1], 20);
    EXPECT_EQ(px[2 * 64 + 2], 10);
    // The bottom row is the first stored row.
    EXPECT_EQ(px[60], 60);
    EXPECT_EQ(px[61], 50);
    EXPECT_EQ(px[62], 40);
    // The padding byte of every row stays zero.
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(px[row * 64 + 63], 0);
    int lit = 0;
    for (int i = 0; i < 64 * 3; ++i)
        lit += px[i] != 0;
    EXPECT_EQ(lit, 6);
}

TEST(DrawSurface, SetPixelOutsideIsIgnored)
{
    DrawSurface surface(4, 3);
    surface.setPixel(-1, 0, white);
    surface.setPixel(4, 0, white);
    surface.setPixel(0, 3, white);
    surface.setPixel(0, -1, white);
    EXPECT_EQ(litBox(surface).count, 0);
    surface.setPixel(3, 2, white);
    surface.fillBlack();
    EXPECT_EQ(litBox(surface).count, 0);
}

TEST(TextFont, MonospacedFontIsFound)
{
    const TextFont* font = TextFont::instance();
    ASSERT_NE(font, nullptr) << "no font found through fontconfig";
    EXPECT_GT(font->cellWidth(), 4);
    EXPECT_LE(font->lineHeight(), 20);  // title lines are 20 pixels apart
    EXPECT_GT(font->lineHeight(), 10);
    EXPECT_GT(font->glyph('K').width, 0);
    EXPECT_EQ(font->glyph(' ').coverage.size(), 0u);
    EXPECT_EQ(font->glyph(200).width, 0);
}

TEST(DrawSurface, TextStaysInsideItsCells)
{
    const TextFont* font = TextFont::instance();
    ASSERT_NE(font, nullptr);
    DrawSurface surface(80, 40);
    surface.drawText(5, 4, "XY", 2, white);
    const LitBox box = litBox(surface);
    ASSERT_GT(box.count, 10);
    // A glyph may reach one pixel into the neighbouring cells.
    EXPECT_GE(box.left, 5 - 1);
    EXPECT_LE(box.right, 5 + 2 * font->cellWidth());
    EXPECT_GE(box.top, 4);
    EXPECT_LT(box.bottom, 4 + font->lineHeight());
    // Only the given count is drawn.
    DrawSurface one(80, 40);
    one.drawText(5, 4, "XY", 1, white);
    EXPECT_LE(litBox(one).right, 5 + font->cellWidth());
    EXPECT_LT(litBox(one).count, box.count);
}

TEST(DrawSurface, TextUsesItsColourOnBlack)
{
    DrawSurface surface(80, 40);
    const SurfaceColour pink{225, 215, 215};
    surface.drawText(0, 0, "Wm", 2, pink);
    int full = 0;
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 80; ++x) {
            const SurfaceColour c = surface.pixel(x, y);
            ASSERT_LE(c.red, 225);
            ASSERT_LE(c.green, 215);
            ASSERT_GE(c.red, c.green);
            ASSERT_EQ(c.green, c.blue);
            full += c.red == 225;
        }
    EXPECT_GT(full, 0);
}

TEST(DrawSurface, TextBackgroundIsBlackAndOtherPixelsStay)
{
    const TextFont* font = TextFont::instance();
    ASSERT_NE(font, nullptr);
    DrawSurface surface(60, 40);
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 60; ++x)
            surface.setPixel(x, y, white);
    surface.drawText(10, 10, "   ", 3, white);
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 60; ++x) {
            const bool inCells = x >= 10 && x < 10 + 3 * font->cellWidth() && y >= 10 &&
                                 y < 10 + font->lineHeight();
            ASSERT_EQ(surface.pixel(x, y).red, inCells ? 0 : 255) << x << "," << y;
        }
}

TEST(DrawSurface, TextIsClippedAtEveryEdge)
{
    DrawSurface surface(30, 12);
    const char* text = "Kelvo -Fluxeria 1.4.";
    surface.drawText(-25, -6, text, 20, white);
    surface.drawText(20, 5, text, 20, white);
    surface.drawText(-1000000, 1000000, text, 20, white);
    surface.drawText(INT32_MAX - 5, 0, text, 20, white);
    const LitBox box = litBox(surface);
    EXPECT_GT(box.count, 0);
    EXPECT_GE(box.left, 0);
    EXPECT_LT(box.right, 30);
    EXPECT_LT(box.bottom, 12);
}

TEST(DrawSurface, SameTextGivesTheSamePixels)
{
    DrawSurface a(120, 30);
    DrawSurface b(120, 30);
    a.drawText(3, 2, "by: Tobiah Vossen", 17, white);
    b.drawText(3, 2, "by: Tobiah Vossen", 17, white);
    EXPECT_EQ(std::memcmp(a.row(0), b.row(0), 120 * 30 * 3), 0);
}
