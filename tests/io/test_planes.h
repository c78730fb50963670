// TestPlanes: three float planes that the io tests fill directly and hand
// to the writers as the read-only view they take.
#pragma once

#include "io/rgb_planes.h"

#include <vector>

struct TestPlanes {
    std::vector<std::vector<float>> red, green, blue;  // [row][column]

    TestPlanes(int width, int height)
        : red(height, std::vector<float>(width)), green(red), blue(red), columns(width), rows(height)
    {
    }

    // Every pixel of the inclusive rectangle set to (r, g, b).
    void fill(int x0, int y0, int x1, int y1, float r, float g, float b)
    {
        for (int row = y0; row <= y1; ++row)
            for (int column = x0; column <= x1; ++column) {
                red[row][column] = r;
                green[row][column] = g;
                blue[row][column] = b;
            }
    }

    // Valid until the planes change size.
    RgbPlanes view()
    {
        redRows = rowTable(red);
        greenRows = rowTable(green);
        blueRows = rowTable(blue);
        return RgbPlanes{redRows.data(), greenRows.data(), blueRows.data(), columns, rows};
    }

private:
    static std::vector<const float*> rowTable(const std::vector<std::vector<float>>& plane)
    {
        std::vector<const float*> table;
        for (const std::vector<float>& row : plane)
            table.push_back(row.data());
        return table;
    }

    int columns;
    int rows;
    std::vector<const float*> redRows, greenRows, blueRows;
};
