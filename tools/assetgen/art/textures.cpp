// textures.cpp -- the generator's art entry: reads the sprite files, checks that every picture a
// sheet needs is there, builds the ten sheets and writes them as PNG files.
#include "art/textures.h"

#include "art/backdropArt.h"
#include "art/characterArt.h"
#include "art/groundArt.h"
#include "art/interfaceArt.h"
#include "art/objectArt.h"
#include "art/palette.h"
#include "art/sheetLayout.h"
#include "assetIds.h"

#include <functional>
#include <iostream>

namespace {

constexpr unsigned kGroundScale = 5; // 64 texels to a 320-pixel cell

// The sprite files beside the generator, one book each.
struct SpriteBooks {
    SpriteBook objects;
    SpriteBook people;
    SpriteBook heroine;
    SpriteBook screens;
};

bool readBooks(const std::filesystem::path& dataDir, SpriteBooks& books) {
    const std::pair<const char*, SpriteBook*> files[] = {
        {"sprites/objects.txt", &books.objects},
        {"sprites/people.txt", &books.people},
        {"sprites/kaiva.txt", &books.heroine},
        {"sprites/interface.txt", &books.screens},
    };
    for (const auto& [name, book] : files) {
        std::string error;
        if (!readSpriteFile(dataDir / name, *book, error)) {
            std::cerr << "assetgen: " << error << std::endl;
            return false;
        }
    }
    return true;
}

bool hasAll(const SpriteBook& book, const std::vector<std::string>& names, const char* file) {
    bool ok = true;
    for (const std::string& name : names) {
        if (book.count(name) == 0) {
            std::cerr << "assetgen: " << file << " lacks the picture " << name << std::endl;
            ok = false;
        }
    }
    return ok;
}

std::vector<std::string> objectSprites() {
    std::vector<std::string> names;
    for (int id = object::kTreeLeafy; id <= object::kLastObjectId; ++id) {
        if (*objectSpriteName(id) != '\0') {
            names.emplace_back(objectSpriteName(id));
        }
    }
    return names;
}

bool booksComplete(const SpriteBooks& books) {
    // Every check runs, so one build lists every missing picture.
    const bool objects = hasAll(books.objects, objectSprites(), "objects.txt");
    const bool people = hasAll(books.people, npcFigures(), "people.txt");
    const bool heroine = hasAll(books.heroine, heroFigures(), "kaiva.txt");
    const bool screens = hasAll(books.screens, interfaceSprites(), "interface.txt");
    return objects && people && heroine && screens;
}

sf::Image groundSheet() {
    const unsigned rows = (static_cast<unsigned>(ground::kLastGroundId) + sheet::kCellsPerRow - 1) /
                          sheet::kCellsPerRow;
    sf::Image image;
    image.create(sheet::kCellsPerRow * sheet::kCellPixels, rows * sheet::kCellPixels,
                 palette::kClear);
    for (int id = 1; id <= ground::kLastGroundId; ++id) {
        const unsigned index = static_cast<unsigned>(id - 1);
        stamp(image, groundCell(id), (index % sheet::kCellsPerRow) * sheet::kCellPixels,
              (index / sheet::kCellsPerRow) * sheet::kCellPixels, kGroundScale);
    }
    return image;
}

bool save(const sf::Image& image, const std::filesystem::path& file) {
    if (!image.saveToFile(file.string())) {
        std::cerr << "assetgen: cannot write " << file.string() << std::endl;
        return false;
    }
    return true;
}

} // namespace

bool generateTextures(const std::filesystem::path& dataDir, const std::filesystem::path& outDir) {
    SpriteBooks books;
    if (!readBooks(dataDir, books) || !booksComplete(books)) {
        return false;
    }
    const std::pair<const char*, std::function<sf::Image()>> sheets[] = {
        {"tileTable.png", groundSheet},
        {"objectTable.png", [&] { return objectSheet(books.objects); }},
        {"NPC-map.png", [&] { return npcSheet(books.people); }},
        {"kaiva-map.png", [&] { return heroSheet(books.heroine); }},
        {"speech-map.png", [&] { return speechSheet(books.screens); }},
        {"talk-map.png", [&] { return talkSheet(books.screens); }},
        {"icon-map.png", [&] { return iconSheet(books.screens); }},
        {"descrizioni-map.png", [&] { return descriptionSheet(books.screens); }},
        {"weapons-map.png", [&] { return weaponSheet(books.screens); }},
        {"battle.png", battleBackdrop},
    };
    for (const auto& [name, build] : sheets) {
        if (!save(build(), outDir / name)) {
            return false;
        }
    }
    return true;
}
