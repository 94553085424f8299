// objectArt.cpp -- objectTable.png: the objects are 32 x 32 sprites scaled x10 with an ink
// outline so that they read at 100 x 100 on any ground; river pieces and bridges are drawn.
#include "art/objectArt.h"

#include "art/palette.h"
#include "art/riverArt.h"
#include "art/sheetLayout.h"
#include "assetIds.h"

#include <map>

namespace {

constexpr unsigned kObjectScale = 10; // 32 texels to a 320-pixel cell
constexpr unsigned kRiverScale = 5;   // 64 texels to a 320-pixel cell

const std::map<int, const char*>& spriteNames() {
    static const std::map<int, const char*> kNames = {
        {object::kTreeLeafy, "treeLeafy"},
        {object::kTreeBare, "treeBare"},
        {object::kTreeTall, "treeTall"},
        {object::kMysteryChest, "chest"},
        {object::kTent, "tent"},
        {object::kCactus, "cactus"},
        {object::kCarcass, "carcass"},
        {object::kMysteryMushroom, "mushroomMystery"},
        {object::kPoisonMushrooms, "mushroomsPoison"},
        {object::kPoisonMushrooms2, "mushroomsPoison2"},
        {object::kCampfire, "campfire"},
        {object::kTotem, "totem"},
        {object::kTotem2, "totem2"},
        {object::kChiefTent, "chiefTent"},
        {object::kTrunk, "trunk"},
        {object::kFlowers, "flowers"},
        {object::kPebbles, "pebbles"},
        {object::kBush, "bush"},
        {object::kSteppingStones, "steppingStones"},
        {object::kReeds, "reeds"},
        {object::kFirewood, "firewood"},
        {object::kDrum, "drum"},
        {object::kPottery, "pottery"},
        {object::kBones, "bones"},
        {object::kDesertRock, "desertRock"},
        {object::kDryBush, "dryBush"},
        {object::kPuddle, "puddle"},
        {object::kSignpost, "signpost"},
        {object::kBurningTent, "tentBurning"},
        {object::kBurningTent2, "tentBurning2"},
        {object::kEmptyBasket, "basketEmpty"},
        {object::kSwordfishBasket, "basketSwordfish"},
        {object::kFullBasket, "basketFull"},
        {object::kClothesLine, "clothesLine"},
        {object::kFishBasket, "basketFish"},
        {object::kMannequin, "mannequin"},
        {object::kApple, "apple"},
        {object::kWeaponsBasket, "basketWeapons"},
    };
    return kNames;
}

} // namespace

const char* objectSpriteName(int id) {
    const auto found = spriteNames().find(id);
    return found == spriteNames().end() ? "" : found->second;
}

sf::Image objectSheet(const SpriteBook& objects) {
    const int count = object::kLastObjectId - object::kTreeLeafy + 1;
    const unsigned rows =
        (static_cast<unsigned>(count) + sheet::kCellsPerRow - 1) / sheet::kCellsPerRow;
    sf::Image image;
    image.create(sheet::kCellsPerRow * sheet::kCellPixels, rows * sheet::kCellPixels,
                 palette::kClear);
    for (int id = object::kTreeLeafy; id <= object::kLastObjectId; ++id) {
        const unsigned index = static_cast<unsigned>(id - object::kTreeLeafy);
        const unsigned left = (index % sheet::kCellsPerRow) * sheet::kCellPixels;
        const unsigned top = (index / sheet::kCellsPerRow) * sheet::kCellPixels;
        const PixelGrid river = riverPiece(id);
        if (river.width > 0) {
            stamp(image, river, left, top, kRiverScale);
            continue;
        }
        const PixelGrid& sprite = spriteOrEmpty(objects, objectSpriteName(id));
        stamp(image, outlined(sprite, palette::kInk), left, top, kObjectScale);
    }
    return image;
}
