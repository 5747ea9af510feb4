// The eight symmetries of the square, applied to whole levels: one-way tiles
// turn along, horizontal and vertical tiles swap under a quarter turn.
#pragma once

#include "LevelSet.h"

#include <string>
#include <vector>

constexpr int SymmetryCount = 8;

// 0 is the identity; then quarter turns, mirrors and the two diagonals.
const char *SymmetryName(int s);

LevelRecord Transform(const LevelRecord &level, int s);

// The same level for every symmetry and every naming of the teleport groups
// (groups only pair tiles; which letter they carry does not matter).
LevelRecord CanonicalForm(const LevelRecord &level);

struct Duplicate
{
    int level = 0; // numbered from 1
    int sameAs = 0; // an earlier level
    int symmetry = 0; // level == Transform(sameAs, symmetry), up to group names
};

// Every level that repeats an earlier one.
std::vector<Duplicate> FindDuplicates(const std::vector<LevelRecord> &levels);
