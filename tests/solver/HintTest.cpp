#include "Hint.h"
#include "BackgroundSearch.h"
#include "LevelText.h"
#include "SilentHost.h"
#include "TestLevels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

LevelTable Shipped()
{
    LevelSetResult set = LoadLevelSet(TUMBLEWICK_GAME_FOLDER);
    EXPECT_TRUE(set.ok());
    EXPECT_EQ(set.table.Count(), MaxLevels);
    return set.table;
}

Position Now(const Game &game)
{
    return {game.board, game.HeroCol, game.HeroRow};
}

int ArrowKey(Key key)
{
    if (key.dCol != 0)
        return key.dCol > 0 ? VkRight : VkLeft;
    return key.dRow > 0 ? VkDown : VkUp;
}

bool IsJump(Key key)
{
    return key.dCol == 2 || key.dCol == -2 || key.dRow == 2 || key.dRow == -2;
}

// The truth for a position, by the full search that values every position
// the level can reach (no dead-end cuts of the thorough kind, no table of
// dead positions): a search of another make than the hint's.
bool TrulySolvable(const Position &p)
{
    LevelRecord from;
    from.cells = p.board;
    from.startCol = static_cast<std::uint8_t>(p.col);
    from.startRow = static_cast<std::uint8_t>(p.row);
    const Analysis a = Analyze(from);
    EXPECT_TRUE(a.complete);
    return a.solvable;
}

// The verdict the mark shows: at once where that is possible, else the
// exact search.
Verdict MarkVerdict(const Position &p)
{
    const Verdict quick = QuickVerdict(p);
    return quick != Verdict::GaveUp ? quick : FindHint(p).verdict;
}

// Sixty landings by hand, stacks of one to three packed into the left of the
// board: far more positions than any budget of the game allows.
const char *const SixtyLandings = "@3 1 2 1 . . . .\n"
                                  " 1 2 1 3 . . . .\n"
                                  " 2 1 3 1 2 . . .\n"
                                  " 1 3 1 2 1 . . .\n"
                                  " 3 1 2 1 3 . . .\n"
                                  " 1 2 1 3 1 . . .\n"
                                  " 1 1 2 . . . . .\n"
                                  " 1 2 1 1 1 1 . .\n";

// A level from its first rows; the rest of the board is empty.
LevelRecord Rows(std::string rows)
{
    while (std::count(rows.begin(), rows.end(), '\n') < BoardSide)
        rows += ". . . . . . . .\n";
    return Level(rows);
}

// Every level in the plain pass; every seventh under the sanitizers.
#ifdef TUMBLEWICK_LEVEL_STRIDE
constexpr int LevelStride = TUMBLEWICK_LEVEL_STRIDE;
#else
constexpr int LevelStride = 1;
#endif

} // namespace

TEST(Hint, FollowedKeyByKeySolvesEveryShippedLevelFromItsStart)
{
    SilentHost host;
    Game game(host);
    game.InstallLevels(Shipped(), 1);
    game.AllSolved = true; // no congratulation between the levels
    for (int n = 1; n <= game.LevelCount(); n += LevelStride) {
        SCOPED_TRACE(testing::Message() << "level " << n);
        game.LoadLevel(n);
        const int landings = LandingTotal(game.board);
        int presses = 0;
        while (game.PlayState != PlaySolved) {
            const HintAnswer hint = FindHint(Now(game));
            ASSERT_EQ(hint.verdict, Verdict::Solvable);
            ASSERT_LE(++presses, landings); // every key press takes a landing
            // Through the key handler, as the player would press it.
            game.FormKeyDown(ArrowKey(hint.key), IsJump(hint.key));
            ASSERT_NE(game.PlayState, PlayLost);
        }
        EXPECT_EQ(game.Mark(n), 1);
    }
}

TEST(Hint, MarkAgreesWithTheFullSearchOnRandomPositionsOfTheShippedLevels)
{
    const LevelTable levels = Shipped();
    Random random(17);
    Engine engine;
    int dead = 0;
    int live = 0;
    int quick = 0;
    for (int n = 1; n <= levels.Count(); n += LevelStride) {
        // A random player's walk through the level, looked at after every
        // move; the player never presses a key that loses at once.
        Position pos = StartPosition(levels.Get(n));
        for (int presses = 0;; ++presses) {
            SCOPED_TRACE(testing::Message()
                << "level " << n << ", key press " << presses << "\n"
                << LevelToText({pos.board, std::uint8_t(pos.col), std::uint8_t(pos.row)}, n));
            const bool truth = TrulySolvable(pos);
            ASSERT_EQ(MarkVerdict(pos), truth ? Verdict::Solvable : Verdict::Unsolvable);
            (truth ? live : dead)++;
            quick += QuickVerdict(pos) != Verdict::GaveUp ? 1 : 0;

            std::vector<Position> moves;
            for (Key k : AllKeys) {
                Position next;
                if (engine.Press(pos, k, next) == Outcome::Moved)
                    moves.push_back(next);
            }
            if (moves.empty())
                break;
            pos = moves[static_cast<std::size_t>(random.Below(static_cast<int>(moves.size())))];
        }
    }
    // Both answers, and both ways of finding them, met many times.
    EXPECT_GT(live, 1000 / LevelStride);
    EXPECT_GT(dead, 3000 / LevelStride);
    EXPECT_GT(quick, 2000 / LevelStride);
    EXPECT_GT(live + dead - quick, 2000 / LevelStride); // left to the search
}

