#include "core/body_outline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

const BodyOutline unitSquare = BodyOutline::polygon({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
const BodyOutline circle = BodyOutline::circle(2.0, 1.0, 0.5);

}  // namespace

TEST(BodyOutline, SignedDistanceIsNegativeInsideAndExactForBothShapes)
{
    struct Case {
        const BodyOutline* outline;
        double x, y, distance;
    } cases[] = {
        {&unitSquare, 0.5, 0.5, -0.5}, {&unitSquare, 0.5, 0.9, -0.1}, {&unitSquare, 2.0, 0.5, 1.0},
        {&unitSquare, 2.0, 2.0, std::sqrt(2.0)}, {&unitSquare, 1.0, 0.5, 0.0},
        {&circle, 2.0, 1.0, -0.5}, {&circle, 3.0, 1.0, 0.5}, {&circle, 2.0, 1.5, 0.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(signedDistance(*c.outline, c.x, c.y), c.distance, 1e-15) << c.x << ", " << c.y;
    EXPECT_NEAR(signedDistance(std::vector<BodyOutline>{unitSquare, circle}, 1.6, 1.0), -0.1, 1e-15);
}

TEST(BodyOutline, CrossingIsWhereThePathFirstMeetsTheOutline)
{
    EXPECT_NEAR(crossingFraction(unitSquare, {-1.0, 0.5}, {0.5, 0.5}), 1.0 / 1.5, 1e-15);
    EXPECT_NEAR(crossingFraction(unitSquare, {0.5, 1.5}, {0.5, 0.5}), 0.5, 1e-15);
    EXPECT_NEAR(crossingFraction(circle, {2.0, 2.0}, {2.0, 1.0}), 0.5, 1e-15);
    EXPECT_NEAR(crossingFraction(circle, {3.0, 1.0}, {2.0, 1.0}), 0.5, 1e-15);
    EXPECT_EQ(crossingFraction(circle, {0.0, 0.0}, {0.5, 0.0}), 1.0);
}

// Abbott & von Doenhoff (1959): the 0012 section is 12 % thick at 30 % of
// the chord and symmetric; the 4412 section has 4 % camber at 40 %.
TEST(BodyOutline, NacaSectionsHaveTheirThicknessCamberAndAngle)
{
    BodyOutline wing;
    ASSERT_TRUE(nacaOutline("0012", {0.0, 0.0}, 1.0, 0.0, 200, wing));
    EXPECT_GT(signedArea(wing.corners), 0.0);
    const OutlineBox box = outlineBox(wing);
    EXPECT_NEAR(box.xLow, 0.0, 1e-12);
    EXPECT_NEAR(box.xHigh, 1.0, 1e-12);
    EXPECT_NEAR(box.yHigh, 0.06, 2e-4);
    EXPECT_NEAR(box.yLow, -0.06, 2e-4);
    EXPECT_LT(signedDistance(wing, 0.3, 0.059), 0.0);
    EXPECT_GT(signedDistance(wing, 0.3, 0.061), 0.0);

    BodyOutline cambered;
    ASSERT_TRUE(nacaOutline("4412", {0.0, 0.0}, 1.0, 0.0, 200, cambered));
    // The mean line at 40 % of the chord lies 4 % up: inside the section.
    EXPECT_LT(signedDistance(cambered, 0.4, 0.04), -0.05);

    BodyOutline tilted;
    ASSERT_TRUE(nacaOutline("0012", {1.0, 1.0}, 2.0, 10.0, 200, tilted));
    const OutlineBox tiltedBox = outlineBox(tilted);
    // The nose up: the trailing edge 2 sin(10 degrees) below the leading edge.
    EXPECT_NEAR(tiltedBox.yLow, 1.0 - 2.0 * std::sin(10.0 * M_PI / 180.0), 1e-3);

    for (const char* bad : {"001", "00a2", "2400", ""})
        EXPECT_FALSE(nacaOutline(bad, {0, 0}, 1.0, 0.0, 100, wing)) << bad;
    EXPECT_FALSE(nacaOutline("0012", {0, 0}, 0.0, 0.0, 100, wing));
}

// Equal semi-axes give the exact circle; otherwise every corner lies on the
// ellipse and no side strays from it by more than the sag asked for.
TEST(BodyOutline, EllipsesAreCirclesOrCloseEnoughPolygons)
{
    const BodyOutline round = ellipseOutline({1.0, 0.5}, 0.25, 0.25, 1e-3);
    ASSERT_EQ(round.shape, BodyOutline::Shape::Circle);
    EXPECT_EQ(round.radius, 0.25);

    const struct {
        double rx, ry, sag;
    } cases[] = {{0.3, 0.1, 1e-3}, {0.05, 0.4, 2e-4}, {2.0, 1.9, 1e-2}};
    for (const auto& c : cases) {
        const BodyOutline e = ellipseOutline({1.0, 0.5}, c.rx, c.ry, c.sag);
        ASSERT_EQ(e.shape, BodyOutline::Shape::Polygon);
        EXPECT_GT(signedArea(e.corners), 0.0);
        for (size_t k = 0; k < e.corners.size(); ++k) {
            const OutlinePoint a = e.corners[k], b = e.corners[(k + 1) % e.corners.size()];
            const double x = (a.x - 1.0) / c.rx, y = (a.y - 0.5) / c.ry;
            EXPECT_NEAR(x * x + y * y, 1.0, 1e-12);
            // The middle of a side lies inside, within the sag (measured
            // along the ray from the centre, scaled by the larger axis).
            const double mx = (0.5 * (a.x + b.x) - 1.0) / c.rx, my = (0.5 * (a.y + b.y) - 0.5) / c.ry;
            EXPECT_GT(1.0 - std::sqrt(mx * mx + my * my), 0.0);
            EXPECT_LE((1.0 - std::sqrt(mx * mx + my * my)) * std::max(c.rx, c.ry), c.sag);
        }
        EXPECT_NEAR(signedArea(e.corners) / (3.14159265358979323846 * c.rx * c.ry), 1.0, 4.0 * c.sag / std::min(c.rx, c.ry));
    }
}
