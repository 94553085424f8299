// contactSheet.cpp -- an artist's tool, not part of the game: regenerates the textures and
// composes mock scenes (ground and objects at the game's 100-pixel cells, people at 84 pixels) so
// that the art can be judged the way a player sees it. The build makes it as the target
// `contactsheet`; run it from the build folder:
//   tools/assetgen/contactsheet ../tools/assetgen/art /tmp/kaiva-art
#include "art/textures.h"
#include "assetIds.h"

#include <SFML/Graphics/Image.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr unsigned kCell = 320;
constexpr unsigned kShownCell = 100;
constexpr unsigned kFrame = 160;
constexpr unsigned kShownFigure = 84;

// Area-averaged downscale of a source rectangle to size x size (premultiplied alpha), the
// nearest we get to the game's bilinear drawing without a display.
sf::Image boxDownscale(const sf::Image& src, unsigned left, unsigned top, unsigned from,
                       unsigned size) {
    sf::Image out;
    out.create(size, size, sf::Color::Transparent);
    const double ratio = static_cast<double>(from) / size;
    for (unsigned y = 0; y < size; ++y) {
        for (unsigned x = 0; x < size; ++x) {
            double r = 0, g = 0, b = 0, a = 0, n = 0;
            const unsigned x0 = static_cast<unsigned>(x * ratio);
            const unsigned x1 = std::max(x0 + 1, static_cast<unsigned>((x + 1) * ratio));
            const unsigned y0 = static_cast<unsigned>(y * ratio);
            const unsigned y1 = std::max(y0 + 1, static_cast<unsigned>((y + 1) * ratio));
            for (unsigned sy = y0; sy < y1; ++sy) {
                for (unsigned sx = x0; sx < x1; ++sx) {
                    const sf::Color c = src.getPixel(left + sx, top + sy);
                    const double al = c.a / 255.0;
                    r += c.r * al;
                    g += c.g * al;
                    b += c.b * al;
                    a += al;
                    n += 1;
                }
            }
            if (a > 0) {
                out.setPixel(x, y,
                             sf::Color(static_cast<sf::Uint8>(r / a), static_cast<sf::Uint8>(g / a),
                                       static_cast<sf::Uint8>(b / a),
                                       static_cast<sf::Uint8>(255 * a / n)));
            }
        }
    }
    return out;
}

sf::Image nearestScale(const sf::Image& src, unsigned left, unsigned top, unsigned from,
                       unsigned size) {
    sf::Image out;
    out.create(size, size, sf::Color::Transparent);
    for (unsigned y = 0; y < size; ++y) {
        for (unsigned x = 0; x < size; ++x) {
            out.setPixel(x, y, src.getPixel(left + x * from / size, top + y * from / size));
        }
    }
    return out;
}

void blend(sf::Image& dst, const sf::Image& src, int left, int top) {
    for (unsigned y = 0; y < src.getSize().y; ++y) {
        for (unsigned x = 0; x < src.getSize().x; ++x) {
            const int dx = left + static_cast<int>(x);
            const int dy = top + static_cast<int>(y);
            if (dx < 0 || dy < 0 || dx >= static_cast<int>(dst.getSize().x) ||
                dy >= static_cast<int>(dst.getSize().y)) {
                continue;
            }
            const sf::Color s = src.getPixel(x, y);
            const sf::Color d = dst.getPixel(static_cast<unsigned>(dx), static_cast<unsigned>(dy));
            const float a = s.a / 255.0f;
            const auto mixc = [a](sf::Uint8 p, sf::Uint8 q) {
                return static_cast<sf::Uint8>(p * a + q * (1 - a));
            };
            dst.setPixel(static_cast<unsigned>(dx), static_cast<unsigned>(dy),
                         sf::Color(mixc(s.r, d.r), mixc(s.g, d.g), mixc(s.b, d.b), 255));
        }
    }
}

// A mock scene: ground and object ids per cell, and people standing at cells.
struct Figure {
    int sheet; // 0 NPC-map, 1 kaiva-map
    int row;
    int frame;
    int col;
    int cellRow;
};
struct Scene {
    std::string name;
    std::vector<std::vector<int>> groundIds;
    std::vector<std::vector<int>> objectIds;
    std::vector<Figure> figures;
};

