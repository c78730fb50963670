#include "render/stream_dots.h"

#include "render/frame_plot.h"
#include "render/render_constants.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using render_constants::channelMax;
using render_constants::streamDotCentre;
using render_constants::streamDotNeighbour;

// One dot on one value.
float addOnce(float value, double increment)
{
    const float sum = static_cast<float>(value + increment);
    return sum > channelMax ? channelMax : sum;
}

// The pixels of the cross at (column, row) in one plane, and what a dot
// adds to each.
struct CrossPlace {
    float* pixel;
    double increment;
};

// The five places of one plane: centre, south, north, east, west.
void crossPlaces(float* const* plane, int column, int row, CrossPlace places[5])
{
    float* centre = plane[row] + column;
    places[0] = {centre, streamDotCentre};
    places[1] = {plane[row + 1] + column, streamDotNeighbour};
    places[2] = {plane[row - 1] + column, streamDotNeighbour};
    places[3] = {centre + 1, streamDotNeighbour};
    places[4] = {centre - 1, streamDotNeighbour};
}

// The row of each place of crossPlaces, relative to the dot's.
constexpr int placeRowOffset[5] = {0, 1, -1, 0, 0};

// A run on the part of a cross inside a band: each value on its own, as
// the band's edge cuts through few runs.
void plotPartOfCross(const FramePlanes& planes, int column, int row, int count, RowBand band)
{
    float* const* tables[3] = {planes.red, planes.green, planes.blue};
    const int planeCount = planes.green ? 3 : 1;
    for (int p = 0; p < planeCount; ++p) {
        CrossPlace places[5];
        crossPlaces(tables[p], column, row, places);
        for (int n = 0; n < 5; ++n)
            if (band.holds(row + placeRowOffset[n]))
                *places[n].pixel = addRepeatedly(*places[n].pixel, places[n].increment, count);
    }
}

// 2^e exactly, for e within the normal doubles.
constexpr double exactPowerOfTwo(int e)
{
    double power = 1.0;
    for (; e > 0; --e)
        power *= 2.0;
    for (; e < 0; ++e)
        power /= 2.0;
    return power;
}

// True when, in every binade [2^(e-1), 2^e) of floats, one addition of
// increment moves every value that it keeps in the binade by the same
// step. In such a binade double(v) + increment rounds to v + D with D the
// same for all v (v has no bits where the double rounds), and rounding to
// float adds the same whole number of ulps unless D falls halfway between
// two, when the tie goes to the even neighbour and the step depends on
// the last bit of v. So comparing an even value with an odd one finds any
// such binade. Binades below 2^-20 are never kept when increment exceeds
// them, so they need no look.
constexpr bool sameStepThroughEachBinade(double increment)
{
    if (!(increment > exactPowerOfTwo(-20)))
        return false;
    for (int e = -20; e <= 8; ++e) {
        const double even = exactPowerOfTwo(e - 1);
        const double odd = even + exactPowerOfTwo(e - 24);
        const float evenSum = static_cast<float>(even + increment);
        const float oddSum = static_cast<float>(odd + increment);
        if (oddSum >= exactPowerOfTwo(e))
            continue;  // no value past the binade's first stays in it
        if (evenSum - even != oddSum - odd)
            return false;
    }
    return true;
}
static_assert(sameStepThroughEachBinade(streamDotCentre) && sameStepThroughEachBinade(streamDotNeighbour),
              "a stream dot's run is added binade by binade");

#if defined(__SSE2__)

// The crosses of a run in registers, four values a group: a group
// (west, centre, east, north) per plane, then the south values of all
// planes, and lanes past those held at 255 with nothing added.
struct CrossLanes {
    __m128 value[4];
    int planes;  // 1 (a grey picture drawn in red) or 3
};

// What a dot adds to each lane of the two kinds of group.
struct LaneIncrements {
    __m128d low, high;
};
LaneIncrements rowGroupIncrement()
{
    return LaneIncrements{_mm_setr_pd(streamDotNeighbour, streamDotCentre), _mm_set1_pd(streamDotNeighbour)};
}
LaneIncrements southGroupIncrement(int planes)
{
    return planes == 3 ? LaneIncrements{_mm_set1_pd(streamDotNeighbour), _mm_setr_pd(streamDotNeighbour, 0.0)}
                       : LaneIncrements{_mm_setr_pd(streamDotNeighbour, 0.0), _mm_setzero_pd()};
}

