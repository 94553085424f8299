// noise.h -- deterministic hash noise: the same cell and salt always give the same value, so the
// generated world is identical on every build.
#pragma once

#include <cstdint>

std::uint32_t cellHash(int col, int row, std::uint32_t salt);

// A value in [0, 1) from the cell's hash.
float unitHash(int col, int row, std::uint32_t salt);

// Smooth value noise in [0, 1): hash values on a lattice `scale` cells apart, blended between.
float valueNoise(int col, int row, float scale, std::uint32_t salt);
