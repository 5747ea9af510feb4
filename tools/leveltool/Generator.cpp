#include "Generator.h"

#include "Engine.h"
#include "Search.h"
#include "Symmetry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <set>
#include <stdexcept>
#include <tuple>

namespace {

struct Event
{
    int cell = 0;
    Key arrival {}; // the vector that brought the hero here; 0,0 at the start or after a teleport
    Key departure {}; // the vector he leaves by; 0,0 when he teleports away or stays last
    bool teleported = false; // left by a teleport
};

bool Has(const std::string &kinds, char kind)
{
    return kinds.find(kind) != std::string::npos;
}

CellCode ArrowFor(Key k)
{
    if (k.dCol > 0)
        return OneWayRight;
    if (k.dCol < 0)
        return OneWayLeft;
    return k.dRow < 0 ? OneWayUp : OneWayDown;
}

// The region of the board a part of the walk keeps to.
int RegionOf(int cell, const WalkShape &shape)
{
    const int parts = std::clamp(shape.parts, 1, 4);
    const int along = shape.across ? cell / 8 : cell % 8; // column or row
    return along * parts / 8;
}

} // namespace

LevelRecord WalkLevel(Random &random, const WalkShape &shape)
{
    std::array<int, 64> departures {};
    std::array<bool, 64> visited {};
    std::array<bool, 64> closed {}; // teleport tiles: visited once, never again
    std::vector<Event> walk;
    int groups = 0;
    const int parts = std::clamp(shape.parts, 1, 4);

    int region = 0;
    std::vector<int> firstCells;
    for (int c = 0; c < 64; ++c) {
        if (RegionOf(c, shape) == 0)
            firstCells.push_back(c);
    }
    int cur
        = firstCells[static_cast<std::size_t>(random.Below(static_cast<int>(firstCells.size())))];
    visited[static_cast<std::size_t>(cur)] = true;
    walk.push_back({cur, {}, {}, false});
    bool fresh = false; // the hero stands on a cell he has not been on before

    auto teleportTo = [&](int partner) {
        walk.back().teleported = true;
        closed[static_cast<std::size_t>(cur)] = closed[static_cast<std::size_t>(partner)] = true;
        ++departures[static_cast<std::size_t>(cur)];
        visited[static_cast<std::size_t>(partner)] = true;
        ++groups;
        cur = partner;
        walk.push_back({cur, {}, {}, false});
        fresh = false; // arriving by teleport never teleports again
    };
    auto freeCells = [&](int inRegion) {
        std::vector<int> free;
        for (int c = 0; c < 64; ++c) {
            if (!visited[static_cast<std::size_t>(c)] && RegionOf(c, shape) == inRegion)
                free.push_back(c);
        }
        return free;
    };

    for (int landings = 1; landings < shape.landings;) {
        // Time to move on to the next region?
        const bool moveOn = region + 1 < parts && landings >= shape.landings * (region + 1) / parts;
        if (moveOn && fresh && groups < 5 && Has(shape.kinds, 'T')) {
            const std::vector<int> free = freeCells(region + 1);
            if (!free.empty()) {
                ++region;
                teleportTo(
                    free[static_cast<std::size_t>(random.Below(static_cast<int>(free.size())))]);
                ++landings;
                continue;
            }
        }
        if (!moveOn && fresh && groups < 5 && Has(shape.kinds, 'T')
            && random.Chance(shape.teleport)) {
            const std::vector<int> free = freeCells(region);
            if (!free.empty()) {
                teleportTo(
                    free[static_cast<std::size_t>(random.Below(static_cast<int>(free.size())))]);
                ++landings;
                continue;
            }
        }
        struct Option
        {
            Key key;
            int cell;
            double weight;
        };
        std::vector<Option> options;
        double total = 0;
        for (Key k : AllKeys) {
            const int col = cur / 8 + k.dCol;
            const int row = cur % 8 + k.dRow;
            if (!OnBoard(col, row))
                continue;
            const int cell = At(col, row);
            const int cellRegion = RegionOf(cell, shape);
            if (cellRegion != region && !(moveOn && cellRegion == region + 1))
                continue;
            if (closed[static_cast<std::size_t>(cell)]
                || departures[static_cast<std::size_t>(cell)] >= shape.maxCount)
                continue;
            double weight = visited[static_cast<std::size_t>(cell)] ? shape.revisit : 1.0;
            if (std::abs(k.dCol) == 2 || std::abs(k.dRow) == 2)
                weight *= shape.jump;
            if (moveOn && cellRegion == region + 1)
                weight *= 50; // cross as soon as a way over shows up
            if (weight <= 0)
                continue;
            options.push_back({k, cell, weight});
            total += weight;
        }
        if (options.empty())
            break;
        double pick = random.Unit() * total;
        std::size_t chosen = 0;
        while (chosen + 1 < options.size() && pick >= options[chosen].weight)
            pick -= options[chosen++].weight;
        const Option &o = options[chosen];
        walk.back().departure = o.key;
        ++departures[static_cast<std::size_t>(cur)];
        fresh = !visited[static_cast<std::size_t>(o.cell)];
        visited[static_cast<std::size_t>(o.cell)] = true;
        region = RegionOf(o.cell, shape);
        cur = o.cell;
        walk.push_back({cur, o.key, {}, false});
        ++landings;
    }

    LevelRecord level;
    for (int c = 0; c < 64; ++c)
        level.cells[static_cast<std::size_t>(c)]
            = static_cast<CellCode>(departures[static_cast<std::size_t>(c)]);
    level.cells[static_cast<std::size_t>(cur)] += 1; // the last tile keeps its last landing
    level.startCol = static_cast<std::uint8_t>(walk.front().cell / 8);
    level.startRow = static_cast<std::uint8_t>(walk.front().cell % 8);

    // Teleport pairs, in the order the walk used them.
    CellCode group = TeleportHigh;
    for (std::size_t i = 0; i + 1 < walk.size(); ++i) {
        if (!walk[i].teleported)
            continue;
        level.cells[static_cast<std::size_t>(walk[i].cell)] = group;
        level.cells[static_cast<std::size_t>(walk[i + 1].cell)] = group;
        --group;
    }

    // Tiles of one, visited once, may take a rule that the walk obeys.
    std::array<int, 64> visits {};
    for (const Event &e : walk)
        ++visits[static_cast<std::size_t>(e.cell)];
    for (std::size_t i = 0; i < walk.size(); ++i) {
        const Event &e = walk[i];
        CellCode &code = level.cells[static_cast<std::size_t>(e.cell)];
        if (code != 1 || visits[static_cast<std::size_t>(e.cell)] != 1
            || !random.Chance(shape.special))
            continue;
        const bool last = i + 1 == walk.size();
        if (e.teleported || (i > 0 && walk[i - 1].teleported))
            continue;
        const Key d = e.departure;
        std::vector<CellCode> fits;
        if (last || d.dCol != 0 || d.dRow != 0) {
            const CellCode arrow
                = last ? ArrowFor(AllKeys[static_cast<std::size_t>(random.Below(4))]) : ArrowFor(d);
            const char token = arrow == OneWayRight ? '>'
                : arrow == OneWayUp                 ? '^'
                : arrow == OneWayLeft               ? '<'
                                                    : 'v';
            if (Has(shape.kinds, token))
                fits.push_back(arrow);
            if (Has(shape.kinds, '-') && (last || d.dCol != 0))
                fits.push_back(HorizontalOnly);
            if (Has(shape.kinds, '|') && (last || d.dRow != 0))
                fits.push_back(VerticalOnly);
        }
        const Key a = e.arrival;
        if (Has(shape.kinds, 's') && i > 0 && (a.dCol != 0 || a.dRow != 0)
            && (last || (a.dCol == d.dCol && a.dRow == d.dRow)))
            fits.push_back(Slide);
        if (!fits.empty())
            code = fits[static_cast<std::size_t>(random.Below(static_cast<int>(fits.size())))];
    }
    return level;
}

