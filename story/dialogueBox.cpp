// dialogueBox.cpp -- opening, typing, stepping, choosing and ending conversations, and the box.
#include "story/dialogueBox.h"

#include "battle/battleRules.h"
#include "shell/gameState.h"
#include "shell/input.h"
#include "shell/picture.h"
#include "shell/resources.h"
#include "shell/text.h"
#include "story/dialogueScript.h"
#include "world/characters.h"
#include "world/heroine.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>

#include <algorithm>
#include <mutex>
#include <string_view>

namespace {

const sf::Time kTypingPeriod = sf::milliseconds(50);
constexpr std::int16_t kStanding = 4;
constexpr float kPushUp = 100; // a character that speaks first lets the heroine go this far up

// The box's layout, in screen pixels of the 1920 x 1080 picture.
const sf::Vector2f kBoxSize(960, 384);
const sf::Vector2f kBoxAt(960 - 960 / 2, 980 - 384);
const sf::IntRect kBoxPicture(0, 240, 480, 240);
const sf::Vector2f kPlateSize(336, 96);
const sf::Vector2f kPlateAt(kBoxAt.x + 75, kBoxAt.y - 96 / 2 + 20);
const sf::IntRect kPlatePicture(0, 0, 240, 80);
const sf::Vector2f kNameAt(kPlateAt.x + 28, kPlateAt.y + 7 + 16);
constexpr unsigned kLineTextSize = 36;
const sf::Vector2f kFirstRowAt(kBoxAt.x + 50, kBoxAt.y + 70);
constexpr float kRowSpacing = 45;
const sf::Vector2f kButtonSize((960 - 150) / 2, 384 / 4);
const sf::IntRect kButtonPicture(0, 80, 320, 80);
const sf::IntRect kHoveredButtonPicture(0, 160, 320, 80);
constexpr unsigned kLabelTextSize = 25;
constexpr float kLabelInset = 25;
const sf::Vector2f kArrowSize(48, 48);
const sf::Vector2f kArrowAt(kBoxAt.x + 960 - 65 - 48, kBoxAt.y + 384 - 50 - 48);
const sf::IntRect kArrowPicture(160, 0, 160, 160);

const std::string kNoLine; // what a line outside the tables reads as

bool isRosterSlot(int index) {
    return index >= 0 && index < kRosterSize;
}

bool isChoice(int index) {
    return index >= 0 && index < kChoices;
}

const std::string& lineOf(int speaker, int line) {
    if (!isRosterSlot(speaker) || line < 0 || line >= kDialogueLines) {
        return kNoLine;
    }
    return npcs[speaker].lines[line];
}

int lineLength() {
    return static_cast<int>(currentLine().size());
}

void startNextLine() {
    conversation.typedChars = 0;
    conversation.lineComplete = false;
}

// The speaker turns back to what it was doing, its picture as `picture`.
void releaseSpeaker(Npc& speaker, const sf::IntRect& picture) {
    std::lock_guard<std::mutex> lock(rosterLock());
    speaker.direction = speaker.restDirection;
    speaker.sprite.setTextureRect(picture);
}

// A chapter card held back for a find's message is due once that message ends.
void announceChapterHeldBack() {
    if (conversation.chapterAfterMessage) {
        conversation.chapterAfterMessage = false;
        story.transitionPending = true;
    }
}

void closeConversation() {
    conversation.highlightedChoice = -1;
    conversation.dialogueOpen = false;
    conversation.activeNpc = -1;
    conversation.dialogueLine = 0;
    conversation.questChosen = false;
}

// An E press reached an empty line. A character that speaks first lets the heroine pass 100
// pixels up, out of its reach, or it would speak again at once; the push stops where the cells
// above would block her feet, which could otherwise end inside a ravine with no way out.
void endConversationByKey() {
    Npc& speaker = npcs[conversation.activeNpc];
    if (speaker.startsTalk) {
        const float push = roomAbove(kPushUp);
        {
            std::lock_guard<std::mutex> lock(heroineLock());
            heroine.move(0, -push);
        }
        // Where the push stopped short she may still be in its reach: it waits until she leaves.
        if (push < kPushUp) {
            conversation.heldBackSpeaker = conversation.activeNpc;
        }
    }
    speaker.talkedTo = true;
    const int chosen = conversation.hoveredChoice;
    const bool choseQuest = isChoice(chosen) && speaker.choiceQuest[chosen] != -1;
    if (choseQuest || speaker.questOnEnd != -1) {
        if (speaker.questOnEnd != -1) {
            story.currentQuest = speaker.questOnEnd;
        }
        story.transitionPending = true;
    }
    releaseSpeaker(speaker, speaker.savedTextureRect);
    closeConversation();
    announceChapterHeldBack();
}

// A choice took the conversation to an empty line: the quest was already changed by the choice.
void endConversationByChoice(int chosen) {
    Npc& speaker = npcs[conversation.activeNpc];
    speaker.talkedTo = true;
    conversation.dialogueOpen = false;
    if (speaker.choiceQuest[chosen] != -1) {
        story.transitionPending = true;
    }
    releaseSpeaker(speaker,
                   {0, speaker.spriteRow * kNpcFramePixels, kNpcFramePixels, kNpcFramePixels});
    closeConversation();
    announceChapterHeldBack();
}

void advanceConversation() {
    if (!conversation.lineComplete) {
        conversation.lineComplete = true;
        conversation.typedChars = lineLength();
        return;
    }
    const Npc& speaker = npcs[conversation.activeNpc];
    if (conversation.dialogueLine == speaker.choiceLine) {
        return; // the choice must be clicked
    }
    conversation.dialogueLine += 1;
    startNextLine();
    if (conversation.dialogueLine == speaker.battleLine) {
        startBattle();
    }
    if (currentLine().empty()) {
        endConversationByKey();
    }
}

// A choice button drawn now: the choice line shows its buttons and this one has a label.
bool isShownButton(int k) {
    return isChoice(k) && choiceButtonsShowing() &&
           !npcs[conversation.activeNpc].choiceLabels[k].empty();
}

// The next shown button from `from` by `step` (1 or -1) in reading order; -1 when there is none.
int nextShownButton(int from, int step) {
    for (int k = from + step; isChoice(k); k += step) {
        if (isShownButton(k)) {
            return k;
        }
    }
    return -1;
}

// The one place a choice is taken, by the mouse, a key or the pad alike: the trainer's skill, the
// hope, the Boss's flight, the next quest, the jump in the lines, and the end of the talk when the
// next line is empty. It leaves the trace a click leaves: hoveredChoice holds the choice, which an
// end by E reads.
void takeChoice(int chosen) {
    conversation.hoveredChoice = static_cast<std::int16_t>(chosen);
    conversation.highlightedChoice = -1;
    Npc& speaker = npcs[conversation.activeNpc];
    if (story.currentQuest == 4 && chosen < 2) { // the trainer's question
        story.trainedChoice[chosen] = true;
    }
    story.hope += speaker.choiceHope[chosen];
    if (conversation.activeNpc == kBoss && chosen == 0) { // "Scappa"
        story.fled = true;
    }
    if (speaker.choiceQuest[chosen] != -1) {
        story.currentQuest = speaker.choiceQuest[chosen];
        conversation.questChosen = true;
    }
    if (speaker.choiceSkip[chosen] != -1) {
        conversation.dialogueLine += speaker.choiceSkip[chosen];
    }
    conversation.dialogueLine += 1;
    startNextLine();
    if (currentLine().empty()) {
        endConversationByChoice(chosen);
    }
}

// The box's shapes and texts, kept between frames: a frame takes no memory once its words have
// been seen, and a row whose words did not change is not laid out again. A line longer than the
// kept rows shares the last one. Main thread only.
constexpr int kKeptRows = 8;
struct BoxPieces {
    sf::RectangleShape picture; // every sheet picture in turn
    sf::Text name;
    sf::Text rows[kKeptRows];
    sf::Text labels[kChoices];
};
BoxPieces box;

// Which of the talk sheet's pictures are opaque: drawn without blending, and the world is not
// drawn under the box and its plate. Noted at start-up.
struct OpaquePictures {
    bool box = false;
    bool plate = false;
    bool button = false;
    bool litButton = false;
};
OpaquePictures opaque;

void drawPicture(sf::RenderTarget& target, sf::Vector2f size, sf::Vector2f at,
                 const sf::Texture& sheet, const sf::IntRect& picture, bool isOpaque = false) {
    drawSheetPicture(target, box.picture, size, at, sheet, picture, blendFor(isOpaque));
}

void drawText(sf::RenderTarget& target, sf::Text& shown, std::string_view words, unsigned size,
              sf::Vector2f at) {
    shown.setFont(pixelFont);
    shown.setCharacterSize(size);
    setDisplayWords(shown, words);
    shown.setPosition(at);
    target.draw(shown);
}

// Rows 0 to typedChars / 46 of the line: whole rows of 46 characters, then the typed part of the
// last one.
void drawRows(sf::RenderTarget& target, const std::string& line) {
    const int typed = std::min(conversation.typedChars, static_cast<int>(line.size()));
    const int lastRow = conversation.typedChars / kRowCharacters;
    for (int row = 0; row <= lastRow; ++row) {
        const int first = row * kRowCharacters;
        const int end = row < lastRow ? first + kRowCharacters : typed;
        if (first >= static_cast<int>(line.size()) || end <= first) {
            break;
        }
        const int count = std::min(end, static_cast<int>(line.size())) - first;
        drawText(target, box.rows[std::min(row, kKeptRows - 1)],
                 std::string_view(line).substr(static_cast<std::size_t>(first),
                                               static_cast<std::size_t>(count)),
                 kLineTextSize, {kFirstRowAt.x, kFirstRowAt.y + kRowSpacing * row});
    }
}

// Two rows of two buttons, drawn for the non-empty labels; the one under the mouse is lit and
// becomes hoveredChoice, which is -1 when the mouse is over none. The one the keys or the pad
// highlight is lit alike.
void drawChoiceButtons(sf::RenderTarget& target, const Npc& speaker) {
    conversation.hoveredChoice = -1;
    const float boxBottom = kBoxAt.y + kBoxSize.y;
    for (int k = 0; k < kChoices; ++k) {
        if (speaker.choiceLabels[k].empty()) {
            continue;
        }
        const int i = k / 2; // row
        const int j = k % 2; // column
        const sf::Vector2f at(kBoxAt.x + 50 + 50 * j + kButtonSize.x * j,
                              boxBottom - kButtonSize.y * (2.7f - i) + 25 * i);
        const float mx = static_cast<float>(world.mouseWindow.x);
        const float my = static_cast<float>(world.mouseWindow.y);
        const bool hovered =
            at.x <= mx && mx <= at.x + kButtonSize.x && at.y <= my && my <= at.y + kButtonSize.y;
        if (hovered) {
            conversation.hoveredChoice = static_cast<std::int16_t>(k);
        }
        const bool lit = hovered || k == conversation.highlightedChoice;
        drawPicture(target, kButtonSize, at, talkSheet,
                    lit ? kHoveredButtonPicture : kButtonPicture,
                    lit ? opaque.litButton : opaque.button);
        drawText(target, box.labels[k], speaker.choiceLabels[k], kLabelTextSize,
                 {at.x + kLabelInset, at.y + kLabelInset});
    }
}

} // namespace

