#include "stream_dots.h"

#include "frame_plot.h"
#include "render_constants.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The values a stream dot touches, five per plane: centre, south, north,
// east, west; fifteen for three planes, five for a grey picture drawn in its
// red plane alone. Lanes past those stay 255 to fill the last group of four.
constexpr int lanes = 16;

struct DotValues {
    float* place[lanes - 1];
    alignas(16) float value[lanes];
    alignas(16) double increment[lanes];
    int used = 0;    // lanes that belong to the picture
    int groups = 0;  // groups of four lanes to compute
};

// Collects the places and values of the cross at (column, row).
void gather(const FramePlanes& planes, int column, int row, DotValues& dot)
{
    using render_constants::streamDotCentre;
    using render_constants::streamDotNeighbour;
    float* const* tables[3] = {planes.red, planes.green, planes.blue};
    const int planeCount = planes.green ? 3 : 1;
    dot.used = 5 * planeCount;
    dot.groups = (dot.used + 3) / 4;
    for (int p = 0; p < planeCount; ++p) {
        float* centre = tables[p][row];
        dot.place[5 * p + 0] = &centre[column];
        dot.place[5 * p + 1] = &tables[p][row + 1][column];
        dot.place[5 * p + 2] = &tables[p][row - 1][column];
        dot.place[5 * p + 3] = &centre[column + 1];
        dot.place[5 * p + 4] = &centre[column - 1];
    }
    for (int lane = 0; lane < dot.used; ++lane) {
        dot.value[lane] = *dot.place[lane];
        dot.increment[lane] = lane % 5 == 0 ? streamDotCentre : streamDotNeighbour;
    }
    for (int lane = dot.used; lane < lanes; ++lane) {
        dot.value[lane] = render_constants::channelMax;
        dot.increment[lane] = 0.0;
    }
}

// Writes the values back to the picture.
void scatter(const DotValues& dot)
{
    for (int lane = 0; lane < dot.used; ++lane)
        *dot.place[lane] = dot.value[lane];
}

#if defined(__SSE2__)

// Per lane and dot: value = float(double(value) + increment), then a value
// above 255 becomes 255 (min(255, s) keeps a NaN, as the comparison does).
// Packed, four lanes at a time; every operation rounds exactly as the
// scalar one, so the bits are the same.
template <int Groups>
void repeatDotsPacked(DotValues& dot, int count)
{
    __m128 value[Groups];
    __m128d lowIncrement[Groups];
    __m128d highIncrement[Groups];
    for (int g = 0; g < Groups; ++g) {
        value[g] = _mm_load_ps(&dot.value[4 * g]);
        lowIncrement[g] = _mm_load_pd(&dot.increment[4 * g]);
        highIncrement[g] = _mm_load_pd(&dot.increment[4 * g + 2]);
    }
    const __m128 ceiling = _mm_set1_ps(render_constants::channelMax);
    for (int n = 0; n < count; ++n) {
        for (int g = 0; g < Groups; ++g) {
            const __m128d low = _mm_add_pd(_mm_cvtps_pd(value[g]), lowIncrement[g]);
            const __m128d high = _mm_add_pd(_mm_cvtps_pd(_mm_movehl_ps(value[g], value[g])), highIncrement[g]);
            const __m128 sum = _mm_movelh_ps(_mm_cvtpd_ps(low), _mm_cvtpd_ps(high));
            value[g] = _mm_min_ps(ceiling, sum);
        }
        // 255 plus a dot is 255 again: once every lane is there, nothing
        // more changes. Looked at now and then, as it rarely happens.
        if ((n & 7) == 7) {
            __m128 all = _mm_cmpeq_ps(value[0], ceiling);
            for (int g = 1; g < Groups; ++g)
                all = _mm_and_ps(all, _mm_cmpeq_ps(value[g], ceiling));
            if (_mm_movemask_ps(all) == 0xF)
                break;
        }
    }
    for (int g = 0; g < Groups; ++g)
        _mm_store_ps(&dot.value[4 * g], value[g]);
}

// The groups are fixed at compile time so that the lanes stay in registers.
void repeatDots(DotValues& dot, int count)
{
    if (dot.groups <= 2)
        repeatDotsPacked<2>(dot, count);
    else
        repeatDotsPacked<4>(dot, count);
}

#else

