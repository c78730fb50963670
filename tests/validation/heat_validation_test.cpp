// Natural convection against published data: the differentially heated
// square cavity and the onset of convection in a layer heated from below.
#include "core/flow_solver.h"
#include "core/wall_heat.h"
#include "io/example_grids.h"
#include "support/steady_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The largest value of a column of faces: the peak of the parabola through
// the largest and its two neighbours.
double parabolaPeak(const std::vector<double>& values)
{
    size_t k = 0;
    for (size_t n = 1; n < values.size(); ++n)
        if (values[n] > values[k])
            k = n;
    if (k == 0 || k + 1 == values.size())
        return values[k];
    const double a = values[k - 1], b = values[k], c = values[k + 1], bend = a - 2.0 * b + c;
    return bend < 0.0 ? b - (a - c) * (a - c) / (8.0 * bend) : b;
}

double kineticEnergy(const SimGrid& s)
{
    double sum = 0.0;
    for (int32_t i = 1; i <= s.NX - 2; ++i)
        for (int32_t j = 1; j <= s.NY - 2; ++j)
            sum += s.u[i][j] * s.u[i][j] + s.v[i][j] * s.v[i][j];
    return 0.5 * sum * s.dx * s.dy;
}

}  // namespace

// de Vahl Davis, G. (1983), Natural convection of air in a square cavity: a
// bench mark numerical solution, Int. J. Numer. Meth. Fluids 3, 249-264,
// the benchmark table at Ra = 10^4, Pr = 0.71: mean Nusselt number of the
// hot wall 2.243, largest u on the vertical centre line 16.178 and largest v
// on the horizontal one 19.617, in units of alpha / L.
//
// On 32 x 32 fluid cells (34 with the walls), a tenth of a second of CPU
// per hundred steps: within 2 % here; the README gives 130 x 130 cells at
// all four Rayleigh numbers within 1 %. Speeds: the example's unit is the
// free-fall speed on the domain's height, U / (alpha / L) = Re Pr s.
TEST(HeatValidation, HeatedCavityAtRayleighTenThousandMeetsDeVahlDavis)
{
    constexpr double nusselt = 2.243, uMax = 16.178, vMax = 19.617;
    constexpr int cells = 34;
    const ExampleGrid e = heatedCavityExample(cells, 1e4);
    FlowSolver solver(e.grid, projectionSettings(e.settings.reynolds));
    ASSERT_TRUE(runToSteadyState(solver, 1e-8, 20000));
    const SimGrid& s = solver.state();
    const HeatScales scales = heatScalesFor(s.scalars, s.flags, s.NX, s.NY, s.dy, e.settings.reynolds);
    const std::vector<HeatedWall> walls = findHeatedWalls(s);
    ASSERT_EQ(walls.size(), 2u);
    EXPECT_NEAR(meanNusselt(s, walls[0], scales) / nusselt, 1.0, 0.02);
    EXPECT_NEAR(meanNusselt(s, walls[1], scales) / nusselt, -1.0, 0.02);  // the cold wall takes it back
    const double unit = e.settings.reynolds * 0.71 * scales.length;
    std::vector<double> u, v;
    for (int k = 1; k <= cells - 2; ++k) {
        u.push_back(s.u[cells / 2][k] * unit);
        v.push_back(s.v[k][cells / 2] * unit);
    }
    EXPECT_NEAR(parabolaPeak(u) / uMax, 1.0, 0.02);
    EXPECT_NEAR(parabolaPeak(v) / vMax, 1.0, 0.02);
}

// A rigid-rigid layer heated from below convects above Ra = 1707.8
// (Chandrasekhar 1961, Hydrodynamic and Hydromagnetic Stability, ch. II,
// the critical Rayleigh number of two rigid boundaries). In a box 4 times as
// wide as deep with insulated side walls, a small warm bump dies away at
// Ra 1500 and grows into rolls at Ra 2100.
TEST(HeatValidation, LayerHeatedFromBelowConvectsOnlyAboveTheOnset)
{
    struct Case {
        double rayleigh;
        bool grows;
    };
    for (const Case c : {Case{1500.0, false}, Case{2100.0, true}}) {
        const ExampleGrid e = heatedLayerExample(10, 4, c.rayleigh);
        FlowSolver solver(e.grid, projectionSettings(e.settings.reynolds));
        double early = 0.0;
        double t = 0.0;
        for (int n = 0; t < 150.0; ++n) {
            t += solver.step().dt;
            if (early == 0.0 && t >= 50.0)
                early = kineticEnergy(solver.state());
        }
        const double late = kineticEnergy(solver.state());
        EXPECT_EQ(late > early, c.grows) << c.rayleigh << ": " << early << " -> " << late;
    }
}
