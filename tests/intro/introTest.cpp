// introTest.cpp -- the opening flight: the steps of each leg, the first and the last frame, the
// pace, the captions, what it keeps the player from doing, and that flying over the whole grid
// draws exactly what drawing every cell of it draws.
#include "testSupport.h"

#include "intro/intro.h"
#include "shell/frame.h"
#include "shell/gameState.h"
#include "shell/input.h"
#include "shell/resources.h"
#include "shell/startup.h"
#include "story/dialogueScript.h"
#include "story/quests.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"
#include "world/visibleWindow.h"
#include "world/worldDrawing.h"

#include <SFML/Graphics/RenderTexture.hpp>

#include <algorithm>
#include <vector>

namespace {

const std::string kAssets = KAIVA_ASSETS_DIR;
const sf::Time kFrameTime = sf::microseconds(16667);
const sf::Vector2f kFlightStart(4800, 2000);
const VisibleWindow kWholeGrid{0, 249, 0, 249};

bool operator==(const VisibleWindow& a, const VisibleWindow& b) {
    return a.visibleColFirst == b.visibleColFirst && a.visibleColEnd == b.visibleColEnd &&
           a.visibleRowFirst == b.visibleRowFirst && a.visibleRowEnd == b.visibleRowEnd;
}

// Where the pixels of exactly this colour lie in a picture, and how many there are.
struct ColourArea {
    int count = 0;
    unsigned left = ~0u, top = ~0u, right = 0, bottom = 0;
};

ColourArea areaOf(const sf::Image& picture, sf::Color colour) {
    ColourArea area;
    for (unsigned y = 0; y < picture.getSize().y; ++y) {
        for (unsigned x = 0; x < picture.getSize().x; ++x) {
            if (picture.getPixel(x, y) == colour) {
                ++area.count;
                area.left = std::min(area.left, x);
                area.top = std::min(area.top, y);
                area.right = std::max(area.right, x);
                area.bottom = std::max(area.bottom, y);
            }
        }
    }
    return area;
}

// A new game at its first frame: the quest table filled (quest 0 plays the intro), the game's
// clocks on simulated time, the font loaded for the captions.
class IntroTest : public GameTest {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(pixelFont.loadFromFile(kAssets + "/font/pixelTxt.ttf"));
    }
    static void TearDownTestSuite() { pixelFont = sf::Font(); }

    void SetUp() override {
        GameTest::SetUp();
        useSimulatedTime(true);
        resetGameState(); // the loop's clocks start on the simulated time
        useSimulatedInput(true);
        for (int i = 0; i < kQuestCount; ++i) {
            initQuest(i);
        }
        ASSERT_TRUE(screen.create(1920, 1080));
    }
    void TearDown() override {
        GameTest::TearDown();
        useSimulatedTime(false);
    }

    // The loop's drawing of one frame, a 60th of a second after the last.
    void drawNextFrame() {
        advanceSimulatedTime(kFrameTime);
        drawFrame(screen);
    }

    sf::Image picture() {
        screen.display();
        return screen.getTexture().copyToImage();
    }

    sf::RenderTexture screen;
};

} // namespace

