// battleRulesTest.cpp -- the duel's rules: every move and its limits, the opponent's draws, and
// whole battles fought through the frame's own steps, won and lost, to the endings they lead to.
#include "testSupport.h"

#include "battle/battleRules.h"
#include "shell/gameState.h"
#include "shell/input.h"
#include "shell/resources.h"
#include "story/dialogueBox.h"
#include "story/dialogueScript.h"
#include "story/endings.h"
#include "story/quests.h"
#include "world/characters.h"
#include "world/heroine.h"

#include <SFML/Graphics/RenderTexture.hpp>

#include <cstdlib>
#include <mutex>

namespace {

class BattleRulesTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        setUpBattleMoves();
        placeCharacters();
        conversation.activeNpc = kJohn;
    }
};

} // namespace

TEST_F(BattleRulesTest, EveryMoveChangesItsSidesValueAndPassesTheTurn) {
    struct Row {
        const char* what;
        int move;
        bool heroSide;
        int BattleState::*value; // the value it changes
        int after;
    };
    // From: heroine attack 5, John attack 15 / shield gain 2 / misfortune 1 / power 2.
    const Row rows[] = {
        {"she attacks", 0, false, &BattleState::enemyHp, 95},
        {"he attacks", 0, true, &BattleState::playerHp, 85},
        {"he shields", 1, false, &BattleState::enemyShield, 2},
        {"she shields", 1, true, &BattleState::playerShield, 1},
        {"he gains power", 2, false, &BattleState::enemyPower, 2},
        {"she gains power", 2, true, &BattleState::playerPower, 2},
        {"she lays misfortune", 3, false, &BattleState::enemyMisfortune, 1},
        {"he lays misfortune", 3, true, &BattleState::playerMisfortune, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        battle = BattleState{};
        applyMove(row.move, row.heroSide);
        EXPECT_EQ(battle.*row.value, row.after);
        EXPECT_FALSE(battle.playerTurn);
    }
}

TEST_F(BattleRulesTest, ShieldsStopBelowElevenAndMisfortuneAtHalfTheAttack) {
    conversation.activeNpc = kBoss; // shield gain 3
    for (int expected : {3, 6, 9, 9}) {
        applyMove(1, false);
        EXPECT_EQ(battle.enemyShield, expected); // 12 would pass 10: dropped whole
    }
    conversation.activeNpc = kJohn; // misfortune 1 on her attack of 5: allowed while <= 2
    for (int expected : {1, 2, 3, 3, 3}) {
        applyMove(3, true);
        EXPECT_EQ(battle.playerMisfortune, expected);
    }
    EXPECT_FALSE(battle.playerTurn); // nine moves passed the turn nine times
}

TEST_F(BattleRulesTest, CancelledAttacksAndUnknownMovesOnlyPassTheTurn) {
    battle.enemyShield = 3;
    battle.playerMisfortune = 2; // 5 + 0 - 2 - 3 = 0
    applyMove(0, false);
    EXPECT_EQ(battle.enemyHp, 100);
    EXPECT_FALSE(battle.playerTurn);
    applyMove(7, false);
    applyMove(-1, true);
    EXPECT_FALSE(battle.playerTurn);
    EXPECT_EQ(battle.playerHp, 100);
    battle.enemyHp = 3; // hit points stop at 0
    battle.enemyShield = 0;
    battle.playerMisfortune = 0;
    applyMove(0, false);
    EXPECT_EQ(battle.enemyHp, 0);
}

TEST_F(BattleRulesTest, TheOpponentAttacksSevenTimesInSixteenAndTheBossNeverPlotsOrCurses) {
    std::srand(20261208);
    int attacks = 0;
    constexpr int kDraws = 16000;
    for (int i = 0; i < kDraws; ++i) {
        battle = BattleState{};
        battle.playerTurn = false;
        chooseEnemyMove();
        attacks += battle.playerHp < 100 ? 1 : 0;
        EXPECT_TRUE(battle.playerTurn);
    }
    EXPECT_NEAR(attacks, kDraws * 7 / 16, kDraws / 50);

    conversation.activeNpc = kBoss;
    int bossAttacks = 0;
    for (int i = 0; i < 2000; ++i) {
        battle = BattleState{};
        chooseEnemyMove();
        EXPECT_EQ(battle.enemyPower, 0);
        EXPECT_EQ(battle.playerMisfortune, 0);
        bossAttacks += battle.playerHp < 100 ? 1 : 0;
    }
    EXPECT_NEAR(bossAttacks, 1000, 100);
}

namespace {

// Battles fought from conversations, frame by frame, with the keys.
class BattleTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        ASSERT_TRUE(screen.create(1920, 1080));
        setUpBattleMoves();
        for (int i = 0; i < kQuestCount; ++i) {
            initQuest(i);
        }
        placeCharacters();
        std::srand(7);
    }

    // The heroine walks into the reach of a character that speaks first; E goes to the battle.
    void meet(int foe, bool speaksFirst = true) {
        sf::Vector2f at;
        {
            std::lock_guard<std::mutex> lock(rosterLock());
            at = npcs[foe].sprite.getPosition();
        }
        {
            std::lock_guard<std::mutex> lock(heroineLock());
            heroine.setPosition(at.x + 84 + 40, at.y);
        }
        camera.setCenter(at.x + 166, at.y + 42);
        playFrame(screen);
        playFrame(screen);
        ASSERT_EQ(conversation.dialogueOpen, speaksFirst);
        ASSERT_EQ(conversation.activeNpc, foe);
    }

    void advanceToBattle() {
        for (int i = 0; i < 6 && !battle.inBattle; ++i) {
            pressKey(sf::Keyboard::E);
        }
        ASSERT_TRUE(battle.inBattle);
    }

    // Presses E on the highlighted move until the battle ends.
    void fight(int move) {
        for (int i = 0; i < move; ++i) {
            pressKey(sf::Keyboard::S);
        }
        for (int round = 0; round < 400 && battle.inBattle; ++round) {
            pressKey(sf::Keyboard::E);
            playFrame(screen);
        }
        ASSERT_FALSE(battle.inBattle);
    }

    void loseTheFight() {
        story.playerAttack = 0; // she cannot hurt anyone: a sure defeat
        fight(1);
    }

    sf::RenderTexture screen;
};

} // namespace

