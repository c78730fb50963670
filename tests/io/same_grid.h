// Comparing grids read back from files.
#pragma once

#include "core/grid.h"

#include <gtest/gtest.h>

// Every header value and array element of two grids equal.
inline void expectSameGrid(const Grid& a, const Grid& b)
{
    ASSERT_EQ(a.NX, b.NX);
    ASSERT_EQ(a.NY, b.NY);
    EXPECT_EQ(a.aux1, b.aux1);
    EXPECT_EQ(a.aux2, b.aux2);
    EXPECT_EQ(a.dx, b.dx);
    EXPECT_EQ(a.dy, b.dy);
    for (int i = 0; i < a.NX; ++i)
        for (int j = 0; j < a.NY; ++j) {
            ASSERT_EQ(a.flags[i][j], b.flags[i][j]) << i << "," << j;
            ASSERT_EQ(a.u[i][j], b.u[i][j]) << i << "," << j;
            ASSERT_EQ(a.v[i][j], b.v[i][j]) << i << "," << j;
            ASSERT_EQ(a.p[i][j], b.p[i][j]) << i << "," << j;
        }
}
