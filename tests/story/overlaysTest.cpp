// overlaysTest.cpp -- the HUD, the inventory and the description pop-up, drawn and probed: each
// part where it belongs, texts compared with the same words drawn on their own.
#include "testSupport.h"

#include "shell/frame.h"
#include "shell/gameState.h"
#include "shell/resources.h"
#include "story/inventory.h"
#include "story/quests.h"
#include "world/heroine.h"
#include "world/tileGrid.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Text.hpp>

#include <cstdlib>

namespace {

const std::string kAssets = KAIVA_ASSETS_DIR;

class OverlayTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        ASSERT_TRUE(pixelFont.loadFromFile(kAssets + "/font/pixelTxt.ttf"));
        makeCellSheet(iconSheet, 160, 5, 4);
        ASSERT_TRUE(screen.create(1920, 1080));
        ASSERT_TRUE(reference.create(1920, 1080));
        screen.clear(kEmpty);
    }
    void TearDown() override {
        PlayTest::TearDown();
        pixelFont = sf::Font();
        for (sf::Texture* sheet : {&iconSheet, &weaponSheet, &objectSheet, &descriptionSheet}) {
            *sheet = sf::Texture();
        }
        notePanelOpacity(); // no sheet, no opaque panel
    }

    static sf::Image picture(sf::RenderTexture& target) {
        target.display();
        return target.getTexture().copyToImage();
    }

    // Draws these words into the reference as the overlays draw their texts, and says whether the
    // screen shows them: every solid pixel of the words (pure white fill or pure black outline,
    // whatever lies behind) is the same on the screen.
    bool showsText(const sf::String& words, unsigned size, sf::Vector2f at, float outline) {
        reference.clear(kBehind);
        sf::Text text(words, pixelFont, size);
        text.setFillColor(sf::Color::White);
        text.setOutlineColor(sf::Color::Black);
        text.setOutlineThickness(outline);
        text.setPosition(at);
        reference.draw(text);
        const sf::FloatRect bounds = text.getGlobalBounds();
        const sf::Image shown = picture(screen);
        const sf::Image expected = picture(reference);
        int solid = 0;
        int differing = 0;
        for (unsigned y = static_cast<unsigned>(bounds.top);
             y < static_cast<unsigned>(bounds.top + bounds.height); ++y) {
            for (unsigned x = static_cast<unsigned>(bounds.left);
                 x < static_cast<unsigned>(bounds.left + bounds.width); ++x) {
                const sf::Color want = expected.getPixel(x, y);
                if (want == sf::Color::White || want == sf::Color::Black) {
                    ++solid;
                    differing += shown.getPixel(x, y) != want ? 1 : 0;
                }
            }
        }
        return solid > 20 && differing == 0;
    }

    const sf::Color kBehind{128, 128, 128};
    const sf::Color kEmpty{1, 2, 3}; // the screen before an overlay is drawn
    sf::RenderTexture screen;
    sf::RenderTexture reference;
};

} // namespace

TEST_F(OverlayTest, TheHudShowsItsIconRuleQuestAndHope) {
    for (int i = 0; i < kQuestCount; ++i) {
        initQuest(i);
    }
    drawHud(screen);
    const sf::Image shown = picture(screen);
    EXPECT_EQ(shown.getPixel(27, 27), cellColour(2, 0));         // quest icon from (25, 25)...
    EXPECT_EQ(shown.getPixel(119, 119), cellColour(2, 0));       // ...96 wide
    EXPECT_EQ(shown.getPixel(400, 72), sf::Color(251, 242, 54)); // the rule, outlined in black
    EXPECT_EQ(shown.getPixel(400, 70), sf::Color::Black);
    EXPECT_EQ(shown.getPixel(422, 72), sf::Color::Black); // it ends at x 421, outline 2
    EXPECT_EQ(shown.getPixel(424, 72), kEmpty);
    EXPECT_EQ(shown.getPixel(30, 140), cellColour(0, 0)); // hope icon from (25, 133.5)
    EXPECT_EQ(shown.getPixel(87, 196), cellColour(0, 0)); // 64 wide
    EXPECT_TRUE(showsText("70", 36, {101, 141.5f}, 2));
    EXPECT_TRUE(showsText("Il Vecchio", 32, {126, 30}, 2));
    EXPECT_TRUE(showsText("Parla con il Saggio del villaggio", 21, {126, 82}, 2));
}

TEST_F(OverlayTest, TheInventoryShowsWhatSheCarriesAndWhatSheFound) {
    makeCellSheet(weaponSheet, 160, 3, 1);
    makeCellSheet(objectSheet, 320, 5, 10);
    sf::RectangleShape copy({84, 84});
    drawInventory(screen, copy);
    sf::Image shown = picture(screen);
    EXPECT_EQ(shown.getPixel(700, 250), cellColour(0, 2));  // the panel, iconSheet (0, 320)
    EXPECT_EQ(shown.getPixel(1145, 545), cellColour(1, 3)); // no weapon: the panel shows
    EXPECT_EQ(shown.getPixel(1145, 735), cellColour(1, 3)); // nothing carried: no square
    EXPECT_EQ(shown.getPixel(665, 325), sf::Color::White);  // her copy, 5 times larger
    EXPECT_EQ(shown.getPixel(1075, 735), sf::Color::White);

    story.equippedItem[1] = 1; // the axe
    story.equipment[1].itemIndex = 1;
    story.carriedObject = 544;
    screen.clear(kEmpty);
    drawInventory(screen, copy);
    shown = picture(screen);
    EXPECT_EQ(shown.getPixel(1145, 545), cellColour(1, 0)); // weapon square at (1070, 470)
    EXPECT_EQ(shown.getPixel(1145, 735), cellColour(4, 8)); // the apple at (1070, 660)
    EXPECT_EQ(shown.getPixel(1145, 355), cellColour(1, 2)); // no armour: the panel
}

