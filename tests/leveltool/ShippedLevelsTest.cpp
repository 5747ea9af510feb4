// The level set the game ships, as the build compiled it.
#include "LevelFile.h"
#include "LevelInfo.h"
#include "LevelText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::vector<LevelRecord> Shipped()
{
    std::vector<LevelRecord> levels;
    std::string message;
    EXPECT_TRUE(ReadLevels(TUMBLEWICK_LEVEL_SET, levels, message)) << message;
    return levels;
}

} // namespace

TEST(ShippedLevels, AreTheCompiledSources)
{
    std::vector<LevelRecord> sources;
    std::string message;
    ASSERT_TRUE(ReadLevelTexts(
        {TUMBLEWICK_LEVEL_SOURCES "/teaching.lvl", TUMBLEWICK_LEVEL_SOURCES "/generated.lvl"},
        sources, message))
        << message;
    EXPECT_EQ(sources, Shipped());
}

TEST(ShippedLevels, FillTheSetFromAFewLandingsToLongHardLevels)
{
    const std::vector<LevelRecord> levels = Shipped();
    ASSERT_EQ(levels.size(), 500u);
    std::vector<double> landings;
    for (const LevelRecord &level : levels) {
        EXPECT_NE(level.cells[At(level.startCol, level.startRow)], Empty);
        landings.push_back(LandingTotal(level.cells));
    }
    EXPECT_LE(landings.front(), 4);
    const std::vector<double> medians = RollingMedian(landings, 25);
    EXPECT_GE(medians.back(), 50);
    EXPECT_GE(*std::min_element(landings.end() - 25, landings.end()), 45);
}

TEST(ShippedLevels, TeachEachSpecialTileAloneBeforeMixingThem)
{
    const std::vector<LevelRecord> levels = Shipped();
    struct Kind
    {
        const char *name;
        bool (*is)(CellCode);
    };
    const Kind kinds[] = {
        {"one-way", [](CellCode c) { return c >= OneWayDown && c <= OneWayRight; }},
        {"horizontal", [](CellCode c) { return c == HorizontalOnly; }},
        {"vertical", [](CellCode c) { return c == VerticalOnly; }},
        {"slide", [](CellCode c) { return c == Slide; }},
        {"teleport", [](CellCode c) { return IsTeleport(c); }},
    };
    int previous = 0;
    for (const Kind &kind : kinds) {
        SCOPED_TRACE(kind.name);
        auto has = [](const LevelRecord &l, const Kind &k) {
            return std::any_of(l.cells.begin(), l.cells.end(), k.is);
        };
        const auto first = std::find_if(
            levels.begin(), levels.end(), [&](const LevelRecord &l) { return has(l, kind); });
        ASSERT_NE(first, levels.end());
        const int number = static_cast<int>(first - levels.begin()) + 1;
        EXPECT_GT(number, previous); // introduced in this order
        previous = number;
        EXPECT_LE(LandingTotal(first->cells), 10); // a small level
        for (const Kind &other : kinds) {
            if (&other != &kind) {
                EXPECT_FALSE(has(*first, other))
                    << "level " << number << " also has " << other.name;
            }
        }
    }
}
