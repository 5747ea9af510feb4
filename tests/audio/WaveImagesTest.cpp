// The five sound effects built into the program.
#include "WaveImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

std::uint32_t Little(WaveImage image, std::size_t at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | image[at + std::size_t(i)];
    }
    return value;
}

// Samples scaled to -1..1.
std::vector<double> Samples(WaveImage image)
{
    const int bits = int(Little(image, 34, 2));
    const auto data = image.subspan(44);
    std::vector<double> samples;
    if (bits == 8) {
        for (std::uint8_t b : data) {
            samples.push_back((int(b) - 128) / 128.0);
        }
    } else {
        for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
            samples.push_back(std::int16_t(data[i] | (data[i + 1] << 8)) / 32768.0);
        }
    }
    return samples;
}

} // namespace

TEST(WaveImages, FormatsAndLengthsOfTheFiveSounds)
{
    struct Case
    {
        int rate, bits;
        std::uint32_t dataBytes;
    };
    const Case cases[] = {{22050, 8, 5960}, {22050, 8, 12104}, {22050, 8, 44872}, {22050, 8, 69744},
        {44100, 16, 55040}};
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const WaveImage image = WaveImages[i];
        ASSERT_EQ(image.size(), 44 + cases[i].dataBytes);
        EXPECT_TRUE(std::equal(image.begin(), image.begin() + 4, "RIFF"));
        EXPECT_EQ(Little(image, 4, 4), image.size() - 8);
        EXPECT_TRUE(std::equal(image.begin() + 8, image.begin() + 16, "WAVEfmt "));
        EXPECT_EQ(Little(image, 20, 2), 1u); // PCM
        EXPECT_EQ(Little(image, 22, 2), 1u); // mono
        EXPECT_EQ(Little(image, 24, 4), std::uint32_t(cases[i].rate));
        EXPECT_EQ(Little(image, 34, 2), std::uint32_t(cases[i].bits));
        EXPECT_TRUE(std::equal(image.begin() + 36, image.begin() + 40, "data"));
        EXPECT_EQ(Little(image, 40, 4), cases[i].dataBytes);
    }
}

TEST(WaveImages, SoundsStartAndEndInSilenceWithoutClicksOrClipping)
{
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const auto s = Samples(WaveImages[i]);
        const int rate = int(Little(WaveImages[i], 24, 4));
        EXPECT_EQ(s.front(), 0.0);
        EXPECT_EQ(s.back(), 0.0);
        double peak = 0, steepest = 0;
        for (std::size_t k = 0; k < s.size(); ++k) {
            peak = std::max(peak, std::abs(s[k]));
            if (k > 0) {
                steepest = std::max(steepest, std::abs(s[k] - s[k - 1]));
            }
        }
        // Loud enough to hear, well below full scale.
        EXPECT_GT(peak, 0.25);
        EXPECT_LT(peak, 0.75);
        // A click is a leap from one sample to the next; a smooth tone of a
        // few kilohertz moves far less.
        EXPECT_LT(steepest, 0.5);
        // The first and last two milliseconds rise from and fall to silence.
        const std::size_t edge = std::size_t(rate / 500);
        for (std::size_t k = 0; k < edge; ++k) {
            EXPECT_LT(std::abs(s[k]), 0.1 + peak * double(k) / double(edge)) << k;
            EXPECT_LT(std::abs(s[s.size() - 1 - k]), 0.1) << k;
        }
    }
}

TEST(WaveImages, NoSoundIsMuchLouderThanTheOthers)
{
    // The RMS level over the whole sound, in dB below full scale. A held
    // tone of the same peak as a struck one is far louder, so the peak
    // alone says little. The step, a short tap, may be softer than the rest.
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const auto s = Samples(WaveImages[i]);
        double energy = 0;
        for (double v : s) {
            energy += v * v;
        }
        const double level = 10 * std::log10(energy / double(s.size()));
        EXPECT_GT(level, -24.0);
        EXPECT_LT(level, -15.0);
    }
}

TEST(WaveImages, TheFiveSoundsDiffer)
{
    for (std::size_t i = 0; i < 5; ++i) {
        for (std::size_t j = i + 1; j < 5; ++j) {
            EXPECT_FALSE(std::equal(WaveImages[i].begin(), WaveImages[i].end(),
                WaveImages[j].begin(), WaveImages[j].end()))
                << i << " " << j;
        }
    }
}
