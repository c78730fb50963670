// What kelvo.Grid carries beside its cells: bodies with exact outlines,
// particle emitters, and heat and dye with their arrays and numbers.
#pragma once

#include "python/grid_binding.h"

void bindGridSetUp(pybind11::class_<PyGrid>& cls);
