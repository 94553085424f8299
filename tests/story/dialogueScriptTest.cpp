// dialogueScriptTest.cpp -- what every speaker says in every state of the story, as a table:
// lines, choices and what they do, battle lines and end quests, and what earlier talks leave
// behind.
#include "testSupport.h"

#include "shell/gameState.h"
#include "story/dialogueScript.h"
#include "world/characters.h"

#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Choice {
    std::string label;
    int hope;
    int quest;
    int skip;
};

struct ScriptRow {
    const char* what;
    int speaker;
    std::function<void()> storyState; // run on fresh start values before the script
    std::vector<std::pair<int, std::string>> lines;
    int choiceLine;
    std::vector<Choice> choices; // the labels beyond these are empty
    int battleLine;
    int questOnEnd;
};

const std::string kSage0 = "Kaiva devi aiutare il popolo da queste incursioni! Non siamo piu' al "
                           "sicuro da quando i coloni sono giunti nelle nostre terre!";
const std::string kSage5 =
    "Scelta poco pensata la tua ma se credi di potercela fare meglio cosi', ho un consiglio per te "
    "se rovisti nelle casse potrai trovare oggetti utili per combattere piu' facilmente!";

const auto quest = [](int index) { return [index] { story.currentQuest = index; }; };

const std::vector<ScriptRow> kScript = {
    {"the sage, quest 0",
     kSage,
     quest(0),
     {{0, kSage0},
      {1, "Prima di tutto devo spiegarti alcune cose: Vedi quell'indicatore in alto a sinistra? "
          "Quello serve ad indicarti la missione che dovrai completare"},
      {3, "Ora hai 2 scelte per iniziare il tuo viaggio: vai ad attaccare gli invasori per "
          "ottenere informazioni utili sul loro capo oppure avvertire gli abitanti del villaggio a "
          "SUD!"},
      {4, "Cosa fai?"},
      {5, kSage5},
      {6, ""},
      {7, "Scelta saggia, penso che questa decisione ti portera' tanti benefici!"},
      {8, ""}},
     4,
     {{"Attacca gli invasori", -30, 6, 0}, {"Avverti il villaggio", 20, 2, 2}},
     -1,
     -1},
    {"the sage, later",
     kSage,
     quest(3),
     {{0, "Il vero saggio non sa' di esserlo..."}, {1, ""}},
     -1,
     {},
     -1,
     -1},
    {"Honani, quest 2",
     kHonani,
     quest(2),
     {{0, "COSAAAAA! Siamo tutti in pericolo quindi? Ok dobbiamo pensare alla salvaguardia della "
          "tribu' quindi ci serve Cibo!"},
      {1, "Vorresti aiutarmi a raccogliere le mele per me? Forse se rovisti un po' potrai trovare "
          "qualche cosa che ti potra' interessare..."},
      {2, "Quindi vuoi aiutarmi?"},
      {3, "Perfetto! Per aiutarmi dovrai raccogliere tre mele e riportarle nelle ceste vuote, per "
          "controllare premi TAB per vedere se hai raccolto la mela, appena avrai finito vieni da "
          "me"},
      {4, ""},
      {5, "Ok vai ad allenarti"},
      {6, ""}},
     2,
     {{"Si, ti aiuto", 20, 3, 0}, {"No, mi devo allenare", -20, 4, 2}},
     -1,
     -1},
    {"Honani, one apple delivered",
     kHonani,
     [] {
         story.currentQuest = 3;
         story.applesDelivered = 1;
     },
     {{0, "Hey Kaiva non hai ancora finito di riempire le ceste te ne mancano: 2"}, {1, ""}},
     -1,
     {},
     -1,
     -1},
    {"Honani, no apple delivered",
     kHonani,
     quest(3),
     {{0, "Hey Kaiva non hai ancora finito di riempire le ceste te ne mancano: 3"}},
     -1,
     {},
     -1,
     -1},
    {"Honani, apples done",
     kHonani,
     [] {
         story.currentQuest = 3;
         story.applesDone = true;
     },
     {{0, "Grazie per avermi aiutato spero che hai trovato quello che ti serve nelle ceste, ora "
          "e' giunto il momento di andare a cacciare gli invasori a EST per ottenere informazioni "
          "sul loro capo"},
      {1, "Sei pronto?"},
      {2, ""}},
     1,
     {{"Si", 0, 6, 0}},
     -1,
     -1},
    {"Honani, another quest",
     kHonani,
     quest(6),
     {{0, "Che giornata strana..."}, {1, ""}},
     -1,
     {},
     -1,
     -1},
    {"the trainer asks",
     kTrainer,
     quest(4),
     {{0, "Sei qui per allenarti giusto? Bene ma ovviamente tutti abbiamo dei limiti infatti "
          "potrai allenare solo una abilita'"},
      {1, "Cosa scegli?"},
      {2, "Perfetto ora scegli un manichino e allenati!"},
      {3, ""}},
     1,
     {{"Attacco", 0, -1, 0}, {"Armatura", 0, -1, 0}},
     -1,
     -1},
    {"the trainer waits",
     kTrainer,
     [] {
         story.currentQuest = 4;
         npcs[kTrainer].talkedTo = true;
         story.trainedChoice[0] = true;
     },
     {{0, "Forza allenati! Premi E su un manichino"}, {1, ""}},
     -1,
     {},
     -1,
     -1},
    {"the trainer, training done",
     kTrainer,
     [] {
         story.currentQuest = 4;
         story.trainingDone = true;
         story.trainedChoice[1] = true;
         npcs[kTrainer].talkedTo = true;
     },
     {{0, "Complimenti ora hai ottenuto un +3! nella statistica scelta!"},
      {1, "E' giunto il momento di affrontare gli invasori per ottenere informazioni sul loro "
          "capo!"},
      {2, ""}},
     -1,
     {},
     -1,
     6},
    {"the trainer met before quest 4 still asks",
     kTrainer,
     [] {
         story.currentQuest = 4;
         npcs[kTrainer].talkedTo = true;
     },
     {{1, "Cosa scegli?"}},
     1,
     {{"Attacco", 0, -1, 0}, {"Armatura", 0, -1, 0}},
     -1,
     -1},
    {"the trainer, another quest",
     kTrainer,
     quest(2),
     {{0, "L'allenamento e' la base per la vittoria!"}, {1, ""}},
     -1,
     {},
     -1,
     -1},
    {"John challenges",
     kJohn,
     quest(6),
     {{0, "Una di loro che pensa di sconfiggerci mi fai ridere!"}, {1, "Sium"}},
     -1,
     {},
     1,
     -1},
    {"Luke challenges",
     kLuke,
     quest(6),
     {{0, "Un'indiana preparati a dire addio ai tuoi cari hahahahaha..."}, {1, "Sium"}},
     -1,
     {},
     1,
     -1},
    {"John won",
     kJohn,
     [] {
         story.currentQuest = 6;
         npcs[kJohn].battleResult = 0;
     },
     {{1, "Sapevo che ti avrei battuto"}, {2, ""}},
     -1,
     {},
     -1,
     -1},
    {"Luke lost, the first invader beaten",
     kLuke,
     [] {
         story.currentQuest = 6;
         story.invadersDefeated = 1;
         npcs[kLuke].battleResult = 1;
     },
     {{1, "Mi hai sconfitto, il nostro capo e' in un DESERTO"}, {2, ""}},
     -1,
     {},
     -1,
     -1},
    {"John lost, the second invader beaten",
     kJohn,
     [] {
         story.currentQuest = 6;
         story.invadersDefeated = 2;
         npcs[kJohn].battleResult = 1;
     },
     {{1, "Come e' possibile! Va bene ti diro' dove e' il nostro capo si trova a SUD"}, {2, ""}},
     -1,
     {},
     -1,
     7},
    {"an invader before quest 6", kLuke, quest(2), {{0, "Vattene!"}, {1, ""}}, -1, {}, -1, -1},
    {"the crisocione before quest 7",
     kCrisocione,
     quest(6),
     {{0, "Il crisocione e' troppo forte devo aspettare prima di combatterlo"}, {1, ""}},
     -1,
     {},
     -1,
     -1},
    {"the crisocione, quest 7",
     kCrisocione,
     quest(7),
     {{0, "Crisocione non mi fai paura ora che ho sconfitto pure gli invasori! Ma sei cosi' "
          "carino ^_^"},
      {1, "Cosa faccio?"},
      {2, "Ok combattiamo!"},
      {3, "Ora non mi blocca piu' la strada posso andare!"},
      {4, ""},
      {5, "Vieni qua piccolo crisocione..."},
      {7, ""}},
     1,
     {{"Lo combatto!", -10, -1, 0}, {"Provo ad addomesticarlo", 0, 8, 3}},
     3,
     8},
    {"the crisocione after quest 7",
     kCrisocione,
     quest(8),
     {{0, "Che animale buffo"}, {1, ""}},
     -1,
     {},
     -1,
     -1},
    {"the Boss, quest 8",
     kBoss,
     quest(8),
     {{0, "Kaiva giusto? Bene, bene, bene, siamo alla resa dei conti ho visto che sei tenace e "
          "coraggiosa..."},
      {1, "voglio lasciarti vivere e scappare perche' le tue probabilita' di vittoria sono molto "
          "MOLTO basse"},
      {2, "Quindi cosa vuoi fare?"},
      {3, "Va bene allora il nostro scontro sara' leggendario"},
      {4, " . "},
      {5, ""}},
     2,
     {{"Scappa", -10, -1, 0}, {"Combatti", 15, -1, 0}},
     4,
     -1},
    {"the Boss before quest 8 says nothing", kBoss, quest(7), {{0, ""}, {1, ""}}, -1, {}, -1, -1},
    {"the axe found",
     kItemMessage,
     [] {
         story.equipment[1].name = "Ascia Antica";
         story.itemFound = true;
     },
     {{0, "Kaiva ha ottenuto: Ascia Antica"}, {1, "Premi TAB per visualizzare"}, {2, ""}},
     -1,
     {},
     -1,
     -1},
    {"the armour found",
     kItemMessage,
     [] { story.equipment[0].name = "Armatura di Pelle"; },
     {{0, "Kaiva ha ottenuto: Armatura di Pelle"}},
     -1,
     {},
     -1,
     -1},
    {"attack trained",
     kAttackTrainingMessage,
     [] {},
     {{0, "Kaiva ha aumentato le statistiche di Attacco! "}, {1, ""}},
     -1,
     {},
     -1,
     -1},
    {"armour trained",
     kArmourTrainingMessage,
     [] {},
     {{0, "Kaiva ha aumentato le statistiche di Armatura! "}, {1, ""}},
     -1,
     {},
     -1,
     -1},
};

class DialogueScriptTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        placeCharacters();
    }
};

} // namespace

TEST_F(DialogueScriptTest, EverySpeakerSaysItsLinesInEveryStateOfTheStory) {
    for (const ScriptRow& row : kScript) {
        SCOPED_TRACE(row.what);
        resetGameState();
        placeCharacters();
        row.storyState();
        loadDialogueScript(row.speaker);
        const Npc& npc = npcs[row.speaker];
        for (const auto& [index, text] : row.lines) {
            EXPECT_EQ(npc.lines[index], text) << "line " << index;
        }
        EXPECT_EQ(npc.choiceLine, row.choiceLine);
        EXPECT_EQ(npc.battleLine, row.battleLine);
        EXPECT_EQ(npc.questOnEnd, row.questOnEnd);
        for (int k = 0; k < kChoices; ++k) {
            SCOPED_TRACE(k);
            if (k < static_cast<int>(row.choices.size())) {
                EXPECT_EQ(npc.choiceLabels[k], row.choices[k].label);
                EXPECT_EQ(npc.choiceHope[k], row.choices[k].hope);
                EXPECT_EQ(npc.choiceQuest[k], row.choices[k].quest);
                EXPECT_EQ(npc.choiceSkip[k], row.choices[k].skip);
            } else {
                EXPECT_TRUE(npc.choiceLabels[k].empty());
                EXPECT_EQ(npc.choiceQuest[k], -1);
            }
        }
    }
}

