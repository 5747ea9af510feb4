#include "TestBoards.h"

#include <gtest/gtest.h>

using Calls = std::vector<std::string>;

namespace {

// Levels whose first cell tells them apart: level k holds k % 100 + 1 at (0, 0)
// and a tile of one beside it.
LevelTable Numbered(int count)
{
    LevelTable table;
    for (int k = 1; k <= count; ++k) {
        Board board {};
        board[At(0, 0)] = static_cast<CellCode>(k % 100 + 1);
        board[At(1, 0)] = 1;
        table.Add({board, 0, 0});
    }
    return table;
}

struct Progress
{
    RecordingHost host;
    Game game {host};

    explicit Progress(int count, int level = 1)
    {
        game.InstallLevels(Numbered(count), level);
        game.StartUp();
    }
    int ShownLevel() const { return game.board[At(0, 0)] - 1; }
};

} // namespace

TEST(LevelCommands, StepAndClampAtBothEnds)
{
    struct Case
    {
        int from;
        void (Game::*command)();
        int to;
    };
    for (const Case c : {Case {325, &Game::Level10UpBtnClick, 330},
             Case {330, &Game::Level10UpBtnClick, 330}, Case {50, &Game::Level100DnBtnClick, 1},
             Case {1, &Game::Level1DnBtnClick, 1}, Case {1, &Game::Level10DnBtnClick, 1},
             Case {1, &Game::Level100DnBtnClick, 1}, Case {329, &Game::Level1UpBtnClick, 330},
             Case {330, &Game::Level1UpBtnClick, 330}, Case {200, &Game::Level100UpBtnClick, 300},
             Case {300, &Game::Level100UpBtnClick, 330}, Case {15, &Game::Level10DnBtnClick, 5},
             Case {2, &Game::Level1DnBtnClick, 1}, Case {77, &Game::RestartBtnClick, 77}}) {
        SCOPED_TRACE(testing::Message() << "from " << c.from);
        Progress p(330, c.from);
        p.game.PlayState = PlayInPlay;
        p.host.answers = {MrYes};
        (p.game.*c.command)();
        EXPECT_EQ(p.game.CurrentLevel, c.to);
        const bool moved = c.to != c.from || c.command == &Game::RestartBtnClick;
        // At either end a command neither asks nor loads.
        EXPECT_EQ(p.host.Count("ShowMsg 2"), moved ? 1 : 0);
        EXPECT_EQ(p.host.Count("LevelSweepIn"), moved ? 1 : 0);
        EXPECT_EQ(p.game.PlayState, moved ? PlayReady : PlayInPlay);
        EXPECT_EQ(p.ShownLevel(), c.to % 100);
    }
}

TEST(LevelCommands, OnlyALevelInPlayAsksBeforeItIsGivenUp)
{
    for (std::uint8_t state : {PlayReady, PlaySolved, PlayLost}) {
        Progress p(10, 4);
        p.game.PlayState = state;
        p.game.Level1UpBtnClick();
        EXPECT_FALSE(p.host.Saw("ShowMsg 2"));
        EXPECT_EQ(p.game.CurrentLevel, 5);
    }

    Progress p(10, 4);
    p.game.FormKeyDown(VkRight, false); // the hero steps, the level is in play
    const Board played = p.game.board;
    p.host.answers = {MrNo};
    p.game.Level1UpBtnClick();
    p.game.RestartBtnClick();
    EXPECT_EQ(p.host.Count("ShowMsg 2"), 2);
    EXPECT_EQ(p.game.CurrentLevel, 4);
    EXPECT_EQ(p.game.board, played);
    EXPECT_EQ(p.game.PlayState, PlayInPlay);
}

