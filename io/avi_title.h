// The title sequence: the three lines of text and which characters of each
// the title frame with t characters per line draws.
#pragma once

#include <cstdint>

constexpr int titleLineCount = 3;

// Full text of a title line (0, 1 or 2).
const char* titleLineText(int line);
// Characters in the full text of a line.
int32_t titleLineLength(int line);

// The characters of a line drawn at step t: positions start .. start + count - 1.
struct TitleSlice {
    int32_t start;
    int32_t count;
};

// Line 0 draws its first t characters. Lines 1 and 2 draw the t characters
// that end just before their slide end (34 and 35); once the slide would
// start before the line, it starts at 0. Never beyond the line's text.
TitleSlice titleSlice(int line, int32_t t);
