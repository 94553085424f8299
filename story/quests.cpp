// quests.cpp -- the quest table.
#include "story/quests.h"

#include "shell/gameState.h"
#include "shell/resources.h"
#include "shell/text.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>

#include <string>

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

const Quest kNoQuest{"", "", 1}; // plays no transition screen

// The HUD's layout, in screen pixels.
const sf::Vector2f kQuestIconAt(25, 25);
constexpr float kQuestIconSize = 96;
const sf::IntRect kQuestIconPicture(320, 0, 160, 160);
const sf::Vector2f kRuleSize(300, 2);
const sf::Vector2f kRuleAt(kQuestIconAt.x + kQuestIconSize,
                           kQuestIconAt.y + kQuestIconSize / 2 - kRuleSize.y / 2);
const sf::Color kRuleColour(251, 242, 54, 255);
constexpr unsigned kTitleSize = 32;
const unsigned kObjectiveSize = static_cast<unsigned>(kTitleSize / 1.5);
constexpr unsigned kHopeSize = 36;
constexpr float kHopeIconSize = 64;
const sf::Vector2f kHopeIconAt(25, 96 + 37.5f);
const sf::Vector2f kHopeAt(25 + kHopeIconSize + 12, kHopeIconAt.y + 8);
const sf::IntRect kHopeIconPicture(0, 0, 160, 160);
constexpr float kOutline = 2;
const sf::Color kBlack(0, 0, 0, 255);

// The HUD's shapes and texts, kept between frames: a frame takes no memory, and a text whose words
// did not change is not laid out again. Main thread only.
struct HudPieces {
    sf::RectangleShape questIcon;
    sf::RectangleShape rule;
    sf::RectangleShape hopeIcon;
    sf::Text title;
    sf::Text objective;
    sf::Text hope;
};
HudPieces hud;

void drawIcon(sf::RenderTarget& target, sf::RectangleShape& icon, sf::Vector2f at, float size,
              const sf::IntRect& picture) {
    icon.setSize({size, size});
    icon.setPosition(at);
    icon.setTexture(&iconSheet);
    icon.setTextureRect(picture);
    target.draw(icon);
}

// White with a black outline, like every HUD text.
void drawHudText(sf::RenderTarget& target, sf::Text& text, const std::string& words, unsigned size,
                 sf::Vector2f at) {
    text.setFont(pixelFont);
    text.setFillColor(sf::Color::White);
    text.setOutlineThickness(kOutline);
    text.setOutlineColor(kBlack);
    setDisplayWords(text, words);
    text.setCharacterSize(size);
    text.setPosition(at);
    target.draw(text);
}

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

const Quest& currentQuestRecord() {
    const int index = story.currentQuest;
    return index >= 0 && index < kQuestCount ? quests[index] : kNoQuest;
}

void drawHud(sf::RenderTarget& target) {
    const Quest& quest = currentQuestRecord();
    drawIcon(target, hud.questIcon, kQuestIconAt, kQuestIconSize, kQuestIconPicture);
    hud.rule.setSize(kRuleSize);
    hud.rule.setPosition(kRuleAt);
    hud.rule.setFillColor(kRuleColour);
    hud.rule.setOutlineThickness(kOutline);
    hud.rule.setOutlineColor(kBlack);
    target.draw(hud.rule);
    drawHudText(target, hud.title, quest.title, kTitleSize,
                {kRuleAt.x + 5, kRuleAt.y - 10 - static_cast<float>(kTitleSize)});
    drawHudText(target, hud.objective, quest.objective, kObjectiveSize,
                {kRuleAt.x + 5, kRuleAt.y + 10});
    drawHudText(target, hud.hope, std::to_string(story.hope), kHopeSize, kHopeAt);
    drawIcon(target, hud.hopeIcon, kHopeIconAt, kHopeIconSize, kHopeIconPicture);
}
