// main.cpp -- the asset generator: `assetgen <generator folder> <assets folder>` writes every
// texture, music and map the game reads, the same bytes on every run.
#include "art/textures.h"
#include "map/maps.h"
#include "music/music.h"

#include <filesystem>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: assetgen <generator folder> <assets folder>" << std::endl;
        return 2;
    }
    const std::filesystem::path source = argv[1];
    const std::filesystem::path assets = argv[2];
    for (const char* folder : {"textures", "music", "maps"}) {
        std::filesystem::create_directories(assets / folder);
    }
    const bool ok = generateTextures(source / "art", assets / "textures") &&
                    generateMusic(source / "music", assets / "music") &&
                    generateMaps(source / "map", assets / "maps");
    return ok ? 0 : 1;
}
