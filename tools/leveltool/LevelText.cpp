#include "LevelText.h"

#include <charconv>
#include <sstream>

std::string TextError::Format() const
{
    return file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
}

std::string CellToken(CellCode code)
{
    switch (code) {
    case Empty:
        return ".";
    case OneWayRight:
        return ">";
    case OneWayUp:
        return "^";
    case OneWayLeft:
        return "<";
    case OneWayDown:
        return "v";
    case Slide:
        return "s";
    case HorizontalOnly:
        return "-";
    case VerticalOnly:
        return "|";
    default:
        break;
    }
    if (IsTeleport(code))
        return std::string(1, static_cast<char>('A' + (TeleportHigh - code)));
    return std::to_string(code);
}

namespace {

bool ParseInt(std::string_view text, int &value)
{
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

// A cell token without its start mark; false with a message when it is none.
bool ParseCell(std::string_view token, CellCode &code, std::string &message)
{
    if (token.size() == 1) {
        switch (token[0]) {
        case '.':
            code = Empty;
            return true;
        case '>':
            code = OneWayRight;
            return true;
        case '^':
            code = OneWayUp;
            return true;
        case '<':
            code = OneWayLeft;
            return true;
        case 'v':
            code = OneWayDown;
            return true;
        case 's':
            code = Slide;
            return true;
        case '-':
            code = HorizontalOnly;
            return true;
        case '|':
            code = VerticalOnly;
            return true;
        default:
            break;
        }
        if (token[0] >= 'A' && token[0] <= 'E') {
            code = static_cast<CellCode>(TeleportHigh - (token[0] - 'A'));
            return true;
        }
    }
    int value = 0;
    if (!ParseInt(token, value)) {
        message = "unknown cell '" + std::string(token)
            + "' (expected . 1..127 > ^ < v - | s A..E or a code from -128 to 127)";
        return false;
    }
    if (value < -128 || value > 127) {
        message = "cell code " + std::string(token) + " out of range -128..127";
        return false;
    }
    code = static_cast<CellCode>(value);
    return true;
}

struct Token
{
    std::string_view text;
    int column = 0; // from 1
};

std::vector<Token> SplitLine(std::string_view line)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            ++i;
            continue;
        }
        if (line[i] == '#')
            break;
        std::size_t j = i;
        while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r'
            && line[j] != '#')
            ++j;
        tokens.push_back({line.substr(i, j - i), static_cast<int>(i) + 1});
        i = j;
    }
    return tokens;
}

class Parser
{
public:
    Parser(const std::string &file, std::vector<LevelRecord> &levels, TextError &error)
        : file_(file)
        , levels_(levels)
        , error_(error)
    { }

    bool Line(std::string_view line, int number);
    bool Finish(int lastLine);

private:
    bool Fail(int line, int column, std::string message)
    {
        error_ = {file_, line, column, std::move(message)};
        return false;
    }
    bool Header(const std::vector<Token> &tokens, int line);
    bool GridRow(const std::vector<Token> &tokens, int line, std::size_t lineLength);
    bool CloseLevel(int line, int column);

    const std::string &file_;
    std::vector<LevelRecord> &levels_;
    TextError &error_;

    bool inLevel_ = false;
    int rows_ = 0; // grid rows read of the open level
    int headerLine_ = 0;
    int starts_ = 0;
    LevelRecord record_;
};

bool Parser::Line(std::string_view line, int number)
{
    const std::vector<Token> tokens = SplitLine(line);
    if (tokens.empty())
        return true;
    if (tokens[0].text == "level")
        return Header(tokens, number);
    if (!inLevel_)
        return Fail(
            number, tokens[0].column, "grid row outside a level (expected 'level N' first)");
    return GridRow(tokens, number, line.size());
}

