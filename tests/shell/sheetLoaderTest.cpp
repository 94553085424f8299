// sheetLoaderTest.cpp -- a sheet streamed into its texture holds the very texels SFML's own loader
// gives, for every sheet the game ships and for every kind of PNG; what the stream does not take
// (interlaced, other formats, missing or broken files) still loads or fails as SFML's loader does.
#include "testSupport.h"

#include "shell/sheetLoader.h"

#include <SFML/Graphics/Image.hpp>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

const std::string kAssets = KAIVA_ASSETS_DIR;

sf::Image texelsOf(const sf::Texture& texture) {
    return texture.copyToImage();
}

bool sameTexels(const sf::Image& a, const sf::Image& b) {
    const std::size_t bytes = std::size_t{a.getSize().x} * a.getSize().y * 4;
    return a.getSize() == b.getSize() &&
           (bytes == 0 || std::equal(a.getPixelsPtr(), a.getPixelsPtr() + bytes, b.getPixelsPtr()));
}

// The texels of SFML's own loader for the file.
sf::Image sfmlTexels(const std::filesystem::path& file) {
    sf::Texture texture;
    EXPECT_TRUE(texture.loadFromFile(file.string())) << file;
    return texelsOf(texture);
}

// A PNG of this colour type, depth and interlacing, 70 x 150 (three strips, the last one short),
// whose samples vary with place and channel; palette pictures get a palette with transparency.
void writePng(const std::filesystem::path& file, int colourType, int depth, int interlace) {
    constexpr png_uint_32 kWidth = 70;
    constexpr png_uint_32 kHeight = 150;
    std::FILE* out = std::fopen(file.string().c_str(), "wb");
    ASSERT_NE(out, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, out);
    png_set_IHDR(png, info, kWidth, kHeight, depth, colourType, interlace,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette(16);
    std::vector<png_byte> alphas(16);
    for (int i = 0; i < 16; ++i) {
        palette[i] = {static_cast<png_byte>(i * 16), static_cast<png_byte>(255 - i * 9),
                      static_cast<png_byte>(i * 5)};
        alphas[i] = static_cast<png_byte>(i * 17);
    }
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_PLTE(png, info, palette.data(), 16);
        png_set_tRNS(png, info, alphas.data(), 16, nullptr);
    }
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<png_byte> row(rowBytes);
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < kHeight; ++y) {
            for (std::size_t i = 0; i < rowBytes; ++i) {
                row[i] = static_cast<png_byte>((y * 7 + i * 13) % (depth == 4 ? 16 : 256));
            }
            if (depth == 4) {
                for (png_byte& b : row) {
                    b = static_cast<png_byte>(b | (b << 4)); // two palette indices per byte
                }
            }
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
}

class SheetLoaderTest : public ::testing::Test {
protected:
    std::filesystem::path dir = makeTempDir("sheetloader");
};

// Every sheet the game ships.
TEST_F(SheetLoaderTest, EveryShippedSheetHoldsTheTexelsOfSfmlsLoader) {
    for (const char* name : {"tileTable.png", "objectTable.png", "NPC-map.png",
                             "descrizioni-map.png", "speech-map.png", "talk-map.png",
                             "icon-map.png", "battle.png", "weapons-map.png", "kaiva-map.png"}) {
        SCOPED_TRACE(name);
        const std::filesystem::path file = std::filesystem::path(kAssets) / "textures" / name;
        sf::Texture streamed;
        ASSERT_TRUE(loadSheet(streamed, file.string()));
        EXPECT_TRUE(sameTexels(texelsOf(streamed), sfmlTexels(file)));
    }
}

