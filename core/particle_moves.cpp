#include "core/particle_moves.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

// Two doubles worked on at once, (x, y) or (u, v). Each lane does exactly
// the operations a single double would, so the bits are the same.
typedef double Pair __attribute__((vector_size(16)));
typedef int32_t IndexPair __attribute__((vector_size(8)));

inline Pair both(double a)
{
    return Pair{a, a};
}

// The u and v faces of one field as flat rows (a[i][j] at i * NY + j) with
// the limits of the bilinear interpolation.
struct FaceSampler {
    const double* u;
    const double* v;
    int32_t NY;
    Pair lastFace;  // NX - 1, NY - 1: the outermost faces, as cell coordinates
    Pair lastCell;  // NX - 2, NY - 2: the last west and south corners

    explicit FaceSampler(const Grid& g)
        : u(g.u.data()), v(g.v.data()), NY(g.NY), lastFace{g.NX - 1.0, g.NY - 1.0}, lastCell{g.NX - 2.0, g.NY - 2.0}
    {
    }

    // The velocity (u, v) at cell coordinates (X, Y), bilinear from the
    // four faces around it; beyond the outermost faces the nearest ones
    // (u sits at (i + 1, j + 1/2), v at (i + 1/2, j + 1)).
    Pair at(Pair cell) const
    {
        // Lanes (of u, of v): the place among each one's faces, clamped so
        // that a NaN lands on the first face rather than off the array.
        Pair fx = both(cell[0]) - Pair{1.0, 0.5};
        Pair fy = both(cell[1]) - Pair{0.5, 1.0};
        fx = fx > 0.0 ? fx : both(0.0);
        fy = fy > 0.0 ? fy : both(0.0);
        fx = fx < lastFace[0] ? fx : both(lastFace[0]);
        fy = fy < lastFace[1] ? fy : both(lastFace[1]);
        // The south-west face of the four: on the last face, the one before.
        const IndexPair i = __builtin_convertvector(fx < lastCell[0] ? fx : both(lastCell[0]), IndexPair);
        const IndexPair j = __builtin_convertvector(fy < lastCell[1] ? fy : both(lastCell[1]), IndexPair);
        const Pair sx = fx - __builtin_convertvector(i, Pair);
        const Pair sy = fy - __builtin_convertvector(j, Pair);
        const double* a = u + (static_cast<std::ptrdiff_t>(i[0]) * NY + j[0]);
        const double* b = v + (static_cast<std::ptrdiff_t>(i[1]) * NY + j[1]);
        const Pair southWest{a[0], b[0]}, northWest{a[1], b[1]};
        const Pair southEast{a[NY], b[NY]}, northEast{a[NY + 1], b[NY + 1]};
        const Pair west = 1.0 - sx;
        return (1.0 - sy) * (west * southWest + sx * southEast) + sy * (west * northWest + sx * northEast);
    }
};

// Where a particle may go, by cell (the tracer's Kind values), as flat
// rows; everything off the grid is gone.
struct CellKinds {
    const unsigned char* kinds;
    int32_t NY;
    Pair size;  // NX, NY

    explicit CellKinds(const Array2D<unsigned char>& table)
        : kinds(table.data()), NY(table.colCount()), size{double(table.rowCount()), double(table.colCount())}
    {
    }
    // The kind at cell coordinates (X, Y).
    unsigned char at(Pair cell) const
    {
        const auto inside = (cell >= 0.0) & (cell < size);
        if (!(inside[0] & inside[1]))
            return gone;
        const IndexPair ij = __builtin_convertvector(cell, IndexPair);
        return kinds[static_cast<std::ptrdiff_t>(ij[0]) * NY + ij[1]];
    }
    static constexpr unsigned char open = 0, gone = 2;
};

// One step of Heun's method for every particle, all it reads gathered
// once; toCell is (1 / dx, 1 / dy).
struct HeunStep {
    FaceSampler before, after;
    CellKinds cells;
    double dt, halfDt;
    Pair toCell;

