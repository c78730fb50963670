#include "python/simulation_flow_binding.h"

#include "io/particle_csv.h"
#include "python/array_views.h"
#include "python/python_errors.h"

#include <pybind11/numpy.h>

namespace py = pybind11;

namespace {

// A read-only view of the solver's temperature or dye, None while the run
// carries none.
py::object scalarView(py::object self, bool (*on)(const GridScalars&), Array2D<double> GridScalars::*member)
{
    const GridScalars& s = self.cast<const Simulation&>().batchRun().state().scalars;
    if (!on(s))
        return py::none();
    return arrayView(s.*member, self, false);
}

py::array_t<double> particlePositions(const Simulation& s)
{
    const std::vector<Particle>& particles = idle(s).batchRun().particles();
    py::array_t<double> out({static_cast<py::ssize_t>(particles.size()), static_cast<py::ssize_t>(2)});
    auto rows = out.mutable_unchecked<2>();
    for (size_t k = 0; k < particles.size(); ++k) {
        rows(static_cast<py::ssize_t>(k), 0) = particles[k].x;
        rows(static_cast<py::ssize_t>(k), 1) = particles[k].y;
    }
    return out;
}

py::array_t<int32_t> particleEmitters(const Simulation& s)
{
    const std::vector<Particle>& particles = idle(s).batchRun().particles();
    py::array_t<int32_t> out(static_cast<py::ssize_t>(particles.size()));
    int32_t* to = out.mutable_data();
    for (const Particle& p : particles)
        *to++ = p.emitter;
    return out;
}

py::list nusseltOf(Simulation& s)
{
    idle(s);
    Measurements& m = s.measurements();
    m.sampleForces(s.batchRun().state());
    py::list out;
    for (size_t k = 0; k < m.heatedWalls().size(); ++k) {
        const HeatedWallRecord& r = m.heatedWalls()[k];
        py::dict wall;
        wall["name"] = "heated" + std::to_string(k + 1);
        wall["temperature"] = r.wall.temperature;
        wall["faces"] = r.wall.faces.size();
        wall["nusselt"] = r.nusselt;
        out.append(wall);
    }
    return out;
}

std::string writeParticles(Simulation& s, const std::string& directory)
{
    const BatchRun& run = idle(s).batchRun();
    const int32_t index = s.nextParticleFile(directory);
    if (!writeParticleCsv(directory, index, run.particles(), run.simulatedTime()))
        raiseFileError("cannot write the particle file '" + particleCsvPath(directory, index) + "'");
    return particleCsvPath(directory, index);
}

}  // namespace

void bindRunHeatDyeAndParticles(py::class_<Simulation>& cls)
{
    cls.def_property_readonly("T", [](py::object self) {
        return scalarView(self, [](const GridScalars& s) { return s.heat; }, &GridScalars::T);
    }, "Temperature (float64) at each cell centre: a read-only view of the solver's own array,\n"
       "no copy, following the run; None when the run carries no heat.");
    cls.def_property_readonly("c", [](py::object self) {
        return scalarView(self, [](const GridScalars& s) { return s.dye; }, &GridScalars::c);
    }, "Dye concentration (float64, 0..1) at each cell centre: a read-only view of the solver's\n"
       "own array, no copy, following the run; None when the run carries no dye.");
    cls.def_property_readonly("particles", &particlePositions,
                              "The tracer particles' positions as a new (n, 2) array of (x, y), domain units, a\n"
                              "copy taken on each read, oldest particle first.");
    cls.def_property_readonly("particle_emitters", &particleEmitters,
                              "The index into the run's emitters of each particle's emitter, in the order of\n"
                              "particles (int32, -1 for none): a copy taken on each read.");
    cls.def("nusselt", &nusseltOf,
            "The mean Nusselt number Nu = q L / (k dT) of each group of walls that hold one\n"
            "temperature, now (positive where the wall heats the fluid): a list of dicts with\n"
            "name (heatedN, as in the history), temperature, faces, nusselt. Empty without heat.");
    cls.def("write_particles_csv", &writeParticles, py::arg("directory"),
            "Writes the particles now as the next file of directory (particles_00000.csv, ..., made\n"
            "when missing), with kelvo-batch --particles-csv's columns t,serial,emitter,x,y;\n"
            "returns its path.");
}
