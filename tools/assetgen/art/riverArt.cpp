// riverArt.cpp -- every river texel is picked from its distance across the band and its
// position along the flow. On the cell borders only the distance across counts, and the
// band's profile is symmetric, so straight pieces and bends meet texel for texel.
#include "art/riverArt.h"

#include "art/palette.h"
#include "assetIds.h"
#include "noise.h"

#include <cmath>
#include <map>

namespace {

using palette::mix;
using palette::shade;

constexpr float kQuarterTurn = 1.5707963f;
constexpr int kQuietBorder = 3; // texels next to a cell border that keep to the plain profile

// The band seen across the flow, from the outer edge of one bank to the other. Index 0 is the
// first texel of the band; it mirrors about its middle.
sf::Color profile(int across) {
    const int band = kRiverTexels - 2 * kBankOuter; // 34 texels
    const int i = std::min(across, band - 1 - across);
    static const std::map<int, sf::Color> kBankTexels = {
        {0, palette::kLeafDark},
        {1, palette::kWood},
        {2, mix(palette::kWood, palette::kWoodDark, 0.5f)},
        {3, palette::kWoodDark},
        {4, mix(palette::kWaterLight, palette::kWater, 0.3f)},
        {5, mix(palette::kWater, palette::kWaterLight, 0.25f)},
        {6, palette::kWater},
    };
    const auto found = kBankTexels.find(i);
    if (found != kBankTexels.end()) {
        return found->second;
    }
    const float toMiddle = static_cast<float>(i - 7) / static_cast<float>(band / 2 - 8);
    return mix(palette::kWater, palette::kWaterDeep, std::min(toMiddle, 1.0f) * 0.8f);
}

// A texel of the band: `across` counted from the band's outer edge, `along` in [0, 64)
// texels of flow through the cell.
sf::Color riverTexel(int across, float along) {
    const int band = kRiverTexels - 2 * kBankOuter;
    if (across < 0 || across >= band) {
        return palette::kClear;
    }
    sf::Color c = profile(across);
    const bool quiet = along < kQuietBorder || along > kRiverTexels - kQuietBorder;
    const bool inWater = across >= kWaterFirst - kBankOuter + 2 && across < band - 6;
    if (quiet || !inWater) {
        return c;
    }
    // Streaks of current: short light dashes drifting along the flow.
    const int slot = static_cast<int>(along / 5.0f);
    const float dash = noise::unit(slot, across, 181);
    if (dash < 0.12f) {
        c = mix(c, palette::kWaterLight, 0.45f);
    } else if (dash > 0.93f) {
        c = shade(c, 0.88f);
    }
    return c;
}

// Where a texel lies in a straight piece: across = distance from the west (or north) side.
sf::Color straightTexel(bool northSouth, int x, int y) {
    const int across = (northSouth ? x : y) - kBankOuter;
    const float along = static_cast<float>(northSouth ? y : x) + 0.5f;
    return riverTexel(across, along);
}

// A bend is a quarter ring around one corner of the cell.
struct Bend {
    float cornerX;
    float cornerY;
};

sf::Color bendTexel(const Bend& bend, int x, int y) {
    const float dx = static_cast<float>(x) + 0.5f - bend.cornerX;
    const float dy = static_cast<float>(y) + 0.5f - bend.cornerY;
    const float radius = std::hypot(dx, dy);
    const float angle = std::atan2(std::fabs(dy), std::fabs(dx)); // 0 along one side
    // The ring's texel index: same rounding as a straight piece's column.
    const int across = static_cast<int>(std::floor(radius)) - kBankOuter;
    return riverTexel(across, angle / kQuarterTurn * kRiverTexels);
}

PixelGrid riverGrid(int id) {
    static const std::map<int, Bend> kBends = {
        {object::kRiverNorthEast, {kRiverTexels, 0}},
        {object::kRiverNorthWest, {0, 0}},
        {object::kRiverSouthEast, {kRiverTexels, kRiverTexels}},
        {object::kRiverSouthWest, {0, kRiverTexels}},
    };
    PixelGrid grid(kRiverTexels, kRiverTexels);
    const auto bend = kBends.find(id);
    for (int y = 0; y < kRiverTexels; ++y) {
        for (int x = 0; x < kRiverTexels; ++x) {
            grid.set(x, y,
                     bend != kBends.end() ? bendTexel(bend->second, x, y)
                                          : straightTexel(id == object::kRiverNorthSouth, x, y));
        }
    }
    return grid;
}

// The deck over a north-south river: the walk runs east-west, from bank to bank and a little
// beyond, between two rails.
struct Deck {
    int left = kBankOuter - 9;
    int right = kRiverTexels - kBankOuter + 9;
    int top = 21;
    int bottom = 43;
};

// Planks laid across the walk, four texels each with a dark gap, over their own shadow.
void planks(PixelGrid& g, const Deck& d) {
    for (int x = d.left; x < d.right; ++x) {
        const bool gap = (x - d.left) % 4 == 3;
        const float grain = noise::unit((x - d.left) / 4, 0, 191);
        const sf::Color wood = mix(palette::kWood, palette::kWoodLight, 0.3f + 0.5f * grain);
        for (int y = d.top; y < d.bottom; ++y) {
            sf::Color c = gap ? palette::kWoodDark : wood;
            if (!gap && noise::unit(x, y, 192) < 0.06f) {
                c = shade(c, 0.85f);
            }
            g.set(x, y, y == d.bottom - 1 ? shade(c, 0.7f) : c);
        }
        g.set(x, d.bottom, mix(palette::kWaterDeep, palette::kInk, 0.4f));
    }
}

// A log rail along each side of the deck and a post at each of its four corners.
void rails(PixelGrid& g, const Deck& d) {
    const sf::Color log[3] = {palette::kWoodDark, palette::kWood, palette::kWoodLight};
    for (int x = d.left - 1; x <= d.right; ++x) {
        for (int i = 0; i < 3; ++i) {
            g.set(x, d.top - 2 + i, log[i]);
            g.set(x, d.bottom - 1 - i, log[i]);
        }
    }
    for (int px : {d.left - 1, d.left, d.right - 1, d.right}) {
        const bool lit = px == d.left || px == d.right;
        for (int y : {d.top - 3, d.top - 2, d.top - 1, d.bottom - 3, d.bottom - 2, d.bottom - 1,
                      d.bottom}) {
            g.set(px, y, lit ? palette::kWoodLight : palette::kWoodDark);
        }
    }
}

PixelGrid transposed(const PixelGrid& g) {
    PixelGrid out(g.height, g.width);
    for (int y = 0; y < g.height; ++y) {
        for (int x = 0; x < g.width; ++x) {
            out.set(y, x, g.at(x, y));
        }
    }
    return out;
}

PixelGrid bridgeOverNorthSouth() {
    PixelGrid g = riverGrid(object::kRiverNorthSouth);
    planks(g, Deck{});
    rails(g, Deck{});
    return g;
}

} // namespace

PixelGrid riverPiece(int id) {
    if (id >= object::kRiverEastWest && id <= object::kRiverSouthWest) {
        return riverGrid(id);
    }
    if (id == object::kBridgeOverNorthSouth) {
        return bridgeOverNorthSouth();
    }
    if (id == object::kBridgeOverEastWest) {
        return transposed(bridgeOverNorthSouth());
    }
    return {};
}
