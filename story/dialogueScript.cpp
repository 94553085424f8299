// dialogueScript.cpp -- the game's spoken text as tables of cases, and the few rules that pick a
// speaker's case from the story state.
#include "story/dialogueScript.h"

#include "shell/gameClock.h"
#include "shell/gameState.h"
#include "world/characters.h"

#include <climits>
#include <cstdlib>
#include <string>

namespace {

constexpr int kKeep = INT_MIN; // a field the case leaves as it was
constexpr int kMaxCaseLines = 9;
constexpr int kMaxCaseChoices = 2;
constexpr int kHopeThreshold = 70;

struct LineText {
    int index = -1; // -1 ends the list
    const char* text = "";
};

struct ChoiceText {
    const char* label = nullptr; // nullptr ends the list
    int hope = 0;
    int quest = kKeep;
    int skip = kKeep;
};

// One conversation: what it writes into the speaker's record. Fields left at kKeep keep the value
// an earlier talk left there, which several conversations rely on.
struct ScriptCase {
    LineText lines[kMaxCaseLines];
    int choiceLine = kKeep;
    ChoiceText choices[kMaxCaseChoices];
    int battleLine = kKeep;
    int questOnEnd = kKeep;
    bool clearsStartsTalk = false;
    bool kept = false; // its choice quests and end quest survive the epilogue
};

// The cases below name only what they write; the fields they leave out keep kKeep.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

// ---- the sage -----------------------------------------------------------------------------------

const ScriptCase kSageFirstTalk = {
    {{0, "Kaiva devi aiutare il popolo da queste incursioni! Non siamo piu' al sicuro da quando i "
         "coloni sono giunti nelle nostre terre!"},
     {1, "Prima di tutto devo spiegarti alcune cose: Vedi quell'indicatore in alto a sinistra? "
         "Quello serve ad indicarti la missione che dovrai completare"},
     {2, "Ora piu' in basso vedi un altro contatore, bene quello e' l'indicatore della speranza, "
         "in base alle scelte che farai l'indicatore cambiera' il suo valore se arrivera' a 0 "
         "AVRAI PERSO la partita e ci trascinerai tutti alla morte!"},
     {3, "Ora hai 2 scelte per iniziare il tuo viaggio: vai ad attaccare gli invasori per ottenere "
         "informazioni utili sul loro capo oppure avvertire gli abitanti del villaggio a SUD!"},
     {4, "Cosa fai?"},
     {5, "Scelta poco pensata la tua ma se credi di potercela fare meglio cosi', ho un consiglio "
         "per te se rovisti nelle casse potrai trovare oggetti utili per combattere piu' "
         "facilmente!"},
     {6, ""},
     {7, "Scelta saggia, penso che questa decisione ti portera' tanti benefici!"},
     {8, ""}},
    4,
    {{"Attacca gli invasori", -30, 6, 0}, {"Avverti il villaggio", 20, 2, 2}},
    kKeep,
    kKeep,
    false,
    true,
};

const ScriptCase kSageAgain = {{{0, "Il vero saggio non sa' di esserlo..."}, {1, ""}}};

// ---- Honani -------------------------------------------------------------------------------------

const ScriptCase kHonaniAsksForApples = {
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
    kKeep,
    kKeep,
    false,
    true,
};

// Followed directly by the number of apples still missing.
const ScriptCase kHonaniWaitsForApples = {
    {{0, "Hey Kaiva non hai ancora finito di riempire le ceste te ne mancano: "}, {1, ""}}};

// "Si" keeps the skip of 0 that the quest-2 talk wrote, so the click reaches the empty line 2.
const ScriptCase kHonaniThanks = {
    {{0, "Grazie per avermi aiutato spero che hai trovato quello che ti serve nelle ceste, ora e' "
         "giunto il momento di andare a cacciare gli invasori a EST per ottenere informazioni sul "
         "loro capo"},
     {1, "Sei pronto?"},
     {2, ""}},
    1,
    {{"Si", 0, 6, kKeep}},
    kKeep,
    kKeep,
    false,
    true,
};

const ScriptCase kHonaniIdle = {{{0, "Che giornata strana..."}, {1, ""}}};

// ---- the trainer --------------------------------------------------------------------------------

// Either choice goes on to line 2 with the skip of 0 the record starts with.
const ScriptCase kTrainerAsks = {
    {{0, "Sei qui per allenarti giusto? Bene ma ovviamente tutti abbiamo dei limiti infatti potrai "
         "allenare solo una abilita'"},
     {1, "Cosa scegli?"},
     {2, "Perfetto ora scegli un manichino e allenati!"},
     {3, ""}},
    1,
    {{"Attacco", 0, kKeep, kKeep}, {"Armatura", 0, kKeep, kKeep}},
};

const ScriptCase kTrainerWaits = {
    {{0, "Forza allenati! Premi E su un manichino"}, {1, ""}},
    -1,
};

const ScriptCase kTrainerDone = {
    {{0, "Complimenti ora hai ottenuto un +3! nella statistica scelta!"},
     {1,
      "E' giunto il momento di affrontare gli invasori per ottenere informazioni sul loro capo!"},
     {2, ""}},
    -1,
    {},
    kKeep,
    6,
    false,
    true,
};

const ScriptCase kTrainerIdle = {{{0, "L'allenamento e' la base per la vittoria!"}, {1, ""}}};

// ---- the invaders -------------------------------------------------------------------------------

struct InvaderTexts {
    const char* taunt;
    const char* afterLoss; // the heroine lost
    const char* afterWin;  // the heroine won
};

const InvaderTexts kInvaderTexts[] = {
    {"Una di loro che pensa di sconfiggerci mi fai ridere!", "Sapevo che ti avrei battuto",
     "Come e' possibile! Va bene ti diro' dove e' il nostro capo si trova a SUD"},
    {"Un'indiana preparati a dire addio ai tuoi cari hahahahaha...",
     "Torna un'altra volta, forse mi batterai HAHAHAHAHAHAH!",
     "Mi hai sconfitto, il nostro capo e' in un DESERTO"},
};

const ScriptCase kInvaderGoAway = {
    {{0, "Vattene!"}, {1, ""}}, kKeep, {}, -1, kKeep, true,
};

// ---- the crisocione -----------------------------------------------------------------------------

const char* const kTamingOutcomes[2] = {
    "AHIA, mi ha morso, sapevo che era meglio non fidarmi, almeno mi lascia passare ora",
    "Bravo, ma... grazie per avermi dato piu' difesa! Ora posso proseguire per la mia avventura",
};

// Line 6, the taming's outcome, is drawn at every call.
const ScriptCase kCrisocioneBlocksTheWay = {
    {{0, "Crisocione non mi fai paura ora che ho sconfitto pure gli invasori! Ma sei cosi' carino "
         "^_^"},
     {1, "Cosa faccio?"},
     {2, "Ok combattiamo!"},
     {3, "Ora non mi blocca piu' la strada posso andare!"},
     {4, ""},
     {5, "Vieni qua piccolo crisocione..."},
     {7, ""}},
    1,
    {{"Lo combatto!", -10, -1, 0}, {"Provo ad addomesticarlo", 0, 8, 3}},
    3,
    8,
    true,
    true,
};

const ScriptCase kCrisocioneTooStrong = {
    {{0, "Il crisocione e' troppo forte devo aspettare prima di combatterlo"}, {1, ""}}};

const ScriptCase kCrisocioneFunny = {{{0, "Che animale buffo"}, {1, ""}}};

// ---- the Boss -----------------------------------------------------------------------------------

// Both choices go on to line 3 with the skip of 0 the record starts with.
const ScriptCase kBossShowdown = {
    {{0, "Kaiva giusto? Bene, bene, bene, siamo alla resa dei conti ho visto che sei tenace e "
         "coraggiosa..."},
     {1, "voglio lasciarti vivere e scappare perche' le tue probabilita' di vittoria sono molto "
         "MOLTO basse"},
     {2, "Quindi cosa vuoi fare?"},
     {3, "Va bene allora il nostro scontro sara' leggendario"},
     {4, " . "},
     {5, ""}},
    2,
    {{"Scappa", -10, kKeep, kKeep}, {"Combatti", 15, kKeep, kKeep}},
    4,
};

const ScriptCase kNothingToSay = {};

// ---- the messages -------------------------------------------------------------------------------

// Followed directly by the name of the item just found.
const ScriptCase kItemFound = {
    {{0, "Kaiva ha ottenuto: "}, {1, "Premi TAB per visualizzare"}, {2, ""}}};

const ScriptCase kAttackTrained = {
    {{0, "Kaiva ha aumentato le statistiche di Attacco! "}, {1, ""}}};

const ScriptCase kArmourTrained = {
    {{0, "Kaiva ha aumentato le statistiche di Armatura! "}, {1, ""}}};

#pragma GCC diagnostic pop

// ---- the rules that choose a case ---------------------------------------------------------------

void writeCase(Npc& npc, const ScriptCase& script) {
    for (const LineText& line : script.lines) {
        if (line.index >= 0 && line.index < kDialogueLines) {
            npc.lines[line.index] = line.text;
        }
    }
    if (script.choiceLine != kKeep) {
        npc.choiceLine = script.choiceLine;
    }
    for (int k = 0; k < kMaxCaseChoices && script.choices[k].label != nullptr; ++k) {
        const ChoiceText& choice = script.choices[k];
        npc.choiceLabels[k] = choice.label;
        npc.choiceHope[k] = choice.hope;
        if (choice.quest != kKeep) {
            npc.choiceQuest[k] = choice.quest;
        }
        if (choice.skip != kKeep) {
            npc.choiceSkip[k] = choice.skip;
        }
    }
    if (script.battleLine != kKeep) {
        npc.battleLine = script.battleLine;
    }
    if (script.questOnEnd != kKeep) {
        npc.questOnEnd = script.questOnEnd;
    }
    if (script.clearsStartsTalk) {
        npc.startsTalk = false;
    }
}

const ScriptCase& sageCase() {
    return story.currentQuest == 0 ? kSageFirstTalk : kSageAgain;
}

const ScriptCase& honaniCase() {
    if (story.currentQuest == 2) {
        return kHonaniAsksForApples;
    }
    if (story.currentQuest == 3) {
        return story.applesDone ? kHonaniThanks : kHonaniWaitsForApples;
    }
    return kHonaniIdle;
}

const ScriptCase& trainerCase() {
    if (story.currentQuest != 4) {
        return kTrainerIdle;
    }
    if (!trainerQuestionAnswered()) {
        return kTrainerAsks;
    }
    return story.trainingDone ? kTrainerDone : kTrainerWaits;
}

// The invaders of quest 6: the challenge, the taunt after a lost fight, the surrender after a won
// one (and, after the second invader beaten, the road to the next quest). Returns whether the
// case keeps its end quest.
bool writeInvaderCase(Npc& npc, const InvaderTexts& texts) {
    const bool fighting = npc.battleResult >= -1 && npc.battleResult <= 1;
    if (story.currentQuest != 6 || !fighting) { // beaten already: as in any other quest
        writeCase(npc, kInvaderGoAway);
        return false;
    }
    if (npc.battleResult == -1) {
        npc.lines[0] = texts.taunt;
        npc.lines[1] = "Sium";
        npc.battleLine = 1;
        return false;
    }
    if (npc.battleResult == 0) {
        npc.lines[1] = texts.afterLoss;
        npc.lines[2] = "";
        return false;
    }
    npc.startsTalk = false;
    npc.lines[1] = texts.afterWin;
    npc.lines[2] = "";
    if (story.invadersDefeated == 2) {
        npc.questOnEnd = 7;
        return true;
    }
    return false;
}

bool writeCrisocioneCase(Npc& npc) {
    std::srand(static_cast<unsigned>(calendarSeconds()));
    if (story.currentQuest == 7) {
        writeCase(npc, kCrisocioneBlocksTheWay);
        npc.lines[6] = kTamingOutcomes[std::rand() % 2];
        return true;
    }
    writeCase(npc, story.currentQuest < 7 ? kCrisocioneTooStrong : kCrisocioneFunny);
    return false;
}

// The Boss's talk of quest 8, rebuilt after the battle with its result: a defeat leaves the tribe
// its hope or not, a victory is the best ending.
void writeBossCase(Npc& npc) {
    if (story.currentQuest != 8) {
        return;
    }
    writeCase(npc, kBossShowdown);
    if (npc.battleResult == 0) {
        story.endingId = story.hope > kHopeThreshold ? 4 : 3;
    } else if (npc.battleResult == 1) {
        story.endingId = 5;
    }
}

// Writes the speaker's case; returns whether it keeps its choice quests and end quest.
bool writeSpeakerCase(int speaker, Npc& npc) {
    switch (speaker) {
    case kSage:
        writeCase(npc, sageCase());
        return sageCase().kept;
    case kHonani:
        writeCase(npc, honaniCase());
        if (&honaniCase() == &kHonaniWaitsForApples) {
            npc.lines[0] += std::to_string(3 - story.applesDelivered);
        }
        return honaniCase().kept;
    case kTrainer: {
        const ScriptCase& script = trainerCase();
        writeCase(npc, script);
        return script.kept;
    }
    case kJohn:
    case kLuke:
        return writeInvaderCase(npc, kInvaderTexts[speaker - kJohn]);
    case kCrisocione:
        return writeCrisocioneCase(npc);
    case kBoss:
        writeBossCase(npc);
        return false;
    case kItemMessage:
        writeCase(npc, kItemFound);
        npc.lines[0] += story.equipment[story.itemFound ? 1 : 0].name;
        return false;
    case kAttackTrainingMessage:
        writeCase(npc, kAttackTrained);
        return false;
    case kArmourTrainingMessage:
        writeCase(npc, kArmourTrained);
        return false;
    default:
        writeCase(npc, kNothingToSay);
        return false;
    }
}

} // namespace

void loadDialogueScript(int speaker) {
    if (speaker < 0 || speaker >= kRosterSize) {
        return;
    }
    Npc& npc = npcs[speaker];
    for (std::string& label : npc.choiceLabels) {
        label.clear();
    }
    if (!writeSpeakerCase(speaker, npc)) {
        for (std::int32_t& quest : npc.choiceQuest) {
            quest = -1;
        }
        npc.questOnEnd = -1;
    }
}

bool trainerQuestionAnswered() {
    return npcs[kTrainer].talkedTo && (story.trainedChoice[0] || story.trainedChoice[1]);
}
