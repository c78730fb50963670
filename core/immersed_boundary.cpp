#include "core/immersed_boundary.h"

#include "core/cell_flags.h"

#include <algorithm>
#include <cmath>

namespace {

// A point this close to an outline (in cells) is on it, and a crossing this
// close to the mirror or the wall face is there: so an outline drawn along
// the cell faces is exactly the staircase of its cells despite rounding.
constexpr double onOutlineCells = 1e-9;
// The outline never comes closer to an unknown face than this (in cells):
// the ghost weight -(1 - theta)/theta stays finite.
constexpr double nearestTheta = 1e-3;

OutlinePoint facePlace(const Grid& g, bool isU, int32_t i, int32_t j)
{
    return isU ? OutlinePoint{(i + 1) * g.dx, (j + 0.5) * g.dy} : OutlinePoint{(i + 0.5) * g.dx, (j + 1) * g.dy};
}

double firstCrossing(const std::vector<BodyOutline>& outlines, OutlinePoint a, OutlinePoint b)
{
    double first = 1.0;
    for (const BodyOutline& o : outlines)
        first = std::min(first, crossingFraction(o, a, b));
    return first;
}

// Within tolerance of an outline or inside it; the bounding boxes spare
// the distance to the corners of points far away.
bool insideOutlines(const std::vector<BodyOutline>& outlines, OutlinePoint at, double tolerance)
{
    for (const BodyOutline& o : outlines) {
        const OutlineBox box = outlineBox(o);
        if (at.x < box.xLow - tolerance || at.x > box.xHigh + tolerance || at.y < box.yLow - tolerance
            || at.y > box.yHigh + tolerance)
            continue;
        if (signedDistance(o, at.x, at.y) <= tolerance)
            return true;
    }
    return false;
}

// A face is inside when its centre is, or lies on an outline the face runs
// along; a face that only touches an outline at its centre, both its ends
// clear of it (a circle's extreme point on a cell face), is not: the cell
// behind it would stand out of the staircase of its row.
bool faceInside(const Grid& g, const std::vector<BodyOutline>& outlines, bool isU, int32_t i, int32_t j, double tolerance)
{
    const OutlinePoint at = facePlace(g, isU, i, j);
    if (!insideOutlines(outlines, at, tolerance))
        return false;
    if (insideOutlines(outlines, at, -tolerance))
        return true;
    const double halfX = isU ? 0.0 : 0.5 * g.dx, halfY = isU ? 0.5 * g.dy : 0.0;
    return insideOutlines(outlines, {at.x - halfX, at.y - halfY}, tolerance)
           || insideOutlines(outlines, {at.x + halfX, at.y + halfY}, tolerance);
}

void copyLaplacian(const FaceLaplacian& from, FaceLaplacian& to, int32_t NX, int32_t NY)
{
    to.along = from.along;
    const Array2D<double>* sources[] = {&from.unknown, &from.low, &from.high, &from.diag, &from.source};
    Array2D<double>* targets[] = {&to.unknown, &to.low, &to.high, &to.diag, &to.source};
    for (int k = 0; k < 5; ++k) {
        targets[k]->allocate(NX, NY);
        targets[k]->copyFrom(*sources[k]);
    }
}

// One velocity component's faces and how its neighbours lie.
class ComponentPlan {
public:
    ComponentPlan(const Grid& g, bool isU, FaceLaplacian& L, double tolerance)
        : g(g), isU(isU), L(L), tolerance(tolerance)
    {
        inside.allocate(g.NX, g.NY);
        onOutline.allocate(g.NX, g.NY);
        for (int32_t i = 0; i < g.NX; ++i)
            for (int32_t j = 0; j < g.NY; ++j) {
                const OutlinePoint at = facePlace(g, isU, i, j);
                inside[i][j] = faceInside(g, g.outlines, isU, i, j, tolerance) ? 1 : 0;
                onOutline[i][j] = inside[i][j] && !insideOutlines(g.outlines, at, -tolerance) ? 1 : 0;
            }
    }

