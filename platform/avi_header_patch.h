// Corrections of the stream headers of a completed AVI file, written in
// place where the container library writes them its own way:
// - unencoded RGB frames get the bottom-up bitmap header they were given
//   (the library stores a top-down one with unpadded rows);
// - the text stream, which the library can only hold as a data stream, gets
//   its type, handler, buffer size and rectangle back, and its format where
//   the reserved space behind its header allows.
#pragma once

#include <cstdint>
#include <string>

#include "platform/avi_file.h"
#include "platform/packed_dib.h"

// Writes header over the format of stream index; false if it is not there.
bool restoreBitmapFormat(const std::string& path, int index, const BitmapInfoHeader& header);
// Writes the text stream's header fields and its 4-byte format.
bool restoreTextStream(const std::string& path, int index, const AviStreamInfo& info, int32_t format);
