// mapview.cpp -- renders places of the generated world into PNGs with the game's own loading and
// drawing, for judging the level design. Run from the build folder (./assets/ is the asset
// folder) under an X display: `mapview [--schematic] PLACE...`, where PLACE is a name from the
// table below, "x,y" (a camera centre in world pixels), "flight" (the intro's turning points),
// "playarea" (the walled world, small) or "overview" (the whole grid, each cell in the average
// colour of its pictures). --schematic swaps the art for flat coded pictures (a colour per
// ground, a mark per object, a dark rim round what blocks), readable before the art exists and
// handy for checking how the pieces join.
#include "shell/gameState.h"
#include "shell/resources.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"
#include "world/visibleWindow.h"
#include "world/worldDrawing.h"

#include <SFML/Graphics.hpp>

#include <cstdio>
#include <iostream>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr unsigned kShotWidth = 1920;
constexpr unsigned kShotHeight = 1080;
constexpr float kSpritePixels = 84;
const sf::Vector2f kHeroineStart{918, 498};
constexpr unsigned kOverviewCellPixels = 4;
constexpr int kPlayAreaCols = 61;
constexpr int kPlayAreaRows = 58;
constexpr unsigned kPlayAreaCellPixels = 25;

struct Place {
    const char* name;
    sf::Vector2f centre;
};

const Place kPlaces[] = {
    {"start", {960, 540}},    {"village", {900, 2500}},   {"field", {2350, 1300}},
    {"camp", {4700, 2000}},   {"invaders", {4700, 2000}}, {"pass", {1100, 3850}},
    {"desert", {1600, 4850}}, {"bridge", {1750, 800}},    {"fishing", {2550, 3400}},
    {"glade", {4750, 3450}},  {"clearing", {700, 1500}},  {"orchard", {1400, 2450}},
};

// The intro's flight: its turning points, in order.
const sf::Vector2f kFlight[] = {{4800, 2000}, {3700, 2000}, {3700, 1000},
                                {2700, 1000}, {2700, 2000}, {2700, 5000},
                                {1000, 5000}, {1000, 1800}, {1000, 600}};

// ---- the schematic sheets ----------------------------------------------------------------------

constexpr unsigned kCell = kSheetCellPixels;
constexpr unsigned kTileSheetWidth = 1600, kTileSheetHeight = 1920;
constexpr unsigned kObjectSheetWidth = 1600, kObjectSheetHeight = 3200;
constexpr unsigned kBand = 120; // the width of the river's water
const sf::Color kWaterColour(50, 120, 220);
const sf::Color kCliffColour(165, 135, 100);
const sf::Color kGrassColour(90, 160, 70);
const sf::Color kSandColour(230, 210, 140);

struct Painter {
    sf::Image& image;
    unsigned x0, y0; // the sheet cell's corner

    void rect(unsigned x, unsigned y, unsigned w, unsigned h, sf::Color c) {
        for (unsigned j = y; j < y + h && j < kCell; ++j) {
            for (unsigned i = x; i < x + w && i < kCell; ++i) {
                image.setPixel(x0 + i, y0 + j, c);
            }
        }
    }
    void disc(float radius, sf::Color c) {
        const float mid = kCell * 0.5f;
        for (unsigned j = 0; j < kCell; ++j) {
            for (unsigned i = 0; i < kCell; ++i) {
                const float dx = static_cast<float>(i) - mid, dy = static_cast<float>(j) - mid;
                if (dx * dx + dy * dy <= radius * radius) {
                    image.setPixel(x0 + i, y0 + j, c);
                }
            }
        }
    }
    // Water from the centre out through each open side (bits: 1 N, 2 S, 4 W, 8 E).
    void river(int sides) {
        const unsigned a = (kCell - kBand) / 2;
        rect(a, a, kBand, kBand, kWaterColour);
        const unsigned spans[4][4] = {
            {a, 0, kBand, a}, {a, a + kBand, kBand, a}, {0, a, a, kBand}, {a + kBand, a, a, kBand}};
        for (int side = 0; side < 4; ++side) {
            if ((sides & (1 << side)) != 0) {
                rect(spans[side][0], spans[side][1], spans[side][2], spans[side][3], kWaterColour);
            }
        }
    }
};

Painter painterFor(sf::Image& image, int id) {
    const int index = id >= kFirstObjectId ? id - kFirstObjectId : id - 1;
    return {image, static_cast<unsigned>(index % kSheetColumns) * kCell,
            static_cast<unsigned>(index / kSheetColumns) * kCell};
}

