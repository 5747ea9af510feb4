// Writes a Standard MIDI File from a tune in our notation (see Tune.h).
//
//   tumblewick_midigen TUNE_FILE MIDI_FILE

#include "Tune.h"

#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: tumblewick_midigen TUNE_FILE MIDI_FILE\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << argv[1] << ": cannot read\n";
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    TuneError error;
    const auto bytes = CompileTune(text.str(), error);
    if (bytes.empty()) {
        std::cerr << argv[1] << ":" << error.line << ": " << error.message << "\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << argv[2] << ": cannot write\n";
        return 1;
    }
    return 0;
}
