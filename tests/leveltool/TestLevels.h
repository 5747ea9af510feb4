// Helpers for the level tool's tests: levels written in the text form, and
// small random levels.
#pragma once

#include "Engine.h"
#include "Random.h"

#include <string>

// One level from eight grid rows in the text form (without the header).
LevelRecord Level(const std::string &rows);

// A small random level: a walk (solvable), a walk with one tile changed
// (often not), or a few random tiles in a corner of the board (mostly not).
LevelRecord SmallRandomLevel(Random &random);
