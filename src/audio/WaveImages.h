// The five sound effects as complete WAVE files (RIFF, uncompressed PCM),
// built into the program. The data are written at build time by our sound
// synthesiser (tools/soundgen).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

using WaveImage = std::span<const std::uint8_t>;

// Items 0 to 4: step, jump, fall, level solved, teleport.
extern const std::array<WaveImage, 5> WaveImages;
