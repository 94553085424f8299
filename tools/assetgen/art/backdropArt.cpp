// backdropArt.cpp -- the battle backdrop: a banded sky with a low sun, far mesas, golden plains
// where the fighters stand (feet at y 135 of 270), and a quiet foreground under the menu.
#include "art/backdropArt.h"

#include "art/palette.h"
#include "art/sheetLayout.h"
#include "noise.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

using palette::mix;
using palette::shade;

constexpr int kWidth = static_cast<int>(sheet::kBackdropWidth);
constexpr int kHeight = static_cast<int>(sheet::kBackdropHeight);
constexpr int kHorizon = 104;

// Ordered 4 x 4 dithering: the threshold of a pixel for blending two bands.
float bayer(int x, int y) {
    static const std::array<int, 16> kMatrix = {0, 8,  2, 10, 12, 4, 14, 6,
                                                3, 11, 1, 9,  15, 7, 13, 5};
    return (static_cast<float>(kMatrix[static_cast<std::size_t>((y % 4) * 4 + x % 4)]) + 0.5f) /
           16.0f;
}

// A vertical gradient quantised into bands, dithered where the bands meet.
sf::Color banded(const std::array<sf::Color, 5>& bands, float t, int x, int y) {
    const float scaled = std::clamp(t, 0.0f, 1.0f) * static_cast<float>(bands.size() - 1);
    const int low = std::min(static_cast<int>(scaled), static_cast<int>(bands.size()) - 2);
    const float blend = scaled - static_cast<float>(low);
    return blend > bayer(x, y) ? bands[static_cast<std::size_t>(low + 1)]
                               : bands[static_cast<std::size_t>(low)];
}

sf::Color sky(int x, int y) {
    static const std::array<sf::Color, 5> kBands = {
        mix(palette::kSky, palette::kWaterDeep, 0.3f), mix(palette::kSky, palette::kWater, 0.2f),
        palette::kSky, mix(palette::kSky, palette::kSkyPale, 0.5f),
        mix(palette::kSkyPale, palette::kFlame, 0.15f)};
    return banded(kBands, static_cast<float>(y) / kHorizon, x, y);
}

// Flat-topped clouds drifting low, built from overlapping ellipses.
bool inCloud(int x, int y) {
    static const std::array<std::array<int, 4>, 6> kPuffs = {{
        {170, 38, 26, 7},
        {192, 33, 18, 8},
        {212, 39, 20, 5},
        {40, 62, 22, 5},
        {58, 58, 14, 6},
        {300, 66, 24, 4},
    }};
    return std::any_of(kPuffs.begin(), kPuffs.end(), [&](const std::array<int, 4>& p) {
        const float dx = static_cast<float>(x - p[0]) / static_cast<float>(p[2]);
        const float dy = static_cast<float>(y - p[1]) / static_cast<float>(p[3]);
        return dx * dx + dy * dy < 1.0f && y <= p[1] + p[3] / 2;
    });
}

// The top of a ridge at column x: plateaus with steep sides, from a seeded hash.
float ridge(int x, int base, int rise, int width, std::uint32_t seed) {
    const int slot = x / width;
    const float here = noise::unit(slot, 0, seed);
    const float next = noise::unit(slot + 1, 0, seed);
    const float t = static_cast<float>(x % width) / static_cast<float>(width);
    const float step = std::clamp((t - 0.8f) * 5.0f, 0.0f, 1.0f); // a cliff at the plateau's end
    const float height = here + (next - here) * step;
    return static_cast<float>(base) - height * height * static_cast<float>(rise);
}

sf::Color land(int x, int y) {
    static const std::array<sf::Color, 5> kBands = {
        mix(palette::kStraw, palette::kLeafPale, 0.35f), palette::kStraw,
        mix(palette::kStraw, palette::kOchre, 0.5f), palette::kOchre,
        mix(palette::kOchre, palette::kWood, 0.45f)};
    const float t = static_cast<float>(y - kHorizon) / static_cast<float>(kHeight - kHorizon);
    sf::Color c = banded(kBands, std::pow(t, 0.8f), x, y);
    // Grass strokes: thin, more and longer near the viewer, few where the menu sits.
    const float density = 0.08f * t;
    if (noise::unit(x, y / 2, 301) < density && noise::unit(x / 3, y / 4, 302) < 0.5f) {
        c = shade(c, 0.82f);
    }
    return c;
}

sf::Color backdropPixel(int x, int y) {
    const float far = ridge(x, 98, 30, 46, 311);
    const float near = ridge(x + 17, 106, 14, 30, 312);
    if (y >= kHorizon && static_cast<float>(y) >= near) {
        return land(x, y);
    }
    if (static_cast<float>(y) >= near) {
        return mix(palette::kOchre, palette::kRedDark, 0.35f); // the near hills
    }
    if (static_cast<float>(y) >= far) {
        const float t = (static_cast<float>(y) - far) / 30.0f;
        return mix(mix(palette::kSky, palette::kRed, 0.35f), palette::kOchre, t * 0.5f);
    }
    if (std::hypot(static_cast<float>(x - 232), static_cast<float>(y - 72)) < 15.0f) {
        return palette::kGlow;
    }
    return inCloud(x, y) ? mix(palette::kWhite, palette::kSkyPale, 0.3f) : sky(x, y);
}

} // namespace

sf::Image battleBackdrop() {
    sf::Image image;
    image.create(sheet::kBackdropWidth, sheet::kBackdropHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            image.setPixel(static_cast<unsigned>(x), static_cast<unsigned>(y), backdropPixel(x, y));
        }
    }
    return image;
}
