// mixer.h -- lays every note of a score on the piece's timeline, folds the tails of a looping
// piece back onto its start, adds the echo and brings the whole to a safe loudness.
#pragma once

#include "score.h"

#include <cstdint>
#include <vector>

// The loudest sample of a mixed piece: -1 dBFS, a little headroom below clipping.
constexpr double kPeakLevel = 0.891;

// Mono samples in -1..1, exactly as long as the piece (plus its tail when it does not loop).
std::vector<float> mixScore(const Score& score);
std::vector<std::int16_t> toPcm(const std::vector<float>& samples);
