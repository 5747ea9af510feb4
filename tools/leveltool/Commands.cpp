#include "Commands.h"

#include "Chart.h"
#include "Generator.h"
#include "LevelFile.h"
#include "LevelInfo.h"
#include "LevelText.h"
#include "Symmetry.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <ostream>

namespace {

// Positions the bench lets the search without table and cuts expand per
// level: enough to show the difference, short of hours.
constexpr std::uint64_t PlainBenchBudget = 2'000'000;

constexpr const char *Usage = R"(usage: leveltool COMMAND ...

  compile -o OUT.dat IN.lvl...   text levels to a level set (levels numbered on across files)
  decompile IN.dat [-o OUT.lvl]  a level set to text; compiling it gives the same bytes
  show FILE N                    level N as a text picture
  solve FILE [N] [--plain]       a solution as key presses, with nodes and time
  verify FILE [options]          every level valid, solvable and unique; a table of them
      --budget N                 positions a search may expand before it gives up
      --no-stats                 skip counting solutions and rating difficulty
      --curve                    also require the difficulty to rise along the set
      -j N                       threads (default 1)
  bench FILE [--plain-budget N]  verify timed with and without the table and cuts
  chart FILE OUT.svg             difficulty and landings per level as a picture
  generate --seed S [--first A] [--last B] [--prior FILE...] [-o OUT.lvl]
                                 the reproducible level generator

FILE is a level set (.dat) or a text file (anything else).
)";

struct Args
{
    std::vector<std::string> plain; // positional arguments
    std::map<std::string, std::vector<std::string>> options;

    bool Has(const std::string &name) const { return options.count(name) > 0; }
    std::string Get(const std::string &name, const std::string &fallback = {}) const
    {
        auto it = options.find(name);
        return it == options.end() || it->second.empty() ? fallback : it->second.back();
    }
};

