// frame.cpp -- one frame of the game, step by step in its fixed order.
#include "shell/frame.h"

#include "battle/battleRules.h"
#include "battle/battleScreen.h"
#include "intro/intro.h"
#include "shell/gameState.h"
#include "shell/input.h"
#include "shell/pauseScreen.h"
#include "shell/resources.h"
#include "shell/whereabouts.h"
#include "story/dialogueBox.h"
#include "story/endings.h"
#include "story/interactions.h"
#include "story/inventory.h"
#include "story/quests.h"
#include "world/chapterChange.h"
#include "world/characterThread.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"
#include "world/visibleWindow.h"
#include "world/worldCache.h"
#include "world/worldDrawing.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/GlResource.hpp>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

// SFML takes a small record from the heap each time it binds a texture, unless the thread already
// holds one: a frame binds a few dozen. One held through the frame's drawing, taken once the
// target's context is current (so that it never takes a context of its own), makes
// that one allocation a frame. It is let go at the end of the frame: held longer, it would keep
// SFML from making a context current for the next render texture created on this thread.
class HeldContextRecord : sf::GlResource {
    TransientContextLock hold_;
};

constexpr float kRunBonus = 100; // Left Shift: baseSpeed + 100
constexpr float kWalkSpeed = 200;
constexpr std::uint16_t kLastMove = 3;
const sf::Time kBackHold = sf::seconds(1); // the pad's Back held this long opens the pause

// Left Shift, or on the pad a shoulder button or a trigger. The triggers are read first, on every
// roaming frame: a trigger counts once it has been seen at rest.
bool runHeld() {
    const bool trigger = isPadTriggerPulled();
    return trigger || isKeyHeld(sf::Keyboard::LShift) || isPadButtonHeld(PadButton::LeftShoulder) ||
           isPadButtonHeld(PadButton::RightShoulder);
}

// The inventory opens and closes only while no conversation, transition or intro is on.
void toggleInventory() {
    if (!conversation.dialogueOpen && !story.transitionPending && !story.introRunning) {
        story.inventoryOpen = !story.inventoryOpen;
    }
}

// Enter closes the game only on the ending screen; Tab toggles the inventory. Both read the live
// keyboard, not the event's key, so any key pressed while Tab is held toggles the inventory.
void handleOtherKey() {
    if (isKeyHeld(sf::Keyboard::Enter)) {
        if (story.endingId != -1) {
            quitGame();
        }
    } else if (isKeyHeld(sf::Keyboard::Tab)) {
        toggleInventory();
    }
}

// The battle menu's cursor one line up (-1) or down (1), within its four lines.
void stepBattleCursor(int step) {
    if (step < 0 && battle.selectedMove > 0) {
        --battle.selectedMove;
    } else if (step > 0 && battle.selectedMove < kLastMove) {
        ++battle.selectedMove;
    }
}

// In battle every key press moves the menu cursor by at most one line, from the live keyboard.
void moveBattleCursor() {
    if (isKeyHeld(sf::Keyboard::Up) || isKeyHeld(sf::Keyboard::W)) {
        stepBattleCursor(-1);
    } else if (isKeyHeld(sf::Keyboard::Down) || isKeyHeld(sf::Keyboard::S)) {
        stepBattleCursor(1);
    }
}

// The choice buttons answer keys and the pad only while the dialogue box is on the screen, as
// the mouse can click them only there.
bool choicesTakeKeys() {
    return chooseScreen().dialogueBox && choiceButtonsShowing();
}

// On the choice line: 1 to 4 (on the main row or the keypad) take that button, Left and Right
// move the highlight, Space takes the highlighted one.
void handleChoiceKey(sf::Keyboard::Key key) {
    if (!choicesTakeKeys()) {
        return;
    }
    if (key >= sf::Keyboard::Num1 && key <= sf::Keyboard::Num4) {
        chooseButton(key - sf::Keyboard::Num1);
    } else if (key >= sf::Keyboard::Numpad1 && key <= sf::Keyboard::Numpad4) {
        chooseButton(key - sf::Keyboard::Numpad1);
    } else if (key == sf::Keyboard::Left || key == sf::Keyboard::Right) {
        moveChoiceHighlight(key == sf::Keyboard::Left ? -1 : 1);
    } else if (key == sf::Keyboard::Space) {
        takeHighlightedChoice();
    }
}

// E: the heroine's move in battle; otherwise the conversation's step, then the world's
// interactions. While the inventory covers the world it does neither: a conversation opened
// behind the overlay could be neither seen nor left with Tab.
void handleTalkKey() {
    if (battle.inBattle) {
        playHeroineMove();
        return;
    }
    if (story.inventoryOpen) {
        return;
    }
    pressTalkKey();
    useObjectAtHand();
}

