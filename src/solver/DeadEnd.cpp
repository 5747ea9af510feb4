#include "DeadEnd.h"

#include <bit>

namespace {

using Bits = std::uint64_t; // bit col * 8 + row

constexpr Bits Row(int r)
{
    return 0x0101010101010101ULL << r;
}

// The cells reached from `from` by a step or a jump in direction d
// (Right, Up, Left, Down).
inline Bits Targets(int d, Bits from)
{
    switch (d) {
    case 0:
        return (from << 8) | (from << 16);
    case 1:
        return ((from & ~Row(0)) >> 1) | ((from & ~(Row(0) | Row(1))) >> 2);
    case 2:
        return (from >> 8) | (from >> 16);
    default:
        return ((from & ~Row(7)) << 1) | ((from & ~(Row(6) | Row(7))) << 2);
    }
}

// The cells from which a step or a jump in direction d lands in `to`.
inline Bits Sources(int d, Bits to)
{
    switch (d) {
    case 0:
        return (to >> 8) | (to >> 16);
    case 1:
        return ((to << 1) & ~Row(0)) | ((to << 2) & ~(Row(0) | Row(1)));
    case 2:
        return (to << 8) | (to << 16);
    default:
        return ((to >> 1) & ~Row(7)) | ((to >> 2) & ~(Row(6) | Row(7)));
    }
}

} // namespace

DeadEndTest::DeadEndTest()
{
    for (int code = -128; code <= 127; ++code) {
        std::uint8_t mask = 0;
        for (int d = 0; d < 4; ++d) {
            if (MayLeave(static_cast<CellCode>(code), AllKeys[d].dCol, AllKeys[d].dRow))
                mask |= static_cast<std::uint8_t>(1 << d);
        }
        leave_[static_cast<std::uint8_t>(code)] = mask;
    }
}

bool DeadEndTest::CannotFinish(const Position &p, bool thorough) const
{
    Bits present = 0;
    Bits restricted = 0; // tiles with a direction rule
    Bits teleports = 0;
    std::array<Bits, 4> leaves {}; // tiles that may be left in direction d
    std::array<Bits, 5> groups {}; // teleport tiles by group
    int landings = 0;
    for (int i = 0; i < 64; ++i) {
        const CellCode c = p.board[static_cast<std::size_t>(i)];
        if (c == Empty)
            continue;
        const Bits bit = Bits {1} << i;
        present |= bit;
        landings += Landings(c);
        if (c > 0)
            continue;
        if (leave_[static_cast<std::uint8_t>(c)] != 0xF)
            restricted |= bit;
        if (IsTeleport(c)) {
            groups[static_cast<std::size_t>(TeleportHigh - c)] |= bit;
            teleports |= bit;
        }
    }
    if (landings <= 1)
        return false;
    for (int d = 0; d < 4; ++d)
        leaves[d] = present & ~restricted;
    for (Bits rest = restricted; rest != 0; rest &= rest - 1) {
        const int i = std::countr_zero(rest);
        const std::uint8_t mask
            = leave_[static_cast<std::uint8_t>(p.board[static_cast<std::size_t>(i)])];
        for (int d = 0; d < 4; ++d) {
            if (mask & (1 << d))
                leaves[d] |= Bits {1} << i;
        }
    }
    // A level may start Pip on an empty cell; he can leave it every way.
    const Bits hero = Bits {1} << At(p.col, p.row);
    const bool onTile = (present & hero) != 0;
    if (!onTile) {
        for (Bits &l : leaves)
            l |= hero;
    }
    // A teleport group helps only while two of its tiles are left.
    if (teleports != 0) {
        teleports = 0;
        for (Bits &g : groups) {
            if ((g & (g - 1)) == 0)
                g = 0;
            teleports |= g;
        }
    }

    // Every tile but the last must be left at least once, so at most one tile
    // may lack a way out, and that one must bear a single landing.
    Bits exits = teleports;
    for (int d = 0; d < 4; ++d)
        exits |= leaves[d] & Sources(d, present);
    const Bits stuck = present & ~exits;
    if ((stuck & (stuck - 1)) != 0 || (stuck & hero) != 0)
        return true;
    if (stuck != 0 && Landings(p.board[static_cast<std::size_t>(std::countr_zero(stuck))]) > 1)
        return true;

    // Every tile must still be reachable from the hero's cell.
    Bits reach = hero;
    for (Bits before = 0; before != reach;) {
        before = reach;
        for (int d = 0; d < 4; ++d)
            reach |= Targets(d, reach & leaves[d]) & present;
        if (teleports & reach) {
            for (Bits g : groups) {
                if (reach & g)
                    reach |= g;
            }
        }
    }
    if ((present & ~reach) != 0)
        return true;
    if (!thorough)
        return false;

    // Landings must match up: a tile bearing c landings is arrived at c more
    // times (the hero's own tile c - 1 times), and every arrival is a
    // departure from a tile that can reach it; likewise every tile but the
    // last leaves all its landings towards tiles that can still take them.
    std::array<int, 64> landingsOf {};
    for (int i = 0; i < 64; ++i)
        landingsOf[static_cast<std::size_t>(i)] = Landings(p.board[static_cast<std::size_t>(i)]);
    if (!onTile)
        landingsOf[static_cast<std::size_t>(At(p.col, p.row))] = 1; // the one departure from it
    std::array<int, 64> need = landingsOf; // arrivals still to come
    need[static_cast<std::size_t>(At(p.col, p.row))] -= 1;
    for (Bits rest = present; rest != 0; rest &= rest - 1) {
        const int x = std::countr_zero(rest);
        const Bits bit = Bits {1} << x;
        int in = 0; // departures of other tiles that could land on x
        int out = 0; // arrivals other tiles could take from x
        for (int d = 0; d < 4; ++d) {
            for (Bits from = Sources(d, bit) & leaves[d]; from != 0; from &= from - 1)
                in += landingsOf[static_cast<std::size_t>(std::countr_zero(from))];
            if (leaves[d] & bit) {
                for (Bits to = Targets(d, bit) & present; to != 0; to &= to - 1)
                    out += need[static_cast<std::size_t>(std::countr_zero(to))];
            }
        }
        for (Bits g : groups) {
            if (g & bit) {
                in += std::popcount(g) - 1;
                out += std::popcount(g) - 1;
            }
        }
        const int landings = landingsOf[static_cast<std::size_t>(x)];
        // The last tile keeps one landing; any other leaves all of them.
        if (need[static_cast<std::size_t>(x)] > in || landings - 1 > out)
            return true;
    }
    return false;
}
