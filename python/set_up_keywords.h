// The keywords of kelvo.Simulation that change its copy of the set-up
// (bodies, heat and dye, emitters, the particle cap), checked by
// kelvo-batch's parsers of the options they are named after.
#pragma once

#include "python/simulation.h"

#include <pybind11/pybind11.h>

#include <optional>
#include <string>

struct SetUpKeywords {
    std::optional<double> prandtl, rayleigh, schmidt;
    std::optional<std::string> gravity;
    std::optional<long long> dyeBands;
    pybind11::object bodies = pybind11::list(), emitters = pybind11::list(), timelines = pybind11::list();
    long long releaseFromInflow = 0;  // 0: none
    long long particleCap = static_cast<long long>(particle_defaults::cap);
    std::optional<std::string> particlesCsv;
};

// ValueError with the option's message, named after the keyword, for a bad
// value; kelvo-batch's own message for a bad body or emitter text.
SetUpChoices setUpChoices(const SetUpKeywords& k);
