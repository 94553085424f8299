// inventory.cpp -- the inventory overlay and the description pop-up.
#include "story/inventory.h"

#include "shell/gameState.h"
#include "shell/picture.h"
#include "shell/resources.h"
#include "shell/text.h"
#include "world/tileGrid.h"

#include <SFML/Graphics/Text.hpp>

#include <mutex>
#include <string>
#include <string_view>

namespace {

const sf::Color kShade(0, 0, 0, 130);
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
// Every texel of these pictures is opaque: they are drawn without blending, and the world is not
// drawn under them. Set at start-up.
bool panelOpaque = false;
bool plainPanelOpaque = false; // the pop-up's
bool waterPanelOpaque = false;

void drawSquare(sf::RenderTarget& target, sf::Vector2f size, sf::Vector2f at,
                const sf::Texture& sheet, const sf::IntRect& picture, bool opaque = false) {
    drawSheetPicture(target, square, size, at, sheet, picture, blendFor(opaque));
}

// The pop-up shown for the cell under the mouse: false for a cell without a name or outside the
// grid; otherwise its name and whether it is water.
bool popupOfCellUnderMouse(std::string_view& name, bool& water) {
    const unsigned col = world.mouseTile.x;
    const unsigned row = world.mouseTile.y;
    if (col >= kGridSize || row >= kGridSize) {
        return false; // the camera may show (and the mouse point at) places beyond the grid
    }
    std::lock_guard<std::mutex> lock(gridRowLock(static_cast<int>(row)));
    const Tile& cell = cellAt(static_cast<int>(row), static_cast<int>(col));
    name = cell.name; // the id table's own text
    water = cell.water == 1;
    return !name.empty();
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
    panelOpaque = opaqueCell(iconSheet.copyToImage(), kPanelPicture);
    const sf::Image descriptions = descriptionSheet.copyToImage();
    plainPanelOpaque = opaqueCell(descriptions, kPlainPanel);
    waterPanelOpaque = opaqueCell(descriptions, kWaterPanel);
}

void addInventoryCover(Cover& cover) {
    if (panelOpaque) {
        cover.add({kPanelAt, kPanelSize});
    }
}

void addPopupCover(Cover& cover) {
    std::string_view name;
    bool water = false;
    if (popupOfCellUnderMouse(name, water) && (water ? waterPanelOpaque : plainPanelOpaque)) {
        cover.add({kPopupAt, kPopupSize});
    }
}

sf::Color inventoryShade() {
    return kShade;
}

void drawInventory(sf::RenderTarget& target, sf::RectangleShape heroineCopy) {
    drawSquare(target, kPanelSize, kPanelAt, iconSheet, kPanelPicture, panelOpaque);
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
    std::string_view name;
    bool water = false;
    if (!popupOfCellUnderMouse(name, water)) {
        return;
    }
    drawSquare(target, kPopupSize, kPopupAt, descriptionSheet, water ? kWaterPanel : kPlainPanel,
               water ? waterPanelOpaque : plainPanelOpaque);
    drawPopupLine(target, popupName, name, kNameAt);
    if (water) {
        drawPopupLine(target, popupWater, kWaterLine, {kNameAt.x, kNameAt.y + 30});
    }
}
