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

// What one key press means to the search of the position it was pressed in.
enum class Step {
    NextKey, // go on with the position's next key
    Enter, // search the new position first, then come back for the next key
    Done, // the position needs no further key
    Stop, // the whole search is over
};

enum class WalkEnd { Exhausted, Stopped, OverBudget };

template <class Data> struct Frame
{
    Position pos;
    std::uint8_t next = 0; // the next key to try, an index into AllKeys
    Data data {};
};

// The depth-first walk over key presses that every exact search shares, from
// a start the search has chosen to enter. The stack is explicit, so that a
// long solution cannot overflow the call stack. The search says what it
// makes of the walk:
//   overBudget()                        asked before a position is taken up again;
//   pressed(stack, outcome, child, childData)
//                                       the Step for a key pressed on stack.back();
//   left(done, parent)                  every key of `done` is tried (parent null
//                                       at the start).
// Positions never repeat along a path: every move lowers or removes a tile.
template <class Data, class OverBudget, class Pressed, class Left>
WalkEnd DepthFirst(
    const Position &start, const Data &startData, OverBudget overBudget, Pressed pressed, Left left)
{
    std::vector<Frame<Data>> stack {{start, 0, startData}};
    Engine engine;
    Position child;
    while (!stack.empty()) {
        if (overBudget())
            return WalkEnd::OverBudget;
        Frame<Data> &top = stack.back();
        Data childData {};
        Step step = Step::NextKey;
        while (top.next < AllKeys.size() && step == Step::NextKey) {
            const Outcome outcome = engine.Press(top.pos, AllKeys[top.next++], child);
            step = pressed(stack, outcome, child, childData);
        }
        if (step == Step::Stop)
            return WalkEnd::Stopped;
        if (step == Step::Enter) {
            stack.push_back({child, 0, childData}); // `top` may move here
            continue;
        }
        Frame<Data> done = std::move(stack.back());
        stack.pop_back();
        left(done, stack.empty() ? nullptr : &stack.back());
    }
    return WalkEnd::Exhausted;
}

struct NoData
{ };

} // namespace

SolveResult Solve(const Position &from, const SearchOptions &options)
{
    const auto started = std::chrono::steady_clock::now();
    SolveResult result;
    const DeadEndTest deadEnd;
    const PositionCodec codec(from.board);
    PositionTable dead(codec.Words());
    std::vector<std::uint64_t> key(static_cast<std::size_t>(codec.Words()));
    auto remember = [&] { // the position last encoded is dead
        bool inserted = false;
        dead.Insert(key.data(), inserted);
    };

    auto overBudget = [&] {
        return result.nodes > options.budget
            || (options.stop && options.stop->load(std::memory_order_relaxed));
    };
    auto pressed = [&](const std::vector<Frame<NoData>> &stack, Outcome outcome,
                       const Position &child, NoData &) {
        switch (outcome) {
        case Outcome::Solved:
            for (const Frame<NoData> &f : stack)
                result.keys.push_back(AllKeys[f.next - 1u]);
            return Step::Stop;
        case Outcome::Moved:
            if (options.useTable) {
                codec.Encode(child, key.data());
                if (dead.Find(key.data()) >= 0)
                    return Step::NextKey;
            }
            ++result.nodes;
            if (options.prune && deadEnd.CannotFinish(child)) {
                if (options.useTable)
                    remember();
                return Step::NextKey;
            }
            return Step::Enter;
        case Outcome::Refused:
        case Outcome::Lost:
            break;
        }
        return Step::NextKey;
    };
    auto left = [&](const Frame<NoData> &done, const Frame<NoData> *) {
        if (options.useTable) {
            codec.Encode(done.pos, key.data());
            remember();
        }
    };

    ++result.nodes;
    WalkEnd end = WalkEnd::Exhausted;
    if (!(options.prune && deadEnd.CannotFinish(from)))
        end = DepthFirst(from, NoData {}, overBudget, pressed, left);
    result.verdict = end == WalkEnd::Stopped ? Verdict::Solvable
        : end == WalkEnd::Exhausted          ? Verdict::Unsolvable
                                             : Verdict::GaveUp;
    result.seconds = SecondsSince(started);
    return result;
}

SolveResult Solve(const LevelRecord &level, const SearchOptions &options)
{
    return Solve(StartPosition(level), options);
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
    std::vector<Value> values; // by position id

    struct Data
    {
        std::uint32_t id = 0;
        int moves = 0; // keys that do not lose at once
        int traps = 0; // of them, those into a dead position
        double chanceSum = 0;
        std::uint64_t solutions = 0;
    };
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
    auto add = [](Data &data, const Value &v) {
        ++data.moves;
        data.chanceSum += v.chance;
        data.solutions = std::min(SolutionCap, data.solutions + v.solutions);
        if (v.chance <= 0)
            ++data.traps;
    };

    auto overBudget = [&] { return table.Size() > budget; };
    auto pressed = [&](std::vector<Frame<Data>> &stack, Outcome outcome, const Position &child,
                       Data &childData) {
        Data &top = stack.back().data;
        switch (outcome) {
        case Outcome::Solved:
            if (LandingTotal(stack.back().pos.board) == 1) {
                // Every key finishes: the level is as good as done.
                top.moves = 1;
                top.traps = 0;
                top.chanceSum = 1;
                top.solutions = 1;
                return Step::Done;
            }
            add(top, {1, 1}); // a slide carried the hero onto the last landing
            break;
        case Outcome::Moved:
            if (enter(child, childData.id))
                return Step::Enter;
            add(top, values[childData.id]);
            break;
        case Outcome::Refused:
        case Outcome::Lost:
            break;
        }
        return Step::NextKey;
    };
    auto left = [&](const Frame<Data> &done, Frame<Data> *parent) {
        const Data &d = done.data;
        Value v;
        if (d.moves > 0 && d.chanceSum > 0) {
            v = {d.chanceSum / d.moves, d.solutions};
            moves += static_cast<std::uint64_t>(d.moves);
            traps += static_cast<std::uint64_t>(d.traps);
            ++result.livePositions;
        }
        values[d.id] = v;
        if (parent)
            add(parent->data, v);
    };

    Data root;
    if (enter(start, root.id)
        && DepthFirst(start, root, overBudget, pressed, left) != WalkEnd::Exhausted)
        return result; // not complete

    result.complete = true;
    result.positions = table.Size();
    result.chance = values[root.id].chance;
    result.solutions = values[root.id].solutions;
    result.solvable = result.chance > 0;
    result.trapShare = moves > 0 ? static_cast<double>(traps) / static_cast<double>(moves) : 0;
    return result;
}
