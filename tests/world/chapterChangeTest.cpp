// chapterChangeTest.cpp -- the chapter card's timeline on a clock the test drives: the jingle,
// fifty darkening steps, the texts only under the full veil, the three-second hold, the lifting
// and the world's music again.
#include "testSupport.h"

#include "shell/gameState.h"
#include "shell/input.h"
#include "shell/resources.h"
#include "story/quests.h"

#include <SFML/Graphics/RenderTexture.hpp>

namespace {

const std::string kAssets = KAIVA_ASSETS_DIR;

class ChapterCardTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        ASSERT_TRUE(screen.create(1920, 1080));
        ASSERT_TRUE(pixelFont.loadFromFile(kAssets + "/font/pixelTxt.ttf"));
        for (int i = 0; i < kQuestCount; ++i) {
            initQuest(i);
        }
        worldMusic.openFromFile(kAssets + "/music/worldHost.wav");
        worldMusic.play();
        story.currentQuest = 2;
        story.transitionPending = true;
    }
    void TearDown() override {
        PlayTest::TearDown();
        pixelFont = sf::Font();
    }

    // White pixels along the title's row: the card's text is showing.
    bool textShows() {
        screen.display();
        const sf::Image picture = screen.getTexture().copyToImage();
        int white = 0;
        for (unsigned x = 500; x < 1420; ++x) {
            white += picture.getPixel(x, 440) == sf::Color::White ? 1 : 0;
        }
        return white > 10;
    }

    sf::RenderTexture screen;
};

} // namespace

TEST_F(ChapterCardTest, DarkensInFiftyStepsHoldsThreeSecondsAndLifts) {
    playFrame(screen);
    EXPECT_EQ(screenMusic.openedFile(), "./assets/music/changeChapter.wav");
    EXPECT_FALSE(screenMusic.isLooping());
    EXPECT_EQ(screenMusic.volume(), 50);
    EXPECT_FALSE(worldMusic.isPlaying()); // stopped on every frame of the card
    EXPECT_EQ(screens.fadeAlpha, 3);

    int darkening = 1;
    while (screens.fadeAlpha < 150 && darkening < 100) {
        EXPECT_FALSE(textShows());
        playFrame(screen);
        ++darkening;
    }
    EXPECT_EQ(darkening, 50); // one step of 3 per frame of more than 10 ms
    EXPECT_TRUE(textShows());

    playFrame(screen, 2.9f); // the hold lasts 3000 ms from the last step
    EXPECT_EQ(screens.fadeAlpha, 150);
    EXPECT_FALSE(screens.fadingOut);
    EXPECT_TRUE(textShows());
    playFrame(screen, 0.2f);
    EXPECT_TRUE(screens.fadingOut);
    playFrame(screen);
    EXPECT_EQ(screens.fadeAlpha, 147);
    EXPECT_FALSE(textShows()); // gone from the first lifting step on
    EXPECT_FALSE(worldMusic.isPlaying());

    int lifting = 1;
    while (story.transitionPending && lifting < 100) {
        playFrame(screen);
        ++lifting;
    }
    EXPECT_EQ(lifting, 50);
    EXPECT_EQ(screens.fadeAlpha, 0);
    EXPECT_FALSE(screens.fadingOut);
    EXPECT_TRUE(worldMusic.isPlaying());
}

TEST_F(ChapterCardTest, AtMostOneStepPerFrameAndNoneWithinTenMilliseconds) {
    playFrame(screen);
    playFrame(screen, 0.005f);
    EXPECT_EQ(screens.fadeAlpha, 3);
    playFrame(screen, 0.5f); // a very slow frame still moves one step only
    EXPECT_EQ(screens.fadeAlpha, 6);
}

TEST_F(ChapterCardTest, TheWorldStandsStillAndTheHudWaitsBehindTheCard) {
    holdKey(sf::Keyboard::D, true);
    const sf::Vector2f at = heroinePosition();
    for (int i = 0; i < 30; ++i) {
        playFrame(screen);
    }
    EXPECT_EQ(heroinePosition(), at);
    pressKey(sf::Keyboard::Tab);
    EXPECT_FALSE(story.inventoryOpen);
}
