#include "core/coverage_outline.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float half = 0.5f;
// A sample this close to 0 or 1 is taken as empty or covered: 8-bit grey
// levels and lossy files never quite reach either.
constexpr float wholeMargin = 0.02f;
// A contour is a body's anti-aliased edge when at least this share of its
// crossings is.
constexpr double antiAliasedShare = 0.5;

// The field with a ring of empty samples around it: sample (x, y) of the
// padded field is sample (x - 1, y - 1) of the field.
class PaddedField {
public:
    explicit PaddedField(const CoverageField& f) : f(f), width(f.width + 2), height(f.height + 2) {}
    float at(int x, int y) const
    {
        if (x < 1 || y < 1 || x > f.width || y > f.height)
            return 0.0f;
        return f.at(x - 1, y - 1);
    }
    bool covered(int x, int y) const { return at(x, y) >= half; }

    const CoverageField& f;
    const int width, height;
};

// A side between two neighbouring samples: across (x, y)-(x+1, y) or down
// (x, y)-(x, y+1).
struct Side {
    bool across;
    int x, y;
    bool operator==(const Side& o) const { return across == o.across && x == o.x && y == o.y; }
};

// The four sides of square (sx, sy), the square of samples (sx, sy) to
// (sx+1, sy+1): top, right, bottom, left.
void squareSides(int sx, int sy, Side sides[4])
{
    sides[0] = {true, sx, sy};
    sides[1] = {false, sx + 1, sy};
    sides[2] = {true, sx, sy + 1};
    sides[3] = {false, sx, sy};
}

class Tracer {
public:
    explicit Tracer(const CoverageField& field)
        : p(field), seenAcross(static_cast<size_t>(p.width) * p.height, 0),
          seenDown(static_cast<size_t>(p.width) * p.height, 0)
    {
    }

    std::vector<CoverageContour> trace()
    {
        std::vector<CoverageContour> contours;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                for (bool across : {true, false}) {
                    const Side s{across, x, y};
                    if (inField(s) && crosses(s) && !seen(s))
                        contours.push_back(follow(s));
                }
        return contours;
    }

private:
    bool inField(const Side& s) const
    {
        return s.across ? s.x + 1 < p.width : s.y + 1 < p.height;
    }
    void ends(const Side& s, int& ax, int& ay, int& bx, int& by) const
    {
        ax = s.x;
        ay = s.y;
        bx = s.across ? s.x + 1 : s.x;
        by = s.across ? s.y : s.y + 1;
    }
    bool crosses(const Side& s) const
    {
        int ax, ay, bx, by;
        ends(s, ax, ay, bx, by);
        return p.covered(ax, ay) != p.covered(bx, by);
    }
    char& seenMark(const Side& s)
    {
        return (s.across ? seenAcross : seenDown)[static_cast<size_t>(s.y) * p.width + s.x];
    }
    bool seen(const Side& s) { return seenMark(s) != 0; }

    // Where the side meets the edge, in pixel coordinates (sample (x, y) of
    // the padded field lies at the centre of pixel (x - 1, y - 1)). A
    // straight edge with unit normal n (towards the empty side) through a
    // pixel lies (c - 1/2) max(|nx|, |ny|) past its centre along n when the
    // pixel's share is c, for as long as the edge crosses the pixel from
    // side to side; n is taken from the shares around the sample (Sobel).
    // Of two part-covered samples the one nearer one half is read (the
    // edge crosses it most surely from side to side); between a wholly
    // covered and an empty sample the edge lies midway.
    OutlinePoint crossing(const Side& s) const
    {
        int ax, ay, bx, by;
        ends(s, ax, ay, bx, by);
        const double va = p.at(ax, ay), vb = p.at(bx, by);
        const bool partA = partial(va), partB = partial(vb);
        double t = 0.5;
        if (partA && (!partB || std::fabs(va - half) <= std::fabs(vb - half)))
            t = pastSample(ax, ay, bx - ax, by - ay, va);
        else if (partB)
            t = 1.0 - pastSample(bx, by, ax - bx, ay - by, vb);
        t = std::clamp(t, 0.0, 1.0);
        return {ax - 0.5 + t * (bx - ax), ay - 0.5 + t * (by - ay)};
    }

