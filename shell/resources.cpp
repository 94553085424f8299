// resources.cpp -- the loaded-once objects of the game.
#include "shell/resources.h"

#include "shell/assetFiles.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <iostream>

namespace {

// The window and the textures below open the X display as soon as they are constructed, before
// main(), and SFML aborts the process when there is none: say so plainly and stop instead.
bool requireDisplay() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        const char* name = std::getenv("DISPLAY");
        std::cerr << "kaiva: no X display could be opened (DISPLAY is "
                  << (name != nullptr ? name : "not set") << "); the game needs one" << std::endl;
        std::exit(1);
    }
    XCloseDisplay(display);
    return true;
}

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
    sf::Image image;
    tileSheetOpaque = false;
    if (!assetMayBeOpened(path) || !image.loadFromFile(path) || !tileSheet.loadFromImage(image)) {
        tileSheet = sf::Texture();
        return false;
    }
    tileSheet.setSmooth(true);
    const sf::Uint8* pixels = image.getPixelsPtr();
    const std::size_t bytes = std::size_t{image.getSize().x} * image.getSize().y * 4;
    tileSheetOpaque = true;
    for (std::size_t alpha = 3; alpha < bytes; alpha += 4) {
        if (pixels[alpha] != 255) {
            tileSheetOpaque = false;
            break;
        }
    }
    return true;
}