    HeunStep(const Grid& fieldBefore, const Grid& fieldAfter, const Array2D<unsigned char>& kinds, double dt,
             double toCellX, double toCellY)
        : before(fieldBefore), after(fieldAfter), cells(kinds), dt(dt), halfDt(0.5 * dt), toCell{toCellX, toCellY}
    {
    }

    // Where Heun's method takes the particle at place (x, y).
    Pair destination(Pair place) const
    {
        const Pair k1 = before.at(place * toCell);
        const Pair k2 = after.at((place + dt * k1) * toCell);
        return place + halfDt * (k1 + k2);
    }

    // Moves the particle at place to the destination, or slides it along a
    // wall it would enter; false when it has left the flow.
    bool settle(Pair& place, Pair to) const
    {
        const unsigned char kind = cells.at(to * toCell);
        if (kind == CellKinds::open) {
            place = to;
            return true;
        }
        if (kind == CellKinds::gone)
            return false;
        if (cells.at(Pair{to[0], place[1]} * toCell) == CellKinds::open)
            place[0] = to[0];
        else if (cells.at(Pair{place[0], to[1]} * toCell) == CellKinds::open)
            place[1] = to[1];
        return true;
    }

    void settleInto(Particle& p, unsigned char& gone, Pair place, Pair to) const
    {
        gone = settle(place, to) ? 0 : 1;
        p.x = place[0];
        p.y = place[1];
    }
};

// Moves particles first .. end - 1 of the step and marks in left those
// that left the flow (1) or stay (0). A few particles' destinations are
// worked out side by side, so that the processor can overlap their long
// chains of dependent steps.
void moveEach(const HeunStep& step, Particle* particles, unsigned char* left, std::size_t first, std::size_t end)
{
    constexpr std::size_t batch = 8;
    std::size_t k = first;
    for (; k + batch <= end; k += batch) {
        Pair place[batch], to[batch];
#pragma GCC unroll 8
        for (std::size_t b = 0; b < batch; ++b) {
            place[b] = Pair{particles[k + b].x, particles[k + b].y};
            to[b] = step.destination(place[b]);
        }
        for (std::size_t b = 0; b < batch; ++b)
            step.settleInto(particles[k + b], left[k + b], place[b], to[b]);
    }
    for (; k < end; ++k) {
        const Pair place{particles[k].x, particles[k].y};
        step.settleInto(particles[k], left[k], place, step.destination(place));
    }
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KELVO_PARTICLES_AVX2 1

// Whether the four lanes can take the step: the fields and the cells of one
// size (the lanes ask for faces by the cells' indices), every offset within
// the 32 bits the lanes hold.
bool fourLanesFit(const HeunStep& step)
{
    const Pair cells = step.cells.size;
    const auto sameSize = [&](const FaceSampler& field) {
        return field.NY == step.cells.NY && field.lastFace[0] + 1.0 == cells[0] && field.lastFace[1] + 1.0 == cells[1];
    };
    return sameSize(step.before) && sameSize(step.after) && cells[0] * cells[1] < 2147483647.0;
}

// Where the processor has AVX2: four particles at once, one in each lane of
// a register, every lane doing exactly the operations HeunStep does for its
// particle (max and min here are the same comparisons as its clamps, and
// nothing fuses a multiply with an add), so the bits are the same.
namespace avx2 {

#define KELVO_AVX2 __attribute__((target("avx2"), always_inline)) inline

// (a[0] a[1] b[0] b[1])
KELVO_AVX2 __m256d pairs(const double* a, const double* b)
{
    return _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(a)), _mm_loadu_pd(b), 1);
}

// FaceSampler::at for one of u and v: faces its array, (fx, fy) the four
// places among its faces.
struct Faces {
    const double* faces;
    __m128i NY;
    std::ptrdiff_t east;  // NY, the offset of the east neighbour
    __m256d lastFaceX, lastFaceY, lastCellX, lastCellY;

