// worldCacheTest.cpp -- the world's layers drawn from the kept picture are the layers drawn
// directly from the grid: at the world's edges and corners, between whole pixels, after the
// camera glided or jumped there, on a letterboxed screen, and after every kind of change of a
// cell. The kept picture is drawn at other places of its own texture than the screen's, so the
// graphics side's rounding may move a texture's sample point by a hair: a few pixels may differ by
// a level or two, where a stale, missing or misplaced cell changes thousands by far more.
#include "testSupport.h"

#include "shell/frame.h"
#include "shell/gameState.h"
#include "shell/resources.h"
#include "shell/screenLayout.h"
#include "story/dialogueBox.h"
#include "story/dialogueScript.h"
#include "story/interactions.h"
#include "story/inventory.h"
#include "story/quests.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"
#include "world/visibleWindow.h"
#include "world/worldDrawing.h"

#include <SFML/Graphics/RenderTexture.hpp>

namespace {

const std::string kAssets = KAIVA_ASSETS_DIR;

class WorldCacheTest : public GameTest {
protected:
    static void SetUpTestSuite() { loadWorldSheets(); }
    static void TearDownTestSuite() { forgetWorldSheets(); }
    void SetUp() override {
        GameTest::SetUp();
        ASSERT_TRUE(loadLayer(kAssets + "/maps/mapLv0.txt", MapLayer::Ground));
        ASSERT_TRUE(loadLayer(kAssets + "/maps/mapLv1.txt", MapLayer::Object));
    }

    // The camera centred here, with the window a roaming frame gives it.
    static void placeCamera(sf::Vector2f centre) {
        camera.setCenter(centre);
        updateVisibleWindow(camera, kScreenCellsWide, kScreenCellsHigh);
    }

    // Both layers through the camera, from the kept picture into `cached` and directly into
    // `direct`, each cleared to black as a frame is.
    void drawBoth() {
        for (sf::RenderTexture* target : {&cached, &direct}) {
            target->setView(wholePixelView(camera, *target));
            target->clear(sf::Color::Black);
        }
        drawWorldLayers(cached);
        drawGroundPass(direct);
        drawObjectPass(direct);
    }

    void expectSame(const std::string& where) {
        drawBoth();
        cached.display();
        direct.display();
        const PictureDifference difference =
            differenceOf(cached.getTexture().copyToImage(), direct.getTexture().copyToImage());
        EXPECT_LE(difference.largest, 2) << where;
        EXPECT_LT(difference.pixels, 1920 * 1080 / 100) << where;
    }

    // The story uses the object of cell (row, col) as E would, the camera on it; the cell was in
    // the kept picture before and must show what it has become.
    void useObjectAt(int row, int col, const std::string& what) {
        placeCamera({col * 100.0f + 50, row * 100.0f + 50});
        drawBoth();
        const std::int32_t before = cellAt(row, col).objectId;
        conversation.interactObject = before;
        conversation.interactX = col * 100.0f;
        conversation.interactY = row * 100.0f;
        conversation.dialogueOpen = false;
        useObjectAtHand();
        ASSERT_NE(cellAt(row, col).objectId, before) << what;
        expectSame(what);
    }

    sf::RenderTexture cached;
    sf::RenderTexture direct;
};

} // namespace

TEST_F(WorldCacheTest, IsTheDirectDrawingWhereverTheCameraGoes) {
    ASSERT_TRUE(cached.create(1920, 1080));
    ASSERT_TRUE(direct.create(1920, 1080));
    const struct {
        const char* name;
        sf::Vector2f centre;
    } places[] = {
        {"start", {960, 540}},
        {"a pixel on", {961, 540}},
        {"between pixels", {1234.5625f, 987.25f}},
        {"the intro's first step", {4795.8f, 2000}},
        {"top-left corner", {0, 0}},
        {"top-right corner", {25000, 0}},
        {"bottom-left corner", {0, 25000}},
        {"bottom-right corner", {24950.3f, 24950.7f}},
        {"left edge", {300, 3000}},
        {"back to the start", {960, 540}},
    };
    for (const auto& place : places) {
        placeCamera(place.centre);
        expectSame(place.name);
    }
    // Gliding as walking does, a little over three pixels a frame across cells, and back.
    sf::Vector2f at(2080, 1580);
    for (int frame = 1; frame <= 60; ++frame) {
        at += sf::Vector2f(frame <= 30 ? 3.3333f : -3.3333f, 1.7f);
        placeCamera(at);
        if (frame % 15 == 0) {
            expectSame("gliding, frame " + std::to_string(frame));
        } else {
            cached.clear(sf::Color::Black);
            cached.setView(wholePixelView(camera, cached));
            drawWorldLayers(cached);
        }
    }
}

// The screen of another shape: the picture scaled to fit, with black bars.
TEST_F(WorldCacheTest, IsTheDirectDrawingOnALetterboxedScreen) {
    for (const sf::Vector2u screen : {sf::Vector2u(1280, 1024), sf::Vector2u(2560, 1440)}) {
        ASSERT_TRUE(cached.create(screen.x, screen.y));
        ASSERT_TRUE(direct.create(screen.x, screen.y));
        camera.setViewport(letterboxViewport(screen));
        for (const sf::Vector2f centre : {sf::Vector2f(960, 540), sf::Vector2f(3517.2f, 1200.9f)}) {
            placeCamera(centre);
            expectSame(std::to_string(screen.x) + " wide at " + std::to_string(centre.x));
        }
    }
}

