// Converts WAVE files into the format the sound output asks the card for,
// with the output's own conversion, and writes them as a C++ source that
// defines ReadyEffectImages (ReadyEffects.h).
//   tumblewick_effectprep SOURCE_FILE WAVE...   (five WAVE files, in order)
#include "AudioDevice.h"
#include "ReadyEffects.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool ReadFile(const char *path, std::vector<std::uint8_t> &bytes)
{
    std::ifstream file(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return file.good() || file.eof();
}

} // namespace

int main(int argc, char *argv[])
{
    constexpr int Sounds = int(std::tuple_size_v<decltype(ReadyEffects::sounds)>);
    if (argc != 2 + Sounds) {
        std::cerr << "usage: tumblewick_effectprep SOURCE_FILE WAVE...  (" << Sounds
                  << " WAVE files)\n";
        return 2;
    }
    const AudioDevice::Format format = AudioDevice::WantedFormat();
    std::ostringstream out;
    out << "// Written by tumblewick_effectprep at build time.\n"
        << "#include \"ReadyEffects.h\"\n\nnamespace {\n";
    for (int k = 0; k < Sounds; ++k) {
        std::vector<std::uint8_t> wave;
        if (!ReadFile(argv[2 + k], wave)) {
            std::cerr << "tumblewick_effectprep: cannot read " << argv[2 + k] << "\n";
            return 1;
        }
        const std::vector<std::uint8_t> sound
            = AudioDevice::ConvertEffect(wave.data(), wave.size(), format);
        if (sound.empty()) {
            std::cerr << "tumblewick_effectprep: cannot convert " << argv[2 + k]
                      << " (is SDL2 installed?)\n";
            return 1;
        }
        // The samples are read as 16-bit words where they lie.
        out << "\nalignas(4) const std::uint8_t Sound" << k << "[" << sound.size() << "] = {";
        for (std::size_t i = 0; i < sound.size(); ++i) {
            out << (i % 24 == 0 ? "\n    " : " ") << unsigned(sound[i]) << ",";
        }
        out << "\n};\n";
    }
    out << "\n} // namespace\n\nconst ReadyEffects ReadyEffectImages = {" << format.rate << ", "
        << format.channels << ", {{";
    for (int k = 0; k < Sounds; ++k) {
        out << (k ? ", " : "") << "Sound" << k;
    }
    out << "}}};\n";
    std::ofstream file(argv[1], std::ios::binary);
    file << out.str();
    if (!file.flush()) {
        std::cerr << "tumblewick_effectprep: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
