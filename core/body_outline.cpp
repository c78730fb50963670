#include "core/body_outline.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double pi = 3.14159265358979323846;

double distanceToSegment(OutlinePoint p, OutlinePoint a, OutlinePoint b)
{
    const double ex = b.x - a.x, ey = b.y - a.y;
    const double length2 = ex * ex + ey * ey;
    double t = length2 > 0.0 ? ((p.x - a.x) * ex + (p.y - a.y) * ey) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * ex), p.y - (a.y + t * ey));
}

// Even-odd rule: a ray towards +x crosses the edges an odd number of times.
bool insidePolygon(const std::vector<OutlinePoint>& c, double x, double y)
{
    bool inside = false;
    for (size_t k = 0, prev = c.size() - 1; k < c.size(); prev = k++) {
        const OutlinePoint a = c[prev], b = c[k];
        if ((a.y > y) != (b.y > y)) {
            const double xCross = a.x + (y - a.y) / (b.y - a.y) * (b.x - a.x);
            if (x < xCross)
                inside = !inside;
        }
    }
    return inside;
}

double polygonDistance(const std::vector<OutlinePoint>& c, double x, double y)
{
    double nearest = std::numeric_limits<double>::infinity();
    for (size_t k = 0, prev = c.size() - 1; k < c.size(); prev = k++)
        nearest = std::min(nearest, distanceToSegment({x, y}, c[prev], c[k]));
    return insidePolygon(c, x, y) ? -nearest : nearest;
}

// The smallest fraction s in [0, 1] of p + s (q - p) on segment a..b; 2
// when they do not meet.
double segmentMeeting(OutlinePoint p, OutlinePoint q, OutlinePoint a, OutlinePoint b)
{
    const double rx = q.x - p.x, ry = q.y - p.y, ex = b.x - a.x, ey = b.y - a.y;
    const double denominator = rx * ey - ry * ex;
    if (denominator == 0.0)
        return 2.0;
    const double s = ((a.x - p.x) * ey - (a.y - p.y) * ex) / denominator;
    const double t = ((a.x - p.x) * ry - (a.y - p.y) * rx) / denominator;
    if (s < 0.0 || s > 1.0 || t < 0.0 || t > 1.0)
        return 2.0;
    return s;
}

double circleCrossing(const BodyOutline& o, OutlinePoint a, OutlinePoint b)
{
    // |a + s (b - a) - c|^2 = r^2, the smaller root.
    const double dx = b.x - a.x, dy = b.y - a.y, fx = a.x - o.centre.x, fy = a.y - o.centre.y;
    const double qa = dx * dx + dy * dy, qb = 2.0 * (fx * dx + fy * dy), qc = fx * fx + fy * fy - o.radius * o.radius;
    const double discriminant = qb * qb - 4.0 * qa * qc;
    if (qa == 0.0 || discriminant < 0.0)
        return 1.0;
    const double s = (-qb - std::sqrt(discriminant)) / (2.0 * qa);
    return std::clamp(s, 0.0, 1.0);
}

}  // namespace

BodyOutline BodyOutline::circle(double x, double y, double r)
{
    BodyOutline o;
    o.shape = Shape::Circle;
    o.centre = {x, y};
    o.radius = r;
    return o;
}

BodyOutline BodyOutline::polygon(std::vector<OutlinePoint> corners)
{
    BodyOutline o;
    o.shape = Shape::Polygon;
    o.corners = std::move(corners);
    return o;
}

double signedDistance(const BodyOutline& o, double x, double y)
{
    if (o.shape == BodyOutline::Shape::Circle)
        return std::hypot(x - o.centre.x, y - o.centre.y) - o.radius;
    if (o.corners.size() < 3)
        return std::numeric_limits<double>::infinity();
    return polygonDistance(o.corners, x, y);
}

double signedDistance(const std::vector<BodyOutline>& outlines, double x, double y)
{
    double nearest = std::numeric_limits<double>::infinity();
    for (const BodyOutline& o : outlines)
        nearest = std::min(nearest, signedDistance(o, x, y));
    return nearest;
}

double crossingFraction(const BodyOutline& o, OutlinePoint a, OutlinePoint b)
{
    if (o.shape == BodyOutline::Shape::Circle)
        return circleCrossing(o, a, b);
    double first = 2.0;
    const std::vector<OutlinePoint>& c = o.corners;
    for (size_t k = 0, prev = c.size() - 1; k < c.size(); prev = k++)
        first = std::min(first, segmentMeeting(a, b, c[prev], c[k]));
    return first > 1.0 ? 1.0 : first;
}

