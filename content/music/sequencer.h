// Plays the score: walks the order list phrase by phrase, starts and releases notes on the
// row grid and renders every voice through the mixer into one stereo float track.
#pragma once

#include <vector>

#include "score.h"

// Renders score->lengthSeconds of music at `rate`; prints one progress line per phrase.
void RenderScore(const Score* score, int rate, std::vector<float>* left, std::vector<float>* right);
