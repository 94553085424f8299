// playthroughTest.cpp -- every ending reached by playing: the real game, frame by frame, on the
// shipped maps, from the first chapter card to the end screen, along both first choices, both
// trainer choices, both ways past the crisocione and all three finds; one ending played again with
// the keyboard alone, another with a gamepad alone.
#include "playthrough/player.h"

#include "shell/frame.h"
#include "shell/gameState.h"
#include "story/dialogueScript.h"
#include "world/characters.h"
#include "world/tileGrid.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

constexpr int kAttack = 0;    // the battle menu's lines
constexpr int kPower = 2;     // gains power but never hurts: a sure defeat
constexpr int kPlayArea = 62; // the story's places lie within these columns and rows

// The cells of the play area that hold this object now, row by row.
std::vector<sf::Vector2i> cellsWith(int objectId) {
    std::vector<sf::Vector2i> found;
    for (int row = 0; row < kPlayArea; ++row) {
        std::lock_guard<std::mutex> lock(gridRowLock(row));
        for (int col = 0; col < kPlayArea; ++col) {
            if (cellAt(row, col).objectId == objectId && cellAt(row, col).interactive) {
                found.push_back({col, row});
            }
        }
    }
    return found;
}

void take(Player& player, sf::Vector2i cell) {
    player.walkToObject(cell.x, cell.y);
    player.talk();
}

// Walks up to a character, talks until the question and answers it; false when no question came.
bool answer(Player& player, int character, int choice) {
    player.walkToCharacter(character);
    player.talk();
    if (!player.talkToChoiceOrEnd()) {
        ADD_FAILURE() << "character " << character << " asked nothing";
        return false;
    }
    player.choose(choice);
    return true;
}

// The sage's question: 0 attack the invaders, 1 warn the village.
void askTheSage(Player& player, int choice) {
    player.waitForPlay();
    EXPECT_EQ(story.currentQuest, 0);
    EXPECT_EQ(story.hope, 70);
    if (!answer(player, kSage, choice)) {
        return;
    }
    player.talkToEnd();
    EXPECT_TRUE(story.transitionPending);
    player.waitForPlay();
}

// Quest 2 with Honani: 0 help with the apples (quest 3), 1 go and train (quest 4).
void askHonani(Player& player, int choice) {
    EXPECT_EQ(story.currentQuest, 2);
    if (!answer(player, kHonani, choice)) {
        return;
    }
    player.talkToEnd();
    EXPECT_TRUE(story.transitionPending);
    player.waitForPlay();
}

// Finds the item at cell (col, row) and reads its message.
void find(Player& player, sf::Vector2i cell) {
    take(player, cell);
    EXPECT_EQ(conversation.activeNpc, kItemMessage);
    player.talkToEnd();
}

// Quest 4 with the trainer: his question, a mannequin, his last word.
void train(Player& player, int skill) {
    EXPECT_EQ(story.currentQuest, 4);
    if (!answer(player, kTrainer, skill)) {
        return;
    }
    player.talkToEnd();
    EXPECT_FALSE(story.transitionPending);
    take(player, cellsWith(543).front());
    EXPECT_TRUE(story.trainingDone);
    player.talkToEnd(); // the training's message
    player.walkToCharacter(kTrainer);
    player.talk();
    player.talkToEnd();
    EXPECT_EQ(story.currentQuest, 6);
    player.waitForPlay();
}

void beatTheInvaders(Player& player) {
    EXPECT_EQ(story.currentQuest, 6);
    for (int invader : {kJohn, kLuke}) {
        SCOPED_TRACE(invader);
        player.walkToCharacter(invader);
        ASSERT_TRUE(conversation.dialogueOpen); // they speak first
        player.talkToBattle();
        player.fight({kAttack});
        EXPECT_EQ(npcs[invader].battleResult, 2);
        player.talkToEnd();
    }
    EXPECT_EQ(story.invadersDefeated, 2);
    EXPECT_EQ(story.currentQuest, 7);
    player.waitForPlay();
}

