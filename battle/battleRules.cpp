// battleRules.cpp -- the battle's move table.
#include "battle/battleRules.h"

#include "shell/gameState.h"

BattleMove battleMoves[kMoveCount];
std::int16_t moveKinds[kMoveCount] = {0, 1, 2, 3};

namespace {

// One move per kind: 0 attack, 1 shield, 2 power, 3 misfortune.
const BattleMove kMoveTable[kMoveCount] = {
    {"Spadata", 0, 0, 0, 0, false},
    {"Scudo di Visnu", 1, 0, 0, 1, true},
    {"Potenza di Karttikeya", 3, 0, 2, 0, true},
    {"Sfortuna di Ganesha", 2, 1, 0, 0, false},
};

} // namespace

void setUpBattleMoves() {
    for (int i = 0; i < kMoveCount; ++i) {
        const int kind = moveKinds[i];
        if (kind >= 0 && kind < kMoveCount) {
            battleMoves[i] = kMoveTable[kind];
        }
    }
}

void resetBattleMoves() {
    for (int i = 0; i < kMoveCount; ++i) {
        battleMoves[i] = BattleMove{};
        moveKinds[i] = static_cast<std::int16_t>(i);
    }
}

void startBattle() {
    battle.inBattle = true;
    battle.playerShield = story.playerArmour;
}