OutlineBox outlineBox(const BodyOutline& o)
{
    if (o.shape == BodyOutline::Shape::Circle)
        return {o.centre.x - o.radius, o.centre.y - o.radius, o.centre.x + o.radius, o.centre.y + o.radius};
    OutlineBox box{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
                   -std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (const OutlinePoint& p : o.corners) {
        box.xLow = std::min(box.xLow, p.x);
        box.yLow = std::min(box.yLow, p.y);
        box.xHigh = std::max(box.xHigh, p.x);
        box.yHigh = std::max(box.yHigh, p.y);
    }
    return box;
}

double signedArea(const std::vector<OutlinePoint>& c)
{
    double twice = 0.0;
    for (size_t k = 0, prev = c.size() - 1; k < c.size(); prev = k++)
        twice += c[prev].x * c[k].y - c[k].x * c[prev].y;
    return 0.5 * twice;
}

bool nacaOutline(const std::string& digits, OutlinePoint leading, double chord, double angleDegrees, int points,
                 BodyOutline& outline)
{
    if (digits.size() != 4 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })
        || !(chord > 0.0) || points < 4 || digits.substr(2) == "00")
        return false;
    const double m = (digits[0] - '0') / 100.0, p = (digits[1] - '0') / 10.0;
    const double t = std::stoi(digits.substr(2)) / 100.0;
    auto camber = [&](double x, double& slope) {
        if (m == 0.0 || p == 0.0) {
            slope = 0.0;
            return 0.0;
        }
        const double w = x < p ? 1.0 / (p * p) : 1.0 / ((1.0 - p) * (1.0 - p));
        slope = 2.0 * m * w * (p - x);
        return x < p ? m * w * (2.0 * p * x - x * x) : m * w * ((1.0 - 2.0 * p) + 2.0 * p * x - x * x);
    };
    auto thickness = [&](double x) {
        return 5.0 * t * (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x - 0.1036 * x * x * x * x);
    };
    const double a = angleDegrees * pi / 180.0, ca = std::cos(a), sa = std::sin(a);
    auto place = [&](double x, double y) {
        return OutlinePoint{leading.x + chord * (x * ca + y * sa), leading.y + chord * (-x * sa + y * ca)};
    };
    std::vector<OutlinePoint> corners;
    // Lower side from the trailing edge to the nose, then the upper side
    // back; reversed at the end to run anticlockwise.
    for (int k = points; k >= 0; --k) {
        const double x = 0.5 * (1.0 - std::cos(pi * k / points));
        double slope;
        const double yc = camber(x, slope), yt = thickness(x), theta = std::atan(slope);
        corners.push_back(place(x + yt * std::sin(theta), yc - yt * std::cos(theta)));
    }
    for (int k = 1; k < points; ++k) {
        const double x = 0.5 * (1.0 - std::cos(pi * k / points));
        double slope;
        const double yc = camber(x, slope), yt = thickness(x), theta = std::atan(slope);
        corners.push_back(place(x - yt * std::sin(theta), yc + yt * std::cos(theta)));
    }
    std::reverse(corners.begin(), corners.end());
    outline = BodyOutline::polygon(std::move(corners));
    return true;
}

BodyOutline ellipseOutline(OutlinePoint centre, double rx, double ry, double sag)
{
    if (rx == ry)
        return BodyOutline::circle(centre.x, centre.y, rx);
    // A side spanning the angle 2 pi / n strays up to r (1 - cos(pi / n))
    // from the circle of the larger semi-axis, more than from the ellipse.
    const double larger = std::max(rx, ry);
    const double ratio = std::clamp(1.0 - sag / larger, -1.0, 1.0);
    const double fewest = 16.0, most = 4096.0;
    // A multiple of four, so the ends of both axes are corners and the
    // polygon's box is the ellipse's.
    const double n = std::clamp(std::ceil(pi / std::acos(ratio) / 4.0) * 4.0, fewest, most);
    const int corners = static_cast<int>(n);
    std::vector<OutlinePoint> points;
    points.reserve(corners);
    for (int k = 0; k < corners; ++k) {
        const double angle = 2.0 * pi * k / corners;
        points.push_back({centre.x + rx * std::cos(angle), centre.y + ry * std::sin(angle)});
    }
    return BodyOutline::polygon(std::move(points));
}