struct GroundPaint {
    int id;
    sf::Color colour;
    int cliffSides;  // ravine edges: the sides facing solid ground (1 N, 2 S, 4 W, 8 E)
    int innerCorner; // ravine inner corners: 1 NW, 2 NE, 4 SW, 8 SE
    int grassSide;   // sand borders: the side where the grass is
};

const GroundPaint kGroundPaints[] = {
    {1, kGrassColour, 0, 0, 0},    {2, {125, 175, 85}, 0, 0, 0},   {3, {45, 95, 45}, 0, 0, 0},
    {4, {195, 160, 110}, 0, 0, 0}, {5, kSandColour, 0, 0, 0},      {6, {210, 185, 115}, 0, 0, 0},
    {7, {165, 125, 85}, 0, 0, 0},  {8, {205, 175, 95}, 0, 0, 0},   {9, {175, 150, 105}, 0, 0, 0},
    {10, {115, 105, 65}, 0, 0, 0}, {11, {150, 150, 150}, 0, 0, 0}, {12, {55, 35, 25}, 0, 0, 0},
    {13, {55, 35, 25}, 1, 0, 0},   {14, {55, 35, 25}, 2, 0, 0},    {15, {55, 35, 25}, 4, 0, 0},
    {16, {55, 35, 25}, 8, 0, 0},   {17, {55, 35, 25}, 5, 0, 0},    {18, {55, 35, 25}, 9, 0, 0},
    {19, {55, 35, 25}, 6, 0, 0},   {20, {55, 35, 25}, 10, 0, 0},   {21, {55, 35, 25}, 0, 1, 0},
    {22, {55, 35, 25}, 0, 2, 0},   {23, {55, 35, 25}, 0, 4, 0},    {24, {55, 35, 25}, 0, 8, 0},
    {25, {80, 60, 45}, 0, 0, 0},   {26, kSandColour, 0, 0, 1},     {27, kSandColour, 0, 0, 2},
    {28, kSandColour, 0, 0, 4},    {29, kSandColour, 0, 0, 8},     {30, kWaterColour, 0, 0, 0},
};

void paintGround(sf::Image& sheet, const GroundPaint& paint) {
    Painter p = painterFor(sheet, paint.id);
    p.rect(0, 0, kCell, kCell, paint.colour);
    const unsigned lip = 70, far = kCell - lip, half = kCell / 2;
    const unsigned sideRects[4][4] = {
        {0, 0, kCell, lip}, {0, far, kCell, lip}, {0, 0, lip, kCell}, {far, 0, lip, kCell}};
    const unsigned halfRects[4][4] = {
        {0, 0, kCell, half}, {0, half, kCell, half}, {0, 0, half, kCell}, {half, 0, half, kCell}};
    const unsigned cornerRects[4][2] = {{0, 0}, {far, 0}, {0, far}, {far, far}};
    for (int side = 0; side < 4; ++side) {
        const unsigned* r = sideRects[side];
        const unsigned* h = halfRects[side];
        if ((paint.cliffSides & (1 << side)) != 0) {
            p.rect(r[0], r[1], r[2], r[3], kCliffColour);
        }
        if ((paint.grassSide & (1 << side)) != 0) {
            p.rect(h[0], h[1], h[2], h[3], kGrassColour);
        }
        if ((paint.innerCorner & (1 << side)) != 0) {
            p.rect(cornerRects[side][0], cornerRects[side][1], lip, lip, kCliffColour);
        }
    }
}

enum class Mark { Disc, Box, Dot, River, Bridge };

struct ObjectPaint {
    int first, last;
    sf::Color colour;
    Mark mark;
    int detail; // disc radius or box half size; river and bridge: open sides
};