// Options that take a value; all others are flags.
bool TakesValue(const std::string &name)
{
    static const char *const names[] = {"-o", "--budget", "-j", "--seed", "--first", "--last",
        "--prior", "--plain-budget", "--analysis-budget"};
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

bool ParseArgs(
    const std::vector<std::string> &in, std::size_t from, Args &args, std::string &message)
{
    for (std::size_t i = from; i < in.size(); ++i) {
        const std::string &a = in[i];
        if (a.size() > 1 && a[0] == '-' && !(a[1] >= '0' && a[1] <= '9')) {
            std::vector<std::string> &values = args.options[a];
            if (TakesValue(a)) {
                if (i + 1 >= in.size()) {
                    message = "option " + a + " needs a value";
                    return false;
                }
                values.push_back(in[++i]);
            }
            continue;
        }
        args.plain.push_back(a);
    }
    return true;
}

bool ToNumber(const std::string &text, std::uint64_t &value)
{
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size();
}

// A level number from the command line, checked against the set.
bool LevelNumber(const std::string &text, std::size_t count, int &number, std::string &message)
{
    std::uint64_t n = 0;
    if (!ToNumber(text, n) || n < 1 || n > count) {
        message = "no level '" + text + "': the set has levels 1 to " + std::to_string(count);
        return false;
    }
    number = static_cast<int>(n);
    return true;
}

std::string Fixed(double value, int decimals)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

std::string Pad(const std::string &s, std::size_t width, bool left = false)
{
    if (s.size() >= width)
        return s;
    const std::string fill(width - s.size(), ' ');
    return left ? s + fill : fill + s;
}

std::string SolutionsText(std::uint64_t solutions)
{
    return solutions >= SolutionCap ? ">=" + std::to_string(SolutionCap)
                                    : std::to_string(solutions);
}

// A percentage while it reads well, else a power of ten.
std::string ChanceText(double chance)
{
    if (chance >= 0.0001)
        return Fixed(chance * 100, 2) + "%";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1e", chance);
    return buffer;
}

class Tool
{
public:
    Tool(std::ostream &out, std::ostream &err)
        : out_(out)
        , err_(err)
    { }

    int Run(const std::vector<std::string> &in);

private:
    int Fail(const std::string &message)
    {
        err_ << "leveltool: " << message << '\n';
        return 1;
    }
    bool Load(const std::string &path, std::vector<LevelRecord> &levels)
    {
        std::string message;
        if (ReadLevels(path, levels, message))
            return true;
        err_ << "leveltool: " << message << '\n';
        return false;
    }

    int Compile(const Args &args);
    int Decompile(const Args &args);
    int Show(const Args &args);
    int SolveCommand(const Args &args);
    int Verify(const Args &args);
    int Bench(const Args &args);
    int ChartCommand(const Args &args);
    int Generate(const Args &args);

    std::ostream &out_;
    std::ostream &err_;
};

int Tool::Run(const std::vector<std::string> &in)
{
    if (in.empty() || in[0] == "help" || in[0] == "--help" || in[0] == "-h") {
        (in.empty() ? err_ : out_) << Usage;
        return in.empty() ? 2 : 0;
    }
    Args args;
    std::string message;
    if (!ParseArgs(in, 1, args, message))
        return Fail(message);
    const std::string &command = in[0];
    if (command == "compile")
        return Compile(args);
    if (command == "decompile")
        return Decompile(args);
    if (command == "show")
        return Show(args);
    if (command == "solve")
        return SolveCommand(args);
    if (command == "verify")
        return Verify(args);
    if (command == "bench")
        return Bench(args);
    if (command == "chart")
        return ChartCommand(args);
    if (command == "generate")
        return Generate(args);
    err_ << "leveltool: unknown command '" << command << "'\n" << Usage;
    return 2;
}

int Tool::Compile(const Args &args)
{
    if (!args.Has("-o") || args.plain.empty())
        return Fail("compile needs -o OUT.dat and at least one text file");
    std::vector<LevelRecord> levels;
    std::string message;
    if (!ReadLevelTexts(args.plain, levels, message))
        return Fail(message);
    if (!WriteFile(args.Get("-o"), EncodeLevels(levels), message))
        return Fail(message);
    return 0;
}

int Tool::Decompile(const Args &args)
{
    if (args.plain.size() != 1)
        return Fail("decompile needs one level set");
    std::vector<LevelRecord> levels;
    if (!Load(args.plain[0], levels))
        return 1;
    const std::string text = LevelSetToText(levels,
        std::to_string(levels.size()) + " levels, decompiled by leveltool from " + args.plain[0]);
    if (!args.Has("-o")) {
        out_ << text;
        return 0;
    }
    std::string message;
    return WriteFile(args.Get("-o"), text, message) ? 0 : Fail(message);
}

int Tool::Show(const Args &args)
{
    if (args.plain.size() != 2)
        return Fail("show needs a file and a level number");
    std::vector<LevelRecord> levels;
    if (!Load(args.plain[0], levels))
        return 1;
    int number = 0;
    std::string message;
    if (!LevelNumber(args.plain[1], levels.size(), number, message))
        return Fail(message);
    const LevelRecord &level = levels[static_cast<std::size_t>(number - 1)];
    out_ << LevelToText(level, number) << "landings " << LandingTotal(level.cells) << ", tiles "
         << CountTiles(level.cells) << ", kinds " << TileKinds(level.cells) << ", start column "
         << int(level.startCol) << " row " << int(level.startRow) << '\n';
    return 0;
}

int Tool::SolveCommand(const Args &args)
{
    if (args.plain.empty() || args.plain.size() > 2)
        return Fail("solve needs a file and optionally a level number");
    std::vector<LevelRecord> levels;
    if (!Load(args.plain[0], levels))
        return 1;
    int first = 1;
    int last = static_cast<int>(levels.size());
    std::string message;
    if (args.plain.size() == 2) {
        if (!LevelNumber(args.plain[1], levels.size(), first, message))
            return Fail(message);
        last = first;
    }
    SearchOptions options;
    options.useTable = options.prune = !args.Has("--plain");
    if (args.Has("--budget") && !ToNumber(args.Get("--budget"), options.budget))
        return Fail("--budget needs a number");
    int status = 0;
    for (int n = first; n <= last; ++n) {
        const SolveResult r = Solve(levels[static_cast<std::size_t>(n - 1)], options);
        out_ << "level " << n << ": ";
        if (r.verdict == Verdict::Solvable) {
            out_ << r.keys.size() << " key presses";
        } else {
            out_ << (r.verdict == Verdict::Unsolvable ? "no solution" : "undecided (budget spent)");
            status = 1;
        }
        out_ << ", " << r.nodes << " positions, " << Fixed(r.seconds * 1000, 2) << " ms\n";
        for (std::size_t i = 0; i < r.keys.size(); ++i)
            out_ << (i % 8 == 0 ? "  " : " ") << KeyName(r.keys[i])
                 << (i % 8 == 7 || i + 1 == r.keys.size() ? "\n" : ",");
    }
    return status;
}

int Tool::Verify(const Args &args)
{
    if (args.plain.size() != 1)
        return Fail("verify needs one level set");
    std::vector<LevelRecord> levels;
    if (!Load(args.plain[0], levels))
        return 1;
    VerifyOptions options;
    options.analyze = !args.Has("--no-stats");
    std::uint64_t threads = 1;
    if (args.Has("-j") && (!ToNumber(args.Get("-j"), threads) || threads < 1))
        return Fail("-j needs a number of threads");
    options.threads = static_cast<int>(std::min<std::uint64_t>(threads, 64));
    if (args.Has("--budget")) {
        if (!ToNumber(args.Get("--budget"), options.search.budget))
            return Fail("--budget needs a number");
        options.analysisBudget = options.search.budget;
    }

    const auto started = std::chrono::steady_clock::now();
    const std::vector<LevelReport> reports = VerifyLevels(levels, options);
    const double seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    out_ << "level landings tiles kinds              solutions  chance  traps difficulty\n";
    std::vector<std::string> faults;
    std::vector<double> difficulty;
    for (const LevelReport &r : reports) {
        out_ << Pad(std::to_string(r.number), 5) << Pad(std::to_string(r.landings), 9)
             << Pad(std::to_string(r.tiles), 6) << ' ' << Pad(r.kinds, 18, true);
        if (!r.fault.empty()) {
            out_ << " FAILED\n";
            faults.push_back(r.fault);
            continue;
        }
        const Analysis &a = r.analysis;
        if (!options.analyze) {
            out_ << " solvable\n";
        } else if (!a.complete) {
            out_ << "  (solvable; too many positions to rate)\n";
            difficulty.push_back(NAN);
        } else {
            out_ << Pad(SolutionsText(a.solutions), 10) << Pad(ChanceText(a.chance), 8)
                 << Pad(Fixed(a.trapShare * 100, 0) + "%", 7) << Pad(Fixed(a.Difficulty(), 1), 11)
                 << '\n';
            difficulty.push_back(a.Difficulty());
        }
    }
    for (const Duplicate &d : FindDuplicates(levels)) {
        faults.push_back("level " + std::to_string(d.level) + ": the same as level "
            + std::to_string(d.sameAs) + " " + SymmetryName(d.symmetry));
    }
    if (args.Has("--curve")) {
        constexpr int window = MedianWindow;
        constexpr double slack = 1.0; // bits the median may fall below its best so far
        if (!options.analyze || difficulty.size() != levels.size())
            faults.push_back("difficulty curve: needs every level rated");
        else {
            const std::vector<double> medians = RollingMedian(difficulty, window);
            double best = 0;
            for (std::size_t i = 0; i < medians.size(); ++i) {
                if (std::isnan(medians[i]) || medians[i] < best - slack) {
                    faults.push_back("levels " + std::to_string(i + 1) + "-"
                        + std::to_string(i + window) + ": median difficulty " + Fixed(medians[i], 1)
                        + " falls below " + Fixed(best, 1));
                    break;
                }
                best = std::max(best, medians[i]);
            }
        }
    }
    for (const std::string &f : faults)
        err_ << "leveltool: " << args.plain[0] << ": " << f << '\n';
    out_ << levels.size() << " levels, " << faults.size() << " faults, " << Fixed(seconds, 2)
         << " s\n";
    return faults.empty() ? 0 : 1;
}

int Tool::Bench(const Args &args)
{
    if (args.plain.size() != 1)
        return Fail("bench needs one level set");
    std::vector<LevelRecord> levels;
    if (!Load(args.plain[0], levels))
        return 1;
    std::uint64_t plainBudget = PlainBenchBudget;
    if (args.Has("--plain-budget") && !ToNumber(args.Get("--plain-budget"), plainBudget))
        return Fail("--plain-budget needs a number");

    struct Row
    {
        int level;
        double fast;
        double plain;
        std::uint64_t fastNodes;
        std::uint64_t plainNodes;
        bool plainGaveUp;
    };
    std::vector<Row> rows;
    double fastTotal = 0;
    double plainTotal = 0;
    int gaveUp = 0;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const SolveResult fast = Solve(levels[i]);
        SearchOptions plainOptions;
        plainOptions.useTable = plainOptions.prune = false;
        plainOptions.budget = plainBudget;
        const SolveResult plain = Solve(levels[i], plainOptions);
        if (fast.verdict != Verdict::Solvable)
            return Fail("level " + std::to_string(i + 1) + " does not verify");
        const bool plainGaveUp = plain.verdict != Verdict::Solvable;
        gaveUp += plainGaveUp ? 1 : 0;
        rows.push_back({static_cast<int>(i) + 1, fast.seconds, plain.seconds, fast.nodes,
            plain.nodes, plainGaveUp});
        fastTotal += fast.seconds;
        plainTotal += plain.seconds;
    }
    const auto started = std::chrono::steady_clock::now();
    VerifyOptions full;
    const std::vector<LevelReport> reports = VerifyLevels(levels, full);
    const double verifySeconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    out_ << "search for a solution, " << levels.size() << " levels, one thread:\n"
         << "  with table and cuts:    " << Fixed(fastTotal, 3) << " s\n"
         << "  without table and cuts: " << Fixed(plainTotal, 3) << " s"
         << (gaveUp ? " (" + std::to_string(gaveUp) + " levels stopped at "
                        + std::to_string(plainBudget) + " positions, so at least)"
                    : std::string())
         << "\n  ratio: " << (gaveUp ? "at least " : "") << Fixed(plainTotal / fastTotal, 1)
         << "\n";
    out_ << "full verify (search, solutions, difficulty), one thread: " << Fixed(verifySeconds, 3)
         << " s\n";
    std::sort(
        rows.begin(), rows.end(), [](const Row &a, const Row &b) { return a.plain > b.plain; });
    std::vector<double> verifyTimes;
    out_ << "slowest levels without table and cuts:\n";
    for (std::size_t i = 0; i < std::min<std::size_t>(5, rows.size()); ++i) {
        const Row &r = rows[i];
        out_ << "  level " << Pad(std::to_string(r.level), 3) << ": " << Fixed(r.plain * 1000, 1)
             << " ms, " << r.plainNodes << " positions" << (r.plainGaveUp ? " (stopped)" : "")
             << "; with them " << Fixed(r.fast * 1000, 2) << " ms, " << r.fastNodes
             << " positions\n";
    }
    std::sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) { return a.fast > b.fast; });
    out_ << "slowest levels with table and cuts:\n";
    for (std::size_t i = 0; i < std::min<std::size_t>(5, rows.size()); ++i) {
        const Row &r = rows[i];
        out_ << "  level " << Pad(std::to_string(r.level), 3) << ": " << Fixed(r.fast * 1000, 2)
             << " ms, " << r.fastNodes << " positions\n";
    }
    std::vector<std::pair<std::uint64_t, int>> analysed;
    for (const LevelReport &r : reports)
        analysed.push_back({r.analysis.positions, r.number});
    std::sort(analysed.rbegin(), analysed.rend());
    out_ << "largest full searches:\n";
    for (std::size_t i = 0; i < std::min<std::size_t>(5, analysed.size()); ++i)
        out_ << "  level " << Pad(std::to_string(analysed[i].second), 3) << ": "
             << analysed[i].first << " positions\n";
    return 0;
}

