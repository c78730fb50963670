// What a run is asked for (kelvo-batch's command line, the Python module's
// keywords) and the values it then uses, once combined with the settings
// the grid file or a saved state carries. Both front ends resolve them here,
// so they run the same flow from the same choices.
#pragma once

#include "core/flow_solver.h"
#include "io/grid_file.h"

#include <optional>
#include <string>

// The time step when none is given and the file stores none (the editor's
// default text "0.003").
constexpr double defaultRunDt = 0.003;

struct RunChoices {
    std::optional<double> reynolds;   // from the file unless given
    double dt = defaultRunDt;
    bool automaticDt = false;         // dt "auto"
    Convection convection = Convection::RungeKutta;
    PressureSolver pressure = PressureSolver::Multigrid;
    // Whether dt, the method and the pressure solver were given; otherwise a
    // grid file that stores the setting, or the state of a restart, decides.
    bool dtGiven = false;
    bool convectionGiven = false;
    bool pressureGiven = false;
    int threads = 0;                  // 0: the machine's cores
    std::optional<double> defaultU;   // from the file unless given
    std::optional<double> defaultV;
    // Start from the file's u and v of the fluid cells, or write the default
    // velocities over them; the file's choice unless given.
    std::optional<bool> startFromStoredField;
};

// The values a run uses, after the choices and the file are combined.
struct RunParameters {
    double reynolds = 0.0;
    double dt = 0.0;
    bool automaticDt = false;
    Convection convection = Convection::RungeKutta;
    PressureSolver pressure = PressureSolver::Multigrid;
    int threads = 0;  // of the multigrid solver; 0: the machine's cores
    double defaultU = 0.0;
    double defaultV = 0.0;
    bool startFromStoredField = false;  // keep the grid's u, v of the fluid cells
};

// The choices where given; otherwise the file's settings as the editor's
// spinners would show them.
RunParameters resolveParameters(const RunChoices& choices, const GridFileSettings& fromFile);

// For a restart: the choices where given, otherwise the saved run's settings.
RunParameters resolveRestartParameters(const RunChoices& choices, const SolverSettings& saved);

// rk3, central, blended or designed; false for any other name.
bool parseConvection(const std::string& text, Convection& convection);
// gauss-seidel or multigrid; false for any other name.
bool parsePressureSolver(const std::string& text, PressureSolver& pressure);
// The names the parsers take, for messages and for reading settings back.
const char* convectionName(Convection convection);
const char* pressureSolverName(PressureSolver pressure);