// Each leg flies while its test holds, in single precision, and the step that finds it over moves
// nothing and shows nothing; the flight ends near the camp.
TEST_F(IntroTest, EachLegFliesItsStepsThenOneIdleStepAndTheFlightEndsNearTheCamp) {
    const int expectedSteps[kIntroLegs] = {262, 239, 238, 239, 715, 405, 763, 628};
    // Which way each leg goes: west, north, west, south, south, west, north, north.
    const sf::Vector2i headings[kIntroLegs] = {{-1, 0}, {0, -1}, {-1, 0}, {0, 1},
                                               {0, 1},  {-1, 0}, {0, -1}, {0, -1}};
    sf::RenderTexture small;
    ASSERT_TRUE(small.create(64, 64));
    int steps[kIntroLegs] = {};
    int idleSteps = 0;
    int frames = 0;
    do {
        const int leg = screens.introLeg;
        const sf::Vector2f before = story.introRunning ? camera.getCenter() : kFlightStart;
        advanceSimulatedTime(kFrameTime);
        clocks.screenNow = clocks.screenClock.getElapsedTime();
        showIntro(small, clocks.screenNow, clocks.screenMark, clocks.screenClock, camera);
        ++frames;
        const sf::Vector2f move = camera.getCenter() - before;
        if (move == sf::Vector2f(0, 0)) {
            ++idleSteps;
            EXPECT_EQ(screens.introLeg, leg + 1) << "an idle step starts the next leg";
        } else {
            ASSERT_LT(leg, kIntroLegs);
            ++steps[leg];
            EXPECT_EQ(move.x < 0 ? -1 : move.x > 0 ? 1 : 0, headings[leg].x) << "leg " << leg;
            EXPECT_EQ(move.y < 0 ? -1 : move.y > 0 ? 1 : 0, headings[leg].y) << "leg " << leg;
        }
    } while (story.introRunning && frames < 5000);

    for (int leg = 0; leg < kIntroLegs; ++leg) {
        EXPECT_EQ(steps[leg], expectedSteps[leg]) << "leg " << leg;
    }
    EXPECT_EQ(idleSteps, kIntroLegs);
    EXPECT_EQ(frames, 3497); // some 58 seconds at 60 frames a second
    EXPECT_NEAR(camera.getCenter().x, 999, 1);
    EXPECT_NEAR(camera.getCenter().y, 600, 1);
    EXPECT_EQ(screens.introLeg, kIntroLegs);
}

TEST_F(IntroTest, TheFirstFrameSwapsTheThemesPlacesTheCameraFliesOnceAndShowsTheRedCard) {
    ASSERT_TRUE(worldMusic.openFromFile(kAssets + "/music/worldHost.wav"));
    worldMusic.play();
    ASSERT_TRUE(worldMusic.isPlaying());

    drawNextFrame();
    EXPECT_FALSE(worldMusic.isPlaying());
    EXPECT_EQ(screenMusic.openedFile(), "./assets/music/introMusic.wav");
    EXPECT_TRUE(screenMusic.isPlaying());
    EXPECT_TRUE(screenMusic.isLooping());
    EXPECT_EQ(screenMusic.volume(), 100);
    EXPECT_TRUE(story.introRunning);
    EXPECT_EQ(camera.getCenter(), kFlightStart - sf::Vector2f(4.2f, 0));
    EXPECT_TRUE(world.visibleWindow.load() == kWholeGrid);

    // The card's red letters begin right of and below (300, 440): its heading and two names.
    const ColourArea red = areaOf(picture(), sf::Color(255, 0, 0));
    EXPECT_GT(red.count, 1000);
    EXPECT_GE(red.left, 300u);
    EXPECT_LT(red.left, 320u);
    EXPECT_GE(red.top, 440u);
    EXPECT_LT(red.top, 480u);
    EXPECT_GT(red.bottom - red.top, 2 * 46u);
    EXPECT_LT(red.bottom, 440u + 4 * 46u);
}

// A step needs at least a millisecond since the last one; a frame that comes sooner neither moves
// the camera nor shows a caption. The times are counted from the last step.
TEST_F(IntroTest, AFrameLessThanAMillisecondAfterTheLastStepNeitherMovesNorDraws) {
    drawNextFrame();
    struct Case {
        int microsecondsMore;
        int sinceLastStep;
        bool steps;
    };
    const Case cases[] = {{0, 0, false}, {999, 999, false}, {1, 1000, true}, {500, 500, false}};
    for (const Case& c : cases) {
        advanceSimulatedTime(sf::microseconds(c.microsecondsMore));
        const sf::Vector2f before = camera.getCenter();
        const sf::Time markBefore = clocks.screenMark;
        drawFrame(screen);
        const bool moved = camera.getCenter() != before;
        EXPECT_EQ(moved, c.steps) << c.sinceLastStep << " us";
        EXPECT_EQ(areaOf(picture(), sf::Color(255, 0, 0)).count > 0, c.steps)
            << c.sinceLastStep << " us";
        EXPECT_EQ(clocks.screenMark != markBefore, c.steps) << c.sinceLastStep << " us";
    }
}

