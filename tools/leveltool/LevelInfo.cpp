#include "LevelInfo.h"

#include "LevelText.h"

#include <algorithm>
#include <atomic>
#include <thread>

std::string TileKinds(const Board &board)
{
    int highest = 0;
    bool ones = false;
    bool seen[256] = {};
    for (CellCode c : board) {
        if (c == 1)
            ones = true;
        highest = std::max<int>(highest, c);
        if (c < 0)
            seen[static_cast<std::uint8_t>(c)] = true;
    }
    std::string kinds;
    auto add = [&kinds](const std::string &token) {
        if (!kinds.empty())
            kinds += ' ';
        kinds += token;
    };
    if (ones)
        add("1");
    if (highest > 1)
        add(std::to_string(highest));
    for (int c = -1; c >= -128; --c) {
        if (seen[static_cast<std::uint8_t>(c)])
            add(CellToken(static_cast<CellCode>(c)));
    }
    return kinds;
}

namespace {

LevelReport CheckLevel(const LevelRecord &level, int number, const VerifyOptions &options)
{
    LevelReport report;
    report.number = number;
    report.landings = LandingTotal(level.cells);
    report.tiles = CountTiles(level.cells);
    report.kinds = TileKinds(level.cells);
    const std::string name = "level " + std::to_string(number);
    if (level.cells[At(level.startCol, level.startRow)] == Empty) {
        report.fault = name + ": Pip starts on an empty cell (column "
            + std::to_string(level.startCol) + ", row " + std::to_string(level.startRow) + ")";
        return report;
    }
    report.solve = Solve(level, options.search);
    if (report.solve.verdict == Verdict::Unsolvable) {
        report.fault = name + ": cannot be solved";
        return report;
    }
    if (report.solve.verdict == Verdict::GaveUp) {
        report.fault = name + ": undecided, the search gave up after "
            + std::to_string(report.solve.nodes) + " positions (raise --budget)";
        return report;
    }
    if (options.analyze)
        report.analysis = Analyze(level, options.analysisBudget);
    return report;
}

} // namespace

std::vector<LevelReport> VerifyLevels(
    const std::vector<LevelRecord> &levels, const VerifyOptions &options)
{
    std::vector<LevelReport> reports(levels.size());
    std::atomic<std::size_t> next {0};
    auto work = [&] {
        for (std::size_t i = next++; i < levels.size(); i = next++)
            reports[i] = CheckLevel(levels[i], static_cast<int>(i) + 1, options);
    };
    const int threads = std::clamp(options.threads, 1, 64);
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread &t : pool)
        t.join();
    return reports;
}

std::vector<double> RollingMedian(const std::vector<double> &values, int window)
{
    std::vector<double> medians;
    const auto w = static_cast<std::size_t>(window);
    for (std::size_t end = w; end <= values.size(); ++end) {
        std::vector<double> run(values.begin() + static_cast<std::ptrdiff_t>(end - w),
            values.begin() + static_cast<std::ptrdiff_t>(end));
        std::nth_element(run.begin(), run.begin() + static_cast<std::ptrdiff_t>(w / 2), run.end());
        medians.push_back(run[w / 2]);
    }
    return medians;
}
