// worldDrawingTest.cpp -- the world passes draw the right sheet cells, and the object hint finds
// the usable object the heroine reaches.
#include "testSupport.h"

#include "shell/frame.h"
#include "shell/gameState.h"
#include "shell/resources.h"
#include "shell/startup.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"
#include "world/visibleWindow.h"
#include "world/worldDrawing.h"

#include <SFML/Graphics/RenderTexture.hpp>

#include <algorithm>
#include <vector>

namespace {

void placeHeroine(float x, float y) {
    heroine.setSize({84, 84});
    heroine.setPosition(x, y);
}

void makeSheet(sf::Texture& sheet, int rows) {
    makeCellSheet(sheet, 320, 5, rows);
}

class ObjectHintTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ASSERT_TRUE(target.create(64, 64));
        world.visibleWindow.store({0, 21, 0, 12});
    }
    sf::RenderTexture target;
};

} // namespace

TEST_F(ObjectHintTest, TheHintReachesThirtyPixelsLeftAndAboveOnly) {
    placeCell(5, 5, 1, 544);
    struct Case {
        const char* where;
        float x, y;
        int interactObject;
    };
    const Case cases[] = {
        {"20 px to its right", 620, 500, 0},
        {"20 px to its left", 500 - 20 - 84, 500, 544},
        {"20 px above", 500, 500 - 20 - 84, 544},
        {"20 px below", 500, 620, 0},
        {"40 px to its left", 500 - 40 - 84, 500, 0},
        {"on it", 510, 510, 544},
    };
    for (const Case& c : cases) {
        conversation.interactObject = 7;
        placeHeroine(c.x, c.y);
        drawObjectHint(target);
        EXPECT_EQ(conversation.interactObject, c.interactObject) << c.where;
    }
    EXPECT_EQ(conversation.interactX, 500);
    EXPECT_EQ(conversation.interactY, 500);
}

TEST_F(ObjectHintTest, OfTwoReachedObjectsTheLaterInRowOrderWins) {
    placeCell(5, 6, 1, 538); // row 5 comes first
    placeCell(6, 5, 1, 543);
    placeHeroine(560, 560); // reaches both
    drawObjectHint(target);
    EXPECT_EQ(conversation.interactObject, 543);
    EXPECT_EQ(conversation.interactX, 500);
    EXPECT_EQ(conversation.interactY, 600);
    placeCell(7, 9, 1, 545); // an unreached one later in the scan does not undo the find
    drawObjectHint(target);
    EXPECT_EQ(conversation.interactObject, 543);
}

TEST_F(ObjectHintTest, AWindowWithoutUsableObjectsKeepsTheUsedMarker) {
    placeCell(5, 5, 1, 500);
    placeHeroine(500, 500);
    conversation.interactObject = -1; // an object was just used
    drawObjectHint(target);
    EXPECT_EQ(conversation.interactObject, -1);
}

// Drawing a known 3 x 2 grid shows each cell's own sheet cell; an empty cell draws nothing.
TEST(WorldDrawing, LayersShowTheirSheetCellsAndEmptyCellsStayClear) {
    resetGameState();
    makeSheet(tileSheet, 2);
    makeSheet(objectSheet, 10);
    placeCell(0, 0, 7, 0);   // tile cell (1, 1)
    placeCell(0, 1, 0, 0);   // nothing
    placeCell(0, 2, 3, 544); // object cell (4, 8) over tile cell (2, 0)
    world.visibleWindow.store({0, 3, 0, 2});

    sf::RenderTexture target;
    ASSERT_TRUE(target.create(300, 200));
    target.setView(sf::View(sf::FloatRect(0, 0, 300, 200)));
    target.clear(sf::Color(1, 2, 3));
    drawGroundPass(target);
    drawObjectPass(target);
    target.display();
    const sf::Image picture = target.getTexture().copyToImage();
    EXPECT_EQ(picture.getPixel(50, 50), cellColour(1, 1));
    EXPECT_EQ(picture.getPixel(150, 50), sf::Color(1, 2, 3));
    EXPECT_EQ(picture.getPixel(250, 50), cellColour(4, 8));
    EXPECT_EQ(picture.getPixel(150, 150), sf::Color(1, 2, 3)); // never loaded
    resetGameState();
    tileSheet = sf::Texture();
    objectSheet = sf::Texture();
}

