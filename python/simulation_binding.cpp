#include "python/simulation_binding.h"

#include "core/centre_values.h"
#include "core/probe.h"
#include "python/array_views.h"
#include "python/grid_arrays.h"
#include "python/grid_binding.h"
#include "python/python_errors.h"
#include "python/set_up_keywords.h"
#include "python/simulation.h"
#include "python/simulation_picture.h"
#include "python/simulation_flow_binding.h"

#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace py = pybind11;

// dt: a number, or "auto".
using TimeStep = std::variant<double, std::string>;

namespace {

// The most threads a solver takes, as kelvo-batch allows.
constexpr int maxThreads = 8;
// Steps between looks at Ctrl-C, and between calls of a progress callback
// when the caller names no interval.
constexpr long long stepsBetweenChecks = 100;

// The keywords a Simulation takes, checked as kelvo-batch checks its options.
RunChoices runChoices(std::optional<double> re, const std::optional<TimeStep>& dt,
                      const std::optional<std::string>& method, const std::optional<std::string>& pressure,
                      int threads, std::optional<double> defaultU, std::optional<double> defaultV,
                      const std::optional<std::string>& initialField)
{
    RunChoices c;
    if (re) {
        if (!std::isfinite(*re) || !(*re > 0.0) || *re > std::numeric_limits<float>::max() ||
            !(static_cast<float>(*re) > 0.0f))
            raiseValueError("re needs a finite number above 0 (from 1.4e-45 to 3.4e38), not " + py::str(py::float_(*re)).cast<std::string>());
        c.reynolds = re;
    }
    if (dt) {
        c.dtGiven = true;
        if (const auto* text = std::get_if<std::string>(&*dt)) {
            if (*text != "auto")
                raiseValueError("dt needs a finite number above 0 or 'auto', not '" + *text + "'");
            c.automaticDt = true;
        } else {
            const double value = std::get<double>(*dt);
            if (!std::isfinite(value) || !(value > 0.0))
                raiseValueError("dt needs a finite number above 0 or 'auto', not " + py::str(py::float_(value)).cast<std::string>());
            c.dt = value;
        }
    }
    if (method) {
        c.convectionGiven = true;
        if (!parseConvection(*method, c.convection))
            raiseValueError("method needs rk3, central, blended or designed, not '" + *method + "'");
    }
    if (pressure) {
        c.pressureGiven = true;
        if (!parsePressureSolver(*pressure, c.pressure))
            raiseValueError("pressure needs gauss-seidel or multigrid, not '" + *pressure + "'");
    }
    if (threads < 0 || threads > maxThreads)
        raiseValueError("threads needs a whole number from 0 (the machine's cores) to " + std::to_string(maxThreads) +
                        ", not " + std::to_string(threads));
    c.threads = threads;
    c.defaultU = defaultU;
    c.defaultV = defaultV;
    if (initialField) {
        if (*initialField != "file" && *initialField != "default")
            raiseValueError("initial_field needs 'file' or 'default', not '" + *initialField + "'");
        c.startFromStoredField = *initialField == "file";
    }
    return c;
}

MeasureChoices measureChoices(const std::vector<std::pair<double, double>>& probes, bool history)
{
    MeasureChoices m;
    for (const auto& [x, y] : probes)
        m.probes.push_back(ProbePoint{x, y});
    m.history = history;
    return m;
}

// Marks the run as stepping for as long as it lives; a second thread that
// tries to step the same run is refused.
class SteppingGuard {
public:
    explicit SteppingGuard(Simulation& s) : flag(s.stepping)
    {
        if (flag.exchange(true))
            throw std::runtime_error("this Simulation is already stepping");
    }
    ~SteppingGuard() { flag = false; }
    SteppingGuard(const SteppingGuard&) = delete;
    SteppingGuard& operator=(const SteppingGuard&) = delete;

private:
    std::atomic<bool>& flag;
};

// The limits of one run() call, dropped again however it ends, so that
// later steps neither stop early nor pay for tracking changes.
class RunLimits {
public:
    RunLimits(BatchRun& run, std::optional<double> steady, std::optional<double> time) : run(run)
    {
        run.setLimits(steady, time);
    }
    ~RunLimits() { run.setLimits(std::nullopt, std::nullopt); }
    RunLimits(const RunLimits&) = delete;
    RunLimits& operator=(const RunLimits&) = delete;

private:
    BatchRun& run;
};

// Sets advancing for as long as it lives; made while the GIL is held, and
// ended after it is taken back.
class AdvancingFlag {
public:
    explicit AdvancingFlag(Simulation& s) : flag(s.advancing) { flag = true; }
    ~AdvancingFlag() { flag = false; }
    AdvancingFlag(const AdvancingFlag&) = delete;
    AdvancingFlag& operator=(const AdvancingFlag&) = delete;

private:
    std::atomic<bool>& flag;
};

// Up to count steps without the GIL, stopping early when the run finishes.
// Returns the steps taken.
long long stepsWithoutInterpreter(Simulation& s, long long count)
{
    AdvancingFlag advancing(s);
    py::gil_scoped_release release;
    long long taken = 0;
    while (taken < count && !s.batchRun().finished() && s.writeFailure().empty()) {
        s.advance();
        ++taken;
    }
    return taken;
}

// A blow-up, or a particle file that could not be written (the next step
// tries again).
void raiseIfBlownUp(Simulation& s)
{
    if (s.batchRun().unstable())
        raiseBlowUp(s.batchRun().instabilityText());
    if (!s.writeFailure().empty()) {
        const std::string message = s.writeFailure();
        s.clearWriteFailure();
        raiseFileError(message);
    }
}

void step(Simulation& s, long long n)
{
    if (n < 0)
        raiseValueError("step needs a whole number from 0 up, not " + std::to_string(n));
    SteppingGuard guard(s);
    raiseIfBlownUp(s);
    if (n > 0)
        s.noteStop("step-limit");
    for (long long done = 0; done < n;) {
        const long long taken = stepsWithoutInterpreter(s, std::min(stepsBetweenChecks, n - done));
        done += taken;
        raiseIfBlownUp(s);
        if (PyErr_CheckSignals() != 0)
            throw py::error_already_set();
        if (taken == 0)
            break;
    }
}

std::string runUntil(Simulation& s, std::optional<double> untilSteady, std::optional<double> untilTime,
                     std::optional<long long> steps, const py::object& progress, long long progressEvery)
{
    if (!untilSteady && !untilTime && !steps)
        raiseValueError("run needs steps, until_steady or until_time");
    if (untilSteady && (!std::isfinite(*untilSteady) || *untilSteady < 0.0))
        raiseValueError("until_steady needs a finite number from 0 up");
    if (untilTime && (!std::isfinite(*untilTime) || !(*untilTime > 0.0)))
        raiseValueError("until_time needs a finite number above 0");
    if (steps && *steps < 0)
        raiseValueError("steps needs a whole number from 0 up");
    if (progressEvery < 1)
        raiseValueError("progress_every needs a whole number from 1 up");
    SteppingGuard guard(s);
    raiseIfBlownUp(s);
    BatchRun& run = s.batchRun();
    RunLimits limits(run, untilSteady, untilTime);
    const long long limit = steps.value_or(std::numeric_limits<long long>::max());
    for (long long done = 0; done < limit && !run.finished();) {
        done += stepsWithoutInterpreter(s, std::min(progressEvery, limit - done));
        if (PyErr_CheckSignals() != 0)
            throw py::error_already_set();
        raiseIfBlownUp(s);
        if (!progress.is_none()) {
            const py::object answer = progress(done, run.simulatedTime());
            if (!answer.is_none() && !answer.cast<bool>()) {
                s.noteStop("stopped");
                return "stopped";
            }
        }
    }
    s.noteStop(run.stopReason());
    raiseIfBlownUp(s);
    return run.stopReason();
}

py::dict settingsOf(const Simulation& s)
{
    const RunParameters& r = s.parameters();
    py::dict d;
    d["re"] = r.reynolds;
    d["dt"] = r.automaticDt ? py::object(py::str("auto")) : py::object(py::float_(r.dt));
    d["method"] = convectionName(r.convection);
    d["pressure"] = pressureSolverName(r.pressure);
    d["threads"] = r.threads;
    return d;
}

py::list forcesOf(Simulation& s)
{
    idle(s);
    Measurements& m = s.measurements();
    m.sampleForces(s.batchRun().state());
    const std::vector<std::string>& columns = s.historyColumns();
    py::list out;
    // The history's columns name the bodies: NAME_cd, NAME_cl, NAME_fx, NAME_fy.
    constexpr size_t firstBodyColumn = 7;
    for (size_t k = 0; k < m.bodies().size(); ++k) {
        const BodyRecord& r = m.bodies()[k];
        const std::string& cd = columns[firstBodyColumn + 4 * k];
        py::dict body;
        body["name"] = cd.substr(0, cd.size() - 3);
        body["outline"] = r.outline >= 0 ? py::object(py::int_(r.outline)) : py::object(py::none());
        body["cells"] = r.body.cells;
        body["all_walls"] = r.body.allWalls;
        body["reference_length"] = r.length;
        body["fx"] = r.force.fx;
        body["fy"] = r.force.fy;
        body["cd"] = r.cd;
        body["cl"] = r.cl;
        out.append(body);
    }
    return out;
}

py::dict historyOf(const Simulation& s)
{
    idle(s);
    py::dict out;
    const auto& columns = s.historyColumns();
    const auto& values = s.historyValues();
    for (size_t k = 0; k < columns.size(); ++k) {
        py::array_t<double> column(static_cast<py::ssize_t>(values[k].size()));
        std::copy(values[k].begin(), values[k].end(), column.mutable_data());
        out[columns[k].c_str()] = column;
    }
    return out;
}

std::unique_ptr<Simulation> restart(const std::string& path, const RunChoices& choices, const SetUpChoices& extras,
                                    const MeasureChoices& measure)
{
    RunState saved;
    const StateFileStatus status = readStateFile(path, saved);
    if (status == StateFileStatus::CannotOpen)
        raiseFileError(stateFileMessage(status, path));
    if (status != StateFileStatus::Ok)
        raiseValueError(stateFileMessage(status, path));
    return std::make_unique<Simulation>(std::move(saved), choices, extras, measure);
}

// A centre value of every cell, computed now.
template <typename Value>
py::array_t<double> centreArray(const Simulation& s, Value value)
{
    const SimGrid& g = idle(s).batchRun().state();
    return computedArray(g.NX, g.NY, [&](int i, int j) { return value(g, i, j); });
}

}  // namespace