bool choiceButtonsShowing() {
    const int speaker = conversation.activeNpc;
    return conversation.dialogueOpen && isRosterSlot(speaker) && npcs[speaker].choiceLine != -1 &&
           conversation.dialogueLine == npcs[speaker].choiceLine && conversation.lineComplete;
}

const std::string& currentLine() {
    return lineOf(conversation.activeNpc, conversation.dialogueLine);
}

void openConversation(int speaker) {
    if (!isRosterSlot(speaker)) {
        return;
    }
    loadDialogueScript(speaker);
    Npc& npc = npcs[speaker];
    {
        std::lock_guard<std::mutex> lock(rosterLock());
        npc.restDirection = npc.direction;
        npc.savedTextureRect = npc.sprite.getTextureRect();
        npc.direction = kStanding;
    }
    conversation.highlightedChoice = -1;
    conversation.dialogueOpen = true;
    conversation.questChosen = false;
}

void openConversationOfCharacterInReach() {
    const int speaker = conversation.activeNpc;
    // Not under the inventory: a talk opened there could be neither seen nor left (E and Tab both
    // wait for the other to close). It opens as soon as the inventory closes.
    if (isRosterSlot(speaker) && npcs[speaker].startsTalk && !conversation.dialogueOpen &&
        !story.inventoryOpen && speaker != conversation.heldBackSpeaker) {
        openConversation(speaker);
    }
}