// Lines and choices not written keep what an earlier talk left, which the story relies on.
TEST_F(DialogueScriptTest, WhatACaseDoesNotWriteKeepsItsOldValue) {
    story.currentQuest = 2;
    loadDialogueScript(kHonani); // "No, mi devo allenare" skips 2
    story.currentQuest = 3;
    story.applesDone = true;
    loadDialogueScript(kHonani);
    EXPECT_EQ(npcs[kHonani].choiceSkip[0], 0); // "Si" keeps the quest-2 talk's skip
    EXPECT_EQ(npcs[kHonani].choiceSkip[1], 2); // and the old second skip stays too
    EXPECT_TRUE(npcs[kHonani].choiceLabels[1].empty());
    EXPECT_EQ(npcs[kHonani].lines[5], "Ok vai ad allenarti");

    story.currentQuest = 6;
    loadDialogueScript(kJohn); // the challenge: battle line 1
    npcs[kJohn].battleResult = 0;
    loadDialogueScript(kJohn);
    EXPECT_EQ(npcs[kJohn].lines[0], "Una di loro che pensa di sconfiggerci mi fai ridere!");
    EXPECT_EQ(npcs[kJohn].battleLine, 1);
    EXPECT_TRUE(npcs[kJohn].startsTalk);
    npcs[kJohn].battleResult = 1;
    loadDialogueScript(kJohn);
    EXPECT_FALSE(npcs[kJohn].startsTalk); // beaten: he no longer speaks first

    story.currentQuest = 2;
    loadDialogueScript(kLuke);
    EXPECT_FALSE(npcs[kLuke].startsTalk); // met before quest 6: "Vattene!" once
}