// Every colour type and depth a PNG may have, plain and interlaced.
TEST_F(SheetLoaderTest, EveryKindOfPngHoldsTheTexelsOfSfmlsLoader) {
    struct Kind {
        const char* name;
        int colourType;
        int depth;
    };
    const Kind kinds[] = {
        {"rgba8", PNG_COLOR_TYPE_RGB_ALPHA, 8},  {"rgb8", PNG_COLOR_TYPE_RGB, 8},
        {"grey8", PNG_COLOR_TYPE_GRAY, 8},       {"greyalpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8},
        {"palette4", PNG_COLOR_TYPE_PALETTE, 4}, {"rgba16", PNG_COLOR_TYPE_RGB_ALPHA, 16},
        {"grey16", PNG_COLOR_TYPE_GRAY, 16},
    };
    for (const Kind& kind : kinds) {
        for (int interlace : {PNG_INTERLACE_NONE, PNG_INTERLACE_ADAM7}) {
            SCOPED_TRACE(std::string(kind.name) +
                         (interlace == PNG_INTERLACE_NONE ? "" : " adam7"));
            const std::filesystem::path file = dir / (std::string(kind.name) + ".png");
            writePng(file, kind.colourType, kind.depth, interlace);
            sf::Texture streamed;
            ASSERT_TRUE(loadSheet(streamed, file.string()));
            EXPECT_TRUE(sameTexels(texelsOf(streamed), sfmlTexels(file)));
        }
    }
}

// Opaque only when every pixel is: a file without alpha is; one translucent pixel in the last,
// short strip is enough to say no.
TEST_F(SheetLoaderTest, TellsWhetherEveryPixelIsOpaque) {
    sf::Image picture;
    picture.create(40, 150, sf::Color(10, 200, 30));
    ASSERT_TRUE(picture.saveToFile((dir / "opaque.png").string()));
    picture.setPixel(39, 149, sf::Color(10, 200, 30, 254));
    ASSERT_TRUE(picture.saveToFile((dir / "seethrough.png").string()));
    writePng(dir / "rgb8.png", PNG_COLOR_TYPE_RGB, 8, PNG_INTERLACE_NONE);
    writePng(dir / "rgb8i.png", PNG_COLOR_TYPE_RGB, 8, PNG_INTERLACE_ADAM7);
    const struct {
        const char* file;
        bool opaque;
    } cases[] = {
        {"opaque.png", true}, {"seethrough.png", false}, {"rgb8.png", true}, {"rgb8i.png", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        sf::Texture texture;
        bool opaque = !c.opaque;
        ASSERT_TRUE(loadSheet(texture, (dir / c.file).string(), &opaque));
        EXPECT_EQ(opaque, c.opaque);
    }
}

// Another format under a .png name loads as SFML loads it; a missing file, one that is not a
// picture and a PNG broken off halfway fail and leave the texture empty, even one that held a
// sheet before.
TEST_F(SheetLoaderTest, WhatTheStreamCannotTakeLoadsOrFailsAsSfmlDoes) {
    sf::Image picture;
    picture.create(30, 20, sf::Color(200, 100, 50, 128));
    ASSERT_TRUE(picture.saveToFile((dir / "bitmap.bmp").string()));
    std::filesystem::rename(dir / "bitmap.bmp", dir / "bitmap.png");
    sf::Texture bitmap;
    ASSERT_TRUE(loadSheet(bitmap, (dir / "bitmap.png").string()));
    EXPECT_TRUE(sameTexels(texelsOf(bitmap), sfmlTexels(dir / "bitmap.png")));

    writePng(dir / "whole.png", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE);
    const std::string whole = readTextFile(dir / "whole.png");
    writeTextFile(dir / "broken.png", whole.substr(0, whole.size() / 2));
    writeTextFile(dir / "words.png", "not a picture at all");
    for (const char* name : {"missing.png", "words.png", "broken.png"}) {
        SCOPED_TRACE(name);
        sf::Texture texture;
        ASSERT_TRUE(loadSheet(texture, (dir / "whole.png").string()));
        EXPECT_FALSE(loadSheet(texture, (dir / name).string()));
        EXPECT_EQ(texture.getSize(), sf::Vector2u(0, 0));
    }
}

} // namespace