void noteTalkTarget() {
    if (conversation.activeNpc != conversation.heldBackSpeaker) {
        conversation.heldBackSpeaker = -1; // she has left its reach
    }
}

void interruptConversation() {
    if (!conversation.dialogueOpen || !isRosterSlot(conversation.activeNpc)) {
        return;
    }
    Npc& speaker = npcs[conversation.activeNpc];
    if (conversation.questChosen) {
        conversation.chapterAfterMessage = true; // announced once the message has ended
    }
    releaseSpeaker(speaker, speaker.savedTextureRect);
    closeConversation();
    startNextLine();
}

void typeDialogue() {
    if (clocks.typingClock.getElapsedTime() - clocks.lastTypedAt < kTypingPeriod ||
        !conversation.dialogueOpen || conversation.lineComplete || battle.inBattle) {
        return;
    }
    conversation.typedChars += 1;
    conversation.lineComplete = conversation.typedChars >= lineLength();
    clocks.typingClock.restart();
    clocks.lastTypedAt = clocks.typingClock.getElapsedTime();
}

void pressTalkKey() {
    if (!isRosterSlot(conversation.activeNpc)) {
        return;
    }
    if (!conversation.dialogueOpen) {
        openConversation(conversation.activeNpc);
    } else {
        advanceConversation();
    }
}

