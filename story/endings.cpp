// endings.cpp -- the endings and their check.
#include "story/endings.h"

#include "shell/gameState.h"
#include "shell/resources.h"
#include "shell/text.h"

#include <SFML/Graphics/Text.hpp>

#include <string_view>

namespace {

constexpr int kHopeThreshold = 70; // above it the people still follow Kaiva
constexpr unsigned kEndSize = 128;
constexpr unsigned kSentenceSize = 36;
constexpr unsigned kLeaveSize = 24;
constexpr float kLineGap = 250;
const char* const kEnd = "FINE";
const char* const kHowToLeave = "Premi INVIO per concludere";

// The screen's three lines, kept between frames: the same words are not laid out again. Main
// thread only.
sf::Text endLine;
sf::Text sentenceLine;
sf::Text leaveLine;

// Sets the text's words and size and centres it on x = 960 by its global bounds at this y.
void centre(sf::Text& text, std::string_view words, unsigned size, float y) {
    text.setFont(pixelFont);
    setDisplayWords(text, words);
    text.setCharacterSize(size);
    text.setPosition(0, y);
    text.setPosition(960 - text.getGlobalBounds().width / 2, y);
}

} // namespace

const char* const kEndingTexts[kEndingCount] = {
    "Tutti hanno perso la speranza in te per le tue azioni",
    "Kaiva e' scappata ma il popolo aveva poca speranza in lei e non l'hanno seguita",
    "Kaiva e' scappata insieme al suo popolo grazie alla loro alta speranza in lei",
    "Kaiva non ha battuto il boss e tutti sono stati rapiti'",
    ("Kaiva non ha battuto il boss ma nonostante cio' ha lasciato la speranza alla tribu' cosi' "
     "da poter ribellarsi contro gli Invasori"), // one sentence, split over two lines
    "Kaiva ha vinto per ora...",
};

void checkEnding() {
    if (story.hope == 0) {
        story.endingId = 0;
    } else if (story.fled) {
        story.endingId = story.hope > kHopeThreshold ? 2 : 1;
    }
    if (story.endingId >= 0 && story.endingId < kEndingCount) {
        story.endingText = kEndingTexts[story.endingId];
    }
}

void drawEndingScreen(sf::RenderTarget& target) {
    centre(endLine, kEnd, kEndSize, 0);
    const float endY = 540 - 2 * endLine.getGlobalBounds().height;
    centre(endLine, kEnd, kEndSize, endY);
    target.draw(endLine);
    centre(sentenceLine, story.endingText, kSentenceSize, endY + kLineGap);
    target.draw(sentenceLine);
    centre(leaveLine, kHowToLeave, kLeaveSize, endY + 2 * kLineGap);
    target.draw(leaveLine);
}
