#include "sim/measurements.h"

#include "core/cell_flags.h"
#include "core/outline_forces.h"
#include "io/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

FlowFigures flowFigures(const Grid& g)
{
    FlowFigures figures;
    for (int32_t i = 1; i < g.NX; ++i)
        for (int32_t j = 1; j < g.NY; ++j) {
            if (!isFluid(g.flags[i][j])) continue;
            const double u = 0.5 * (g.u[i - 1][j] + g.u[i][j]);
            const double v = 0.5 * (g.v[i][j - 1] + g.v[i][j]);
            const double squared = u * u + v * v;
            const double divergence = (g.u[i][j] - g.u[i - 1][j]) / g.dx + (g.v[i][j] - g.v[i][j - 1]) / g.dy;
            figures.maxSpeed = std::max(figures.maxSpeed, squared);
            figures.kineticEnergy += 0.5 * squared * g.dx * g.dy;
            figures.maxDivergence = std::max(figures.maxDivergence, std::fabs(divergence));
        }
    figures.maxSpeed = std::sqrt(figures.maxSpeed);
    return figures;
}

namespace {

int coveredCellCount(const Grid& g, const BodyOutline& outline)
{
    int cells = 0;
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j)
            if (isWall(g.flags[i][j]) && signedDistance(outline, (i + 0.5) * g.dx, (j + 0.5) * g.dy) < 0.0)
                ++cells;
    return cells;
}

// A body of cells is an outline's when the wall cell of its first face lies
// inside an outline.
bool withinOutlines(const Grid& g, const Body& body)
{
    if (body.faces.empty())
        return false;
    const BodyFace& f = body.faces.front();
    const int32_t i = f.i - f.ni, j = f.j - f.nj;
    return signedDistance(g.outlines, (i + 0.5) * g.dx, (j + 0.5) * g.dy) < 0.0;
}

}  // namespace

Measurements::Measurements(const Grid& state, double reynolds, const ReferenceScales& scales,
                           std::vector<ProbePoint> probes)
    : reynolds(reynolds), speed(scales.speed ? *scales.speed : setUpReferenceSpeed(state)),
      points(std::move(probes)), values(points.size()), outlines(state.outlines)
{
    for (size_t k = 0; k < outlines.size(); ++k) {
        BodyRecord record;
        record.outline = static_cast<int>(k);
        record.length = scales.length ? *scales.length : outlineHeight(outlines[k]);
        record.body.cells = coveredCellCount(state, outlines[k]);
        record.box = momentumBoxFor(state, outlines[k], momentumBoxMargin);
        records.push_back(std::move(record));
    }
    for (Body& body : findBodies(state)) {
        if (!body.allWalls && withinOutlines(state, body))
            continue;
        BodyRecord record;
        record.length = scales.length ? *scales.length : body.height;
        record.body = std::move(body);
        records.push_back(std::move(record));
    }
    if (state.scalars.heat) {
        heatScales = heatScalesFor(state.scalars, state.flags, state.NX, state.NY, state.dy, reynolds);
        for (HeatedWall& wall : findHeatedWalls(state))
            heated.push_back({std::move(wall), 0.0});
    }
}

void Measurements::sampleForces(const Grid& state)
{
    for (HeatedWallRecord& r : heated)
        r.nusselt = meanNusselt(state, r.wall, heatScales);
    for (BodyRecord& r : records) {
        if (r.outline >= 0 && r.hasInterval) {
            r.force = r.intervalForce;
        } else if (r.outline >= 0) {
            // Before a second record there is no interval: the steady balance.
            const BodyForce outflux = boxBalance(state, r.box, reynolds, reachFor(state)).outflux;
            r.force = {-outflux.fx, -outflux.fy};
        } else {
            r.force = bodyForce(state, r.body, reynolds, wallsOnFaces);
        }
        r.cd = forceCoefficient(r.force.fx, speed, r.length);
        r.cl = forceCoefficient(r.force.fy, speed, r.length);
    }
}