void loadCross(const FramePlanes& planes, int column, int row, CrossLanes& lanes)
{
    float* const* tables[3] = {planes.red, planes.green, planes.blue};
    lanes.planes = planes.green ? 3 : 1;
    float south[4] = {channelMax, channelMax, channelMax, channelMax};
    for (int p = 0; p < lanes.planes; ++p) {
        const float* centre = tables[p][row] + column;
        lanes.value[p] = _mm_setr_ps(centre[-1], centre[0], centre[1], tables[p][row - 1][column]);
        south[p] = tables[p][row + 1][column];
    }
    lanes.value[lanes.planes] = _mm_loadu_ps(south);
}

void storeCross(const FramePlanes& planes, int column, int row, const CrossLanes& lanes)
{
    float* const* tables[3] = {planes.red, planes.green, planes.blue};
    alignas(16) float value[4];
    for (int p = 0; p < lanes.planes; ++p) {
        _mm_store_ps(value, lanes.value[p]);
        float* centre = tables[p][row] + column;
        centre[-1] = value[0];
        centre[0] = value[1];
        centre[1] = value[2];
        tables[p][row - 1][column] = value[3];
    }
    _mm_store_ps(value, lanes.value[lanes.planes]);
    for (int p = 0; p < lanes.planes; ++p)
        tables[p][row + 1][column] = value[p];
}

// One dot on each lane: float(double(value) + increment), above 255 held
// at 255 (min(255, s) keeps a NaN, as the comparison does). Every packed
// operation rounds as the scalar one, so the bits are the same.
inline __m128 addDot(__m128 value, const LaneIncrements& increment)
{
    const __m128d low = _mm_add_pd(_mm_cvtps_pd(value), increment.low);
    const __m128d high = _mm_add_pd(_mm_cvtps_pd(_mm_movehl_ps(value, value)), increment.high);
    return _mm_min_ps(_mm_set1_ps(channelMax), _mm_movelh_ps(_mm_cvtpd_ps(low), _mm_cvtpd_ps(high)));
}

// The power of two just above each value of 0 .. 255: the end of its
// binade (2^-126 for 0 and the subnormals).
inline __m128 binadeEnd(__m128 value)
{
    const __m128i exponent = _mm_and_si128(_mm_castps_si128(value), _mm_set1_epi32(0x7F800000));
    return _mm_castsi128_ps(_mm_add_epi32(exponent, _mm_set1_epi32(0x00800000)));
}

inline __m128 select(__m128 mask, __m128 ifSet, __m128 otherwise)
{
    return _mm_or_ps(_mm_and_ps(mask, ifSet), _mm_andnot_ps(mask, otherwise));
}

// True when every lane lies in 0 .. 255, which the moves below need; NaN
// fails.
template <int Groups>
bool allInRange(const CrossLanes& lanes)
{
    __m128 inside = _mm_cmpeq_ps(lanes.value[0], lanes.value[0]);
    for (int g = 0; g < Groups; ++g) {
        inside = _mm_and_ps(inside, _mm_cmpge_ps(lanes.value[g], _mm_setzero_ps()));
        inside = _mm_and_ps(inside, _mm_cmple_ps(lanes.value[g], _mm_set1_ps(channelMax)));
    }
    return _mm_movemask_ps(inside) == 0xF;
}

