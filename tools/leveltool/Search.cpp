#include "Search.h"

#include "DeadEnd.h"
#include "PositionTable.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

SolveResult Solve(const LevelRecord &level, const SearchOptions &options)
{
    const auto started = std::chrono::steady_clock::now();
    SolveResult result;
    Engine engine;
    const DeadEndTest deadEnd;
    const Position start = StartPosition(level);
    const PositionCodec codec(start.board);
    PositionTable dead(codec.Words());
    std::vector<std::uint64_t> key(static_cast<std::size_t>(codec.Words()));

    struct Frame
    {
        Position pos;
        std::uint8_t next = 0; // the next key to try
    };
    std::vector<Frame> stack;
    stack.push_back({start, 0});
    ++result.nodes;
    if (options.prune && deadEnd.CannotFinish(start))
        stack.clear();

    Position child;
    while (!stack.empty()) {
        if (result.nodes > options.budget) {
            result.verdict = Verdict::GaveUp;
            result.seconds = SecondsSince(started);
            return result;
        }
        Frame &top = stack.back();
        bool descended = false;
        while (top.next < AllKeys.size() && !descended) {
            const Key k = AllKeys[top.next++];
            switch (engine.Press(top.pos, k, child)) {
            case Outcome::Solved:
                for (std::size_t i = 0; i < stack.size(); ++i)
                    result.keys.push_back(AllKeys[stack[i].next - 1u]);
                result.verdict = Verdict::Solvable;
                result.seconds = SecondsSince(started);
                return result;
            case Outcome::Moved:
                if (options.useTable) {
                    codec.Encode(child, key.data());
                    if (dead.Find(key.data()) >= 0)
                        break;
                }
                ++result.nodes;
                if (options.prune && deadEnd.CannotFinish(child)) {
                    if (options.useTable) {
                        bool inserted = false;
                        dead.Insert(key.data(), inserted);
                    }
                    break;
                }
                descended = true;
                break;
            case Outcome::Refused:
            case Outcome::Lost:
                break;
            }
        }
        if (descended) {
            stack.push_back({child, 0});
            continue;
        }
        if (options.useTable) {
            codec.Encode(stack.back().pos, key.data());
            bool inserted = false;
            dead.Insert(key.data(), inserted);
        }
        stack.pop_back();
    }
    result.verdict = Verdict::Unsolvable;
    result.seconds = SecondsSince(started);
    return result;
}

namespace {

struct Brute
{
    explicit Brute(std::uint64_t limit)
        : budget(limit)
    { }

    Engine engine;
    std::uint64_t budget;
    std::uint64_t nodes = 0;
    std::uint64_t solutions = 0;
    bool gaveUp = false;

    void Visit(const Position &pos)
    {
        if (++nodes > budget) {
            gaveUp = true;
            return;
        }
        Position child;
        for (Key k : AllKeys) {
            if (gaveUp)
                return;
            switch (engine.Press(pos, k, child)) {
            case Outcome::Solved:
                ++solutions;
                // With one landing left every key finishes: that is one
                // solution, not eight.
                if (LandingTotal(pos.board) == 1)
                    return;
                break;
            case Outcome::Moved:
                Visit(child);
                break;
            case Outcome::Refused:
            case Outcome::Lost:
                break;
            }
        }
    }
};

} // namespace

Verdict BruteForce(const LevelRecord &level, std::uint64_t budget, std::uint64_t *solutions)
{
    Brute brute(budget);
    brute.Visit(StartPosition(level));
    if (solutions)
        *solutions = brute.solutions;
    if (brute.gaveUp)
        return Verdict::GaveUp;
    return brute.solutions > 0 ? Verdict::Solvable : Verdict::Unsolvable;
}

double Analysis::Difficulty() const
{
    if (!solvable || chance <= 0)
        return INFINITY;
    return std::max(0.0, -std::log2(chance));
}

Analysis Analyze(const LevelRecord &level, std::uint64_t budget)
{
    Analysis result;
    Engine engine;
    const DeadEndTest deadEnd;
    const Position start = StartPosition(level);
    const PositionCodec codec(start.board);
    PositionTable table(codec.Words());
    std::vector<std::uint64_t> key(static_cast<std::size_t>(codec.Words()));

    struct Value
    {
        double chance = 0;
        std::uint64_t solutions = 0;
    };
    std::vector<Value> values;

    struct Frame
    {
        Position pos;
        std::uint32_t id = 0;
        std::uint8_t next = 0;
        int moves = 0; // keys that do not lose at once
        int traps = 0; // of them, those into a dead position
        double chanceSum = 0;
        std::uint64_t solutions = 0;
    };
    std::vector<Frame> stack;
    std::uint64_t moves = 0;
    std::uint64_t traps = 0;

    // Registers a position; true when its value is still to be searched.
    auto enter = [&](const Position &pos, std::uint32_t &id) {
        codec.Encode(pos, key.data());
        bool inserted = false;
        id = table.Insert(key.data(), inserted);
        if (!inserted)
            return false;
        values.emplace_back();
        return !deadEnd.CannotFinish(pos, /*thorough*/ false);
    };
    auto add = [](Frame &frame, const Value &v) {
        ++frame.moves;
        frame.chanceSum += v.chance;
        frame.solutions = std::min(SolutionCap, frame.solutions + v.solutions);
        if (v.chance <= 0)
            ++frame.traps;
    };

    std::uint32_t rootId = 0;
    if (enter(start, rootId))
        stack.push_back({start, rootId});

    Position child;
    while (!stack.empty()) {
        if (table.Size() > budget)
            return result; // not complete
        Frame &top = stack.back();
        bool descended = false;
        bool finished = false;
        while (top.next < AllKeys.size() && !descended && !finished) {
            const Key k = AllKeys[top.next++];
            switch (engine.Press(top.pos, k, child)) {
            case Outcome::Solved:
                if (LandingTotal(top.pos.board) == 1) {
                    // Every key finishes: the level is as good as done.
                    top.moves = 1;
                    top.traps = 0;
                    top.chanceSum = 1;
                    top.solutions = 1;
                    finished = true;
                } else {
                    add(top, {1, 1}); // a slide carried the hero onto the last landing
                }
                break;
            case Outcome::Moved: {
                std::uint32_t id = 0;
                if (enter(child, id))
                    descended = true;
                else
                    add(top, values[id]);
                break;
            }
            case Outcome::Refused:
            case Outcome::Lost:
                break;
            }
        }
        if (descended) {
            // `top` may move when the stack grows.
            std::uint32_t id = static_cast<std::uint32_t>(values.size() - 1);
            stack.push_back({child, id});
            continue;
        }
        Frame done = stack.back();
        stack.pop_back();
        Value v;
        if (done.moves > 0 && done.chanceSum > 0) {
            v = {done.chanceSum / done.moves, done.solutions};
            moves += static_cast<std::uint64_t>(done.moves);
            traps += static_cast<std::uint64_t>(done.traps);
            ++result.livePositions;
        }
        values[done.id] = v;
        if (!stack.empty())
            add(stack.back(), v);
    }

    result.complete = true;
    result.positions = table.Size();
    result.chance = values.empty() ? 0 : values[rootId].chance;
    result.solutions = values.empty() ? 0 : values[rootId].solutions;
    result.solvable = result.chance > 0;
    result.trapShare = moves > 0 ? static_cast<double>(traps) / static_cast<double>(moves) : 0;
    return result;
}
