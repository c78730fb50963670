#include "io/avi_messages.h"

#include <cstdio>

namespace {
AviMessageHook messageHook = printAviMessage;
}  // namespace

// Null falls back to standard error.
void setAviMessageHook(AviMessageHook hook)
{
    messageHook = hook ? hook : printAviMessage;
}

// Through the installed hook.
void showAviMessage(const char* caption, const char* text)
{
    messageHook(caption, text);
}

// One line per message.
void printAviMessage(const char* caption, const char* text)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
}
