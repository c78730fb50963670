// The command line of kelvo-batch.
#pragma once

#include <optional>
#include <string>

struct BatchOptions {
    std::string gridPath;             // the grid file to run
    long long steps = 0;              // steps after the build step
    std::optional<int> reynolds;      // from the file unless given
    double dt = 0.0;
    std::optional<double> defaultU;   // from the file unless given
    std::optional<double> defaultV;
    std::string csvPath;              // "" for no dump, "-" for stdout
    bool help = false;                // --help: print usage, run nothing
};

// Fills options from argv; on failure returns false with a one-line reason.
bool parseBatchOptions(int argc, const char* const* argv, BatchOptions& options,
                       std::string& error);

// The usage text printed by --help.
std::string batchUsage();
