// ravineArt.cpp -- every ravine piece comes from one depth function: how far a texel lies past
// the rim into the chasm. Pieces that meet use the same function near their shared border, so
// the rims, cliff walls and darkness continue from cell to cell.
#include "art/ravineArt.h"

#include "art/groundArt.h"
#include "art/palette.h"
#include "assetIds.h"
#include "noise.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

using palette::mix;
using palette::shade;

constexpr float kSize = static_cast<float>(kGroundTexels);
constexpr float kRim = static_cast<float>(kRavineRim);
constexpr float kRound = 9.0f;      // radius rounding the corners of the rim
constexpr float kDeep = 1000.0f;    // depth of a texel far from any rim
constexpr float kFadeTexels = 9.0f; // from the foot of a cliff wall to darkness

// Which sides of the cell are solid ground; `inner` pieces have ground only in the corner
// between their two sides.
struct RavineShape {
    bool north = false;
    bool south = false;
    bool west = false;
    bool east = false;
    bool inner = false;
    bool rocks = false;
};

const std::map<int, RavineShape>& shapes() {
    static const std::map<int, RavineShape> kShapes = {
        {ground::kRavineDeep, {}},
        {ground::kRavineEdgeN, {true, false, false, false}},
        {ground::kRavineEdgeS, {false, true, false, false}},
        {ground::kRavineEdgeW, {false, false, true, false}},
        {ground::kRavineEdgeE, {false, false, false, true}},
        {ground::kRavineCornerNW, {true, false, true, false}},
        {ground::kRavineCornerNE, {true, false, false, true}},
        {ground::kRavineCornerSW, {false, true, true, false}},
        {ground::kRavineCornerSE, {false, true, false, true}},
        {ground::kRavineInnerNW, {true, false, true, false, true}},
        {ground::kRavineInnerNE, {true, false, false, true, true}},
        {ground::kRavineInnerSW, {false, true, true, false, true}},
        {ground::kRavineInnerSE, {false, true, false, true, true}},
        {ground::kRavineRocks, {false, false, false, false, false, true}},
    };
    return kShapes;
}

// Distance past the rim of the vertical and the horizontal solid side (kDeep when none).
float verticalDepth(const RavineShape& s, float py) {
    return s.north ? py - kRim : s.south ? kSize - py - kRim : kDeep;
}
float horizontalDepth(const RavineShape& s, float px) {
    return s.west ? px - kRim : s.east ? kSize - px - kRim : kDeep;
}

// Depth into the chasm at a point of the cell; negative on solid ground.
float depthAt(const RavineShape& s, float px, float py) {
    const float dy = verticalDepth(s, py);
    const float dx = horizontalDepth(s, px);
    if (s.inner) {
        // Ground is the corner square; the chasm is everything at a distance from it.
        const float qx = dx + kRound;
        const float qy = dy + kRound;
        const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return outside + std::min(std::max(qx, qy), 0.0f) - kRound;
    }
    if (dx < kRound && dy < kRound && dx > 0 && dy > 0) {
        return kRound - std::hypot(kRound - dx, kRound - dy); // the rounded outer corner
    }
    return std::min(dx, dy);
}

// How much a wall faces the viewer: 1 on the far (north) rim, 0 on the near rim.
float wallFacing(const RavineShape& s, float px, float py) {
    const float step = 0.5f;
    const float gx = depthAt(s, px + step, py) - depthAt(s, px - step, py);
    const float gy = depthAt(s, px, py + step) - depthAt(s, px, py - step);
    const float length = std::hypot(gx, gy);
    return length > 0 ? std::clamp(0.5f + 0.5f * gy / length, 0.0f, 1.0f) : 0.5f;
}

sf::Color darkness(int x, int y) {
    const float n =
        noise::layered(static_cast<float>(x), static_cast<float>(y), 16, kGroundTexels, 141);
    const sf::Color deep(20, 18, 28);
    const sf::Color haze(46, 42, 58);
    const float grain = 0.92f + 0.08f * noise::unit(x, y, 142);
    return shade(mix(deep, haze, n * n), grain);
}

