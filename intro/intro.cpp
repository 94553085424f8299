// intro.cpp -- the opening flight: eight straight legs of the camera over the world, each with its
// caption, paced one step per frame.
#include "intro/intro.h"

#include "shell/gameState.h"
#include "shell/input.h"
#include "shell/resources.h"
#include "shell/screenLayout.h"
#include "shell/text.h"
#include "story/quests.h"
#include "world/tileGrid.h"
#include "world/visibleWindow.h"

#include <SFML/Graphics/RectangleShape.hpp>

#include <algorithm>

namespace {

// The screen's half size in pixels, taken as its size in cells: the window reaches far beyond the
// grid on every side, so it is the whole clamped grid while the camera flies over it.
constexpr int kFlightWindowWide = 960;
constexpr int kFlightWindowHigh = 540;

const sf::Time kStepPeriod = sf::milliseconds(1);
const sf::Vector2f kFlightStart(4800, 2000);
constexpr float kCruise = 4.2f;            // pixels per step
constexpr float kFinalClimb = -1.9090908f; // the slow last leg, pixels per step upwards

const char* const kIntroTheme = "./assets/music/introMusic.wav";
constexpr float kIntroThemeVolume = 100;

constexpr unsigned kCardSize = 46;
constexpr unsigned kTitleSize = 72;
constexpr float kOutlineThickness = 3;

// The credit cards: the heading, a line break, then each name followed by a line break.
const char* const kGameArtCard = "Game Art: \nLiria Fosconti\nDario Melvezzi\n";
const char* const kWrittenByCard = "Written By: \nSelma Arquinte\nTeo Brunavalle\n";
const char* const kProgrammingCard = "Programming: \nCorrado Vennastri\nMirta Olendi\n";
const char* const kMusicCard = "Music: \nFabiola Trenzari\n";
const char* const kStudioLine = "Morvane Games present";
const char* const kTitle = "Kaiva\n";

const sf::Color kRed(255, 0, 0);
const sf::Color kGreen(0, 255, 0);
const sf::Color kCyan(0, 255, 255);
const sf::Color kMagenta(255, 0, 255);
const sf::Color kYellow(255, 255, 0);
const sf::Color kWhite(255, 255, 255);

// The skip: held this long, and its caption with a bar that fills meanwhile, in the lower right
// corner.
const sf::Time kSkipHold = sf::seconds(1);
const char* const kSkipCaptions[kSkipKeys] = {
    "Tieni premuto E per saltare", "Tieni premuto Invio per saltare",
    "Tieni premuto Spazio per saltare", "Tieni premuto A per saltare"};
constexpr unsigned kSkipTextSize = 24;
const sf::Vector2f kSkipCorner(1880, 1040); // the lower right corner of caption and bar
const sf::Vector2f kSkipBarSize(300, 12);
const sf::Color kSkipBarBack(0, 0, 0, 160);
const sf::Color kSkipBarFill(255, 255, 0);

// The skip's caption and bar, kept between frames. Main thread only.
struct SkipPieces {
    sf::Text caption;
    sf::RectangleShape back;
    sf::RectangleShape fill;
};
SkipPieces skipPieces;

struct Caption {
    const char* text;
    unsigned size;
    sf::Color fill;
    bool centred;
    sf::Vector2f at; // where it is drawn when it is not centred
};

const Caption kGameArt{kGameArtCard, kCardSize, kRed, false, {300, 440}};
const Caption kWrittenBy{kWrittenByCard, kCardSize, kGreen, false, {1220, 240}};
const Caption kProgramming{kProgrammingCard, kCardSize, kCyan, false, {1070, 740}};
const Caption kMusic{kMusicCard, kCardSize, kMagenta, false, {400, 240}};
const Caption kStudio{kStudioLine, kTitleSize, kYellow, true, {}};
const Caption kGameTitle{kTitle, kTitleSize, kWhite, true, {}};

// A leg is flown while the camera's centre, in cells (pixels / 100, single precision), passes its
// test against the limit.
enum class Axis { X, Y };
enum class Test { AtLeast, Above, Below };

struct FlightLeg {
    Axis axis;
    Test test;
    float limitCells;
    sf::Vector2f move; // per step
    const Caption& caption;
};

// West, north, west, south past the camp, south to the desert, west, north, and the slow rise on
// the title.
const FlightLeg kFlight[kIntroLegs] = {
    {Axis::X, Test::AtLeast, 37, {-kCruise, 0}, kGameArt},
    {Axis::Y, Test::AtLeast, 10, {0, -kCruise}, kWrittenBy},
    {Axis::X, Test::Above, 27, {-kCruise, 0}, kProgramming},
    {Axis::Y, Test::Below, 20, {0, kCruise}, kMusic},
    {Axis::Y, Test::Below, 50, {0, kCruise}, kStudio},
    {Axis::X, Test::Above, 10, {-kCruise, 0}, kStudio},
    {Axis::Y, Test::Above, 18, {0, -kCruise}, kGameTitle},
    {Axis::Y, Test::Above, 6, {0, kFinalClimb}, kGameTitle},
};

bool stillFlying(const FlightLeg& leg, sf::Vector2f centre) {
    const float cells = (leg.axis == Axis::X ? centre.x : centre.y) / kCellPixels;
    switch (leg.test) {
    case Test::AtLeast:
        return cells >= leg.limitCells;
    case Test::Above:
        return cells > leg.limitCells;
    case Test::Below:
        return cells < leg.limitCells;
    }
    return false;
}

// The first frame: the intro theme takes over from the world theme (a theme that does not open
// leaves the flight silent) and the camera jumps to where the flight begins.
void beginIntro(sf::View& camera) {
    worldMusic.stop();
    screenMusic.openFromFile(kIntroTheme);
    screenMusic.setVolume(kIntroThemeVolume);
    screenMusic.play();
    screenMusic.setLoop(true);
    camera.setCenter(kFlightStart);
    story.introRunning = true;
}

// One step of the flight: the leg's move while its test holds (true); otherwise the next leg
// begins, and this step does not move (false).
bool flightStep(sf::View& camera) {
    const int legIndex = screens.introLeg;
    if (legIndex < 0 || legIndex >= kIntroLegs) {
        return false;
    }
    const FlightLeg& leg = kFlight[legIndex];
    if (!stillFlying(leg, camera.getCenter())) {
        screens.introLeg = legIndex + 1;
        return false;
    }
    camera.move(leg.move);
    return true;
}

// One step, and its leg's caption when it moved.
void flyStep(sf::RenderTarget& target, sf::View& camera) {
    const int legIndex = screens.introLeg;
    if (flightStep(camera)) {
        target.draw(introCaption(legIndex));
    }
}

// The hand-over: from the next frame the first quest's chapter card plays, transitionPending
// being still set.
void endIntro() {
    screenMusic.stop();
    story.introRunning = false;
    quests[story.currentQuest].transitionKind = -1;
}

bool skipKeyHeld(int key) {
    switch (static_cast<SkipKey>(key)) {
    case SkipKey::E:
        return isKeyHeld(sf::Keyboard::E);
    case SkipKey::Enter:
        return isKeyHeld(sf::Keyboard::Enter);
    case SkipKey::Space:
        return isKeyHeld(sf::Keyboard::Space);
    case SkipKey::PadA:
        return isPadButtonHeld(PadButton::Bottom);
    }
    return false;
}

// The rest of the flight at once, step by step as the frames would fly it: the frame's intro then
// finds the last leg over and ends the flight as it ends a whole one.
void flyTheRest(sf::View& camera) {
    if (!story.introRunning) {
        beginIntro(camera);
    }
    while (screens.introLeg >= 0 && screens.introLeg < kIntroLegs) {
        flightStep(camera);
    }
}

void drawSkipCaption(sf::RenderTarget& target) {
    const int named = screens.skipKeyNamed;
    if (named < 0 || named >= kSkipKeys) {
        return;
    }
    sf::Text& caption = skipPieces.caption;
    caption.setFont(pixelFont);
    caption.setCharacterSize(kSkipTextSize);
    caption.setOutlineThickness(2);
    caption.setOutlineColor(sf::Color::Black);
    setDisplayWords(caption, kSkipCaptions[named]);
    const sf::FloatRect bounds = caption.getLocalBounds();
    caption.setPosition(kSkipCorner.x - bounds.left - bounds.width,
                        kSkipCorner.y - kSkipBarSize.y - 12 - bounds.top - bounds.height);
    target.draw(caption);
    const sf::Vector2f barAt(kSkipCorner.x - kSkipBarSize.x, kSkipCorner.y - kSkipBarSize.y);
    skipPieces.back.setSize(kSkipBarSize);
    skipPieces.back.setPosition(barAt);
    skipPieces.back.setFillColor(kSkipBarBack);
    skipPieces.back.setOutlineThickness(2);
    skipPieces.back.setOutlineColor(sf::Color::Black);
    target.draw(skipPieces.back);
    if (screens.skipKey != -1) {
        const float held = (gameTimeNow() - screens.skipHeldSince) / kSkipHold;
        skipPieces.fill.setSize({kSkipBarSize.x * std::clamp(held, 0.0f, 1.0f), kSkipBarSize.y});
        skipPieces.fill.setPosition(barAt);
        skipPieces.fill.setFillColor(kSkipBarFill);
        target.draw(skipPieces.fill);
    }
}

} // namespace

