// Reading and writing level sets in both forms, with messages that name the
// file and the place of any fault.
#pragma once

#include "LevelSet.h"

#include <string>
#include <vector>

// Whether a path names the binary form (it ends in ".dat", in any case).
bool IsBinaryPath(const std::string &path);

// Reads a level set in either form; false with a message on any fault. The
// binary form must consist of whole 66-byte records, 1 to 500 of them, each
// starting on the board: the tool refuses what the game would skip silently.
bool ReadLevels(const std::string &path, std::vector<LevelRecord> &levels, std::string &message);

// Reads and joins several text files, numbering their levels on.
bool ReadLevelTexts(
    const std::vector<std::string> &paths, std::vector<LevelRecord> &levels, std::string &message);

bool ReadFile(const std::string &path, std::string &content, std::string &message);
bool WriteFile(const std::string &path, const std::string &content, std::string &message);

// The binary form of up to 500 levels.
std::string EncodeLevels(const std::vector<LevelRecord> &levels);
