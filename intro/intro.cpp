// intro.cpp -- the opening flight: eight straight legs of the camera over the world, each with its
// caption, paced one step per frame.
#include "intro/intro.h"

#include "shell/gameState.h"
#include "shell/resources.h"
#include "shell/screenLayout.h"
#include "shell/text.h"
#include "story/quests.h"
#include "world/tileGrid.h"
#include "world/visibleWindow.h"

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

// One step: the leg's move and caption while its test holds; otherwise the next leg begins, and
// this step neither moves nor draws.
void flyStep(sf::RenderTarget& target, sf::View& camera) {
    const int legIndex = screens.introLeg;
    if (legIndex < 0 || legIndex >= kIntroLegs) {
        return;
    }
    const FlightLeg& leg = kFlight[legIndex];
    if (!stillFlying(leg, camera.getCenter())) {
        screens.introLeg = legIndex + 1;
        return;
    }
    camera.move(leg.move);
    target.draw(introCaption(legIndex));
}

// The hand-over: from the next frame the first quest's chapter card plays, transitionPending
// being still set.
void endIntro() {
    screenMusic.stop();
    story.introRunning = false;
    quests[story.currentQuest].transitionKind = -1;
}

} // namespace

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
    if (!story.introRunning) {
        beginIntro(camera);
    }
    if (screenNow - screenMark >= kStepPeriod) {
        flyStep(target, camera);
        screenMark = screenClock.getElapsedTime();
    }
    if (screens.introLeg == kIntroLegs) {
        endIntro();
    }
}
