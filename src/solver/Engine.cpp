#include "Engine.h"

#include <cassert>

Position StartPosition(const LevelRecord &record)
{
    return {record.cells, record.startCol, record.startRow};
}

const char *KeyName(Key key)
{
    static constexpr const char *names[]
        = {"Right", "Up", "Left", "Down", "Shift+Right", "Shift+Up", "Shift+Left", "Shift+Down"};
    for (std::size_t i = 0; i < AllKeys.size(); ++i) {
        if (AllKeys[i].dCol == key.dCol && AllKeys[i].dRow == key.dRow)
            return names[i];
    }
    return "?";
}

Engine::Engine()
    : game_(host_)
{
    // Finishing a level marks it solved; one entry keeps that mark in range.
    LevelTable table;
    table.Add(LevelRecord {});
    game_.InstallLevels(std::move(table), 1);
    game_.AllSolved = true;
}

Outcome Engine::Press(const Position &from, Key key, Position &to)
{
    assert(OnBoard(from.col, from.row));
    game_.board = from.board;
    game_.HeroCol = from.col;
    game_.HeroRow = from.row;
    game_.PlayState = PlayInPlay;
    game_.MoveSequence(key.dCol, key.dRow, /*fromKey*/ true);

    switch (game_.PlayState) {
    case PlaySolved:
        return Outcome::Solved;
    case PlayLost:
        return Outcome::Lost;
    default:
        break;
    }
    // Every valid move lowers or removes the tile left, so an unchanged board
    // means the direction was refused.
    if (game_.board == from.board)
        return Outcome::Refused;
    to.board = game_.board;
    to.col = game_.HeroCol;
    to.row = game_.HeroRow;
    return Outcome::Moved;
}
