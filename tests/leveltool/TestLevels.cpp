#include "TestLevels.h"

#include "Generator.h"
#include "LevelText.h"

#include <gtest/gtest.h>

LevelRecord Level(const std::string &rows)
{
    std::vector<LevelRecord> levels;
    TextError error;
    EXPECT_TRUE(ParseLevelText("level 1\n" + rows, "test", levels, error)) << error.Format();
    return levels.empty() ? LevelRecord {} : levels.front();
}

namespace {

CellCode RandomCode(Random &random)
{
    // Mostly small counts, and every special code now and then.
    static constexpr CellCode codes[] = {1, 1, 1, 2, 2, 3, OneWayRight, OneWayUp, OneWayLeft,
        OneWayDown, Slide, Slide, -6, -6, -7, -7, HorizontalOnly, VerticalOnly, -13};
    return codes[random.Below(static_cast<int>(std::size(codes)))];
}

} // namespace

LevelRecord SmallRandomLevel(Random &random)
{
    const int kind = random.Below(3);
    if (kind < 2) {
        WalkShape shape;
        shape.landings = 3 + random.Below(8);
        shape.jump = random.Unit();
        shape.revisit = random.Unit() * 0.6;
        shape.maxCount = 1 + random.Below(3);
        shape.special = random.Unit();
        shape.kinds = "><^v-|sT";
        shape.teleport = random.Unit() * 0.3;
        LevelRecord level = WalkLevel(random, shape);
        if (kind == 1) {
            const int cell = random.Below(64);
            level.cells[static_cast<std::size_t>(cell)]
                = random.Chance(0.3) ? Empty : RandomCode(random);
        }
        return level;
    }
    LevelRecord level;
    const int tiles = 2 + random.Below(6);
    for (int i = 0; i < tiles; ++i)
        level.cells[At(random.Below(4), random.Below(4))] = RandomCode(random);
    level.startCol = static_cast<std::uint8_t>(random.Below(4));
    level.startRow = static_cast<std::uint8_t>(random.Below(4));
    if (level.cells[At(level.startCol, level.startRow)] == Empty)
        level.cells[At(level.startCol, level.startRow)] = 1;
    return level;
}
