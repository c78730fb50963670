// FrameSaving: what a frame cycle does with the composed picture after it
// has been drawn (append it to the AVI file, write it as the next PPM file),
// what it writes beside the picture (the fields as the next VTK file), and
// what went wrong doing it.
#pragma once

#include <cstdint>
#include <string>

// Where the frames of a run go.
struct FrameSaving {
    bool avi = false;                   // the open AVI output
    bool ppm = false;                   // numbered PPM files
    bool vtk = false;                   // numbered VTK field files and their collection
};

// What went wrong while saving one frame; ok when nothing did.
struct FrameSaveResult {
    bool ok = true;
    bool aviFailed = false;   // the frame did not reach the AVI file
    std::string ppmFailedPath;  // the PPM file that could not be written
    std::string vtkFailedPath;  // the VTK file (or collection) that could not be written
};

// The AVI file name for a chosen name: the name followed by ".avi" unless
// its last four characters are exactly ".avi" (case-sensitive).
std::string aviFileNameFor(const std::string& chosen);
