// Progress of a batch run on stderr: a redrawn bar on a terminal, a plain
// line every few seconds otherwise.
#pragma once

#include <cstdio>
#include <string>

class ProgressMeter {
public:
    // total: the number of steps the run will take; terminal: whether out is
    // a terminal (the bar is redrawn in place with carriage returns).
    ProgressMeter(std::FILE* out, long long total, bool terminal);

    // done steps after elapsed seconds; prints when the last print is old enough.
    void update(long long done, double elapsedSeconds);

    // Ends the bar's line, so later text starts on a fresh one.
    void finish();

private:
    std::FILE* out;
    long long total;
    bool terminal;
    bool drawn = false;           // whether a bar is on screen
    double lastPrint = 0.0;       // seconds at the last output
};

// "[#####.....]  45%  450/1000 steps  812.3 steps/s  0:03 left"
std::string progressBar(long long done, long long total, double elapsedSeconds, int width);

// "kelvo-batch: 450/1000 steps, 812.3 steps/s, 0:03 left"
std::string progressLine(long long done, long long total, double elapsedSeconds);

// Whole seconds as m:ss, or h:mm:ss from an hour on.
std::string formatDuration(double seconds);
