// resources.cpp -- the loaded-once objects of the game.
#include "shell/resources.h"

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

GameMusic worldMusic;
GameMusic screenMusic;

sf::RectangleShape tileCursor;

LoopClocks clocks;
GameThreads threads;