// count dots on each lane, every lane in 0 .. 255, in a few moves instead
// of a dot at a time. With s the step of one dot from v, which is every
// value's step in v's binade once the dot keeps v there
// (sameStepThroughEachBinade):
// - when v + remaining s stays below the binade's end, the dots end there;
//   in the top binade [128, 256) they end at min(255, v + remaining s),
//   as a dot past 255 gives 255 and 255 stays. Sums and products of these
//   multiples of the binade's ulp are exact below its end and land at or
//   past it when the exact one does, so the float test is exact.
// - otherwise the dots move v to its binade's last value below the end
//   in one go, then one dot crosses into the next binade, where the next
//   round goes on.
// A lane with nothing remaining is done and stays where it is. The groups
// are fixed at compile time and unrolled so that they stay in registers.
template <int Groups>
void repeatDots(CrossLanes& lanes, int count)
{
    LaneIncrements increment[Groups];
    for (int g = 0; g + 1 < Groups; ++g)
        increment[g] = rowGroupIncrement();
    increment[Groups - 1] = southGroupIncrement(Groups - 1);
    const __m128 ceiling = _mm_set1_ps(channelMax);
    const __m128 one = _mm_set1_ps(1.0f);
    __m128 remaining[Groups];
#pragma GCC unroll 4
    for (int g = 0; g < Groups; ++g)
        remaining[g] = _mm_set1_ps(static_cast<float>(count));
    for (;;) {
        __m128 step[Groups], end[Groups], top[Groups], kept[Groups], fits[Groups];
        int fitting = 0xF;
#pragma GCC unroll 4
        for (int g = 0; g < Groups; ++g) {
            const __m128 value = lanes.value[g];
            const __m128 next = addDot(value, increment[g]);
            step[g] = _mm_sub_ps(next, value);
            end[g] = _mm_add_ps(value, _mm_mul_ps(remaining[g], step[g]));
            top[g] = binadeEnd(value);
            kept[g] = _mm_cmplt_ps(next, top[g]);
            const __m128 done = _mm_or_ps(_mm_cmpge_ps(value, _mm_set1_ps(128.0f)),
                                          _mm_cmpeq_ps(remaining[g], _mm_setzero_ps()));
            fits[g] = _mm_or_ps(done, _mm_and_ps(kept[g], _mm_cmplt_ps(end[g], top[g])));
            fitting &= _mm_movemask_ps(fits[g]);
        }
        if (fitting == 0xF) {
#pragma GCC unroll 4
            for (int g = 0; g < Groups; ++g)
                lanes.value[g] = _mm_min_ps(ceiling, end[g]);
            return;
        }
#pragma GCC unroll 4
        for (int g = 0; g < Groups; ++g) {
            // The largest m with v + m s below the end, none when the first
            // dot already leaves; a quotient rounded up to a whole number is
            // caught by the test.
            const __m128 value = lanes.value[g];
            const __m128 quotient = _mm_and_ps(kept[g], _mm_div_ps(_mm_sub_ps(top[g], value), step[g]));
            __m128 moves = _mm_cvtepi32_ps(_mm_cvttps_epi32(quotient));
            const __m128 tooFar = _mm_cmpge_ps(_mm_add_ps(value, _mm_mul_ps(moves, step[g])), top[g]);
            moves = _mm_sub_ps(moves, _mm_and_ps(tooFar, one));
            moves = _mm_and_ps(kept[g], _mm_max_ps(_mm_setzero_ps(), _mm_min_ps(moves, _mm_sub_ps(remaining[g], one))));
            const __m128 crossed = addDot(_mm_add_ps(value, _mm_mul_ps(moves, step[g])), increment[g]);
            lanes.value[g] = select(fits[g], _mm_min_ps(ceiling, end[g]), crossed);
            remaining[g] = _mm_andnot_ps(fits[g], _mm_sub_ps(_mm_sub_ps(remaining[g], moves), one));
        }
    }
}

// Runs up to this many dots whose values cross binades are plotted dot
// after dot: the rounds of repeatDots wait on one another longer than the
// additions they save.
constexpr int shortRun = 16;

// The increments of the groups of one cross (row groups, then south).
template <int Groups>
void crossIncrements(LaneIncrements* increment)
{
    for (int g = 0; g + 1 < Groups; ++g)
        increment[g] = rowGroupIncrement();
    increment[Groups - 1] = southGroupIncrement(Groups - 1);
}

// count dots on each lane, one after another: exactly the single dots,
// for any value.
template <int Groups>
void addDots(__m128* value, const LaneIncrements* increment, int count)
{
    for (int n = 0; n < count; ++n) {
#pragma GCC unroll 8
        for (int g = 0; g < Groups; ++g)
            value[g] = addDot(value[g], increment[g]);
    }
}

