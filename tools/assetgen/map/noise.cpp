// noise.cpp -- integer hashing and lattice value noise for the world's filling rules.
#include "map/noise.h"

#include <cmath>

std::uint32_t cellHash(int col, int row, std::uint32_t salt) {
    std::uint32_t h = static_cast<std::uint32_t>(col) * 0x8da6b343u;
    h ^= static_cast<std::uint32_t>(row) * 0xd8163841u;
    h ^= salt * 0xcb1ab31fu + 0x9e3779b9u;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

float unitHash(int col, int row, std::uint32_t salt) {
    return static_cast<float>(cellHash(col, row, salt) >> 8) * (1.0f / 16777216.0f);
}

namespace {
float smooth(float t) {
    return t * t * (3.0f - 2.0f * t);
}
float mix(float a, float b, float t) {
    return a + (b - a) * t;
}
} // namespace

float valueNoise(int col, int row, float scale, std::uint32_t salt) {
    const float x = static_cast<float>(col) / scale;
    const float y = static_cast<float>(row) / scale;
    const int gx = static_cast<int>(std::floor(x));
    const int gy = static_cast<int>(std::floor(y));
    const float tx = smooth(x - static_cast<float>(gx));
    const float ty = smooth(y - static_cast<float>(gy));
    const float top = mix(unitHash(gx, gy, salt), unitHash(gx + 1, gy, salt), tx);
    const float bottom = mix(unitHash(gx, gy + 1, salt), unitHash(gx + 1, gy + 1, salt), tx);
    return mix(top, bottom, ty);
}
