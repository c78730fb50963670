// The measurements chart's toolkit-free parts: tick values and labels, the
// span of the shown values, the bounded point history, and where a click
// on the picture lies in the domain.
#include "gui/chart_axes.h"
#include "gui/chart_history.h"
#include "gui/picture_point.h"
#include "gui/redraw_budget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

TEST(ChartAxes, NiceTicksCoverTheRangeAtOneTwoOrFiveTimesAPowerOfTen)
{
    struct Case {
        double low, high;
        int maxTicks;
        std::vector<double> ticks;
        int decimals;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {0.0, 1.0, 6, {0.0, 0.2, 0.4, 0.6, 0.8, 1.0}, 1},
        {0.13, 0.87, 7, {0.0, 0.2, 0.4, 0.6, 0.8, 1.0}, 1},
        {-0.42, 0.37, 7, {-0.6, -0.4, -0.2, 0.0, 0.2, 0.4}, 1},
        {1.381, 1.412, 5, {1.38, 1.39, 1.4, 1.41, 1.42}, 2},
        {1.381, 1.412, 4, {1.38, 1.4, 1.42}, 2},         // 0.01 would take 5 ticks
        {0.0, 137.0, 7, {0.0, 50.0, 100.0, 150.0}, 0},
        {12.0, 3.0, 4, {0.0, 5.0, 10.0, 15.0}, 0},       // reversed ends
        {2.0, 2.0, 7, {1.8, 1.9, 2.0, 2.1, 2.2}, 1},     // one value: +- a tenth
        {0.0, 0.0, 7, {-0.6, -0.4, -0.2, 0.0, 0.2, 0.4, 0.6}, 1},  // zero: +- 0.5
        {nan, 1.0, 6, {0.0, 0.2, 0.4, 0.6, 0.8, 1.0}, 1},  // no finite end: 0..1
        {-3e-5, 4e-5, 8, {-3e-5, -2e-5, -1e-5, 0.0, 1e-5, 2e-5, 3e-5, 4e-5}, 5},
        {-3e-5, 4e-5, 7, {-4e-5, -2e-5, 0.0, 2e-5, 4e-5}, 5},
    };
    for (const Case& c : cases) {
        const AxisTicks t = niceTicks(c.low, c.high, c.maxTicks);
        EXPECT_LE(static_cast<int>(t.values.size()), std::max(c.maxTicks, 2)) << c.low << ".." << c.high;
        EXPECT_LE(t.low, std::isfinite(c.low) ? std::min(c.low, c.high) : 0.0);
        EXPECT_GE(t.high, std::isfinite(c.low) ? std::max(c.low, c.high) : 1.0);
        ASSERT_EQ(t.values.size(), c.ticks.size()) << c.low << ".." << c.high;
        for (size_t k = 0; k < c.ticks.size(); ++k) EXPECT_NEAR(t.values[k], c.ticks[k], 1e-12) << k;
        EXPECT_EQ(t.decimals, c.decimals) << c.low << ".." << c.high;
    }
}

TEST(ChartAxes, LabelsCarryTheStepsDecimalsAndNoMinusZero)
{
    EXPECT_EQ(tickLabel(0.6000000000000001, 1), "0.6");
    EXPECT_EQ(tickLabel(-0.0, 1), "0.0");
    EXPECT_EQ(tickLabel(-1e-17, 2), "0.00");
    EXPECT_EQ(tickLabel(-0.25, 2), "-0.25");
    EXPECT_EQ(tickLabel(150.0, 0), "150");
}

TEST(ChartAxes, SpanSkipsValuesThatAreNotFiniteAndPixelsRunBetweenTheEnds)
{
    ValueSpan span;
    EXPECT_TRUE(span.empty());
    span.include({std::nan(""), 2.0, -1.0, std::numeric_limits<double>::infinity(), 0.5});
    EXPECT_FALSE(span.empty());
    EXPECT_EQ(span.lowest(), -1.0);
    EXPECT_EQ(span.highest(), 2.0);
    EXPECT_DOUBLE_EQ(axisPixel(0.5, 0.0, 2.0, 100.0, 0.0), 75.0);  // an upward y axis
    EXPECT_DOUBLE_EQ(axisPixel(3.0, 3.0, 3.0, 10.0, 20.0), 10.0);
}

TEST(ChartHistory, ThinsToEveryOtherPointWhenFullAndKeepsThemEvenlySpaced)
{
    ChartHistory history(8);
    for (int k = 0; k < 100; ++k) history.append(k, {10.0 * k});
    // 100 points offered into 8: strides 1, 2, 4, 8, 16 as it fills.
    EXPECT_LT(history.size(), 8u);
    EXPECT_EQ(history.stride(), 16u);
    for (size_t k = 0; k < history.size(); ++k) {
        EXPECT_EQ(history.time()[k], 16.0 * k);
        EXPECT_EQ(history.channel(0)[k], 160.0 * k);
    }
    EXPECT_EQ(history.time().back(), 96.0);
    history.clear();
    EXPECT_EQ(history.size(), 0u);
    EXPECT_EQ(history.stride(), 1u);
}