// Two short runs on crosses that share no value, their lanes side by side
// while both have dots left, then the longer one alone.
template <int Groups>
void addDotsSideBySide(CrossLanes& first, int firstCount, CrossLanes& second, int secondCount)
{
    LaneIncrements increment[2 * Groups];
    crossIncrements<Groups>(increment);
    crossIncrements<Groups>(increment + Groups);
    __m128 value[2 * Groups];
    std::copy(first.value, first.value + Groups, value);
    std::copy(second.value, second.value + Groups, value + Groups);
    const int both = std::min(firstCount, secondCount);
    addDots<2 * Groups>(value, increment, both);
    std::copy(value, value + Groups, first.value);
    std::copy(value + Groups, value + 2 * Groups, second.value);
    if (firstCount > both)
        addDots<Groups>(first.value, increment, firstCount - both);
    else
        addDots<Groups>(second.value, increment, secondCount - both);
}

// True when some value of the cross would cross into another binade of
// floats within count dots (judged on its sum, in float, held at 255):
// repeatDots takes a round per binade crossed, more than the few dots of
// a short run one by one, but a single round when none is.
bool crossesABinade(const CrossLanes& lanes, int count)
{
    const float neighbour = static_cast<float>(streamDotNeighbour);
    const float centre = static_cast<float>(streamDotCentre);
    const __m128 rowReach =
        _mm_mul_ps(_mm_set1_ps(static_cast<float>(count)), _mm_setr_ps(neighbour, centre, neighbour, neighbour));
    const __m128 southReach = _mm_mul_ps(_mm_set1_ps(static_cast<float>(count)),
                                         lanes.planes == 3 ? _mm_setr_ps(neighbour, neighbour, neighbour, 0.0f)
                                                           : _mm_setr_ps(neighbour, 0.0f, 0.0f, 0.0f));
    int same = 0xF;
    for (int g = 0; g <= lanes.planes; ++g) {
        const __m128 value = lanes.value[g];
        const __m128 end = _mm_min_ps(_mm_set1_ps(channelMax), _mm_add_ps(value, g < lanes.planes ? rowReach : southReach));
        const __m128i from = _mm_srli_epi32(_mm_castps_si128(value), 23);
        const __m128i to = _mm_srli_epi32(_mm_castps_si128(end), 23);
        same &= _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(from, to)));
    }
    return same != 0xF;
}

// True when the dots of a run are best added one by one: a short run whose
// values cross binades, or leave 0 .. 255, which repeatDots needs.
bool addOneByOne(const CrossLanes& lanes, int count)
{
    if (count > shortRun)
        return false;
    const bool inRange = lanes.planes == 3 ? allInRange<4>(lanes) : allInRange<2>(lanes);
    return !inRange || crossesABinade(lanes, count);
}

// The dots of a run on its lanes, the values in 0 .. 255 unless they are
// added one by one.
void addRunDots(CrossLanes& lanes, int count)
{
    LaneIncrements increment[4];
    if (lanes.planes == 3) {
        crossIncrements<4>(increment);
        if (addOneByOne(lanes, count))
            addDots<4>(lanes.value, increment, count);
        else
            repeatDots<4>(lanes, count);
    } else {
        crossIncrements<2>(increment);
        if (addOneByOne(lanes, count))
            addDots<2>(lanes.value, increment, count);
        else
            repeatDots<2>(lanes, count);
    }
}

// Two short runs whose whole crosses lie in the picture and share no
// pixel: side by side when both go one dot at a time.
void plotTwoShortRuns(const FramePlanes& planes, const StreamRun& first, const StreamRun& second)
{
    CrossLanes firstLanes;
    CrossLanes secondLanes;
    loadCross(planes, first.column, first.row, firstLanes);
    loadCross(planes, second.column, second.row, secondLanes);
    if (!addOneByOne(firstLanes, first.count) || !addOneByOne(secondLanes, second.count)) {
        addRunDots(firstLanes, first.count);
        addRunDots(secondLanes, second.count);
    } else if (firstLanes.planes == 3) {
        addDotsSideBySide<4>(firstLanes, first.count, secondLanes, second.count);
    } else {
        addDotsSideBySide<2>(firstLanes, first.count, secondLanes, second.count);
    }
    storeCross(planes, first.column, first.row, firstLanes);
    storeCross(planes, second.column, second.row, secondLanes);
}