// Quest 7: 0 fight the crisocione, 1 tame it. Either way the road to the desert opens.
void passTheCrisocione(Player& player, int way) {
    player.walkToCharacter(kCrisocione);
    ASSERT_TRUE(conversation.dialogueOpen);
    ASSERT_TRUE(player.talkToChoiceOrEnd());
    player.choose(way);
    if (way == 0) {
        player.talkToBattle();
        player.fight({kAttack});
        EXPECT_EQ(player.shownLine(), "Ora non mi blocca piu' la strada posso andare!");
    }
    player.talkToEnd();
    EXPECT_EQ(story.currentQuest, 8);
    EXPECT_FALSE(npcs[kCrisocione].startsTalk);
    player.waitForPlay();
}

// Quest 8: 0 flee, 1 fight.
void faceTheBoss(Player& player, int choice, unsigned seed) {
    std::srand(seed); // the crisocione reseeded from the clock: the Boss's fight is ours again
    answer(player, kBoss, choice);
}

void expectEnding(Player& player, int endingId, const char* sentence) {
    player.frame();
    EXPECT_EQ(story.endingId, endingId);
    EXPECT_EQ(story.endingText, sentence);
    player.leave(); // leaves the game
    EXPECT_TRUE(shell.closeRequested);
}

// Ending 2: the apples for Honani, the sword, the crisocione tamed, fleeing with the tribe.
void playApplesTheSwordAndFleeingWithTheTribe(Player& player) {
    askTheSage(player, 1);
    askHonani(player, 0); // "Si, ti aiuto"
    EXPECT_EQ(story.hope, 110);
    EXPECT_EQ(story.currentQuest, 3);
    for (int apple = 0; apple < 3; ++apple) {
        SCOPED_TRACE(apple);
        take(player, cellsWith(544).front());
        EXPECT_EQ(story.carriedObject, 544);
        take(player, cellsWith(538).front());
        EXPECT_EQ(story.applesDelivered, apple + 1);
    }
    EXPECT_TRUE(story.applesDone);
    player.walkToCharacter(kHonani);
    player.talk();
    ASSERT_TRUE(player.talkToChoiceOrEnd());
    player.choose(0); // "Si": the talk ends on the choice
    EXPECT_FALSE(conversation.dialogueOpen);
    EXPECT_EQ(story.currentQuest, 6);
    player.waitForPlay();
    take(player, {27, 35}); // the swordfish basket: the sword
    EXPECT_EQ(story.playerAttack, 20);
    player.talkToEnd();
    player.lookAtInventory();
    beatTheInvaders(player);
    passTheCrisocione(player, 1);
    EXPECT_EQ(story.hope, 110);
    faceTheBoss(player, 0, 5);
    expectEnding(player, 2,
                 "Kaiva e' scappata insieme al suo popolo grazie alla loro alta speranza in lei");
}

// Ending 3: the chest, the axe, the crisocione tamed, a battle lost to the Boss with little hope.
void playTheChestTheAxeAndLosingToTheBoss(Player& player) {
    askTheSage(player, 0);  // attack the invaders: 40
    take(player, {49, 37}); // the mysterious chest: the leather armour
    EXPECT_EQ(story.playerArmour, 3);
    player.talkToEnd();
    take(player, {3, 15});
    EXPECT_EQ(story.playerAttack, 25);
    player.talkToEnd();
    player.lookAtInventory();
    beatTheInvaders(player);
    passTheCrisocione(player, 1);
    faceTheBoss(player, 1, 7); // "Combatti": 55
    EXPECT_EQ(story.hope, 55);
    player.talkToBattle();
    EXPECT_EQ(battle.playerShield, 3);
    player.fight({kPower});
    expectEnding(player, 3, "Kaiva non ha battuto il boss e tutti sono stati rapiti'");
}

} // namespace