    KELVO_AVX2 __m256d at(__m256d fx, __m256d fy) const
    {
        fx = _mm256_min_pd(_mm256_max_pd(fx, _mm256_setzero_pd()), lastFaceX);
        fy = _mm256_min_pd(_mm256_max_pd(fy, _mm256_setzero_pd()), lastFaceY);
        const __m128i i = _mm256_cvttpd_epi32(_mm256_min_pd(fx, lastCellX));
        const __m128i j = _mm256_cvttpd_epi32(_mm256_min_pd(fy, lastCellY));
        const __m256d sx = _mm256_sub_pd(fx, _mm256_cvtepi32_pd(i));
        const __m256d sy = _mm256_sub_pd(fy, _mm256_cvtepi32_pd(j));
        alignas(16) int32_t southWest[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(southWest), _mm_add_epi32(_mm_mullo_epi32(i, NY), j));
        // Each lane's (south, north) pairs of its west and east faces, then
        // the lanes' four corners each in a register of their own.
        const double* a0 = faces + southWest[0];
        const double* a1 = faces + southWest[1];
        const double* a2 = faces + southWest[2];
        const double* a3 = faces + southWest[3];
        const __m256d west02 = pairs(a0, a2), west13 = pairs(a1, a3);
        const __m256d east02 = pairs(a0 + east, a2 + east), east13 = pairs(a1 + east, a3 + east);
        const __m256d sw = _mm256_unpacklo_pd(west02, west13), nw = _mm256_unpackhi_pd(west02, west13);
        const __m256d se = _mm256_unpacklo_pd(east02, east13), ne = _mm256_unpackhi_pd(east02, east13);
        const __m256d one = _mm256_set1_pd(1.0);
        const __m256d west = _mm256_sub_pd(one, sx);
        const __m256d south = _mm256_add_pd(_mm256_mul_pd(west, sw), _mm256_mul_pd(sx, se));
        const __m256d northRow = _mm256_add_pd(_mm256_mul_pd(west, nw), _mm256_mul_pd(sx, ne));
        return _mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(one, sy), south), _mm256_mul_pd(sy, northRow));
    }
};

KELVO_AVX2 Faces facesOf(const FaceSampler& field, const double* faces)
{
    return {faces,
            _mm_set1_epi32(field.NY),
            field.NY,
            _mm256_set1_pd(field.lastFace[0]),
            _mm256_set1_pd(field.lastFace[1]),
            _mm256_set1_pd(field.lastCell[0]),
            _mm256_set1_pd(field.lastCell[1])};
}

// CellKinds::at for four places: whether all four land in open cells.
struct Cells {
    const unsigned char* kinds;
    __m128i NY;
    __m256d toCellX, toCellY, sizeX, sizeY;
};

KELVO_AVX2 bool allOpen(const Cells& cells, __m256d x, __m256d y)
{
    const __m256d X = _mm256_mul_pd(x, cells.toCellX), Y = _mm256_mul_pd(y, cells.toCellY);
    const __m256d zero = _mm256_setzero_pd();
    const __m256d inside = _mm256_and_pd(
        _mm256_and_pd(_mm256_cmp_pd(X, zero, _CMP_GE_OQ), _mm256_cmp_pd(X, cells.sizeX, _CMP_LT_OQ)),
        _mm256_and_pd(_mm256_cmp_pd(Y, zero, _CMP_GE_OQ), _mm256_cmp_pd(Y, cells.sizeY, _CMP_LT_OQ)));
    if (_mm256_movemask_pd(inside) != 0xF)
        return false;
    alignas(16) int32_t cell[4];
    const __m128i i = _mm256_cvttpd_epi32(X), j = _mm256_cvttpd_epi32(Y);
    _mm_store_si128(reinterpret_cast<__m128i*>(cell), _mm_add_epi32(_mm_mullo_epi32(i, cells.NY), j));
    static_assert(CellKinds::open == 0, "open cells are the zeros");
    return (cells.kinds[cell[0]] | cells.kinds[cell[1]] | cells.kinds[cell[2]] | cells.kinds[cell[3]]) == 0;
}

