// The AVI output: the program's single animation file. aviOpen creates it
// with a title sequence and a fade-in of the current FrameImage, every frame
// cycle appends the FrameImage with aviWriteFrame, aviClose completes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/avi_file.h"
#include "platform/compress_options.h"
#include "platform/packed_dib.h"

class DrawSurface;

// State of the single AVI output.
struct AviOutput {
    bool isOpen = false;
    std::string aviFileName;
    int32_t width = 0;   // of every frame, fixed while open
    int32_t height = 0;
    AviFile* file = nullptr;
    AviStream* videoStream = nullptr;
    AviStream* compressedStream = nullptr;  // every frame is written here
    AviStream* textStream = nullptr;        // never written
    CompressOptions options;                // as the user chose them
    std::unique_ptr<PackedDib> currentDib;  // the frame made last
    AviResult lastResult = avi_result::ok;
};

// The program's AVI output.
AviOutput& aviOutput();

// Sets the file name that the next aviOpen creates.
void setAviFileName(const std::string& name);
// Installs the compressor choice (the dialog in the windowed program); null
// restores the headless default, full frames.
void setAviCompressorChooser(CompressorChooser chooser);

// Creates the file with its streams and writes the title sequence. On
// failure it has told the user, closed everything and returns false.
bool aviOpen();
// Writes the current FrameImage as frame n of the run (position 187 + n).
// False when the frame could not be made or written: the caller ends the
// run, closes the file and tells the user with aviReportIncomplete.
bool aviWriteFrame(int32_t n);
// Completes and closes the file if one is open; otherwise does nothing.
void aviClose();
// Tells the user that the animation in aviFileName is incomplete.
void aviReportIncomplete();

// Frame makers: each replaces currentDib with a width x height bitmap and
// returns false (currentDib then none) when its memory cannot be obtained.
// The FrameImage as it is.
bool makeFrameDib();
// The FrameImage darkened by the factor f.
bool makeFadeDib(float f);
// The title with t characters per line.
bool makeTitleDib(int32_t t);
// The drawn surface as the packed bitmap that becomes currentDib.
bool bitmapToDib(const DrawSurface& surface);
// Frees currentDib.
void releaseDib();
