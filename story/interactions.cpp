// interactions.cpp -- apples, mannequins and finds.
#include "story/interactions.h"

#include "shell/gameState.h"
#include "story/dialogueBox.h"
#include "story/dialogueScript.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/tileGrid.h"

#include <mutex>

namespace {

constexpr std::int32_t kApple = 544;
constexpr std::int32_t kEmptyBasket = 538;
constexpr std::int32_t kFullBasket = 540;
constexpr std::int32_t kMannequin = 543;
constexpr int kApplesNeeded = 3;
constexpr int kTrainingGain = 3;
constexpr float kTrainingDistance = 100; // she trains standing this far left of the mannequin
const sf::IntRect kFacingRight(0, 320, 160, 160);

// The cell of the object the heroine touches; false when it lies outside the grid.
bool touchedCell(int& row, int& col) {
    col = static_cast<int>(conversation.interactX / kCellPixels);
    row = static_cast<int>(conversation.interactY / kCellPixels);
    return row >= 0 && row < kGridSize && col >= 0 && col < kGridSize;
}

// Changes the touched cell, through the grid's one way to change a cell.
template <class Change> void changeTouchedCell(Change change) {
    int row = 0;
    int col = 0;
    if (!touchedCell(row, col)) {
        return;
    }
    changeCell(row, col, change);
}

void showMessage(int speaker) {
    conversation.activeNpc = speaker;
    loadDialogueScript(speaker);
    conversation.dialogueOpen = true;
}

void useApples() {
    if (conversation.interactObject == kApple && story.applesCarried == 0) {
        story.carriedObject = kApple;
        story.applesCarried = 1;
        changeTouchedCell([](Tile& cell) {
            cell.objectId = 0;
            cell.interactive = false;
        });
    } else if (conversation.interactObject == kEmptyBasket && story.applesCarried != 0) {
        changeTouchedCell([](Tile& cell) {
            applyIdTable(cell, kFullBasket);
            cell.objectId = kFullBasket;
            cell.interactive = false;
        });
        story.applesCarried -= 1;
        story.applesDelivered += 1;
        story.carriedObject = 0;
    }
    if (story.applesDelivered == kApplesNeeded) {
        story.applesDone = true;
    }
}

void train() {
    {
        std::lock_guard<std::mutex> lock(heroineLock());
        heroine.setPosition(conversation.interactX - kTrainingDistance, conversation.interactY);
        heroine.setTextureRect(kFacingRight);
    }
    placeSensors();
    changeTouchedCell([](Tile& cell) { cell.interactive = false; });
    int message = kAttackTrainingMessage;
    if (story.trainedChoice[0]) {
        story.playerAttack += kTrainingGain;
    } else {
        story.playerArmour += kTrainingGain;
        message = kArmourTrainingMessage;
    }
    story.trainingDone = true;
    conversation.interactObject = -1;
    showMessage(message);
}

const Item* itemFoundIn(std::int32_t objectId) {
    for (const Item& item : kItems) {
        if (item.foundIn == objectId) {
            return &item;
        }
    }
    return nullptr;
}

} // namespace

const Item kItems[kItemCount] = {
    {"Spada Del Valoroso", 1, 15, 0, 539, 542},
    {"Ascia Antica", 1, 20, 0, 545, 538},
    {"Armatura di Pelle", 0, 0, 3, 509, 0},
};

void takeItem(std::int32_t objectId, int slot) {
    const Item* item = itemFoundIn(objectId);
    if (item == nullptr || item->slot != slot) {
        return;
    }
    const int index = static_cast<int>(item - kItems);
    story.equippedItem[slot] = index;
    changeTouchedCell([item](Tile& cell) {
        if (item->leavesBehind != 0) {
            applyIdTable(cell, item->leavesBehind);
            cell.objectId = item->leavesBehind;
        } else {
            cell.objectId = 0;
            cell.blocking = false;
        }
        cell.interactive = false; // the emptied weapons basket too, which the table makes usable
    });
    EquipmentSlot& held = story.equipment[slot];
    story.playerAttack -= held.attackBonus; // the weapon held before gives its bonus back
    held.name = item->name;
    held.attackBonus = item->attackBonus;
    held.armourBonus = item->armourBonus;
    if (slot == 1) {
        story.playerAttack += held.attackBonus;
    } else {
        story.playerArmour += held.armourBonus;
    }
    held.itemIndex = index;
    story.itemFound = slot == 1;
    conversation.interactObject = -1;
    conversation.activeNpc = kItemMessage;
}

void useObjectAtHand() {
    if (story.currentQuest == 3) {
        useApples();
    } else if (story.currentQuest == 4 && trainerQuestionAnswered() && !conversation.dialogueOpen &&
               conversation.interactObject == kMannequin) {
        train();
    }
    // A press whose talk step reached the battle line takes no find: its message would take the
    // box, and the battle, from the speaker being fought.
    if (battle.inBattle) {
        return;
    }
    if (const Item* item = itemFoundIn(conversation.interactObject)) {
        interruptConversation();
        takeItem(item->foundIn, item->slot);
        showMessage(kItemMessage);
    }
}