TEST(WorldDrawing, OnlyTheVisibleWindowIsDrawn) {
    resetGameState();
    makeSheet(tileSheet, 1);
    placeCell(0, 0, 2, 0);
    placeCell(0, 1, 2, 0);
    world.visibleWindow.store({1, 2, 0, 1});
    sf::RenderTexture target;
    ASSERT_TRUE(target.create(200, 100));
    target.setView(sf::View(sf::FloatRect(0, 0, 200, 100)));
    target.clear(sf::Color::Black);
    drawGroundPass(target);
    target.display();
    const sf::Image picture = target.getTexture().copyToImage();
    EXPECT_EQ(picture.getPixel(50, 50), sf::Color::Black);
    EXPECT_EQ(picture.getPixel(150, 50), cellColour(1, 0));
    resetGameState();
    tileSheet = sf::Texture();
}

namespace {

// A figure of the roster at this position, showing the sheet cell (col, row) of NPC-map.png.
void standFigure(int index, sf::Vector2f at, int col, int row, bool active = true) {
    Npc& npc = npcs[index];
    npc.active = active;
    npc.sprite.setSize({84, 84});
    npc.sprite.setPosition(at);
    npc.sprite.setTexture(&npcSheet);
    npc.sprite.setTextureRect({col * 160, row * 160, 160, 160});
}

sf::Image drawn(sf::RenderTexture& target) {
    target.display();
    return target.getTexture().copyToImage();
}

class FigureDrawingTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        makeCellSheet(npcSheet, 160, 4, 12);
        makeCellSheet(speechSheet, 160, 3, 1);
        ASSERT_TRUE(target.create(700, 300));
        target.setView(sf::View(sf::FloatRect(0, 0, 700, 300)));
        target.clear(sf::Color::Black);
    }
    void TearDown() override {
        GameTest::TearDown();
        npcSheet = sf::Texture();
        speechSheet = sf::Texture();
    }
    sf::RenderTexture target;
};

} // namespace

TEST_F(FigureDrawingTest, CharactersStopAtTheFirstInactiveRecordAndAtTheWindowsCellCount) {
    standFigure(0, {0, 0}, 1, 1);
    standFigure(1, {100, 0}, 1, 1, false);
    standFigure(2, {200, 0}, 1, 1);
    world.visibleWindow.store({0, 3, 0, 1});
    drawCharacters(target);
    sf::Image picture = drawn(target);
    EXPECT_EQ(picture.getPixel(42, 42), cellColour(1, 1));
    EXPECT_EQ(picture.getPixel(142, 42), sf::Color::Black);
    EXPECT_EQ(picture.getPixel(242, 42), sf::Color::Black); // after the inactive one: not drawn

    npcs[1].active = true;
    world.visibleWindow.store({0, 1, 0, 1}); // a one-cell window draws one figure at most
    target.clear(sf::Color::Black);
    drawCharacters(target);
    picture = drawn(target);
    EXPECT_EQ(picture.getPixel(42, 42), cellColour(1, 1));
    EXPECT_EQ(picture.getPixel(142, 42), sf::Color::Black);
}

TEST_F(FigureDrawingTest, TalkHintsShowTheirFrameCentredFivePixelsAboveTheFigure) {
    const std::int16_t hints[] = {0, 1, 2, 7};
    for (int i = 0; i < 4; ++i) {
        standFigure(i, {100.0f + 150 * i, 100}, 0, 0);
        npcs[i].nearHeroine = true;
        npcs[i].hintState = hints[i];
    }
    standFigure(4, {100, 220}, 0, 0); // not near: no hint
    drawTalkHints(target);
    const sf::Image picture = drawn(target);
    // Hint i spans x from 100 + 150 i + 24 to + 60, y from 59 to 95.
    EXPECT_EQ(picture.getPixel(142, 77), cellColour(0, 0));
    EXPECT_EQ(picture.getPixel(292, 77), cellColour(1, 0));
    EXPECT_EQ(picture.getPixel(442, 77), cellColour(2, 0));
    EXPECT_EQ(picture.getPixel(592, 77), cellColour(2, 0)); // hint 7 keeps the previous frame
    EXPECT_EQ(picture.getPixel(124, 59), cellColour(0, 0));
    EXPECT_EQ(picture.getPixel(123, 77), sf::Color::Black);
    EXPECT_EQ(picture.getPixel(160, 77), sf::Color::Black);
    EXPECT_EQ(picture.getPixel(142, 95), sf::Color::Black); // 5 pixels above the figure
    EXPECT_EQ(picture.getPixel(142, 200), sf::Color::Black);
}

