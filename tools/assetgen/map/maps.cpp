// maps.cpp -- the world maps: wilderness by rule, the play area from world.layout, then the
// tiling passes, written as the two layer files the game loads (mapLv0.txt ground, mapLv1.txt
// objects).
#include "map/maps.h"

#include "map/draft.h"
#include "map/layout.h"
#include "map/tiling.h"
#include "map/wilderness.h"

#include <fstream>
#include <iostream>
#include <string>

namespace {

// One line per row: every value followed by one space, then ";" and a line feed.
std::string layerText(const WorldDraft& draft, int DraftCell::*field) {
    std::string text;
    text.reserve(static_cast<std::size_t>(kWorldCells) * (kWorldCells * 4 + 2));
    for (int row = 0; row < kWorldCells; ++row) {
        for (int col = 0; col < kWorldCells; ++col) {
            text += std::to_string(draft.at(col, row).*field);
            text += ' ';
        }
        text += ";\n";
    }
    return text;
}

bool writeText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "assetgen: cannot write " << file.string() << std::endl;
        return false;
    }
    return true;
}

bool report(const WorldDraft& draft) {
    for (const std::string& error : draft.errors) {
        std::cerr << "assetgen: world.layout: " << error << std::endl;
    }
    return draft.errors.empty();
}

} // namespace

bool generateMaps(const std::filesystem::path& dataDir, const std::filesystem::path& outDir) {
    WorldDraft draft;
    fillWilderness(draft);
    if (!applyLayoutFile(dataDir / "world.layout", draft)) {
        return report(draft);
    }
    tileWorld(draft);
    if (!report(draft)) {
        return false;
    }
    return writeText(outDir / "mapLv0.txt", layerText(draft, &DraftCell::ground)) &&
           writeText(outDir / "mapLv1.txt", layerText(draft, &DraftCell::object));
}