TEST(Playthrough, AttackingTheInvadersAndLosingFourTimesLosesAllHope) {
    Player player(1);
    askTheSage(player, 0);
    EXPECT_EQ(story.hope, 40);
    EXPECT_EQ(story.currentQuest, 6);
    for (int battleLost = 1; battleLost <= 4; ++battleLost) {
        SCOPED_TRACE(battleLost);
        player.walkToCharacter(kJohn);
        player.talkToBattle();
        player.fight({kPower});
        EXPECT_EQ(story.hope, 40 - 10 * battleLost);
        if (battleLost < 4) {
            EXPECT_EQ(player.shownLine(), "Sapevo che ti avrei battuto");
            player.talkToEnd();
        }
    }
    EXPECT_TRUE(conversation.dialogueOpen); // the game ends in the middle of the talk
    expectEnding(player, 0, "Tutti hanno perso la speranza in te per le tue azioni");
}

TEST(Playthrough, TrainingAttackFightingTheCrisocioneAndFleeingWithLittleHope) {
    Player player(2);
    askTheSage(player, 1); // warn the village
    EXPECT_EQ(story.hope, 90);
    askHonani(player, 1); // "No, mi devo allenare"
    EXPECT_EQ(story.hope, 70);
    train(player, 0);
    EXPECT_EQ(story.playerAttack, 8);
    take(player, {3, 15}); // the weapons basket: the axe
    EXPECT_EQ(story.playerAttack, 28);
    player.talkToEnd();
    beatTheInvaders(player);
    passTheCrisocione(player, 0);
    EXPECT_EQ(story.hope, 60);
    faceTheBoss(player, 0, 3);
    EXPECT_TRUE(story.fled);
    expectEnding(player, 1,
                 "Kaiva e' scappata ma il popolo aveva poca speranza in lei e non l'hanno seguita");
}

TEST(Playthrough, ApplesForHonaniTheSwordTamingAndFleeingWithTheTribe) {
    Player player(4);
    playApplesTheSwordAndFleeingWithTheTribe(player);
}

TEST(Playthrough, ApplesForHonaniTheSwordTamingAndFleeingWithTheTribeByGamepadAlone) {
    Player player(4, Device::Pad);
    playApplesTheSwordAndFleeingWithTheTribe(player);
}

TEST(Playthrough, TheChestTheAxeAndABattleLostToTheBossWithLittleHope) {
    Player player(6);
    playTheChestTheAxeAndLosingToTheBoss(player);
}

TEST(Playthrough, TheChestTheAxeAndABattleLostToTheBossByKeyboardAlone) {
    Player player(6, Device::Keyboard);
    playTheChestTheAxeAndLosingToTheBoss(player);
}

TEST(Playthrough, TrainingArmourAndABattleLostToTheBossWithTheTribesHope) {
    Player player(8);
    askTheSage(player, 1);
    askHonani(player, 1); // "No, mi devo allenare": 70
    train(player, 1);
    EXPECT_EQ(story.playerArmour, 3);
    EXPECT_EQ(story.playerAttack, 5);
    find(player, {3, 15});
    beatTheInvaders(player);
    passTheCrisocione(player, 1);
    faceTheBoss(player, 1, 9); // 70 + 15
    player.talkToBattle();
    player.fight({kPower});
    EXPECT_EQ(story.hope, 75);
    expectEnding(player, 4,
                 "Kaiva non ha battuto il boss ma nonostante cio' ha lasciato la speranza alla "
                 "tribu' cosi' da poter ribellarsi contro gli Invasori");
}

TEST(Playthrough, BeatingTheBoss) {
    Player player(10);
    askTheSage(player, 1);
    askHonani(player, 1); // "No, mi devo allenare": 70
    train(player, 0);
    find(player, {3, 15});
    find(player, {49, 37});
    EXPECT_EQ(story.playerAttack, 28);
    EXPECT_EQ(story.playerArmour, 3);
    beatTheInvaders(player);
    passTheCrisocione(player, 0);
    faceTheBoss(player, 1, 11);
    player.talkToBattle();
    player.fight({kAttack});
    EXPECT_EQ(npcs[kBoss].battleResult, 2);
    expectEnding(player, 5, "Kaiva ha vinto per ora...");
}