// Every pass over one cell, each with its own colour: what lies on top shows the order.
TEST_F(FigureDrawingTest, ThePassesRunInTheirOrderWithTheCursorLast) {
    makeCellSheet(tileSheet, 320, 5, 2);
    makeCellSheet(objectSheet, 320, 5, 10);
    makeCellSheet(heroSheet, 160, 4, 4);
    placeCell(0, 0, 1, 544); // ground cell (0, 0) under the apple, object cell (4, 8)
    world.visibleWindow.store({0, 2, 0, 2});
    standFigure(0, {0, 0}, 1, 1);
    npcs[0].nearHeroine = true;
    npcs[0].hintState = 0;
    heroine.setSize({84, 84});
    heroine.setPosition(40, -30);
    heroine.setTexture(&heroSheet);
    heroine.setTextureRect({320, 320, 160, 160});
    createTileCursor(); // over cell (0, 0)
    sf::RenderTexture square;
    ASSERT_TRUE(square.create(300, 300));
    square.setView(sf::View(sf::FloatRect(-100, -100, 300, 300)));
    square.clear(sf::Color::Black);
    drawWorld(square);
    const sf::Image picture = drawn(square);
    const auto at = [&](int x, int y) { return picture.getPixel(x + 100, y + 100); };
    EXPECT_EQ(at(95, 95), cellColour(4, 8));  // the object over the ground
    EXPECT_EQ(at(5, 5), cellColour(1, 1));    // the figure over the object
    EXPECT_EQ(at(30, -35), cellColour(0, 0)); // its talk hint
    EXPECT_EQ(at(60, 30), cellColour(2, 2));  // the heroine over the figure
    EXPECT_EQ(at(50, -21), cellColour(2, 2)); // the heroine over the talk hint
    EXPECT_EQ(at(30, -21), cellColour(0, 0)); // the talk hint under...
    EXPECT_EQ(at(30, -19), cellColour(1, 0)); // ...the 45 x 45 object hint, 20 above the cell
    EXPECT_EQ(at(50, -10), cellColour(1, 0)); // and over the heroine
    EXPECT_EQ(at(71, 10), cellColour(1, 0));
    EXPECT_EQ(at(73, 10), cellColour(2, 2));
    EXPECT_EQ(at(50, -1), sf::Color::Blue); // the cursor's outline over everything
    EXPECT_EQ(conversation.interactObject, 544);
    tileSheet = sf::Texture();
    objectSheet = sf::Texture();
    heroSheet = sf::Texture();
}

namespace {

struct HintResult {
    int interactObject;
    float interactX, interactY;
    sf::Image picture;
};

// The usable-object search over the shipped map, the game's and the reference one, each drawing
// into a picture around the heroine.
class HintSearchTest : public GameTest {
protected:
    static void SetUpTestSuite() { makeCellSheet(speechSheet, 160, 3, 1); }
    static void TearDownTestSuite() { speechSheet = sf::Texture(); }
    void SetUp() override {
        GameTest::SetUp();
        ASSERT_TRUE(target.create(400, 400));
    }

    HintResult search(void (*draw)(sf::RenderTarget&)) {
        const sf::FloatRect her = heroineBounds();
        target.setView(sf::View({her.left + 42, her.top + 42}, {400, 400}));
        target.clear(sf::Color::Black);
        conversation.interactObject = 7; // kept only when the window holds no usable cell
        conversation.interactX = -5;
        conversation.interactY = -5;
        draw(target);
        return {conversation.interactObject, conversation.interactX, conversation.interactY,
                drawn(target)};
    }

