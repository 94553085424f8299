// interactionsTest.cpp -- E at the world's objects, through the frame's own steps: the finds and
// their bonuses and messages, the apples of quest 3, the mannequins of quest 4.
#include "testSupport.h"

#include "shell/gameState.h"
#include "shell/resources.h"
#include "story/dialogueBox.h"
#include "story/dialogueScript.h"
#include "story/interactions.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/tileGrid.h"

#include <SFML/Graphics/RenderTexture.hpp>

#include <mutex>

namespace {

class InteractionTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        ASSERT_TRUE(screen.create(1920, 1080));
        placeCharacters();
    }

    // The heroine stands against the left side of cell (row, col), within its reach; a frame
    // finds the object.
    void standAt(int row, int col) {
        {
            std::lock_guard<std::mutex> lock(heroineLock());
            heroine.setPosition(col * 100.0f - 80, row * 100.0f);
        }
        playFrame(screen);
    }

    // E through a message until it closes.
    void readMessage() {
        for (int i = 0; i < 10 && conversation.dialogueOpen; ++i) {
            pressKey(sf::Keyboard::E);
        }
        ASSERT_FALSE(conversation.dialogueOpen);
    }

    const Tile& cell(int row, int col) { return cellAt(row, col); }

    sf::RenderTexture screen;
};

} // namespace

TEST_F(InteractionTest, TheSwordThenTheAxeReplaceEachOthersBonus) {
    placeCell(5, 5, 1, 539);
    placeCell(5, 12, 1, 545);
    standAt(5, 5);
    EXPECT_EQ(conversation.interactObject, 539);
    pressKey(sf::Keyboard::E);
    EXPECT_EQ(story.playerAttack, 20);
    EXPECT_EQ(story.equippedItem[1], 0);
    EXPECT_EQ(story.equipment[1].name, "Spada Del Valoroso");
    EXPECT_EQ(cell(5, 5).name, "Cesta del Pesce"); // the swordfish basket is now a fish basket
    EXPECT_FALSE(cell(5, 5).interactive);
    EXPECT_EQ(conversation.activeNpc, kItemMessage);
    EXPECT_EQ(currentLine(), "Kaiva ha ottenuto: Spada Del Valoroso");
    readMessage();

    standAt(5, 12);
    pressKey(sf::Keyboard::E);
    EXPECT_EQ(story.playerAttack, 25); // 20 - 15 + 20
    EXPECT_EQ(story.equippedItem[1], 1);
    EXPECT_TRUE(story.itemFound);
    EXPECT_EQ(currentLine(), "Kaiva ha ottenuto: Ascia Antica");
    pressKey(sf::Keyboard::E);
    pressKey(sf::Keyboard::E);
    EXPECT_EQ(currentLine(), "Premi TAB per visualizzare");
    readMessage();

    // The emptied weapons basket looks empty but is no basket for apples.
    EXPECT_EQ(cell(5, 12).name, "Cesta Vuota");
    EXPECT_FALSE(cell(5, 12).interactive);
    story.currentQuest = 3;
    story.applesCarried = 1;
    story.carriedObject = 544;
    standAt(5, 12);
    pressKey(sf::Keyboard::E);
    EXPECT_EQ(story.applesDelivered, 0);
    EXPECT_EQ(story.applesCarried, 1);
}

TEST_F(InteractionTest, TheLeatherArmourAndArmourTrainingGiveSix) {
    placeCell(5, 5, 1, 509);
    placeCell(5, 12, 1, 543);
    standAt(5, 5);
    pressKey(sf::Keyboard::E);
    EXPECT_EQ(story.playerArmour, 3);
    EXPECT_EQ(story.playerAttack, 5);
    EXPECT_EQ(story.equippedItem[0], 2);
    EXPECT_FALSE(story.itemFound);
    EXPECT_EQ(cell(5, 5).objectId, 0); // the chest is gone, and so is its wall
    EXPECT_FALSE(cell(5, 5).blocking);
    EXPECT_EQ(currentLine(), "Kaiva ha ottenuto: Armatura di Pelle");
    readMessage();

    story.currentQuest = 4;
    npcs[kTrainer].talkedTo = true;
    story.trainedChoice[1] = true;
    standAt(5, 12);
    pressKey(sf::Keyboard::E);
    EXPECT_EQ(story.playerArmour, 6);
    EXPECT_EQ(conversation.activeNpc, kArmourTrainingMessage);
    EXPECT_EQ(currentLine(), "Kaiva ha aumentato le statistiche di Armatura! ");
}