sf::Image compose(const Scene& scene, const sf::Image& tiles, const sf::Image& objects,
                  const sf::Image& npc, const sf::Image& hero) {
    const unsigned rows = static_cast<unsigned>(scene.groundIds.size());
    const unsigned cols = static_cast<unsigned>(scene.groundIds[0].size());
    sf::Image out;
    out.create(cols * kShownCell, rows * kShownCell, sf::Color::Black);
    for (unsigned r = 0; r < rows; ++r) {
        for (unsigned c = 0; c < cols; ++c) {
            const int g = scene.groundIds[r][c] - 1;
            blend(out, boxDownscale(tiles, (g % 5) * kCell, (g / 5) * kCell, kCell, kShownCell),
                  static_cast<int>(c * kShownCell), static_cast<int>(r * kShownCell));
        }
    }
    for (unsigned r = 0; r < rows; ++r) {
        for (unsigned c = 0; c < cols; ++c) {
            const int o = scene.objectIds[r][c];
            if (o == 0) {
                continue;
            }
            const int i = o - 500;
            blend(out, boxDownscale(objects, (i % 5) * kCell, (i / 5) * kCell, kCell, kShownCell),
                  static_cast<int>(c * kShownCell), static_cast<int>(r * kShownCell));
        }
    }
    for (const Figure& f : scene.figures) {
        const sf::Image& sheet = f.sheet == 0 ? npc : hero;
        blend(out,
              nearestScale(sheet, static_cast<unsigned>(f.frame) * kFrame,
                           static_cast<unsigned>(f.row) * kFrame, kFrame, kShownFigure),
              f.col * static_cast<int>(kShownCell) + 8,
              f.cellRow * static_cast<int>(kShownCell) + 8);
    }
    return out;
}

// Every object in id order, eight to a row, on plain grass.
Scene allObjects() {
    Scene scene{"objects",
                std::vector<std::vector<int>>(6, std::vector<int>(8, 1)),
                std::vector<std::vector<int>>(6, std::vector<int>(8, 0)),
                {}};
    for (int id = object::kTreeLeafy; id <= object::kLastObjectId; ++id) {
        const int i = id - object::kTreeLeafy;
        scene.objectIds[static_cast<std::size_t>(i / 8)][static_cast<std::size_t>(i % 8)] = id;
    }
    return scene;
}

