// The messages of the AVI output. They go through a hook given to the
// output: the windowed program shows them in message boxes, headless
// programs print them.
#pragma once

#include <functional>

namespace avi_messages {
constexpr const char* versionText = "Video For Windows Version 1.1 or more required";
constexpr const char* versionCaption = "no avi output becousse...";
constexpr const char* openFailedText = "Unable to create an Avi output...";
constexpr const char* problemCaption = "Problem with Avi output.";
// Prefix of the message shown when frames could not be written; the file
// name follows.
constexpr const char* incompleteText = "The animation could not be written completely: ";
}  // namespace avi_messages

// Shows one error message with its caption.
using AviMessageHook = std::function<void(const char* caption, const char* text)>;

// Prints "caption: text" on standard error.
void printAviMessage(const char* caption, const char* text);
