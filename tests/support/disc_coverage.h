// A disc drawn anti-aliased: the share of each pixel of a width x height
// picture (rows from the top) that a disc about (cx, cy) of radius r
// covers, from n x n samples a pixel.
#pragma once

#include <cmath>
#include <vector>

inline std::vector<float> discCoverage(int width, int height, double cx, double cy, double r, int n = 16)
{
    std::vector<float> share;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int inside = 0;
            for (int a = 0; a < n; ++a)
                for (int b = 0; b < n; ++b)
                    inside += std::hypot(x + (a + 0.5) / n - cx, y + (b + 0.5) / n - cy) < r ? 1 : 0;
            share.push_back(static_cast<float>(inside) / (n * n));
        }
    return share;
}
