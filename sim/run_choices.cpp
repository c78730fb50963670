#include "sim/run_choices.h"

#include <utility>

RunParameters resolveParameters(const RunChoices& options, const GridFileSettings& fromFile)
{
    const GridFileSettings shown = editorSettings(fromFile);
    RunParameters r;
    r.reynolds = options.reynolds ? *options.reynolds : shown.reynolds;
    const bool dtFromFile = !options.dtGiven && fromFile.dt;
    r.dt = dtFromFile ? *fromFile.dt : options.dt;
    r.automaticDt = dtFromFile ? false : options.automaticDt;
    r.convection = !options.convectionGiven && fromFile.convection ? *fromFile.convection : options.convection;
    if (options.pressureGiven)
        r.pressure = options.pressure;
    else if (fromFile.pressure)
        r.pressure = *fromFile.pressure;
    else
        r.pressure = defaultPressureSolver(r.convection);
    r.threads = options.threads;
    r.defaultU = options.defaultU ? *options.defaultU : shown.defaultU;
    r.defaultV = options.defaultV ? *options.defaultV : shown.defaultV;
    r.startFromStoredField = options.startFromStoredField.value_or(fromFile.startsFromStoredField);
    return r;
}

RunParameters resolveRestartParameters(const RunChoices& options, const SolverSettings& saved)
{
    RunParameters r;
    r.reynolds = options.reynolds ? *options.reynolds : saved.reynolds;
    r.dt = options.dtGiven ? options.dt : saved.dt;
    r.automaticDt = options.dtGiven ? options.automaticDt : saved.automaticDt;
    r.convection = options.convectionGiven ? options.convection : saved.convection;
    r.pressure = options.pressureGiven ? options.pressure : saved.pressure;
    r.threads = options.threads;
    return r;
}

namespace {

template <typename Value, std::size_t N>
bool lookUpName(const std::string& text, const std::pair<const char*, Value> (&names)[N], Value& value)
{
    for (const auto& entry : names)
        if (text == entry.first) {
            value = entry.second;
            return true;
        }
    return false;
}

template <typename Value, std::size_t N>
const char* nameOf(Value value, const std::pair<const char*, Value> (&names)[N])
{
    for (const auto& entry : names)
        if (entry.second == value)
            return entry.first;
    return names[0].first;
}

constexpr std::pair<const char*, Convection> convectionNames[] = {{"rk3", Convection::RungeKutta},
                                                                  {"central", Convection::Central},
                                                                  {"blended", Convection::UpwindBlended},
                                                                  {"designed", Convection::Designed}};
constexpr std::pair<const char*, PressureSolver> pressureNames[] = {{"multigrid", PressureSolver::Multigrid},
                                                                    {"gauss-seidel", PressureSolver::GaussSeidel}};

}  // namespace

bool parseConvection(const std::string& text, Convection& convection)
{
    return lookUpName(text, convectionNames, convection);
}

bool parsePressureSolver(const std::string& text, PressureSolver& pressure)
{
    return lookUpName(text, pressureNames, pressure);
}

const char* convectionName(Convection convection) { return nameOf(convection, convectionNames); }

const char* pressureSolverName(PressureSolver pressure) { return nameOf(pressure, pressureNames); }