namespace {

// The generated levels follow the hand-made ones from this level on.
constexpr int FirstGenerated = 21;

// What level number n asks for: its walk, the difficulty it should have and
// the most positions its full search may meet (which keeps verifying fast).
struct Slot
{
    WalkShape shape;
    double low = 0; // wanted difficulty range
    double high = 0;
    std::uint64_t positions = 0;
};

double Progress(int n)
{
    return std::clamp((n - FirstGenerated) / double(MaxLevels - FirstGenerated), 0.0, 1.0);
}

Slot SlotFor(int n, Random &random)
{
    Slot slot;
    const double t = Progress(n);
    WalkShape &s = slot.shape;
    s.landings = static_cast<int>(std::lround(9 + 49 * t)) + random.Below(5) - 2;
    s.jump = 0.2 + 0.5 * random.Unit();
    // Early levels lean on counted tiles, late ones on special tiles: those
    // keep a long level's positions few enough to rate it in full.
    s.revisit = 0.02 + 0.45 * (1 - t) * random.Unit();
    s.maxCount = 2 + random.Below(3);
    s.special = std::min(1.0, 0.2 + 0.6 * t + 0.4 * random.Unit());
    s.kinds = "><^v-|sT";
    s.teleport = 0.02 + 0.05 * random.Unit();
    const double target = 2.5 + 22.5 * t;
    slot.low = target - 1.0;
    slot.high = target + 1.5;
    slot.positions = static_cast<std::uint64_t>(1500 + 23500 * t * t);
    return slot;
}

// Tries per level; the generator keeps the first walk in range, else the
// closest one.
constexpr int Tries = 3000;

} // namespace

