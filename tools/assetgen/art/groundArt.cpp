// groundArt.cpp -- procedural ground textures: shade ramps picked by periodic noise plus a few
// details (flowers, pebbles, straw, cracks, ripples) placed by a hash of the position.
#include "art/groundArt.h"

#include "art/palette.h"
#include "art/ravineArt.h"
#include "assetIds.h"
#include "noise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>

namespace {

using palette::mix;
using palette::shade;
using Ramp = std::array<sf::Color, 4>;
constexpr int kPeriod = kGroundTexels;
constexpr float kTau = 6.2831853f;

// Picks a shade of the ramp from a value in [0, 1), dithered by a per-texel hash so that the
// bands break up into pixel grain instead of smooth contours.
sf::Color fromRamp(const Ramp& ramp, float value, int x, int y, std::uint32_t seed) {
    const float jitter = (noise::unit(x, y, seed) - 0.5f) * 0.22f;
    const float v = std::clamp(value + jitter, 0.0f, 0.999f);
    return ramp[static_cast<std::size_t>(v * 4.0f)];
}

// Layered noise around 0.5; `contrast` spreads it over the ramp. Low contrast keeps the big
// blotches faint, so a field of one ground does not show its cell repeating.
float field(int x, int y, int spacing, std::uint32_t seed, float contrast = 1.0f) {
    const float n =
        noise::layered(static_cast<float>(x), static_cast<float>(y), spacing, kPeriod, seed);
    return std::clamp((n - 0.5f) * contrast + 0.5f, 0.0f, 1.0f);
}

const Ramp kGrassRamp = {shade(palette::kLeaf, 0.86f), palette::kLeaf,
                         mix(palette::kLeaf, palette::kLeafLight, 0.45f), palette::kLeafLight};
const Ramp kForestRamp = {shade(palette::kLeafDark, 0.85f), palette::kLeafDark,
                          mix(palette::kLeafDark, palette::kLeaf, 0.3f),
                          mix(palette::kLeafDark, palette::kLeaf, 0.55f)};
const Ramp kPathRamp = {mix(palette::kWood, palette::kWoodLight, 0.3f), palette::kWoodLight,
                        mix(palette::kWoodLight, palette::kTan, 0.45f), palette::kTan};
const Ramp kSandRamp = {mix(palette::kOchre, palette::kSand, 0.45f),
                        mix(palette::kOchre, palette::kSand, 0.75f), palette::kSand,
                        shade(palette::kSand, 1.12f)};
const Ramp kEarthRamp = {
    mix(palette::kWood, palette::kOchre, 0.55f), mix(palette::kWoodLight, palette::kOchre, 0.5f),
    mix(palette::kWoodLight, palette::kTan, 0.3f), mix(palette::kTan, palette::kOchre, 0.3f)};
const Ramp kTrainingRamp = {mix(palette::kWood, palette::kWoodLight, 0.2f),
                            mix(palette::kWood, palette::kWoodLight, 0.55f), palette::kWoodLight,
                            mix(palette::kWoodLight, palette::kStraw, 0.35f)};
const Ramp kDryRamp = {mix(palette::kOchre, palette::kWoodLight, 0.4f), palette::kOchre,
                       mix(palette::kOchre, palette::kTan, 0.5f), palette::kTan};
const Ramp kMudRamp = {shade(palette::kWoodDark, 0.9f), palette::kWoodDark,
                       mix(palette::kWoodDark, palette::kWood, 0.5f), palette::kWood};
const Ramp kWaterRamp = {palette::kWaterDeep, mix(palette::kWaterDeep, palette::kWater, 0.5f),
                         palette::kWater, mix(palette::kWater, palette::kWaterLight, 0.3f)};

sf::Color grassAt(int x, int y) {
    sf::Color c = fromRamp(kGrassRamp, field(x, y, 16, 11, 1.1f), x, y, 12);
    const float blade = noise::unit(x, y, 13);
    if (blade < 0.035f) {
        c = mix(c, palette::kLeafPale, 0.55f);
    } else if (noise::unit(x, (y + kPeriod - 1) % kPeriod, 13) < 0.035f) {
        c = shade(c, 0.85f); // the shadow under a blade
    }
    return c;
}

// A small detail centred somewhere inside each square block, never crossing the cell border.
struct Scatter {
    int block;          // size of the squares, dividing kPeriod
    float chance;       // of a square holding a detail
    std::uint32_t seed; // which squares and where
};

// Calls paint(cx, cy, pick) for every detail of the scatter; pick in [0, 1) varies the detail.
void scatter(const Scatter& s, const std::function<void(int, int, float)>& paint) {
    for (int by = 0; by < kPeriod / s.block; ++by) {
        for (int bx = 0; bx < kPeriod / s.block; ++bx) {
            if (noise::unit(bx, by, s.seed) >= s.chance) {
                continue;
            }
            const int span = s.block - 6;
            const int cx =
                bx * s.block + 3 + static_cast<int>(noise::unit(bx, by, s.seed + 1) * span);
            const int cy =
                by * s.block + 3 + static_cast<int>(noise::unit(bx, by, s.seed + 2) * span);
            paint(cx, cy, noise::unit(bx, by, s.seed + 3));
        }
    }
}

PixelGrid fill(const std::function<sf::Color(int, int)>& texel) {
    PixelGrid grid(kGroundTexels, kGroundTexels);
    for (int y = 0; y < kGroundTexels; ++y) {
        for (int x = 0; x < kGroundTexels; ++x) {
            grid.set(x, y, texel(x, y));
        }
    }
    return grid;
}

void pebble(PixelGrid& g, int cx, int cy, float pick) {
    const sf::Color stone = pick < 0.5f ? palette::kStoneLight : palette::kStone;
    g.put(cx, cy, stone);
    g.put(cx + 1, cy, shade(stone, 1.15f));
    g.put(cx, cy + 1, shade(stone, 0.75f));
    g.put(cx + 1, cy + 1, shade(stone, 0.65f));
}

void flower(PixelGrid& g, int cx, int cy, float pick) {
    const std::array<sf::Color, 3> petals = {palette::kWhite, palette::kFlame, palette::kPink};
    const sf::Color petal = petals[static_cast<std::size_t>(pick * 3.0f)];
    g.put(cx, cy + 2, palette::kLeafDark);
    g.put(cx - 1, cy, petal);
    g.put(cx + 1, cy, petal);
    g.put(cx, cy - 1, petal);
    g.put(cx, cy + 1, shade(petal, 0.8f));
    g.put(cx, cy, pick < 0.34f ? palette::kFlame : palette::kWhite);
}

void strawBit(PixelGrid& g, int cx, int cy, float pick) {
    const int dir = pick < 0.5f ? 1 : -1;
    for (int i = -1; i <= 1; ++i) {
        g.put(cx + i, cy + i * dir, i == 1 ? palette::kStrawDark : palette::kStraw);
    }
}

void tuft(PixelGrid& g, int cx, int cy, float) {
    g.put(cx - 1, cy, palette::kLeaf);
    g.put(cx, cy - 1, palette::kLeafLight);
    g.put(cx + 1, cy, palette::kLeaf);
    g.put(cx, cy, palette::kLeafDark);
}

PixelGrid grass() {
    return fill(grassAt);
}

PixelGrid grassWithFlowers() {
    PixelGrid g = grass();
    scatter({16, 0.7f, 21}, [&](int x, int y, float pick) { flower(g, x, y, pick); });
    scatter({32, 0.5f, 25}, [&](int x, int y, float pick) { flower(g, x, y, pick); });
    return g;
}

PixelGrid forestFloor() {
    PixelGrid g = fill([](int x, int y) {
        sf::Color c = fromRamp(kForestRamp, field(x, y, 8, 31, 0.9f), x, y, 32);
        const float leaf = noise::unit(x, y, 33);
        if (leaf < 0.025f) {
            c = mix(c, palette::kOchre, 0.45f); // fallen leaves
        } else if (leaf > 0.98f) {
            c = mix(c, palette::kRedDark, 0.4f);
        }
        return c;
    });
    scatter({16, 0.35f, 34}, [&](int x, int y, float pick) { tuft(g, x, y, pick); });
    return g;
}

PixelGrid pebbled(const Ramp& ramp, std::uint32_t seed, float chance) {
    PixelGrid g = fill(
        [&](int x, int y) { return fromRamp(ramp, field(x, y, 16, seed, 0.9f), x, y, seed + 1); });
    scatter({16, chance, seed + 2}, [&](int x, int y, float pick) { pebble(g, x, y, pick); });
    return g;
}

PixelGrid path() {
    return pebbled(kPathRamp, 41, 0.45f);
}
PixelGrid villageEarth() {
    return pebbled(kEarthRamp, 71, 0.3f);
}

PixelGrid sand() {
    PixelGrid g = fill(sandTexel);
    return g;
}

PixelGrid sandDunes() {
    return fill([](int x, int y) {
        sf::Color c = sandTexel(x, y);
        // Wind ripples: wavy bands, periodic in the cell so neighbouring dunes continue them.
        const float wave = static_cast<float>(y) + 3.0f * std::sin(kTau * x / kPeriod) +
                           1.5f * std::sin(kTau * 2.0f * (x + 9) / kPeriod);
        const float phase = std::fmod(wave + 64.0f, 16.0f);
        if (phase < 1.6f) {
            c = mix(c, palette::kOchre, 0.55f);
        } else if (phase < 3.2f) {
            c = shade(c, 1.08f);
        }
        return c;
    });
}

PixelGrid trainingGround() {
    PixelGrid g = fill(
        [](int x, int y) { return fromRamp(kTrainingRamp, field(x, y, 16, 81, 0.9f), x, y, 82); });
    scatter({8, 0.45f, 83}, [&](int x, int y, float pick) { strawBit(g, x, y, pick); });
    return g;
}

PixelGrid dryEarth() {
    return fill([](int x, int y) {
        const sf::Color c = fromRamp(kDryRamp, field(x, y, 16, 91), x, y, 92);
        const noise::Voronoi v = noise::voronoi(x + 0.5f, y + 0.5f, 16, kPeriod, 93);
        if (v.second - v.nearest < 1.1f) {
            return mix(c, palette::kWoodDark, 0.6f);
        }
        return v.second - v.nearest < 2.0f ? shade(c, 1.07f) : c;
    });
}

PixelGrid riverbank() {
    PixelGrid g = fill([](int x, int y) {
        sf::Color c = fromRamp(kMudRamp, field(x, y, 8, 101, 1.1f), x, y, 102);
        const float wet =
            noise::smooth(static_cast<float>(x), static_cast<float>(y), 16, kPeriod, 103);
        if (wet > 0.7f) {
            c = shade(c, 0.8f); // wet, darker mud
        }
        return c;
    });
    scatter({16, 0.55f, 105}, [&](int x, int y, float pick) { tuft(g, x, y, pick); });
    scatter({32, 0.6f, 106}, [&](int x, int y, float pick) { pebble(g, x, y, pick); });
    return g;
}

PixelGrid stonePlaza() {
    return fill([](int x, int y) {
        const noise::Voronoi v = noise::voronoi(x + 0.5f, y + 0.5f, 16, kPeriod, 111);
        const float tone = static_cast<float>(v.cellId % 1000) / 1000.0f;
        sf::Color stone = mix(palette::kStone, palette::kStoneLight, 0.25f + 0.5f * tone);
        stone = mix(stone, palette::kTan, 0.15f);
        const float gap = v.second - v.nearest;
        if (gap < 1.3f) {
            return mix(palette::kWood, palette::kStone, 0.35f);
        }
        if (gap < 2.3f) {
            return shade(stone, 1.08f); // a worn, lighter rim on every flagstone
        }
        return noise::unit(x, y, 112) < 0.08f ? shade(stone, 0.9f) : stone;
    });
}

// Grass on one side, sand on the other, meeting along a wavy line across the middle.
PixelGrid grassToSand(int grassSide) {
    return fill([grassSide](int x, int y) {
        // along: position along the border; across: distance from the grass side.
        const bool vertical = grassSide == ground::kSandEdgeW || grassSide == ground::kSandEdgeE;
        const int along = vertical ? y : x;
        int across = vertical ? x : y;
        if (grassSide == ground::kSandEdgeS || grassSide == ground::kSandEdgeE) {
            across = kPeriod - 1 - across;
        }
        const float border = 32.0f + 4.0f * std::sin(kTau * along / kPeriod) +
                             2.0f * std::sin(kTau * 3.0f * (along + 5) / kPeriod);
        const float blend = (static_cast<float>(across) - border) / 4.0f + 0.5f;
        const bool isSand = noise::unit(x, y, 121) < blend;
        return isSand ? sandTexel(x, y) : grassAt(x, y);
    });
}

PixelGrid water() {
    return fill([](int x, int y) {
        sf::Color c = fromRamp(kWaterRamp, field(x, y, 32, 131), x, y, 132);
        const float crest =
            std::sin(kTau * (2.0f * x / kPeriod + 4.0f * y / kPeriod)) +
            noise::smooth(static_cast<float>(x), static_cast<float>(y), 8, kPeriod, 133);
        if (crest > 1.55f && noise::unit(x / 3, y, 134) < 0.7f) {
            c = mix(c, palette::kWaterLight, 0.6f);
        }
        return c;
    });
}

using CellMaker = PixelGrid (*)();

const std::map<int, CellMaker>& plainCells() {
    static const std::map<int, CellMaker> kCells = {
        {ground::kGrass, grass},
        {ground::kGrassFlowers, grassWithFlowers},
        {ground::kGrassDark, forestFloor},
        {ground::kPath, path},
        {ground::kSand, sand},
        {ground::kSandDunes, sandDunes},
        {ground::kVillageEarth, villageEarth},
        {ground::kTrainingGround, trainingGround},
        {ground::kDryEarth, dryEarth},
        {ground::kRiverbank, riverbank},
        {ground::kStonePlaza, stonePlaza},
        {ground::kWater, water},
    };
    return kCells;
}

} // namespace

sf::Color grassTexel(int x, int y) {
    return grassAt(x, y);
}

sf::Color sandTexel(int x, int y) {
    sf::Color c = fromRamp(kSandRamp, field(x, y, 16, 51, 0.9f), x, y, 52);
    const float grain = noise::unit(x, y, 53);
    if (grain < 0.02f) {
        return shade(c, 0.82f);
    }
    return grain > 0.985f ? shade(c, 1.15f) : c;
}

PixelGrid groundCell(int id) {
    const auto found = plainCells().find(id);
    if (found != plainCells().end()) {
        return found->second();
    }
    if (id >= ground::kSandEdgeN && id <= ground::kSandEdgeE) {
        return grassToSand(id);
    }
    if (id >= ground::kRavineDeep && id <= ground::kRavineRocks) {
        return ravineCell(id);
    }
    return {};
}
