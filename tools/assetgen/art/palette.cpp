// palette.cpp -- the sprite legend: one letter per palette colour, shared by every sprite file.
#include "art/palette.h"

#include <algorithm>
#include <array>

namespace palette {
namespace {

struct LegendEntry {
    char letter;
    sf::Color colour;
};

// Lowercase is usually the darker shade of its uppercase letter.
const std::array<LegendEntry, 60> kLegend = {{
    {'.', kClear},
    {'k', kInk},
    {'x', kCharcoal},
    {'e', kStone},
    {'E', kStoneLight},
    {'w', kWhite},
    {'W', kBone},
    {'d', kLeafDark},
    {'g', kLeaf},
    {'G', kLeafLight},
    {'y', kLeafPale},
    {'b', kWoodDark},
    {'n', kWood},
    {'N', kWoodLight},
    {'t', kTan},
    {'l', kLeather},
    {'L', kBuckskin},
    {'z', kOchre},
    {'Z', kSand},
    {'p', kStraw},
    {'P', kStrawDark},
    {'s', kSkinShadow},
    {'S', kSkin},
    {'u', kSkinLight},
    {'a', kPaleSkinShadow},
    {'A', kPaleSkin},
    {'h', kHair},
    {'H', kHairLight},
    {'r', kRedDark},
    {'R', kRed},
    {'o', kOrange},
    {'O', kFlame},
    {'Y', kGlow},
    {'c', kTealDark},
    {'C', kTurquoise},
    {'q', kTurquoiseLight},
    {'v', kNavy},
    {'V', kCoat},
    {'B', kCoatLight},
    {'m', kSteel},
    {'M', kSteelLight},
    {'i', kWaterDeep},
    {'I', kWater},
    {'j', kWaterLight},
    {'Q', kSky},
    {'U', kSkyPale},
    {'D', kPurpleDark},
    {'J', kPurple},
    {'f', kMagic},
    {'F', kPink},
    {'T', kFurDark},
    {'X', kFur},
    {'1', shade(kHair, 0.5f)},
    {'2', shade(kCharcoal, 0.8f)},
    {'3', shade(kCoat, 0.75f)},
    {'4', shade(kRedDark, 0.75f)},
    {'5', shade(kFurDark, 0.8f)},
    {'6', shade(kWoodDark, 0.8f)},
    {'7', shade(kLeafDark, 0.8f)},
    {'8', shade(kWater, 1.15f)},
}};

} // namespace

std::optional<sf::Color> legendColour(char letter) {
    const auto found = std::find_if(kLegend.begin(), kLegend.end(),
                                    [&](const LegendEntry& e) { return e.letter == letter; });
    if (found == kLegend.end()) {
        return std::nullopt;
    }
    return found->colour;
}

sf::Color mix(sf::Color a, sf::Color b, float t) {
    const auto lerp = [t](sf::Uint8 x, sf::Uint8 y) {
        return static_cast<sf::Uint8>(std::clamp(x + (y - x) * t + 0.5f, 0.0f, 255.0f));
    };
    return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b), lerp(a.a, b.a)};
}

sf::Color shade(sf::Color a, float factor) {
    const auto scale = [factor](sf::Uint8 x) {
        const float target = factor < 1.0f ? x * factor : x + (255 - x) * (factor - 1.0f);
        return static_cast<sf::Uint8>(std::clamp(target + 0.5f, 0.0f, 255.0f));
    };
    return {scale(a.r), scale(a.g), scale(a.b), a.a};
}

} // namespace palette
