// The text form of levels: one 8 x 8 grid per level, as the board looks on
// screen (row 0 at the top, column 0 at the left).
//
//   level 12            # the level's number, counted across all files
//     .   .   3   .   .   .   .   .
//     .  @2   >   .   .   .   .   .     @ marks the hero's start cell
//     ...                               eight rows of eight cells
//
// Cells: "." empty, 1..127 a tile bearing that many departures, "> ^ < v"
// one-way tiles, "-" horizontal only, "|" vertical only, "s" slide, "A".."E"
// the five teleport groups (codes -6 to -10), and any other code as a signed
// number (-13..-128). "#" starts a comment that runs to the end of the line.
#pragma once

#include "LevelSet.h"

#include <string>
#include <string_view>
#include <vector>

struct TextError
{
    std::string file;
    int line = 0; // from 1
    int column = 0; // from 1
    std::string message;

    // "file:line:column: message"
    std::string Format() const;
};

// Parses one file and appends its levels to `levels`; their numbers continue
// after the levels already there. On failure returns false with the place of
// the first fault; `levels` may then hold part of the file.
bool ParseLevelText(std::string_view text, const std::string &fileName,
    std::vector<LevelRecord> &levels, TextError &error);

// The token of one cell, without the start mark.
std::string CellToken(CellCode code);

// One level in text form; a non-empty note follows the header as a comment.
std::string LevelToText(const LevelRecord &level, int number, const std::string &note = {});

// A whole set; every line of `comment` is written as a comment on top.
std::string LevelSetToText(const std::vector<LevelRecord> &levels, const std::string &comment = {},
    const std::vector<std::string> &notes = {});
