#include "core/centre_values.h"

#include <algorithm>
#include <vector>

namespace {

// dv/dx - du/dy at the north-east corner of cell (i, j), i <= NX-2, j <= NY-2.
double cornerVorticity(const Grid& g, int32_t i, int32_t j)
{
    return (g.v[i + 1][j] - g.v[i][j]) / g.dx - (g.u[i][j + 1] - g.u[i][j]) / g.dy;
}

}  // namespace

// The mean of the corners of cell (i, j) that lie inside the grid.
double centreVorticity(const Grid& g, int32_t NX, int32_t NY, int32_t i, int32_t j)
{
    double sum = 0.0;
    int count = 0;
    for (int32_t ci = i - 1; ci <= i; ++ci)
        for (int32_t cj = j - 1; cj <= j; ++cj)
            if (ci >= 0 && cj >= 0 && ci <= NX - 2 && cj <= NY - 2) {
                sum += cornerVorticity(g, ci, cj);
                ++count;
            }
    return count > 0 ? sum / count : 0.0;
}

// Each corner is worked out once, not once for each of its four cells;
// every cell inside still adds its corners in the order centreVorticity
// does, from a zero, so the values are the same to the bit.
void centreVorticityColumns(const Grid& g, int32_t NX, int32_t NY, int32_t firstColumn, int32_t endColumn,
                            Array2D<double>& out)
{
    const auto edge = [&](int32_t i, int32_t j) { out[i][j] = centreVorticity(g, NX, NY, i, j); };
    std::vector<double> west(std::max(NY - 1, 0));
    std::vector<double> east(west.size());
    const auto fillCorners = [&](int32_t ci, std::vector<double>& corners) {
        for (int32_t cj = 0; cj + 1 < NY; ++cj)
            corners[cj] = cornerVorticity(g, ci, cj);
    };
    if (firstColumn > 0 && firstColumn <= NX - 1)
        fillCorners(firstColumn - 1, west);
    for (int32_t i = firstColumn; i < endColumn; ++i) {
        if (i + 1 < NX)
            fillCorners(i, east);
        if (i == 0 || i == NX - 1 || NY < 3) {
            for (int32_t j = 0; j < NY; ++j)
                edge(i, j);
        } else {
            double* column = out[i];
            edge(i, 0);
            for (int32_t j = 1; j + 1 < NY; ++j) {
                double sum = 0.0;
                sum += west[j - 1];
                sum += west[j];
                sum += east[j - 1];
                sum += east[j];
                column[j] = sum / 4;
            }
            edge(i, NY - 1);
        }
        west.swap(east);
    }
}
