#include "sim/body_options.h"
#include "sim/number_option.h"

#include "core/immersed_boundary.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, start)) {
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

bool parseNumbers(const std::vector<std::string>& parts, size_t first, std::vector<double>& values)
{
    values.clear();
    for (size_t k = first; k < parts.size(); ++k) {
        double value;
        if (!parseFiniteNumber(parts[k], value))
            return false;
        values.push_back(value);
    }
    return true;
}

}  // namespace

bool parseBodyOption(const std::string& text, BodyOutline& outline, std::string& error)
{
    const size_t colon = text.find(':');
    const std::string shape = text.substr(0, colon), rest = colon == std::string::npos ? "" : text.substr(colon + 1);
    std::vector<double> values;
    if (shape == "circle") {
        if (!parseNumbers(split(rest, ','), 0, values) || values.size() != 3 || !(values[2] > 0.0))
            error = "--body circle needs X,Y,R with R above 0, not '" + rest + "'";
        else
            outline = BodyOutline::circle(values[0], values[1], values[2]);
    } else if (shape == "polygon") {
        std::vector<OutlinePoint> corners;
        for (const std::string& corner : split(rest, ';')) {
            if (!parseNumbers(split(corner, ','), 0, values) || values.size() != 2)
                break;
            corners.push_back({values[0], values[1]});
        }
        if (corners.size() < 3 || corners.size() != split(rest, ';').size() || signedArea(corners) == 0.0)
            error = "--body polygon needs three or more corners X1,Y1;X2,Y2;... enclosing an area, not '" + rest + "'";
        else
            outline = BodyOutline::polygon(std::move(corners));
    } else if (shape == "naca") {
        const std::vector<std::string> parts = split(rest, ',');
        if (parts.size() != 5 || !parseNumbers(parts, 1, values)
            || !nacaOutline(parts[0], {values[0], values[1]}, values[2], values[3], nacaCornersPerSide, outline))
            error = "--body naca needs DIGITS,X,Y,CHORD,ANGLE (four digits, a chord above 0), not '" + rest + "'";
    } else {
        error = "--body needs circle:, polygon: or naca:, not '" + text + "'";
    }
    return error.empty();
}

void drawBodies(const std::vector<BodyOutline>& bodies, Grid& grid)
{
    if (bodies.empty())
        return;
    grid.outlines.insert(grid.outlines.end(), bodies.begin(), bodies.end());
    markCoveredCells(grid);
}

const char* const bodyUsage =
    "\n"
    "Bodies with exact outlines, drawn over the grid (repeatable; domain units,\n"
    "origin at the south-west corner, the domain 1 high; the cells an outline\n"
    "covers become walls and the solver keeps the outline itself):\n"
    "  --body circle:X,Y,R\n"
    "  --body polygon:X1,Y1;X2,Y2;X3,Y3[;...]\n"
    "  --body naca:DIGITS,X,Y,CHORD,ANGLE  a NACA four-digit section, X,Y its\n"
    "                  leading edge, ANGLE of attack in degrees (nose up)\n";
