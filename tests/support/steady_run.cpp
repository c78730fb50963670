#include "support/steady_run.h"

#include <algorithm>
#include <cmath>
#include <vector>

bool runToSteadyState(FlowSolver& solver, double limit, int maxSteps)
{
    const SimGrid& g = solver.state();
    std::vector<double> before(static_cast<size_t>(g.NX) * g.NY * 2);
    for (int n = 0; n < maxSteps; ++n) {
        size_t k = 0;
        for (int i = 0; i < g.NX; ++i)
            for (int j = 0; j < g.NY; ++j) {
                before[k++] = g.u[i][j];
                before[k++] = g.v[i][j];
            }
        solver.step();
        double change = 0.0;
        k = 0;
        for (int i = 0; i < g.NX; ++i)
            for (int j = 0; j < g.NY; ++j) {
                change = std::max(change, std::fabs(g.u[i][j] - before[k++]));
                change = std::max(change, std::fabs(g.v[i][j] - before[k++]));
            }
        if (n > 0 && change <= limit)
            return true;
    }
    return false;
}

SolverSettings projectionSettings(double reynolds)
{
    SolverSettings settings;
    settings.reynolds = reynolds;
    settings.convection = Convection::RungeKutta;
    settings.automaticDt = true;
    settings.pressure = PressureSolver::Multigrid;
    settings.threads = 1;
    return settings;
}
