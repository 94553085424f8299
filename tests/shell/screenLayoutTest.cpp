// screenLayoutTest.cpp -- on a display that is not 1920 x 1080 the whole picture still shows,
// scaled and letterboxed, and the mouse is mapped through the same transform.
#include "shell/screenLayout.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>

TEST(ScreenLayout, ViewportFitsThePictureAndCentresIt) {
    struct Case {
        sf::Vector2u window;
        sf::FloatRect viewport;
    };
    const Case cases[] = {
        {{1920, 1080}, {0, 0, 1, 1}},
        {{3840, 2160}, {0, 0, 1, 1}},
        {{1280, 1024}, {0, (1 - 720.0f / 1024) / 2, 1, 720.0f / 1024}},
        {{2560, 1080}, {(1 - 1920.0f / 2560) / 2, 0, 1920.0f / 2560, 1}},
        {{0, 0}, {0, 0, 1, 1}},
    };
    for (const Case& c : cases) {
        const sf::FloatRect got = letterboxViewport(c.window);
        EXPECT_NEAR(got.left, c.viewport.left, 1e-5) << c.window.x << "x" << c.window.y;
        EXPECT_NEAR(got.top, c.viewport.top, 1e-5) << c.window.x << "x" << c.window.y;
        EXPECT_NEAR(got.width, c.viewport.width, 1e-5) << c.window.x << "x" << c.window.y;
        EXPECT_NEAR(got.height, c.viewport.height, 1e-5) << c.window.x << "x" << c.window.y;
    }
}

TEST(ScreenLayout, MouseOnALetterboxedWindowMapsToPicturePixels) {
    sf::RenderTexture target; // needs an X display
    ASSERT_TRUE(target.create(1280, 1024));
    const sf::View view = screenViewFor({1280, 1024});
    // The picture is 1280 x 720 starting 152 pixels down: its centre is the window's centre.
    const sf::Vector2f centre = target.mapPixelToCoords({640, 512}, view);
    EXPECT_NEAR(centre.x, 960, 1);
    EXPECT_NEAR(centre.y, 540, 1);
    const sf::Vector2f corner = target.mapPixelToCoords({1280, 152 + 720}, view);
    EXPECT_NEAR(corner.x, 1920, 1);
    EXPECT_NEAR(corner.y, 1080, 1);
    // And on a 1920 x 1080 window nothing changes.
    sf::RenderTexture full;
    ASSERT_TRUE(full.create(1920, 1080));
    const sf::Vector2f same = full.mapPixelToCoords({123, 456}, screenViewFor({1920, 1080}));
    EXPECT_EQ(same, sf::Vector2f(123, 456));
}