void bindSimulation(py::module_& m)
{
    py::class_<Simulation> cls(m, "Simulation",
        "One run of the solver on a set-up, as kelvo-batch runs it: the same options, defaults\n"
        "and steps, so the same fields bit for bit. The grid is copied: the Grid passed in is\n"
        "not changed. Building the run writes the default velocities (unless it starts from the\n"
        "stored field) and takes the build step, as kelvo-batch and the window do; step(n)\n"
        "then takes n more. Steps run without the GIL: other threads (another Simulation\n"
        "among them) go on meanwhile. While one thread steps a run, another that reads it\n"
        "through forces(), probe(), picture() and the like gets a RuntimeError, and one that\n"
        "looks through a view (u, v, p) may see a step half done; a progress callback reads it\n"
        "whole.");
    cls.def(py::init([](const PyGrid& grid, std::optional<double> re,
                        std::optional<TimeStep> dt, std::optional<std::string> method,
                        std::optional<std::string> pressure, int threads, std::optional<double> defaultU,
                        std::optional<double> defaultV, std::optional<std::string> initialField,
                        std::vector<std::pair<double, double>> probes, bool history, std::optional<double> prandtl,
                        std::optional<double> rayleigh, std::optional<std::string> gravity,
                        std::optional<double> schmidt, std::optional<long long> dyeBands, py::object bodies,
                        py::object emitters, py::object timelines, long long releaseFromInflow, long long particleCap,
                        std::optional<std::string> particlesCsv) {
                const SetUpKeywords k{prandtl, rayleigh, schmidt, gravity, dyeBands, bodies, emitters,
                                      timelines, releaseFromInflow, particleCap, particlesCsv};
                return std::make_unique<Simulation>(
                    grid, runChoices(re, dt, method, pressure, threads, defaultU, defaultV, initialField),
                    setUpChoices(k), measureChoices(probes, history));
            }),
            py::arg("grid"), py::kw_only(), py::arg("re") = py::none(), py::arg("dt") = py::none(),
            py::arg("method") = py::none(), py::arg("pressure") = py::none(), py::arg("threads") = 0,
            py::arg("default_u") = py::none(), py::arg("default_v") = py::none(),
            py::arg("initial_field") = py::none(), py::arg("probes") = std::vector<std::pair<double, double>>{},
            py::arg("history") = true, py::arg("prandtl") = py::none(), py::arg("rayleigh") = py::none(),
            py::arg("gravity") = py::none(), py::arg("schmidt") = py::none(), py::arg("dye_bands") = py::none(),
            py::arg("bodies") = py::list(), py::arg("emitters") = py::list(), py::arg("timelines") = py::list(),
            py::arg("release_from_inflow") = 0,
            py::arg("particle_cap") = static_cast<long long>(particle_defaults::cap),
            py::arg("particles_csv") = py::none(),
            "re: Reynolds number (default: the grid's). dt: a time step above 0 or 'auto' (default:\n"
            "the one the grid file stores, else 0.003). method: 'rk3' (default), 'central', 'blended'\n"
            "or 'designed'. pressure: 'multigrid' (default; 'gauss-seidel' for 'designed').\n"
            "threads: the pressure solver's threads, 0 for the machine's cores (the bits are the\n"
            "same with any number). default_u, default_v: the velocities written into the fluid\n"
            "cells (default: the grid's). initial_field: 'file' to start from the grid's stored\n"
            "velocities, 'default' to write the default ones (default: the file's choice).\n"
            "probes: (x, y) points, domain units, whose u, v, p the history records. history: record\n"
            "a history line after every step (kelvo-batch --history's columns).\n"
            "The set-up keywords change the run's copy of the grid as kelvo-batch's options of\n"
            "the same names do, in its order (bodies, heat and dye, emitters):\n"
            "bodies: kelvo.Body objects or --body texts, drawn over the grid. prandtl (default\n"
            "0.71), rayleigh, gravity ('down', 'up', 'west', 'east'): heat, switched on by any of\n"
            "them; unless given, the grid's. schmidt (default 1000), dye_bands (cells, 0: none):\n"
            "dye, likewise. emitters: kelvo.Emitter objects or --emitter texts\n"
            "'X1,Y1[,X2,Y2][:EVERY]', then timelines: --timeline texts 'X1,Y1,X2,Y2', added after\n"
            "the grid's own. release_from_inflow: an emitter along every run of inflow cells\n"
            "releasing every that many steps (0: none). particle_cap: particles kept at most,\n"
            "the oldest removed first (default 100000). particles_csv: a directory the particles go\n"
            "to after every step, particles_00000.csv on, as kelvo-batch --particles-csv writes them\n"
            "on each frame cycle (made when missing; OSError, the steps stopped, when one cannot be\n"
            "written).");
    cls.def_static("restart", [](const std::string& path, std::optional<double> re,
                                 std::optional<TimeStep> dt, std::optional<std::string> method,
                                 std::optional<std::string> pressure, int threads,
                                 std::vector<std::pair<double, double>> probes, bool history, py::object bodies,
                                 py::object emitters, py::object timelines, long long releaseFromInflow,
                                 long long particleCap, std::optional<std::string> particlesCsv) {
                       SetUpKeywords k;
                       k.particlesCsv = particlesCsv;
                       k.bodies = bodies;
                       k.emitters = emitters;
                       k.timelines = timelines;
                       k.releaseFromInflow = releaseFromInflow;
                       k.particleCap = particleCap;
                       return restart(path, runChoices(re, dt, method, pressure, threads, std::nullopt, std::nullopt,
                                                       std::nullopt),
                                      setUpChoices(k), measureChoices(probes, history));
                   },
                   py::arg("path"), py::kw_only(), py::arg("re") = py::none(), py::arg("dt") = py::none(),
                   py::arg("method") = py::none(), py::arg("pressure") = py::none(), py::arg("threads") = 0,
                   py::arg("probes") = std::vector<std::pair<double, double>>{}, py::arg("history") = true,
                   py::arg("bodies") = py::list(), py::arg("emitters") = py::list(),
                   py::arg("timelines") = py::list(), py::arg("release_from_inflow") = 0,
                   py::arg("particle_cap") = static_cast<long long>(particle_defaults::cap),
                   py::arg("particles_csv") = py::none(),
                   "Continues a run saved by save_state (or kelvo-batch --save-state): the next step is\n"
                   "the one the saved run would have taken. The saved settings hold unless given.\n"
                   "The history starts empty. A state file keeps no outlines: give the run's bodies\n"
                   "again (as kelvo-batch takes them from its grid file and --body). Heat, dye and the\n"
                   "particles are the saved run's; emitters, timelines and release_from_inflow add to\n"
                   "its emitters.");
    cls.def("step", &step, py::arg("n") = 1,
            "Takes n steps. Raises BlowUpError, with the window's message, when the flow blows up.");
    cls.def("run", &runUntil, py::kw_only(), py::arg("until_steady") = py::none(),
            py::arg("until_time") = py::none(), py::arg("steps") = py::none(), py::arg("progress") = py::none(),
            py::arg("progress_every") = stepsBetweenChecks,
            "Steps until the largest change of u or v in a step is at most until_steady, the\n"
            "simulated time reaches until_time, or steps steps are taken, whichever comes first\n"
            "(kelvo-batch's --until-steady, --until-time, --steps). progress(steps_taken, time) is\n"
            "called every progress_every steps; returning False stops the run. Returns why it\n"
            "stopped: 'until-steady', 'until-time', 'step-limit' or 'stopped'. Raises BlowUpError\n"
            "when the flow blows up.");
    forEachGridArray([&cls](const char* name, const char* doc, auto member) {
        cls.def_property_readonly(name, [member](py::object self) {
            const Simulation& s = self.cast<const Simulation&>();
            return arrayView(s.batchRun().state().*member, self, false);
        }, (std::string(doc) + "\nA read-only view of the solver's own array, no copy: it follows the run.").c_str());
    });
    cls.def_property_readonly("vorticity", [](const Simulation& s) {
        const SimGrid& g = idle(s).batchRun().state();
        return computedArray(g.NX, g.NY, [&](int i, int j) { return centreVorticity(g, g.NX, g.NY, i, j); });
    }, "Vorticity dv/dx - du/dy at each cell centre, as the colour map shows it: a new array\n"
       "computed on each read.");
    cls.def_property_readonly("centre_u", [](const Simulation& s) { return centreArray(s, centreU); },
                              "u at each cell centre: a new array computed on each read.");
    cls.def_property_readonly("centre_v", [](const Simulation& s) { return centreArray(s, centreV); },
                              "v at each cell centre: a new array computed on each read.");
    cls.def_property_readonly("speed", [](const Simulation& s) { return centreArray(s, centreSpeed); },
                              "Speed at each cell centre: a new array computed on each read.");
    cls.def_property_readonly("time", [](const Simulation& s) { return s.batchRun().simulatedTime(); },
                              "Simulated time: the sum of the steps' dt, the build step included.");
    cls.def_property_readonly("steps", [](const Simulation& s) { return s.batchRun().tally().steps; },
                              "Steps taken after the build step (a restarted run counts its saved steps).");
    cls.def_property_readonly("dt", [](const Simulation& s) { return s.batchRun().lastStep().dt; },
                              "The time step of the last step.");
    cls.def_property_readonly("settings", &settingsOf,
                              "The settings the run uses: re, dt, method, pressure, threads.");
    cls.def("forces", &forcesOf,
            "The force on each body now (per unit depth, density 1) with its coefficients: a list of\n"
            "dicts with name, outline, cells, all_walls, reference_length, fx, fy, cd, cl. Bodies with\n"
            "exact outlines come first (outline: their index in the grid's bodies), measured on\n"
            "their outlines by a momentum balance whose rate of change the history records (with\n"
            "history=False it is left out); then bodies of wall cells, largest first (outline\n"
            "None), then all walls together.");
    cls.def("probe", [](const Simulation& s, double x, double y) {
        const ProbeValues v = sampleProbe(idle(s).batchRun().state(), x, y);
        return py::make_tuple(v.u, v.v, v.p);
    }, py::arg("x"), py::arg("y"),
       "(u, v, p) at a point in domain units (origin at the south-west corner of cell (0, 0)),\n"
       "each interpolated bilinearly from where it is stored.");
    cls.def_property_readonly("history", &historyOf,
                              "The history as a dict of arrays, a copy: one entry per step, with kelvo-batch\n"
                              "--history's columns (step, t, dt, sweeps, max_speed, kinetic_energy,\n"
                              "max_divergence, then NAME_cd, NAME_cl, NAME_fx, NAME_fy per body,\n"
                              "probeK_u, probeK_v, probeK_p per probe and heatedK_nu, the mean Nusselt\n"
                              "number, per heated wall).");
    cls.def("summary", [](Simulation& s) {
        const BatchRun& run = idle(s).batchRun();
        const std::string json = summaryJson(s.measurements(), run.tally().steps, run.simulatedTime(),
                                             s.stopReason());
        return py::module_::import("json").attr("loads")(json);
    }, "kelvo-batch --summary-json's summary of the history so far, as a dict: per body the means\n"
       "and amplitudes of C_D and C_L, the shedding frequency and the Strouhal number; with heat\n"
       "each heated wall's Nusselt number; 'stopped' says why the steps stopped: 'blow-up', or\n"
       "what the last run() returned, 'step-limit' after step().");
    cls.def("save_state", [](const Simulation& s, const std::string& path) {
        RunState state;
        idle(s).batchRun().saveState(state);
        if (!saveStateFile(path, state))
            raiseFileError("cannot write the state to '" + path + "'");
    }, py::arg("path"), "Writes the run's state file, which Simulation.restart and kelvo-batch --restart continue.");
    cls.def("write_vtk", [](Simulation& s, const std::string& directory) {
        const VtkWriteResult result = s.vtkOutput(directory).writeFrame(idle(s).batchRun().state(), s.batchRun().simulatedTime());
        if (!result.ok)
            raiseFileError("cannot write the field file '" + result.path + "'");
        return result.path;
    }, py::arg("directory"),
       "Writes the fields as the next VTK image file in directory (fields_00000.vti, ...) and\n"
       "the collection fields.pvd with its simulated time; returns the file's path.");
    const char* pictureDoc =
        "The picture the window and kelvo-batch render: size pixels per cell; boundary,\n"
        "streamlines, u (red), v (green), p (blue), vectors and particles as their elements\n"
        "(cells: bodies with outlines drawn as their wall cells); colour_map ('speed',\n"
        "'vorticity', 'p', 'u', 'v', 'temperature' or 'dye') in place of the u, v, p fields, over\n"
        "range (low, high) or its own; with a colour map the colour bar below. Drawn from a copy\n"
        "of the run taken first, without the GIL: other threads, one stepping this run among\n"
        "them, go on meanwhile.";
    cls.def("picture", [](const Simulation& s, int size, bool boundary, bool streamlines, bool u, bool v, bool p,
                          bool vectors, bool cells, bool particles, std::optional<std::string> colourMap,
                          std::optional<std::pair<double, double>> range) {
        const PictureElements shown{boundary, streamlines, u, v, p, vectors, cells, particles};
        const PictureChoices choices = pictureChoices(size, shown, colourMap, range);
        const PictureSnapshot snapshot = pictureSnapshot(idle(s));
        PictureBytes picture;
        {
            py::gil_scoped_release release;
            picture = renderPicture(snapshot, choices);
        }
        return pictureArray(picture);
    }, py::kw_only(), py::arg("size") = 4, py::arg("boundary") = true, py::arg("streamlines") = true,
       py::arg("u") = false, py::arg("v") = false, py::arg("p") = false, py::arg("vectors") = false,
       py::arg("cells") = false, py::arg("particles") = false,
       py::arg("colour_map") = py::none(), py::arg("range") = py::none(),
       (std::string(pictureDoc) + "\nReturns a (height, width, 3) array of uint8, the top row first.").c_str());
    cls.def("save_png", [](const Simulation& s, const std::string& path, int size, bool boundary, bool streamlines,
                           bool u, bool v, bool p, bool vectors, bool cells, bool particles,
                           std::optional<std::string> colourMap, std::optional<std::pair<double, double>> range) {
        const PictureElements shown{boundary, streamlines, u, v, p, vectors, cells, particles};
        const PictureChoices choices = pictureChoices(size, shown, colourMap, range);
        const PictureSnapshot snapshot = pictureSnapshot(idle(s));
        bool written = false;
        {
            py::gil_scoped_release release;
            written = writePngFile(path, renderPicture(snapshot, choices));
        }
        if (!written)
            raiseFileError("cannot write the picture to '" + path + "'");
    }, py::arg("path"), py::kw_only(), py::arg("size") = 4, py::arg("boundary") = true,
       py::arg("streamlines") = true, py::arg("u") = false, py::arg("v") = false, py::arg("p") = false,
       py::arg("vectors") = false, py::arg("cells") = false, py::arg("particles") = false,
       py::arg("colour_map") = py::none(), py::arg("range") = py::none(),
       (std::string(pictureDoc) + "\nWrites it as a PNG file.").c_str());
    bindRunHeatDyeAndParticles(cls);
    cls.def("__repr__", [](const Simulation& s) {
        const SimGrid& g = s.batchRun().state();
        return "<kelvo.Simulation " + std::to_string(g.NX) + " x " + std::to_string(g.NY) + ", step " +
               std::to_string(s.batchRun().tally().steps) + ">";
    });
}