std::vector<Scene> scenes() {
    using namespace object;
    return {
        allObjects(),
        {"fields",
         {{1, 1, 2, 2, 3, 3, 4, 4},
          {1, 1, 2, 2, 3, 3, 4, 4},
          {5, 5, 6, 6, 7, 7, 8, 8},
          {5, 5, 6, 6, 7, 7, 8, 8},
          {9, 9, 10, 10, 11, 11, 30, 30},
          {9, 9, 10, 10, 11, 11, 30, 30}},
         std::vector<std::vector<int>>(6, std::vector<int>(8, 0)),
         {}},
        {"village",
         {{1, 1, 2, 4, 1, 1, 3, 3},
          {1, 7, 7, 4, 7, 7, 1, 3},
          {2, 7, 11, 11, 11, 7, 1, 1},
          {4, 4, 11, 11, 11, 4, 4, 4},
          {1, 7, 7, 4, 7, 8, 8, 1},
          {1, 1, 2, 4, 1, 8, 8, 2}},
         {{500, 0, 523, 0, 0, 502, 500, 500},
          {0, kTent, kChiefTent, 0, kTent, kClothesLine, 0, 501},
          {0, kTotem, 0, kCampfire, 0, kDrum, 0, kBush},
          {kSignpost, 0, kFirewood, 0, kPottery, 0, 0, kApple},
          {kFlowers, kFullBasket, kFishBasket, 0, kTotem2, kMannequin, kWeaponsBasket, 0},
          {kTrunk, kEmptyBasket, 0, 0, kSwordfishBasket, 0, kMysteryChest, kPebbles}},
         {{1, 1, 0, 3, 2}, {0, 1, 0, 3, 3}, {1, 0, 1, 4, 4}, {0, 8, 0, 6, 1}, {0, 4, 0, 5, 3}}},
        {"river",
         {{1, 1, 10, 1, 1, 3, 3, 1},
          {1, 1, 10, 1, 1, 1, 3, 1},
          {1, 10, 10, 1, 2, 1, 1, 1},
          {1, 1, 1, 1, 1, 10, 1, 30},
          {2, 1, 1, 1, 1, 1, 1, 30},
          {1, 1, 4, 4, 4, 1, 30, 30}},
         {{0, 0, 504, 0, 0, 0, 0, 0},
          {kReeds, 0, 521, 0, kFlowers, kTreeLeafy, 0, 0},
          {0, 0, 505, 503, 522, 503, 508, 0},
          {0, kMysteryMushroom, kPoisonMushrooms, 0, kSteppingStones, kPuddle, 504, 0},
          {kPoisonMushrooms2, 0, 0, 507, 503, 503, 506, 0},
          {0, kTrunk, 0, 504, 0, kReeds, 0, 0}},
         {{0, 6, 0, 6, 3}, {1, 0, 0, 1, 4}}},
        {"ravine",
         {{1, 1, 1, 1, 1, 1, 1, 1},
          {1, 17, 13, 13, 13, 18, 1, 1},
          {1, 15, 12, 25, 12, 22, 13, 18},
          {1, 15, 12, 12, 12, 12, 12, 16},
          {1, 19, 14, 23, 12, 24, 14, 20},
          {1, 1, 1, 15, 12, 16, 1, 1}},
         {{kTreeTall, 0, kBush, 0, 0, kTreeBare, 0, kTreeLeafy},
          {0, 0, 0, 0, 0, 0, 0, 0},
          {0, 0, 0, 0, 0, 0, 0, 0},
          {0, 0, 0, 0, 0, 0, 0, 0},
          {0, 0, 0, 0, 0, 0, 0, 0},
          {kBush, 0, 0, 0, 0, 0, 0, kPebbles}},
         {{0, 6, 0, 7, 0}, {1, 2, 0, 0, 0}}},
        {"desert",
         {{1, 1, 27, 5, 5, 6, 6, 5},
          {1, 1, 27, 5, 6, 6, 5, 5},
          {26, 26, 9, 5, 5, 5, 5, 5},
          {5, 5, 5, 29, 1, 28, 6, 6},
          {6, 5, 5, 29, 1, 28, 5, 5},
          {6, 6, 5, 5, 27, 5, 5, 5}},
         {{0, kDryBush, 0, kCactus, 0, 0, kBurningTent, 0},
          {0, 0, 0, kDesertRock, 0, kCarcass, 0, kBurningTent2},
          {0, 0, kDryBush, 0, 0, 0, 0, kBones},
          {kCactus, 0, 0, 0, 0, 0, 0, kCactus},
          {0, kBones, 0, 0, 0, 0, kDesertRock, 0},
          {0, 0, kCactus, 0, 0, 0, kDryBush, 0}},
         {{0, 10, 0, 4, 2}, {0, 3, 0, 5, 2}, {1, 2, 0, 2, 2}}},
    };
}

// The battle screen at half size: backdrop, the heroine on the left facing right and one foe on
// the right facing left (the first frame of its second row), the menu box as a blue block.
sf::Image battleMock(const sf::Image& backdrop, const sf::Image& npc, const sf::Image& hero,
                     int foeRow) {
    sf::Image out;
    out.create(960, 540, sf::Color::Black);
    for (unsigned y = 0; y < 540; ++y) {
        for (unsigned x = 0; x < 960; ++x) {
            out.setPixel(x, y, backdrop.getPixel(x / 2, y / 2));
        }
    }
    sf::Image menu;
    menu.create(375, 200, sf::Color(30, 40, 140, 220));
    blend(out, menu, 75, 290);
    blend(out, nearestScale(hero, 0, 320, kFrame, 225), 120, 45);
    blend(out, nearestScale(npc, 0, static_cast<unsigned>(foeRow) * kFrame, kFrame, 225), 615, 45);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: contactSheet <art folder> <output folder>" << std::endl;
        return 2;
    }
    const std::filesystem::path out = argv[2];
    std::filesystem::create_directories(out);
    if (!generateTextures(argv[1], out)) {
        return 1;
    }
    sf::Image tiles, objects, npc, hero;
    if (!tiles.loadFromFile((out / "tileTable.png").string()) ||
        !objects.loadFromFile((out / "objectTable.png").string()) ||
        !npc.loadFromFile((out / "NPC-map.png").string()) ||
        !hero.loadFromFile((out / "kaiva-map.png").string())) {
        return 1;
    }
    for (const Scene& scene : scenes()) {
        compose(scene, tiles, objects, npc, hero)
            .saveToFile((out / ("scene-" + scene.name + ".png")).string());
    }
    sf::Image backdrop;
    if (!backdrop.loadFromFile((out / "battle.png").string())) {
        return 1;
    }
    for (int row : {3, 7, 11}) {
        battleMock(backdrop, npc, hero, row)
            .saveToFile((out / ("battle-" + std::to_string(row) + ".png")).string());
    }
    return 0;
}
