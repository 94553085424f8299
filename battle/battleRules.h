// battleRules.h -- the battle's move table.
#pragma once

#include <cstdint>
#include <string>

constexpr int kMoveCount = 4;

struct BattleMove {
    std::string name;
    std::int16_t iconCell = 0; // column of the move's icon in the second row of icon-map.png
    int misfortuneAmount = 0;
    int powerAmount = 0;
    int shieldAmount = 0;
    bool targetsSelf = false; // the heroine's use of the move changes her own values
};

extern BattleMove battleMoves[kMoveCount];
extern std::int16_t moveKinds[kMoveCount];

// Fills slot i of the move table from the kind moveKinds[i]; a kind outside 0..3 leaves the slot
// as constructed.
void setUpBattleMoves();

void resetBattleMoves();

// Resolves one move and passes the turn. `move` is a slot of the move table (any other value only
// passes the turn); `heroSide` says whose values it changes: the heroine's (true) or the
// opponent's. So (0, false) is her attack, (0, true) the opponent's; (1, true) her shield, (1,
// false) the opponent's; (2, ...) likewise power; (3, false) the misfortune she lays on it and
// (3, true) the misfortune it lays on her. Damage of 0 or less does nothing; hit points stop at 0;
// a shield move that would pass 10 is dropped; misfortune is laid only while it is at most half
// the victim's attack.
void applyMove(int move, bool heroSide);

// What the next attack of each side would take from the other (0 or less takes nothing).
int heroineBattleDamage();
int opponentBattleDamage();

// The opponent's answer: three draws of rand() pick its move (the Boss only attacks or shields).
void chooseEnemyMove();

// E in battle: the heroine's highlighted move, on her turn.
void playHeroineMove();

// After each battle frame: a side at 0 hit points ends the battle (the opponent first, so both at
// 0 is a victory), the opponent's conversation is rebuilt for the result, and a defeat costs 10
// hope. In quest 6 a victory counts one more invader beaten.
void checkBattleEnd();

// Both sides back to 100 hit points, no modifiers, the heroine to move, the first move highlighted.
void resetBattle();

// The battle with the speaker of the open conversation begins: the heroine's shield is her
// armour; everything else holds the values the last battle's reset left.
void startBattle();