bool introFlying() {
    return story.endingId == -1 && !battle.inBattle && !story.inventoryOpen &&
           story.transitionPending && currentQuestRecord().transitionKind == 0;
}

void pressSkipKey(SkipKey key) {
    const int pressed = static_cast<int>(key);
    screens.skipKeyNamed = pressed;
    if (screens.skipKey != pressed) {
        screens.skipKey = pressed;
        screens.skipHeldSince = gameTimeNow();
    }
}

void holdToSkipIntro(sf::View& camera) {
    if (screens.swallowedKey != -1 && !skipKeyHeld(screens.swallowedKey)) {
        screens.swallowedKey = -1;
    }
    if (screens.skipKey == -1) {
        return;
    }
    if (!introFlying() || !skipKeyHeld(screens.skipKey)) {
        screens.skipKey = -1; // let go: the bar empties
        return;
    }
    if (gameTimeNow() - screens.skipHeldSince >= kSkipHold) {
        screens.swallowedKey = screens.skipKey;
        screens.skipKey = -1;
        screens.skipKeyNamed = -1;
        flyTheRest(camera);
    }
}

bool swallowsKey(SkipKey key) {
    return screens.swallowedKey == static_cast<int>(key);
}

bool skipKeyOf(sf::Keyboard::Key key, SkipKey& skip) {
    switch (key) {
    case sf::Keyboard::E:
        skip = SkipKey::E;
        return true;
    case sf::Keyboard::Enter:
        skip = SkipKey::Enter;
        return true;
    case sf::Keyboard::Space:
        skip = SkipKey::Space;
        return true;
    default:
        return false;
    }
}