    // The game's search finds, writes and draws exactly what the reference does.
    void expectSameAsEveryCell(const std::string& where) {
        const HintResult game = search([](sf::RenderTarget& shown) { drawObjectHint(shown); });
        const HintResult reference = search(drawObjectHintOverEveryCell);
        EXPECT_EQ(game.interactObject, reference.interactObject) << where;
        EXPECT_EQ(game.interactX, reference.interactX) << where;
        EXPECT_EQ(game.interactY, reference.interactY) << where;
        const std::size_t bytes = std::size_t{400} * 400 * 4;
        EXPECT_TRUE(std::equal(game.picture.getPixelsPtr(), game.picture.getPixelsPtr() + bytes,
                               reference.picture.getPixelsPtr()))
            << where;
    }

    sf::RenderTexture target;
};

struct UsableCell {
    int row, col;
};

std::vector<UsableCell> usableCells() {
    std::vector<UsableCell> cells;
    for (int row = 0; row < kGridSize; ++row) {
        for (int col = 0; col < kGridSize; ++col) {
            if (cellAt(row, col).interactive) {
                cells.push_back({row, col});
            }
        }
    }
    return cells;
}

} // namespace

// The intro asks for the whole grid as the window; the search then visits only the columns the id
// table made usable, and must still find, write and draw what a search of every cell does: beside
// every usable object of the map, within and just beyond its reach, over the whole grid and over a
// roaming window, and after the story has used one object and filled a basket.
TEST_F(HintSearchTest, FindsWhatASearchOfEveryCellFinds) {
    ASSERT_TRUE(loadLayer(std::string(KAIVA_ASSETS_DIR) + "/maps/mapLv0.txt", MapLayer::Ground));
    ASSERT_TRUE(loadLayer(std::string(KAIVA_ASSETS_DIR) + "/maps/mapLv1.txt", MapLayer::Object));
    const std::vector<UsableCell> cells = usableCells();
    ASSERT_GE(cells.size(), 6u);
    // The story's two changes: an object used (its flag cleared directly) and a basket filled
    // (classified as a basket that is not usable).
    changeCell(cells[0].row, cells[0].col, [](Tile& cell) { cell.interactive = false; });
    classifyCell(540, cells[1].row, cells[1].col);

    const sf::Vector2f offsets[] = {{-114, 0}, {-113, 0}, {0, -114}, {-60, -60},
                                    {99, 99},  {100, 0},  {0, 100},  {-300, 0}};
    for (const UsableCell& cell : cells) {
        for (const sf::Vector2f offset : offsets) {
            const sf::Vector2f at(cell.col * 100.0f + offset.x, cell.row * 100.0f + offset.y);
            placeHeroine(at.x, at.y);
            const std::string where = "cell row " + std::to_string(cell.row) + " col " +
                                      std::to_string(cell.col) + ", heroine at " +
                                      std::to_string(at.x) + ", " + std::to_string(at.y);
            world.visibleWindow.store({0, 249, 0, 249});
            expectSameAsEveryCell(where + ", whole grid");
            world.visibleWindow.store(
                visibleWindowAround({at.x + 42, at.y + 42}, kScreenCellsWide, kScreenCellsHigh));
            expectSameAsEveryCell(where + ", roaming window");
        }
    }
}

// While the map loads, a usable id read into the ground layer makes a cell usable before its object
// picture is placed: its reach is then the empty rectangle at the world's corner moved out by 30.
TEST_F(HintSearchTest, AUsableCellWithoutItsObjectPictureReachesFromTheWorldsCorner) {
    changeCell(40, 60, [](Tile& cell) {
        cell.groundPlaced = true;
        cell.loaded = true;
        cell.groundId = 545;
        applyIdTable(cell, 545);
    });
    world.visibleWindow.store({0, 249, 0, 249});
    placeHeroine(-60, -60);
    expectSameAsEveryCell("near the corner");
    EXPECT_EQ(conversation.interactObject, 0); // the cell's object id: none yet
    placeHeroine(5900, 3900);
    expectSameAsEveryCell("beside the cell itself");
    EXPECT_EQ(conversation.interactObject, 0); // usable cells exist, none reached
}
