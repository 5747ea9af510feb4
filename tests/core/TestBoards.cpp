#include "TestBoards.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

Board BoardFromRows(std::initializer_list<const char *> rows)
{
    if (rows.size() != 8)
        throw std::invalid_argument("a board has eight rows");
    Board board {};
    int row = 0;
    for (const char *line : rows) {
        std::istringstream tokens(line);
        std::string token;
        int col = 0;
        while (tokens >> token) {
            if (col == 8)
                throw std::invalid_argument(std::string("too many cells in row: ") + line);
            board[At(col, row)] = static_cast<CellCode>(token == "." ? 0 : std::stoi(token));
            ++col;
        }
        if (col != 8)
            throw std::invalid_argument(std::string("too few cells in row: ") + line);
        ++row;
    }
    return board;
}

LevelTable TableOf(int count, const Board &board, int startCol, int startRow)
{
    LevelTable table;
    for (int i = 0; i < count; ++i)
        table.Add(
            {board, static_cast<std::uint8_t>(startCol), static_cast<std::uint8_t>(startRow)});
    return table;
}

namespace {
std::string Join(std::initializer_list<int> values)
{
    std::string text;
    for (int v : values)
        text += " " + std::to_string(v);
    return text;
}
} // namespace

bool RecordingHost::Saw(const std::string &call) const
{
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

int RecordingHost::Count(const std::string &call) const
{
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

std::vector<std::string> RecordingHost::Only(std::initializer_list<const char *> prefixes) const
{
    std::vector<std::string> out;
    for (const std::string &call : calls) {
        for (const char *prefix : prefixes) {
            if (call.rfind(prefix, 0) == 0) {
                out.push_back(call);
                break;
            }
        }
    }
    return out;
}

void RecordingHost::DrawCell(int col, int row, bool visible)
{
    calls.push_back((visible ? "DrawCell" : "EraseCell") + Join({col, row}));
}
void RecordingHost::DrawCellsAfter(int col, int row)
{
    calls.push_back("DrawCellsAfter" + Join({col, row}));
}
void RecordingHost::DrawHero(int col, int row)
{
    calls.push_back("DrawHero" + Join({col, row}));
}
void RecordingHost::AnimateMove(int fromCol, int fromRow, int toCol, int toRow, bool teleport)
{
    calls.push_back(
        (teleport ? "AnimateTeleport" : "AnimateHop") + Join({fromCol, fromRow, toCol, toRow}));
}
void RecordingHost::AnimateTileFall(int col, int row)
{
    calls.push_back("AnimateTileFall" + Join({col, row}));
}
void RecordingHost::AnimateLayerDrop(int col, int row)
{
    calls.push_back("AnimateLayerDrop" + Join({col, row}));
}
void RecordingHost::AnimateHeroFall(int col, int row)
{
    calls.push_back("AnimateHeroFall" + Join({col, row}));
}
void RecordingHost::AnimateBothFall(int tileCol, int tileRow, int heroCol, int heroRow)
{
    calls.push_back("AnimateBothFall" + Join({tileCol, tileRow, heroCol, heroRow}));
}
void RecordingHost::LevelSweepOut()
{
    calls.push_back("LevelSweepOut");
}
void RecordingHost::LevelSweepIn()
{
    calls.push_back("LevelSweepIn");
}
void RecordingHost::PlayEffect(int n)
{
    calls.push_back("PlayEffect" + Join({n}));
}
ModalResult RecordingHost::ShowMsg(int id)
{
    calls.push_back("ShowMsg" + Join({id}));
    if (answers.empty())
        return MrNo;
    const ModalResult answer = answers.front();
    answers.pop_front();
    return answer;
}
bool RecordingHost::SaveCurrentGame()
{
    ++saves;
    calls.push_back("SaveCurrentGame");
    return saveLets;
}
void RecordingHost::LevelMarked()
{
    calls.push_back("LevelMarked");
}
void RecordingHost::ShowCaption(const std::string &text)
{
    caption = text;
}
void RecordingHost::ShowLevel(const LevelDisplay &display)
{
    level = display;
}
void RecordingHost::ShowGauge(const GaugeDisplay &display)
{
    gauge = display;
}
