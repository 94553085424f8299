// interactions.h -- what E does at the usable objects of the world: apples carried to the empty
// baskets in quest 3, the training mannequins of quest 4, and the weapons and armour found in
// baskets and chests, each find told by a message.
#pragma once

#include <cstdint>

// The finds: item index (also the icon's cell in weapons-map.png), name, slot and bonus.
struct Item {
    const char* name;
    int slot; // 0 armour, 1 weapon
    int attackBonus;
    int armourBonus;
    std::int32_t foundIn;      // the object that holds it
    std::int32_t leavesBehind; // what that object becomes; 0: nothing
};
constexpr int kItemCount = 3;
extern const Item kItems[kItemCount];

// Takes the item held by `objectId` (539, 545 or 509) at the touched cell into equipment `slot`:
// the object changes, the weapon held before gives its bonus back, the new one adds its own, and
// the item message becomes the speaker. Objects and slots that do not match are refused.
void takeItem(std::int32_t objectId, int slot);

// The E key's world interactions, in their order: the apples of quest 3, the mannequin of quest 4,
// then the finds, which work in every quest but on a press that started a battle.
void useObjectAtHand();
