// quests.h -- the quest table: title, objective and the screen that introduces each quest.
#pragma once

#include <SFML/Graphics/RenderTarget.hpp>

#include <cstdint>
#include <string>

constexpr int kQuestCount = 20;

struct Quest {
    std::string title;
    std::string objective;
    std::int16_t transitionKind = -1; // 0: the intro; -1: the chapter card; other: none
};

extern Quest quests[kQuestCount];

// Fills quest i from the table; quest 0 alone is introduced by the intro.
void initQuest(int index);

void resetQuests();

// The quest of currentQuest; a quest index outside the table reads as a nameless quest that
// plays no transition screen.
const Quest& currentQuestRecord();

// The HUD in the top left corner: the quest icon and rule, the current quest's title and
// objective, and the hope counter with its icon.
void drawHud(sf::RenderTarget& target);