TEST(LevelCommands, AnyAnswerButNoGivesTheLevelUp)
{
    struct Command
    {
        void (Game::*click)();
        int to;
    };
    for (ModalResult answer : {MrYes, MrCancel, MrNone, MrOk, MrNo}) {
        for (const Command c : {Command {&Game::Level1UpBtnClick, 5},
                 Command {&Game::Level10DnBtnClick, 1}, Command {&Game::RestartBtnClick, 4},
                 Command {&Game::sUpBtnClick, 5}, Command {&Game::sDownBtnClick, 3}}) {
            SCOPED_TRACE(testing::Message() << "answer " << answer << ", to " << c.to);
            Progress p(10, 4);
            p.game.FormKeyDown(VkRight, false); // in play
            p.host.answers = {answer};
            p.host.Clear();
            (p.game.*c.click)();
            EXPECT_EQ(p.host.Count("ShowMsg 2"), 1);
            const bool givenUp = answer != MrNo;
            EXPECT_EQ(p.game.CurrentLevel, givenUp ? c.to : 4);
            EXPECT_EQ(p.host.Saw("LevelSweepIn"), givenUp);
            EXPECT_EQ(p.game.PlayState, givenUp ? PlayReady : PlayInPlay);
        }
    }
}

TEST(UnsolvedSearch, WrapsAroundBothWays)
{
    Progress p(330, 1);
    for (int k = 1; k <= 330; ++k)
        p.game.Mark(k) = 1;
    p.game.Mark(330) = 0;
    p.game.Mark(2) = 0;
    p.game.sDownBtnClick(); // from 1 back to 330
    EXPECT_EQ(p.game.CurrentLevel, 330);
    p.game.sUpBtnClick(); // from 330 on to 2
    EXPECT_EQ(p.game.CurrentLevel, 2);
    p.game.sUpBtnClick();
    EXPECT_EQ(p.game.CurrentLevel, 330);
}

TEST(UnsolvedSearch, AnyMarkOtherThanZeroCountsAsSolved)
{
    Progress p(5, 1);
    p.game.Mark(2) = -3;
    p.game.Mark(3) = 7;
    p.game.sUpBtnClick();
    EXPECT_EQ(p.game.CurrentLevel, 4);
}

TEST(UnsolvedSearch, FindsNothingWhenOnlyTheCurrentLevelIsUnsolved)
{
    for (bool allSolved : {false, true}) {
        Progress p(20, 9);
        for (int k = 1; k <= 20; ++k)
            p.game.Mark(k) = (k == 9 && !allSolved) ? 0 : 1;
        p.game.PlayState = PlayInPlay;
        p.host.answers = {MrYes, MrYes};
        p.game.sDownBtnClick();
        EXPECT_FALSE(p.host.Saw("ShowMsg 2")); // backward looks first
        p.game.sUpBtnClick();
        EXPECT_EQ(p.host.Count("ShowMsg 2"), 1); // forward asks first
        EXPECT_EQ(p.game.CurrentLevel, 9);
        EXPECT_FALSE(p.host.Saw("LevelSweepOut"));
        EXPECT_EQ(p.game.PlayState, PlayInPlay);
    }
}

TEST(LevelSolved, MarksTheLevelAndOffersTheNext)
{
    Progress p(330, 7);
    p.game.GameName = "Anna";
    p.host.answers = {MrYes};
    p.game.LevelSolved();
    EXPECT_EQ(p.game.Mark(7), 1);
    // The record is offered for keeping before any question is asked.
    EXPECT_EQ(p.host.Only({"LevelMarked", "PlayEffect", "ShowMsg"}),
        (Calls {"LevelMarked", "PlayEffect 4", "ShowMsg 14"}));
    EXPECT_EQ(p.game.CurrentLevel, 8);
    EXPECT_EQ(p.game.PlayState, PlayReady);
    EXPECT_EQ(p.host.gauge, (GaugeDisplay {330, 1, "1 of 330 levels solved"}));
    EXPECT_EQ(p.host.level, (LevelDisplay {0, 0, 8, false}));
}

