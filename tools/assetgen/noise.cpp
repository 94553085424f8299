// noise.cpp -- hash, value noise and Voronoi cells.
#include "noise.h"

#include <cmath>

namespace noise {
namespace {

int wrap(int value, int period) {
    const int r = value % period;
    return r < 0 ? r + period : r;
}

float smoothStep(float t) {
    return t * t * (3.0f - 2.0f * t);
}

float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

} // namespace

std::uint32_t hash(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8da6b343u;
    h ^= static_cast<std::uint32_t>(y) * 0xd8163841u;
    h ^= seed * 0xcb1ab31fu + 0x9e3779b9u;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

float unit(int x, int y, std::uint32_t seed) {
    return static_cast<float>(hash(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

float smooth(float x, float y, int spacing, int period, std::uint32_t seed) {
    const int cells = period / spacing;
    const float gx = x / static_cast<float>(spacing);
    const float gy = y / static_cast<float>(spacing);
    const int x0 = static_cast<int>(std::floor(gx));
    const int y0 = static_cast<int>(std::floor(gy));
    const float tx = smoothStep(gx - static_cast<float>(x0));
    const float ty = smoothStep(gy - static_cast<float>(y0));
    const auto corner = [&](int dx, int dy) {
        return unit(wrap(x0 + dx, cells), wrap(y0 + dy, cells), seed);
    };
    return lerp(lerp(corner(0, 0), corner(1, 0), tx), lerp(corner(0, 1), corner(1, 1), tx), ty);
}

float layered(float x, float y, int spacing, int period, std::uint32_t seed) {
    float sum = 0;
    float weight = 1;
    float total = 0;
    for (int octave = 0; octave < 3 && spacing >= 1; ++octave) {
        sum += weight * smooth(x, y, spacing, period, seed + static_cast<std::uint32_t>(octave));
        total += weight;
        weight *= 0.5f;
        spacing /= 2;
    }
    return sum / total;
}

Voronoi voronoi(float x, float y, int spacing, int period, std::uint32_t seed) {
    const int cells = period / spacing;
    const int cx = static_cast<int>(std::floor(x / static_cast<float>(spacing)));
    const int cy = static_cast<int>(std::floor(y / static_cast<float>(spacing)));
    Voronoi result{1e9f, 1e9f, 0, 0, 0};
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int wx = wrap(cx + dx, cells);
            const int wy = wrap(cy + dy, cells);
            const float px = (static_cast<float>(cx + dx) + 0.15f + 0.7f * unit(wx, wy, seed)) *
                             static_cast<float>(spacing);
            const float py = (static_cast<float>(cy + dy) + 0.15f + 0.7f * unit(wx, wy, seed + 7)) *
                             static_cast<float>(spacing);
            const float d = std::hypot(px - x, py - y);
            if (d < result.nearest) {
                result.second = result.nearest;
                result.nearest = d;
                result.cellId = hash(wx, wy, seed + 13);
                result.towardX = x - px;
                result.towardY = y - py;
            } else if (d < result.second) {
                result.second = d;
            }
        }
    }
    return result;
}

float valueNoise(int x, int y, float scale, std::uint32_t seed) {
    const float gx = static_cast<float>(x) / scale;
    const float gy = static_cast<float>(y) / scale;
    const int x0 = static_cast<int>(std::floor(gx));
    const int y0 = static_cast<int>(std::floor(gy));
    const float tx = smoothStep(gx - static_cast<float>(x0));
    const float ty = smoothStep(gy - static_cast<float>(y0));
    const float top = lerp(unit(x0, y0, seed), unit(x0 + 1, y0, seed), tx);
    const float bottom = lerp(unit(x0, y0 + 1, seed), unit(x0 + 1, y0 + 1, seed), tx);
    return lerp(top, bottom, ty);
}

} // namespace noise
