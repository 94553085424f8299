// worldDrawingTest.cpp -- the world passes draw the right sheet cells, and the object hint finds
// the usable object the heroine reaches.
#include "testSupport.h"

#include "shell/gameState.h"
#include "shell/resources.h"
#include "world/heroine.h"
#include "world/tileGrid.h"
#include "world/worldDrawing.h"

#include <SFML/Graphics/RenderTexture.hpp>

namespace {

// Places a loaded cell with these ground and object values, as the loaders would.
void placeCell(int row, int col, int groundId, int objectId) {
    Tile& cell = cellAt(row, col);
    cell.groundPlaced = true;
    cell.objectPlaced = true;
    cell.loaded = true;
    cell.groundId = groundId;
    applyIdTable(cell, groundId);
    if (objectId != 0) {
        cell.objectId = objectId;
        applyIdTable(cell, objectId);
    }
}

void placeHeroine(float x, float y) {
    heroine.setSize({84, 84});
    heroine.setPosition(x, y);
}

// A sheet of 320 x 320 cells, each filled with its own colour.
sf::Color sheetColour(int col, int row) {
    return sf::Color(static_cast<sf::Uint8>(40 * col + 20), static_cast<sf::Uint8>(25 * row + 10),
                     200);
}

void makeSheet(sf::Texture& sheet, int rows) {
    sf::Image image;
    image.create(5 * 320, rows * 320);
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < 5; ++col) {
            for (unsigned y = 0; y < 320; ++y) {
                for (unsigned x = 0; x < 320; ++x) {
                    image.setPixel(col * 320 + x, row * 320 + y, sheetColour(col, row));
                }
            }
        }
    }
    ASSERT_TRUE(sheet.loadFromImage(image));
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
    EXPECT_EQ(picture.getPixel(50, 50), sheetColour(1, 1));
    EXPECT_EQ(picture.getPixel(150, 50), sf::Color(1, 2, 3));
    EXPECT_EQ(picture.getPixel(250, 50), sheetColour(4, 8));
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
    EXPECT_EQ(picture.getPixel(150, 50), sheetColour(1, 0));
    resetGameState();
    tileSheet = sf::Texture();
}