TEST_F(BattleTest, AFirstBattleWithJohnStartsFromTheStartValuesWithTheArmourAsShield) {
    story.currentQuest = 6;
    story.playerArmour = 3;
    meet(kJohn);
    advanceToBattle();
    EXPECT_EQ(battle.playerShield, 3);
    EXPECT_EQ(heroineBattleDamage(), 5);
    EXPECT_EQ(opponentBattleDamage(), 12);
    EXPECT_EQ(battle.playerHp, 100);
    EXPECT_EQ(battle.selectedMove, 0);
    pressKey(sf::Keyboard::E);
    EXPECT_EQ(battle.enemyHp, 95);
    EXPECT_FALSE(battle.playerTurn);
    pressKey(sf::Keyboard::E); // a second E before the answer does nothing
    EXPECT_EQ(battle.enemyHp, 95);
    playFrame(screen); // the opponent answers in the frame
    EXPECT_TRUE(battle.playerTurn);
}

TEST_F(BattleTest, TheMenuMovesOneLinePerPressWithinItsFourLines) {
    story.currentQuest = 6;
    meet(kJohn);
    advanceToBattle();
    for (int expected : {1, 2, 3, 3}) {
        pressKey(sf::Keyboard::Down);
        EXPECT_EQ(battle.selectedMove, expected);
    }
    pressKey(sf::Keyboard::W);
    EXPECT_EQ(battle.selectedMove, 2);
    holdKey(sf::Keyboard::Up, true); // Up and Down together: up wins
    pressKey(sf::Keyboard::S);
    holdKey(sf::Keyboard::Up, false);
    EXPECT_EQ(battle.selectedMove, 1);
}