void Measurements::record(const Grid& state, double t)
{
    for (BodyRecord& r : records) {
        if (r.outline < 0)
            continue;
        const BoxBalance balance = boxBalance(state, r.box, reynolds, reachFor(state));
        if (r.hasLast && t > r.lastTime) {
            // The rate of change is centred on the interval's middle; so is
            // the mean flux, which taken at the end alone would lag it by
            // half an interval (a share of the lift that swings with it).
            const double interval = t - r.lastTime;
            r.intervalForce.fx = -(balance.momentumX - r.last.momentumX) / interval
                                 - 0.5 * (balance.outflux.fx + r.last.outflux.fx);
            r.intervalForce.fy = -(balance.momentumY - r.last.momentumY) / interval
                                 - 0.5 * (balance.outflux.fy + r.last.outflux.fy);
            r.hasInterval = true;
        }
        r.last = balance;
        r.lastTime = t;
        r.hasLast = true;
    }
    sampleForces(state);
    for (BodyRecord& r : records) {
        r.history.push_back({t, r.cd, r.cl});
        if (sampleLimit > 0 && r.history.size() > sampleLimit)
            r.history.erase(r.history.begin(), r.history.begin() + r.history.size() / 2);
    }
    sampleProbes(state);
}

const WideReach* Measurements::reachFor(const Grid& state)
{
    if (!wallsOnFaces || outlines.empty())
        return nullptr;
    if (!fluxReach)
        fluxReach = std::make_unique<WideReach>(wideReachFor(state));
    return fluxReach.get();
}

void Measurements::sampleProbes(const Grid& state)
{
    const double reach = std::max(state.dx, state.dy);
    for (size_t k = 0; k < points.size(); ++k) {
        values[k] = sampleProbe(state, points[k].x, points[k].y);
        for (const BodyOutline& o : outlines)
            if (std::fabs(signedDistance(o, points[k].x, points[k].y)) <= reach)
                values[k].p = outlinePressure(state, o, {points[k].x, points[k].y});
    }
}

void Measurements::setProbes(std::vector<ProbePoint> probes)
{
    points = std::move(probes);
    values.assign(points.size(), ProbeValues());
}