TEST_F(WorldCacheTest, ShowsEveryKindOfChangeOfACell) {
    ASSERT_TRUE(cached.create(1920, 1080));
    ASSERT_TRUE(direct.create(1920, 1080));
    story.currentQuest = 3;
    useObjectAt(22, 14, "an apple taken");
    useObjectAt(22, 4, "an empty basket filled");
    useObjectAt(35, 27, "the swordfish taken from its basket");
    useObjectAt(15, 3, "the axe taken from the weapons basket");
    useObjectAt(37, 49, "the chest emptied");

    placeCamera({960, 540});
    drawBoth();
    classifyCell(545, 5, 10); // the id table, as the story's code may use it on any cell
    expectSame("a cell classified");
    // The window shrinks to a few cells (as at the grid's last row and column, which it never
    // holds): the cells out of it turn black; then they come back.
    world.visibleWindow.store({3, 9, 2, 6});
    expectSame("a window of a few cells");
    placeCamera({960, 540});
    expectSame("the window back");
}

// While the loaders fill the grid, the frames draw what is there; the cells filled after a frame
// drew them are drawn again, and after a reset every cell is.
TEST_F(WorldCacheTest, CatchesUpWithTheLoadersAndWithAReset) {
    ASSERT_TRUE(cached.create(1920, 1080));
    ASSERT_TRUE(direct.create(1920, 1080));
    resetGameState();
    const std::filesystem::path dir = makeTempDir("cachedload");
    const std::string ground = readTextFile(kAssets + "/maps/mapLv0.txt");
    std::size_t cut = 0;
    for (int line = 0; line < 5; ++line) {
        cut = ground.find('\n', cut) + 1;
    }
    // Five rows and a part of the sixth, broken off between two values as a loader would be.
    writeTextFile(dir / "ground.txt", ground.substr(0, cut + 300) + ";\n");
    ASSERT_TRUE(loadLayer((dir / "ground.txt").string(), MapLayer::Ground));
    placeCamera({960, 540});
    expectSame("a few rows of the ground loaded");
    ASSERT_TRUE(loadLayer(kAssets + "/maps/mapLv0.txt", MapLayer::Ground));
    ASSERT_TRUE(loadLayer(kAssets + "/maps/mapLv1.txt", MapLayer::Object));
    expectSame("both layers loaded");
    resetGameState();
    placeCamera({960, 540});
    expectSame("after a reset, nothing");
}

// The kept picture is not shown where the screen covers it with opaque pictures (the dialogue box
// and its plate, the pop-up's panel, the inventory's panel): the frame is the one drawn with the
// whole world under them, to the pixel, on the game's screen and on a letterboxed one.
TEST_F(WorldCacheTest, IsNotDrawnUnderOpaquePicturesAndTheFrameIsTheSame) {
    ASSERT_TRUE(pixelFont.loadFromFile(kAssets + "/font/pixelTxt.ttf"));
    for (auto [sheet, file] : {std::pair{&talkSheet, "talk-map.png"},
                               std::pair{&descriptionSheet, "descrizioni-map.png"},
                               std::pair{&iconSheet, "icon-map.png"}}) {
        ASSERT_TRUE(sheet->loadFromFile(kAssets + "/textures/" + file));
    }
    notePanelOpacity();
    noteDialogueBoxOpacity();
    story.transitionPending = false;
    placeCharacters();
    conversation.activeNpc = kSage;
    openConversation(kSage);
    world.mouseTile = {5, 3}; // a named cell: the pop-up shows
    for (const sf::Vector2u size : {sf::Vector2u(1920, 1080), sf::Vector2u(1280, 1024)}) {
        ASSERT_TRUE(cached.create(size.x, size.y));
        ASSERT_TRUE(direct.create(size.x, size.y));
        screenView = screenViewFor(size);
        camera.setViewport(screenView.getViewport());
        placeCamera({960, 540});
        for (const bool inventory : {false, true}) {
            story.inventoryOpen = inventory;
            const ScreenChoice choice = chooseScreen();
            ASSERT_GT(coverOf(choice).count, 0);
            drawFrame(cached); // the first frame draws the layers directly: the next one is kept
            drawFrame(cached);
            direct.clear(sf::Color::Black);
            direct.setView(camera);
            drawWorld(direct, inventory ? inventoryShade().a : 0); // the whole world
            direct.setView(screenView);
            if (inventory) {
                drawInventory(direct, heroine);
            } else {
                drawDialogueBox(direct);
                drawHud(direct);
                drawDescriptionPopup(direct);
            }
            cached.display();
            direct.display();
            const PictureDifference difference =
                differenceOf(cached.getTexture().copyToImage(), direct.getTexture().copyToImage());
            EXPECT_EQ(difference.pixels, 0) << size.x << " wide, inventory " << inventory;
        }
    }
    for (sf::Texture* sheet : {&talkSheet, &descriptionSheet, &iconSheet}) {
        *sheet = sf::Texture();
    }
    pixelFont = sf::Font();
}
