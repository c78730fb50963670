// AviOutput: the animation file of one run. open creates it with a title
// sequence and a fade-in of the picture as it is, every frame cycle appends
// the picture with writeFrame, close completes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "io/avi_messages.h"
#include "io/rgb_planes.h"
#include "platform/avi_file.h"
#include "platform/compress_options.h"
#include "platform/packed_dib.h"

class DrawSurface;

class AviOutput {
public:
    // What an open file is at.
    struct State {
        bool isOpen = false;
        int32_t width = 0;   // of every frame, fixed while open
        int32_t height = 0;
        AviFile* file = nullptr;
        AviStream* videoStream = nullptr;
        AviStream* compressedStream = nullptr;  // every frame is written here
        AviStream* textStream = nullptr;        // never written
        CompressOptions options;                // as the chooser gave them
        std::unique_ptr<PackedDib> currentDib;  // the frame made last
        AviResult lastResult = avi_result::ok;
    };

    // chooser picks the compressor of each file opened (null: full frames
    // without asking); messages shows what went wrong (null: standard error).
    explicit AviOutput(CompressorChooser chooser = nullptr, AviMessageHook messages = nullptr);
    // Completes a file still open.
    ~AviOutput();
    AviOutput(const AviOutput&) = delete;
    AviOutput& operator=(const AviOutput&) = delete;

    // The file name that the next open creates.
    void setFileName(const std::string& name) { aviFileName = name; }
    const std::string& fileName() const { return aviFileName; }

    // Creates the file with its streams at the picture's size and writes the
    // title sequence and the fade-in of the picture. On failure it has told
    // the user, closed everything and returns false.
    bool open(const RgbPlanes& picture);
    // Writes the picture as frame n of the run (position 187 + n). False
    // when the frame could not be made or written: the caller ends the run,
    // closes the file and tells the user with reportIncomplete.
    bool writeFrame(const RgbPlanes& picture, int32_t n);
    // Completes and closes the file if one is open; otherwise does nothing.
    void close();
    // Tells the user that the animation in fileName() is incomplete.
    void reportIncomplete();

    bool isOpen() const { return current.isOpen; }
    const State& state() const { return current; }

    // Frame makers: each replaces the current bitmap with a width x height
    // one and returns false (no bitmap then) when its memory cannot be had.
    // The picture as it is.
    bool makeFrameDib(const RgbPlanes& picture);
    // The picture darkened by the factor f.
    bool makeFadeDib(const RgbPlanes& picture, float f);
    // The title with t characters per line.
    bool makeTitleDib(int32_t t);
    // The drawn surface as the packed bitmap that becomes the current one.
    bool bitmapToDib(const DrawSurface& surface);
    // Frees the current bitmap.
    void releaseDib() { current.currentDib.reset(); }

private:
    bool failOpen();
    bool writeCurrentDib(int32_t position);
    bool createStreams();
    bool writeTitleSequence(const RgbPlanes& picture);
    std::unique_ptr<PackedDib> takeFrameBlock();
    template <typename Channel>
    bool makeImageDib(const RgbPlanes& picture, Channel channel);

    CompressorChooser chooseCompressor;
    AviMessageHook showMessage;
    std::string aviFileName;
    State current;
};
