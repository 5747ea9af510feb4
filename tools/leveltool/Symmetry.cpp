#include "Symmetry.h"

#include <algorithm>
#include <array>
#include <map>

namespace {

struct Map
{
    int xx, xy, yx, yy; // new vector = (xx * dx + xy * dy, yx * dx + yy * dy)
};

// Linear parts; cells map about the board's centre.
constexpr std::array<Map, SymmetryCount> Maps {{
    {1, 0, 0, 1}, // identity
    {0, -1, 1, 0}, // quarter turn clockwise (row 0 is at the top)
    {-1, 0, 0, -1}, // half turn
    {0, 1, -1, 0}, // quarter turn anticlockwise
    {-1, 0, 0, 1}, // mirror left-right
    {1, 0, 0, -1}, // mirror top-bottom
    {0, 1, 1, 0}, // mirror on the main diagonal
    {0, -1, -1, 0}, // mirror on the other diagonal
}};

void MapCell(const Map &m, int col, int row, int &newCol, int &newRow)
{
    // Doubled coordinates about the centre (3.5, 3.5) stay integral.
    const int x = 2 * col - 7;
    const int y = 2 * row - 7;
    newCol = (m.xx * x + m.xy * y + 7) / 2;
    newRow = (m.yx * x + m.yy * y + 7) / 2;
}

CellCode MapCode(const Map &m, CellCode c)
{
    struct Arrow
    {
        CellCode code;
        int dx, dy;
    };
    static constexpr Arrow arrows[]
        = {{OneWayRight, 1, 0}, {OneWayUp, 0, -1}, {OneWayLeft, -1, 0}, {OneWayDown, 0, 1}};
    for (const Arrow &a : arrows) {
        if (a.code != c)
            continue;
        const int dx = m.xx * a.dx + m.xy * a.dy;
        const int dy = m.yx * a.dx + m.yy * a.dy;
        for (const Arrow &b : arrows) {
            if (b.dx == dx && b.dy == dy)
                return b.code;
        }
    }
    const bool swapsAxes = m.xx == 0;
    if (swapsAxes && c == HorizontalOnly)
        return VerticalOnly;
    if (swapsAxes && c == VerticalOnly)
        return HorizontalOnly;
    return c;
}

// Teleport groups renamed A, B, ... in board order.
LevelRecord RenameGroups(LevelRecord level)
{
    std::array<CellCode, 5> names {};
    CellCode nextName = TeleportHigh;
    for (CellCode &c : level.cells) {
        if (!IsTeleport(c))
            continue;
        CellCode &name = names[static_cast<std::size_t>(TeleportHigh - c)];
        if (name == 0)
            name = nextName--;
        c = name;
    }
    return level;
}

std::vector<std::uint8_t> Bytes(const LevelRecord &level)
{
    LevelTable table;
    table.Add(level);
    return EncodeLevelSet(table);
}

} // namespace

const char *SymmetryName(int s)
{
    static constexpr const char *names[] = {"identical", "turned a quarter clockwise",
        "turned half round", "turned a quarter anticlockwise", "mirrored left-right",
        "mirrored top-bottom", "mirrored on the diagonal", "mirrored on the other diagonal"};
    return names[s];
}

LevelRecord Transform(const LevelRecord &level, int s)
{
    const Map &m = Maps[static_cast<std::size_t>(s)];
    LevelRecord out;
    for (int col = 0; col < BoardSide; ++col) {
        for (int row = 0; row < BoardSide; ++row) {
            int c = 0;
            int r = 0;
            MapCell(m, col, row, c, r);
            out.cells[At(c, r)] = MapCode(m, level.cells[At(col, row)]);
        }
    }
    int c = 0;
    int r = 0;
    MapCell(m, level.startCol, level.startRow, c, r);
    out.startCol = static_cast<std::uint8_t>(c);
    out.startRow = static_cast<std::uint8_t>(r);
    return out;
}

LevelRecord CanonicalForm(const LevelRecord &level)
{
    LevelRecord best = RenameGroups(level);
    std::vector<std::uint8_t> bestBytes = Bytes(best);
    for (int s = 1; s < SymmetryCount; ++s) {
        LevelRecord candidate = RenameGroups(Transform(level, s));
        std::vector<std::uint8_t> bytes = Bytes(candidate);
        if (bytes < bestBytes) {
            best = candidate;
            bestBytes = std::move(bytes);
        }
    }
    return best;
}

std::vector<Duplicate> FindDuplicates(const std::vector<LevelRecord> &levels)
{
    std::vector<Duplicate> found;
    std::map<std::vector<std::uint8_t>, int> seen;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const auto [it, inserted] = seen.emplace(Bytes(CanonicalForm(levels[i])), number);
        if (inserted)
            continue;
        const LevelRecord earlier = RenameGroups(levels[static_cast<std::size_t>(it->second - 1)]);
        int symmetry = 0;
        for (int s = 0; s < SymmetryCount; ++s) {
            if (RenameGroups(Transform(earlier, s)) == RenameGroups(levels[i])) {
                symmetry = s;
                break;
            }
        }
        found.push_back({number, it->second, symmetry});
    }
    return found;
}