// The four particles' x and y from (x0 y0 x2 y2) and (x1 y1 x3 y3).
KELVO_AVX2 void loadPlaces(const Particle* p, __m256d& x, __m256d& y)
{
    const __m256d even = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(&p[0].x)), _mm_loadu_pd(&p[2].x), 1);
    const __m256d odd = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(&p[1].x)), _mm_loadu_pd(&p[3].x), 1);
    x = _mm256_unpacklo_pd(even, odd);
    y = _mm256_unpackhi_pd(even, odd);
}

// Particles ahead of the four being moved whose faces are asked for: a
// particle reads faces of columns far apart in memory, which the processor
// would otherwise wait for one by one.
constexpr std::size_t facesAhead = 16;
// Particles ahead whose bytes are asked for: once the solver's step has
// pushed them out of the cache, the processor's own fetching of the run
// measured slower than this.
constexpr std::size_t particlesAhead = 64;

// Asks for the faces around four particles' places, before and after the
// step, in the cache (the faces of the corrector's place are mostly the
// same ones).
struct Prefetch {
    const double* fields[4];
    std::ptrdiff_t east;  // NY, the offset of the next column
    __m128i NY, lastColumn, lastRow;
    __m256d toCellX, toCellY;

    KELVO_AVX2 Prefetch(const HeunStep& step, __m256d toCellX, __m256d toCellY)
        : fields{step.before.u, step.before.v, step.after.u, step.after.v}, east(step.cells.NY),
          NY(_mm_set1_epi32(step.cells.NY)),
          lastColumn(_mm_set1_epi32(static_cast<int32_t>(step.cells.size[0]) - 2)),
          lastRow(_mm_set1_epi32(static_cast<int32_t>(step.cells.size[1]) - 2)), toCellX(toCellX), toCellY(toCellY)
    {
    }

    // The four particles p[0..3] themselves.
    KELVO_AVX2 void particles(const Particle* p) const
    {
        static_assert(4 * sizeof(Particle) == 128, "four particles, two cache lines");
        _mm_prefetch(reinterpret_cast<const char*>(p), _MM_HINT_T0);
        _mm_prefetch(reinterpret_cast<const char*>(p + 2), _MM_HINT_T0);
    }

    // The faces around the four particles p[0..3].
    KELVO_AVX2 void faces(const Particle* p) const
    {
        __m256d x, y;
        loadPlaces(p, x, y);
        // The particle's cell (i, j), held off the ring so that the faces
        // asked for, from (i - 1, j - 1) and (i, j - 1) on, are the grid's.
        const __m128i one = _mm_set1_epi32(1);
        const __m128i i = _mm_max_epi32(_mm_min_epi32(_mm256_cvttpd_epi32(_mm256_mul_pd(x, toCellX)), lastColumn), one);
        const __m128i j = _mm_max_epi32(_mm_min_epi32(_mm256_cvttpd_epi32(_mm256_mul_pd(y, toCellY)), lastRow), one);
        const __m128i southWest = _mm_add_epi32(_mm_mullo_epi32(_mm_sub_epi32(i, one), NY), _mm_sub_epi32(j, one));
        alignas(16) int32_t first[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(first), southWest);
        for (int b = 0; b < 4; ++b)
            for (const double* field : fields) {
                _mm_prefetch(reinterpret_cast<const char*>(field + first[b]), _MM_HINT_T0);
                _mm_prefetch(reinterpret_cast<const char*>(field + first[b] + east), _MM_HINT_T0);
            }
    }
};