TEST(LevelSolved, YesOnTheLastLevelGoesOnAtTheFirstUnsolvedOne)
{
    struct Case
    {
        std::vector<int> unsolved; // besides the last level, which is being solved
        ModalResult answer;
        int to;
    };
    for (const Case &c :
        {Case {{1, 200}, MrYes, 1}, Case {{17, 200}, MrYes, 17}, Case {{17}, MrNo, 330}}) {
        SCOPED_TRACE(testing::Message() << "to " << c.to);
        Progress p(330, 330);
        for (int k = 1; k < 330; ++k)
            p.game.Mark(k) = 1;
        for (int k : c.unsolved)
            p.game.Mark(k) = 0;
        p.host.answers = {c.answer};
        p.game.PlayState = PlayInPlay;
        p.game.LevelSolved();
        EXPECT_EQ(p.host.Only({"PlayEffect", "ShowMsg"}), (Calls {"PlayEffect 4", "ShowMsg 14"}));
        EXPECT_EQ(p.game.CurrentLevel, c.to);
        EXPECT_EQ(p.ShownLevel(), c.to % 100);
        EXPECT_EQ(p.game.PlayState, c.answer == MrYes ? PlayReady : PlaySolved);
        EXPECT_EQ(p.game.Mark(330), 1);
    }
}

TEST(LevelSolved, YesOnTheLastLevelWithEveryLevelSolvedKeepsItOnScreen)
{
    // Every level solved before, the congratulation already given: the
    // question still comes, and there is nowhere to go.
    Progress p(330, 330);
    for (int k = 1; k <= 330; ++k)
        p.game.Mark(k) = 1;
    p.game.AllSolved = true;
    p.host.answers = {MrYes};
    p.game.PlayState = PlayInPlay;
    p.game.LevelSolved();
    EXPECT_TRUE(p.host.Saw("ShowMsg 14"));
    EXPECT_FALSE(p.host.Saw("LevelSweepOut"));
    EXPECT_EQ(p.game.CurrentLevel, 330);
    EXPECT_EQ(p.game.PlayState, PlaySolved);
    EXPECT_EQ(p.host.level, (LevelDisplay {3, 3, 0, true}));
}

TEST(LevelSolved, TheLastUnsolvedLevelIsCongratulatedOncePerRun)
{
    Progress p(3, 2);
    p.game.Mark(1) = 1;
    p.game.Mark(3) = 1;
    p.game.LevelSolved();
    EXPECT_EQ(p.host.Only({"PlayEffect", "ShowMsg"}), (Calls {"PlayEffect 5", "ShowMsg 6"}));
    EXPECT_TRUE(p.game.AllSolved);
    EXPECT_EQ(p.game.CurrentLevel, 2);

    // After a new game the same run only offers the next level.
    p.host.answers = {MrYes};
    p.game.NewGameBtnClick();
    for (int k = 1; k <= 3; ++k)
        p.game.Mark(k) = 1;
    p.host.Clear();
    p.game.LevelSolved();
    EXPECT_EQ(p.host.Only({"PlayEffect", "ShowMsg"}), (Calls {"PlayEffect 4", "ShowMsg 14"}));
}

TEST(StartUp, ASavedGameWithEveryLevelSolvedIsNeverCongratulated)
{
    RecordingHost host;
    Game game(host);
    game.InstallLevels(Numbered(4), 2);
    for (int k = 1; k <= 4; ++k)
        game.Mark(k) = 1;
    game.Mark(3) = -1; // not 0, so solved for this test
    game.StartUp();
    EXPECT_TRUE(game.AllSolved);
    EXPECT_EQ(game.board[At(0, 0)], 3);
    EXPECT_EQ(game.PlayState, PlayReady);
    EXPECT_TRUE(host.calls.empty()); // no animation at start

    game.LevelSolved();
    EXPECT_FALSE(host.Saw("ShowMsg 6"));
    EXPECT_TRUE(host.Saw("ShowMsg 14"));
}

