#include "Commands.h"
#include "Generator.h"
#include "LevelFile.h"
#include "LevelText.h"
#include "TempDir.h"
#include "TestLevels.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct ToolRun
{
    int status = 0;
    std::string out;
    std::string err;
};

ToolRun Tool(const std::vector<std::string> &args)
{
    std::ostringstream out;
    std::ostringstream err;
    ToolRun run;
    run.status = RunLevelTool(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::string Record(const LevelRecord &level)
{
    return EncodeLevels({level});
}

LevelRecord Row(const std::string &first)
{
    std::string rows = first;
    for (int i = 0; i < 7; ++i)
        rows += ". . . . . . . .\n";
    return Level(rows);
}

} // namespace

TEST(LevelTool, RefusesDamagedInputWithTheFaultAndItsPlace)
{
    TempDir dir;
    const std::string good = Record(Row("@1 1 . . . . . .\n"));
    std::string outside = good + good;
    outside[66 + 64] = 9; // level 2 starts in column 9
    std::string many;
    for (int i = 0; i < 501; ++i)
        many += good;
    struct Case
    {
        const char *file;
        std::string bytes;
        const char *message;
    };
    const Case cases[] = {
        {"empty.dat", "", "empty.dat: 0 bytes, shorter than one level"},
        {"short.dat", good.substr(0, 40), "short.dat: 40 bytes, shorter than one level"},
        {"cut.dat", good + good.substr(0, 10),
            "cut.dat: level 2 at byte offset 66 is cut off: 10 of 66 bytes"},
        {"outside.dat", outside,
            "outside.dat: level 2 at byte offset 66 starts outside the board: column 9, row 0"},
        {"many.dat", many, "many.dat: 501 levels; a level set holds at most 500"},
        {"bad.lvl", "level 1\n@1 1 ? . . . . .\n", "bad.lvl:2:6: unknown cell '?'"},
        {"none.lvl", "# nothing here\n", "none.lvl: no level found"},
    };
    for (const Case &c : cases) {
        const std::string path = (dir / c.file).string();
        TempDir::Write(path, c.bytes);
        for (const std::vector<std::string> &args : std::vector<std::vector<std::string>> {
                 {"verify", path}, {"decompile", path}, {"show", path, "1"}, {"solve", path},
                 {"compile", "-o", (dir / "out.dat").string(), path}}) {
            if (args[0] == "compile" && path.ends_with(".dat"))
                continue;
            SCOPED_TRACE(args[0] + " " + c.file);
            const ToolRun run = Tool(args);
            EXPECT_EQ(run.status, 1);
            EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out.dat")); // nothing written on failure

    const ToolRun missing = Tool({"verify", (dir / "gone.dat").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("gone.dat: cannot open"), std::string::npos);
    const ToolRun folder = Tool({"verify", dir.Path().string() + "/"});
    EXPECT_EQ(folder.status, 1);
}

TEST(LevelTool, DecompilesAnyLevelSetToTextThatCompilesToTheSameBytes)
{
    TempDir dir;
    Random random(8);
    std::string bytes;
    for (int i = 0; i < 37; ++i) {
        for (int b = 0; b < 64; ++b)
            bytes += static_cast<char>(random.Chance(0.5) ? 0 : random.Below(256));
        bytes += static_cast<char>(random.Below(8));
        bytes += static_cast<char>(random.Below(8));
    }
    TempDir::Write(dir / "set.dat", bytes);
    ASSERT_EQ(
        Tool({"decompile", (dir / "set.dat").string(), "-o", (dir / "set.lvl").string()}).status,
        0);
    ASSERT_EQ(
        Tool({"compile", "-o", (dir / "again.dat").string(), (dir / "set.lvl").string()}).status,
        0);
    EXPECT_EQ(TempDir::Read(dir / "again.dat"), bytes);

    // Text split over two files numbers its levels on.
    const std::string text = TempDir::Read(dir / "set.lvl");
    const std::size_t cut = text.find("level 20\n");
    TempDir::Write(dir / "a.lvl", text.substr(0, cut));
    TempDir::Write(dir / "b.lvl", text.substr(cut));
    ASSERT_EQ(Tool({"compile", "-o", (dir / "two.dat").string(), (dir / "a.lvl").string(),
                       (dir / "b.lvl").string()})
                  .status,
        0);
    EXPECT_EQ(TempDir::Read(dir / "two.dat"), bytes);
}

TEST(LevelTool, VerifyNamesEveryLevelThatFails)
{
    TempDir dir;
    const LevelRecord good = Row("@1 1 2 1 . . . .\n");
    LevelRecord emptyStart = Row("@. 1 1 . . . . .\n");
    const LevelRecord stuck = Row("@2 . . . . . . .\n");
    LevelRecord mirrored = Row(". . . . 1 2 1 @1\n"); // the first level mirrored left-right
    const std::string path = (dir / "set.dat").string();
    TempDir::Write(path, EncodeLevels({good, emptyStart, stuck, mirrored}));
    const ToolRun run = Tool({"verify", path});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(
        run.err.find("level 2: Pip starts on an empty cell (column 0, row 0)"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("level 3: cannot be solved"), std::string::npos);
    EXPECT_NE(run.err.find("level 4: the same as level 1 mirrored left-right"), std::string::npos);
    EXPECT_EQ(run.err.find("level 1:"), std::string::npos);
    EXPECT_NE(run.out.find("4 levels, 3 faults"), std::string::npos);

    TempDir::Write(path, EncodeLevels({good}));
    const ToolRun ok = Tool({"verify", path});
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_NE(ok.out.find("1 levels, 0 faults"), std::string::npos);
}

TEST(LevelTool, SolvePrintsKeyPressesThatFinishTheLevel)
{
    TempDir dir;
    const std::string path = (dir / "set.lvl").string();
    TempDir::Write(path, LevelSetToText({Row(". 1 @2 1 . . . .\n")}));
    const ToolRun run = Tool({"solve", path, "1"});
    EXPECT_EQ(run.status, 0) << run.err;
    // Right, then back Left twice, and the last press takes the last tile.
    EXPECT_NE(run.out.find("level 1: 4 key presses"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Right, Left, Left, Right"), std::string::npos) << run.out;
    const ToolRun shown = Tool({"show", path, "1"});
    EXPECT_NE(shown.out.find("@2"), std::string::npos);
    EXPECT_NE(shown.out.find("landings 4, tiles 3"), std::string::npos);
    EXPECT_EQ(Tool({"show", path, "2"}).status, 1);
}

TEST(LevelTool, GeneratesTheSameLevelsFromTheSameSeed)
{
    TempDir dir;
    const std::vector<std::string> args {"generate", "--seed", "7", "--first", "1", "--last", "8"};
    const ToolRun first = Tool(args);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(Tool(args).out, first.out);
    const ToolRun other = Tool({"generate", "--seed", "8", "--first", "1", "--last", "8"});
    EXPECT_NE(other.out, first.out);

    // Made in two pieces, the second knowing the first, the levels are the same.
    const ToolRun head = Tool({"generate", "--seed", "7", "--first", "1", "--last", "3"});
    TempDir::Write(dir / "head.lvl", head.out);
    const ToolRun tail = Tool({"generate", "--seed", "7", "--first", "4", "--last", "8", "--prior",
        (dir / "head.lvl").string()});
    ASSERT_EQ(tail.status, 0) << tail.err;
    const std::size_t from = first.out.find("level 4 ");
    EXPECT_EQ(tail.out.substr(tail.out.find("level 4 ")), first.out.substr(from));

    TempDir::Write(dir / "made.lvl", first.out);
    const ToolRun verified = Tool({"verify", (dir / "made.lvl").string()});
    EXPECT_EQ(verified.status, 0) << verified.err;

    EXPECT_EQ(Tool({"generate", "--seed", "7", "--first", "4", "--last", "8"}).status, 1);
    EXPECT_EQ(Tool({"generate"}).status, 1);
}

TEST(LevelTool, DrawsAChartOfTheSet)
{
    TempDir dir;
    const ToolRun made = Tool({"generate", "--seed", "3", "--first", "1", "--last", "30"});
    TempDir::Write(dir / "set.lvl", made.out);
    ASSERT_EQ(Tool({"chart", (dir / "set.lvl").string(), (dir / "chart.svg").string()}).status, 0);
    const std::string svg = TempDir::Read(dir / "chart.svg");
    EXPECT_EQ(svg.rfind("<svg", 0), 0u);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
    // One dot per level in each panel, and the two median lines.
    std::size_t dots = 0;
    for (std::size_t at = svg.find("<circle"); at != std::string::npos;
         at = svg.find("<circle", at + 1))
        ++dots;
    EXPECT_EQ(dots, 60u);
    EXPECT_NE(svg.find("<polyline"), std::string::npos);
}

TEST(LevelTool, UnknownCommandsAndOptionsAreRefused)
{
    EXPECT_EQ(Tool({}).status, 2);
    EXPECT_EQ(Tool({"frobnicate"}).status, 2);
    EXPECT_EQ(Tool({"compile", "x.lvl"}).status, 1); // no -o
    EXPECT_EQ(Tool({"verify", "x.dat", "-j"}).status, 1);
    EXPECT_EQ(Tool({"help"}).status, 0);
}

TEST(LevelTool, CurveCheckRefusesASetThatGetsEasier)
{
    TempDir dir;
    GeneratorOptions easy;
    easy.first = 1;
    easy.last = 30;
    GeneratorOptions hard;
    hard.first = 150;
    hard.last = 179;
    std::vector<std::string> notes;
    const std::vector<LevelRecord> easyLevels = GenerateLevels(easy, {}, notes, nullptr);
    const std::vector<LevelRecord> hardLevels = GenerateLevels(hard, {}, notes, nullptr);

    std::vector<LevelRecord> rising = easyLevels;
    rising.insert(rising.end(), hardLevels.begin(), hardLevels.end());
    TempDir::Write(dir / "rising.dat", EncodeLevels(rising));
    const ToolRun up = Tool({"verify", "--curve", (dir / "rising.dat").string()});
    EXPECT_EQ(up.status, 0) << up.err;

    std::vector<LevelRecord> falling = hardLevels;
    falling.insert(falling.end(), easyLevels.begin(), easyLevels.end());
    TempDir::Write(dir / "falling.dat", EncodeLevels(falling));
    const ToolRun down = Tool({"verify", "--curve", (dir / "falling.dat").string()});
    EXPECT_EQ(down.status, 1);
    EXPECT_NE(down.err.find("median difficulty"), std::string::npos) << down.err;
    // Without --curve the order is nobody's business.
    EXPECT_EQ(Tool({"verify", (dir / "falling.dat").string()}).status, 0);
}