    // How far from sample (x, y), in steps (ex, ey) to its neighbour, the
    // edge lies, the sample's share being c.
    double pastSample(int x, int y, int ex, int ey, double c) const
    {
        const double gx = (p.at(x + 1, y - 1) + 2.0 * p.at(x + 1, y) + p.at(x + 1, y + 1))
                          - (p.at(x - 1, y - 1) + 2.0 * p.at(x - 1, y) + p.at(x - 1, y + 1));
        const double gy = (p.at(x - 1, y + 1) + 2.0 * p.at(x, y + 1) + p.at(x + 1, y + 1))
                          - (p.at(x - 1, y - 1) + 2.0 * p.at(x, y - 1) + p.at(x + 1, y - 1));
        const double length = std::hypot(gx, gy);
        if (length == 0.0)
            return std::fabs(c - half);
        const double nx = -gx / length, ny = -gy / length;
        const double along = (c - half) * std::max(std::fabs(nx), std::fabs(ny));
        const double facing = nx * ex + ny * ey;
        if (std::fabs(facing) < 1e-6)
            return 0.5;
        return along / facing;
    }

    static bool partial(double share) { return share > wholeMargin && share < 1.0 - wholeMargin; }

    // A part-covered sample at either end.
    bool antiAliased(const Side& s) const
    {
        int ax, ay, bx, by;
        ends(s, ax, ay, bx, by);
        return partial(p.at(ax, ay)) || partial(p.at(bx, by));
    }

    // A wholly covered sample at the side's covered end or one further in.
    bool reachesWhole(const Side& s) const
    {
        int ax, ay, bx, by;
        ends(s, ax, ay, bx, by);
        if (p.covered(ax, ay)) {
            std::swap(ax, bx);
            std::swap(ay, by);
        }
        return p.at(bx, by) >= 1.0f - wholeMargin || p.at(2 * bx - ax, 2 * by - ay) >= 1.0f - wholeMargin;
    }

    // The other crossed side of square (sx, sy) that the contour entering
    // through side joins.
    Side partner(int sx, int sy, const Side& entry) const
    {
        Side sides[4];
        squareSides(sx, sy, sides);
        int crossed[4], count = 0, entryAt = 0;
        for (int k = 0; k < 4; ++k)
            if (crosses(sides[k])) {
                if (sides[k] == entry)
                    entryAt = count;
                crossed[count++] = k;
            }
        if (count == 2)
            return sides[crossed[1 - entryAt]];
        // A saddle: two covered corners facing across. The contours go round
        // the corners that stay apart: the covered ones when the square's
        // mean is below one half, else the empty ones. Side k and k+1 meet at
        // corner k+1 (top-right, bottom-right, bottom-left, top-left).
        const float mean = 0.25f * (p.at(sx, sy) + p.at(sx + 1, sy) + p.at(sx + 1, sy + 1) + p.at(sx, sy + 1));
        const bool topRightCovered = p.covered(sx + 1, sy);
        const bool roundTopRight = topRightCovered == (mean < half);
        const int k = crossed[entryAt];
        // Corner top-right joins sides 0 and 1, bottom-left sides 2 and 3;
        // bottom-right sides 1 and 2, top-left sides 3 and 0.
        static const int pairTopRight[4] = {1, 0, 3, 2}, pairTopLeft[4] = {3, 2, 1, 0};
        return sides[roundTopRight ? pairTopRight[k] : pairTopLeft[k]];
    }

    // The two squares a side belongs to.
    void squaresOf(const Side& s, int& s1x, int& s1y, int& s2x, int& s2y) const
    {
        if (s.across) {
            s1x = s.x, s1y = s.y - 1, s2x = s.x, s2y = s.y;
        } else {
            s1x = s.x - 1, s1y = s.y, s2x = s.x, s2y = s.y;
        }
    }

    CoverageContour follow(const Side& start)
    {
        CoverageContour contour;
        int aliased = 0;
        Side at = start;
        int sx, sy, ox, oy;
        squaresOf(start, sx, sy, ox, oy);
        for (;;) {
            seenMark(at) = 1;
            contour.corners.push_back(crossing(at));
            aliased += antiAliased(at) ? 1 : 0;
            contour.wholeInside = contour.wholeInside || reachesWhole(at);
            const Side next = partner(sx, sy, at);
            if (next == start)
                break;
            int ax, ay, bx, by;
            squaresOf(next, ax, ay, bx, by);
            if (ax == sx && ay == sy) {
                sx = bx;
                sy = by;
            } else {
                sx = ax;
                sy = ay;
            }
            at = next;
        }
        contour.antiAliased = static_cast<double>(aliased) / contour.corners.size();
        contour.hole = !coveredInside(contour, start);
        return contour;
    }