const ObjectPaint kObjectPaints[] = {
    {500, 500, {25, 100, 30}, Mark::Disc, 140},
    {501, 501, {110, 80, 50}, Mark::Disc, 110},
    {502, 502, {15, 75, 35}, Mark::Disc, 150},
    {503, 503, {}, Mark::River, 12},
    {504, 504, {}, Mark::River, 3},
    {505, 505, {}, Mark::River, 9},
    {506, 506, {}, Mark::River, 5},
    {507, 507, {}, Mark::River, 10},
    {508, 508, {}, Mark::River, 6},
    {509, 509, {200, 150, 40}, Mark::Box, 90},
    {510, 510, {235, 220, 180}, Mark::Box, 130},
    {511, 511, {60, 150, 60}, Mark::Disc, 70},
    {512, 512, {225, 225, 215}, Mark::Box, 80},
    {513, 513, {160, 60, 200}, Mark::Disc, 80},
    {514, 515, {220, 50, 60}, Mark::Dot, 40},
    {516, 516, {255, 130, 20}, Mark::Disc, 90},
    {517, 518, {190, 40, 40}, Mark::Box, 50},
    {519, 519, {250, 230, 90}, Mark::Box, 150},
    {520, 520, {120, 80, 40}, Mark::Box, 70},
    {521, 521, {}, Mark::Bridge, 3},
    {522, 522, {}, Mark::Bridge, 12},
    {523, 524, {240, 240, 120}, Mark::Dot, 30},
    {525, 525, {70, 140, 50}, Mark::Dot, 60},
    {526, 535, {140, 130, 120}, Mark::Dot, 40},
    {536, 537, {255, 70, 20}, Mark::Box, 130},
    {538, 538, {200, 170, 110}, Mark::Box, 70},
    {539, 539, {60, 220, 230}, Mark::Box, 80},
    {540, 540, {150, 110, 60}, Mark::Box, 70},
    {541, 541, {255, 255, 255}, Mark::Dot, 40},
    {542, 542, {90, 170, 200}, Mark::Box, 60},
    {543, 543, {240, 200, 60}, Mark::Box, 60},
    {544, 544, {255, 0, 0}, Mark::Dot, 45},
    {545, 545, {180, 190, 210}, Mark::Box, 90},
};

// Blocking objects get a dark rim, read from the game's own id table.
bool blocksAlone(int id) {
    Tile probe;
    applyIdTable(probe, id);
    return probe.blocking;
}

void paintObject(sf::Image& sheet, int id, const ObjectPaint& paint) {
    Painter p = painterFor(sheet, id);
    const unsigned mid = kCell / 2, size = static_cast<unsigned>(paint.detail);
    switch (paint.mark) {
    case Mark::River:
        p.river(paint.detail);
        return;
    case Mark::Bridge:
        p.river(paint.detail);
        p.rect(paint.detail == 3 ? 0 : mid - 70, paint.detail == 3 ? mid - 70 : 0,
               paint.detail == 3 ? kCell : 140, paint.detail == 3 ? 140 : kCell, {150, 100, 50});
        return;
    case Mark::Disc:
    case Mark::Dot:
        if (blocksAlone(id)) {
            p.disc(static_cast<float>(size + 12), sf::Color::Black);
        }
        p.disc(static_cast<float>(size), paint.colour);
        return;
    case Mark::Box:
        if (blocksAlone(id)) {
            p.rect(mid - size - 12, mid - size - 12, 2 * size + 24, 2 * size + 24,
                   sf::Color::Black);
        }
        p.rect(mid - size, mid - size, 2 * size, 2 * size, paint.colour);
        return;
    }
}

bool makeSchematicSheets(sf::Texture& tiles, sf::Texture& objects) {
    sf::Image tileImage, objectImage;
    tileImage.create(kTileSheetWidth, kTileSheetHeight, sf::Color::Magenta);
    objectImage.create(kObjectSheetWidth, kObjectSheetHeight, sf::Color::Transparent);
    for (const GroundPaint& paint : kGroundPaints) {
        paintGround(tileImage, paint);
    }
    for (const ObjectPaint& paint : kObjectPaints) {
        for (int id = paint.first; id <= paint.last; ++id) {
            paintObject(objectImage, id, paint);
        }
    }
    return tiles.loadFromImage(tileImage) && objects.loadFromImage(objectImage);
}

// ---- the shots ---------------------------------------------------------------------------------

bool loadTextures(bool schematic) {
    const bool art = schematic ? makeSchematicSheets(tileSheet, objectSheet)
                               : tileSheet.loadFromFile("./assets/textures/tileTable.png") &&
                                     objectSheet.loadFromFile("./assets/textures/objectTable.png");
    tileSheet.setSmooth(true);
    objectSheet.setSmooth(true);
    return art && npcSheet.loadFromFile("./assets/textures/NPC-map.png") &&
           speechSheet.loadFromFile("./assets/textures/speech-map.png") &&
           heroSheet.loadFromFile("./assets/textures/kaiva-map.png");
}

bool loadWorld() {
    resetGameState();
    return loadLayer(kGroundMapPath, MapLayer::Ground) &&
           loadLayer(kObjectMapPath, MapLayer::Object);
}

