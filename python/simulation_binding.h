// kelvo.Simulation: one run of the solver on a set-up, driven as kelvo-batch
// drives it (the same choices, defaults and steps, so the same bits), with
// its fields handed to Python as arrays.
#pragma once

#include <pybind11/pybind11.h>

void bindSimulation(pybind11::module_& m);
