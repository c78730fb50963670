// The Python module kelvo: set-ups, runs and their fields as numpy arrays.
#include "python/grid_binding.h"
#include "python/python_errors.h"
#include "python/shapes_binding.h"
#include "python/simulation_binding.h"

PYBIND11_MODULE(kelvo, m)
{
    m.doc() = "Two-dimensional incompressible viscous flow, as the kelvo programs compute it.\n\n"
              "    grid = kelvo.Grid.load('cavity.grid')\n"
              "    sim = kelvo.Simulation(grid, re=100)\n"
              "    sim.run(until_steady=1e-6, steps=20000)\n"
              "    u = sim.u          # a read-only view of the solver's u, no copy\n\n"
              "Arrays are indexed [i, j]: i west to east, j south to north, the border ring\n"
              "included (for pictures: imshow(a.T, origin='lower')). Lengths are domain units:\n"
              "the domain is 1 high.";
    m.attr("__version__") = KELVO_VERSION;
    registerErrors(m);
    bindShapes(m);
    bindGrid(m);
    bindSimulation(m);
}