// Every character at its start, placed by the game, framed so that figures show on unfinished
// sheets.
void placeOutlinedCharacters() {
    placeCharacters();
    std::lock_guard<std::mutex> lock(rosterLock());
    for (int slot = 0; slot < kWorldCharacters; ++slot) {
        npcs[slot].sprite.setOutlineThickness(2);
        npcs[slot].sprite.setOutlineColor(sf::Color(255, 230, 0));
    }
}

// The heroine where the game starts her, outlined so that she stands out on placeholder art.
void drawHeroineMarker(sf::RenderTarget& target) {
    sf::RectangleShape marker({kSpritePixels, kSpritePixels});
    marker.setPosition(kHeroineStart);
    marker.setTexture(&heroSheet);
    marker.setTextureRect({0, 0, kHeroFramePixels, kHeroFramePixels});
    marker.setOutlineThickness(3);
    marker.setOutlineColor(sf::Color(255, 40, 200));
    target.draw(marker);
}

bool drawAndSave(sf::RenderTexture& canvas, const sf::View& view, sf::Vector2i cells,
                 const std::string& file) {
    canvas.setView(view);
    canvas.clear(sf::Color::Black);
    updateVisibleWindow(view, cells.x, cells.y);
    drawGroundPass(canvas);
    drawObjectPass(canvas);
    drawCharacters(canvas);
    drawHeroineMarker(canvas);
    canvas.display();
    const bool saved = canvas.getTexture().copyToImage().saveToFile(file);
    std::cout << (saved ? "wrote " : "could not write ") << file << std::endl;
    return saved;
}

bool saveView(sf::RenderTexture& canvas, sf::Vector2f centre, const std::string& file) {
    const sf::View view(centre, {static_cast<float>(kShotWidth), static_cast<float>(kShotHeight)});
    return drawAndSave(canvas, view, {kScreenCellsWide, kScreenCellsHigh}, file);
}

// The whole play area through the game's own passes, kPlayAreaCellPixels to a cell.
bool savePlayArea(const std::string& file) {
    sf::RenderTexture canvas;
    if (!canvas.create(kPlayAreaCols * kPlayAreaCellPixels, kPlayAreaRows * kPlayAreaCellPixels)) {
        return false;
    }
    const sf::View view(
        sf::FloatRect(0, 0, kPlayAreaCols * kCellPixels, kPlayAreaRows * kCellPixels));
    return drawAndSave(canvas, view, {kPlayAreaCols, kPlayAreaRows}, file);
}

// The average colour of each 320 x 320 cell of a sheet, alpha included.
std::vector<sf::Color> averageColours(const sf::Texture& sheet) {
    const sf::Image image = sheet.copyToImage();
    const unsigned cols = image.getSize().x / kSheetCellPixels;
    const unsigned rows = image.getSize().y / kSheetCellPixels;
    std::vector<sf::Color> colours;
    for (unsigned cell = 0; cell < cols * rows; ++cell) {
        unsigned long sum[4] = {0, 0, 0, 0};
        for (unsigned y = 0; y < kSheetCellPixels; y += 4) {
            for (unsigned x = 0; x < kSheetCellPixels; x += 4) {
                const sf::Color c = image.getPixel(cell % cols * kSheetCellPixels + x,
                                                   cell / cols * kSheetCellPixels + y);
                sum[0] += c.r * c.a;
                sum[1] += c.g * c.a;
                sum[2] += c.b * c.a;
                sum[3] += c.a;
            }
        }
        const unsigned long weight = sum[3] == 0 ? 1 : sum[3];
        const unsigned long samples = (kSheetCellPixels / 4) * (kSheetCellPixels / 4);
        colours.push_back(sf::Color(
            static_cast<sf::Uint8>(sum[0] / weight), static_cast<sf::Uint8>(sum[1] / weight),
            static_cast<sf::Uint8>(sum[2] / weight), static_cast<sf::Uint8>(sum[3] / samples)));
    }
    return colours;
}

sf::Color sheetColour(const std::vector<sf::Color>& colours, int sheetCol, int sheetRow) {
    const int index = sheetRow * kSheetColumns + sheetCol;
    return index >= 0 && index < static_cast<int>(colours.size())
               ? colours[static_cast<std::size_t>(index)]
               : sf::Color::Magenta;
}

