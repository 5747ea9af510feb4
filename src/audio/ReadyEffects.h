// The five sound effects made ready for an output that runs at `rate` with
// `channels` channels: converted from the WAVE images when the program was
// built (tools/effectprep), with the output's own conversion, so that a start
// on such an output converts nothing and the sounds stay where they lie in
// the program until they are played.
#pragma once

#include <array>
#include <cstdint>
#include <span>

struct ReadyEffects
{
    int rate;
    int channels;
    // Signed 16-bit samples, interleaved; items 0 to 4 as the WAVE images.
    std::array<std::span<const std::uint8_t>, 5> sounds;
};

extern const ReadyEffects ReadyEffectImages;
