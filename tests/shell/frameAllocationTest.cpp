// frameAllocationTest.cpp -- roaming and battle frames take nothing from the heap once the game is
// under way, but for the one record SFML takes for a frame's texture binds: the global operator new
// of this test binary counts the allocations of the thread that asks, while it asks, over a few
// hundred frames drawn with the shipped maps, sheets and font.
#include "testSupport.h"

#include "battle/battleRules.h"
#include "shell/frame.h"
#include "shell/gameState.h"
#include "shell/input.h"
#include "shell/resources.h"
#include "story/dialogueScript.h"
#include "story/quests.h"
#include "world/characterThread.h"
#include "world/characters.h"
#include "world/mapLoader.h"

#include <SFML/Graphics/RenderTexture.hpp>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>

namespace {

// Only the asking thread's allocations count: the character thread keeps its own life.
thread_local bool countingAllocations = false;
thread_local long allocationsCounted = 0;

} // namespace

// A sanitizer build keeps its own allocator: LLVM inside Mesa allocates with the nothrow operator
// new, which would stay the sanitizer's, and frees with the plain operator delete, which would be
// this one; AddressSanitizer reports that pair as a mismatch in every test of the binary. There
// the counter stays off and the tests below are skipped; the plain build runs them.
#if !KAIVA_SANITIZED
void* operator new(std::size_t size) {
    if (countingAllocations) {
        ++allocationsCounted;
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

// GCC sees the free() of a pointer from new in these replacements, which is what they are for.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
#pragma GCC diagnostic pop
#endif

namespace {

const std::string kAssets = KAIVA_ASSETS_DIR;
constexpr float kFrameSeconds = 1.0f / 60;
constexpr int kLapFrames = 90; // each way: a second and a half of walking
const sf::Vector2i kMouseOverTheWorld(1400, 700);
// SFML's record for binding textures, held through a frame's drawing (shell/frame.cpp).
constexpr long kSfmlRecordsAFrame = 1;

// The heap allocations made on this thread while `run` runs.
template <class Run> long allocationsDuring(Run run) {
    allocationsCounted = 0;
    countingAllocations = true;
    run();
    countingAllocations = false;
    return allocationsCounted;
}

// Free roaming on the shipped maps with every sheet and the font the frames draw, the characters
// placed and living on their thread, and the whole picture drawn: the HUD, the pop-up of the cell
// under the mouse, the hints.
class FrameAllocationTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        if (KAIVA_SANITIZED) {
            GTEST_SKIP() << "allocations are counted in the plain build only";
        }
        for (auto [sheet, file] : kSheets) {
            ASSERT_TRUE(sheet->loadFromFile(kAssets + "/textures/" + file)) << file;
        }
        ASSERT_TRUE(pixelFont.loadFromFile(kAssets + "/font/pixelTxt.ttf"));
        ASSERT_TRUE(loadLayer(kAssets + "/maps/mapLv0.txt", MapLayer::Ground));
        ASSERT_TRUE(loadLayer(kAssets + "/maps/mapLv1.txt", MapLayer::Object));
        for (int i = 0; i < kQuestCount; ++i) {
            initQuest(i);
        }
        setUpBattleMoves();
        placeCharacters();
        startCharacterThread();
        ASSERT_TRUE(screen.create(1920, 1080));
        pointAt(kMouseOverTheWorld);
    }
    void TearDown() override {
        if (KAIVA_SANITIZED) {
            PlayTest::TearDown();
            return;
        }
        stopCharacterThread();
        for (auto [sheet, file] : kSheets) {
            *sheet = sf::Texture();
        }
        pixelFont = sf::Font();
        PlayTest::TearDown();
    }

    // Plays frames, noting the most allocations any of them made.
    void play(int frames) {
        for (int i = 0; i < frames; ++i) {
            mostInAFrame = std::max(mostInAFrame,
                                    allocationsDuring([&] { playFrame(screen, kFrameSeconds); }));
        }
    }

    void walk(sf::Keyboard::Key key, int frames) {
        holdKey(key, true);
        play(frames);
        holdKey(key, false);
    }

    // Right and back again, then a moment standing: the camera, the window, the pop-up's cell and
    // the characters' pictures all change on the way.
    void lap() {
        walk(sf::Keyboard::D, kLapFrames);
        walk(sf::Keyboard::A, kLapFrames);
        play(kLapFrames / 2);
    }

    struct SheetFile {
        sf::Texture* sheet;
        const char* file;
    };
    static constexpr SheetFile kSheets[] = {
        {&tileSheet, "tileTable.png"},     {&objectSheet, "objectTable.png"},
        {&npcSheet, "NPC-map.png"},        {&descriptionSheet, "descrizioni-map.png"},
        {&speechSheet, "speech-map.png"},  {&talkSheet, "talk-map.png"},
        {&iconSheet, "icon-map.png"},      {&battleBackground, "battle.png"},
        {&weaponSheet, "weapons-map.png"}, {&heroSheet, "kaiva-map.png"},
    };
    sf::RenderTexture screen;
    long mostInAFrame = 0;
};

// The first lap meets every word and glyph it will show; the second one, over the same cells, may
// build nothing.
TEST_F(FrameAllocationTest, RoamingFramesAllocateNothingOnceTheirWordsAreKnown) {
    lap();
    const sf::Vector2f start = heroinePosition();
    mostInAFrame = 0;
    lap();
    EXPECT_EQ(mostInAFrame, kSfmlRecordsAFrame);
    EXPECT_EQ(heroinePosition(), start); // the counted lap walked the same cells
}

// A battle with John: the frames of the heroine's turn, the menu moved up and down by key
// presses, with the opponent's values and hers on show.
TEST_F(FrameAllocationTest, BattleFramesAllocateNothing) {
    conversation.activeNpc = kJohn;
    loadDialogueScript(kJohn);
    battle.inBattle = true;
    play(1);
    mostInAFrame = 0;
    for (int i = 0; i < 15; ++i) {
        pressKey(i % 2 == 0 ? sf::Keyboard::Down : sf::Keyboard::Up);
        play(20);
    }
    EXPECT_EQ(mostInAFrame, kSfmlRecordsAFrame);
    EXPECT_TRUE(battle.inBattle);
}

// The counter itself: a frame that builds a new text is seen.
TEST_F(FrameAllocationTest, TheCounterSeesAFrameThatBuildsText) {
    play(1);
    quests[story.currentQuest].title = "Un titolo che il primo fotogramma non aveva mai visto";
    mostInAFrame = 0;
    play(1);
    EXPECT_GT(mostInAFrame, kSfmlRecordsAFrame);
}

} // namespace
