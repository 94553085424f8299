// endings.cpp -- the endings and their check.
#include "story/endings.h"

#include "shell/gameState.h"

namespace {
constexpr int kHopeThreshold = 70; // above it the people still follow Kaiva
}

const char* const kEndingTexts[kEndingCount] = {
    "Tutti hanno perso la speranza in te per le tue azioni",
    "Kaiva e' scappata ma il popolo aveva poca speranza in lei e non l'hanno seguita",
    "Kaiva e' scappata insieme al suo popolo grazie alla loro alta speranza in lei",
    "Kaiva non ha battuto il boss e tutti sono stati rapiti'",
    "Kaiva non ha battuto il boss ma nonostante cio' ha lasciato la speranza alla tribu' cosi' "
    "da poter ribellarsi contro gli Invasori",
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
