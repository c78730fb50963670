// The tracer-particle options of kelvo-batch, which the Python module takes
// as keywords and emitter texts: emitters, the release from the inflow, the
// cap on the count and the positions as CSV files.
#pragma once

#include "core/emitter.h"
#include "core/grid.h"

#include <cstddef>
#include <cstdint>
#include <string>

struct ParticleOptions {
    Emitters emitters;                // --emitter and --timeline, in order
    int32_t inflowEvery = 0;          // --release-from-inflow EVERY; 0: not asked
    std::size_t cap;                  // --particle-cap N
    std::string csvDirectory;         // --particles-csv DIR; "" for none

    ParticleOptions();
};

bool isParticleOption(const std::string& name);
// One particle option with its value; false with a reason when it is bad.
bool applyParticleOption(const std::string& name, const std::string& text, ParticleOptions& o, std::string& error);

// Adds the emitters the options ask for to the grid's own, after them, each
// coloured by its place in the list.
void addOptionEmitters(const ParticleOptions& o, Grid& grid);

// The lines of --help about them.
extern const char* const particleUsage;