TEST(ChartHistory, ChannelsAddedLaterStartWithGapsAndErasedOnesShiftDown)
{
    ChartHistory history(100);
    history.append(0.0, {1.0, 2.0});
    history.append(1.0, {1.5, 2.5, 7.0, 8.0, 9.0});  // a probe's three values join
    history.append(2.0, {1.0});                     // a shorter row leaves gaps
    ASSERT_EQ(history.channelCount(), 5u);
    EXPECT_TRUE(std::isnan(history.channel(2)[0]));
    EXPECT_EQ(history.channel(2)[1], 7.0);
    EXPECT_TRUE(std::isnan(history.channel(1)[2]));
    history.eraseChannel(2);
    ASSERT_EQ(history.channelCount(), 4u);
    EXPECT_EQ(history.channel(2)[1], 8.0);
    history.eraseChannel(9);  // no such channel: nothing happens
    EXPECT_EQ(history.channelCount(), 4u);
}

TEST(PicturePoint, ClicksMapToTheDomainAsTheProbesTakeIt)
{
    // 10 x 5 cells of 0.2 x 0.2 at 4 pixels per cell (a 40 x 20 picture)
    // shown on an 80 x 40 canvas: two canvas pixels per picture pixel.
    const PictureLayout layout{80, 40, 40, 20, 4, 10, 5, 0.2, 0.2};
    struct Case {
        int cx, cy;
        bool inside;
        double x, y;
    };
    const Case cases[] = {
        {15, 39, true, 0.2 * (7.75 / 4 - 0.5), 0.2 * (5 - 19.75 / 4 + 0.5)},
        // Cell (3, 2), centred at (0.7, 0.5), is drawn centred on picture
        // pixel (16, 12), canvas (32, 24); canvas pixel (31, 23) has its
        // centre a quarter picture pixel (0.0125) west and north of it.
        {31, 23, true, 0.6875, 0.5125},
        {0, 20, false, 0, 0},   // west of the grid: the half cell the picture leaves
        {40, 0, false, 0, 0},   // north of it
        {79, 20, true, 0.2 * (39.75 / 4 - 0.5), 0.2 * (5 - 10.25 / 4 + 0.5)},  // the east column, half shown
        {-1, 5, false, 0, 0},
        {40, 40, false, 0, 0},  // off the canvas
    };
    for (const Case& c : cases) {
        const auto at = domainPointAt(layout, c.cx, c.cy);
        ASSERT_EQ(at.has_value(), c.inside) << c.cx << "," << c.cy;
        if (!at) continue;
        EXPECT_NEAR(at->x, c.x, 1e-12) << c.cx;
        EXPECT_NEAR(at->y, c.y, 1e-12) << c.cy;
        // The way back, as the probe marks take it: the pixel's centre.
        const auto back = canvasPointOf(layout, *at);
        ASSERT_TRUE(back.has_value());
        EXPECT_NEAR(back->x, c.cx + 0.5, 1e-9) << c.cx;
        EXPECT_NEAR(back->y, c.cy + 0.5, 1e-9) << c.cy;
    }
    EXPECT_FALSE(canvasPointOf(PictureLayout{0, 40, 40, 20, 4, 10, 5, 0.2, 0.2}, DomainPoint{1, 1}).has_value());
    // A colour bar strip under the grid takes no probes.
    const PictureLayout barred{80, 60, 40, 30, 4, 10, 5, 0.2, 0.2};
    EXPECT_FALSE(domainPointAt(barred, 40, 55).has_value());
    EXPECT_TRUE(domainPointAt(barred, 40, 20).has_value());
}

TEST(RedrawBudget, ARedrawWaitsUntilTheLastOneIsTheAllowedShareOfTheTime)
{
    struct Case {
        double start, end, now;
        bool due;
    };
    // A share of 4 %: a redraw of 2 ms allows the next 50 ms after it began.
    const Case cases[] = {
        {1.0, 1.002, 1.01, false},
        {1.0, 1.002, 1.0499, false},
        {1.0, 1.002, 1.0501, true},
        {1.0, 1.0, 1.0, true},  // free redraws are always due
        {1.0, 1.2, 5.9, false},  // a slow display: 200 ms, then 4.8 s of rest
        {1.0, 1.2, 6.1, true},
    };
    for (const Case& c : cases) {
        RedrawBudget budget(0.04);
        EXPECT_TRUE(budget.due(0.0));  // the first is always due
        budget.record(c.start, c.end);
        EXPECT_EQ(budget.due(c.now), c.due) << c.start << " " << c.end << " " << c.now;
    }
}
