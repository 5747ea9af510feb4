// The level tool's commands, callable without a process for the tests.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Runs one command line (without the program name); the exit status.
int RunLevelTool(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
