// main.cpp -- the asset generator: `assetgen <generator folder> <assets folder>` writes every
// texture, music and map the game reads, the same bytes on every run; `assetgen --icons
// <generator folder> <icon folder> <size>...` writes the desktop icon at those sizes.
#include "art/iconArt.h"
#include "art/textures.h"
#include "map/maps.h"
#include "music/music.h"

#include <charconv>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: assetgen <generator folder> <assets folder>\n"
                               "       assetgen --icons <generator folder> <icon folder> <size>...";

int generateAssets(const std::filesystem::path& source, const std::filesystem::path& assets) {
    for (const char* folder : {"textures", "music", "maps"}) {
        std::filesystem::create_directories(assets / folder);
    }
    const bool ok = generateTextures(source / "art", assets / "textures") &&
                    generateMusic(source / "music", assets / "music") &&
                    generateMaps(source / "map", assets / "maps");
    return ok ? 0 : 1;
}

// A size in pixels written in decimal digits and nothing else.
std::optional<unsigned> parseSize(const char* text) {
    unsigned value = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, value);
    if (error != std::errc() || stop != end || stop == text) {
        return std::nullopt;
    }
    return value;
}

int generateIconFiles(int count, char** arguments) {
    std::vector<unsigned> sizes;
    for (int i = 2; i < count; ++i) {
        const std::optional<unsigned> size = parseSize(arguments[i]);
        if (!size) {
            std::cerr << "assetgen: '" << arguments[i] << "' is not an icon size" << std::endl;
            return 2;
        }
        sizes.push_back(*size);
    }
    const std::filesystem::path source = arguments[0];
    return generateIcons(source / "art", arguments[1], sizes) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && std::strcmp(argv[1], "--icons") == 0) {
        return generateIconFiles(argc - 2, argv + 2);
    }
    if (argc != 3) {
        std::cerr << kUsage << std::endl;
        return 2;
    }
    return generateAssets(argv[1], argv[2]);
}
