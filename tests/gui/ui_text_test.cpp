// Both text tables: complete, alike in structure, and exact where a copying
// slip is easy to make.
#include "gui/ui_text.h"

#include "core/flow_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// How often c occurs in text.
int countOf(const char* text, char c)
{
    return static_cast<int>(std::count(text, text + std::string(text).size(), c));
}

// Whether the bytes are well-formed UTF-8.
bool isUtf8(const std::string& s)
{
    size_t k = 0;
    while (k < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[k]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
        if (extra < 0 || k + extra >= s.size() + (extra == 0 ? 1 : 0))
            return false;
        for (int e = 1; e <= extra; ++e)
            if ((static_cast<unsigned char>(s[k + e]) >> 6) != 0x2)
                return false;
        k += extra + 1;
    }
    return true;
}

TEST(UiTextTables, EveryKeyInUseHasATextInBothLanguages)
{
    for (int key : uiTextKeysInUse()) {
        EXPECT_NE(uiTextEnglish(key), nullptr) << "English key " << key;
        EXPECT_NE(uiTextPolish(key), nullptr) << "Polish key " << key;
    }
}

TEST(UiTextTables, BothTablesHoldTheSameKeysAndNoUnusedOnes)
{
    const auto& used = uiTextKeysInUse();
    for (int key = -5; key < 100; ++key) {
        const bool inUse = std::find(used.begin(), used.end(), key) != used.end();
        EXPECT_EQ(uiTextEnglish(key) != nullptr, inUse) << "English key " << key;
        EXPECT_EQ(uiTextPolish(key) != nullptr, inUse) << "Polish key " << key;
    }
    for (int unshown : {3, 7, 14, 23, 32, 51})
        EXPECT_EQ(uiTextEnglish(unshown), nullptr) << unshown;
}

TEST(UiTextTables, EntriesHaveTheSameShapeInBothLanguages)
{
    for (int key : uiTextKeysInUse()) {
        const char* en = uiTextEnglish(key);
        const char* pl = uiTextPolish(key);
        ASSERT_TRUE(en && pl);
        EXPECT_EQ(countOf(en, '\t'), countOf(pl, '\t')) << "tabs of key " << key;
        EXPECT_EQ(countOf(en, '&'), countOf(pl, '&')) << "hot keys of key " << key;
        EXPECT_EQ(en[0] == '\t', pl[0] == '\t') << "tool-bar form of key " << key;
    }
}

TEST(UiTextTables, PolishTextsAreUtf8AndEnglishTextsPlainAscii)
{
    for (int key : uiTextKeysInUse()) {
        const std::string en = uiTextEnglish(key);
        EXPECT_TRUE(std::all_of(en.begin(), en.end(), [](char c) { return (c & 0x80) == 0; }))
            << key;
        EXPECT_TRUE(isUtf8(uiTextPolish(key))) << key;
    }
    // "ó" and "ą" as two-byte sequences, not code page 1250 bytes.
    EXPECT_STREQ(uiTextPolish(TXT_CREATE_GRID), "&Nowa Siatka\tCtl-S\tStw\xC3\xB3rz Now\xC4\x85 Siatk\xC4\x99.");
}

TEST(UiTextTables, TextsKeepTheirTrailingBlanksAndSpellings)
{
    EXPECT_STREQ(uiTextEnglish(TXT_APP_NAME), "Kelvo -Fluxeria v1.0");
    EXPECT_STREQ(uiTextPolish(TXT_APP_NAME), "Kelvo -Fluxeria v1.0");
    EXPECT_STREQ(uiTextEnglish(TXT_NEW_GRID), "&New Grid\tCtl-N\tCreate New Grid. ");
    EXPECT_STREQ(uiTextEnglish(TXT_NEW_TOOL), "\t\tCreate New Grid. ");
    EXPECT_STREQ(uiTextEnglish(TXT_NOSLIP_BOUNDARY),
                 "&No Slip Boundary\tN\tBoundary Cell with NO SLIP condition");
    EXPECT_STREQ(uiTextEnglish(TXT_CREATE_GRID), "&Create Grid\tCtl-C\tCreate New Grid.");
    EXPECT_STREQ(uiTextEnglish(TXT_LOAD_GRID), "&Load Grid..\tCtl-L\tLoad Grid from file.");
    EXPECT_STREQ(uiTextPolish(TXT_NEW_TOOL), "\t\tDtw\xC3\xB3rz Now\xC4\x85 Siatk\xC4\x99. ");
    EXPECT_STREQ(uiTextPolish(TXT_FILE_MENU), "Plik");
    EXPECT_STREQ(uiTextPolish(TXT_INFO_U), "x vel");
    EXPECT_STREQ(uiTextEnglish(TXT_NOT_VALID), "Not valid *.grid file!");
    EXPECT_STREQ(uiTextPolish(TXT_CANNOT_ACCESS), "Nie mo\xC5\xBCna otworzy\xC4\x87 pliku!");
}

}  // namespace

// The window's blow-up message is the one kelvo-batch prints, and the
// Polish one takes the same numbers in the same order.
TEST(UiTextTables, BlowUpMessageMatchesTheCommandLineOne)
{
    char english[512];
    std::snprintf(english, sizeof english, uiTextEnglish(TXT_UNSTABLE_TEXT), 37LL, 1.8512, 0.00123);
    EXPECT_EQ(std::string(english), instabilityMessage(37, 1.8512, 0.00123));
    char polish[512];
    std::snprintf(polish, sizeof polish, uiTextPolish(TXT_UNSTABLE_TEXT), 37LL, 1.8512, 0.00123);
    const std::string shown(polish);
    for (const char* number : {"37", "1.851", "0.0012"})
        EXPECT_NE(shown.find(number), std::string::npos) << number << " in " << shown;
}
