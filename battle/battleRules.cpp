// battleRules.cpp -- the battle's move table.
#include "battle/battleRules.h"

#include "shell/gameState.h"
#include "story/dialogueScript.h"
#include "world/characters.h"

#include <algorithm>
#include <cstdlib>

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

constexpr int kShieldLimit = 10;
constexpr int kDefeatCost = 10; // hope lost with a battle
constexpr int kInvaderQuest = 6;
enum Move { kAttack = 0, kShield = 1, kPower = 2, kMisfortune = 3 };

void hit(int& hitPoints, int damage) {
    if (damage > 0) {
        hitPoints = std::max(hitPoints - damage, 0);
    }
}

void raiseShield(int& shield, int gain) {
    if (shield + gain <= kShieldLimit) { // a gain past the limit is dropped whole
        shield += gain;
    }
}

// The misfortune limit tests the value before the gain, so it may end above half by one gain.
void layMisfortune(int& misfortune, int victimsAttack, int gain) {
    if (misfortune <= victimsAttack / 2) {
        misfortune += gain;
    }
}

// Rebuilds the opponent's lines for the battle's result, then marks the result as told.
void tellResult(Npc& foe, std::int16_t result, std::int16_t afterwards) {
    foe.battleResult = result;
    loadDialogueScript(conversation.activeNpc);
    foe.battleResult = afterwards;
}

} // namespace

int heroineBattleDamage() {
    return story.playerAttack + battle.playerPower - battle.playerMisfortune - battle.enemyShield;
}

int opponentBattleDamage() {
    const int foe = conversation.activeNpc;
    const int attack = foe >= 0 && foe < kRosterSize ? npcs[foe].attack : 0;
    return attack + battle.enemyPower - battle.enemyMisfortune - battle.playerShield;
}

void applyMove(int move, bool heroSide) {
    const int foeIndex = conversation.activeNpc;
    if (foeIndex >= 0 && foeIndex < kRosterSize) {
        const Npc& foe = npcs[foeIndex];
        switch (move) {
        case kAttack:
            if (heroSide) {
                hit(battle.playerHp, opponentBattleDamage());
            } else {
                hit(battle.enemyHp, heroineBattleDamage());
            }
            break;
        case kShield:
            if (heroSide) {
                raiseShield(battle.playerShield, battleMoves[kShield].shieldAmount);
            } else {
                raiseShield(battle.enemyShield, foe.shieldGain);
            }
            break;
        case kPower:
            if (heroSide) {
                battle.playerPower += battleMoves[kPower].powerAmount;
            } else {
                battle.enemyPower += foe.powerGain;
            }
            break;
        case kMisfortune:
            if (heroSide) {
                layMisfortune(battle.playerMisfortune, story.playerAttack, foe.misfortuneGain);
            } else {
                layMisfortune(battle.enemyMisfortune, foe.attack,
                              battleMoves[kMisfortune].misfortuneAmount);
            }
            break;
        default:
            break;
        }
    }
    battle.playerTurn = !battle.playerTurn;
}

void chooseEnemyMove() {
    const int draw = std::rand() % 8; // always drawn, even when the Boss ignores it
    int move = kAttack;
    if (conversation.activeNpc == kBoss) {
        move = std::rand() % 2;
    } else if (draw >= 2) {
        move = std::rand() % 4;
    }
    applyMove(move, move == kAttack || move == kMisfortune);
}

void playHeroineMove() {
    if (battle.playerTurn && battle.selectedMove < kMoveCount) {
        applyMove(battle.selectedMove, battleMoves[battle.selectedMove].targetsSelf);
    }
}

void checkBattleEnd() {
    const int foeIndex = conversation.activeNpc;
    if (foeIndex < 0 || foeIndex >= kRosterSize) {
        return;
    }
    Npc& foe = npcs[foeIndex];
    if (battle.enemyHp <= 0) {
        battle.inBattle = false;
        if (story.currentQuest == kInvaderQuest) {
            story.invadersDefeated += 1;
        }
        resetBattle();
        tellResult(foe, 1, 2);
    } else if (battle.playerHp <= 0) {
        story.hope -= kDefeatCost;
        battle.inBattle = false;
        resetBattle();
        tellResult(foe, 0, -1);
    }
}

void resetBattle() {
    battle.playerHp = 100;
    battle.enemyHp = 100;
    battle.playerMisfortune = 0;
    battle.playerPower = 0;
    battle.playerShield = 0;
    battle.enemyMisfortune = 0;
    battle.enemyPower = 0;
    battle.enemyShield = 0;
    battle.playerTurn = true;
    battle.selectedMove = 0;
}

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
