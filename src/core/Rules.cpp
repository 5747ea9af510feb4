// How the hero moves: steps, jumps, the tiles he leaves, slides and teleports.
#include "Game.h"

#include <cassert>
#include <cstdlib>

std::optional<Cell> ClickTarget(int x, int y, int cellW, int cellH)
{
    if (cellW <= 0 || cellH <= 0)
        return std::nullopt;
    // Truncates toward zero, also below zero: a click just left of the board
    // gives -1 / 2 == 0. Do not use floor division here.
    const int row = y / cellH - 1;
    const int col = (x / cellW - 8 + row) / 2;
    return Cell {col, row};
}

void Game::MoveHero(int dCol, int dRow)
{
    assert(OnBoard(HeroCol, HeroRow));

    // The last landing: the next command finishes the level, whatever its direction.
    if (LandingTotal(board) == 1) {
        host_.DrawCell(HeroCol, HeroRow, false);
        host_.AnimateTileFall(HeroCol, HeroRow);
        board[At(HeroCol, HeroRow)] = Empty;
        LevelSolved();
        return;
    }

    // A refused direction changes nothing but the sound.
    if (!MayLeave(board[At(HeroCol, HeroRow)], dCol, dRow)) {
        host_.PlayEffect(EffectStep);
        return;
    }

    // Only the target counts; a jump passes over whatever its middle cell holds.
    const int toCol = HeroCol + dCol;
    const int toRow = HeroRow + dRow;
    const bool valid = OnBoard(toCol, toRow) && board[At(toCol, toRow)] != Empty;

    const bool jump = std::abs(dCol) == 2 || std::abs(dRow) == 2;
    host_.PlayEffect(jump ? EffectJump : EffectStep);

    const int oldCol = HeroCol;
    const int oldRow = HeroRow;
    HeroCol = toCol;
    HeroRow = toRow;
    CellCode &old = board[At(oldCol, oldRow)];

    if (old > 1) {
        // A stack loses its top slab, also on a move that falls.
        host_.DrawCell(oldCol, oldRow, false);
        --old;
        host_.DrawCell(oldCol, oldRow, true);
        host_.DrawCellsAfter(oldCol, oldRow);
        if (AnimationOn)
            host_.AnimateMove(oldCol, oldRow, HeroCol, HeroRow, false);
        host_.DrawHero(HeroCol, HeroRow);
        host_.AnimateLayerDrop(oldCol, oldRow);
    } else {
        host_.DrawCell(oldCol, oldRow, true);
        if (AnimationOn)
            host_.AnimateMove(oldCol, oldRow, HeroCol, HeroRow, false);
        host_.DrawHero(HeroCol, HeroRow);
        // A tile of one or a special tile falls away only under a valid move.
        if (valid) {
            host_.AnimateTileFall(oldCol, oldRow);
            old = Empty;
        }
    }
    if (valid)
        return;

    PlayState = PlayLost;
    host_.PlayEffect(EffectFall);
    if (old > 0)
        host_.AnimateHeroFall(HeroCol, HeroRow);
    else
        host_.AnimateBothFall(oldCol, oldRow, HeroCol, HeroRow);
    if (host_.ShowMsg(MsgRepeatLevel) == MrYes)
        LoadLevel(CurrentLevel);
}

void Game::MoveSequence(int dCol, int dRow, bool fromKey)
{
    // A slide carries the hero on with the same vector; a slide entered by a
    // jump goes on with jumps.
    do {
        MoveHero(dCol, dRow);
    } while (PlayState == PlayInPlay && board[At(HeroCol, HeroRow)] == Slide);
    Teleport(fromKey);
}

void Game::Teleport(bool fromKey)
{
    // Only a move in play teleports. Once the level is lost, solved or
    // reloaded the hero stands on a level's start, which must stay as it is
    // even when that start is a teleport tile.
    if (PlayState != PlayInPlay || !OnBoard(HeroCol, HeroRow))
        return;
    const CellCode code = board[At(HeroCol, HeroRow)];
    if (!IsTeleport(code))
        return;

    // The partner is the last other tile of the same group in board order.
    int partner = -1;
    for (int i = 0; i < 64; ++i) {
        if (i != At(HeroCol, HeroRow) && board[static_cast<std::size_t>(i)] == code)
            partner = i;
    }
    if (partner < 0)
        return;

    const int fromCol = HeroCol;
    const int fromRow = HeroRow;
    host_.DrawCell(fromCol, fromRow, true);
    // The key always shows the teleport (and its sound); a click only with
    // animations on.
    if (fromKey || AnimationOn)
        host_.AnimateMove(fromCol, fromRow, partner / BoardSide, partner % BoardSide, true);
    HeroCol = partner / BoardSide;
    HeroRow = partner % BoardSide;
    host_.AnimateTileFall(fromCol, fromRow);
    board[At(fromCol, fromRow)] = Empty;
}

void Game::FormKeyDown(int key, bool shift)
{
    if (PlayState == PlaySolved || PlayState == PlayLost)
        return;
    // Every key counts as touching the level, also one that moves nothing.
    PlayState = PlayInPlay;

    int dCol = 0;
    int dRow = 0;
    switch (key) {
    case VkLeft:
        dCol = -1;
        break;
    case VkUp:
        dRow = -1;
        break;
    case VkRight:
        dCol = 1;
        break;
    case VkDown:
        dRow = 1;
        break;
    default:
        return;
    }
    if (shift) {
        dCol *= 2;
        dRow *= 2;
    }
    MoveSequence(dCol, dRow, true);
}

void Game::boxMouseDown(int x, int y, int cellW, int cellH)
{
    if (PlayState == PlaySolved || PlayState == PlayLost)
        return;
    PlayState = PlayInPlay;

    // A click anywhere finishes a level whose last tile bears its last
    // landing. When the last tile still bears more than one, the level can
    // no longer be solved, and a click does nothing.
    if (CountTiles(board) == 1) {
        if (LandingTotal(board) == 1)
            MoveHero(0, 0);
        return;
    }

    const std::optional<Cell> target = ClickTarget(x, y, cellW, cellH);
    if (!target)
        return; // no metrics before the first layout
    const int dCol = target->col - HeroCol;
    const int dRow = target->row - HeroRow;
    if (std::abs(dCol) > 2 || std::abs(dRow) > 2)
        return;
    if ((dCol != 0) == (dRow != 0))
        return; // diagonal, or the hero's own cell
    MoveSequence(dCol, dRow, false);
}

bool Game::CanReach(int col, int row) const
{
    if (PlayState > PlayInPlay || !OnBoard(HeroCol, HeroRow) || !OnBoard(col, row))
        return false;
    const int dCol = col - HeroCol;
    const int dRow = row - HeroRow;
    if (std::abs(dCol) > 2 || std::abs(dRow) > 2 || (dCol != 0) == (dRow != 0))
        return false;
    return LandingTotal(board) != 1 && board[At(col, row)] != Empty
        && MayLeave(board[At(HeroCol, HeroRow)], dCol, dRow);
}
