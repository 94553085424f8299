// palette.h -- the one palette of Kaiva's art: every sprite letter and every procedural colour.
#pragma once

#include <SFML/Graphics/Color.hpp>

#include <optional>

namespace palette {
// Ink and neutrals.
const sf::Color kClear(0, 0, 0, 0);
const sf::Color kInk(34, 24, 22); // the outline around every figure and object
const sf::Color kCharcoal(64, 62, 70);
const sf::Color kStone(116, 114, 120);
const sf::Color kStoneLight(176, 174, 176);
const sf::Color kWhite(246, 242, 230);
const sf::Color kBone(226, 214, 184);
// Plants.
const sf::Color kLeafDark(32, 78, 44);
const sf::Color kLeaf(58, 120, 54);
const sf::Color kLeafLight(102, 164, 70);
const sf::Color kLeafPale(164, 200, 96);
// Wood, earth and leather.
const sf::Color kWoodDark(72, 44, 28);
const sf::Color kWood(116, 74, 42);
const sf::Color kWoodLight(164, 114, 64);
const sf::Color kTan(206, 166, 108);
const sf::Color kLeather(140, 92, 54);
const sf::Color kBuckskin(198, 152, 100);
const sf::Color kOchre(196, 148, 70);
const sf::Color kSand(226, 198, 132);
const sf::Color kStraw(214, 184, 92);
const sf::Color kStrawDark(160, 126, 56);
// People.
const sf::Color kSkinShadow(132, 78, 50);
const sf::Color kSkin(184, 118, 78);
const sf::Color kSkinLight(214, 154, 108);
const sf::Color kPaleSkinShadow(188, 132, 110);
const sf::Color kPaleSkin(234, 186, 160);
const sf::Color kHair(30, 24, 30);
const sf::Color kHairLight(70, 60, 74);
// Tribal colours: red, flame and turquoise.
const sf::Color kRedDark(122, 34, 32);
const sf::Color kRed(192, 58, 44);
const sf::Color kOrange(228, 128, 42);
const sf::Color kFlame(250, 198, 70);
const sf::Color kGlow(255, 238, 150);
const sf::Color kTealDark(22, 104, 110);
const sf::Color kTurquoise(54, 172, 166);
const sf::Color kTurquoiseLight(140, 218, 204);
// The invaders' cold cloth and steel.
const sf::Color kNavy(32, 40, 76);
const sf::Color kCoat(56, 74, 122);
const sf::Color kCoatLight(98, 122, 170);
const sf::Color kSteel(150, 160, 174);
const sf::Color kSteelLight(216, 224, 234);
// Water and sky.
const sf::Color kWaterDeep(34, 82, 138);
const sf::Color kWater(58, 126, 186);
const sf::Color kWaterLight(150, 202, 232);
const sf::Color kSky(132, 186, 226);
const sf::Color kSkyPale(212, 230, 236);
// Mystery and poison.
const sf::Color kPurpleDark(68, 36, 90);
const sf::Color kPurple(136, 74, 168);
const sf::Color kMagic(222, 134, 232);
const sf::Color kPink(236, 142, 170);
// The maned wolf's fur.
const sf::Color kFurDark(150, 70, 34);
const sf::Color kFur(212, 112, 46);

// The colour a sprite letter stands for; '.' is transparent; nullopt for a letter not in the
// legend (a typo in a sprite file).
std::optional<sf::Color> legendColour(char letter);

// Blends a toward b by t in [0, 1], alpha included.
sf::Color mix(sf::Color a, sf::Color b, float t);
// a scaled toward black (factor < 1) or white (factor > 1), alpha kept.
sf::Color shade(sf::Color a, float factor);
} // namespace palette