sf::Text introCaption(int leg) {
    const Caption& caption = kFlight[leg].caption;
    sf::Text text;
    text.setFont(pixelFont);
    text.setOutlineThickness(kOutlineThickness);
    text.setOutlineColor(sf::Color::Black);
    text.setString(toDisplayString(caption.text));
    text.setCharacterSize(caption.size);
    text.setFillColor(caption.fill);
    if (!caption.centred) {
        text.setPosition(caption.at);
        return text;
    }
    // Centred on the size of the bounds alone: their offsets from the text's origin stay in.
    const sf::FloatRect bounds = text.getGlobalBounds();
    text.setPosition(kScreenWidth * 0.5f - bounds.width / 2,
                     kScreenHeight * 0.5f - bounds.height / 2);
    return text;
}

void showIntro(sf::RenderTarget& target, sf::Time screenNow, sf::Time& screenMark,
               GameClock screenClock, sf::View& camera) {
    updateVisibleWindow(camera, kFlightWindowWide, kFlightWindowHigh);
    if (gameTimeHeld()) { // paused: the flight stands where it is, its caption with it
        if (story.introRunning && screens.introLeg >= 0 && screens.introLeg < kIntroLegs) {
            target.draw(introCaption(screens.introLeg));
        }
        drawSkipCaption(target);
        return;
    }
    if (!story.introRunning) {
        beginIntro(camera);
    }
    if (screenNow - screenMark >= kStepPeriod) {
        flyStep(target, camera);
        screenMark = screenClock.getElapsedTime();
    }
    drawSkipCaption(target);
    if (screens.introLeg == kIntroLegs) {
        endIntro();
    }
}