TEST_F(IntroTest, TheCallThatEndsTheLastLegStopsTheThemeAndHandsOverToTheChapterCard) {
    drawNextFrame();
    screens.introLeg = 7;
    camera.setCenter(999, 601);
    drawNextFrame(); // 601 / 100 > 6: one more step up
    ASSERT_TRUE(story.introRunning);
    ASSERT_TRUE(screenMusic.isPlaying());
    const sf::Vector2f last = camera.getCenter();
    EXPECT_LT(last.y, 600);

    drawNextFrame(); // the step that finds the leg over
    EXPECT_EQ(camera.getCenter(), last);
    EXPECT_EQ(screens.introLeg, kIntroLegs);
    EXPECT_FALSE(story.introRunning);
    EXPECT_FALSE(screenMusic.isPlaying());
    EXPECT_EQ(quests[0].transitionKind, -1);
    EXPECT_TRUE(story.transitionPending); // the chapter card ends the transition
    EXPECT_EQ(areaOf(picture(), sf::Color::White).count, 0);
    EXPECT_EQ(chooseScreen().transition, TransitionScreen::ChapterCard);

    drawNextFrame(); // the intro does not play again: the chapter card's jingle does
    EXPECT_EQ(camera.getCenter(), last);
    EXPECT_FALSE(story.introRunning);
    EXPECT_EQ(screenMusic.openedFile(), "./assets/music/changeChapter.wav");
    EXPECT_EQ(screens.fadeAlpha, 3);
}

// Halfway along each leg the frame shows the leg's caption as a player reads it: in its colour,
// the credit cards from their corner down (a heading and one line a name), the studio line and the
// title in larger letters around the middle of the screen.
TEST_F(IntroTest, EachLegShowsItsCaptionInItsColourAndPlace) {
    struct Caption {
        sf::Color fill;
        bool centred;
        sf::Vector2u corner; // of a card
        unsigned lines;
    };
    const Caption captions[kIntroLegs] = {
        {{255, 0, 0}, false, {300, 440}, 3},    {{0, 255, 0}, false, {1220, 240}, 3},
        {{0, 255, 255}, false, {1070, 740}, 3}, {{255, 0, 255}, false, {400, 240}, 2},
        {{255, 255, 0}, true, {}, 1},           {{255, 255, 0}, true, {}, 1},
        {{255, 255, 255}, true, {}, 1},         {{255, 255, 255}, true, {}, 1},
    };
    const int legSteps[kIntroLegs] = {262, 239, 238, 239, 715, 405, 763, 628};
    constexpr unsigned kCardLine = 46; // a card's character size
    sf::RenderTexture small;
    ASSERT_TRUE(small.create(64, 64));
    int frame = 0;
    int legStart = 0;
    for (int leg = 0; leg < kIntroLegs; ++leg) {
        SCOPED_TRACE(leg);
        for (; frame < legStart + legSteps[leg] / 2; ++frame) {
            advanceSimulatedTime(kFrameTime);
            clocks.screenNow = clocks.screenClock.getElapsedTime();
            showIntro(small, clocks.screenNow, clocks.screenMark, clocks.screenClock, camera);
        }
        drawNextFrame();
        ++frame;
        legStart += legSteps[leg] + 1; // and the idle step that starts the next leg
        ASSERT_EQ(screens.introLeg, leg);
        const Caption& want = captions[leg];
        const ColourArea area = areaOf(picture(), want.fill);
        ASSERT_GT(area.count, 500);
        const unsigned height = area.bottom - area.top;
        if (!want.centred) {
            EXPECT_GE(area.left, want.corner.x);
            EXPECT_LT(area.left, want.corner.x + 20);
            EXPECT_GE(area.top, want.corner.y);
            EXPECT_LT(area.top, want.corner.y + 40);
            EXPECT_GT(height, (want.lines - 1) * kCardLine) << "a line a name under the heading";
            EXPECT_LT(height, (want.lines + 1) * kCardLine);
            continue;
        }
        EXPECT_NEAR((area.left + area.right) / 2.0, 960, 40);
        EXPECT_NEAR((area.top + area.bottom) / 2.0, 540, 60);
        EXPECT_GT(height, kCardLine) << "larger than a card's letters";
        EXPECT_LT(height, 2 * kCardLine) << "one line";
    }
}