bool Parser::Header(const std::vector<Token> &tokens, int line)
{
    if (inLevel_ && !CloseLevel(line, tokens[0].column))
        return false;
    const int expected = static_cast<int>(levels_.size()) + 1;
    if (tokens.size() < 2)
        return Fail(line, tokens[0].column + 5, "missing level number after 'level'");
    if (tokens.size() > 2)
        return Fail(line, tokens[2].column, "unexpected text after the level number");
    int number = 0;
    if (!ParseInt(tokens[1].text, number))
        return Fail(line, tokens[1].column,
            "level number '" + std::string(tokens[1].text) + "' is not a number");
    if (number != expected)
        return Fail(line, tokens[1].column,
            "level " + std::to_string(number) + " out of order: expected level "
                + std::to_string(expected));
    if (expected > MaxLevels)
        return Fail(line, tokens[0].column,
            "too many levels: a level set holds at most " + std::to_string(MaxLevels));
    inLevel_ = true;
    rows_ = 0;
    starts_ = 0;
    headerLine_ = line;
    record_ = {};
    return true;
}

bool Parser::GridRow(const std::vector<Token> &tokens, int line, std::size_t lineLength)
{
    if (rows_ == BoardSide)
        return Fail(line, tokens[0].column,
            "a ninth grid row: level " + std::to_string(levels_.size() + 1) + " has 8 rows");
    const int row = rows_;
    for (std::size_t col = 0; col < tokens.size(); ++col) {
        if (col == BoardSide)
            return Fail(line, tokens[col].column, "a ninth cell: a grid row has 8 cells");
        std::string_view text = tokens[col].text;
        int column = tokens[col].column;
        if (text.front() == '@') {
            if (++starts_ > 1)
                return Fail(line, column, "a second start cell '@' in this level");
            record_.startCol = static_cast<std::uint8_t>(col);
            record_.startRow = static_cast<std::uint8_t>(row);
            text.remove_prefix(1);
            ++column;
            if (text.empty())
                return Fail(line, column, "'@' must stand right before the start cell's code");
        }
        std::string message;
        CellCode code = Empty;
        if (!ParseCell(text, code, message))
            return Fail(line, column, message);
        record_.cells[At(static_cast<int>(col), row)] = code;
    }
    if (tokens.size() < BoardSide)
        return Fail(line, static_cast<int>(lineLength) + 1,
            "only " + std::to_string(tokens.size()) + " cells: a grid row has 8 cells");
    ++rows_;
    return true;
}

bool Parser::CloseLevel(int line, int column)
{
    const std::string name = "level " + std::to_string(levels_.size() + 1);
    if (rows_ < BoardSide)
        return Fail(line, column,
            name + " has only " + std::to_string(rows_) + " grid rows (begun on line "
                + std::to_string(headerLine_) + "); a level has 8");
    if (starts_ == 0)
        return Fail(headerLine_, 1, name + " has no start cell: mark one cell with '@'");
    levels_.push_back(record_);
    inLevel_ = false;
    return true;
}

bool Parser::Finish(int lastLine)
{
    return !inLevel_ || CloseLevel(lastLine, 1);
}

} // namespace

bool ParseLevelText(std::string_view text, const std::string &fileName,
    std::vector<LevelRecord> &levels, TextError &error)
{
    Parser parser(fileName, levels, error);
    int number = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        if (!parser.Line(text.substr(pos, end - pos), ++number))
            return false;
        pos = end + 1;
    }
    return parser.Finish(number + 1);
}

std::string LevelToText(const LevelRecord &level, int number, const std::string &note)
{
    std::ostringstream out;
    out << "level " << number;
    if (!note.empty())
        out << "  # " << note;
    out << '\n';
    for (int row = 0; row < BoardSide; ++row) {
        std::string line;
        for (int col = 0; col < BoardSide; ++col) {
            std::string token = CellToken(level.cells[At(col, row)]);
            if (col == level.startCol && row == level.startRow)
                token = "@" + token;
            line += std::string(token.size() < 4 ? 4 - token.size() : 1, ' ') + token;
        }
        out << line << '\n';
    }
    return out.str();
}

std::string LevelSetToText(const std::vector<LevelRecord> &levels, const std::string &comment,
    const std::vector<std::string> &notes)
{
    std::string text;
    std::istringstream lines(comment);
    for (std::string line; std::getline(lines, line);)
        text += line.empty() ? "#\n" : "# " + line + "\n";
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (!text.empty())
            text += '\n';
        text += LevelToText(levels[i], static_cast<int>(i) + 1, i < notes.size() ? notes[i] : "");
    }
    return text;
}