TEST_F(BattleTest, WinningInQuestSixCountsAnInvaderAndLosingCostsTenHope) {
    story.currentQuest = 6;
    story.playerAttack = 50;
    meet(kJohn);
    advanceToBattle();
    fight(0);
    EXPECT_EQ(story.invadersDefeated, 1);
    EXPECT_EQ(npcs[kJohn].battleResult, 2);
    EXPECT_EQ(currentLine(),
              "Come e' possibile! Va bene ti diro' dove e' il nostro capo si trova a SUD");
    EXPECT_EQ(story.hope, 70);
    EXPECT_EQ(battle.playerHp, 100); // reset for the next battle
    pressKey(sf::Keyboard::E);
    pressKey(sf::Keyboard::E);
    EXPECT_FALSE(conversation.dialogueOpen);
    EXPECT_FALSE(story.transitionPending); // the first invader only

    meet(kLuke);
    advanceToBattle();
    loseTheFight();
    EXPECT_EQ(story.hope, 60);
    EXPECT_EQ(npcs[kLuke].battleResult, -1);
    EXPECT_EQ(currentLine(), "Torna un'altra volta, forse mi batterai HAHAHAHAHAHAH!");
    EXPECT_EQ(story.invadersDefeated, 1);
    pressKey(sf::Keyboard::E);
    pressKey(sf::Keyboard::E);
    EXPECT_FALSE(conversation.dialogueOpen);

    // He still speaks first: a new talk begins with his taunt and leads to a new battle.
    story.playerAttack = 50;
    meet(kLuke);
    std::string taunt = "Un'indiana preparati a dire addio ai tuoi cari hahahahaha...";
    fillLineToRows(taunt); // as the box shows it
    EXPECT_EQ(currentLine(), taunt);
    advanceToBattle();
    EXPECT_EQ(battle.enemyHp, 100);
    fight(0);
    EXPECT_EQ(story.invadersDefeated, 2);
    pressKey(sf::Keyboard::E);
    pressKey(sf::Keyboard::E);
    EXPECT_TRUE(story.transitionPending);
    EXPECT_EQ(story.currentQuest, 7);
}

TEST_F(BattleTest, AFrameWithBothSidesAtZeroIsAVictory) {
    story.currentQuest = 6;
    meet(kJohn);
    advanceToBattle();
    battle.enemyHp = 0;
    battle.playerHp = 0;
    playFrame(screen);
    EXPECT_FALSE(battle.inBattle);
    EXPECT_EQ(npcs[kJohn].battleResult, 2);
    EXPECT_EQ(story.hope, 70);
}

TEST_F(BattleTest, AttackingFirstThenLosingFourBattlesEndsTheGameMidConversation) {
    story.hope = 40; // "Attacca gli invasori": 70 - 30
    story.currentQuest = 6;
    for (int battleLost = 1; battleLost <= 4; ++battleLost) {
        SCOPED_TRACE(battleLost);
        meet(kJohn);
        advanceToBattle();
        loseTheFight();
        if (battleLost < 4) {
            EXPECT_EQ(story.endingId, -1);
            pressKey(sf::Keyboard::E);
            pressKey(sf::Keyboard::E);
        }
    }
    EXPECT_EQ(story.hope, 0);
    EXPECT_TRUE(conversation.dialogueOpen);
    EXPECT_EQ(story.endingId, 0);
    EXPECT_EQ(story.endingText, "Tutti hanno perso la speranza in te per le tue azioni");
}

TEST_F(BattleTest, TheBossChoosesTheEnding) {
    struct Case {
        const char* what;
        int hopeBefore;
        int choice; // 0 "Scappa", 1 "Combatti"
        bool win;
        int endingId;
        const char* sentence;
    };
    const Case cases[] = {
        {"flee with 80", 80, 0, false, 1,
         "Kaiva e' scappata ma il popolo aveva poca speranza in lei e non l'hanno seguita"},
        {"flee with 90", 90, 0, false, 2,
         "Kaiva e' scappata insieme al suo popolo grazie alla loro alta speranza in lei"},
        {"fight with 60 and lose", 60, 1, false, 3,
         "Kaiva non ha battuto il boss e tutti sono stati rapiti'"},
        {"fight with 70 and lose", 70, 1, false, 4,
         "Kaiva non ha battuto il boss ma nonostante cio' ha lasciato la speranza alla tribu' "
         "cosi' da poter ribellarsi contro gli Invasori"},
        {"fight with 20 and win", 20, 1, true, 5, "Kaiva ha vinto per ora..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        story.currentQuest = 8;
        story.hope = c.hopeBefore;
        meet(kBoss, false); // he does not speak first
        pressKey(sf::Keyboard::E);
        for (int i = 0; i < 6 && conversation.dialogueLine != 2; ++i) {
            pressKey(sf::Keyboard::E);
        }
        pressKey(sf::Keyboard::E); // the question typed whole
        conversation.hoveredChoice = static_cast<std::int16_t>(c.choice);
        clickAt({600 + 455 * c.choice, 760}, screen);
        if (c.choice == 1) {
            advanceToBattle();
            if (c.win) {
                story.playerAttack = 60;
                fight(0);
            } else {
                loseTheFight();
            }
        }
        playFrame(screen);
        EXPECT_EQ(story.endingId, c.endingId);
        EXPECT_EQ(story.endingText, c.sentence);
    }
}
