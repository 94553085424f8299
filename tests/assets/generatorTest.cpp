// generatorTest.cpp -- the asset generator writes the same bytes on every run, and every file the
// game reads.
#include "testSupport.h"

#include <cstdlib>

namespace {

const char* const kGeneratedFiles[] = {
    "textures/tileTable.png",       "textures/objectTable.png", "textures/NPC-map.png",
    "textures/descrizioni-map.png", "textures/speech-map.png",  "textures/talk-map.png",
    "textures/icon-map.png",        "textures/battle.png",      "textures/weapons-map.png",
    "textures/kaiva-map.png",       "music/worldHost.wav",      "music/introMusic.wav",
    "music/changeChapter.wav",      "maps/mapLv0.txt",          "maps/mapLv1.txt",
};

} // namespace

TEST(AssetGenerator, TwoRunsWriteIdenticalFilesEqualToTheBuildsAssets) {
    const std::filesystem::path first = makeTempDir("assets-a");
    const std::filesystem::path second = makeTempDir("assets-b");
    for (const std::filesystem::path& out : {first, second}) {
        const std::string command = std::string(KAIVA_ASSETGEN) + " " + KAIVA_ASSETGEN_SOURCE +
                                    " " + out.string() + " > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    for (const char* file : kGeneratedFiles) {
        const std::string a = readTextFile(first / file);
        EXPECT_FALSE(a.empty()) << file;
        EXPECT_TRUE(a == readTextFile(second / file)) << file << " differs between two runs";
        EXPECT_TRUE(a == readTextFile(std::filesystem::path(KAIVA_ASSETS_DIR) / file))
            << file << " differs from the build's copy";
    }
}

TEST(AssetGenerator, RefusesAWrongCommandLine) {
    const std::string command = std::string(KAIVA_ASSETGEN) + " 2> /dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
}