std::vector<LevelRecord> GenerateLevels(const GeneratorOptions &options,
    const std::vector<LevelRecord> &prior, std::vector<std::string> &notes, std::ostream *log)
{
    std::set<LevelRecord, bool (*)(const LevelRecord &, const LevelRecord &)> seen(
        [](const LevelRecord &a, const LevelRecord &b) {
            return std::tie(a.cells, a.startCol, a.startRow)
                < std::tie(b.cells, b.startCol, b.startRow);
        });
    for (const LevelRecord &level : prior)
        seen.insert(CanonicalForm(level));

    std::vector<LevelRecord> made;
    for (int n = options.first; n <= options.last; ++n) {
        // Each level has its own stream, so any range can be made again alone.
        Random random(options.seed * 1000003ULL + static_cast<std::uint64_t>(n));
        LevelRecord best;
        Analysis bestAnalysis;
        double bestMiss = INFINITY;
        int tries = 0;
        while (tries < Tries && bestMiss > 0) {
            ++tries;
            const Slot slot = SlotFor(n, random);
            const LevelRecord level = WalkLevel(random, slot.shape);
            if (LandingTotal(level.cells) != slot.shape.landings)
                continue; // the walk got stuck
            const Analysis a = Analyze(level, slot.positions);
            if (!a.complete || !a.solvable || seen.count(CanonicalForm(level)))
                continue;
            const double d = a.Difficulty();
            const double miss = d < slot.low ? slot.low - d : (d > slot.high ? d - slot.high : 0);
            if (miss < bestMiss) {
                bestMiss = miss;
                best = level;
                bestAnalysis = a;
            }
        }
        if (!std::isfinite(bestMiss))
            throw std::runtime_error("no level found for level " + std::to_string(n));
        seen.insert(CanonicalForm(best));
        made.push_back(best);
        char note[160];
        std::snprintf(note, sizeof note, "landings %d, difficulty %.1f, solutions %s",
            LandingTotal(best.cells), bestAnalysis.Difficulty(),
            bestAnalysis.solutions >= SolutionCap ? ">=1000000"
                                                  : std::to_string(bestAnalysis.solutions).c_str());
        notes.push_back(note);
        if (log)
            *log << "level " << n << ": " << note << ", " << tries << " tries, "
                 << bestAnalysis.positions << " positions" << std::endl;
    }
    return made;
}
