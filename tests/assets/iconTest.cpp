// iconTest.cpp -- the desktop icon from the generator: the heroine's face at each size, enlarged
// only by whole factors (no blur), the same bytes as the build's copy, and a refused size leaves
// nothing half written.
#include "testSupport.h"
#include "tools/assetgen/art/palette.h"

#include <SFML/Graphics/Image.hpp>

#include <cstdlib>

namespace {

constexpr unsigned kSmallest = 16;

std::filesystem::path iconFile(const std::filesystem::path& folder, unsigned size) {
    const std::string side = std::to_string(size);
    return folder / (side + "x" + side) / "apps" / "kaiva.png";
}

int runIconGenerator(const std::filesystem::path& out, const std::string& sizes) {
    const std::string command = std::string(KAIVA_ASSETGEN) + " --icons " + KAIVA_ASSETGEN_SOURCE +
                                " " + out.string() + " " + sizes + " 2> /dev/null";
    return std::system(command.c_str());
}

bool hasColour(const sf::Image& image, sf::Color colour) {
    for (unsigned y = 0; y < image.getSize().y; ++y) {
        for (unsigned x = 0; x < image.getSize().x; ++x) {
            if (image.getPixel(x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

TEST(DesktopIcon, EverySizeIsTheFaceEnlargedByAWholeFactorAndMatchesTheBuild) {
    const std::filesystem::path out = makeTempDir("icons");
    ASSERT_EQ(runIconGenerator(out, "16 48 256"), 0);
    sf::Image face;
    ASSERT_TRUE(face.loadFromFile(iconFile(out, kSmallest).string()));
    ASSERT_EQ(face.getSize(), sf::Vector2u(kSmallest, kSmallest));
    EXPECT_TRUE(hasColour(face, palette::kSkin)) << "no face in the icon";
    EXPECT_TRUE(hasColour(face, palette::kInk)) << "the face has no outline";
    EXPECT_TRUE(hasColour(face, palette::kClear)) << "the icon has no transparent background";

    for (const unsigned size : {16u, 48u, 256u}) {
        SCOPED_TRACE(size);
        sf::Image icon;
        ASSERT_TRUE(icon.loadFromFile(iconFile(out, size).string()));
        ASSERT_EQ(icon.getSize(), sf::Vector2u(size, size));
        const unsigned factor = size / kSmallest;
        int blurred = 0;
        for (unsigned y = 0; y < size; ++y) {
            for (unsigned x = 0; x < size; ++x) {
                blurred += icon.getPixel(x, y) != face.getPixel(x / factor, y / factor);
            }
        }
        EXPECT_EQ(blurred, 0) << "pixels that are not a whole-factor copy of the face";
        EXPECT_EQ(readTextFile(iconFile(out, size)),
                  readTextFile(iconFile(std::filesystem::path(KAIVA_BUILD_DIR) / "icons", size)))
            << "the build's icon differs from a fresh run";
    }
}

TEST(DesktopIcon, AWrongSizeIsRefusedBeforeAnyFileIsWritten) {
    for (const char* sizes : {"16 20", "0", "16 abc", "16px", "-16", ""}) {
        SCOPED_TRACE(sizes);
        const std::filesystem::path out = makeTempDir("icons-refused");
        EXPECT_NE(runIconGenerator(out, sizes), 0);
        EXPECT_FALSE(std::filesystem::exists(iconFile(out, kSmallest)));
    }
}