sf::Color wallRock(int x, int y, float depth, float height, float facing) {
    // Strata run along the rim: bands two texels deep in alternating tones, split here and
    // there by a short dark crack.
    const int band = static_cast<int>(depth / 2.0f);
    const float tone =
        0.25f + 0.5f * static_cast<float>(band % 2) + 0.2f * noise::unit(band, (x + y) / 4, 151);
    sf::Color rock = mix(palette::kWood, palette::kOchre, tone);
    rock = mix(rock, palette::kStone, 0.3f);
    if (noise::unit(x, y / 3, 152) < 0.06f) {
        rock = shade(rock, 0.6f);
    }
    const float light = 0.5f + 0.5f * facing;
    return shade(rock, light * (1.0f - 0.5f * depth / height));
}

sf::Color rimTexel(int x, int y, float depth, float facing) {
    if (depth < -1.5f) {
        return grassTexel(x, y);
    }
    if (depth < 0.0f) {
        // The worn stony lip of the cliff.
        const sf::Color lip = mix(palette::kTan, palette::kStoneLight, 0.4f);
        return noise::unit(x, y, 153) < 0.3f ? shade(lip, 0.85f) : lip;
    }
    const float height = 3.0f + 11.0f * facing; // the far wall shows tall, the near one barely
    if (depth < height) {
        return wallRock(x, y, depth, height, facing);
    }
    const float t = std::min((depth - height) / kFadeTexels, 1.0f);
    const sf::Color foot = wallRock(x, y, height, height, facing);
    return mix(foot, darkness(x, y), t);
}

// The rock pillars of the rocky variant: centre and radius in texels, all far enough from the
// cell's sides that neither rock nor shadow is cut where a plain deep cell continues.
struct Pillar {
    float x, y, radius;
};
constexpr Pillar kPillars[] = {{20, 21, 7}, {43, 17, 5}, {37, 42, 8}, {15, 46, 4}};

// A lit flat top, a rim in light or shade, and a shadow cast south-east on the darkness.
sf::Color withRocks(int x, int y, sf::Color dark) {
    const float px = static_cast<float>(x) + 0.5f;
    const float py = static_cast<float>(y) + 0.5f;
    const sf::Color rock = mix(palette::kStone, palette::kWood, 0.35f);
    for (const Pillar& p : kPillars) {
        const float dx = px - p.x;
        const float dy = py - p.y;
        const float d = std::hypot(dx, dy);
        const float lit = -(dx + dy) / (1.4142f * std::max(d, 0.001f));
        if (d < p.radius - 1.5f) {
            const bool grain = noise::unit(x, y, 162) < 0.15f;
            return shade(rock, (0.95f + 0.2f * lit) * (grain ? 0.9f : 1.0f));
        }
        if (d < p.radius) {
            return shade(rock, lit > 0 ? 1.2f : 0.5f);
        }
    }
    for (const Pillar& p : kPillars) {
        if (std::hypot(px - p.x - 2.5f, py - p.y - 2.5f) < p.radius) {
            return shade(dark, 0.5f);
        }
    }
    return dark;
}

} // namespace

PixelGrid ravineCell(int id) {
    const auto found = shapes().find(id);
    if (found == shapes().end()) {
        return {};
    }
    const RavineShape& shape = found->second;
    PixelGrid grid(kGroundTexels, kGroundTexels);
    for (int y = 0; y < kGroundTexels; ++y) {
        for (int x = 0; x < kGroundTexels; ++x) {
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            // A ragged rim: the depth wobbles by a texel with periodic noise.
            const float ragged = 2.0f * (noise::smooth(px, py, 4, kGroundTexels, 171) - 0.5f);
            const float depth = depthAt(shape, px, py) + ragged;
            sf::Color c =
                depth > 60.0f ? darkness(x, y) : rimTexel(x, y, depth, wallFacing(shape, px, py));
            grid.set(x, y, shape.rocks ? withRocks(x, y, c) : c);
        }
    }
    return grid;
}
