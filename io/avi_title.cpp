#include "io/avi_title.h"

#include <algorithm>
#include <cstring>

#include "io/avi_constants.h"

namespace {
// Ten spaces, the name, 54 spaces: 84 characters.
constexpr const char* nameLine =
    "          Kelvo -Fluxeria 1.4.                                                      ";
// The author, then 40 spaces: 59 characters.
constexpr const char* authorLine = "  by: Tobiah Vossen                                        ";
// Two spaces, the web address, spaces up to 58 characters.
constexpr const char* addressLine = "  kelvo-fluxeria.example.org                              ";
}  // namespace

// The three lines in order.
const char* titleLineText(int line)
{
    static const char* const lines[titleLineCount] = {nameLine, authorLine, addressLine};
    return line >= 0 && line < titleLineCount ? lines[line] : "";
}

// Length of the full text.
int32_t titleLineLength(int line)
{
    return static_cast<int32_t>(std::strlen(titleLineText(line)));
}

// line 0:    start = 0
// lines 1,2: start = max(0, end - t), end = 34 or 35
// count = min(t, length - start), never negative
TitleSlice titleSlice(int line, int32_t t)
{
    if (line < 0 || line >= titleLineCount || t <= 0)
        return TitleSlice{0, 0};
    const int32_t end = avi_constants::titleSlideEnds[line];
    const int32_t start = line == 0 ? 0 : std::max(0, end - t);
    const int32_t count = std::max(0, std::min(t, titleLineLength(line) - start));
    return TitleSlice{start, count};
}
