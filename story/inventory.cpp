// inventory.cpp -- the inventory overlay and the description pop-up.
#include "story/inventory.h"

#include "shell/gameState.h"
#include "shell/resources.h"
#include "shell/text.h"
#include "world/tileGrid.h"

#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/VertexArray.hpp>

#include <mutex>
#include <string>
#include <string_view>

namespace {

const sf::Color kShade(0, 0, 0, 130);
const sf::Vector2f kScreen(1920, 1080);
const sf::Vector2f kPanelSize(640, 640);
const sf::Vector2f kPanelAt(960 - 320, 540 - 320);
const sf::IntRect kPanelPicture(0, 320, 320, 320);
constexpr float kEnlarged = 5;
constexpr float kSquareSize = 150;
const sf::Vector2f kCarriedAt(kPanelAt.x + 640 - 190 - 80 + 60, kPanelAt.y + 640 - 200);
const sf::Vector2f kWeaponAt(kCarriedAt.x, kCarriedAt.y - 190);
const sf::Vector2f kArmourAt(kCarriedAt.x, kWeaponAt.y - 190);
constexpr int kWeaponCellPixels = 160;

const sf::Vector2f kPopupSize(384, 256);
const sf::Vector2f kPopupAt(1900 - 384, 0);
const sf::IntRect kWaterPanel(240, 0, 240, 160);
const sf::IntRect kPlainPanel(0, 0, 240, 160);
constexpr unsigned kPopupTextSize = 23;
const sf::Vector2f kNameAt(kPopupAt.x + 40, kPopupAt.y + 10 + 88 + 10);
const char* const kWaterLine = "Serve a reidratarti";

// The shapes and texts drawn, kept between frames: a frame takes no memory, and the pop-up's words
// are laid out again only when the cell's name changes. Main thread only.
sf::RectangleShape square;
sf::Text popupName;
sf::Text popupWater;
sf::RectangleShape wholeShade;
sf::VertexArray shadeBands(sf::Triangles);
bool panelOpaque = false; // every texel of the panel's picture is opaque; set at start-up

// The shade over the world. When the panel's picture is opaque, whatever lies under the panel
// never shows, and shading it would cost the software renderer a fifth of a full-screen pass: four
// bands around the panel then cover every other pixel exactly once, as the one full-screen
// rectangle does.
void drawShade(sf::RenderTarget& target) {
    if (!panelOpaque) {
        wholeShade.setSize(kScreen);
        wholeShade.setFillColor(kShade);
        target.draw(wholeShade);
        return;
    }
    const sf::FloatRect bands[] = {
        {0, 0, kScreen.x, kPanelAt.y},
        {0, kPanelAt.y + kPanelSize.y, kScreen.x, kScreen.y - kPanelAt.y - kPanelSize.y},
        {0, kPanelAt.y, kPanelAt.x, kPanelSize.y},
        {kPanelAt.x + kPanelSize.x, kPanelAt.y, kScreen.x - kPanelAt.x - kPanelSize.x,
         kPanelSize.y},
    };
    shadeBands.clear();
    for (const sf::FloatRect& band : bands) {
        const sf::Vector2f corners[4] = {{band.left, band.top},
                                         {band.left + band.width, band.top},
                                         {band.left + band.width, band.top + band.height},
                                         {band.left, band.top + band.height}};
        for (int i : {0, 1, 2, 0, 2, 3}) {
            shadeBands.append(sf::Vertex(corners[i], kShade));
        }
    }
    target.draw(shadeBands);
}

void drawSquare(sf::RenderTarget& target, sf::Vector2f size, sf::Vector2f at,
                const sf::Texture& sheet, const sf::IntRect& picture) {
    square.setSize(size);
    square.setPosition(at);
    square.setTexture(&sheet);
    square.setTextureRect(picture);
    target.draw(square);
}

// The object sheet's cell of an object id (ids of 500 and more count from 500, smaller ones from
// 1); false when it lies outside the sheet, as it would for nothing carried.
bool carriedPicture(int objectId, sf::IntRect& picture) {
    const std::int64_t n = objectId >= kFirstObjectId ? std::int64_t{objectId} - 499 : objectId;
    if (n < 1) {
        return false;
    }
    const int rows = static_cast<int>(objectSheet.getSize().y) / kSheetCellPixels;
    return sheetRect(static_cast<std::int32_t>((n - 1) % kSheetColumns),
                     static_cast<std::int32_t>((n - 1) / kSheetColumns), rows, picture);
}

// A found item's square: its cell in the first row of the weapons sheet.
void drawFind(sf::RenderTarget& target, int held, int slot, sf::Vector2f at) {
    if (held == -1) {
        return;
    }
    const int cell = story.equipment[slot].itemIndex;
    drawSquare(target, {kSquareSize, kSquareSize}, at, weaponSheet,
               {cell * kWeaponCellPixels, 0, kWeaponCellPixels, kWeaponCellPixels});
}

void drawPopupLine(sf::RenderTarget& target, sf::Text& text, std::string_view words,
                   sf::Vector2f at) {
    text.setFont(pixelFont);
    text.setCharacterSize(kPopupTextSize);
    setDisplayWords(text, words);
    text.setFillColor(sf::Color::White);
    text.setOutlineColor(sf::Color::Black);
    text.setOutlineThickness(3);
    text.setPosition(at);
    target.draw(text);
}

} // namespace

