// Sums and maxima over a run of indices kept in four lanes (index modulo 4
// from the run's start), so a pass is not held up waiting for each addition
// before the next: one running sum costs the latency of an addition per
// element. The lanes are added in a fixed order at the end, so a sum comes
// out the same on every machine; a maximum is exact in any order.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

struct FourLanes {
    double lane[4] = {0.0, 0.0, 0.0, 0.0};

    double sum() const { return (lane[0] + lane[1]) + (lane[2] + lane[3]); }
    double largest() const { return std::max(std::max(lane[0], lane[1]), std::max(lane[2], lane[3])); }
    void addLargest(int index, double value) { lane[index] = std::max(lane[index], std::fabs(value)); }
};

// Calls visit(index, lane) for index = first .. end - 1, lane 0..3 in turn;
// the lane is a constant in each call, so the lanes stay in registers.
template <class Index, class Visit>
inline void forFourLanes(Index first, Index end, Visit&& visit)
{
    Index k = first;
    for (; k + 4 <= end; k += 4) {
        visit(k, 0);
        visit(k + 1, 1);
        visit(k + 2, 2);
        visit(k + 3, 3);
    }
    // At most three left: a lane given by a variable would keep the lanes
    // in memory.
    if (k < end)
        visit(k, 0);
    if (k + 1 < end)
        visit(k + 1, 1);
    if (k + 2 < end)
        visit(k + 2, 2);
}