// While the intro runs the frame updates nothing of the world: D does not walk, Tab does not open
// the inventory, the HUD is not drawn. Once no screen is pending, the same keys act.
TEST_F(IntroTest, WhileItRunsTheHeroineStandsTheHudIsHiddenAndTabDoesNothing) {
    setUpHeroine();
    const sf::Vector2f start = heroinePosition();
    holdKey(sf::Keyboard::D, true);
    holdKey(sf::Keyboard::Tab, true);
    for (int frame = 0; frame < 30; ++frame) {
        beginFrame(kFrameTime.asSeconds());
        handleEvent(keyPressEvent(sf::Keyboard::Tab));
        updateWorld();
        drawNextFrame();
        ASSERT_TRUE(story.introRunning);
        EXPECT_FALSE(chooseScreen().hud);
    }
    EXPECT_EQ(heroinePosition(), start);
    EXPECT_FALSE(story.inventoryOpen);

    story.transitionPending = false;
    story.introRunning = false;
    beginFrame(kFrameTime.asSeconds());
    updateWorld();
    EXPECT_GT(heroinePosition().x, start.x);
    EXPECT_TRUE(chooseScreen().hud);
    handleEvent(keyPressEvent(sf::Keyboard::Tab));
    EXPECT_TRUE(story.inventoryOpen);
}

namespace {

// Every cell of the visible window with a picture in one layer, as one batch of the same triangles
// the game's passes lay out (placed from the view's corner), nothing left out for being off the
// screen.
void drawLayerOverWholeWindow(sf::RenderTarget& target, bool ground) {
    const sf::View view = target.getView();
    const sf::Vector2f corner = view.getCenter() - view.getSize() * 0.5f;
    const sf::Texture& sheet = ground ? tileSheet : objectSheet;
    const int sheetRows = static_cast<int>(sheet.getSize().y) / 320;
    const VisibleWindow window = world.visibleWindow.load();
    std::vector<sf::Vertex> vertices;
    for (int row = window.visibleRowFirst; row < window.visibleRowEnd; ++row) {
        for (int col = window.visibleColFirst; col < window.visibleColEnd; ++col) {
            const Tile& cell = cellAt(row, col);
            const sf::Color fill = ground ? groundFill(cell) : sf::Color::White;
            const bool shown = ground ? cell.groundId != 0 && cell.groundPlaced && fill.a != 0
                                      : cell.objectId != 0 && cell.objectPlaced;
            sf::IntRect rect;
            if (!shown ||
                !sheetRect(ground ? cell.groundSheetCol : cell.objectSheetCol,
                           ground ? cell.groundSheetRow : cell.objectSheetRow, sheetRows, rect)) {
                continue;
            }
            const float x = col * 100.0f - corner.x;
            const float y = row * 100.0f - corner.y;
            const float u = static_cast<float>(rect.left);
            const float v = static_cast<float>(rect.top);
            const sf::Vertex centre({x + 50, y + 50}, fill, {u + 160, v + 160});
            const sf::Vertex corners[5] = {{{x, y}, fill, {u, v}},
                                           {{x + 100, y}, fill, {u + 320, v}},
                                           {{x + 100, y + 100}, fill, {u + 320, v + 320}},
                                           {{x, y + 100}, fill, {u, v + 320}},
                                           {{x, y}, fill, {u, v}}};
            for (int i = 0; i < 4; ++i) {
                vertices.insert(vertices.end(), {centre, corners[i], corners[i + 1]});
            }
        }
    }
    const sf::BlendMode blend = ground && tileSheetOpaque ? sf::BlendNone : sf::BlendAlpha;
    sf::View fromCorner = view;
    fromCorner.setCenter(view.getSize() * 0.5f);
    target.setView(fromCorner);
    target.draw(vertices.data(), vertices.size(), sf::Triangles,
                sf::RenderStates(blend, sf::Transform(), &sheet, nullptr));
    target.setView(view);
}

// The world drawn over every cell of the window: both layers whole, every character of the roster
// up to the first inactive one, the talk hints, the heroine, the object hint of the full search
// and the cursor.
void drawWorldOverWholeWindow(sf::RenderTarget& target) {
    drawLayerOverWholeWindow(target, true);
    drawLayerOverWholeWindow(target, false);
    for (int i = 0; i < kRosterSize && npcs[i].active; ++i) {
        target.draw(npcs[i].sprite);
    }
    drawTalkHints(target);
    target.draw(heroine);
    drawObjectHintOverEveryCell(target);
    target.draw(tileCursor);
}

} // namespace

