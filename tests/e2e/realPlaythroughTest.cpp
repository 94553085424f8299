// realPlaythroughTest.cpp -- two endings played through the real binary under Xvfb with real X
// input: held keys for walking, E, the battle keys and mouse clicks for choices; screenshots of the
// key screens. The first story waits out the whole intro as a player does, every frame of it drawn
// at its pace; the others fly through it unseen (introFlownThrough). On the end screen Enter
// closes the one game with status 0, Escape the other, leaving no thread behind. And the sage's
// question answered from the keyboard alone.
#include "e2e/gameProcess.h"
#include "e2e/realPlayer.h"
#include "e2e/witnessedThreads.h"

#include "story/dialogueScript.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

const seconds
    kIntroAndCard(420); // about a minute at 60 frames a second; far longer on a busy machine
const seconds kCard(30);

class RealGamePlaythrough : public RealGameTest {};

// E until the battle screen is gone: her move, then the opponent's answer, every press.
void fightUntilOver(RealPlayer& player) {
    for (int turn = 0; turn < 200; ++turn) {
        player.press("e");
        if (!player.battleShown(player.screen())) {
            return;
        }
    }
    ADD_FAILURE() << "the battle never ended";
}

} // namespace

TEST_F(RealGamePlaythrough, AttackingTheInvadersAndLosingFourBattlesEndsInDespair) {
    GameProcess game(KAIVA_BUILD_DIR);
    ASSERT_NE(game.waitForWindow(seconds(15)), 0u) << game.errors();
    RealPlayer player(game);
    ASSERT_TRUE(player.waitForRoaming(kIntroAndCard)) << "the intro and first card never ended";
    player.saveScreen("play-hud");
    ASSERT_NO_FATAL_FAILURE(player.askTheSage(0)); // "Attacca gli invasori": hope 40
    for (int battleLost = 1; battleLost <= 4; ++battleLost) {
        SCOPED_TRACE(battleLost);
        ASSERT_NO_FATAL_FAILURE(player.meetForBattle(kJohn));
        if (battleLost == 1) {
            player.saveScreen("play-battle");
        }
        player.press("Down");
        player.press("Down"); // power: she never hurts him
        fightUntilOver(player);
        if (battleLost < 4) {
            ASSERT_TRUE(player.waitForDialogue(seconds(5)));
            player.presses("e", 2); // "Sapevo che ti avrei battuto", then the end
            player.pushedUp();
        }
    }
    ASSERT_TRUE(player.waitForEndScreen(seconds(10))) << "hope 0 should end the game";
    player.saveScreen("play-ending-0");
    player.press("Return");
    EXPECT_EQ(game.waitForExit(seconds(5)), 0);
}

TEST_F(RealGamePlaythrough, TheAxeTwoInvadersTheTamedCrisocioneAndFleeingFromTheBoss) {
    const ThreadWitness witness;
    GameProcess game(KAIVA_BUILD_DIR, introFlownThrough(witness.environment()));
    ASSERT_NE(game.waitForWindow(seconds(15)), 0u) << game.errors();
    RealPlayer player(game);
    ASSERT_TRUE(player.waitForRoaming(kIntroAndCard));
    ASSERT_NO_FATAL_FAILURE(player.askTheSage(0));

    ASSERT_TRUE(player.walkToObject(3, 15)); // the weapons basket
    player.press("e");
    ASSERT_TRUE(player.waitForDialogue(seconds(5))); // "Kaiva ha ottenuto: Ascia Antica"
    player.saveScreen("play-find");
    player.presses("e", 4);
    ASSERT_TRUE(player.waitForRoaming(seconds(5)));
    player.press("Tab");
    player.saveScreen("play-inventory");
    player.press("Tab");

    for (int invader : {kJohn, kLuke}) {
        SCOPED_TRACE(invader);
        ASSERT_NO_FATAL_FAILURE(player.meetForBattle(invader));
        fightUntilOver(player); // the axe wins: 25 a blow against 15
        ASSERT_TRUE(player.waitForDialogue(seconds(5)));
        player.presses("e", 2);
        player.noLongerSpeaksFirst(invader);
    }
    ASSERT_TRUE(player.waitForRoaming(kCard)) << "no chapter card after the second invader";

    ASSERT_TRUE(player.walkToCharacter(kCrisocione));
    ASSERT_TRUE(player.waitForDialogue(seconds(30)));
    player.presses("e", 3); // its first line, then the question typed whole
    player.clickChoice(1);  // "Provo ad addomesticarlo"
    player.presses("e", 4);
    player.noLongerSpeaksFirst(kCrisocione);
    ASSERT_TRUE(player.waitForRoaming(kCard)) << "no chapter card after the crisocione";

    ASSERT_TRUE(player.walkToCharacter(kBoss));
    for (int i = 0; i < 40 && !player.dialogueShown(player.screen()); ++i) {
        player.press("e"); // he does not speak first: E when he comes by
    }
    ASSERT_TRUE(player.waitForDialogue(seconds(2)));
    player.presses("e", 5); // two lines, then the question typed whole
    player.clickChoice(0);  // "Scappa": hope 30, the people stay behind
    ASSERT_TRUE(player.waitForEndScreen(seconds(10)));
    player.saveScreen("play-ending-1");
    player.press("Escape");
    EXPECT_EQ(game.waitForExit(closeGrace()), 0);
    EXPECT_EQ(witness.threadsLeft(), ThreadWitness::mainThreadAlone());
}

// Right lights the second answer with the hovered look; key 2 takes it as a click would: the
// chapter card that follows is the one of warning the village.
TEST_F(RealGamePlaythrough, KeyTwoOnTheSagesQuestionLeadsToTheCardOfWarningTheVillage) {
    GameProcess game(KAIVA_BUILD_DIR, introFlownThrough());
    ASSERT_NE(game.waitForWindow(seconds(15)), 0u) << game.errors();
    RealPlayer player(game);
    ASSERT_TRUE(player.waitForRoaming(kIntroAndCard)) << "the intro and first card never ended";
    ASSERT_TRUE(player.walkToCharacter(kSage));
    player.press("e");
    ASSERT_TRUE(player.waitForDialogue(seconds(5)));
    player.presses("e", 9); // four lines, then the question typed whole
    player.press("Right");
    player.saveScreen("play-choice-highlight");
    const sf::Image highlighted = player.screen();
    EXPECT_TRUE(player.choiceLit(highlighted, 1)) << "Right did not light \"Avverti il villaggio\"";
    EXPECT_FALSE(player.choiceLit(highlighted, 0));
    // Left of the box, below the heroine, the camp's cells fill the screen: the picture of the
    // world kept through the flown intro holds them, none is left black.
    int black = 0;
    for (unsigned y = 620; y < 1080; y += 10) {
        for (unsigned x = 0; x < 460; x += 10) {
            const sf::Color pixel = highlighted.getPixel(x, y);
            black += pixel.r + pixel.g + pixel.b < 30 ? 1 : 0;
        }
    }
    EXPECT_LT(black, 46 * 46 / 20) << "the world is black below the sage (of 2,116 points)";
    player.press("2");
    player.presses("e", 2); // the sage's answer, then the end of the talk
    ASSERT_TRUE(player.waitForCard(kCard)) << "no chapter card after key 2";
    player.saveScreen("play-card-key-2");
    EXPECT_NEAR(player.cardTitleWidth(player.screen()), player.titleWidth("Pericolo Imminente"), 8)
        << "not the card of warning the village";
    game.leaveByThePause();
    EXPECT_EQ(game.waitForExit(closeGrace()), 0);
}
