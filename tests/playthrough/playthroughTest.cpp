// playthroughTest.cpp -- every ending reached by playing: the real game, frame by frame, on the
// shipped maps, from the first chapter card to the end screen, along both first choices, both
// trainer choices, both ways past the crisocione and all three finds; one ending played again with
// the keyboard alone, another with a gamepad alone.
#include "playthrough/storySteps.h"

#include "shell/gameState.h"
#include "shell/input.h"
#include "story/dialogueScript.h"
#include "world/characters.h"
#include "world/heroine.h"

#include <gtest/gtest.h>

#include <mutex>

namespace {

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
    gatherTheApples(player);
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

// The crisocione paces its ledge below a ravine. She comes down the pass while it is at the west
// end and steps east onto the ledge; it paces back into reach and speaks first. At the end of its
// talk the push up stops below the ravine, and the crisocione lets her walk away.
TEST(ScriptedWalk, TheCrisocionesPushNeverPutsHerFeetIntoTheRavineAboveItsLedge) {
    Player player(12);
    player.waitForPlay();
    const auto paceTo = [](float x) {
        std::lock_guard<std::mutex> lock(rosterLock());
        npcs[kCrisocione].sprite.setPosition(x, 3800);
    };
    paceTo(900);
    player.walkTo({1250, 3800, 40, 100});
    ASSERT_FALSE(conversation.dialogueOpen);
    paceTo(1150);
    player.frames(2); // in reach, then it speaks first
    ASSERT_EQ(conversation.activeNpc, kCrisocione);
    player.talkToEnd();
    placeSensors();
    EXPECT_FALSE(updateTileContacts()) << "her feet are in the ravine at " << player.heroineAt().y;
    const sf::Vector2f pushedTo = player.heroineAt();
    holdKey(sf::Keyboard::A, true);
    player.frames(10);
    holdKey(sf::Keyboard::A, false);
    EXPECT_LT(player.heroineAt().x, pushedTo.x);
    EXPECT_FALSE(conversation.dialogueOpen);
}