// The flight asks for the whole grid as the window, and the game draws only the cells under the
// camera: at points along the flight (over the camp, the forest, the swordfish basket the heroine
// is set beside, the desert and the last climb) the world is the same picture as drawing every
// cell of the grid, and the usable object found is the same. The game's layers come from its kept
// picture of the world, drawn at other places of its own texture: the graphics side's rounding
// may change a few pixels by a level or two (worldCacheTest.cpp), where a cell left out, or one
// too many, would change thousands by far more.
TEST_F(IntroTest, FlyingOverTheWholeGridDrawsWhatDrawingEveryCellDraws) {
    loadWorldSheets();
    ASSERT_TRUE(npcSheet.loadFromFile(kAssets + "/textures/NPC-map.png"));
    ASSERT_TRUE(speechSheet.loadFromFile(kAssets + "/textures/speech-map.png"));
    ASSERT_TRUE(heroSheet.loadFromFile(kAssets + "/textures/kaiva-map.png"));
    ASSERT_TRUE(loadLayer(kAssets + "/maps/mapLv0.txt", MapLayer::Ground));
    ASSERT_TRUE(loadLayer(kAssets + "/maps/mapLv1.txt", MapLayer::Object));
    placeCharacters();
    setUpHeroine();
    {
        std::lock_guard<std::mutex> lock(heroineLock());
        heroine.setPosition(2640, 3480); // within reach of the swordfish basket at (2700, 3500)
    }
    sf::RenderTexture reference;
    ASSERT_TRUE(reference.create(1920, 1080));
    sf::RenderTexture small;
    ASSERT_TRUE(small.create(64, 64));

    const int comparedFrames[] = {1, 500, 1000, 1340, 2300, 2900, 3400};
    int frame = 0;
    for (const int compared : comparedFrames) {
        while (frame < compared) {
            advanceSimulatedTime(kFrameTime);
            clocks.screenNow = clocks.screenClock.getElapsedTime();
            showIntro(small, clocks.screenNow, clocks.screenMark, clocks.screenClock, camera);
            ++frame;
        }
        ASSERT_TRUE(world.visibleWindow.load() == kWholeGrid);
        const std::string where = "frame " + std::to_string(frame) + " at " +
                                  std::to_string(camera.getCenter().x) + ", " +
                                  std::to_string(camera.getCenter().y);
        conversation.interactObject = 7;
        screen.setView(camera);
        screen.clear(sf::Color::Black);
        drawWorld(screen);
        const int found = conversation.interactObject;
        conversation.interactObject = 7;
        reference.setView(wholePixelView(camera, reference)); // as the game draws the world
        reference.clear(sf::Color::Black);
        drawWorldOverWholeWindow(reference);
        EXPECT_EQ(found, conversation.interactObject) << where;
        reference.display();
        const PictureDifference difference =
            differenceOf(picture(), reference.getTexture().copyToImage());
        EXPECT_LE(difference.largest, 2) << where;
        EXPECT_LT(difference.pixels, 1920 * 1080 / 100) << where;
        if (frame == 1340) {
            EXPECT_EQ(found, 539) << "the heroine reaches the swordfish basket";
        }
    }
    forgetWorldSheets();
    npcSheet = sf::Texture();
    speechSheet = sf::Texture();
    heroSheet = sf::Texture();
}

