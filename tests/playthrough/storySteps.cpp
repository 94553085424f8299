// storySteps.cpp -- the story's steps, each checked as it is taken.
#include "playthrough/storySteps.h"

#include "shell/gameState.h"
#include "story/dialogueScript.h"
#include "world/characters.h"
#include "world/tileGrid.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>

namespace {
constexpr int kPlayArea = 62; // the story's places lie within these columns and rows
} // namespace

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

// Walks up to the first usable cell holding the object and uses it.
void take(Player& player, int objectId) {
    const std::vector<sf::Vector2i> cells = cellsWith(objectId);
    ASSERT_FALSE(cells.empty()) << "no usable cell holds object " << objectId;
    take(player, cells.front());
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
    take(player, 543);
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

void gatherTheApples(Player& player) {
    EXPECT_EQ(story.currentQuest, 3);
    for (int apple = 0; apple < 3; ++apple) {
        SCOPED_TRACE(apple);
        take(player, 544);
        EXPECT_EQ(story.carriedObject, 544);
        take(player, 538);
        EXPECT_EQ(story.applesDelivered, apple + 1);
    }
    EXPECT_TRUE(story.applesDone);
}
