// Outlines traced from coverage: anti-aliased discs come back as their
// circles, hard edges and rings give no body, saddles follow the mean.
#include "core/coverage_outline.h"
#include "support/disc_coverage.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

CoverageField discField(int width, int height, double cx, double cy, double r)
{
    CoverageField f;
    f.width = width;
    f.height = height;
    f.share = discCoverage(width, height, cx, cy, r);
    return f;
}

CoverageField fieldOf(int width, int height, std::initializer_list<float> values)
{
    CoverageField f;
    f.width = width;
    f.height = height;
    f.share.assign(values.begin(), values.end());
    return f;
}

}  // namespace

TEST(CoverageOutline, AnAntiAliasedDiscComesBackAsItsCircle)
{
    const struct {
        double cx, cy, r;
    } discs[] = {{20.0, 20.0, 10.0}, {17.3, 21.6, 6.4}, {30.5, 25.25, 22.7}, {12.4, 11.7, 5.0}};
    for (const auto& d : discs) {
        const auto bodies = antiAliasedBodies(traceCoverage(discField(64, 56, d.cx, d.cy, d.r)), 0.02);
        ASSERT_EQ(bodies.size(), 1u) << d.r;
        const std::vector<OutlinePoint>& c = bodies[0].corners;
        // y runs down: the contour's area is negative when it runs clockwise
        // on the screen, so its size alone is compared.
        // The corners lie on the circle, the sides inside it: the area
        // falls short by a few hundredths of a pixel times the perimeter.
        EXPECT_NEAR(std::fabs(signedArea(c)) / (pi * d.r * d.r), 1.0, 0.05 / d.r) << d.r;
        double largest = 0.0;
        for (const OutlinePoint& p : c)
            largest = std::max(largest, std::fabs(std::hypot(p.x - d.cx, p.y - d.cy) - d.r));
        EXPECT_LT(largest, 0.07) << d.r;  // pixels
        EXPECT_TRUE(bodies[0].wholeInside);
        EXPECT_GT(bodies[0].antiAliased, 0.8);
    }
}

TEST(CoverageOutline, HardEdgesAndRingsGiveNoBody)
{
    CoverageField hard = discField(40, 40, 20.0, 20.0, 10.0);
    for (float& s : hard.share)
        s = s >= 0.5f ? 1.0f : 0.0f;
    const auto traced = traceCoverage(hard);
    ASSERT_EQ(traced.size(), 1u);
    EXPECT_EQ(traced[0].antiAliased, 0.0);
    EXPECT_TRUE(antiAliasedBodies(traced, 0.02).empty());

    CoverageField ring = discField(40, 40, 20.0, 20.0, 12.0);
    const CoverageField inner = discField(40, 40, 20.0, 20.0, 6.0);
    for (size_t k = 0; k < ring.share.size(); ++k)
        ring.share[k] -= inner.share[k];
    const auto rings = traceCoverage(ring);
    ASSERT_EQ(rings.size(), 2u);
    EXPECT_NE(rings[0].hole, rings[1].hole);
    EXPECT_TRUE(antiAliasedBodies(rings, 0.02).empty());
}

// Two covered samples facing across a square join when the square's mean
// reaches one half; a body cut by the field's edge closes along it.
TEST(CoverageOutline, SaddlesFollowTheMeanAndTheFieldEdgeClosesABody)
{
    const struct {
        float diagonal;
        size_t contours;
    } saddles[] = {{1.0f, 1u}, {0.6f, 2u}};
    for (const auto& s : saddles)
        EXPECT_EQ(traceCoverage(fieldOf(2, 2, {s.diagonal, 0.0f, 0.0f, s.diagonal})).size(), s.contours)
            << s.diagonal;

    CoverageField half;
    half.width = 10;
    half.height = 6;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            half.share.push_back(x < 4 ? 1.0f : x == 4 ? 0.75f : 0.0f);
    const auto traced = traceCoverage(half);
    ASSERT_EQ(traced.size(), 1u);
    EXPECT_FALSE(traced[0].hole);
    // Columns 0 to 3 and three quarters of column 4, 6 rows high: the
    // edge lies a quarter pixel past the middle of column 4, read from its
    // share along the rows (the corners, where the field's edge crosses
    // column 4, are cut by the marching squares' straight sides).
    const OutlineBox box = outlineBox(BodyOutline::polygon(traced[0].corners));
    EXPECT_NEAR(box.xLow, 0.0, 1e-12);
    EXPECT_NEAR(box.xHigh, 4.75, 1e-12);
    EXPECT_NEAR(box.yLow, 0.0, 1e-12);
    EXPECT_NEAR(box.yHigh, 6.0, 1e-12);
    EXPECT_TRUE(antiAliasedBodies(traced, 0.02).empty());  // too few crossings anti-aliased
}