TEST(NewGame, NoChangesNothing)
{
    Progress p(10, 6);
    p.game.Mark(3) = 1;
    p.game.GameName = "Anna";
    p.game.NewGameBtnClick();
    EXPECT_EQ(p.host.calls, (Calls {"ShowMsg 4"}));
    EXPECT_EQ(p.game.CurrentLevel, 6);
    EXPECT_EQ(p.game.Mark(3), 1);
    EXPECT_EQ(p.game.GameName, "Anna");
}

TEST(NewGame, AnyAnswerButNoStartsIt)
{
    for (ModalResult answer : {MrYes, MrCancel, MrNone, MrOk}) {
        SCOPED_TRACE(answer);
        Progress p(10, 6);
        p.game.Mark(3) = 1;
        p.game.GameName = "Anna";
        p.host.answers = {answer};
        p.game.NewGameBtnClick();
        EXPECT_EQ(p.host.saves, 1);
        EXPECT_EQ(p.game.CurrentLevel, 1);
        EXPECT_EQ(p.game.Mark(3), 0);
        EXPECT_EQ(p.game.GameName, "");
    }
}

TEST(NewGame, YesSavesThenClearsRecordAndName)
{
    Progress p(10, 6);
    p.game.Mark(3) = 1;
    p.game.Mark(11) = 1; // beyond the level count: left alone
    p.game.GameName = "Anna";
    p.game.Language = 1;
    p.game.AllSolved = true;
    p.game.PlayState = PlayInPlay;
    p.host.answers = {MrYes};
    p.game.NewGameBtnClick();
    EXPECT_EQ(p.host.Only({"ShowMsg", "SaveCurrentGame", "LevelSweepIn"}),
        (Calls {"ShowMsg 4", "SaveCurrentGame", "LevelSweepIn"}));
    EXPECT_EQ(p.game.CurrentLevel, 1);
    EXPECT_EQ(p.game.Mark(3), 0);
    EXPECT_EQ(p.game.Mark(11), 1);
    EXPECT_TRUE(p.game.GameName.empty());
    EXPECT_TRUE(p.game.AllSolved);
    EXPECT_EQ(p.host.caption, "Tumblewick 2.0");
    EXPECT_EQ(p.host.gauge, (GaugeDisplay {10, 0, "0 von 10 Ebenen gelöst"}));
}

TEST(NewGame, AGameThatCouldNotBeSavedStaysWhenThePlayerSaysSo)
{
    Progress p(10, 6);
    p.game.Mark(3) = 1;
    p.game.GameName = "Anna";
    p.game.PlayState = PlayInPlay;
    p.host.answers = {MrYes};
    p.host.saveLets = false;
    p.game.NewGameBtnClick();
    EXPECT_EQ(p.host.Only({"ShowMsg", "SaveCurrentGame", "LevelSweep"}),
        (Calls {"ShowMsg 4", "SaveCurrentGame"}));
    EXPECT_EQ(p.game.CurrentLevel, 6);
    EXPECT_EQ(p.game.Mark(3), 1);
    EXPECT_EQ(p.game.GameName, "Anna");
    EXPECT_EQ(p.game.PlayState, PlayInPlay);
}

TEST(Status, CaptionDigitsAndGaugeFollowTheLanguage)
{
    Progress p(330, 7);
    p.game.GameName = "Anna";
    p.game.Mark(7) = 1;
    p.game.Mark(100) = 1;
    p.game.Mark(331) = 1; // not a level of this set
    for (int language : {-1, 0, 1}) {
        p.game.Language = language;
        p.game.UpdateStatus();
        EXPECT_EQ(p.host.caption,
            language == 1 ? "Tumblewick 2.0 - Spiel: Anna" : "Tumblewick 2.0 - Game: Anna");
        EXPECT_EQ(p.host.gauge.hint,
            language == 1 ? "2 von 330 Ebenen gelöst" : "2 of 330 levels solved");
    }
    EXPECT_EQ(p.host.level, (LevelDisplay {0, 0, 7, true}));
    p.game.LoadLevel(100);
    EXPECT_EQ(p.host.level, (LevelDisplay {1, 0, 0, true}));
    p.game.LoadLevel(101);
    EXPECT_EQ(p.host.level, (LevelDisplay {1, 0, 1, false}));
}

