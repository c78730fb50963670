#include "python/simulation.h"

#include "io/particle_csv.h"
#include "python/grid_binding.h"
#include "sim/body_options.h"

#include <sstream>
#include <stdexcept>
#include <utility>

namespace {

std::vector<std::string> splitColumns(const std::string& header)
{
    std::vector<std::string> names;
    std::stringstream line(header.substr(0, header.find('\n')));
    for (std::string name; std::getline(line, name, ',');)
        names.push_back(name);
    return names;
}

}  // namespace

Simulation::Simulation(const PyGrid& grid, const RunChoices& choices, const SetUpChoices& extras,
                       const MeasureChoices& measure)
    : setUp(std::make_unique<Grid>()), chosen(resolveParameters(choices, grid.settings))
{
    copyGridArrays(grid.grid, *setUp);
    drawBodies(extras.bodies, *setUp);
    applyScalarOptions(extras.scalars, *setUp);
    addOptionEmitters(extras.particles, *setUp);
    run = std::make_unique<BatchRun>(*setUp, chosen);
    run->setParticleCap(extras.particles.cap);
    particleCsv = extras.particles.csvDirectory;
    startMeasuring(measure);
}

Simulation::Simulation(RunState saved, const RunChoices& choices, const SetUpChoices& extras,
                       const MeasureChoices& measure)
    : setUp(std::make_unique<Grid>(std::move(saved.edited))),
      chosen(resolveRestartParameters(choices, saved.settings))
{
    setUp->outlines = extras.bodies;
    addOptionEmitters(extras.particles, *setUp);
    run = std::make_unique<BatchRun>(*setUp, chosen, saved);
    run->setParticleCap(extras.particles.cap);
    particleCsv = extras.particles.csvDirectory;
    startMeasuring(measure);
}

void Simulation::startMeasuring(const MeasureChoices& measure)
{
    measured = std::make_unique<Measurements>(run->state(), chosen.reynolds, ReferenceScales{}, measure.probes);
    measured->setWallsOnFaces(wallsOnFaces(chosen.convection));
    recordHistory = measure.history;
    columns = splitColumns(historyHeader(*measured));
    values.resize(columns.size());
}

void Simulation::advance()
{
    run->advance();
    // Every cycle is a frame cycle at kelvo-batch's default interval; a
    // broken state is never written.
    if (!particleCsv.empty() && !run->unstable()) {
        const int32_t index = run->frames() - 1;
        if (!writeParticleCsv(particleCsv, index, run->particles(), run->simulatedTime()))
            failedWrite = "cannot write the particle file '" + particleCsvPath(particleCsv, index) + "'";
    }
    if (!recordHistory)
        return;
    // As kelvo-batch's --history records it, every step.
    const SimGrid& state = run->state();
    const RunTally& tally = run->tally();
    measured->record(state, tally.simulatedTime);
    const StepReport& report = run->lastStep();
    const FlowFigures figures = flowFigures(state);
    std::vector<double> line = {static_cast<double>(tally.steps), tally.simulatedTime, report.dt,
                                static_cast<double>(report.sweeps + report.cycles), figures.maxSpeed,
                                figures.kineticEnergy, figures.maxDivergence};
    for (const BodyRecord& r : measured->bodies())
        line.insert(line.end(), {r.cd, r.cl, r.force.fx, r.force.fy});
    for (const ProbeValues& p : measured->probeValues())
        line.insert(line.end(), {p.u, p.v, p.p});
    for (const HeatedWallRecord& r : measured->heatedWalls())
        line.push_back(r.nusselt);
    for (size_t k = 0; k < values.size() && k < line.size(); ++k)
        values[k].push_back(line[k]);
}

int32_t Simulation::nextParticleFile(const std::string& directory)
{
    if (directory != particleDirectory) {
        particleDirectory = directory;
        particleFiles = 0;
    }
    return particleFiles++;
}

VtkFieldsOutput& Simulation::vtkOutput(const std::string& directory)
{
    if (!vtk || vtk->directory() != directory)
        vtk = std::make_unique<VtkFieldsOutput>(directory);
    return *vtk;
}

const Simulation& idle(const Simulation& s)
{
    if (s.advancing)
        throw std::runtime_error("this Simulation is taking steps in another thread; read it when they are done");
    return s;
}
