// Conjugate gradients preconditioned by one multigrid V-cycle, for the same
// pressure-correction equation the Gauss-Seidel sweeps solve, divided by dt:
//   S dp - (1/dx^2)(dp[i+1] + dp[i-1]) - (1/dy^2)(dp[j+1] + dp[j-1]) = -div(F, G) / dt
// with S = 2 (1/dx^2 + 1/dy^2)
// in every open interior cell, with dp = 0 in every other cell. The operator
// is symmetric positive definite on any flag field (every open region meets a
// closed cell), so the iteration converges on obstacles, one-cell gaps,
// closed regions and any grid size.
//
// The coarse levels aggregate 2 x 2 cells; a coarse cell is open when any of
// its children is, and its operator is the Galerkin product of the fine one
// with piecewise-constant interpolation, so the masks coarsen exactly. The
// correction comes back up by bilinear interpolation from the four nearest
// coarse cells (a coarse cell without an unknown gives its share to the
// parent), and the residual goes down by its transpose.
// Large levels are split into bands of rows fixed by their size, which run
// on up to threads() threads; sums are taken band by band and added in band
// order, so results do not depend on the number of threads or the machine.
#pragma once

#include "core/parallel_parts.h"

#include "core/stop_request.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class MultigridPressure {
public:
    // open[j * NX + i] != 0 for the open cells (the outer ring is never
    // open); ax = 1/dx^2, ay = 1/dy^2: the time step, which may change from
    // step to step, divides the source term instead.
    MultigridPressure(const unsigned char* open, int32_t NX, int32_t NY, double ax, double ay);

    // Any symmetric five-point operator with positive couplings: per cell,
    // row by row (NX x NY), its diagonal and its couplings to the west and
    // south neighbours; diag 0 for a cell with no unknown. The operator may
    // be singular: a region whose rows all sum to zero (closed all round, as
    // with zero-gradient conditions) is solved up to a constant, and its
    // right side and solution are kept at mean 0.
    struct Operator {
        std::vector<double> diag, west, south;
    };
    MultigridPressure(const Operator& op, int32_t NX, int32_t NY);

    // Solves for dp (row by row in j, as open is laid out) from the
    // divergence of (F, G); dp holds the start value and keeps zero outside
    // the open cells. Stops once the largest residual is at most
    // relativeTolerance times the largest |divergence| of an open cell, or
    // after maxIterations. Returns the iterations made (one V-cycle each).
    int solve(const double* divergence, double dt, double* dp, double relativeTolerance, int maxIterations);

    // Solves A x = b (both row by row, NX x NY) from the start value in x,
    // until every |b - A x| is at most residualLimit or after maxIterations;
    // returns the iterations made. solveTo uses the conjugate gradients of
    // solve, sweepTo red-black Gauss-Seidel sweeps alone (one each).
    int solveTo(const double* b, double* x, double residualLimit, int maxIterations);
    int sweepTo(const double* b, double* x, double residualLimit, int maxSweeps);

    // The largest residual |A dp + div| over the open cells after solve.
    double lastResidual() const { return residualMax; }

    // Threads the large levels use; 0 means the machine's cores.
    void setThreads(int threads) { parallel.setThreads(threads); }
    // Iterations end early once request is raised (core/stop_request.h).
    void watchStopRequest(const StopRequest* request) { stopRequest = request; }

private:
    const StopRequest* stopRequest = nullptr;
    // One level's operator: per cell the diagonal and the couplings to the
    // west and south neighbours (positive weights of -A); the east and north
    // couplings are those of the neighbour. diag == 0 marks a cell with no
    // unknown.
    struct Level {
        int32_t nx = 0, ny = 0;
        std::vector<double> diag, west, south;
        std::vector<double> inverseDiag;  // 1 / diag, 0 with no unknown
        std::vector<double> x, b, r;  // correction, right side, residual
        // Per cell, the weights of the interpolation from the next coarser
        // level: its parent, the parent's neighbour across the nearer
        // vertical face, the one across the nearer horizontal face, and the
        // one diagonally between them; all 0 for a cell with no unknown.
        std::vector<float> fromParent, fromSide, fromAbove, fromCorner;
        size_t at(int32_t i, int32_t j) const { return static_cast<size_t>(j) * nx + i; }
    };

    // Calls work(firstRow, endRow) for the bands of a level of ny rows (in
    // storage rows, padding included): on several threads when the level is
    // large enough to pay for them.
    template <class Work> void forBands(int32_t nx, int32_t ny, Work&& work) const;
    bool splitsIntoThreads(int32_t nx, int32_t ny) const;
    // The storage rows of the finest level, for whole-vector passes.
    template <class Work> void forFineRows(Work&& work) const;

    static Level emptyLevel(int32_t NX, int32_t NY);
    // The coarse levels below fine, and every level's work vectors.
    void buildLevels(Level fine);
    // Finds the regions of unknowns whose rows all sum to zero.
    void findFloatingRegions();
    // Subtracts, in each floating region, the mean over its cells.
    void removeFloatingMeans(std::vector<double>& a) const;
    // Copies b and x into the finest level's layout (b with its floating
    // means removed), and x back out.
    void loadSystem(const double* b, const double* x);
    void storeSolution(double* x) const;
    // Conjugate gradients on the loaded system until the largest residual is
    // at most stopAt; returns the iterations.
    int conjugateGradients(double stopAt, int maxIterations);
    void coarsen(const Level& fine, Level& coarse) const;
    static void setInterpolationWeights(Level& fine, const Level& coarse);
    void residual(const Level& L, const double* x, const double* b, double* r) const;
    // The V-cycle's smoothing (byInverse) or the plain sweeps.
    template <bool byInverse> void smooth(Level& L, int colourFirst, bool fromZero) const;
    template <bool byInverse> void smoothRow(Level& L, int32_t j, int colour) const;
    void smoothRowFromZero(Level& L, int32_t j, int colour) const;
    // The residual of the V-cycle after its sweeps before the coarse
    // correction.
    void smoothedResidual(Level& L) const;
    void restrictResidual(const Level& fine, Level& coarse) const;
    // Adds one fine row's residuals to the coarse row out: each weighted by
    // near to the coarse cell it lies in, by side to that cell's neighbour.
    static void restrictRow(const Level& fine, int32_t coarseCells, int32_t j, const std::vector<float>& near,
                            const std::vector<float>& side, double* out);
    void prolongCorrection(Level& fine, const Level& coarse) const;
    void vcycle(size_t level);
    void applyPreconditioner(std::vector<double>& r, std::vector<double>& z);
    double dot(const std::vector<double>& a, const std::vector<double>& b) const;
    // out = -A d on the finest level; returns the dot product of d and out.
    double negatedProductDot(const std::vector<double>& d, std::vector<double>& out) const;
    static double sumInOrder(const std::vector<double>& parts);

    std::vector<Level> levels;
    std::vector<double> sol, res, dir, prec, prod;  // CG vectors on the finest level
    std::vector<double> rhs;                        // the right side
    ParallelParts parallel;
    double residualMax = 0.0;
    // The floating regions' cells on the finest level, as runs of
    // consecutive storage cells of one region; and per floating region its
    // cell count. Empty when no region floats.
    struct FloatingRun {
        size_t first, end;
        int32_t region;
    };
    std::vector<FloatingRun> floatingRuns;
    std::vector<double> floatingCells;
    bool coarseDiagonalsMayVanish = false;
};
