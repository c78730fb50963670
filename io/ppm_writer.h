// PpmWriter: saves a picture as a plain-text PPM file ("P3"), and the
// numbered frame files of a run.
#pragma once

#include "core/parallel_parts.h"
#include "io/rgb_planes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What one write did: the file it was for, and whether every byte of it
// reached the file and the file closed cleanly.
struct PpmWriteResult {
    bool ok = false;
    std::string path;
};

// The numbered PPM files of one run, with the text buffers that are kept
// from frame to frame (fresh blocks each frame would cost their page faults
// every time).
class PpmFrameOutput {
public:
    // Frames go to directory ("" is the working directory), numbered from 0;
    // threads 0 formats on as many threads as there are cores.
    explicit PpmFrameOutput(std::string directory = "frames", int threads = 0);

    // Writes the picture's rows 1..H-1, columns 1..W-1 to
    // directory/frame_%05d.ppm with the next number, which advances by one
    // whatever happens. The directory is created when missing; a file that
    // could not be written whole is removed.
    PpmWriteResult writeFrame(const RgbPlanes& picture);
    // Writes the picture in PPM form to path, created or truncated; false
    // when the file cannot be created or any write or the close fails.
    bool writeFile(const RgbPlanes& picture, const std::string& path);

    // The number the next frame file gets.
    int32_t nextNumber() const { return next; }
    // The next frame file is number 0 again (a new picture was allocated).
    void restartNumbering() { next = 0; }
    void setNextNumber(int32_t number) { next = number; }

    const std::string& directory() const { return frameDirectory; }
    void setDirectory(const std::string& directory) { frameDirectory = directory; }

    // The text of some picture rows, formatted on one thread; each on its
    // own cache lines, as the threads fill theirs at once.
    struct alignas(64) RowText {
        std::vector<char> bytes;
        size_t used = 0;
    };

private:
    bool writeFrameFile(const RgbPlanes& picture, const std::string& path);

    std::string frameDirectory;
    int32_t next = 0;
    ParallelParts parallel;
    std::vector<RowText> texts;
};
