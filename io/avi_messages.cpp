#include "io/avi_messages.h"

#include <cstdio>

// One line per message.
void printAviMessage(const char* caption, const char* text)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
}
