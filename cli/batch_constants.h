// Defaults and limits of the batch runner.
#pragma once

#include "sim/run_choices.h"

namespace batch_constants {
// Steps after the build step when --steps is not given.
constexpr long long defaultSteps = 100;
// Largest --steps accepted.
constexpr long long maxSteps = 1000000000;
// The most threads a solver uses.
constexpr long long maxThreads = 8;
// Time step when --dt is not given (the editor's default text "0.003").
constexpr double defaultDt = defaultRunDt;
// --re takes any number above 0 that the solver's single-precision
// Reynolds number holds: above 0 and finite once rounded to a float.

// Frames: cycles per frame (--interval) and pixels per cell edge (--size),
// with the simulation window's ranges and starting values.
constexpr long long minInterval = 1;
constexpr long long maxInterval = 1110;
constexpr int defaultInterval = 1;
constexpr long long minPixelsPerCell = 1;
constexpr long long maxPixelsPerCell = 15;
constexpr int defaultPixelsPerCell = 4;
// Directory of the PPM files when --ppm names none.
constexpr const char* defaultPpmDirectory = "frames";
// Motion JPEG quality in percent when --quality is not given.
constexpr int defaultQuality = 85;
constexpr long long minQuality = 0;
constexpr long long maxQuality = 100;

// Cells of a picture's grid each way (--grid-size), as a grid file holds.
constexpr long long minPictureCells = 3;
constexpr long long maxPictureAcross = 1024;
constexpr long long maxPictureUp = 512;

// Seconds between redraws of the terminal progress bar.
constexpr double barRedrawSeconds = 0.1;
// Seconds between progress lines when stderr is not a terminal.
constexpr double lineIntervalSeconds = 5.0;
// Characters of the terminal progress bar between its brackets.
constexpr int barWidth = 30;

// Exit statuses.
constexpr int exitOk = 0;
constexpr int exitRunFailed = 1;  // unreadable or invalid grid file, dump not written
constexpr int exitUsage = 2;      // bad command line
constexpr int exitUnstable = 3;   // the flow blew up; no dump written
constexpr int exitStopped = 4;    // SIGINT or SIGTERM stopped the run; its outputs written
}  // namespace batch_constants