TEST(Status, OnlyMarksAboveZeroCountAsSolved)
{
    // Marks come from saved games as they are. The count, the gauge and the
    // level's indicator take a level as solved when its mark is above 0; the
    // searches and the all-solved test when it is not 0.
    constexpr std::int32_t marks[] = {1, 2, INT32_MAX, -1, INT32_MIN, 0};
    Progress p(6, 1);
    for (int k = 1; k <= 6; ++k)
        p.game.Mark(k) = marks[k - 1];
    p.game.StartUp();
    EXPECT_FALSE(p.game.AllSolved) << "level 6 is not solved";
    EXPECT_EQ(p.game.CountSolved(), 3);
    p.game.UpdateStatus();
    EXPECT_EQ(p.host.gauge, (GaugeDisplay {6, 3, "3 of 6 levels solved"}));
    for (int k = 1; k <= 6; ++k) {
        SCOPED_TRACE(marks[k - 1]);
        p.game.LoadLevel(k);
        EXPECT_EQ(p.host.level.solved, marks[k - 1] > 0);
    }
    p.game.LoadLevel(1);
    p.game.sUpBtnClick();
    EXPECT_EQ(p.game.CurrentLevel, 6) << "the search passes over 2 to 5";

    // Solving the one level left with a mark of 0 leaves the count at four
    // of six: no congratulation, the next-level question.
    p.host.Clear();
    p.game.LevelSolved();
    EXPECT_EQ(p.host.gauge.progress, 4);
    EXPECT_EQ(p.host.Only({"PlayEffect", "ShowMsg"}), (Calls {"PlayEffect 4", "ShowMsg 14"}));
    EXPECT_FALSE(p.game.AllSolved);

    // With every mark other than 0 the set counts as all solved at start-up.
    Progress again(3, 1);
    for (int k = 1; k <= 3; ++k)
        again.game.Mark(k) = marks[k + 1];
    again.game.StartUp();
    EXPECT_TRUE(again.game.AllSolved);
}

TEST(LoadLevel, SweepsOutTheOldBoardBeforeTheNewOneIsCopied)
{
    // The host sees the old level while its tiles vanish and the new one after.
    class BoardWatcher : public RecordingHost
    {
    public:
        const Game *game = nullptr;
        std::vector<int> seen;
        void LevelSweepOut() override { seen.push_back(game->board[At(0, 0)]); }
        void LevelSweepIn() override { seen.push_back(game->board[At(0, 0)]); }
    };
    BoardWatcher host;
    Game game(host);
    host.game = &game;
    game.InstallLevels(Numbered(10), 3);
    game.StartUp();
    game.board[At(0, 0)] = 50; // played on; the table keeps the stored level
    game.LoadLevel(3);
    EXPECT_EQ(host.seen, (std::vector<int> {50, 4}));
    EXPECT_EQ(game.board, Numbered(10).Get(3).cells);
}

TEST(PlayThrough, KeysSolveALevelAndMoveOnToTheNext)
{
    LevelTable table;
    Board first {};
    first[At(0, 0)] = 2;
    first[At(1, 0)] = 1;
    table.Add({first, 0, 0});
    table.Add({first, 1, 0});
    RecordingHost host;
    Game game(host);
    game.InstallLevels(std::move(table), 1);
    game.StartUp();
    host.answers = {MrYes};
    game.FormKeyDown(VkRight, false); // 2 -> 1 left behind
    game.FormKeyDown(VkLeft, false); // back; the tile of one falls
    EXPECT_EQ(LandingTotal(game.board), 1);
    game.FormKeyDown(VkDown, false); // any key finishes
    EXPECT_EQ(game.Mark(1), 1);
    EXPECT_EQ(game.CurrentLevel, 2);
    EXPECT_EQ((Cell {game.HeroCol, game.HeroRow}), (Cell {1, 0}));
    EXPECT_EQ(game.PlayState, PlayReady);
}