// Escape, the pad's Start and its Back held open the pause; on the ending screen, where nothing
// is lost, they leave at once.
void pauseOrLeave() {
    if (story.endingId != -1) {
        quitGame();
    } else {
        openPause();
    }
}

// E, Enter and Space during the opening flight are held to skip it, and do nothing else; the one
// that skipped it does nothing until it is let go. True when the key was taken so.
bool takenBySkip(sf::Keyboard::Key key) {
    SkipKey skip = SkipKey::E;
    if (!skipKeyOf(key, skip)) {
        return false;
    }
    if (swallowsKey(skip)) {
        return true;
    }
    if (introFlying()) {
        pressSkipKey(skip);
        return true;
    }
    return false;
}

void handleKeyPress(sf::Keyboard::Key key) {
    if (key == sf::Keyboard::Escape) {
        pauseOrLeave();
        return;
    }
    if (takenBySkip(key)) {
        return;
    }
    if (key == sf::Keyboard::E) {
        handleTalkKey();
    } else {
        handleOtherKey();
        handleChoiceKey(key);
    }
    if (battle.inBattle) {
        moveBattleCursor();
    }
}

// The pad's buttons: the bottom one does what E does, but on the choice line takes the
// highlighted choice (and in the intro's flight is held to skip it); the top one opens and closes
// the inventory as Tab does, the right one (back) closes it; Start pauses, or leaves the ending
// screen as Enter does.
void handlePadButton(PadButton button) {
    switch (button) {
    case PadButton::Bottom:
        if (introFlying()) {
            pressSkipKey(SkipKey::PadA);
        } else if (choicesTakeKeys()) {
            takeHighlightedChoice();
        } else {
            handleTalkKey();
        }
        break;
    case PadButton::Top:
        toggleInventory();
        break;
    case PadButton::Right:
        story.inventoryOpen = false;
        break;
    case PadButton::Start:
        pauseOrLeave();
        break;
    default:
        break;
    }
}

// A push of the pad's directional pad or stick: a line of the battle menu, or the highlight of
// the choice buttons.
void handlePadStep(PadDirection step) {
    if (battle.inBattle) {
        stepBattleCursor(step == PadDirection::Up ? -1 : step == PadDirection::Down ? 1 : 0);
    } else if (choicesTakeKeys()) {
        moveChoiceHighlight(step == PadDirection::Left ? -1 : step == PadDirection::Right ? 1 : 0);
    }
}

// An entry of the pause taken: "Esci dal gioco" leaves as the window's close button does.
void takePauseEntry(int entry) {
    if (entry == kLeaveEntry) {
        quitGame();
    } else if (entry == kResumeEntry) {
        closePause();
    }
}

// While the pause is open every event is its own: Up/W and Down/S (the pad's stick or
// directional pad) light the entries, E, Enter, Space, the pad's A or a click take one; Escape,
// the pad's B or Start resume. The focus coming back does not.
void handlePausedEvent(const sf::Event& event) {
    if (event.type == sf::Event::KeyPressed) {
        const sf::Keyboard::Key key = event.key.code;
        if (key == sf::Keyboard::Escape) {
            closePause();
        } else if (key == sf::Keyboard::Up || key == sf::Keyboard::W) {
            movePauseHighlight(-1);
        } else if (key == sf::Keyboard::Down || key == sf::Keyboard::S) {
            movePauseHighlight(1);
        } else if (key == sf::Keyboard::E || key == sf::Keyboard::Enter ||
                   key == sf::Keyboard::Space) {
            takePauseEntry(shell.pauseEntry);
        }
    } else if (event.type == sf::Event::MouseMoved) {
        if (const int entry = pauseEntryAt(world.mouseWindow); entry != -1) {
            shell.pauseEntry = entry;
        }
    } else if (event.type == sf::Event::MouseButtonPressed &&
               event.mouseButton.button == sf::Mouse::Left) {
        takePauseEntry(pauseEntryAt(world.mouseWindow));
    } else if (const std::optional<PadButton> button = padButtonPressed(event)) {
        if (*button == PadButton::Bottom) {
            takePauseEntry(shell.pauseEntry);
        } else if (*button == PadButton::Right || *button == PadButton::Start) {
            closePause();
        }
    } else if (event.type == sf::Event::JoystickMoved) {
        const PadDirection step = padStep(event);
        if (step == PadDirection::Up || step == PadDirection::Down) {
            movePauseHighlight(step == PadDirection::Up ? -1 : 1);
        }
    }
}

void drawTransitionScreen(sf::RenderTarget& target, const ScreenChoice& choice) {
    clocks.screenNow = clocks.screenClock.getElapsedTime();
    // The chapter card stops the world theme on each of its frames and plays it again at its end,
    // so the theme restarts from its beginning after every chapter.
    if (choice.transition == TransitionScreen::ChapterCard) {
        worldMusic.stop();
        drawChapterChange(target, clocks.screenNow, clocks.screenMark, clocks.screenClock,
                          !veilsTheWorldOnly(choice));
    } else if (choice.transition == TransitionScreen::Intro) {
        showIntro(target, clocks.screenNow, clocks.screenMark, clocks.screenClock, camera);
    }
}

sf::RectangleShape heroineAsShown() {
    std::lock_guard<std::mutex> lock(heroineLock());
    return heroine;
}

void drawScreen(sf::RenderTarget& target, const ScreenChoice& choice) {
    switch (choice.screen) {
    case Screen::Ending:
        worldMusic.stop(); // for good: no chapter card plays it again
        drawEndingScreen(target);
        break;
    case Screen::Battle:
        drawBattleScreen(target);
        break;
    case Screen::Inventory:
        drawInventory(target, heroineAsShown());
        break;
    case Screen::World:
        if (choice.dialogueBox) {
            drawDialogueBox(target);
        }
        if (choice.hud) {
            drawHud(target);
            drawDescriptionPopup(target);
        } else if (choice.transition != TransitionScreen::None) {
            drawTransitionScreen(target, choice);
        }
        break;
    }
}

} // namespace

void beginFrame(float seconds) {
    world.frameSeconds.store(seconds);
    if (!shell.paused) {
        typeDialogue();
    }
}

void trackMouse(sf::Vector2i pixel, const sf::RenderTarget& target) {
    const sf::Vector2f onScreen = target.mapPixelToCoords(pixel, screenView);
    // Rounded: the mapping's float arithmetic may land a hair below the pixel it started from.
    world.mouseWindow = {static_cast<int>(std::lround(onScreen.x)),
                         static_cast<int>(std::lround(onScreen.y))};
    const sf::Vector2f inWorld = target.mapPixelToCoords(pixel, camera);
    // A negative coordinate keeps the previous cell.
    if (inWorld.x >= 0) {
        world.mouseTile.x = static_cast<unsigned>(inWorld.x / kCellPixels);
    }
    if (inWorld.y >= 0) {
        world.mouseTile.y = static_cast<unsigned>(inWorld.y / kCellPixels);
    }
    tileCursor.setPosition(static_cast<float>(world.mouseTile.x * kCellPixels),
                           static_cast<float>(world.mouseTile.y * kCellPixels));
}

void quitGame() {
    stopCharacterThread();
    shell.closeRequested = true;
    window.close();
}

void handleEvent(const sf::Event& event) {
    if (event.type == sf::Event::Closed) {
        quitGame();
        return;
    }
    if (shell.paused) {
        handlePausedEvent(event);
        return;
    }
    if (event.type == sf::Event::LostFocus) {
        // A loss the window system takes back at once (X11 reports one as a full-screen window
        // grabs the keyboard at start) leaves the window focused: that is no loss.
        if (story.endingId == -1 && !windowHasFocus(window)) {
            openPause();
        }
    } else if (event.type == sf::Event::KeyPressed) {
        handleKeyPress(event.key.code);
    } else if (const std::optional<PadButton> button = padButtonPressed(event)) {
        handlePadButton(*button);
    } else if (event.type == sf::Event::JoystickMoved) {
        handlePadStep(padStep(event));
    }
    if (!shell.paused) {
        clickChoice(); // after every event, whatever its kind, unless it opened the pause
    }
}

void pauseWhenBackHeld() {
    if (!isPadButtonHeld(PadButton::Select)) {
        shell.selectHeld = false;
        shell.selectActed = false;
        return;
    }
    const sf::Time now = gameTimeNow();
    if (!shell.selectHeld) {
        shell.selectHeld = true;
        shell.selectHeldSince = now;
    } else if (!shell.selectActed && !shell.paused && !shell.closeRequested &&
               now - shell.selectHeldSince >= kBackHold) {
        shell.selectActed = true; // once per hold: a pause closed while Back is held stays closed
        pauseOrLeave();
    }
}

void updateWorld() {
    if (shell.paused) {
        return; // the game's time stands still
    }
    holdToSkipIntro(camera);
    openConversationOfCharacterInReach();
    if (story.endingId != -1) {
        return;
    }
    if (!battle.inBattle && !story.transitionPending && !story.inventoryOpen) {
        updateVisibleWindow(camera, kScreenCellsWide, kScreenCellsHigh);
        world.walkSpeed = runHeld() ? world.baseSpeed + kRunBonus : kWalkSpeed;
        if (!conversation.dialogueOpen) {
            moveHeroine(camera, clocks.animClock, clocks.animNow, clocks.animLast);
        }
        // A message script (1990..1992) stays the speaker until its conversation ends, and so
        // does a character: one that walked on out of reach in the frame its talk opened would
        // otherwise leave an open talk with no speaker, which no key can show, go on or end.
        if (conversation.activeNpc < kFirstMessageSlot && !conversation.dialogueOpen) {
            conversation.activeNpc = findTalkTarget();
            noteTalkTarget();
        }
        updateTileContacts();
    }
    if (battle.inBattle && !battle.playerTurn) { // the opponent answers in the same frame
        chooseEnemyMove();
    }
}

ScreenChoice chooseScreen() {
    ScreenChoice choice;
    if (story.endingId != -1) {
        choice.screen = Screen::Ending;
    } else if (battle.inBattle) {
        choice.screen = Screen::Battle;
    } else if (story.inventoryOpen) {
        choice.screen = Screen::Inventory;
    } else {
        choice.screen = Screen::World;
        choice.dialogueBox = conversation.dialogueOpen;
        if (!story.transitionPending && !story.introRunning) {
            choice.hud = true;
        } else {
            const int kind = currentQuestRecord().transitionKind;
            choice.transition = kind == 0    ? TransitionScreen::Intro
                                : kind == -1 ? TransitionScreen::ChapterCard
                                             : TransitionScreen::None;
        }
    }
    return choice;
}

void drawWorldLayers(sf::RenderTarget& target, sf::Color tint, const Cover& cover) {
    sf::IntRect holes[Cover::kMost];
    for (int i = 0; i < cover.count; ++i) {
        const sf::FloatRect& rect = cover.rects[i];
        const sf::Vector2i from = target.mapCoordsToPixel({rect.left, rect.top}, screenView);
        const sf::Vector2i to =
            target.mapCoordsToPixel({rect.left + rect.width, rect.top + rect.height}, screenView);
        holes[i] = {from, to - from};
    }
    if (!drawCachedLayers(target, tint, holes, cover.count)) {
        drawGroundPass(target, tint);
        drawObjectPass(target, tint);
    }
}

void drawWorld(sf::RenderTarget& target, sf::Uint8 veil, const Cover& cover) {
    const sf::Color tint = veilTint(veil);
    target.setView(wholePixelView(target.getView(), target));
    drawWorldLayers(target, tint, cover);
    drawWorldAboveLayers(target, tint);
}

Cover coverOf(const ScreenChoice& choice) {
    Cover cover;
    if (choice.screen == Screen::Inventory) {
        addInventoryCover(cover);
    } else if (choice.screen == Screen::World) {
        if (choice.dialogueBox) {
            addDialogueBoxCover(cover);
        }
        if (choice.hud) {
            addPopupCover(cover);
        }
    }
    return cover;
}

bool veilsTheWorldOnly(const ScreenChoice& choice) {
    return choice.screen == Screen::Inventory ||
           (choice.screen == Screen::World && choice.transition == TransitionScreen::ChapterCard &&
            !choice.dialogueBox);
}

void drawFrame(sf::RenderTarget& target) {
    target.setActive(true);
    const HeldContextRecord held;
    target.clear(sf::Color(0, 0, 0, 255));
    target.setView(camera);
    const ScreenChoice choice = chooseScreen();
    if (story.endingId == -1 && !battle.inBattle) {
        // The veil of the screen over the world, drawn as the world's own darkening.
        const int veil = !veilsTheWorldOnly(choice)           ? 0
                         : choice.screen == Screen::Inventory ? inventoryShade().a
                                                              : screens.fadeAlpha;
        drawWorld(target, static_cast<sf::Uint8>(std::clamp(veil, 0, 255)), coverOf(choice));
    }
    target.setView(screenView);
    drawScreen(target, choice);
    if (shell.paused) {
        drawPauseScreen(target);
    }
}

// Step 11: the window shows the frame; a picture drawn off screen (a test's) is finished.
void presentFrame(sf::RenderTarget& target) {
    if (auto* onScreen = dynamic_cast<sf::RenderWindow*>(&target)) {
        onScreen->display();
    } else if (auto* offScreen = dynamic_cast<sf::RenderTexture*>(&target)) {
        offScreen->display();
    }
}

void runFrame(sf::RenderTarget& target, float seconds) {
    beginFrame(seconds);
    trackMouse(mousePosition(window), target);
    checkMapReady();
    sf::Event event;
    while (pollInputEvent(window, event)) {
        handleEvent(event);
    }
    pauseWhenBackHeld();
    updateWorld();
    {
        target.setActive(true);
        const HeldContextRecord held; // through the display too, which binds the picture again
        drawFrame(target);
        presentFrame(target);
    }
    checkEnding();
    tellWhereaboutsIfAsked();
}
