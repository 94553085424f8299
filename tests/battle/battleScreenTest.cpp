// battleScreenTest.cpp -- the battle screen and the end screen, drawn and probed: bars by hit
// points, the pointer at its line, the value rows, and the end screen's three centred lines.
#include "testSupport.h"

#include "battle/battleRules.h"
#include "battle/battleScreen.h"
#include "shell/gameState.h"
#include "shell/resources.h"
#include "story/dialogueScript.h"
#include "story/endings.h"
#include "world/characters.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Text.hpp>

namespace {

const std::string kAssets = KAIVA_ASSETS_DIR;
const sf::Color kBehind(1, 2, 3);

class BattleScreenTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ASSERT_TRUE(pixelFont.loadFromFile(kAssets + "/font/pixelTxt.ttf"));
        makeCellSheet(iconSheet, 160, 5, 4);
        setUpBattleMoves();
        placeCharacters();
        conversation.activeNpc = kJohn;
        battle.inBattle = true;
        ASSERT_TRUE(screen.create(1920, 1080));
    }
    void TearDown() override {
        GameTest::TearDown();
        pixelFont = sf::Font();
        iconSheet = sf::Texture();
    }

    sf::Image drawn() {
        screen.clear(kBehind);
        drawBattleScreen(screen);
        screen.display();
        return screen.getTexture().copyToImage();
    }

    // The red of a bar from x 280 (or 1250): how many pixels wide it shows on row 85.
    static int barWidth(const sf::Image& picture, unsigned left) {
        int width = 0;
        for (unsigned x = left; x < left + 400; ++x) {
            width += picture.getPixel(x, 85) == sf::Color::Red ? 1 : 0;
        }
        return width;
    }

    // Whether the screen shows these words as the value rows draw them, at this place.
    bool showsValue(const sf::Image& picture, const std::string& words, sf::Vector2f at) {
        sf::RenderTexture alone;
        alone.create(1920, 1080);
        alone.clear(sf::Color(128, 128, 128));
        sf::Text text(words, pixelFont, 40);
        text.setOutlineColor(sf::Color::Black);
        text.setOutlineThickness(3);
        text.setPosition(at);
        alone.draw(text);
        alone.display();
        const sf::Image expected = alone.getTexture().copyToImage();
        const sf::FloatRect bounds = text.getGlobalBounds();
        int solid = 0;
        int differing = 0;
        for (unsigned y = static_cast<unsigned>(bounds.top); y < bounds.top + bounds.height; ++y) {
            for (unsigned x = static_cast<unsigned>(bounds.left); x < bounds.left + bounds.width;
                 ++x) {
                const sf::Color want = expected.getPixel(x, y);
                if (want == sf::Color::White || want == sf::Color::Black) {
                    ++solid;
                    differing += picture.getPixel(x, y) != want ? 1 : 0;
                }
            }
        }
        // A pixel or two on a glyph's soft edge may round differently over another background.
        return solid > 10 && differing <= solid / 200;
    }

    sf::RenderTexture screen;
};

} // namespace

TEST_F(BattleScreenTest, BarsAreThreeHundredNinetyWideAtFullHealthAndShrinkWithIt) {
    struct Case {
        int hp;
        int width;
    };
    for (const Case c : {Case{100, 390}, Case{55, 214}, Case{1, 3}}) {
        SCOPED_TRACE(c.hp);
        battle.playerHp = c.hp;
        battle.enemyHp = c.hp;
        const sf::Image picture = drawn();
        EXPECT_NEAR(barWidth(picture, 270), c.width, 1); // inside its black outline
        EXPECT_NEAR(barWidth(picture, 1240), c.width, 1);
    }
    battle.enemyHp = 0; // drawn empty in the frame that ends the battle
    const sf::Image picture = drawn();
    EXPECT_EQ(barWidth(picture, 1240), 0);
    EXPECT_FALSE(battle.inBattle);
}

