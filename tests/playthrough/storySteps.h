// storySteps.h -- the story's steps as a player takes them: the sage's and Honani's questions, the
// finds, the training, the invaders, the crisocione and the Boss. The playthroughs chain them into
// endings; the story explorer chains them to reach the places it starts its sessions from.
#pragma once

#include "playthrough/player.h"

#include <SFML/System/Vector2.hpp>

#include <vector>

constexpr int kAttack = 0; // the battle menu's lines
constexpr int kPower = 2;  // gains power but never hurts: a sure defeat

// The cells of the play area that hold this usable object now, row by row.
std::vector<sf::Vector2i> cellsWith(int objectId);

// Walks to the usable object on `cell` (column, row) and presses E there.
void take(Player& player, sf::Vector2i cell);
// The same at the first cell that holds the usable object (the test fails when none does).
void take(Player& player, int objectId);

// Walks up to a character, talks until the question and answers it; false when no question came.
bool answer(Player& player, int character, int choice);

// The sage's question: 0 attack the invaders, 1 warn the village.
void askTheSage(Player& player, int choice);

// Quest 2 with Honani: 0 help with the apples (quest 3), 1 go and train (quest 4).
void askHonani(Player& player, int choice);

// Quest 3: three apples into the baskets.
void gatherTheApples(Player& player);

// Finds the item at cell (col, row) and reads its message.
void find(Player& player, sf::Vector2i cell);

// Quest 4 with the trainer: his question (0 attack, 1 armour), a mannequin, his last word.
void train(Player& player, int skill);

// Quest 6: both invaders beaten with the attack move.
void beatTheInvaders(Player& player);

// Quest 7: 0 fight the crisocione, 1 tame it. Either way the road to the desert opens.
void passTheCrisocione(Player& player, int way);

// Quest 8: 0 flee, 1 fight; the random generator seeded with `seed` first.
void faceTheBoss(Player& player, int choice, unsigned seed);