// Four particles' places (x, y) and the predictor's velocities there.
struct Predicted {
    __m256d x, y, k1u, k1v;
};

// HeunStep for four particles at once.
struct FourMoves {
    const HeunStep& step;
    Faces uBefore, vBefore, uAfter, vAfter;
    Cells cells;
    __m256d dt, halfDt, toCellX, toCellY;

    KELVO_AVX2 explicit FourMoves(const HeunStep& step)
        : step(step), uBefore(facesOf(step.before, step.before.u)), vBefore(facesOf(step.before, step.before.v)),
          uAfter(facesOf(step.after, step.after.u)), vAfter(facesOf(step.after, step.after.v)),
          cells{step.cells.kinds, _mm_set1_epi32(step.cells.NY), _mm256_set1_pd(step.toCell[0]),
                _mm256_set1_pd(step.toCell[1]), _mm256_set1_pd(step.cells.size[0]), _mm256_set1_pd(step.cells.size[1])},
          dt(_mm256_set1_pd(step.dt)), halfDt(_mm256_set1_pd(step.halfDt)), toCellX(cells.toCellX),
          toCellY(cells.toCellY)
    {
    }

    // HeunStep::destination in its two halves: the predictor, from the
    // places (x, y) and the field before the step,
    KELVO_AVX2 Predicted predict(__m256d x, __m256d y) const
    {
        const __m256d one = _mm256_set1_pd(1.0), half = _mm256_set1_pd(0.5);
        const __m256d X = _mm256_mul_pd(x, toCellX), Y = _mm256_mul_pd(y, toCellY);
        const __m256d k1u = uBefore.at(_mm256_sub_pd(X, one), _mm256_sub_pd(Y, half));
        const __m256d k1v = vBefore.at(_mm256_sub_pd(X, half), _mm256_sub_pd(Y, one));
        return {x, y, k1u, k1v};
    }

    // and the corrector, from the field after it: (toX, toY).
    KELVO_AVX2 void correct(const Predicted& first, __m256d& toX, __m256d& toY) const
    {
        const __m256d one = _mm256_set1_pd(1.0), half = _mm256_set1_pd(0.5);
        const __m256d X2 = _mm256_mul_pd(_mm256_add_pd(first.x, _mm256_mul_pd(dt, first.k1u)), toCellX);
        const __m256d Y2 = _mm256_mul_pd(_mm256_add_pd(first.y, _mm256_mul_pd(dt, first.k1v)), toCellY);
        const __m256d k2u = uAfter.at(_mm256_sub_pd(X2, one), _mm256_sub_pd(Y2, half));
        const __m256d k2v = vAfter.at(_mm256_sub_pd(X2, half), _mm256_sub_pd(Y2, one));
        toX = _mm256_add_pd(first.x, _mm256_mul_pd(halfDt, _mm256_add_pd(first.k1u, k2u)));
        toY = _mm256_add_pd(first.y, _mm256_mul_pd(halfDt, _mm256_add_pd(first.k1v, k2v)));
    }

    // HeunStep::settleInto for the four particles p[0..3] from (x, y).
    KELVO_AVX2 void settle(Particle* p, unsigned char* left, __m256d x, __m256d y, __m256d toX, __m256d toY) const
    {
        if (allOpen(cells, toX, toY)) {
            // (x0 y0 x2 y2) and (x1 y1 x3 y3) back into the particles.
            const __m256d toEven = _mm256_unpacklo_pd(toX, toY), toOdd = _mm256_unpackhi_pd(toX, toY);
            _mm_storeu_pd(&p[0].x, _mm256_castpd256_pd128(toEven));
            _mm_storeu_pd(&p[1].x, _mm256_castpd256_pd128(toOdd));
            _mm_storeu_pd(&p[2].x, _mm256_extractf128_pd(toEven, 1));
            _mm_storeu_pd(&p[3].x, _mm256_extractf128_pd(toOdd, 1));
            std::memset(left, 0, 4);
            return;
        }
        // One of them stopped by a wall or gone: each on its own.
        alignas(32) double xs[4], ys[4], toXs[4], toYs[4];
        _mm256_store_pd(xs, x);
        _mm256_store_pd(ys, y);
        _mm256_store_pd(toXs, toX);
        _mm256_store_pd(toYs, toY);
        for (int b = 0; b < 4; ++b)
            step.settleInto(p[b], left[b], Pair{xs[b], ys[b]}, Pair{toXs[b], toYs[b]});
    }
};