TEST(Hint, TellsTheEndOfALevelThatCannotBeFinished)
{
    const struct
    {
        const char *what;
        std::string rows;
    } table[] = {
        {"a last tile that still bears two landings", "@2 . . . . . . .\n"},
        {"two tiles lying diagonally apart", "@1 . . . . . . .\n . 1 . . . . . .\n"},
        {"a tile nothing can reach", "@1 1 . . . . . .\n . . . . . . . 1\n"},
        {"a one-way tile pointing away from the rest", "1 @< . . . . . .\n . 1 . . . . . .\n"},
    };
    for (const auto &c : table) {
        SCOPED_TRACE(c.what);
        const Position start = StartPosition(Rows(c.rows));
        EXPECT_EQ(FindHint(start).verdict, Verdict::Unsolvable);
        EXPECT_NE(QuickVerdict(start), Verdict::Solvable);
        EXPECT_EQ(MarkVerdict(start), Verdict::Unsolvable);
    }
    // A hero who has fallen off the board finishes nothing.
    Position fallen = StartPosition(Rows("@1 1 . . . . . .\n"));
    fallen.col = -1;
    EXPECT_EQ(FindHint(fallen).verdict, Verdict::Unsolvable);
    EXPECT_EQ(QuickVerdict(fallen), Verdict::Unsolvable);
}

TEST(Hint, GivesNoAnswerRatherThanAWrongOneWhenTheBudgetIsSpent)
{
    const Position start = StartPosition(Level(SixtyLandings));
    ASSERT_EQ(LandingTotal(start.board), 60);
    const HintAnswer small = FindHint(start, 1000);
    EXPECT_EQ(small.verdict, Verdict::GaveUp);
    EXPECT_LE(small.nodes, 1000 + AllKeys.size());
    // The game's own budget ends too, here without an answer.
    const HintAnswer full = FindHint(start);
    EXPECT_EQ(full.verdict, Verdict::GaveUp);
    EXPECT_LE(full.nodes, HintBudget + AllKeys.size());
    // Stopped before it began: no answer, and at once.
    const std::atomic<bool> stop {true};
    const HintAnswer stopped = FindHint(StartPosition(Shipped().Get(464)), HintBudget, &stop);
    EXPECT_EQ(stopped.verdict, Verdict::GaveUp);
    EXPECT_LE(stopped.nodes, 1u);
}

TEST(BackgroundSearch, AnswersTheLatestQuestionAndNeverAWrongOne)
{
    const LevelTable levels = Shipped();
    std::mutex mutex;
    std::vector<BackgroundSearch::Answer> answers;
    BackgroundSearch search([&](const BackgroundSearch::Answer &a) {
        std::lock_guard lock(mutex);
        answers.push_back(a);
    });
    // Questions much faster than answers: most are replaced or stopped.
    std::vector<Position> asked;
    for (int n : {500, 464, 499, 1, 12}) {
        asked.push_back(StartPosition(levels.Get(n)));
        EXPECT_EQ(search.Ask(asked.back()), asked.size());
    }
    search.WaitUntilIdle();
    std::lock_guard lock(mutex);
    ASSERT_FALSE(answers.empty());
    EXPECT_EQ(answers.back().ticket, asked.size());
    std::uint64_t before = 0;
    for (const BackgroundSearch::Answer &a : answers) {
        EXPECT_GT(a.ticket, before); // in the order asked, each at most once
        before = a.ticket;
        EXPECT_EQ(a.position, asked[a.ticket - 1]);
        EXPECT_EQ(a.hint.verdict, Verdict::Solvable);
        EXPECT_EQ(a.hint.key.dCol, FindHint(a.position).key.dCol);
        EXPECT_EQ(a.hint.key.dRow, FindHint(a.position).key.dRow);
    }
}

TEST(BackgroundSearch, DroppedQuestionsAreNeverAnswered)
{
    int delivered = 0;
    {
        // A budget the sixty landings would take a minute to spend.
        BackgroundSearch search(
            [&](const BackgroundSearch::Answer &) { ++delivered; }, SolveBudget);
        search.Drop(); // nothing asked yet: nothing happens
        search.WaitUntilIdle();
        search.Ask(StartPosition(Level(SixtyLandings)));
        search.Drop();
        search.WaitUntilIdle();
        EXPECT_EQ(delivered, 0);
        search.Ask(StartPosition(Level(SixtyLandings)));
    } // leaves while the search runs: stopped, and the thread is gone
    EXPECT_EQ(delivered, 0);
}
