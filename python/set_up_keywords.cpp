#include "python/set_up_keywords.h"

#include "python/option_text.h"
#include "python/python_errors.h"
#include "python/shapes_binding.h"

namespace py = pybind11;

namespace {

template <typename Options, typename Apply>
void applyChecked(Apply apply, const char* option, const std::string& text, Options& options)
{
    std::string error;
    if (!apply(option, text, options, error))
        raiseValueError(keywordMessage(error));
}

}  // namespace

SetUpChoices setUpChoices(const SetUpKeywords& k)
{
    SetUpChoices c;
    ScalarOptions& s = c.scalars;
    if (k.prandtl)
        applyChecked(applyScalarOption, "--prandtl", exactText(*k.prandtl), s);
    if (k.rayleigh)
        applyChecked(applyScalarOption, "--rayleigh", exactText(*k.rayleigh), s);
    if (k.gravity)
        applyChecked(applyScalarOption, "--gravity", *k.gravity, s);
    if (k.schmidt)
        applyChecked(applyScalarOption, "--schmidt", exactText(*k.schmidt), s);
    if (k.dyeBands)
        applyChecked(applyScalarOption, "--dye-bands", std::to_string(*k.dyeBands), s);
    c.bodies = bodiesFrom(k.bodies);
    ParticleOptions& p = c.particles;
    for (bool timeline : {false, true})
        for (const Emitter& e : emittersFrom(timeline ? k.timelines : k.emitters, timeline))
            p.emitters.push_back(e);
    if (k.releaseFromInflow != 0)
        applyChecked(applyParticleOption, "--release-from-inflow", std::to_string(k.releaseFromInflow), p);
    applyChecked(applyParticleOption, "--particle-cap", std::to_string(k.particleCap), p);
    if (k.particlesCsv)
        applyChecked(applyParticleOption, "--particles-csv", *k.particlesCsv, p);
    return c;
}