void clickChoice() {
    const int chosen = conversation.hoveredChoice;
    if (isMouseButtonHeld(sf::Mouse::Left) && isChoice(chosen) && choiceButtonsShowing()) {
        takeChoice(chosen);
    }
}

void chooseButton(int k) {
    if (isShownButton(k)) {
        takeChoice(k);
    }
}

void moveChoiceHighlight(int step) {
    if (!choiceButtonsShowing() || step == 0) {
        return;
    }
    const int lit = conversation.highlightedChoice;
    int next = lit;
    if (!isShownButton(lit)) { // the first push lights the end it points to
        next = step < 0 ? nextShownButton(-1, 1) : nextShownButton(kChoices, -1);
    } else if (const int beyond = nextShownButton(lit, step); beyond != -1) {
        next = beyond;
    }
    conversation.highlightedChoice = static_cast<std::int16_t>(next);
}

void takeHighlightedChoice() {
    if (isShownButton(conversation.highlightedChoice)) {
        takeChoice(conversation.highlightedChoice);
    } else if (choiceButtonsShowing()) {
        conversation.highlightedChoice = static_cast<std::int16_t>(nextShownButton(-1, 1));
    }
}

void noteDialogueBoxOpacity() {
    const sf::Image sheet = talkSheet.copyToImage();
    opaque.box = opaqueCell(sheet, kBoxPicture);
    opaque.plate = opaqueCell(sheet, kPlatePicture);
    opaque.button = opaqueCell(sheet, kButtonPicture);
    opaque.litButton = opaqueCell(sheet, kHoveredButtonPicture);
}

void addDialogueBoxCover(Cover& cover) {
    if (!isRosterSlot(conversation.activeNpc)) {
        return; // no box is drawn
    }
    if (opaque.box) {
        cover.add({kBoxAt, kBoxSize});
    }
    if (opaque.plate) {
        cover.add({kPlateAt, kPlateSize});
    }
}

void fillLineToRows(std::string& line) {
    for (std::size_t k = 1; k <= line.size() / kRowCharacters; ++k) {
        const std::size_t rowEnd = kRowCharacters * k; // where the next row starts
        const std::size_t rowStart = rowEnd - kRowCharacters;
        const std::size_t blank = line.find_last_of(' ', rowEnd - 1);
        if (blank == std::string::npos || blank < rowStart) {
            continue; // a word longer than a row is left as it is
        }
        const std::size_t word = blank + 1;
        if (word < rowEnd && word < line.size()) {
            line.insert(word, rowEnd - word, ' ');
        }
    }
}

void drawDialogueBox(sf::RenderTarget& target) {
    const int speakerIndex = conversation.activeNpc;
    if (!isRosterSlot(speakerIndex)) {
        return;
    }
    Npc& speaker = npcs[speakerIndex];
    drawPicture(target, kBoxSize, kBoxAt, talkSheet, kBoxPicture, opaque.box);
    drawPicture(target, kPlateSize, kPlateAt, talkSheet, kPlatePicture, opaque.plate);
    drawText(target, box.name, speaker.name, kLineTextSize, kNameAt);
    if (conversation.dialogueLine >= 0 && conversation.dialogueLine < kDialogueLines) {
        fillLineToRows(speaker.lines[conversation.dialogueLine]);
    }
    const std::string& line = currentLine();
    drawRows(target, line);
    if (choiceButtonsShowing()) {
        drawChoiceButtons(target, speaker);
    } else if (conversation.typedChars == static_cast<int>(line.size()) &&
               !lineOf(speakerIndex, conversation.dialogueLine + 1).empty()) {
        drawPicture(target, kArrowSize, kArrowAt, iconSheet, kArrowPicture);
    }
}
