// resources.cpp -- the loaded-once objects of the game.
#include "shell/resources.h"

#include "shell/displayWatch.h"
#include "shell/sheetLoader.h"

namespace {

// The window and the textures below open the display as soon as they are constructed, before
// main(), and SFML aborts the process when there is none: say so plainly and stop instead.
const bool displayOpens = requireDisplay(); // before any resource below is constructed

} // namespace

sf::RenderWindow window;
sf::View camera;
sf::View screenView;

sf::Texture tileSheet;
sf::Texture objectSheet;
sf::Font pixelFont;
sf::Texture npcSheet;
sf::Texture descriptionSheet;
sf::Texture speechSheet;
sf::Texture talkSheet;
sf::Texture iconSheet;
sf::Texture battleBackground;
sf::Texture weaponSheet;
sf::Texture heroSheet;
bool tileSheetOpaque = false;

GameMusic worldMusic;
GameMusic screenMusic;

sf::RectangleShape tileCursor;

LoopClocks clocks;
GameThreads threads;

void startLoopClocks() {
    clocks.frameClock.restart();
    clocks.typingClock.restart();
    clocks.lastTypedAt = clocks.typingClock.getElapsedTime();
    clocks.screenClock.restart();
    clocks.screenNow = clocks.screenClock.getElapsedTime();
    clocks.screenMark = clocks.screenClock.getElapsedTime();
}

void startAnimClock() {
    clocks.animClock.restart();
    clocks.animNow = clocks.animClock.getElapsedTime();
    clocks.animLast = clocks.animClock.getElapsedTime();
}

bool loadGroundSheet(const std::string& path) {
    tileSheetOpaque = false;
    bool opaque = false;
    if (!loadSheet(tileSheet, path, &opaque)) {
        return false;
    }
    tileSheet.setSmooth(true);
    tileSheetOpaque = opaque;
    return true;
}
