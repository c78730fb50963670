// What kelvo.Simulation shows of the heat, dye and tracer particles of its
// run: the temperature and dye fields, the particles, the walls' Nusselt
// numbers and the particles' CSV files.
#pragma once

#include "python/simulation.h"

#include <pybind11/pybind11.h>

void bindRunHeatDyeAndParticles(pybind11::class_<Simulation>& cls);