// The inventory's shade and the chapter card's veil darken the world as the frame draws it, in
// the same pass: outside the panel every pixel is the world's under a black veil of the screen's
// alpha (to one level), an opaque panel hides the world, and a see-through texel of the panel
// shows it shaded.
TEST_F(OverlayTest, TheWorldUnderTheInventoryOrTheCardIsShadedOnce) {
    makeCellSheet(tileSheet, 320, 5, 2);
    for (int row = 0; row < 11; ++row) {
        for (int col = 0; col < 20; ++col) {
            placeCell(row, col, 1 + (row + col) % 10, 0);
        }
    }
    screen.clear(sf::Color::Black);
    screen.setView(camera);
    drawWorld(screen);
    const sf::Image world = picture(screen);
    const auto frame = [&] {
        drawFrame(screen);
        return picture(screen);
    };
    const auto shaded = [](sf::Color under, sf::Color shown, int alpha) {
        const auto near = [alpha](int a, int b) {
            return std::abs(a * (255 - alpha) / 255 - b) <= 1;
        };
        return near(under.r, shown.r) && near(under.g, shown.g) && near(under.b, shown.b);
    };
    // Pixels of every seventh row and column of the upper rows, outside `panel`, not so shaded.
    const auto unshaded = [&](const sf::Image& shown, int alpha, const sf::FloatRect& panel) {
        int count = 0;
        for (unsigned y = 0; y < 360; y += 7) {
            for (unsigned x = 0; x < 1920; x += 7) {
                const bool outside = !panel.contains(static_cast<float>(x), static_cast<float>(y));
                count += outside && !shaded(world.getPixel(x, y), shown.getPixel(x, y), alpha);
            }
        }
        return count;
    };
    story.inventoryOpen = true;
    notePanelOpacity(); // the cell sheet is opaque
    const sf::Image overOpaque = frame();
    sf::Image sheet = iconSheet.copyToImage();
    sheet.setPixel(10, 330, sf::Color::Transparent); // drawn twice as large from (640, 220)
    iconSheet.loadFromImage(sheet);
    notePanelOpacity();
    const sf::Image overSeeThrough = frame();
    EXPECT_EQ(unshaded(overOpaque, 130, {640, 220, 640, 640}), 0);
    EXPECT_NE(world.getPixel(5, 5), sf::Color::Black);
    EXPECT_EQ(overOpaque.getPixel(661, 241), cellColour(0, 2));
    EXPECT_TRUE(shaded(world.getPixel(661, 241), overSeeThrough.getPixel(661, 241), 130));

    story.inventoryOpen = false;
    story.transitionPending = true;
    story.currentQuest = 2;
    quests[2].transitionKind = -1;
    screens.fadeAlpha = 150; // the card held at its full veil
    EXPECT_EQ(unshaded(frame(), 150, {}), 0);
    tileSheet = sf::Texture();
}

TEST_F(OverlayTest, ThePopupNamesTheCellUnderTheMouseWithItsAccent) {
    makeCellSheet(descriptionSheet, 240, 2, 1);
    placeCell(3, 4, 1, 513);
    world.mouseTile = {4, 3};
    drawDescriptionPopup(screen);
    EXPECT_EQ(picture(screen).getPixel(1520, 5), cellColour(0, 0)); // the plain panel
    EXPECT_TRUE(
        showsText(L"Un fungo misterioso con propriet\u00e0 misteriose", 23, {1556, 108}, 3));
}

TEST_F(OverlayTest, TheRiverSaysItsWaterRefreshes) {
    makeCellSheet(descriptionSheet, 240, 2, 1);
    placeCell(3, 4, 1, 505);
    world.mouseTile = {4, 3};
    drawDescriptionPopup(screen);
    EXPECT_EQ(picture(screen).getPixel(1520, 5), cellColour(1, 0)); // the water panel
    EXPECT_TRUE(showsText("Serve a reidratarti", 23, {1556, 138}, 3));
}

TEST_F(OverlayTest, NoPopupForANamelessCellOrOneBeyondTheGrid) {
    makeCellSheet(descriptionSheet, 240, 2, 1);
    placeCell(3, 4, 1, 0);
    for (const GridCell cell : {GridCell{4, 3}, GridCell{250, 3}, GridCell{4, 4000000}}) {
        world.mouseTile = cell;
        drawDescriptionPopup(screen);
    }
    EXPECT_EQ(picture(screen).getPixel(1520, 5), kEmpty);
}
