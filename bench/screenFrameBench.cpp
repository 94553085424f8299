// screenFrameBench.cpp -- one frame of each screen the player meets after the intro, drawn into a
// render texture through the frame's own drawing step, each against the floor of the same run: a
// conversation with its box and two choice buttons, the chapter card at full veil, the inventory,
// a battle and the end screen. Roaming with the HUD is worldFrameBench's, the intro
// introFrameBench's.
#include "benchSupport.h"

#include "shell/frame.h"
#include "shell/gameState.h"
#include "shell/resources.h"
#include "story/dialogueBox.h"
#include "story/dialogueScript.h"
#include "story/endings.h"
#include "world/characters.h"

namespace {

const sf::Vector2f kCamp(960, 540); // the camera at the start: the sage and the camp in view
constexpr int kLongestEnding = 4;
constexpr int kQuestWithCard = 2; // "Pericolo Imminente": introduced by the chapter card
constexpr int kApple = 544;
constexpr int kWeaponSlot = 1;
constexpr int kArmourSlot = 0;

// The sage's first question, typed out, with its two answers showing.
void BM_ConversationWithTwoChoices(benchmark::State& state) {
    enterRoaming(kCamp);
    openConversation(kSage);
    conversation.activeNpc = kSage;
    conversation.dialogueLine = npcs[kSage].choiceLine;
    conversation.typedChars = static_cast<int>(currentLine().size());
    conversation.lineComplete = true;
    benchmarkFrames(state, "ConversationWithTwoChoices",
                    [](sf::RenderTarget& target) { drawFrame(target); });
}
BENCHMARK(BM_ConversationWithTwoChoices)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2);

// The card held at full veil: the veil, the quest's title and objective over the world. Each
// frame starts the hold again, so that the card never lifts.
void BM_ChapterCardAtFullVeil(benchmark::State& state) {
    enterRoaming(kCamp);
    story.currentQuest = kQuestWithCard;
    story.transitionPending = true;
    benchmarkFrames(state, "ChapterCardAtFullVeil", [](sf::RenderTarget& target) {
        screens.fadeAlpha = 150;
        screens.fadingOut = false;
        clocks.screenMark = clocks.screenClock.getElapsedTime();
        drawFrame(target);
    });
}
BENCHMARK(BM_ChapterCardAtFullVeil)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

// The inventory with all it can show: an apple carried, a weapon and an armour found.
void BM_Inventory(benchmark::State& state) {
    enterRoaming(kCamp);
    story.inventoryOpen = true;
    story.carriedObject = kApple;
    story.equippedItem[kWeaponSlot] = 1;
    story.equipment[kWeaponSlot].itemIndex = 1;
    story.equippedItem[kArmourSlot] = 2;
    story.equipment[kArmourSlot].itemIndex = 2;
    benchmarkFrames(state, "Inventory", [](sf::RenderTarget& target) { drawFrame(target); });
}
BENCHMARK(BM_Inventory)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

// A battle with John on the heroine's turn: nothing changes between the frames.
void BM_Battle(benchmark::State& state) {
    enterRoaming(kCamp);
    conversation.activeNpc = kJohn;
    battle.inBattle = true;
    benchmarkFrames(state, "Battle", [](sf::RenderTarget& target) { drawFrame(target); });
}
BENCHMARK(BM_Battle)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

// The end screen with the longest sentence.
void BM_EndScreen(benchmark::State& state) {
    enterRoaming(kCamp);
    story.endingId = kLongestEnding;
    story.endingText = kEndingTexts[kLongestEnding];
    benchmarkFrames(state, "EndScreen", [](sf::RenderTarget& target) { drawFrame(target); });
}
BENCHMARK(BM_EndScreen)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace
