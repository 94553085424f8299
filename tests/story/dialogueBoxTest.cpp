// dialogueBoxTest.cpp -- conversations played through the frame's own steps: opening, typing, E,
// clicked choices and their consequences, the two ends; the rows of the box and what it draws.
#include "testSupport.h"

#include "shell/frame.h"
#include "shell/gameState.h"
#include "shell/input.h"
#include "shell/resources.h"
#include "story/dialogueBox.h"
#include "story/dialogueScript.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/tileGrid.h"

#include <SFML/Graphics/RenderTexture.hpp>

#include <cmath>
#include <mutex>

namespace {

// The buttons' top-left corners: upper left, upper right, lower left, lower right.
const sf::Vector2i kButtonAt[4] = {{530, 721}, {985, 721}, {530, 842}, {985, 842}};

sf::Vector2i insideButton(int k) {
    return kButtonAt[k] + sf::Vector2i(100, 40);
}

class ConversationTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        ASSERT_TRUE(screen.create(1920, 1080));
        placeCharacters();
    }

    // The heroine stands just right of a character, within its reach.
    void standBeside(int speaker) {
        sf::Vector2f at;
        {
            std::lock_guard<std::mutex> lock(rosterLock());
            at = npcs[speaker].sprite.getPosition();
        }
        {
            std::lock_guard<std::mutex> lock(heroineLock());
            heroine.setPosition(at.x + 84 + 40, at.y);
        }
        camera.setCenter(at.x + 84 + 40 + 42, at.y + 42); // the camera follows her there
        playFrame(screen);                                // she finds it in reach...
        playFrame(screen); // ...and one that speaks first opens its talk
    }

    // Frames until the line being shown is typed whole.
    void typeWholeLine() {
        for (int i = 0; i < 400 && !conversation.lineComplete; ++i) {
            playFrame(screen, 0.05f);
        }
        ASSERT_TRUE(conversation.lineComplete);
    }

    // E until the choice line shows its buttons.
    void stepToChoices() {
        for (int i = 0;
             i < 40 && conversation.dialogueLine != npcs[conversation.activeNpc].choiceLine; ++i) {
            pressKey(sf::Keyboard::E);
            playFrame(screen);
        }
        typeWholeLine();
        playFrame(screen); // the buttons are drawn: the mouse can hover them
    }

    void choose(int k) {
        pointAt(insideButton(k));
        playFrame(screen);
        clickAt(insideButton(k), screen);
    }

    sf::RenderTexture screen;
};

// The talk sheet in colours of its own: the plate, the plain button, the lit one, the box.
const sf::Color kPlate(200, 0, 0), kButton(0, 200, 0), kLit(0, 0, 200), kBox(200, 200, 0);

void useColouredTalkSheet() {
    sf::Image sheet;
    sheet.create(480, 480, kBox);
    for (unsigned y = 0; y < 240; ++y) {
        for (unsigned x = 0; x < 480; ++x) {
            sheet.setPixel(x, y, y < 80 ? kPlate : y < 160 ? kButton : kLit);
        }
    }
    ASSERT_TRUE(talkSheet.loadFromImage(sheet));
}

// A way of taking the sage's second answer, "Avverti il villaggio".
struct ChoiceWay {
    const char* name;
    void (*take)(sf::RenderTexture& screen);
};

void PrintTo(const ChoiceWay& way, std::ostream* out) {
    *out << way.name;
}

class EveryWayOfChoosing : public ConversationTest,
                           public ::testing::WithParamInterface<ChoiceWay> {};

void queuePadPushRight(sf::Joystick::Axis axis) {
    connectPad(0, true);
    queuePadMove(0, axis, 100);
    queuePadPress(0, PadButton::Bottom);
}

const ChoiceWay kChoiceWays[] = {
    {"Click",
     [](sf::RenderTexture& screen) {
         pointAt(insideButton(1));
         playFrame(screen);
         clickAt(insideButton(1), screen);
     }},
    {"KeyTwo", [](sf::RenderTexture&) { queueKeyPress(sf::Keyboard::Num2); }},
    {"KeypadTwo", [](sf::RenderTexture&) { queueKeyPress(sf::Keyboard::Numpad2); }},
    {"RightThenSpace",
     [](sf::RenderTexture&) {
         queueKeyPress(sf::Keyboard::Right);
         queueKeyPress(sf::Keyboard::Space);
     }},
    {"PadHatRightThenA", [](sf::RenderTexture&) { queuePadPushRight(sf::Joystick::PovX); }},
    {"PadStickRightThenA", [](sf::RenderTexture&) { queuePadPushRight(sf::Joystick::X); }},
};

} // namespace

// Each way does exactly what the click does, through the frame's own event step, and leaves the
// click's trace: the end by E that follows reads it and plays the chapter of warning the village.
TEST_P(EveryWayOfChoosing, TakesTheSagesSecondAnswerAsAClickDoes) {
    standBeside(kSage);
    pressKey(sf::Keyboard::E);
    stepToChoices();
    GetParam().take(screen);
    playFrame(screen);
    EXPECT_EQ(story.hope, 90);
    EXPECT_EQ(story.currentQuest, 2);
    EXPECT_EQ(conversation.dialogueLine, 7);
    EXPECT_EQ(conversation.hoveredChoice, 1);
    EXPECT_EQ(conversation.highlightedChoice, -1);
    queueKeyPress(sf::Keyboard::E);
    queueKeyPress(sf::Keyboard::E);
    playFrame(screen);
    EXPECT_FALSE(conversation.dialogueOpen);
    EXPECT_TRUE(story.transitionPending);
}

INSTANTIATE_TEST_SUITE_P(Conversation, EveryWayOfChoosing, ::testing::ValuesIn(kChoiceWays),
                         [](const auto& way) { return std::string(way.param.name); });

// The highlight: the first push lights the end it points to, it stays on the shown buttons and is
// drawn with the hovered look; Space with none lit lights the first; E still waits on the choice
// line. A line with one button takes neither key 2 nor a push beyond its button.
TEST_F(ConversationTest, TheHighlightMovesOverTheShownButtonsAndIsLitAsTheHoveredOne) {
    useColouredTalkSheet();
    standBeside(kSage);
    pressKey(sf::Keyboard::E);
    stepToChoices();
    const sf::Keyboard::Key pushes[] = {sf::Keyboard::Left, sf::Keyboard::Left, sf::Keyboard::Right,
                                        sf::Keyboard::Right};
    const int lit[] = {0, 0, 1, 1};
    for (int i = 0; i < 4; ++i) {
        pressKey(pushes[i]);
        EXPECT_EQ(conversation.highlightedChoice, lit[i]) << "push " << i;
    }
    pressKey(sf::Keyboard::E);
    EXPECT_EQ(conversation.dialogueLine, 4);
    playFrame(screen);
    screen.display();
    const sf::Image picture = screen.getTexture().copyToImage();
    EXPECT_EQ(picture.getPixel(987, 723), kLit);
    EXPECT_EQ(picture.getPixel(532, 723), kButton);
    EXPECT_EQ(conversation.hoveredChoice, -1); // the mouse is over neither
    talkSheet = sf::Texture();

    resetGameState();
    SetUp();
    story.currentQuest = 3;
    story.applesDone = true; // Honani's "Sei pronto?": "Si" alone
    standBeside(kHonani);
    pressKey(sf::Keyboard::E);
    stepToChoices();
    pressKey(sf::Keyboard::Num2);
    pressKey(sf::Keyboard::Right);
    pressKey(sf::Keyboard::Right);
    EXPECT_EQ(conversation.highlightedChoice, 0);
    conversation.highlightedChoice = -1;
    pressKey(sf::Keyboard::Space);
    EXPECT_EQ(conversation.highlightedChoice, 0);
    EXPECT_TRUE(conversation.dialogueOpen);
    EXPECT_EQ(story.currentQuest, 3);
}

TEST_F(ConversationTest, EWhileTypingShowsTheWholeLineAndASecondEGoesOn) {
    standBeside(kSage);
    pressKey(sf::Keyboard::E);
    ASSERT_TRUE(conversation.dialogueOpen);
    EXPECT_EQ(conversation.activeNpc, kSage);
    EXPECT_EQ(npcs[kSage].direction, 4);
    playFrame(screen, 0.05f);
    playFrame(screen, 0.05f);
    EXPECT_EQ(conversation.typedChars, 2); // one character per 50 ms
    playFrame(screen, 0.01f);
    EXPECT_EQ(conversation.typedChars, 2);
    pressKey(sf::Keyboard::E);
    EXPECT_TRUE(conversation.lineComplete);
    EXPECT_EQ(conversation.typedChars, static_cast<int>(currentLine().size()));
    EXPECT_EQ(conversation.dialogueLine, 0);
    pressKey(sf::Keyboard::E);
    EXPECT_EQ(conversation.dialogueLine, 1);
    EXPECT_EQ(conversation.typedChars, 0);
    EXPECT_FALSE(conversation.lineComplete);
}

TEST_F(ConversationTest, TheChoiceLineWaitsForAClickAndAClickWhileItTypesDoesNothing) {
    standBeside(kSage);
    pressKey(sf::Keyboard::E);
    for (int line = 0; line < 4; ++line) {
        pressKey(sf::Keyboard::E); // complete
        pressKey(sf::Keyboard::E); // next
    }
    ASSERT_EQ(conversation.dialogueLine, 4); // "Cosa fai?"
    playFrame(screen, 0.05f);
    conversation.hoveredChoice = 1; // as if a button had been hovered before
    clickAt(insideButton(1), screen);
    EXPECT_EQ(conversation.dialogueLine, 4);
    EXPECT_EQ(story.hope, 70);
    typeWholeLine();
    pressKey(sf::Keyboard::E);
    EXPECT_EQ(conversation.dialogueLine, 4); // E does nothing on the choice line
}

TEST_F(ConversationTest, WarningTheVillageRaisesHopeAndEndsWithTheChapterOfQuestTwo) {
    standBeside(kSage);
    pressKey(sf::Keyboard::E);
    stepToChoices();
    EXPECT_EQ(conversation.hoveredChoice, -1);
    choose(1); // "Avverti il villaggio"
    EXPECT_EQ(story.hope, 90);
    EXPECT_EQ(story.currentQuest, 2);
    EXPECT_EQ(conversation.dialogueLine, 7);
    EXPECT_FALSE(story.transitionPending);
    clickAt(insideButton(1), screen); // held on: taken once only
    EXPECT_EQ(story.hope, 90);
    pressKey(sf::Keyboard::E);
    pressKey(sf::Keyboard::E);
    EXPECT_FALSE(conversation.dialogueOpen);
    EXPECT_EQ(conversation.activeNpc, -1);
    EXPECT_EQ(conversation.dialogueLine, 0);
    EXPECT_TRUE(story.transitionPending);
    EXPECT_TRUE(npcs[kSage].talkedTo);
    EXPECT_EQ(npcs[kSage].direction, 4); // Achak stands, as before the talk
}

TEST_F(ConversationTest, AttackingTheInvadersCostsHopeAndGoesToQuestSix) {
    standBeside(kSage);
    pressKey(sf::Keyboard::E);
    stepToChoices();
    choose(0);
    EXPECT_EQ(story.hope, 40);
    EXPECT_EQ(story.currentQuest, 6);
    EXPECT_EQ(conversation.dialogueLine, 5);
    pressKey(sf::Keyboard::E);
    pressKey(sf::Keyboard::E);
    EXPECT_FALSE(conversation.dialogueOpen);
    EXPECT_TRUE(story.transitionPending);
}

TEST_F(ConversationTest, AClickThatReachesAnEmptyLineEndsTheTalkAtOnce) {
    story.currentQuest = 3;
    story.applesDone = true;
    npcs[kHonani].choiceSkip[0] = 0;
    standBeside(kHonani);
    pressKey(sf::Keyboard::E);
    stepToChoices();
    choose(0); // "Si": line 2 is empty
    EXPECT_FALSE(conversation.dialogueOpen);
    EXPECT_EQ(story.currentQuest, 6);
    EXPECT_TRUE(story.transitionPending);
    EXPECT_EQ(npcs[kHonani].sprite.getTextureRect(), sf::IntRect(0, 8 * 160, 160, 160));
    EXPECT_EQ(npcs[kHonani].direction, 0); // back to its patrol
}

TEST_F(ConversationTest, TheTrainersFirstTalkRecordsTheChoiceWithoutAChapter) {
    story.currentQuest = 4;
    story.transitionPending = false;
    standBeside(kTrainer);
    pressKey(sf::Keyboard::E);
    stepToChoices();
    choose(1); // "Armatura"
    EXPECT_TRUE(story.trainedChoice[1]);
    EXPECT_FALSE(story.trainedChoice[0]);
    EXPECT_EQ(conversation.dialogueLine, 2);
    pressKey(sf::Keyboard::E);
    pressKey(sf::Keyboard::E);
    EXPECT_FALSE(conversation.dialogueOpen);
    EXPECT_TRUE(npcs[kTrainer].talkedTo);
    EXPECT_FALSE(story.transitionPending);
    EXPECT_EQ(story.currentQuest, 4);
}

TEST_F(ConversationTest, ACharacterThatSpeaksFirstOpensItsTalkAndLetsHerPassAbove) {
    story.currentQuest = 2;
    standBeside(kLuke); // "Vattene!", then he never speaks first again
    EXPECT_TRUE(conversation.dialogueOpen);
    EXPECT_EQ(conversation.activeNpc, kLuke);
    EXPECT_EQ(npcs[kLuke].restDirection, 0);
    const sf::Vector2f before = heroinePosition();
    pressKey(sf::Keyboard::E);
    pressKey(sf::Keyboard::E);
    EXPECT_FALSE(conversation.dialogueOpen);
    EXPECT_EQ(heroinePosition(), before); // "Vattene!" cleared startsTalk: no push

    story.currentQuest = 6;
    npcs[kJohn].startsTalk = true;
    standBeside(kJohn);
    ASSERT_TRUE(conversation.dialogueOpen);
    npcs[kJohn].lines[1] = ""; // a talk that ends on its second line, without a battle
    npcs[kJohn].battleLine = -1;
    // A tree diagonally above: its right edge 30 pixels into her picture, past her left side line
    // (28) but short of her feet (33 to 51). Her feet pass nothing on the way up.
    const sf::Vector2f beside(std::floor(heroinePosition().x / 100) * 100 + 70,
                              std::floor(heroinePosition().y / 100) * 100);
    {
        std::lock_guard<std::mutex> lock(heroineLock());
        heroine.setPosition(beside);
    }
    placeCell(static_cast<int>(beside.y / 100) - 1, static_cast<int>(beside.x / 100), 1, 500);
    pressKey(sf::Keyboard::E);
    pressKey(sf::Keyboard::E);
    EXPECT_FALSE(conversation.dialogueOpen);
    EXPECT_EQ(heroinePosition(), beside - sf::Vector2f(0, 100));
}

// A patroller that speaks first may take one more step after she comes within its reach, before
// its talk holds it: the talk stays its own, shown, and goes on and ends on E.
TEST_F(ConversationTest, ATalkKeepsItsSpeakerWhenTheSpeakerStepsOutOfReach) {
    story.currentQuest = 6;
    standBeside(kJohn);
    ASSERT_TRUE(conversation.dialogueOpen);
    {
        std::lock_guard<std::mutex> lock(rosterLock());
        npcs[kJohn].sprite.move(-300, 0); // far out of her reach
    }
    playFrame(screen);
    EXPECT_EQ(conversation.activeNpc, kJohn);
    npcs[kJohn].lines[1] = ""; // a talk that ends on its second line, without a battle
    npcs[kJohn].battleLine = -1;
    pressKey(sf::Keyboard::E);
    pressKey(sf::Keyboard::E);
    EXPECT_FALSE(conversation.dialogueOpen) << "E could not end the talk";
}

// Opening by E keeps the character's picture too, so a standing character does not vanish when
// the talk ends.
TEST_F(ConversationTest, AStandingCharacterKeepsItsPictureAfterATalkOpenedByE) {
    standBeside(kSage);
    const sf::IntRect picture = npcs[kSage].sprite.getTextureRect();
    pressKey(sf::Keyboard::E);
    EXPECT_EQ(npcs[kSage].savedTextureRect, picture);
    story.currentQuest = 5; // "Il vero saggio...": two lines
    loadDialogueScript(kSage);
    pressKey(sf::Keyboard::E);
    pressKey(sf::Keyboard::E);
    ASSERT_FALSE(conversation.dialogueOpen);
    EXPECT_EQ(npcs[kSage].sprite.getTextureRect(), picture);
}

TEST_F(ConversationTest, ReachingTheBattleLineStartsTheBattleWithTheArmourAsShield) {
    story.currentQuest = 6;
    story.playerArmour = 3;
    standBeside(kJohn);
    ASSERT_TRUE(conversation.dialogueOpen);
    pressKey(sf::Keyboard::E); // the first line, typed whole
    // A chest within her reach too: the press that starts the battle takes nothing from it.
    const sf::Vector2f at = heroinePosition();
    const int chestRow = static_cast<int>(at.y / 100);
    const int chestCol = static_cast<int>((at.x + 84 + 29) / 100);
    placeCell(chestRow, chestCol, 1, 509);
    playFrame(screen);
    ASSERT_EQ(conversation.interactObject, 509);
    pressKey(sf::Keyboard::E);
    EXPECT_TRUE(battle.inBattle);
    EXPECT_EQ(battle.playerShield, 3);
    EXPECT_EQ(conversation.activeNpc, kJohn);
    EXPECT_EQ(conversation.dialogueLine, 1);
    EXPECT_TRUE(conversation.dialogueOpen);
    EXPECT_EQ(cellAt(chestRow, chestCol).objectId, 509);
    EXPECT_EQ(story.equippedItem[0], -1);
    playFrame(screen, 0.1f);
    EXPECT_EQ(conversation.typedChars, 0); // no typing during a battle
}

TEST_F(ConversationTest, ABadScriptStateIsRefusedNotFollowed) {
    conversation.activeNpc = 5000;
    pressKey(sf::Keyboard::E);
    EXPECT_FALSE(conversation.dialogueOpen);
    EXPECT_EQ(currentLine(), "");

    standBeside(kSage);
    pressKey(sf::Keyboard::E);
    conversation.dialogueLine = 31;
    EXPECT_EQ(currentLine(), "");
    playFrame(screen); // draws an empty line
    conversation.dialogueLine = 4;
    conversation.lineComplete = true;
    conversation.hoveredChoice = 9;
    clickAt(insideButton(0), screen);
    EXPECT_EQ(conversation.dialogueLine, 4);
    pressKey(sf::Keyboard::E); // on the choice line
    npcs[kSage].choiceSkip[1] = 100;
    conversation.hoveredChoice = 1;
    clickAt(insideButton(1), screen); // skips far past the last line: the talk ends
    EXPECT_FALSE(conversation.dialogueOpen);
}

TEST(DialogueRows, WordsAreNeverSplitAtARowsEnd) {
    std::string sage = "Scelta poco pensata la tua ma se credi di potercela fare meglio cosi', ho "
                       "un consiglio per te se rovisti nelle casse potrai trovare oggetti utili "
                       "per combattere piu' facilmente!";
    ASSERT_EQ(sage.size(), 177u);
    fillLineToRows(sage);
    EXPECT_EQ(sage.size(), 183u);
    EXPECT_EQ(sage.size() / 46 + 1, 4u);
    EXPECT_EQ(sage.substr(46, 9), "potercela");
    std::string hope = "Ora piu' in basso vedi un altro contatore, bene quello e' l'indicatore "
                       "della speranza, in base alle scelte che farai l'indicatore cambiera' il "
                       "suo valore se arrivera' a 0 AVRAI PERSO la partita e ci trascinerai tutti "
                       "alla morte!";
    ASSERT_EQ(hope.size(), 228u);
    fillLineToRows(hope);
    EXPECT_EQ(hope.size(), 241u);
    for (std::size_t row = 46; row < hope.size(); row += 46) {
        EXPECT_NE(hope[row], ' ') << "row at " << row << " starts with a blank";
        EXPECT_EQ(hope[row - 1], ' ') << "a word crosses the row end at " << row;
    }
    const std::string filled = hope;
    fillLineToRows(hope);
    EXPECT_EQ(hope, filled); // once filled, it stays

    std::string unbroken(100, 'a'); // a word longer than a row is left whole
    fillLineToRows(unbroken);
    EXPECT_EQ(unbroken, std::string(100, 'a'));
}

TEST_F(ConversationTest, TheSagesLongLineIsFilledInHisRecordAsItIsShown) {
    standBeside(kSage);
    pressKey(sf::Keyboard::E);
    stepToChoices();
    choose(0);
    typeWholeLine();
    EXPECT_EQ(npcs[kSage].lines[5].size(), 183u);
    EXPECT_EQ(conversation.typedChars, 183);
}

// The box drawn over a sheet whose parts have their own colours: each part lies where it belongs.
TEST_F(ConversationTest, TheBoxThePlateAndTheButtonsLieAtTheirPlacesAndTheHoveredOneLightsUp) {
    const sf::Color plate = kPlate, button = kButton, lit = kLit, box = kBox;
    useColouredTalkSheet();
    standBeside(kSage);
    pressKey(sf::Keyboard::E);
    stepToChoices();
    pointAt(insideButton(1));
    playFrame(screen);
    EXPECT_EQ(conversation.hoveredChoice, 1);
    screen.display();
    const sf::Image picture = screen.getTexture().copyToImage();
    EXPECT_EQ(picture.getPixel(482, 700), box); // the box's left edge at x 480...
    EXPECT_NE(picture.getPixel(478, 700), box);
    EXPECT_EQ(picture.getPixel(1437, 978), box); // ...its lower right corner at (1440, 980)
    EXPECT_NE(picture.getPixel(1442, 978), box);
    EXPECT_EQ(picture.getPixel(557, 570), plate);  // the plate from (555, 568)
    EXPECT_EQ(picture.getPixel(889, 662), plate);  // to (891, 664)
    EXPECT_EQ(picture.getPixel(532, 723), button); // button 0 from (530, 720.8)
    EXPECT_EQ(picture.getPixel(933, 815), button); // to (935, 816.8)
    EXPECT_EQ(picture.getPixel(987, 723), lit);    // button 1, under the mouse
    EXPECT_EQ(picture.getPixel(532, 845), box);    // no third label: no lower buttons
    pointAt({10, 10});
    playFrame(screen);
    EXPECT_EQ(conversation.hoveredChoice, -1);
    talkSheet = sf::Texture();
}

// Tab pressed in the frame after a character that speaks first came within reach: the inventory
// opens, and the talk waits for it to close instead of opening unseen beneath it.
TEST_F(ConversationTest, ATalkThatWouldOpenUnderTheInventoryWaitsForItToClose) {
    story.currentQuest = 6;
    const sf::Vector2f john = npcs[kJohn].sprite.getPosition();
    {
        std::lock_guard<std::mutex> lock(heroineLock());
        heroine.setPosition(john.x + 124, john.y);
    }
    camera.setCenter(john.x + 166, john.y + 42);
    playFrame(screen); // she comes within his reach
    ASSERT_EQ(conversation.activeNpc, kJohn);
    ASSERT_FALSE(conversation.dialogueOpen);
    queueKeyPress(sf::Keyboard::Tab);
    playFrame(screen);
    EXPECT_TRUE(story.inventoryOpen);
    EXPECT_FALSE(conversation.dialogueOpen);
    queueKeyPress(sf::Keyboard::Tab);
    playFrame(screen);
    EXPECT_FALSE(story.inventoryOpen);
    EXPECT_TRUE(conversation.dialogueOpen);
}

// The push up at the end of a talk that a character started stops below a ravine instead of
// putting her feet into it, and the character, still within reach, waits until she has left.
TEST_F(ConversationTest, APushUpStopsBelowARavineAndTheSpeakerWaitsUntilSheLeaves) {
    story.currentQuest = 6;
    standBeside(kJohn);
    ASSERT_TRUE(conversation.dialogueOpen);
    npcs[kJohn].lines[1] = ""; // a talk that ends on its second line, without a battle
    npcs[kJohn].battleLine = -1;
    const sf::Vector2f beside = heroinePosition();
    const int row = static_cast<int>(beside.y / 100) - 1;
    for (int col = static_cast<int>(beside.x / 100); col <= (beside.x + 84) / 100; ++col) {
        placeCell(row, col, 12, 0); // ravine right above her
    }
    pressKey(sf::Keyboard::E);
    pressKey(sf::Keyboard::E);
    ASSERT_FALSE(conversation.dialogueOpen);
    EXPECT_GT(heroinePosition().y, beside.y - 100);
    placeSensors();
    EXPECT_FALSE(updateTileContacts()) << "her feet went into the ravine";
    playFrame(screen);
    playFrame(screen);
    EXPECT_EQ(conversation.activeNpc, kJohn); // still within his reach...
    EXPECT_FALSE(conversation.dialogueOpen);  // ...but he lets her go
    {
        std::lock_guard<std::mutex> lock(heroineLock());
        heroine.setPosition(beside.x + 400, beside.y);
    }
    playFrame(screen);
    {
        std::lock_guard<std::mutex> lock(heroineLock());
        heroine.setPosition(beside);
    }
    playFrame(screen);
    playFrame(screen);
    EXPECT_TRUE(conversation.dialogueOpen); // she came back: he speaks first again
}

// A find taken with E while a talk is open shows its message from the first line; the talk's
// speaker walks on, and the quest its choice moved to still gets its chapter card, once the
// message has ended: never under the box.
TEST_F(ConversationTest, AFindTakenDuringATalkLetsItsSpeakerGoAndKeepsItsChapter) {
    npcs[kSage].direction = 0; // a sage who walks about, to see him let go
    standBeside(kSage);
    pressKey(sf::Keyboard::E);
    stepToChoices();
    choose(1); // "Avverti il villaggio": quest 2, and the talk goes on
    ASSERT_TRUE(conversation.dialogueOpen);
    const sf::Vector2f at = heroinePosition();
    placeCell(static_cast<int>(at.y / 100), static_cast<int>((at.x + 84 + 29) / 100), 1, 509);
    playFrame(screen);
    ASSERT_EQ(conversation.interactObject, 509);
    pressKey(sf::Keyboard::E);
    EXPECT_EQ(conversation.activeNpc, kItemMessage);
    EXPECT_EQ(conversation.dialogueLine, 0);
    EXPECT_EQ(currentLine(), "Kaiva ha ottenuto: Armatura di Pelle");
    EXPECT_EQ(npcs[kSage].direction, 0);
    EXPECT_EQ(story.currentQuest, 2);
    for (int i = 0; i < 100 && conversation.dialogueOpen; ++i) {
        EXPECT_FALSE(story.transitionPending) << "frame " << i;
        EXPECT_EQ(chooseScreen().transition, TransitionScreen::None) << "frame " << i;
        queueKeyPress(sf::Keyboard::E);
        playFrame(screen, 0.05f);
    }
    ASSERT_FALSE(conversation.dialogueOpen);
    EXPECT_TRUE(story.transitionPending);
    EXPECT_EQ(chooseScreen().transition, TransitionScreen::ChapterCard);
}
