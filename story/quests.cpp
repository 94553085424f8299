// quests.cpp -- the quest table.
#include "story/quests.h"

Quest quests[kQuestCount];

namespace {

struct QuestText {
    const char* title;
    const char* objective;
};

// Quests 1, 5 and 9 to 19 are never reached by the story.
constexpr QuestText kQuestTexts[] = {
    {"Il Vecchio", "Parla con il Saggio del villaggio"},
    {"Capitolo II", "Spia gli invasori"},
    {"Pericolo Imminente", "Avverti il villaggio"},
    {"Prepara le scorte", "Raccogli 3 mele e portale nelle ceste"},
    {"Allenamento intensivo", "Allenati al campo d'addestramento"},
    {"Void", "Void"},
    {"Faccia a Faccia", "Sconfiggi gli invasori ad EST per ottenere informazioni"},
    {"Una meta lontana", "Raggiungi il Deserto"},
    {"La resa dei Conti", "Affronta il Boss nel deserto"},
};
constexpr int kNamedQuests = sizeof(kQuestTexts) / sizeof(kQuestTexts[0]);

} // namespace

void initQuest(int index) {
    if (index < 0 || index >= kQuestCount) {
        return;
    }
    Quest& quest = quests[index];
    const QuestText text = index < kNamedQuests ? kQuestTexts[index] : QuestText{"Void", "Void"};
    quest.title = text.title;
    quest.objective = text.objective;
    if (index == 0) {
        quest.transitionKind = 0;
    }
}

void resetQuests() {
    for (Quest& quest : quests) {
        quest = Quest{};
    }
}
