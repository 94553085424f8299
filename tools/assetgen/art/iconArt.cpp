// iconArt.cpp -- the desktop icon, from the same picture of the heroine that walks down the screen
// in the game, so that the menu shows the face the player will meet.
#include "art/iconArt.h"

#include "art/palette.h"

#include <iostream>
#include <string>

namespace {

// Where the face sits in the 32 x 32 front picture: the feather, the hair and the first row of
// the shoulders, which make the head read as a bust at 16 pixels.
constexpr int kFaceLeft = 8;
constexpr int kFaceTop = 0;
constexpr const char* kFrontPicture = "kaiva.front";
constexpr const char* kIconFile = "kaiva.png";

PixelGrid cropped(const PixelGrid& grid, int left, int top, int side) {
    PixelGrid out(side, side);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            if (grid.contains(left + x, top + y)) {
                out.set(x, y, grid.at(left + x, top + y));
            }
        }
    }
    return out;
}

bool sizesValid(const std::vector<unsigned>& sizes) {
    bool ok = !sizes.empty();
    for (const unsigned size : sizes) {
        if (size == 0 || size % kIconFaceTexels != 0) {
            std::cerr << "assetgen: an icon of " << size << " pixels is not a multiple of "
                      << kIconFaceTexels << std::endl;
            ok = false;
        }
    }
    return ok;
}

bool writeIcon(const PixelGrid& face, unsigned size, const std::filesystem::path& outDir) {
    const std::string side = std::to_string(size);
    const std::filesystem::path folder = outDir / (side + "x" + side) / "apps";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    sf::Image image;
    image.create(size, size, palette::kClear);
    stamp(image, face, 0, 0, size / kIconFaceTexels);
    if (error || !image.saveToFile((folder / kIconFile).string())) {
        std::cerr << "assetgen: cannot write " << (folder / kIconFile).string() << std::endl;
        return false;
    }
    return true;
}

} // namespace

PixelGrid heroineFace(const SpriteBook& heroine) {
    const PixelGrid figure = outlined(spriteOrEmpty(heroine, kFrontPicture), palette::kInk);
    return cropped(figure, kFaceLeft, kFaceTop, static_cast<int>(kIconFaceTexels));
}

bool generateIcons(const std::filesystem::path& dataDir, const std::filesystem::path& outDir,
                   const std::vector<unsigned>& sizes) {
    if (!sizesValid(sizes)) {
        return false;
    }
    SpriteBook heroine;
    std::string error;
    if (!readSpriteFile(dataDir / "sprites/kaiva.txt", heroine, error)) {
        std::cerr << "assetgen: " << error << std::endl;
        return false;
    }
    if (heroine.count(kFrontPicture) == 0) {
        std::cerr << "assetgen: kaiva.txt lacks the picture " << kFrontPicture << std::endl;
        return false;
    }
    const PixelGrid face = heroineFace(heroine);
    for (const unsigned size : sizes) {
        if (!writeIcon(face, size, outDir)) {
            return false;
        }
    }
    return true;
}