TEST_F(BattleScreenTest, ThePointerStandsBesideTheHighlightedMove) {
    battle.selectedMove = 3;
    makeCellSheet(battleBackground, 120, 4, 2); // opaque: drawn around the menu, not under it
    noteBackdropOpacity();
    const sf::Image picture = drawn();
    for (const sf::Vector2u beside : {sf::Vector2u(300, 579), sf::Vector2u(300, 980),
                                      sf::Vector2u(149, 700), sf::Vector2u(900, 700)}) {
        EXPECT_EQ(picture.getPixel(beside.x, beside.y),
                  cellColour(static_cast<int>(beside.x / 480), static_cast<int>(beside.y / 540)))
            << beside.x << "," << beside.y;
    }
    battleBackground = sf::Texture();
    noteBackdropOpacity();
    EXPECT_EQ(picture.getPixel(32, 882), cellColour(4, 0)); // pointer cell (640, 0) at (30, 880)
    EXPECT_EQ(picture.getPixel(128, 978), cellColour(4, 0));
    EXPECT_NE(picture.getPixel(32, 582), cellColour(4, 0));
    EXPECT_EQ(picture.getPixel(800, 650), sf::Color::Blue);  // the menu, beside the names
    EXPECT_EQ(picture.getPixel(162, 592), cellColour(0, 1)); // the attack's icon: cell 0
    EXPECT_EQ(picture.getPixel(162, 892), cellColour(2, 1)); // misfortune's: cell 2
}

TEST_F(BattleScreenTest, AFirstBattleWithJohnReadsFiveZeroZeroZeroAgainstFifteen) {
    const sf::Image picture = drawn();
    EXPECT_TRUE(showsValue(picture, "5", {70, 10}));
    EXPECT_TRUE(showsValue(picture, "0", {70, 80}));
    EXPECT_TRUE(showsValue(picture, "0", {70, 150}));
    EXPECT_TRUE(showsValue(picture, "0", {70, 220}));
    EXPECT_TRUE(showsValue(picture, "15", {1860, 10}));
    EXPECT_TRUE(showsValue(picture, "Spadata", {250, 590}));
    EXPECT_TRUE(showsValue(picture, "Sfortuna di Ganesha", {250, 890}));
    EXPECT_EQ(picture.getPixel(12, 12), cellColour(0, 1));    // value row icons, 50 x 50
    EXPECT_EQ(picture.getPixel(1802, 152), cellColour(3, 1)); // power's icon: cell 3

    battle.playerShield = 3; // armour 3 at the start
    battle.enemyShield = 9;  // her attack is cancelled: "0", never a negative number
    const sf::Image shielded = drawn();
    EXPECT_TRUE(showsValue(shielded, "0", {70, 10}));
    EXPECT_TRUE(showsValue(shielded, "12", {1860, 10}));
    EXPECT_TRUE(showsValue(shielded, "3", {70, 80}));
}

TEST_F(GameTest, TheEndScreenCentresItsThreeLines) {
    ASSERT_TRUE(pixelFont.loadFromFile(kAssets + "/font/pixelTxt.ttf"));
    story.endingText = "Kaiva ha vinto per ora...";
    sf::RenderTexture screen;
    ASSERT_TRUE(screen.create(1920, 1080));
    screen.clear(sf::Color::Black);
    drawEndingScreen(screen);
    screen.display();
    const sf::Image picture = screen.getTexture().copyToImage();
    // Lines of lit pixels, one under the other: each one's extent is centred on x = 960, and their
    // places lie 250 pixels apart.
    struct Line {
        int top = 0, bottom = 0, left = 1920, right = -1;
    };
    std::vector<Line> lines;
    for (int y = 0; y < 1080; ++y) {
        for (int x = 0; x < 1920; ++x) {
            if (picture.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)) ==
                sf::Color::Black) {
                continue;
            }
            if (lines.empty() || y > lines.back().bottom + 20) {
                lines.push_back({y, y, x, x});
            }
            Line& line = lines.back();
            line.bottom = y;
            line.left = std::min(line.left, x);
            line.right = std::max(line.right, x);
        }
    }
    ASSERT_EQ(lines.size(), 3u);
    for (const Line& line : lines) {
        // Centred by bounds that include the glyphs' side bearings: within a few pixels.
        EXPECT_NEAR((line.left + line.right) / 2.0, 960, 6) << "line at " << line.top;
    }
    EXPECT_LT(lines[0].right - lines[0].left, lines[1].right - lines[1].left); // "FINE", shorter
    EXPECT_NEAR(lines[1].top - lines[0].top, 250, 40);
    EXPECT_NEAR(lines[2].top - lines[1].top, 250, 20);
    pixelFont = sf::Font();
}
