// Particle positions as CSV files, one per frame cycle: directory/
// particles_NNNNN.csv with the frame index of the run, a header line, then
// one line per particle in release order:
//   t,serial,emitter,x,y
// t the simulated time of the frame, serial the particle's release number,
// emitter the index of its emitter (-1 for a line released by hand), x and
// y in domain units; numbers round-trip to the same doubles.
#pragma once

#include "core/particles.h"

#include <cstdint>
#include <string>
#include <vector>

// The file's text.
std::string particleCsvText(const std::vector<Particle>& particles, double time);

// The path of frame index in directory.
std::string particleCsvPath(const std::string& directory, int32_t index);

// Writes frame index into directory (made when missing); false on failure.
bool writeParticleCsv(const std::string& directory, int32_t index, const std::vector<Particle>& particles,
                      double time);