// A run whose whole cross lies in the band.
void plotWholeCross(const FramePlanes& planes, int column, int row, int count)
{
    CrossLanes lanes;
    loadCross(planes, column, row, lanes);
    if (count <= shortRun) {
        addRunDots(lanes, count);
        storeCross(planes, column, row, lanes);
        return;
    }
    const bool inRange = lanes.planes == 3 ? allInRange<4>(lanes) : allInRange<2>(lanes);
    if (!inRange) {
        // Values out of 0 .. 255, which only a rectangle set so leaves.
        plotPartOfCross(planes, column, row, count, everyRow);
        return;
    }
    if (lanes.planes == 3)
        repeatDots<4>(lanes, count);
    else
        repeatDots<2>(lanes, count);
    storeCross(planes, column, row, lanes);
}

#else

constexpr int shortRun = 0;

void plotWholeCross(const FramePlanes& planes, int column, int row, int count)
{
    plotPartOfCross(planes, column, row, count, everyRow);
}

void plotTwoShortRuns(const FramePlanes& planes, const StreamRun& first, const StreamRun& second)
{
    plotWholeCross(planes, first.column, first.row, first.count);
    plotWholeCross(planes, second.column, second.row, second.count);
}

#endif

// frexp's exponent of a positive finite value: the binade is
// [2^(e-1), 2^e). Read from the bits for normal values, as this runs once
// per binade a long run crosses.
int binadeExponent(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const int field = static_cast<int>((bits >> 23) & 0xFF);
    if (field == 0) {
        int exponent = 0;
        std::frexp(value, &exponent);
        return exponent;
    }
    return field - 126;
}

// 2^e exactly, for e within the normal doubles (all a float's binades need).
double powerOfTwo(int e)
{
    const uint64_t bits = static_cast<uint64_t>(e + 1023) << 52;
    double power = 0;
    std::memcpy(&power, &bits, sizeof power);
    return power;
}

// True when count additions of increment surely take value to 255: below
// 256 each rounding to float loses less than 2^-16, so every addition
// adds at least increment - 2^-16 until the ceiling holds the value. A
// value above 255 is held at the first addition.
bool reachesCeiling(float value, double increment, int count)
{
    const double leastGain = increment - 0x1p-15;
    return leastGain > 0 && value >= -channelMax && value + count * leastGain >= channelMax;
}

// The most moves, up to count, that keep value + moves * step below top
// and at most 255; every such sum of a float and a multiple of its ulp
// inside the binade is exact.
int movesBelow(float value, double step, double top, int count)
{
    const auto fits = [&](int moves) {
        const double sum = value + moves * step;
        return sum < top && sum <= channelMax;
    };
    const double estimate = std::floor((std::min(top, static_cast<double>(channelMax)) - value) / step);
    int moves = static_cast<int>(std::clamp(estimate, 0.0, static_cast<double>(count)));
    while (moves > 0 && !fits(moves))
        --moves;
    while (moves < count && fits(moves + 1))
        ++moves;
    return moves;
}

}  // namespace

