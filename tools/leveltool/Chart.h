// A chart of a level set: difficulty and landings per level, as SVG.
#pragma once

#include <string>
#include <vector>

struct ChartPoint
{
    int landings = 0;
    double difficulty = 0;
};

// Two panels over the level numbers: the difficulty of every level with its
// rolling median over 25 levels, and the landings of every level.
std::string ChartSvg(const std::vector<ChartPoint> &points);