sf::Color over(sf::Color below, sf::Color above) {
    const auto blend = [&](sf::Uint8 b, sf::Uint8 a) {
        return static_cast<sf::Uint8>((a * above.a + b * (255 - above.a)) / 255);
    };
    return {blend(below.r, above.r), blend(below.g, above.g), blend(below.b, above.b)};
}

void fillCell(sf::Image& image, int col, int row, sf::Color colour) {
    for (unsigned y = 0; y < kOverviewCellPixels; ++y) {
        for (unsigned x = 0; x < kOverviewCellPixels; ++x) {
            image.setPixel(static_cast<unsigned>(col) * kOverviewCellPixels + x,
                           static_cast<unsigned>(row) * kOverviewCellPixels + y, colour);
        }
    }
}

void markOverview(sf::Image& image) {
    for (int i = 0; i < kPlayAreaCols; ++i) { // the play area's outline
        fillCell(image, i, kPlayAreaRows, sf::Color::White);
    }
    for (int i = 0; i < kPlayAreaRows; ++i) {
        fillCell(image, kPlayAreaCols, i, sf::Color::White);
    }
    for (int slot = 0; slot < kWorldCharacters; ++slot) {
        fillCell(image, characterStartTable[slot].col, characterStartTable[slot].row,
                 sf::Color::Red);
    }
    fillCell(image, static_cast<int>(kHeroineStart.x) / kCellPixels,
             static_cast<int>(kHeroineStart.y) / kCellPixels, sf::Color(255, 40, 200));
}

bool saveOverview(const std::string& file) {
    const std::vector<sf::Color> ground = averageColours(tileSheet);
    const std::vector<sf::Color> objects = averageColours(objectSheet);
    sf::Image image;
    image.create(kGridSize * kOverviewCellPixels, kGridSize * kOverviewCellPixels);
    for (int row = 0; row < kGridSize; ++row) {
        for (int col = 0; col < kGridSize; ++col) {
            const Tile& cell = cellAt(row, col);
            sf::Color colour = cell.groundId == 0
                                   ? sf::Color::Black
                                   : sheetColour(ground, cell.groundSheetCol, cell.groundSheetRow);
            if (cell.objectId != 0) {
                colour =
                    over(colour, sheetColour(objects, cell.objectSheetCol, cell.objectSheetRow));
            }
            fillCell(image, col, row, colour);
        }
    }
    markOverview(image);
    const bool saved = image.saveToFile(file);
    std::cout << (saved ? "wrote " : "could not write ") << file << std::endl;
    return saved;
}

bool parseCentre(const std::string& text, sf::Vector2f& centre) {
    float x = 0, y = 0;
    char comma = 0;
    if (std::sscanf(text.c_str(), "%f%c%f", &x, &comma, &y) != 3 || comma != ',') {
        return false;
    }
    centre = {x, y};
    return true;
}

bool renderPlace(sf::RenderTexture& canvas, const std::string& name) {
    if (name == "overview") {
        return saveOverview("mapview-overview.png");
    }
    if (name == "playarea") {
        return savePlayArea("mapview-playarea.png");
    }
    if (name == "flight") {
        bool ok = true;
        for (std::size_t i = 0; i < std::size(kFlight); ++i) {
            ok = saveView(canvas, kFlight[i], "mapview-flight" + std::to_string(i) + ".png") && ok;
        }
        return ok;
    }
    for (const Place& place : kPlaces) {
        if (name == place.name) {
            return saveView(canvas, place.centre, "mapview-" + name + ".png");
        }
    }
    sf::Vector2f centre;
    if (parseCentre(name, centre)) {
        return saveView(canvas, centre, "mapview-" + name + ".png");
    }
    std::cerr << "mapview: unknown place " << name << std::endl;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> names(argv + 1, argv + argc);
    const bool schematic = !names.empty() && names.front() == "--schematic";
    if (schematic) {
        names.erase(names.begin());
    }
    if (names.empty()) {
        std::cerr << "usage: mapview [--schematic] PLACE... (start village field camp pass desert "
                     "bridge fishing glade clearing orchard flight playarea overview, or x,y)"
                  << std::endl;
        return 2;
    }
    sf::RenderTexture canvas;
    if (!canvas.create(kShotWidth, kShotHeight) || !loadTextures(schematic) || !loadWorld()) {
        std::cerr << "mapview: cannot load the textures or the maps from ./assets/" << std::endl;
        return 1;
    }
    placeOutlinedCharacters();
    bool ok = true;
    for (const std::string& name : names) {
        ok = renderPlace(canvas, name) && ok;
    }
    return ok ? 0 : 1;
}
