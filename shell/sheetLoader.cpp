// sheetLoader.cpp -- PNG sheets inflated a strip of rows at a time into their textures.
//
// SFML's own loader holds four full copies of a sheet at once (the inflated rows, the picture, the
// image's copy and the texture): for the 20 MB object sheet that is 60 MB of fresh memory to fault
// in, before the first frame, and then to hand back. Here only the texture and one strip exist.
#include "shell/sheetLoader.h"

#include "shell/assetFiles.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr unsigned kStripRows = 64;
constexpr std::size_t kSignatureBytes = 8;
constexpr unsigned kChannels = 4;
constexpr sf::Uint8 kOpaque = 255;

// libpng reports a failure by jumping back to the setjmp in streamPng: no function between holds
// an object with a destructor.
void failRead(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

bool allOpaque(const sf::Uint8* pixels, std::size_t bytes) {
    for (std::size_t alpha = kChannels - 1; alpha < bytes; alpha += kChannels) {
        if (pixels[alpha] != kOpaque) {
            return false;
        }
    }
    return true;
}

// Every colour type and depth to 8-bit RGBA, as SFML's decoder gives them: palettes and grey
// expanded, 16 bits cut to their high byte, an opaque alpha added where the file has none.
void askForRgba(png_structp png, png_infop info) {
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, kOpaque, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
}

// Reads a non-interlaced PNG into the texture, strip by strip. False, with nothing reported, when
// the file is not one (or breaks off): the caller then lets SFML try it. `strip` lives in the
// caller, so that the long jump of a failure skips no destructor.
bool streamPng(std::FILE* file, sf::Texture& texture, std::vector<sf::Uint8>& strip, bool* opaque) {
    png_byte signature[kSignatureBytes];
    if (std::fread(signature, 1, kSignatureBytes, file) != kSignatureBytes ||
        png_sig_cmp(signature, 0, kSignatureBytes) != 0) {
        return false;
    }
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failRead, ignoreWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, file);
    png_set_sig_bytes(png, kSignatureBytes);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (png_get_interlace_type(png, info) != PNG_INTERLACE_NONE || !texture.create(width, height)) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    askForRgba(png, info);
    const std::size_t rowBytes = std::size_t{width} * kChannels;
    strip.resize(rowBytes * kStripRows);
    bool everyPixelOpaque = true;
    for (png_uint_32 first = 0; first < height; first += kStripRows) {
        const unsigned rows = std::min<png_uint_32>(kStripRows, height - first);
        for (unsigned row = 0; row < rows; ++row) {
            png_read_row(png, strip.data() + row * rowBytes, nullptr);
        }
        texture.update(strip.data(), width, rows, 0, first);
        everyPixelOpaque = everyPixelOpaque && allOpaque(strip.data(), rows * rowBytes);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (opaque != nullptr) {
        *opaque = everyPixelOpaque;
    }
    return true;
}

// SFML's own loader, with its messages, for whatever the stream did not take.
bool loadWithSfml(sf::Texture& texture, const std::string& path, bool* opaque) {
    sf::Image image;
    if (!image.loadFromFile(path) || !texture.loadFromImage(image)) {
        return false;
    }
    if (opaque != nullptr) {
        *opaque = allOpaque(image.getPixelsPtr(),
                            std::size_t{image.getSize().x} * image.getSize().y * kChannels);
    }
    return true;
}

} // namespace

bool loadSheet(sf::Texture& texture, const std::string& path, bool* opaque) {
    if (!assetMayBeOpened(path)) { // a folder, a pipe or a device: neither read nor waited for
        texture = sf::Texture();
        return false;
    }
    std::vector<sf::Uint8> strip;
    bool streamed = false;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        streamed = streamPng(file, texture, strip, opaque);
        std::fclose(file);
    }
    if (!streamed && !loadWithSfml(texture, path, opaque)) {
        texture = sf::Texture();
        return false;
    }
    return true;
}