    void coverFaces(std::vector<CoveredFace>& covered)
    {
        forUnknown([&](int32_t i, int32_t j) {
            if (!inside[i][j])
                return;
            for (Array2D<double>* a : {&L.unknown, &L.low, &L.high, &L.diag, &L.source})
                (*a)[i][j] = 0.0;
            covered.push_back({isU, i, j});
        });
    }

    // Folds the ghosts into L; extra receives the ghost terms once more for
    // the implicit solve, reach the terms on the fluid value beyond the face.
    // Returns the faces changed.
    int foldGhosts(Array2D<double>& extra, std::vector<GhostReach>& reach)
    {
        int changed = 0;
        const double ax = 1.0 / (g.dx * g.dx), ay = 1.0 / (g.dy * g.dy);
        const double alongWeight = isU ? ax : ay, acrossWeight = isU ? ay : ax;
        forUnknown([&](int32_t i, int32_t j) {
            const int32_t di = isU ? 1 : 0, dj = isU ? 0 : 1;
            // Whether each neighbour is a fluid value, before any folding.
            const bool fluid[4] = {fluidAt(i - di, j - dj, 1.0), fluidAt(i + di, j + dj, 1.0),
                                   fluidAt(i - dj, j - di, L.low[i][j]), fluidAt(i + dj, j + di, L.high[i][j])};
            const Face beyond[4] = {{i + di, j + dj, fluid[1]}, {i - di, j - dj, fluid[0]},
                                    {i + dj, j + di, fluid[3]}, {i - dj, j - di, fluid[2]}};
            bool folded = false;
            folded |= foldAlong(i, j, i - di, j - dj, alongWeight, beyond[0], extra, reach);
            folded |= foldAlong(i, j, i + di, j + dj, alongWeight, beyond[1], extra, reach);
            folded |= foldAcross(i, j, i - dj, j - di, acrossWeight, L.low[i][j], beyond[2], extra, reach);
            folded |= foldAcross(i, j, i + dj, j + di, acrossWeight, L.high[i][j], beyond[3], extra, reach);
            changed += folded ? 1 : 0;
        });
        return changed;
    }

private:
    template <class Visit>
    void forUnknown(Visit visit)
    {
        for (int32_t i = 1; i <= g.NX - 2; ++i)
            for (int32_t j = 1; j <= g.NY - 2; ++j)
                if (L.unknown[i][j] != 0.0)
                    visit(i, j);
    }

    // A neighbour on the outline is the wall itself, whatever the path to it
    // runs along.
    double theta(int32_t i, int32_t j, int32_t ni, int32_t nj) const
    {
        if (onOutline[ni][nj])
            return 1.0;
        return firstCrossing(g.outlines, facePlace(g, isU, i, j), facePlace(g, isU, ni, nj));
    }

    // A face and whether it holds a fluid value (an unknown face outside the
    // outlines, coupled to the one in question).
    struct Face {
        int32_t i, j;
        bool fluid;
    };

    bool fluidAt(int32_t i, int32_t j, double coupling) const
    {
        return coupling != 0.0 && L.unknown[i][j] != 0.0 && !inside[i][j];
    }

    // The quadratic's ghost where a fluid value lies beyond the face, else
    // the straight line's (the header); extra takes the diagonal part again.
    void addGhost(int32_t i, int32_t j, double weight, double theta, const Face& beyond, Array2D<double>& extra,
                  std::vector<GhostReach>& reach)
    {
        const double t = std::max(theta, nearestTheta);
        if (!beyond.fluid) {
            const double ghost = weight * (-(1.0 - t) / t);
            L.diag[i][j] += ghost;
            extra[i][j] += ghost;
            return;
        }
        const double ghost = weight * (-2.0 * (1.0 - t) / t);
        L.diag[i][j] += ghost;
        extra[i][j] += ghost;
        reach.push_back({isU, i, j, beyond.i, beyond.j, weight * (1.0 - t) / (1.0 + t)});
    }

