// gameStateTest.cpp -- every value of the game returns to its start value in one call.
#include "testSupport.h"

#include "battle/battleRules.h"
#include "shell/gameState.h"
#include "story/quests.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"

namespace {

struct StartValue {
    const char* name;
    double actual;
    double expected;
};

// Moves every value away from its start, as a long game would.
void playALongGame() {
    story = {};
    story.currentQuest = 8;
    story.transitionPending = false;
    story.introRunning = true;
    story.inventoryOpen = true;
    story.endingId = 4;
    story.endingText = "x";
    story.hope = 3;
    story.playerAttack = 25;
    story.playerArmour = 6;
    story.fled = true;
    story.applesCarried = 1;
    story.applesDelivered = 3;
    story.applesDone = story.trainingDone = story.itemFound = true;
    story.trainedChoice[1] = true;
    story.invadersDefeated = 2;
    story.carriedObject = 544;
    story.equippedItem[0] = 2;
    story.equippedItem[1] = 1;
    story.equipment[1] = {"Ascia Antica", 20, 0, 1};
    conversation = {7, true, 3, 40, true, 2, -1, 300, 400};
    battle = {true, 10, 20, 1, 2, 3, 4, 5, 6, false, 3};
    world.frameSeconds.store(0.5f);
    world.walkSpeed = 300;
    world.canMoveUp = world.canMoveDown = world.canMoveLeft = world.canMoveRight = false;
    world.feetHeight = 15;
    world.visibleWindow.store({1, 2, 3, 4});
    world.mouseWindow = {5, 6};
    world.mouseTile = {7, 8};
    world.quitRequested.store(true);
    world.heroFrame = 3;
    world.heroFacing = 2;
    world.heroMoving = true;
    screens = {150, true, 8, 2, sf::seconds(3), 2, 1};
    shell.closeRequested = true;
    shell.paused = true;
    holdGameTime(true);
    mapLoad.failed.store(true);
    changeCell(249, 249, [](Tile& cell) { cell.loaded = true; });
    changeCell(3, 4, [](Tile& cell) { cell.objectId = 544; });
    npcs[6].active = true;
    npcs[1991].lines[0] = "x";
    quests[0].transitionKind = -1;
    battleMoves[2].name = "x";
    moveKinds[3] = 9;
    heroine.setSize({84, 84});
}

} // namespace

TEST(GameState, ResetPutsEveryValueBackToItsStart) {
    playALongGame();
    resetGameState();
    const VisibleWindow window = world.visibleWindow.load();
    const StartValue values[] = {
        {"currentQuest", double(story.currentQuest), 0},
        {"transitionPending", double(story.transitionPending), 1},
        {"introRunning", double(story.introRunning), 0},
        {"inventoryOpen", double(story.inventoryOpen), 0},
        {"endingId", double(story.endingId), -1},
        {"endingText empty", double(story.endingText.empty()), 1},
        {"hope", double(story.hope), 70},
        {"playerAttack", double(story.playerAttack), 5},
        {"playerArmour", double(story.playerArmour), 0},
        {"fled", double(story.fled), 0},
        {"applesCarried", double(story.applesCarried), 0},
        {"applesDelivered", double(story.applesDelivered), 0},
        {"applesDone", double(story.applesDone), 0},
        {"trainedChoice[1]", double(story.trainedChoice[1]), 0},
        {"trainingDone", double(story.trainingDone), 0},
        {"itemFound", double(story.itemFound), 0},
        {"invadersDefeated", double(story.invadersDefeated), 0},
        {"carriedObject", double(story.carriedObject), 0},
        {"armourItem", double(story.equippedItem[0]), -1},
        {"weaponItem", double(story.equippedItem[1]), -1},
        {"equipment[1] index", double(story.equipment[1].itemIndex), -1},
        {"equipment[1] attack", double(story.equipment[1].attackBonus), 0},
        {"activeNpc", double(conversation.activeNpc), -1},
        {"dialogueOpen", double(conversation.dialogueOpen), 0},
        {"dialogueLine", double(conversation.dialogueLine), 0},
        {"typedChars", double(conversation.typedChars), 0},
        {"lineComplete", double(conversation.lineComplete), 0},
        {"hoveredChoice", double(conversation.hoveredChoice), -1},
        {"interactObject", double(conversation.interactObject), 0},
        {"interactX", double(conversation.interactX), 0},
        {"inBattle", double(battle.inBattle), 0},
        {"playerHp", double(battle.playerHp), 100},
        {"enemyHp", double(battle.enemyHp), 100},
        {"playerShield", double(battle.playerShield), 0},
        {"enemyShield", double(battle.enemyShield), 0},
        {"playerTurn", double(battle.playerTurn), 1},
        {"selectedMove", double(battle.selectedMove), 0},
        {"frameSeconds", double(world.frameSeconds.load()), 0},
        {"walkSpeed", double(world.walkSpeed), 200},
        {"baseSpeed", double(world.baseSpeed), 200},
        {"canMoveUp", double(world.canMoveUp), 1},
        {"canMoveLeft", double(world.canMoveLeft), 1},
        {"feetHeight", double(world.feetHeight), 0},
        {"visibleColEnd", double(window.visibleColEnd), 0},
        {"visibleRowFirst", double(window.visibleRowFirst), 0},
        {"mouseTile x", double(world.mouseTile.x), 0},
        {"mouseWindow y", double(world.mouseWindow.y), 0},
        {"quitRequested", double(world.quitRequested.load()), 0},
        {"heroFrame", double(world.heroFrame), 0},
        {"heroMoving", double(world.heroMoving), 0},
        {"fadeAlpha", double(screens.fadeAlpha), 0},
        {"fadingOut", double(screens.fadingOut), 0},
        {"introLeg", double(screens.introLeg), 0},
        {"skipKey", double(screens.skipKey), -1},
        {"swallowedKey", double(screens.swallowedKey), -1},
        {"closeRequested", double(shell.closeRequested), 0},
        {"paused", double(shell.paused), 0},
        {"game time held", double(gameTimeHeld()), 0},
        {"map load failed", double(mapLoad.failed.load()), 0},
        {"last cell loaded", double(cellAt(249, 249).loaded), 0},
        {"cell objectId", double(cellAt(3, 4).objectId), 0},
        {"npc 6 active", double(npcs[6].active), 0},
        {"npc 6 hintState", double(npcs[6].hintState), 2},
        {"npc 6 battleResult", double(npcs[6].battleResult), -1},
        {"npc 1991 line empty", double(npcs[1991].lines[0].empty()), 1},
        {"quest 0 kind", double(quests[0].transitionKind), -1},
        {"move 2 name empty", double(battleMoves[2].name.empty()), 1},
        {"moveKinds[3]", double(moveKinds[3]), 3},
        {"heroine width", double(heroine.getSize().x), 0},
    };
    for (const StartValue& value : values) {
        EXPECT_EQ(value.actual, value.expected) << value.name;
    }
}

TEST(GameState, AMoveKindOutsideTheTableLeavesItsSlotEmpty) {
    resetGameState();
    moveKinds[2] = 7;
    setUpBattleMoves();
    EXPECT_TRUE(battleMoves[2].name.empty());
    EXPECT_EQ(battleMoves[3].name, "Sfortuna di Ganesha");
}