void notePanelOpacity() {
    const sf::Image sheet = iconSheet.copyToImage();
    const unsigned right = static_cast<unsigned>(kPanelPicture.left + kPanelPicture.width);
    const unsigned bottom = static_cast<unsigned>(kPanelPicture.top + kPanelPicture.height);
    panelOpaque = sheet.getSize().x >= right && sheet.getSize().y >= bottom;
    for (unsigned y = static_cast<unsigned>(kPanelPicture.top); panelOpaque && y < bottom; ++y) {
        for (unsigned x = static_cast<unsigned>(kPanelPicture.left); panelOpaque && x < right;
             ++x) {
            panelOpaque = sheet.getPixel(x, y).a == 255;
        }
    }
}

void drawInventory(sf::RenderTarget& target, sf::RectangleShape heroineCopy) {
    drawShade(target);
    drawSquare(target, kPanelSize, kPanelAt, iconSheet, kPanelPicture);
    heroineCopy.setSize(heroineCopy.getSize() * kEnlarged);
    heroineCopy.setPosition(kPanelAt.x + 20, kPanelAt.y + 100);
    target.draw(heroineCopy);
    sf::IntRect carried;
    if (carriedPicture(story.carriedObject, carried)) {
        drawSquare(target, {kSquareSize, kSquareSize}, kCarriedAt, objectSheet, carried);
    }
    drawFind(target, story.equippedItem[1], 1, kWeaponAt);
    drawFind(target, story.equippedItem[0], 0, kArmourAt);
}

void drawDescriptionPopup(sf::RenderTarget& target) {
    const unsigned col = world.mouseTile.x;
    const unsigned row = world.mouseTile.y;
    if (col >= kGridSize || row >= kGridSize) {
        return; // the camera may show (and the mouse point at) places beyond the grid
    }
    std::string_view name; // the id table's own text
    bool water = false;
    {
        std::lock_guard<std::mutex> lock(gridRowLock(static_cast<int>(row)));
        const Tile& cell = cellAt(static_cast<int>(row), static_cast<int>(col));
        name = cell.name;
        water = cell.water == 1;
    }
    if (name.empty()) {
        return;
    }
    drawSquare(target, kPopupSize, kPopupAt, descriptionSheet, water ? kWaterPanel : kPlainPanel);
    drawPopupLine(target, popupName, name, kNameAt);
    if (water) {
        drawPopupLine(target, popupWater, kWaterLine, {kNameAt.x, kNameAt.y + 30});
    }
}