int Tool::ChartCommand(const Args &args)
{
    if (args.plain.size() != 2)
        return Fail("chart needs a level set and an output file");
    std::vector<LevelRecord> levels;
    if (!Load(args.plain[0], levels))
        return 1;
    const std::vector<LevelReport> reports = VerifyLevels(levels, VerifyOptions {});
    std::vector<ChartPoint> points;
    for (const LevelReport &r : reports) {
        if (!r.fault.empty() || !r.analysis.complete)
            return Fail("level " + std::to_string(r.number) + " cannot be rated");
        points.push_back({r.landings, r.analysis.Difficulty()});
    }
    std::string message;
    if (!WriteFile(args.plain[1], ChartSvg(points), message))
        return Fail(message);
    return 0;
}

int Tool::Generate(const Args &args)
{
    GeneratorOptions options;
    std::uint64_t value = 0;
    if (!args.Has("--seed") || !ToNumber(args.Get("--seed"), options.seed))
        return Fail("generate needs --seed N");
    if (args.Has("--first")) {
        if (!ToNumber(args.Get("--first"), value) || value < 1 || value > MaxLevels)
            return Fail("--first needs a level number from 1 to 500");
        options.first = static_cast<int>(value);
    }
    if (args.Has("--last")) {
        if (!ToNumber(args.Get("--last"), value) || value < 1 || value > MaxLevels)
            return Fail("--last needs a level number from 1 to 500");
        options.last = static_cast<int>(value);
    }
    std::vector<LevelRecord> prior;
    if (args.Has("--prior")) {
        std::string message;
        if (!ReadLevelTexts(args.options.at("--prior"), prior, message))
            return Fail(message);
    }
    if (static_cast<int>(prior.size()) != options.first - 1)
        return Fail("--prior must hold levels 1 to " + std::to_string(options.first - 1)
            + " (it holds " + std::to_string(prior.size()) + ")");
    if (options.last < options.first)
        return Fail("--last lies before --first");

    std::vector<std::string> notes;
    std::vector<LevelRecord> made = GenerateLevels(options, prior, notes, &err_);
    std::vector<LevelRecord> all = prior;
    all.insert(all.end(), made.begin(), made.end());
    // The header names the command that makes the file again.
    std::string text = "# Levels " + std::to_string(options.first) + "-"
        + std::to_string(options.last)
        + " of Tumblewick, made by the level generator; do not edit by hand:\n"
        + "#   leveltool generate --seed " + std::to_string(options.seed) + " --first "
        + std::to_string(options.first) + " --last " + std::to_string(options.last)
        + " --prior teaching.lvl -o generated.lvl\n"
        + "# Every level has a random stream of its own, so ranges made apart (each\n"
        + "# with --prior naming all earlier levels) join into the same file.\n"
        + "# Notes: landings, difficulty (bits: a player pressing keys at random among\n"
        + "# those that do not lose at once finishes once in 2^d tries), solutions.\n";
    for (std::size_t i = 0; i < made.size(); ++i) {
        text += '\n' + LevelToText(made[i], options.first + static_cast<int>(i), notes[i]);
    }
    if (!args.Has("-o")) {
        out_ << text;
        return 0;
    }
    std::string message;
    return WriteFile(args.Get("-o"), text, message) ? 0 : Fail(message);
}

} // namespace

int RunLevelTool(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    return Tool(out, err).Run(args);
}