// Holding E for a second skips the flight: the game then stands as after the whole flight, but
// for its clocks (the camera where the flight leaves it, its music stopped, the first quest's card
// next). Let go before the second, the hold starts again. The E still held, its repeated presses
// reach nothing through the card and after it, until it is let go.
TEST_F(IntroTest, HoldingESkipsTheFlightToWhereTheWholeFlightLeavesTheGame) {
    sf::RenderTexture small;
    ASSERT_TRUE(small.create(192, 108));
    // Camera, leg, intro running, transition pending, theme playing, quest 0's kind, window.
    const auto whatIsLeft = [] {
        const VisibleWindow window = world.visibleWindow.load();
        return std::vector<float>{camera.getCenter().x,
                                  camera.getCenter().y,
                                  float(screens.introLeg),
                                  float(story.introRunning),
                                  float(story.transitionPending),
                                  float(screenMusic.isPlaying()),
                                  float(quests[0].transitionKind),
                                  float(window.visibleColFirst),
                                  float(window.visibleColEnd),
                                  float(window.visibleRowFirst),
                                  float(window.visibleRowEnd)};
    };
    while (quests[0].transitionKind == 0) {
        playFrame(small);
    }
    const std::vector<float> flown = whatIsLeft();

    SetUp(); // a new game
    playFrames(30);
    holdKey(sf::Keyboard::E, true);
    queueKeyPress(sf::Keyboard::E);
    playFrames(30);
    holdKey(sf::Keyboard::E, false);
    playFrames(2); // let go at half a second: the bar empties
    EXPECT_EQ(screens.skipKey, -1);
    holdKey(sf::Keyboard::E, true);
    queueKeyPress(sf::Keyboard::E);
    playFrames(59);
    EXPECT_TRUE(story.introRunning) << "held again for less than a second";
    playFrames(3); // a second is 61 frames of 16,666 us after the one that saw the press
    EXPECT_EQ(whatIsLeft(), flown);
    EXPECT_EQ(chooseScreen().transition, TransitionScreen::ChapterCard);

    for (int i = 0; i < 400 && story.transitionPending; ++i) { // E repeats through the card
        queueKeyPress(sf::Keyboard::E);
        playFrame(small);
    }
    ASSERT_FALSE(story.transitionPending);
    conversation.activeNpc = kSage; // in reach: a press of E would open the talk
    for (int i = 0; i < 10; ++i) {
        queueKeyPress(sf::Keyboard::E);
        playFrame(small);
    }
    EXPECT_FALSE(conversation.dialogueOpen) << "the held E reached the HUD's world";
    holdKey(sf::Keyboard::E, false);
    playFrame(small);
    conversation.activeNpc = kSage;
    pressKey(sf::Keyboard::E);
    EXPECT_TRUE(conversation.dialogueOpen) << "let go, E works again";
}
