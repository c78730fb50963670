// Measurements of a running flow: the forces on its bodies, point probes and
// the flow's overall figures, recorded step by step for a history and a
// summary. Bodies are found once, from the flags the solver keeps; a body
// drawn with an exact outline comes first, measured on its outline
// (core/outline_forces.h), and its cells are not a body of their own.
#pragma once

#include "core/body_forces.h"
#include "core/outline_forces.h"
#include "core/grid.h"
#include "core/probe.h"
#include "core/wall_heat.h"
#include "sim/shedding.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// Figures of the whole flow: the largest speed at the cell centres, the
// kinetic energy (density 1, per unit depth) and the largest |div u|, over
// the fluid cells: an outflow cell's outer face holds no velocity.
struct FlowFigures {
    double maxSpeed = 0.0;
    double kineticEnergy = 0.0;
    double maxDivergence = 0.0;
};
FlowFigures flowFigures(const Grid& state);

struct ProbePoint {
    double x = 0.0;
    double y = 0.0;
};

// How the coefficients are scaled; unset values come from the set-up:
// speed its largest inflow or wall speed, length each body's height.
struct ReferenceScales {
    std::optional<double> speed;
    std::optional<double> length;
};

struct BodyRecord {
    Body body;
    int outline = -1;     // the index of its exact outline in the grid's; -1 for a body of cells
    MomentumBox box;      // an outline's momentum balance (core/outline_forces.h)
    double lastTime = 0.0;
    BoxBalance last;      // at lastTime
    bool hasLast = false;
    // Over the interval between the last two records: the box's loss of
    // momentum and the mean of what left through its sides at both ends,
    // so both terms belong to the interval's middle.
    BodyForce intervalForce;
    bool hasInterval = false;
    double length = 0.0;  // the reference length of its coefficients
    BodyForce force;      // at the last recorded step
    double cd = 0.0;
    double cl = 0.0;
    std::vector<CoefficientSample> history;
};

// A wall group holding its temperature and its mean Nusselt number at the
// last recorded step.
struct HeatedWallRecord {
    HeatedWall wall;
    double nusselt = 0.0;
};

class Measurements {
public:
    Measurements(const Grid& state, double reynolds, const ReferenceScales& scales,
                 std::vector<ProbePoint> probes);

    // Forces and probes of state at simulated time t.
    void record(const Grid& state, double t);
    // A new set of probes; their values read zero until the next record.
    void setProbes(std::vector<ProbePoint> probes);
    // The probes' values alone, from state.
    void sampleProbes(const Grid& state);
    // The bodies' forces and coefficients alone, from state, with no
    // sample for the shedding analysis: what a window shows before the
    // next recorded step.
    void sampleForces(const Grid& state);
    // Each body keeps at most limit samples (0: all); past it the older half
    // goes, so a long run in the window holds its memory while the shedding
    // analysis, which reads the last half, still sees whole periods.
    void setSampleLimit(size_t limit) { sampleLimit = limit; }
    // Where the walls' no-slip values hold: on their faces or at their
    // centres (the default), as the method that made the states has them.
    void setWallsOnFaces(bool onFaces) { wallsOnFaces = onFaces; }

    double referenceSpeed() const { return speed; }
    double reynoldsNumber() const { return reynolds; }
    const std::vector<BodyRecord>& bodies() const { return records; }
    const std::vector<ProbePoint>& probes() const { return points; }
    const std::vector<ProbeValues>& probeValues() const { return values; }
    const std::vector<HeatedWallRecord>& heatedWalls() const { return heated; }

private:
    double reynolds;
    double speed;
    std::vector<BodyRecord> records;
    std::vector<ProbePoint> points;
    std::vector<ProbeValues> values;
    std::vector<BodyOutline> outlines;  // the grid's, whose bodies come first
    std::vector<HeatedWallRecord> heated;
    HeatScales heatScales;
    size_t sampleLimit = 0;
    bool wallsOnFaces = false;
    std::unique_ptr<WideReach> fluxReach;  // the default method's fluxes, built at the first balance

    // The convective fluxes the boxes balance: those of the method that
    // made the states.
    const WideReach* reachFor(const Grid& state);
};

// The history header: step, t, dt, sweeps (the step's pressure iterations:
// Gauss-Seidel sweeps or multigrid cycles), max speed, kinetic energy, the
// largest divergence, C_D, C_L, F_x, F_y per body, u, v, p per probe, the
// mean Nusselt number per heated or cooled wall.
std::string historyHeader(const Measurements& m);
// One history line after the header's pattern.
std::string historyLine(const Measurements& m, long long step, double t, double dt, int iterations,
                        const FlowFigures& figures);
// The summary as a JSON object: steps, time, why the run stopped (stopped,
// e.g. "step-limit" or "until-time"; left out when empty), the Reynolds
// number (every digit: the shortest text that reads back as the same
// double), bodies (largest first, all walls last) and probes; with two
// probes or more, the first one's pressure less the second's; for a run
// with heat, the walls holding their temperature with their mean Nusselt
// numbers. A probe within a cell of an outline reads the pressure on the
// outline.
std::string summaryJson(const Measurements& m, long long steps, double time, const std::string& stopped);
// One summary line per body for a reader.
std::string summaryText(const Measurements& m);
