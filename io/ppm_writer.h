// PpmWriter: saves the picture as a numbered plain-text PPM file ("P3").
#pragma once

#include <string>

// What one write did: the file it was for, and whether every byte of it
// reached the file and the file closed cleanly.
struct PpmWriteResult {
    bool ok = false;
    std::string path;
};

// Writes the picture's rows 1..H-1, columns 1..W-1 to
// directory/frame_%05d.ppm numbered by ppmFrameCounter, which advances by
// one whatever happens. The directory is created when missing; a file that
// could not be written whole is removed.
PpmWriteResult writePpmFrame(const std::string& directory = "frames");

// Writes the picture in PPM form to path, created or truncated; false when
// the file cannot be created or any write or the close fails.
bool writePpmFile(const std::string& path);