// Per lane and dot: value = float(double(value) + increment), then a value
// above 255 becomes 255.
void repeatDots(DotValues& dot, int count)
{
    using render_constants::channelMax;
    for (int n = 0; n < count; ++n) {
        bool saturated = true;
        for (int lane = 0; lane < lanes; ++lane) {
            const float sum = static_cast<float>(dot.value[lane] + dot.increment[lane]);
            dot.value[lane] = sum > channelMax ? channelMax : sum;
            saturated = saturated && dot.value[lane] == channelMax;
        }
        if (saturated)
            break;
    }
}

#endif

// Runs longer than this cross the binades instead of adding one by one: a
// path that has come to rest leaves up to the whole limit of dots on one
// pixel, and its neighbours need about 1,400 of them to saturate.
constexpr int longRun = 48;

// One dot on one value.
float addOnce(float value, double increment)
{
    const float sum = static_cast<float>(value + increment);
    return sum > render_constants::channelMax ? render_constants::channelMax : sum;
}

// Repeats the dots of a long run lane by lane.
void repeatDotsByBinade(DotValues& dot, int count)
{
    for (int lane = 0; lane < dot.used; ++lane)
        dot.value[lane] = addRepeatedly(dot.value[lane], dot.increment[lane], count);
}

}  // namespace

// Inside one binade [2^(e-1), 2^e) floats are the multiples of one ulp, so
// value + increment rounds to value + step for every value there, with the
// same step, as long as the sum stays inside the binade and below 255: the
// part of the sum finer than an ulp comes from the increment alone. Only a
// tie (rounding to even) could make the step depend on the value; then the
// binade is crossed one addition at a time. Moves stop a few steps short of
// the binade's end, and the last additions before it are made singly.
float addRepeatedly(float value, double increment, int count)
{
    using render_constants::channelMax;
    while (count > 0) {
        if (value == channelMax && increment >= 0)
            return value;
        if (!(value > 0) || !std::isfinite(value) || !(increment > 0)) {
            value = addOnce(value, increment);
            --count;
            continue;
        }
        int exponent = 0;
        std::frexp(value, &exponent);
        const double top = std::ldexp(1.0, exponent);
        const double ulp = std::ldexp(1.0, exponent - 24);
        const float next = addOnce(value, increment);
        const double step = static_cast<double>(next) - value;
        const float neighbour = static_cast<float>(value + ulp);
        const bool sameStep = neighbour + 2 * step < top
                              && static_cast<double>(addOnce(neighbour, increment)) - neighbour == step;
        const double limit = std::min(top, static_cast<double>(channelMax));
        const double room = step > 0 ? std::floor((limit - value) / step) - 3 : -1;
        if (!sameStep || room < 1) {
            value = next;
            --count;
            continue;
        }
        const int moves = static_cast<int>(std::min(room, static_cast<double>(count)));
        value = static_cast<float>(value + moves * step);
        count -= moves;
    }
    return value;
}

// Each of the values sees its own add-then-saturate sequence, just
// as dot after dot would give it; the values only stay in registers
// meanwhile.
void plotStreamDots(const FramePlanes& planes, int column, int row, int count)
{
    if (count <= 0 || frame_plot::inMargin(planes, column, row))
        return;
    if (count == 1) {
        if (planes.green)
            frame_plot::plotStreamDot(planes, column, row);
        else
            frame_plot::streamDotPlane(planes.red, column, row);
        return;
    }
    DotValues dot;
    gather(planes, column, row, dot);
    if (count > longRun)
        repeatDotsByBinade(dot, count);
    else
        repeatDots(dot, count);
    scatter(dot);
}

namespace {

// Runs ahead whose pixels are fetched while a run is plotted.
constexpr size_t fetchAhead = 8;

// Asks for the cache lines of the cross at (column, row) in every plane.
void fetchCross(const FramePlanes& planes, int column, int row)
{
    if (frame_plot::inMargin(planes, column, row))
        return;
    float* const* tables[3] = {planes.red, planes.green, planes.blue};
    const int planeCount = planes.green ? 3 : 1;
    for (int p = 0; p < planeCount; ++p) {
        __builtin_prefetch(tables[p][row - 1] + column, 1);
        __builtin_prefetch(tables[p][row] + column - 1, 1);
        __builtin_prefetch(tables[p][row] + column + 1, 1);
        __builtin_prefetch(tables[p][row + 1] + column, 1);
    }
}

}  // namespace

void plotStreamRuns(const FramePlanes& planes, const StreamRun* runs, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (i + fetchAhead < count)
            fetchCross(planes, runs[i + fetchAhead].column, runs[i + fetchAhead].row);
        plotStreamDots(planes, runs[i].column, runs[i].row, runs[i].count);
    }
}
