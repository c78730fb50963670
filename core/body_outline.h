// The exact outline of a body, beside the cells it covers: a circle, or a
// closed polygon (any other shape, an airfoil included, is given as one).
//
// Domain units as in core/probe.h: x east, y north, origin at the grid's
// south-west corner, the domain 1 high.
#pragma once

#include <string>
#include <vector>

struct OutlinePoint {
    double x = 0.0;
    double y = 0.0;
};

struct BodyOutline {
    enum class Shape { Circle, Polygon };
    Shape shape = Shape::Circle;
    OutlinePoint centre;                // a circle's
    double radius = 0.0;                // a circle's
    std::vector<OutlinePoint> corners;  // a polygon's, in order, closed implicitly

    static BodyOutline circle(double x, double y, double radius);
    static BodyOutline polygon(std::vector<OutlinePoint> corners);
};

// The distance from (x, y) to the outline, negative inside it.
double signedDistance(const BodyOutline& outline, double x, double y);
// The smallest over several outlines: inside any of them is inside.
double signedDistance(const std::vector<BodyOutline>& outlines, double x, double y);

// Where the straight path from a (outside) to b (inside) first meets the
// outline, as a fraction of the way, 0..1; 1 when it does not meet it.
double crossingFraction(const BodyOutline& outline, OutlinePoint a, OutlinePoint b);

// The outline's bounding box.
struct OutlineBox {
    double xLow, yLow, xHigh, yHigh;
};
OutlineBox outlineBox(const BodyOutline& outline);

// A NACA four-digit section (Abbott & von Doenhoff 1959, section 6.4): the
// digits give the camber (per cent of the chord), its place (tenths) and the
// thickness (per cent), e.g. "0012", "2412". leading: the leading edge;
// angle: the angle of attack in degrees, the nose turned up for a positive
// angle in a flow towards +x. The closed trailing-edge form of the
// thickness (last coefficient -0.1036) so the outline meets itself.
// points: corners per side, spaced closer at both edges. False for
// digits that are not four digits, or a zero chord.
bool nacaOutline(const std::string& digits, OutlinePoint leading, double chord, double angleDegrees, int points,
                 BodyOutline& outline);

// An ellipse of semi-axes rx (along x) and ry (along y) about centre: the
// exact circle when the two are equal, else a polygon with its corners on
// the ellipse, evenly spaced in the ellipse's angle and so many that no
// side strays more than sag from it. A polygon, not a shape of its own:
// the solver, the forces, the pictures and the grid files all take it as
// it is, where an exact distance to an ellipse would need an iteration
// and a new shape in the files.
BodyOutline ellipseOutline(OutlinePoint centre, double rx, double ry, double sag);

// The corners per side of a NACA section drawn with kelvo-batch's --body
// or the editor's Airfoil tool.
constexpr int nacaCornersPerSide = 160;

// The polygon's signed area: positive when its corners run anticlockwise.
double signedArea(const std::vector<OutlinePoint>& corners);