TEST_F(DialogueScriptTest, TheBossChoosesTheEndingByTheBattlesResultAndHope) {
    struct Case {
        int battleResult;
        int hope;
        int endingId;
    };
    const Case cases[] = {{0, 71, 4}, {0, 70, 3},   {0, 80, 4},
                          {1, 10, 5}, {-1, 90, -1}, {2, 90, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.battleResult << " " << c.hope);
        story.endingId = -1;
        story.currentQuest = 8;
        story.hope = c.hope;
        npcs[kBoss].battleResult = static_cast<std::int16_t>(c.battleResult);
        loadDialogueScript(kBoss);
        EXPECT_EQ(story.endingId, c.endingId);
    }
    story.endingId = -1;
    story.currentQuest = 7;
    npcs[kBoss].battleResult = 1;
    loadDialogueScript(kBoss);
    EXPECT_EQ(story.endingId, -1); // before quest 8 the Boss's script writes nothing
}

// The outcome of the taming is a fresh draw after reseeding from the clock's seconds.
TEST_F(DialogueScriptTest, TheCrisocioneReseedsFromTheClockAndDrawsTheOutcome) {
    story.currentQuest = 7;
    for (int attempt = 0; attempt < 5; ++attempt) {
        std::srand(12345);
        const std::time_t before = std::time(nullptr);
        loadDialogueScript(kCrisocione);
        const int next = std::rand();
        if (std::time(nullptr) != before) {
            continue; // the second changed under us: try again
        }
        std::srand(static_cast<unsigned>(before));
        const int outcome = std::rand();
        EXPECT_EQ(next, std::rand());
        EXPECT_EQ(npcs[kCrisocione].lines[6],
                  outcome % 2 == 1 ? "Bravo, ma... grazie per avermi dato piu' difesa! Ora posso "
                                     "proseguire per la mia avventura"
                                   : "AHIA, mi ha morso, sapevo che era meglio non fidarmi, almeno "
                                     "mi lascia passare ora");
        EXPECT_FALSE(npcs[kCrisocione].startsTalk);
        return;
    }
    FAIL() << "the clock's second kept changing";
}

TEST_F(DialogueScriptTest,
       SlotsOutsideTheStoryOnlyLoseTheirLabelsAndASlotOutsideTheRosterIsRefused) {
    npcs[100].choiceLabels[2] = "x";
    npcs[100].choiceQuest[1] = 4;
    npcs[100].lines[0] = "kept";
    loadDialogueScript(100);
    EXPECT_TRUE(npcs[100].choiceLabels[2].empty());
    EXPECT_EQ(npcs[100].choiceQuest[1], -1);
    EXPECT_EQ(npcs[100].lines[0], "kept");
    loadDialogueScript(-1); // nothing happens, nothing is read outside the roster
    loadDialogueScript(kRosterSize);
    EXPECT_EQ(story.endingId, -1);
}