// Inside one binade [2^(e-1), 2^e) floats are the multiples of one ulp, so
// value + increment rounds to value + step for every value there, with the
// same step, as long as the sum stays inside the binade and below 255: the
// part of the sum finer than an ulp comes from the increment alone. Only a
// tie (rounding to even) could make the step depend on the value; then the
// binade is crossed one addition at a time. Moves end on the binade's last
// value below its end, and the addition that leaves it is made singly.
float addRepeatedly(float value, double increment, int count)
{
    if (reachesCeiling(value, increment, count))
        return channelMax;
    while (count > 0) {
        if (value == channelMax && increment >= 0)
            return value;
        if (!(value > 0) || !std::isfinite(value) || !(increment > 0)) {
            value = addOnce(value, increment);
            --count;
            continue;
        }
        const int exponent = binadeExponent(value);
        const double top = powerOfTwo(exponent);
        const double ulp = powerOfTwo(exponent - 24);
        const float next = addOnce(value, increment);
        const double step = static_cast<double>(next) - value;
        const float neighbour = static_cast<float>(value + ulp);
        const bool sameStep = neighbour + 2 * step < top
                              && static_cast<double>(addOnce(neighbour, increment)) - neighbour == step;
        const int room = sameStep && step > 0 ? movesBelow(value, step, top, count) : 0;
        if (room < 1) {
            // Single additions to the binade's end: no move fits before it.
            value = next;
            --count;
            while (count > 0 && value < top && value < channelMax) {
                value = addOnce(value, increment);
                --count;
            }
            continue;
        }
        value = static_cast<float>(value + room * step);
        count -= room;
        if (count > 0) {
            // The addition past the binade's last value below its end.
            value = addOnce(value, increment);
            --count;
        }
    }
    return value;
}

// Each of the values sees its own add-then-saturate sequence, just as dot
// after dot would give it; the values only stay in registers meanwhile.
void plotStreamDots(const FramePlanes& planes, int column, int row, int count, RowBand band)
{
    if (count <= 0 || frame_plot::inMargin(planes, column, row))
        return;
    if (!band.holds(row - 1) || !band.holds(row + 1)) {
        if (band.holds(row - 1) || band.holds(row) || band.holds(row + 1))
            plotPartOfCross(planes, column, row, count, band);
        return;
    }
    if (count > 1)
        plotWholeCross(planes, column, row, count);
    else if (planes.green)
        frame_plot::plotStreamDot(planes, column, row);
    else
        frame_plot::streamDotPlane(planes.red, column, row);
}

void plotStreamRuns(const FramePlanes& planes, const StreamRun* runs, size_t count, RowBand band)
{
    for (size_t i = 0; i < count; ++i)
        plotStreamDots(planes, runs[i].column, runs[i].row, runs[i].count, band);
}

namespace {

// Walks the runs of the spans for one band: hands out the short runs whose
// whole cross lies in the band, to be plotted beside another band's, and
// plots the rest of the band's runs on the way, in their turn.
class BandCursor {
public:
    BandCursor(const FramePlanes& planes, const StreamRunSpan* spans, size_t spanCount, RowBand band)
        : planes(planes), spans(spans), spanCount(spanCount), band(band)
    {
    }

    // The next short run of the band, or null past the last run.
    const StreamRun* nextShortRun()
    {
        for (; span < spanCount; ++span, index = 0)
            while (index < spans[span].count) {
                const StreamRun& run = spans[span].runs[index++];
                if (run.count <= 0 || frame_plot::inMargin(planes, run.column, run.row))
                    continue;
                const bool whole = band.holds(run.row - 1) && band.holds(run.row + 1);
                if (whole && run.count <= shortRun)
                    return &run;
                plotStreamDots(planes, run.column, run.row, run.count, band);
            }
        return nullptr;
    }

private:
    const FramePlanes& planes;
    const StreamRunSpan* spans;
    size_t spanCount;
    RowBand band;
    size_t span = 0;
    size_t index = 0;
};

}  // namespace

// The bands share no row, so a run of one never touches a value of the
// other's, and only each band's own order matters.
void plotStreamRunsInTwoBands(const FramePlanes& planes, const StreamRunSpan* spans, size_t spanCount,
                              RowBand firstBand, RowBand secondBand)
{
    BandCursor first(planes, spans, spanCount, firstBand);
    BandCursor second(planes, spans, spanCount, secondBand);
    const StreamRun* firstRun = first.nextShortRun();
    const StreamRun* secondRun = second.nextShortRun();
    while (firstRun && secondRun) {
        plotTwoShortRuns(planes, *firstRun, *secondRun);
        firstRun = first.nextShortRun();
        secondRun = second.nextShortRun();
    }
    for (; firstRun; firstRun = first.nextShortRun())
        plotWholeCross(planes, firstRun->column, firstRun->row, firstRun->count);
    for (; secondRun; secondRun = second.nextShortRun())
        plotWholeCross(planes, secondRun->column, secondRun->row, secondRun->count);
}
