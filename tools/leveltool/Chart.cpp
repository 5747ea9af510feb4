#include "Chart.h"

#include "LevelInfo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int Width = 960;
constexpr int PanelHeight = 250;
constexpr int Left = 60;
constexpr int Right = 20;
constexpr int Top = 40;
constexpr int Gap = 50;

std::string Number(double v)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", v);
    return buffer;
}

// Values rounded up to a multiple of `step` for the axis.
double AxisTop(double highest, double step)
{
    return std::max(step, std::ceil(highest / step) * step);
}

struct Panel
{
    int top;
    double maxValue;
    std::size_t count;

    double X(std::size_t index) const
    {
        const double span = Width - Left - Right;
        return Left + span * (static_cast<double>(index) + 0.5) / static_cast<double>(count);
    }
    double Y(double value) const { return top + PanelHeight * (1.0 - value / maxValue); }
};

void Frame(std::string &svg, const Panel &p, double step, const std::string &title)
{
    svg += "<text x=\"" + std::to_string(Left) + "\" y=\"" + std::to_string(p.top - 10)
        + "\" font-size=\"15\" font-weight=\"bold\">" + title + "</text>\n";
    for (double v = 0; v <= p.maxValue + 1e-9; v += step) {
        const std::string y = Number(p.Y(v));
        svg += "<line x1=\"" + std::to_string(Left) + "\" x2=\"" + std::to_string(Width - Right)
            + "\" y1=\"" + y + "\" y2=\"" + y + "\" stroke=\"#ddd\"/>\n";
        svg += "<text x=\"" + std::to_string(Left - 6) + "\" y=\"" + Number(p.Y(v) + 4)
            + "\" font-size=\"11\" text-anchor=\"end\">" + std::to_string(static_cast<int>(v))
            + "</text>\n";
    }
    for (std::size_t level = 100; level <= p.count; level += 100) {
        const std::string x = Number(p.X(level - 1));
        svg += "<line x1=\"" + x + "\" x2=\"" + x + "\" y1=\"" + std::to_string(p.top) + "\" y2=\""
            + std::to_string(p.top + PanelHeight) + "\" stroke=\"#ddd\"/>\n";
    }
    for (std::size_t level = 1; level <= p.count; level += (level == 1 ? 99 : 100)) {
        svg += "<text x=\"" + Number(p.X(level - 1)) + "\" y=\""
            + std::to_string(p.top + PanelHeight + 15)
            + "\" font-size=\"11\" text-anchor=\"middle\">" + std::to_string(level) + "</text>\n";
    }
    svg += "<rect x=\"" + std::to_string(Left) + "\" y=\"" + std::to_string(p.top) + "\" width=\""
        + std::to_string(Width - Left - Right) + "\" height=\"" + std::to_string(PanelHeight)
        + "\" fill=\"none\" stroke=\"#888\"/>\n";
}

void Dots(std::string &svg, const Panel &p, const std::vector<double> &values, const char *colour)
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        svg += "<circle cx=\"" + Number(p.X(i)) + "\" cy=\"" + Number(p.Y(values[i]))
            + "\" r=\"1.8\" fill=\"" + colour + "\"/>\n";
    }
}

void Line(std::string &svg, const Panel &p, const std::vector<double> &values, std::size_t offset,
    const char *colour)
{
    if (values.empty())
        return;
    svg += "<polyline fill=\"none\" stroke=\"" + std::string(colour)
        + "\" stroke-width=\"2.5\" points=\"";
    for (std::size_t i = 0; i < values.size(); ++i)
        svg += Number(p.X(i + offset)) + "," + Number(p.Y(values[i])) + " ";
    svg += "\"/>\n";
}

} // namespace

std::string ChartSvg(const std::vector<ChartPoint> &points)
{
    std::vector<double> difficulty;
    std::vector<double> landings;
    for (const ChartPoint &p : points) {
        difficulty.push_back(p.difficulty);
        landings.push_back(p.landings);
    }
    const double maxDifficulty = AxisTop(
        difficulty.empty() ? 1 : *std::max_element(difficulty.begin(), difficulty.end()), 5);
    const double maxLandings
        = AxisTop(landings.empty() ? 1 : *std::max_element(landings.begin(), landings.end()), 10);
    const Panel upper {Top, maxDifficulty, points.size()};
    const Panel lower {Top + PanelHeight + Gap, maxLandings, points.size()};
    const int height = lower.top + PanelHeight + 45;

    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(Width)
        + "\" height=\"" + std::to_string(height) + "\" viewBox=\"0 0 " + std::to_string(Width)
        + " " + std::to_string(height) + "\" font-family=\"DejaVu Sans, sans-serif\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    Frame(svg, upper, 5,
        "Difficulty (bits: a random player finishes once in 2^d tries); line: median of 25");
    Dots(svg, upper, difficulty, "#4a78c2");
    // Each median stands at the middle level of its run of 25.
    Line(svg, upper, RollingMedian(difficulty, MedianWindow), MedianWindow / 2, "#c0392b");
    Frame(svg, lower, 10, "Landings per level; line: median of 25");
    Dots(svg, lower, landings, "#3c9a5f");
    Line(svg, lower, RollingMedian(landings, MedianWindow), MedianWindow / 2, "#c0392b");
    svg += "<text x=\"" + std::to_string(Width / 2) + "\" y=\"" + std::to_string(height - 8)
        + "\" font-size=\"12\" text-anchor=\"middle\">level</text>\n";
    svg += "</svg>\n";
    return svg;
}
