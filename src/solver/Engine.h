// One key press on a position, played by the game's own rules.
#pragma once

#include "Game.h"
#include "SilentHost.h"

#include <array>
#include <cstdint>

// The board and the hero's cell: everything a key press depends on once a
// level is in play.
struct Position
{
    Board board {};
    int col = 0;
    int row = 0;

    bool operator==(const Position &) const = default;
};

Position StartPosition(const LevelRecord &record);

enum class Outcome : std::uint8_t {
    Refused, // the hero's tile does not allow that direction: nothing changed
    Lost,
    Moved, // still in play, in the new position
    Solved, // the key press finished the level
};

// A key press: an arrow, doubled with Shift.
struct Key
{
    int dCol = 0;
    int dRow = 0;
};

// Steps first, then jumps, each in the order Right, Up, Left, Down.
constexpr std::array<Key, 8> AllKeys {Key {1, 0}, Key {0, -1}, Key {-1, 0}, Key {0, 1}, Key {2, 0},
    Key {0, -2}, Key {-2, 0}, Key {0, 2}};

// "Right", "Shift+Up", ...
const char *KeyName(Key key);

// Plays key presses through the game's move sequence, as the key handler does
// while a level is in play.
class Engine
{
public:
    Engine();
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    // The outcome of one key press in `from`; for Moved, `to` is the new
    // position. The hero must stand on the board.
    Outcome Press(const Position &from, Key key, Position &to);

private:
    SilentHost host_;
    Game game_;
};