    // An along neighbour inside the body is a wall or covered face, read as
    // zero: the wall at the neighbour itself (theta = 1).
    bool foldAlong(int32_t i, int32_t j, int32_t ni, int32_t nj, double weight, const Face& beyond,
                   Array2D<double>& extra, std::vector<GhostReach>& reach)
    {
        if (!inside[ni][nj])
            return false;
        const double t = theta(i, j, ni, nj);
        if (std::fabs(t - 1.0) <= onOutlineCells)
            return false;
        addGhost(i, j, weight, t, beyond, extra, reach);
        return true;
    }

    // An across neighbour is read through its coupling (a wall, covered or
    // open face) or is a mirror in the wall face between the two (theta =
    // 1/2 for a no-slip wall).
    bool foldAcross(int32_t i, int32_t j, int32_t ni, int32_t nj, double weight, double& coupling, const Face& beyond,
                    Array2D<double>& extra, std::vector<GhostReach>& reach)
    {
        if (!inside[ni][nj])
            return false;
        double implied = 1.0, oldDiag = 0.0, oldSource = 0.0;
        if (coupling == 0.0) {
            const int32_t ai = ni, aj = nj, bi = isU ? ni + 1 : ni, bj = isU ? nj : nj + 1;
            const double setUp = isU ? g.u[ni][nj] : g.v[ni][nj];
            const Mirror m = mirrorBetween(g.flags[ai][aj], g.flags[bi][bj], setUp);
            if (m.regular)
                return false;
            implied = (m.factor == -1.0 && m.speed == 0.0) ? 0.5 : -1.0;
            oldDiag = m.factor * weight;
            oldSource = 2.0 * m.speed * weight;
        }
        const double t = theta(i, j, ni, nj);
        if (std::fabs(t - implied) <= onOutlineCells)
            return false;
        coupling = 0.0;
        L.diag[i][j] -= oldDiag;
        L.source[i][j] -= oldSource;
        addGhost(i, j, weight, t, beyond, extra, reach);
        return true;
    }

    const Grid& g;
    bool isU;
    FaceLaplacian& L;
    double tolerance;
    Array2D<unsigned char> inside;     // the face's centre lies inside or on an outline
    Array2D<unsigned char> onOutline;  // on an outline, within the tolerance
};

void addInto(FaceLaplacian& L, const Array2D<double>& extra, int32_t NX, int32_t NY)
{
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j)
            L.diag[i][j] += extra[i][j];
}

}  // namespace

namespace {

bool cellCovered(const Grid& g, const std::vector<BodyOutline>& outlines, int32_t i, int32_t j)
{
    const double tolerance = onOutlineCells * std::min(g.dx, g.dy);
    return faceInside(g, outlines, true, i, j, tolerance) && faceInside(g, outlines, true, i - 1, j, tolerance)
           && faceInside(g, outlines, false, i, j, tolerance) && faceInside(g, outlines, false, i, j - 1, tolerance);
}

}  // namespace

int markCoveredCells(Grid& g)
{
    if (g.outlines.empty())
        return 0;
    int marked = 0;
    for (int32_t i = 1; i <= g.NX - 2; ++i)
        for (int32_t j = 1; j <= g.NY - 2; ++j) {
            if (!isOpen(g.flags[i][j]) || !cellCovered(g, g.outlines, i, j))
                continue;
            g.flags[i][j] = CELL_NOSLIP_WALL;
            g.u[i][j] = g.v[i][j] = g.p[i][j] = 0.0;
            ++marked;
        }
    return marked;
}

std::vector<std::pair<int32_t, int32_t>> cellsCoveredBy(const Grid& g, const BodyOutline& outline)
{
    std::vector<std::pair<int32_t, int32_t>> cells;
    const std::vector<BodyOutline> one{outline};
    const OutlineBox box = outlineBox(outline);
    const int32_t i0 = std::max<int32_t>(1, static_cast<int32_t>(std::floor(box.xLow / g.dx)));
    const int32_t i1 = std::min<int32_t>(g.NX - 2, static_cast<int32_t>(std::ceil(box.xHigh / g.dx)));
    const int32_t j0 = std::max<int32_t>(1, static_cast<int32_t>(std::floor(box.yLow / g.dy)));
    const int32_t j1 = std::min<int32_t>(g.NY - 2, static_cast<int32_t>(std::ceil(box.yHigh / g.dy)));
    for (int32_t i = i0; i <= i1; ++i)
        for (int32_t j = j0; j <= j1; ++j)
            if (cellCovered(g, one, i, j))
                cells.emplace_back(i, j);
    return cells;
}

