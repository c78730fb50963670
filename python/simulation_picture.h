// The rendered picture of a run, for kelvo.Simulation.picture and save_png:
// the frame the window and kelvo-batch compose, with the elements and the
// colour map chosen by keywords.
#pragma once

#include "platform/picture_file.h"
#include "python/simulation.h"
#include "render/compose_frame.h"

#include <pybind11/numpy.h>

#include <optional>
#include <string>
#include <utility>

struct PictureChoices {
    int size = 4;  // pixels per cell edge
    RenderElements elements;
};

// The keywords checked as kelvo-batch checks --size, --colour-map and --range;
// ValueError otherwise.
PictureChoices pictureChoices(int size, bool boundary, bool streamlines, bool u, bool v, bool p, bool vectors,
                              const std::optional<std::string>& colourMap,
                              const std::optional<std::pair<double, double>>& range);

// The picture of the state as a frame shows it: rows 1..H-1 and columns
// 1..W-1 (what a PPM frame holds), 3 bytes each.
PictureBytes renderPicture(const Simulation& s, const PictureChoices& choices);

// The picture as a (height, width, 3) array, the top row first.
pybind11::array_t<uint8_t> pictureArray(const PictureBytes& picture);