namespace {

std::string bodyName(const BodyRecord& r, size_t index)
{
    return r.body.allWalls ? std::string("walls") : "body" + std::to_string(index + 1);
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

std::string optionalNumber(const std::optional<double>& value)
{
    return value ? number(*value) : std::string("null");
}

}  // namespace

std::string historyHeader(const Measurements& m)
{
    std::string line = "step,t,dt,sweeps,max_speed,kinetic_energy,max_divergence";
    for (size_t k = 0; k < m.bodies().size(); ++k) {
        const std::string name = bodyName(m.bodies()[k], k);
        for (const char* column : {"_cd", "_cl", "_fx", "_fy"}) line += "," + name + column;
    }
    for (size_t k = 0; k < m.probes().size(); ++k)
        for (const char* column : {"_u", "_v", "_p"}) line += ",probe" + std::to_string(k + 1) + column;
    for (size_t k = 0; k < m.heatedWalls().size(); ++k)
        line += ",heated" + std::to_string(k + 1) + "_nu";
    return line + "\n";
}

std::string historyLine(const Measurements& m, long long step, double t, double dt, int iterations,
                        const FlowFigures& figures)
{
    std::string line = std::to_string(step) + "," + number(t) + "," + number(dt) + "," + std::to_string(iterations) +
                       "," + number(figures.maxSpeed) + "," + number(figures.kineticEnergy) + "," +
                       number(figures.maxDivergence);
    for (const BodyRecord& r : m.bodies())
        for (double value : {r.cd, r.cl, r.force.fx, r.force.fy}) line += "," + number(value);
    for (const ProbeValues& p : m.probeValues())
        for (double value : {p.u, p.v, p.p}) line += "," + number(value);
    for (const HeatedWallRecord& r : m.heatedWalls())
        line += "," + number(r.nusselt);
    return line + "\n";
}

std::string summaryJson(const Measurements& m, long long steps, double time, const std::string& stopped)
{
    std::string out = "{\n  \"steps\": " + std::to_string(steps) + ",\n  \"time\": " + number(time) +
                      (stopped.empty() ? std::string() : ",\n  \"stopped\": \"" + stopped + "\"") +
                      ",\n  \"reynolds\": " + roundTripText(m.reynoldsNumber()) +
                      ",\n  \"reference_speed\": " + number(m.referenceSpeed()) + ",\n  \"bodies\": [";
    for (size_t k = 0; k < m.bodies().size(); ++k) {
        const BodyRecord& r = m.bodies()[k];
        const CoefficientStats s = analyseCoefficients(r.history, m.referenceSpeed(), r.length);
        out += std::string(k ? "," : "") + "\n    {\"name\": \"" + bodyName(r, k) +
               "\", \"cells\": " + std::to_string(r.body.cells) + ", \"reference_length\": " + number(r.length) +
               ", \"cd_mean\": " + number(s.cdMean) + ", \"cl_mean\": " + number(s.clMean) +
               ", \"cd_amplitude\": " + number(s.cdAmplitude) + ", \"cl_amplitude\": " + number(s.clAmplitude) +
               ", \"frequency\": " + optionalNumber(s.frequency) + ", \"strouhal\": " + optionalNumber(s.strouhal) +
               "}";
    }
    out += "\n  ],\n  \"probes\": [";
    for (size_t k = 0; k < m.probes().size(); ++k) {
        const ProbeValues& v = m.probeValues()[k];
        out += std::string(k ? "," : "") + "\n    {\"x\": " + number(m.probes()[k].x) + ", \"y\": " +
               number(m.probes()[k].y) + ", \"u\": " + number(v.u) + ", \"v\": " + number(v.v) +
               ", \"p\": " + number(v.p) + "}";
    }
    out += "\n  ]";
    if (m.probeValues().size() >= 2)
        out += ",\n  \"pressure_difference\": " + number(m.probeValues()[0].p - m.probeValues()[1].p);
    if (!m.heatedWalls().empty()) {
        out += ",\n  \"heated_walls\": [";
        for (size_t k = 0; k < m.heatedWalls().size(); ++k) {
            const HeatedWallRecord& r = m.heatedWalls()[k];
            out += std::string(k ? "," : "") + "\n    {\"name\": \"heated" + std::to_string(k + 1) +
                   "\", \"temperature\": " + number(r.wall.temperature) + ", \"faces\": " +
                   std::to_string(r.wall.faces.size()) + ", \"nusselt\": " + number(r.nusselt) + "}";
        }
        out += "\n  ]";
    }
    return out + "\n}\n";
}

std::string summaryText(const Measurements& m)
{
    std::string out;
    char text[256];
    for (size_t k = 0; k < m.bodies().size(); ++k) {
        const BodyRecord& r = m.bodies()[k];
        const CoefficientStats s = analyseCoefficients(r.history, m.referenceSpeed(), r.length);
        std::snprintf(text, sizeof text,
                      "kelvo-batch: %s (%d cells): C_D %.4g +- %.3g, C_L %.4g +- %.3g", bodyName(r, k).c_str(),
                      r.body.cells, s.cdMean, s.cdAmplitude, s.clMean, s.clAmplitude);
        out += text;
        if (s.strouhal) {
            std::snprintf(text, sizeof text, ", f %.4g, St %.4g", *s.frequency, *s.strouhal);
            out += text;
        }
        out += "\n";
    }
    for (size_t k = 0; k < m.heatedWalls().size(); ++k) {
        const HeatedWallRecord& r = m.heatedWalls()[k];
        std::snprintf(text, sizeof text, "kelvo-batch: heated%zu (T %.6g, %zu faces): Nu %.6g\n", k + 1,
                      r.wall.temperature, r.wall.faces.size(), r.nusselt);
        out += text;
    }
    return out;
}
