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
#include <vector>

struct PictureChoices {
    int size = 4;  // pixels per cell edge
    RenderElements elements;
};

// The elements a picture's keywords switch on.
struct PictureElements {
    bool boundary = true, streamlines = true, u = false, v = false, p = false, vectors = false;
    bool cells = false, particles = false;
};

// The keywords checked as kelvo-batch checks --size, --colour-map and --range;
// ValueError otherwise.
PictureChoices pictureChoices(int size, const PictureElements& shown, const std::optional<std::string>& colourMap,
                              const std::optional<std::pair<double, double>>& range);

// What a picture is drawn from: a copy of the run's state and particles,
// taken while the run is idle, so that the drawing needs neither the GIL
// nor the run, which may step on meanwhile.
struct PictureSnapshot {
    SimGrid state;
    std::vector<Particle> particles;
};
PictureSnapshot pictureSnapshot(const Simulation& s);

// The picture of the snapshot as a frame shows it: rows 1..H-1 and columns
// 1..W-1 (what a PPM frame holds), 3 bytes each. Touches no Python object.
PictureBytes renderPicture(const PictureSnapshot& snapshot, const PictureChoices& choices);

// The picture as a (height, width, 3) array, the top row first.
pybind11::array_t<uint8_t> pictureArray(const PictureBytes& picture);