TEST_F(InteractionTest, ApplesOneAtATimeAndTheThirdDeliveryFinishesTheTask) {
    story.currentQuest = 3;
    placeCell(5, 3, 1, 544);
    placeCell(5, 6, 1, 544);
    placeCell(5, 9, 1, 544);
    placeCell(8, 3, 1, 538);
    placeCell(8, 6, 1, 538);
    placeCell(8, 9, 1, 538);
    standAt(5, 3);
    pressKey(sf::Keyboard::E);
    EXPECT_EQ(story.applesCarried, 1);
    EXPECT_EQ(story.carriedObject, 544);
    EXPECT_EQ(cell(5, 3).objectId, 0); // the apple vanished
    standAt(5, 6);
    pressKey(sf::Keyboard::E); // a second apple is refused while one is in hand
    EXPECT_EQ(story.applesCarried, 1);
    EXPECT_EQ(cell(5, 6).objectId, 544);
    EXPECT_TRUE(cell(5, 6).interactive);

    const int apples[] = {6, 9};
    for (int delivery = 0; delivery < 3; ++delivery) {
        SCOPED_TRACE(delivery);
        if (delivery > 0) {
            standAt(5, apples[delivery - 1]);
            pressKey(sf::Keyboard::E);
        }
        EXPECT_FALSE(story.applesDone);
        standAt(8, 3 + 3 * delivery);
        pressKey(sf::Keyboard::E);
        EXPECT_EQ(cell(8, 3 + 3 * delivery).name, "Cesta Mele e Carne");
        EXPECT_FALSE(cell(8, 3 + 3 * delivery).interactive);
        EXPECT_EQ(story.applesDelivered, delivery + 1);
        EXPECT_EQ(story.carriedObject, 0);
        EXPECT_EQ(story.applesCarried, 0);
    }
    EXPECT_TRUE(story.applesDone);
}

TEST_F(InteractionTest, EachMannequinTrainsOnceAndPlacesHerBeforeIt) {
    story.currentQuest = 4;
    npcs[kTrainer].talkedTo = true;
    story.trainedChoice[0] = true;
    placeCell(5, 6, 1, 543);
    placeCell(5, 12, 1, 543);
    standAt(5, 6);
    pressKey(sf::Keyboard::E);
    EXPECT_EQ(story.playerAttack, 8);
    EXPECT_TRUE(story.trainingDone);
    EXPECT_EQ(heroinePosition(), sf::Vector2f(500, 500));
    EXPECT_EQ(heroine.getTextureRect(), sf::IntRect(0, 320, 160, 160)); // facing it
    EXPECT_EQ(currentLine(), "Kaiva ha aumentato le statistiche di Attacco! ");
    EXPECT_FALSE(cell(5, 6).interactive);
    pressKey(sf::Keyboard::E); // inside the message: no training
    EXPECT_EQ(story.playerAttack, 8);
    readMessage();
    standAt(5, 6);
    pressKey(sf::Keyboard::E); // used: nothing
    EXPECT_EQ(story.playerAttack, 8);
    standAt(5, 12);
    pressKey(sf::Keyboard::E); // another mannequin before the trainer's last word: +3 again
    EXPECT_EQ(story.playerAttack, 11);
}

// A talk with the trainer before quest 4 marks him as talked to; quest 4 must still ask its
// question, and a mannequin must not train (nor freeze the heroine in an empty message) before.
TEST_F(InteractionTest, MeetingTheTrainerEarlyNeitherSkipsTheQuestionNorLocksTheMannequin) {
    npcs[kTrainer].talkedTo = true;
    story.currentQuest = 4;
    placeCell(5, 6, 1, 543);
    standAt(5, 6);
    pressKey(sf::Keyboard::E);
    EXPECT_EQ(story.playerAttack, 5);
    EXPECT_FALSE(conversation.dialogueOpen);
    EXPECT_FALSE(story.trainingDone);
    loadDialogueScript(kTrainer);
    EXPECT_EQ(npcs[kTrainer].lines[1], "Cosa scegli?");
}

TEST_F(InteractionTest, ObjectsAtTheWrongMomentDoNothing) {
    placeCell(5, 5, 1, 544);
    placeCell(5, 12, 1, 543);
    standAt(5, 5);
    pressKey(sf::Keyboard::E); // an apple outside quest 3
    EXPECT_EQ(story.applesCarried, 0);
    EXPECT_EQ(cell(5, 5).objectId, 544);
    standAt(5, 12);
    pressKey(sf::Keyboard::E); // a mannequin outside quest 4
    EXPECT_EQ(story.playerAttack, 5);
    EXPECT_FALSE(conversation.dialogueOpen);
    takeItem(544, 1); // not a find
    takeItem(539, 0); // the sword is no armour
    EXPECT_EQ(story.equippedItem[0], -1);
    EXPECT_EQ(story.equippedItem[1], -1);
}