std::unique_ptr<ImmersedBoundary> immerseOutlines(const Grid& g, FaceBoundaries& plan)
{
    if (g.outlines.empty())
        return nullptr;
    auto body = std::make_unique<ImmersedBoundary>();
    const double tolerance = onOutlineCells * std::min(g.dx, g.dy);
    ComponentPlan uPlan(g, true, plan.u, tolerance), vPlan(g, false, plan.v, tolerance);
    uPlan.coverFaces(body->covered);
    vPlan.coverFaces(body->covered);
    Array2D<double> uExtra(g.NX, g.NY), vExtra(g.NX, g.NY);
    body->ghostFaces = uPlan.foldGhosts(uExtra, body->reach) + vPlan.foldGhosts(vExtra, body->reach);
    // The predictor forms its Laplacians a column at a time.
    std::stable_sort(body->reach.begin(), body->reach.end(),
                     [](const GhostReach& a, const GhostReach& b) { return a.i < b.i; });
    copyLaplacian(plan.u, body->implicitU, g.NX, g.NY);
    copyLaplacian(plan.v, body->implicitV, g.NX, g.NY);
    addInto(body->implicitU, uExtra, g.NX, g.NY);
    addInto(body->implicitV, vExtra, g.NX, g.NY);
    return body;
}

void coverOutlineFaces(const Grid& g, FaceBoundaries& plan)
{
    if (g.outlines.empty())
        return;
    const double tolerance = onOutlineCells * std::min(g.dx, g.dy);
    std::vector<CoveredFace> covered;
    ComponentPlan(g, true, plan.u, tolerance).coverFaces(covered);
    ComponentPlan(g, false, plan.v, tolerance).coverFaces(covered);
}

CellOperator immersedPressureOperator(const Grid& g, const FaceBoundaries& plan)
{
    const int32_t NX = g.NX, NY = g.NY;
    const double ax = 1.0 / (g.dx * g.dx), ay = 1.0 / (g.dy * g.dy);
    const size_t cells = static_cast<size_t>(NX) * static_cast<size_t>(NY);
    CellOperator op{std::vector<double>(cells, 0.0), std::vector<double>(cells, 0.0), std::vector<double>(cells, 0.0)};
    auto open = [](const Array2D<double>& unknown, int32_t i, int32_t j, double a) { return unknown[i][j] != 0.0 ? a : 0.0; };
    for (int32_t j = 1; j <= NY - 2; ++j)
        for (int32_t i = 1; i <= NX - 2; ++i) {
            if (!plan.solved[i][j])
                continue;
            const size_t k = static_cast<size_t>(j) * NX + i;
            op.west[k] = open(plan.u.unknown, i - 1, j, ax);
            op.south[k] = open(plan.v.unknown, i, j - 1, ay);
            op.diag[k] = op.west[k] + op.south[k] + open(plan.u.unknown, i, j, ax) + open(plan.v.unknown, i, j, ay);
        }
    return op;
}

void zeroCoveredFaces(const ImmersedBoundary& body, Array2D<double>& u, Array2D<double>& v)
{
    for (const CoveredFace& f : body.covered)
        (f.isU ? u : v)[f.i][f.j] = 0.0;
}

void addGhostReachToColumns(const ImmersedBoundary& body, int32_t i, const Array2D<double>& u,
                            const Array2D<double>& v, double* lapColumnU, double* lapColumnV)
{
    const auto byColumn = [](const GhostReach& r, int32_t column) { return r.i < column; };
    auto r = std::lower_bound(body.reach.begin(), body.reach.end(), i, byColumn);
    for (; r != body.reach.end() && r->i == i; ++r) {
        if (r->isU)
            lapColumnU[r->j] += r->weight * u[r->beyondI][r->beyondJ];
        else
            lapColumnV[r->j] += r->weight * v[r->beyondI][r->beyondJ];
    }
}
