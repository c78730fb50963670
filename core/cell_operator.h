// The pressure equations' operator: the negative five-point Laplacian on
// the solved cells, row by row (NX x NY), as MultigridPressure takes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct CellOperator {
    std::vector<double> diag, west, south;
};

// solved(i, j): the cell has an unknown; heldAtZero(i, j): a cell without
// one whose value is held at zero (its face to a solved cell is corrected
// against it). Every other neighbour is one of zero gradient: no coupling
// and nothing on the diagonal. ax = 1/dx^2, ay = 1/dy^2.
template <class Solved, class HeldAtZero>
CellOperator negativeLaplacian(int32_t NX, int32_t NY, double ax, double ay, Solved solved, HeldAtZero heldAtZero)
{
    const size_t cells = static_cast<size_t>(NX) * static_cast<size_t>(NY);
    CellOperator op{std::vector<double>(cells, 0.0), std::vector<double>(cells, 0.0), std::vector<double>(cells, 0.0)};
    auto weight = [&](int32_t i, int32_t j, double a) { return solved(i, j) || heldAtZero(i, j) ? a : 0.0; };
    for (int32_t j = 1; j <= NY - 2; ++j)
        for (int32_t i = 1; i <= NX - 2; ++i) {
            if (!solved(i, j))
                continue;
            const size_t k = static_cast<size_t>(j) * NX + i;
            op.west[k] = solved(i - 1, j) ? ax : 0.0;
            op.south[k] = solved(i, j - 1) ? ay : 0.0;
            op.diag[k] = weight(i - 1, j, ax) + weight(i, j - 1, ay) + weight(i + 1, j, ax) + weight(i, j + 1, ay);
        }
    return op;
}