KELVO_AVX2 void moveFoursInline(const HeunStep& step, Particle* particles, unsigned char* left, std::size_t first,
                                std::size_t end)
{
    const FourMoves moves(step);
    const Prefetch fetch{step, moves.toCellX, moves.toCellY};
    // The predictor of the next four is worked out beside the corrector of
    // these four: two chains of dependent steps half as long as one whole
    // move, which the processor overlaps where it could not overlap whole
    // moves one after another.
    std::size_t k = first;
    Predicted current{};
    if (k + 4 <= end) {
        __m256d x, y;
        loadPlaces(particles + k, x, y);
        current = moves.predict(x, y);
    }
    for (; k + 4 <= end; k += 4) {
        Particle* p = particles + k;
        if (k + particlesAhead + 4 <= end)
            fetch.particles(p + particlesAhead);
        if (k + facesAhead + 4 <= end)
            fetch.faces(p + facesAhead);
        Predicted next = current;
        if (k + 8 <= end) {
            __m256d x, y;
            loadPlaces(p + 4, x, y);
            next = moves.predict(x, y);
        }
        __m256d toX, toY;
        moves.correct(current, toX, toY);
        moves.settle(p, left + k, current.x, current.y, toX, toY);
        current = next;
    }
    moveEach(step, particles, left, k, end);
}

__attribute__((target("avx2"))) void moveFours(const HeunStep& step, Particle* particles, unsigned char* left,
                                               std::size_t first, std::size_t end)
{
    moveFoursInline(step, particles, left, first, end);
}

// The same operations with AVX-512VL's sixteen more registers: the loop
// holds more values than AVX2's sixteen, and spills far fewer of them to
// the stack and back.
__attribute__((target("avx2,avx512f,avx512vl"))) void moveFoursMoreRegisters(const HeunStep& step, Particle* particles,
                                                                             unsigned char* left, std::size_t first,
                                                                             std::size_t end)
{
    moveFoursInline(step, particles, left, first, end);
}

#undef KELVO_AVX2
}  // namespace avx2
#endif

}  // namespace

void moveParticles(const ParticleStepFields& fields, Particle* particles, unsigned char* left, std::size_t first,
                   std::size_t end, MoveLanes lanes)
{
    // A step of its own: the particles written in the loop could otherwise
    // be taken to change what it reads.
    const HeunStep step(fields.before, fields.after, fields.kinds, fields.dt, fields.invDx, fields.invDy);
#ifdef KELVO_PARTICLES_AVX2
    if (lanes != MoveLanes::one && __builtin_cpu_supports("avx2") && fourLanesFit(step)) {
        if (lanes == MoveLanes::widest && __builtin_cpu_supports("avx512vl"))
            avx2::moveFoursMoreRegisters(step, particles, left, first, end);
        else
            avx2::moveFours(step, particles, left, first, end);
        return;
    }
#endif
    (void)lanes;
    moveEach(step, particles, left, first, end);
}

unsigned char particleCellKind(const Array2D<unsigned char>& kinds, double x, double y, double invDx, double invDy)
{
    return CellKinds(kinds).at(Pair{x, y} * Pair{invDx, invDy});
}

FaceVelocity interpolateFaces(const Grid& field, double x, double y)
{
    const Pair at = FaceSampler(field).at(Pair{x / field.dx, y / field.dy});
    return {at[0], at[1]};
}