    // Whether the covered end of the starting side lies inside the contour.
    bool coveredInside(const CoverageContour& contour, const Side& s) const
    {
        int ax, ay, bx, by;
        ends(s, ax, ay, bx, by);
        if (!p.covered(bx, by)) {
            std::swap(ax, bx);
            std::swap(ay, by);
        }
        const OutlinePoint c = crossing(s);
        const double toward = 0.25;  // a point between the crossing and the covered sample
        const OutlinePoint inward{c.x + toward * ((bx - 0.5) - c.x), c.y + toward * ((by - 0.5) - c.y)};
        return signedDistance(BodyOutline::polygon(contour.corners), inward.x, inward.y) < 0.0;
    }

    PaddedField p;
    std::vector<char> seenAcross, seenDown;
};

double distanceToLine(OutlinePoint q, OutlinePoint a, OutlinePoint b)
{
    const double ex = b.x - a.x, ey = b.y - a.y, length = std::hypot(ex, ey);
    if (length == 0.0)
        return std::hypot(q.x - a.x, q.y - a.y);
    return std::fabs((q.x - a.x) * ey - (q.y - a.y) * ex) / length;
}

// Marks the corners of the open run first..last (both kept) to keep.
void simplifyRun(const std::vector<OutlinePoint>& c, size_t first, size_t last, double tolerance,
                 std::vector<char>& keep)
{
    if (last <= first + 1)
        return;
    size_t farthest = first;
    double largest = -1.0;
    for (size_t k = first + 1; k < last; ++k) {
        const double d = distanceToLine(c[k], c[first], c[last]);
        if (d > largest) {
            largest = d;
            farthest = k;
        }
    }
    if (largest <= tolerance)
        return;
    keep[farthest] = 1;
    simplifyRun(c, first, farthest, tolerance, keep);
    simplifyRun(c, farthest, last, tolerance, keep);
}

// A closed loop split at its first corner and the corner farthest from it.
std::vector<OutlinePoint> simplifyLoop(const std::vector<OutlinePoint>& c, double tolerance)
{
    if (c.size() <= 4 || tolerance <= 0.0)
        return c;
    size_t far = 0;
    double largest = -1.0;
    for (size_t k = 1; k < c.size(); ++k) {
        const double d = std::hypot(c[k].x - c[0].x, c[k].y - c[0].y);
        if (d > largest) {
            largest = d;
            far = k;
        }
    }
    std::vector<OutlinePoint> closed(c);
    closed.push_back(c[0]);
    std::vector<char> keep(closed.size(), 0);
    keep[0] = keep[far] = keep[closed.size() - 1] = 1;
    simplifyRun(closed, 0, far, tolerance, keep);
    simplifyRun(closed, far, closed.size() - 1, tolerance, keep);
    std::vector<OutlinePoint> kept;
    for (size_t k = 0; k + 1 < closed.size(); ++k)
        if (keep[k])
            kept.push_back(closed[k]);
    return kept.size() >= 3 ? kept : c;
}

}  // namespace

std::vector<CoverageContour> traceCoverage(const CoverageField& field)
{
    if (field.width <= 0 || field.height <= 0)
        return {};
    return Tracer(field).trace();
}

std::vector<CoverageContour> antiAliasedBodies(const std::vector<CoverageContour>& contours, double tolerance)
{
    std::vector<CoverageContour> bodies;
    for (const CoverageContour& c : contours) {
        if (c.hole || c.antiAliased < antiAliasedShare || !c.wholeInside || c.corners.size() < 3)
            continue;
        const BodyOutline outer = BodyOutline::polygon(c.corners);
        const bool holed = std::any_of(contours.begin(), contours.end(), [&](const CoverageContour& h) {
            return h.hole && signedDistance(outer, h.corners[0].x, h.corners[0].y) < 0.0;
        });
        if (holed)
            continue;
        CoverageContour body = c;
        body.corners = simplifyLoop(c.corners, tolerance);
        bodies.push_back(std::move(body));
    }
    return bodies;
}
