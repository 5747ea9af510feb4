// leveltool: compile, decompile, show, solve, verify and generate level sets.
#include "Commands.h"

#include <iostream>

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return RunLevelTool(args, std::cout, std::cerr);
    } catch (const std::exception &e) {
        std::cerr << "leveltool: " << e.what() << '\n';
        return 2;
    }
}
