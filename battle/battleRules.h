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

// The battle with the speaker of the open conversation begins: the heroine's shield is her
// armour; everything else holds the values the last battle's reset left.
void startBattle();
