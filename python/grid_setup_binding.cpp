#include "python/grid_setup_binding.h"

#include "python/array_views.h"
#include "python/option_text.h"
#include "python/python_errors.h"
#include "python/shapes_binding.h"
#include "sim/body_options.h"
#include "sim/particle_options.h"
#include "sim/scalar_options.h"

#include <pybind11/stl.h>

#include <string>

namespace py = pybind11;

namespace {

// Heat or dye on, keeping arrays a view may still show; off keeps them too.
void switchHeat(PyGrid& g, bool on)
{
    GridScalars& s = g.grid.scalars;
    if (on && s.T.empty())
        enableHeat(s, g.grid.NX, g.grid.NY);
    s.heat = on;
}

void switchDye(PyGrid& g, bool on)
{
    GridScalars& s = g.grid.scalars;
    if (on && s.c.empty())
        enableDye(s, g.grid.NX, g.grid.NY);
    s.dye = on;
}

// One heat or dye option applied to the grid as kelvo-batch applies it:
// checked by its parser, and switching its quantity on.
void applyScalar(PyGrid& g, const char* option, const std::string& text)
{
    ScalarOptions options;
    std::string error;
    if (!applyScalarOption(option, text, options, error))
        raiseValueError(keywordMessage(error));
    const std::string name = option;
    if (name == "--schmidt" || name == "--dye-bands")
        switchDye(g, true);
    else
        switchHeat(g, true);
    applyScalarOptions(options, g.grid);
}

const char* gravityName(Gravity g)
{
    static const char* const names[] = {"down", "up", "west", "east"};
    return names[static_cast<int>(g)];
}

// A writable view of a heat or dye array, None while the quantity is off.
template <typename T>
py::object scalarView(py::object self, bool on, Array2D<T> GridScalars::*member)
{
    PyGrid& g = self.cast<PyGrid&>();
    if (!on)
        return py::none();
    return arrayView(g.grid.scalars.*member, self, true);
}

void bindBodies(py::class_<PyGrid>& cls)
{
    cls.def_property_readonly("bodies", [](const PyGrid& g) { return g.grid.outlines; },
                              "The bodies with exact outlines, in the order drawn: a list of kelvo.Body, copies.");
    cls.def("add_body", [](PyGrid& g, py::handle body) { drawBodies({bodyFrom(body)}, g.grid); }, py::arg("body"),
            "Draws a body over the grid as kelvo-batch's --body does: a kelvo.Body or its text\n"
            "('circle:X,Y,R', 'polygon:X1,Y1;X2,Y2;...', 'naca:DIGITS,X,Y,CHORD,ANGLE'). The cells\n"
            "it covers wholly become no-slip walls at rest; the solver keeps the outline itself.");
    cls.def_property_readonly("emitters", [](const PyGrid& g) { return g.grid.emitters; },
                              "The tracer-particle emitters, in order: a list of kelvo.Emitter, copies.");
    cls.def("add_emitter", [](PyGrid& g, py::handle emitter) {
        ParticleOptions options;
        options.emitters.push_back(emitterFrom(emitter, false));
        addOptionEmitters(options, g.grid);
    }, py::arg("emitter"),
       "Adds an emitter after the grid's own, coloured by its place in the list: a kelvo.Emitter\n"
       "or kelvo-batch's --emitter text 'X1,Y1[,X2,Y2][:EVERY]'.");
}

void bindHeatAndDye(py::class_<PyGrid>& cls)
{
    cls.def_property("heat", [](const PyGrid& g) { return g.grid.scalars.heat; }, &switchHeat,
                     "Whether the grid carries heat. Switched on, every cell starts at temperature 0 with\n"
                     "every wall insulated (fixed_temperature 0), Pr 0.71, Ra 0, gravity down.");
    cls.def_property("dye", [](const PyGrid& g) { return g.grid.scalars.dye; }, &switchDye,
                     "Whether the grid carries dye. Switched on, the concentration starts at 0 everywhere,\n"
                     "Sc 1000, no bands at the inflow.");
    cls.def_property_readonly("fixed_temperature", [](py::object self) {
        PyGrid& g = self.cast<PyGrid&>();
        return scalarView(self, g.grid.scalars.heat, &GridScalars::fixedTemperature);
    }, "1 (uint8) where a wall cell holds its temperature T, 0 where it is insulated (inflow\n"
       "cells always hold theirs): a writable view, None without heat.");
    cls.def_property_readonly("T", [](py::object self) {
        PyGrid& g = self.cast<PyGrid&>();
        return scalarView(self, g.grid.scalars.heat, &GridScalars::T);
    }, "Temperature (float64) at each cell centre: held by walls with fixed_temperature and by\n"
       "inflow cells, the starting value elsewhere. A writable view, None without heat.");
    cls.def_property_readonly("c", [](py::object self) {
        PyGrid& g = self.cast<PyGrid&>();
        return scalarView(self, g.grid.scalars.dye, &GridScalars::c);
    }, "Dye concentration (float64, 0..1) at each cell centre at the start. A writable view, None\n"
       "without dye.");
    cls.def_property("prandtl", [](const PyGrid& g) { return g.grid.scalars.heatSettings.prandtl; },
                     [](PyGrid& g, double v) { applyScalar(g, "--prandtl", exactText(v)); },
                     "Heat: the Prandtl number, above 0. Setting it switches heat on (--prandtl).");
    cls.def_property("rayleigh", [](const PyGrid& g) { return g.grid.scalars.heatSettings.rayleigh; },
                     [](PyGrid& g, double v) { applyScalar(g, "--rayleigh", exactText(v)); },
                     "Heat: the Rayleigh number on the inner height of the domain. Setting it switches\n"
                     "heat on (--rayleigh).");
    cls.def_property("gravity", [](const PyGrid& g) { return gravityName(g.grid.scalars.heatSettings.gravity); },
                     [](PyGrid& g, const std::string& v) { applyScalar(g, "--gravity", v); },
                     "Heat: the way gravity points, 'down', 'up', 'west' or 'east'. Setting it switches heat\n"
                     "on (--gravity).");
    cls.def_property("schmidt", [](const PyGrid& g) { return g.grid.scalars.dyeSettings.schmidt; },
                     [](PyGrid& g, double v) { applyScalar(g, "--schmidt", exactText(v)); },
                     "Dye: the Schmidt number, above 0. Setting it switches dye on (--schmidt).");
    cls.def_property("dye_bands", [](const PyGrid& g) { return g.grid.scalars.dyeSettings.bandWidth; },
                     [](PyGrid& g, long long v) { applyScalar(g, "--dye-bands", std::to_string(v)); },
                     "Dye: the inflow carries dye in bands this many cells wide, 0..65536 (0: none).\n"
                     "Setting it switches dye on (--dye-bands).");
}

}  // namespace

void bindGridSetUp(py::class_<PyGrid>& cls)
{
    bindBodies(cls);
    bindHeatAndDye(cls);
}
