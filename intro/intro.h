// intro.h -- the opening flight over the world, with the credit cards, the studio line and the
// title, played once as the transition screen of the first quest.
#pragma once

#include "shell/gameClock.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/View.hpp>

// The eight legs of the flight: 0..7 while flying, 8 once it is over.
constexpr int kIntroLegs = 8;

// One frame of the intro, drawn over the world in screen pixels (the target's view is the
// screen's). The first call stops the world theme, starts the intro theme and puts the camera at
// the start of the flight; every call at least 1 ms after the last step (screenMark) flies one
// step and draws its leg's caption; the call that finishes the last leg stops the theme, clears
// story.introRunning and hands the current quest over to the chapter card.
void showIntro(sf::RenderTarget& target, sf::Time screenNow, sf::Time& screenMark,
               GameClock screenClock, sf::View& camera);

// The caption drawn while leg `leg` (0..7) is flown: string, size, colours and place.
sf::Text introCaption(int leg);
