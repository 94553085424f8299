// interfaceArt.cpp -- the screens' sheets. Hints, icons and weapons are 32 x 32 sprites scaled
// x5 and outlined; the dialogue pieces, pop-ups and inventory are leather panels.
#include "art/interfaceArt.h"

#include "art/palette.h"
#include "art/panelArt.h"
#include "art/sheetLayout.h"

namespace {

using palette::mix;
using palette::shade;

constexpr unsigned kSpriteScale = 5;

// A sprite placed on a sheet at a frame's top-left pixel.
struct Placement {
    const char* sprite;
    unsigned left;
    unsigned top;
};

const Placement kSpeechFrames[] = {
    {"speech.calm", 0, 0}, {"speech.press", 160, 0}, {"speech.warn", 320, 0}};

const Placement kIcons[] = {
    {"icon.hope", 0, 0},           {"icon.next", 160, 0},    {"icon.quest", 320, 0},
    {"icon.pointer", 640, 0},      {"icon.attack", 0, 160},  {"icon.shield", 160, 160},
    {"icon.misfortune", 320, 160}, {"icon.power", 480, 160},
};

const Placement kWeapons[] = {
    {"weapon.sword", 0, 0}, {"weapon.axe", 160, 0}, {"weapon.armour", 320, 0}};

sf::Image blank(unsigned width, unsigned height) {
    sf::Image image;
    image.create(width, height, palette::kClear);
    return image;
}

template <std::size_t N>
void placeAll(sf::Image& image, const SpriteBook& book, const Placement (&list)[N]) {
    for (const Placement& p : list) {
        stamp(image, outlined(spriteOrEmpty(book, p.sprite), palette::kInk), p.left, p.top,
              kSpriteScale);
    }
}

template <std::size_t N>
void addNames(std::vector<std::string>& names, const Placement (&list)[N]) {
    for (const Placement& p : list) {
        names.push_back(p.sprite);
    }
}

void paste(sf::Image& image, const PixelGrid& grid, unsigned left, unsigned top) {
    stamp(image, grid, left, top, 1);
}

const sf::Color kDarkHide = mix(palette::kWoodDark, palette::kInk, 0.35f);

const PanelStyle kBoxStyle{kDarkHide, palette::kBuckskin, palette::kTurquoise, 3};
const PanelStyle kPlateStyle{kDarkHide, palette::kBuckskin, palette::kRed, 2};
const PanelStyle kButtonStyle{shade(kDarkHide, 1.1f), palette::kWoodLight, palette::kTealDark, 2};
const PanelStyle kHoverStyle{mix(kDarkHide, palette::kWood, 0.45f), palette::kFlame, palette::kGlow,
                             2};

// The dialogue box: a wide hide with a feather laid along its top border.
PixelGrid dialogueBox(const SpriteBook& book) {
    PixelGrid box = leatherPanel(480, 240, kBoxStyle);
    paintScaled(box, outlined(spriteOrEmpty(book, "motif.feather"), palette::kInk), 480 - 32 - 96,
                0, 3);
    return box;
}

PixelGrid hoveredButton() {
    PixelGrid button = leatherPanel(320, 80, kHoverStyle);
    // The glow reaches into the field a little, strongest near the border.
    for (int ring = 0; ring < 3; ++ring) {
        const int inset = (kHoverStyle.borderTexels + 2 + ring) * kPanelGrain;
        tintRect(button, inset, inset, 320 - 2 * inset, 80 - 2 * inset, 1.06f);
    }
    return button;
}

// A pop-up panel: decorated top, calm dark lower half where the name is written.
PixelGrid descriptionPanel(const SpriteBook& book, const char* motif, sf::Color trim) {
    PixelGrid panel = leatherPanel(240, 160, PanelStyle{kDarkHide, palette::kBuckskin, trim, 2});
    tintRect(panel, 16, 16, 208, 44, 1.18f);
    const PixelGrid& picture = spriteOrEmpty(book, motif);
    paintScaled(panel, outlined(picture, palette::kInk), 120 - picture.width * 2, 14, 4);
    return panel;
}

// The inventory: the heroine stands in a sunken frame on the left, her three things on the right.
PixelGrid inventoryPanel(const SpriteBook& book) {
    PixelGrid panel =
        leatherPanel(320, 320, PanelStyle{kDarkHide, palette::kWoodLight, palette::kTurquoise, 3});
    drawSlot(panel, 10, 50, 205);
    washRect(panel, 18, 58, 189, 189, palette::kBuckskin, 0.3f); // lighter, so she reads
    paintScaled(panel, spriteOrEmpty(book, "motif.band"), 16, 20, 4);
    for (int top : {30, 125, 220}) {
        drawSlot(panel, 215, top, 75);
    }
    return panel;
}

} // namespace

sf::Image speechSheet(const SpriteBook& book) {
    sf::Image image = blank(3 * sheet::kFramePixels, sheet::kFramePixels);
    placeAll(image, book, kSpeechFrames);
    return image;
}

sf::Image talkSheet(const SpriteBook& book) {
    sf::Image image = blank(480, 480);
    paste(image, leatherPanel(240, 80, kPlateStyle), 0, 0);
    paste(image, leatherPanel(320, 80, kButtonStyle), 0, 80);
    paste(image, hoveredButton(), 0, 160);
    paste(image, dialogueBox(book), 0, 240);
    return image;
}

sf::Image iconSheet(const SpriteBook& book) {
    sf::Image image = blank(5 * sheet::kFramePixels, 4 * sheet::kFramePixels);
    placeAll(image, book, kIcons);
    paste(image, inventoryPanel(book), 0, 320);
    return image;
}

sf::Image descriptionSheet(const SpriteBook& book) {
    sf::Image image = blank(480, 160);
    paste(image, descriptionPanel(book, "motif.leaf", palette::kLeafLight), 0, 0);
    paste(image, descriptionPanel(book, "motif.drop", palette::kWaterLight), 240, 0);
    return image;
}

sf::Image weaponSheet(const SpriteBook& book) {
    sf::Image image = blank(3 * sheet::kFramePixels, sheet::kFramePixels);
    placeAll(image, book, kWeapons);
    return image;
}

std::vector<std::string> interfaceSprites() {
    std::vector<std::string> names = {"motif.feather", "motif.leaf", "motif.drop", "motif.band"};
    addNames(names, kSpeechFrames);
    addNames(names, kIcons);
    addNames(names, kWeapons);
    return names;
}
