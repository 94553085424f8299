// noise.h -- deterministic noise from a hash of a position, for the art (pixels) and the world's
// filling rules (cells): the same numbers on every run. The texture kinds are periodic, so that a
// ground cell tiles with itself without a seam.
#pragma once

#include <cstdint>

namespace noise {
// A well-mixed 32-bit hash of a position and a seed.
std::uint32_t hash(int x, int y, std::uint32_t seed);
// hash() mapped to [0, 1).
float unit(int x, int y, std::uint32_t seed);
// Smooth value noise in [0, 1) on a lattice of `spacing` pixels, repeating every `period`
// pixels in x and in y (period must be a multiple of spacing).
float smooth(float x, float y, int spacing, int period, std::uint32_t seed);
// Three octaves of smooth() (spacings spacing, spacing/2, spacing/4), in [0, 1).
float layered(float x, float y, int spacing, int period, std::uint32_t seed);

// The nearest and second-nearest feature points of a periodic Voronoi pattern with one point
// per `spacing` square: distances and the id of the nearest cell.
struct Voronoi {
    float nearest = 0;
    float second = 0;
    std::uint32_t cellId = 0;
    float towardX = 0; // from the nearest point to the sample
    float towardY = 0;
};
Voronoi voronoi(float x, float y, int spacing, int period, std::uint32_t seed);

// Smooth value noise in [0, 1) that does not repeat: hash values on a lattice `scale` units
// apart, blended between.
float valueNoise(int x, int y, float scale, std::uint32_t seed);
} // namespace noise
