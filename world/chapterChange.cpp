// chapterChange.cpp -- the chapter card's veil, jingle, texts and timing.
#include "world/chapterChange.h"

#include "shell/gameState.h"
#include "shell/resources.h"
#include "shell/text.h"
#include "story/quests.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>

namespace {

constexpr int kHeldAlpha = 150; // the veil goes 0, 3, ..., 150 and back
constexpr int kFadeStep = 3;
const sf::Time kFadeStepPeriod = sf::milliseconds(10);
const sf::Time kHold = sf::milliseconds(3000);
constexpr unsigned kCardTextSize = 64;
constexpr float kJingleVolume = 50;

// The veil and the card's two lines, kept between frames: a frame takes no memory, and the same
// words are not laid out again. Main thread only.
sf::RectangleShape veil;
sf::Text titleLine;
sf::Text objectiveLine;

void drawCentred(sf::RenderTarget& target, sf::Text& text, const std::string& words, float y) {
    text.setFont(pixelFont);
    text.setCharacterSize(kCardTextSize);
    setDisplayWords(text, words);
    text.setPosition(0, 0);
    const float width = text.getGlobalBounds().width;
    text.setPosition(960 - width * 0.5f, y);
    target.draw(text);
}

void fadeStep(sf::Time screenNow, sf::Time& screenMark, const GameClock& screenClock) {
    const sf::Time since = screenNow - screenMark;
    if (!screens.fadingOut && screens.fadeAlpha < kHeldAlpha) {
        if (since >= kFadeStepPeriod) {
            screens.fadeAlpha += kFadeStep;
            screenMark = screenClock.getElapsedTime();
        }
    } else if (!screens.fadingOut) {
        if (since >= kHold) {
            screens.fadeAlpha = kHeldAlpha;
            screens.fadingOut = true;
            screenMark = screenClock.getElapsedTime();
        }
    } else if (since >= kFadeStepPeriod) {
        screens.fadeAlpha -= kFadeStep;
        screenMark = screenClock.getElapsedTime();
    }
}

} // namespace

void drawChapterChange(sf::RenderTarget& target, sf::Time screenNow, sf::Time& screenMark,
                       GameClock screenClock, bool drawVeil) {
    if (drawVeil) {
        veil.setSize({1920, 1080});
        veil.setFillColor(sf::Color(0, 0, 0, static_cast<sf::Uint8>(screens.fadeAlpha)));
        target.draw(veil);
    }
    // While the game's time is held (the pause) the card stands as it is: no step, no jingle.
    const bool timeRuns = !gameTimeHeld();
    if (timeRuns && screens.fadeAlpha == 0 && !screens.fadingOut) { // the card's first frame
        screenMusic.openFromFile("./assets/music/changeChapter.wav");
        screenMusic.setVolume(kJingleVolume);
        screenMusic.setLoop(false);
        screenMusic.play();
    }
    if (timeRuns) {
        fadeStep(screenNow, screenMark, screenClock);
    }
    if (screens.fadeAlpha == kHeldAlpha) {
        const Quest& quest = currentQuestRecord();
        drawCentred(target, titleLine, quest.title, 540 - 2 * static_cast<float>(kCardTextSize));
        drawCentred(target, objectiveLine, quest.objective,
                    540 + static_cast<float>(kCardTextSize));
    }
    if (screens.fadeAlpha <= 0 && screens.fadingOut) {
        screens.fadeAlpha = 0;
        screens.fadingOut = false;
        story.transitionPending = false;
        worldMusic.play();
    }
}
