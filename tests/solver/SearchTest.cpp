#include "Search.h"
#include "DeadEnd.h"
#include "LevelText.h"
#include "PositionTable.h"
#include "TestLevels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

// The chance of a random player, by plain recursion over every key press
// sequence: no table, no cuts.
double BruteChance(Engine &engine, const Position &pos)
{
    double sum = 0;
    int moves = 0;
    Position child;
    for (Key k : AllKeys) {
        switch (engine.Press(pos, k, child)) {
        case Outcome::Solved:
            if (LandingTotal(pos.board) == 1)
                return 1;
            sum += 1;
            ++moves;
            break;
        case Outcome::Moved:
            sum += BruteChance(engine, child);
            ++moves;
            break;
        case Outcome::Refused:
        case Outcome::Lost:
            break;
        }
    }
    return moves > 0 ? sum / moves : 0;
}

// Replays key presses from the start: every press but the last moves, the
// last one finishes the level.
bool Finishes(const LevelRecord &level, const std::vector<Key> &keys)
{
    Engine engine;
    Position pos = StartPosition(level);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        Position next;
        const Outcome outcome = engine.Press(pos, keys[i], next);
        if (outcome == Outcome::Solved)
            return i + 1 == keys.size();
        if (outcome != Outcome::Moved)
            return false;
        pos = next;
    }
    return false;
}

} // namespace

TEST(Solver, AgreesWithBruteForceOnManySmallRandomLevels)
{
    Random random(20260101);
    int solvable = 0;
    int unsolvable = 0;
    for (int i = 0; i < 1500; ++i) {
        const LevelRecord level = SmallRandomLevel(random);
        std::uint64_t solutions = 0;
        const Verdict truth = BruteForce(level, 300'000, &solutions);
        if (truth == Verdict::GaveUp)
            continue;
        SCOPED_TRACE(testing::Message() << "random level " << i);
        (truth == Verdict::Solvable ? solvable : unsolvable)++;

        for (const bool table : {false, true}) {
            for (const bool prune : {false, true}) {
                SearchOptions options;
                options.useTable = table;
                options.prune = prune;
                const SolveResult r = Solve(level, options);
                ASSERT_EQ(r.verdict, truth) << "table " << table << ", cuts " << prune;
                if (truth == Verdict::Solvable) {
                    EXPECT_TRUE(Finishes(level, r.keys));
                }
            }
        }
        const Analysis a = Analyze(level);
        ASSERT_TRUE(a.complete);
        EXPECT_EQ(a.solvable, truth == Verdict::Solvable);
        EXPECT_EQ(a.solutions, solutions);
        Engine engine;
        EXPECT_NEAR(a.chance, BruteChance(engine, StartPosition(level)), 1e-12);
    }
    // Both answers must have been put to the test, many times.
    EXPECT_GT(solvable, 400);
    EXPECT_GT(unsolvable, 300);
}

TEST(DeadEnd, CutsOnlyPositionsThatCannotBeFinished)
{
    // Every position reachable in small random levels, with the truth from
    // an exhaustive search of each.
    Random random(77);
    int cut = 0;
    for (int i = 0; i < 300; ++i) {
        const LevelRecord level = SmallRandomLevel(random);
        const PositionCodec codec(level.cells);
        PositionTable seen(codec.Words());
        std::vector<Position> todo {StartPosition(level)};
        Engine engine;
        const DeadEndTest deadEnd;
        std::vector<std::uint64_t> key(static_cast<std::size_t>(codec.Words()));
        while (!todo.empty()) {
            const Position pos = todo.back();
            todo.pop_back();
            for (const bool thorough : {false, true}) {
                if (!deadEnd.CannotFinish(pos, thorough))
                    continue;
                ++cut;
                LevelRecord from = level;
                from.cells = pos.board;
                from.startCol = static_cast<std::uint8_t>(pos.col);
                from.startRow = static_cast<std::uint8_t>(pos.row);
                ASSERT_NE(BruteForce(from, 10'000'000), Verdict::Solvable)
                    << "level " << i << ", thorough " << thorough << "\n"
                    << LevelToText(from, 1);
            }
            Position child;
            for (Key k : AllKeys) {
                if (engine.Press(pos, k, child) != Outcome::Moved)
                    continue;
                codec.Encode(child, key.data());
                bool inserted = false;
                seen.Insert(key.data(), inserted);
                if (inserted)
                    todo.push_back(child);
            }
        }
    }
    EXPECT_GT(cut, 500);
}

TEST(Solver, FollowsTheRulesAtTheEdges)
{
    const struct
    {
        const char *what;
        std::string rows;
        Verdict verdict;
        std::size_t presses;
    } table[] = {
        {"a lone tile of one: any key finishes", "@1 . . . . . . .\n", Verdict::Solvable, 1},
        {"a lone tile of two can only be left", "@2 . . . . . . .\n", Verdict::Unsolvable, 0},
        {"a slide as the last tile finishes inside the key press", "@1 s . . . . . .\n",
            Verdict::Solvable, 1},
        {"a slide that is the last tile finishes at once", "@1 1 s . . . . .\n", Verdict::Solvable,
            2},
        {"a slide carries Pip onto an empty cell", "@1 s . 1 . . . .\n", Verdict::Unsolvable, 0},
        {"a start on a teleport does not teleport", "@A 1 . A . . . .\n", Verdict::Solvable, 3},
        {"a one-way tile refuses every other direction", "1 @> . . . . . .\n", Verdict::Unsolvable,
            0},
        {"a jump passes over an empty cell", "@1 . 1 . . . . .\n", Verdict::Solvable, 2},
    };
    const std::string emptyRow = ". . . . . . . .\n";
    for (const auto &c : table) {
        SCOPED_TRACE(c.what);
        std::string rows = c.rows;
        for (int r = 1; r < 8; ++r)
            rows += emptyRow;
        const LevelRecord level = Level(rows);
        const SolveResult r = Solve(level);
        EXPECT_EQ(r.verdict, c.verdict);
        EXPECT_EQ(r.keys.size(), c.presses);
        EXPECT_EQ(BruteForce(level, 100'000), c.verdict);
    }
}

TEST(Analysis, RatesWhatARandomPlayerMeets)
{
    // Right walks into a dead end (the last two tiles lie diagonally apart);
    // Shift+Right leads through. Keys that fall at once do not count, so a
    // random player finishes half the time, and one of the five keys that
    // count, over the positions that can still be finished, is a trap.
    const LevelRecord level = Level("@1 1 1 . . . . .\n"
                                    " . 1 . . . . . .\n"
                                    ". . . . . . . .\n. . . . . . . .\n. . . . . . . .\n"
                                    ". . . . . . . .\n. . . . . . . .\n. . . . . . . .\n");
    const Analysis a = Analyze(level);
    ASSERT_TRUE(a.complete);
    EXPECT_TRUE(a.solvable);
    EXPECT_EQ(a.solutions, 1u);
    EXPECT_DOUBLE_EQ(a.chance, 0.5);
    EXPECT_DOUBLE_EQ(a.trapShare, 0.2);
    EXPECT_DOUBLE_EQ(a.Difficulty(), 1.0);
    EXPECT_EQ(a.livePositions, 4u);
}

TEST(Solver, GivesUpHonestlyWhenTheBudgetIsSpent)
{
    Random random(5);
    LevelRecord level = SmallRandomLevel(random);
    SearchOptions options;
    options.budget = 0;
    options.useTable = options.prune = false;
    const SolveResult r = Solve(level, options);
    EXPECT_NE(r.verdict, Verdict::Unsolvable); // never "no solution" without proof
}
