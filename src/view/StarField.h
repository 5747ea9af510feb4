// The twinkling stars behind the board. They own no colour: each drawing
// gives a star a new grey, and only over grey pixels, never over a tile.
#pragma once

#include "Random.h"

#include <QRect>

#include <array>

class QImage;

constexpr int StarCount = 1000;

struct StarField
{
    // Stars are numbered from 1; element i - 1 belongs to star i.
    std::array<int, StarCount> StarX {};
    std::array<int, StarCount> StarY {};
    std::array<int, StarCount> StarBig {}; // 1 for a five-pixel cross

    // New places on multiples of 3 over the whole client area, drawn in the
    // order x, y, size for each star; about one star in ten is big.
    void ScatterStars(Random &random, int clientWidth, int clientHeight);

    // Draws star i in a random grey where its pixel is grey (black
    // included), and the arms of a big star where they match that pixel.
    // The grey is drawn from the generator also when nothing is painted.
    // Returns the pixels that may have changed.
    QRect DrawStar(QImage &image, int i, Random &random) const;
};
