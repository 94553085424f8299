// storyExplorer.cpp -- the explorer's tours, its random play, its checks and its recovery.
#include "playthrough/storyExplorer.h"

#include "playthrough/storySteps.h"
#include "testSupport.h"

#include "shell/frame.h"
#include "shell/gameClock.h"
#include "shell/gameState.h"
#include "shell/input.h"
#include "shell/resources.h"
#include "story/dialogueBox.h"
#include "story/dialogueScript.h"
#include "world/heroine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

namespace {

constexpr float kLattice = 10; // pixels between two points of the lattice
constexpr int kPlayArea = 62;  // cells
constexpr int kSide = static_cast<int>(kPlayArea * kCellPixels / kLattice); // lattice points
constexpr int kUnreached = -1;
constexpr int kPlaceEvery = 40; // frames between two starting places on a tour
constexpr int kRecoveryFrames = 4000;
constexpr int kStanding = 4;
constexpr int kAroundACharacter = 3; // cells: the ground around a start where talks catch her

// How often a session does what, per frame unless said otherwise.
namespace odds {
// Goals: a character, the ground around one, a usable object; else she wanders.
constexpr double kCharacterGoal = 0.45;
constexpr double kGroundGoal = 0.30;
constexpr double kObjectGoal = 0.20;
constexpr double kWanderStep = 0.15;  // a step any way instead of towards the goal
constexpr double kNewGoalThere = 0.2; // arrived: choose another goal
constexpr double kStandThere = 0.6;   // arrived: stand still for a while
constexpr double kRun = 0.3;          // each walk runs
constexpr double kBattleMove = 0.35;  // in battle: E
constexpr double kBattleCursor = 0.2; // in battle: a cursor key
constexpr double kChoose = 0.12;      // the choice buttons showing: take one
constexpr double kGoOnInATalk = 0.25; // a talk open: E
constexpr double kEAtTheGoal = 0.2;   // E near the goal...
constexpr double kEAnywhere = 0.03;   // ...and anywhere else
constexpr double kKeyOnReach = 0.7;   // a character came into reach: E or Tab at once
constexpr double kAnyKey = 0.02;      // any key a player may press
constexpr double kCloseInventory = 0.08;
constexpr double kPadButton = 0.04; // in the sessions with a pad
constexpr double kClickAnywhere = 0.01;
constexpr double kPause = 0.002;      // Escape, or the pad's Start
constexpr double kLoseFocus = 0.001;  // the window loses the focus...
constexpr double kRegainFocus = 0.05; // ...and gets it back
constexpr double kPauseKey = 0.3;     // the pause open: a key, the pad or the mouse on its entries
constexpr double kLeave = 0.02;       // of those: "Esci dal gioco" taken
// Per session.
constexpr double kVaryFrameTime = 0.5;
constexpr double kPlugAPad = 0.25;
constexpr double kCharacterBesideAnObject = 0.12;
constexpr double kBesideAFind = 0.7; // of those: beside an object that holds a find
} // namespace odds

// Steps of the lattice, in the order of kWalkKeys: down, up, left, right.
const sf::Vector2i kWalkSteps[4] = {{0, 1}, {0, -1}, {-1, 0}, {1, 0}};
// Keys a player may press at any moment besides walking: what the game reads, and one it does not.
const sf::Keyboard::Key kOtherKeys[] = {
    sf::Keyboard::E,    sf::Keyboard::Tab,  sf::Keyboard::Up,    sf::Keyboard::Down,
    sf::Keyboard::W,    sf::Keyboard::S,    sf::Keyboard::Enter, sf::Keyboard::Num1,
    sf::Keyboard::Num2, sf::Keyboard::Left, sf::Keyboard::Right, sf::Keyboard::Space,
    sf::Keyboard::Q};
// The pad's buttons a player may press at any moment (Start pauses, as Escape does: the pause
// comes with its own odds).
const PadButton kPadButtons[] = {PadButton::Bottom, PadButton::Top, PadButton::Right,
                                 PadButton::Left};

bool chance(std::mt19937& random, double p) {
    return std::uniform_real_distribution<double>(0, 1)(random) < p;
}

int pick(std::mt19937& random, int count) {
    return std::uniform_int_distribution<int>(0, count - 1)(random);
}

bool isWorldCharacter(int index) {
    return index >= 0 && index < kWorldCharacters;
}

bool isMessageSlot(int index) {
    return index >= kFirstMessageSlot && index <= kArmourTrainingMessage;
}

bool roaming() {
    return story.endingId == -1 && !battle.inBattle && !story.inventoryOpen &&
           !conversation.dialogueOpen && !story.transitionPending && !shell.paused;
}

// The keys the pause answers, and one it does not.
const sf::Keyboard::Key kPauseKeys[] = {
    sf::Keyboard::Up,    sf::Keyboard::Down,   sf::Keyboard::W,
    sf::Keyboard::S,     sf::Keyboard::E,      sf::Keyboard::Enter,
    sf::Keyboard::Space, sf::Keyboard::Escape, sf::Keyboard::Tab};
// The middle of the pause's "Riprendi", in pixels of the game's picture.
const sf::Vector2i kResumeEntryAt(960, 278);

} // namespace

MovingValues movingValues() {
    const sf::Vector2f at = heroinePosition();
    MovingValues now{{at.x, at.y, camera.getCenter().x, camera.getCenter().y,
                      static_cast<double>(gameTimeNow().asMicroseconds()),
                      static_cast<double>(conversation.typedChars),
                      double(conversation.dialogueLine), double(conversation.activeNpc),
                      double(conversation.dialogueOpen), double(screens.fadeAlpha),
                      double(screens.fadingOut), double(screens.introLeg), double(battle.playerHp),
                      double(battle.enemyHp), double(battle.playerTurn), double(story.hope),
                      double(story.currentQuest), double(story.transitionPending),
                      double(story.inventoryOpen)}};
    std::lock_guard<std::mutex> lock(rosterLock());
    for (int i = 0; i < kWorldCharacters; ++i) {
        now.values.push_back(npcs[i].sprite.getPosition().x);
        now.values.push_back(npcs[i].sprite.getPosition().y);
    }
    return now;
}

std::string whatMoved(const MovingValues& before, const MovingValues& after) {
    static const char* const kNames[] = {
        "her x",         "her y",     "camera x",   "camera y",    "the game's time",
        "typed letters", "line",      "speaker",    "box open",    "veil",
        "veil lifting",  "intro leg", "her hp",     "opponent hp", "turn",
        "hope",          "quest",     "transition", "inventory"};
    for (std::size_t i = 0; i < after.values.size(); ++i) {
        if (after.values[i] != before.values[i]) {
            return i < std::size(kNames)
                       ? kNames[i]
                       : "character " + std::to_string((i - std::size(kNames)) / 2);
        }
    }
    return {};
}

namespace {

// The usable objects of the play area now.
std::vector<sf::Vector2i> usableCells() {
    std::vector<sf::Vector2i> found;
    for (int row = 0; row < kPlayArea; ++row) {
        std::lock_guard<std::mutex> lock(gridRowLock(row));
        for (int col = 0; col < kPlayArea; ++col) {
            if (cellAt(row, col).interactive) {
                found.push_back({col, row});
            }
        }
    }
    return found;
}

// Whether a sensor line overlaps a blocking cell, as the game tests it.
bool lineBlocked(const sf::FloatRect& line) {
    const int colFirst = std::max(0, static_cast<int>(std::floor(line.left / kCellPixels)));
    const int colLast = std::min(
        kGridSize - 1, static_cast<int>(std::floor((line.left + line.width) / kCellPixels)));
    const int rowFirst = std::max(0, static_cast<int>(std::floor(line.top / kCellPixels)));
    const int rowLast = std::min(
        kGridSize - 1, static_cast<int>(std::floor((line.top + line.height) / kCellPixels)));
    for (int row = rowFirst; row <= rowLast; ++row) {
        std::lock_guard<std::mutex> lock(gridRowLock(row));
        for (int col = colFirst; col <= colLast; ++col) {
            if (cellAt(row, col).blocking && line.intersects(objectBounds(row, col))) {
                return true;
            }
        }
    }
    return false;
}

std::string describe(const char* what, int value) {
    return std::string(what) + " " + std::to_string(value);
}

// --- The checks, after every frame. Each says what is wrong, or nothing. ---

// A box on screen has someone to speak it: a placed character or a message speaker.
std::string shownBoxHasASpeaker() {
    if (chooseScreen().dialogueBox) {
        const int speaker = conversation.activeNpc;
        const bool placed = isWorldCharacter(speaker) && npcs[speaker].active;
        if (!placed && !isMessageSlot(speaker)) {
            return describe("a talk is shown with no speaker: activeNpc", speaker);
        }
    }
    return {};
}

std::string valuesInRange() {
    const int speaker = conversation.activeNpc;
    if (speaker != -1 && !isWorldCharacter(speaker) && !isMessageSlot(speaker)) {
        return describe("activeNpc out of range:", speaker);
    }
    if (story.currentQuest < 0 || story.currentQuest > 8) {
        return describe("currentQuest out of the story:", story.currentQuest);
    }
    if (story.hope < 0 || story.hope > 200) {
        return describe("hope out of range:", story.hope);
    }
    if (conversation.dialogueOpen &&
        (conversation.dialogueLine < 0 || conversation.dialogueLine >= kDialogueLines)) {
        return describe("dialogueLine out of range:", conversation.dialogueLine);
    }
    if (conversation.hoveredChoice < -1 || conversation.hoveredChoice >= kChoices) {
        return describe("hoveredChoice out of range:", conversation.hoveredChoice);
    }
    if (battle.selectedMove > 3) {
        return describe("selectedMove out of range:", battle.selectedMove);
    }
    for (int slot = 0; slot < 2; ++slot) {
        if (story.equippedItem[slot] < -1 || story.equippedItem[slot] > 2) {
            return describe("an equipment slot holds item", story.equippedItem[slot]);
        }
    }
    if (story.applesCarried < 0 || story.applesCarried > 1 || story.applesDelivered > 3) {
        return describe("apples carried/delivered out of range:",
                        story.applesCarried * 10 + story.applesDelivered);
    }
    return {};
}

// Her feet stand on free ground: at least one of her four sensor lines touches no blocking cell.
// A frame's walk may take a line a step into a wall; all four in walls leave no way out.
std::string feetAreFree() {
    for (const sf::RectangleShape& line : contactBoxes) {
        if (!lineBlocked(line.getGlobalBounds())) {
            return {};
        }
    }
    const sf::FloatRect her = heroineBounds();
    return "the heroine's feet are inside blocking cells at " +
           std::to_string(static_cast<int>(her.left)) + "," +
           std::to_string(static_cast<int>(her.top));
}

// The inventory covers the world: nothing may talk or fight under it.
std::string nothingUnderTheInventory() {
    if (story.inventoryOpen && (conversation.dialogueOpen || battle.inBattle)) {
        return describe("a talk or a battle is open under the inventory: activeNpc",
                        conversation.activeNpc);
    }
    return {};
}

// A character held standing by a talk is the one speaking.
std::string heldSpeakerSpeaks() {
    std::lock_guard<std::mutex> lock(rosterLock());
    for (int i = 0; i < kWorldCharacters && npcs[i].active; ++i) {
        const Npc& npc = npcs[i];
        const bool held = npc.direction == kStanding && npc.restDirection != kStanding;
        if (held && !(conversation.dialogueOpen && conversation.activeNpc == i)) {
            return describe("a character stays held by a talk that is over:", i);
        }
    }
    return {};
}

} // namespace

// --- Tours: the places a story passes through. ---

StoryExplorer::StoryExplorer() : player_(1) {
    measureFreePoints(); // on the grid as the story starts: the same guide for every session
    keepPlaces();
    std::printf("explorer: %d starting places from the scripted tours\n", startingPlaces());
}

void StoryExplorer::keepPlaces() {
    const GameSnapshot start = takeSnapshot();
    places_.push_back({start, 0});
    const auto toAnAttack = [this] {
        askTheSage(player_, 0);
        find(player_, {49, 37});
        find(player_, {3, 15});
        beatTheInvaders(player_);
        passTheCrisocione(player_, 0);
    };
    const auto toTheApples = [this] {
        askTheSage(player_, 1);
        askHonani(player_, 0);
        gatherTheApples(player_);
        answer(player_, kHonani, 0);
        player_.waitForPlay();
        find(player_, {27, 35});
        beatTheInvaders(player_);
        passTheCrisocione(player_, 1);
        // Up to the Boss's question, where sessions choose the story's end.
        player_.walkToCharacter(kBoss);
        player_.press(sf::Keyboard::E);
        player_.talkToChoiceOrEnd();
    };
    const auto toTheTraining = [this] {
        askTheSage(player_, 1);
        askHonani(player_, 1);
        train(player_, 0);
    };
    for (const auto& steps : {std::function<void()>(toAnAttack), std::function<void()>(toTheApples),
                              std::function<void()>(toTheTraining)}) {
        restoreSnapshot(start);
        tour(steps);
    }
}

void StoryExplorer::tour(const std::function<void()>& steps) {
    int announced = story.currentQuest;
    long frames = 0;
    player_.watchFrames([&] {
        if (story.transitionPending) {
            announced = story.currentQuest; // its card is due
        }
        if (++frames % kPlaceEvery == 0 && story.endingId == -1) {
            places_.push_back({takeSnapshot(&places_.back().game), announced});
        }
    });
    steps();
    player_.watchFrames({});
    places_.push_back({takeSnapshot(&places_.back().game), announced});
}

// --- Frames. ---

void StoryExplorer::frame(float seconds) {
    const bool pausedBefore = shell.paused;
    const MovingValues before = movingValues();
    player_.frame(seconds);
    // The character thread's pass, between two frames.
    characterPass(passClock_, timers_, passClock_.getElapsedTime());
    ++sessionFrame_;
    ++tally_.frames;
    noteFrame();
    checkPauseKeepsTime(pausedBefore, before, seconds);
}

// While the pause stays open nothing moves; a frame begun in play moves the game's time on by its
// own seconds exactly, so the first frame after the pause takes a normal frame's step, never the
// pause's length; the frame that resumes moves no time (its update steps as any frame's does).
void StoryExplorer::checkPauseKeepsTime(bool pausedBefore, const MovingValues& before,
                                        float seconds) {
    if (!pauseFault_.empty() || shell.closeRequested) {
        return;
    }
    const MovingValues after = movingValues();
    const auto moved = static_cast<long long>(after.values[kGameTime] - before.values[kGameTime]);
    if (pausedBefore && shell.paused) {
        const std::string what = whatMoved(before, after);
        if (!what.empty()) {
            pauseFault_ = what + " moved while the game was paused";
        }
    } else if (pausedBefore && moved != 0) {
        pauseFault_ =
            "the frame that resumed moved the game's time by " + std::to_string(moved) + " us";
    } else if (!pausedBefore && moved != sf::seconds(seconds).asMicroseconds()) {
        pauseFault_ = "a frame of " + std::to_string(sf::seconds(seconds).asMicroseconds()) +
                      " us moved the game's time by " + std::to_string(moved) + " us";
    }
}

void StoryExplorer::noteFrame() {
    if (conversation.dialogueOpen && (!lastBoxOpen_ || conversation.activeNpc != lastSpeaker_)) {
        ++tally_.talksOpened;
        if (conversation.activeNpc == kItemMessage) {
            ++tally_.finds;
        }
    }
    const int target = conversation.dialogueOpen ? -1 : conversation.activeNpc;
    cameIntoReach_ = target != -1 && target != lastTarget_;
    lastTarget_ = target;
}

// --- Walking: the distance fields over the lattice of the play area. ---

void StoryExplorer::measureFreePoints() {
    freePoints_.assign(static_cast<std::size_t>(kSide) * kSide, 0);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            freePoints_[static_cast<std::size_t>(y * kSide + x)] =
                player_.planner().free({x * kLattice, y * kLattice}) ? 1 : 0;
        }
    }
}

int StoryExplorer::latticeIndex(sf::Vector2f at) const {
    const int x = static_cast<int>(std::lround(at.x / kLattice));
    const int y = static_cast<int>(std::lround(at.y / kLattice));
    if (x < 0 || y < 0 || x >= kSide || y >= kSide) {
        return -1;
    }
    return y * kSide + x;
}

// Breadth first from every free point where she reaches `reach`.
int StoryExplorer::fieldTo(const sf::FloatRect& reach) {
    for (std::size_t i = 0; i < fieldGoals_.size(); ++i) {
        if (fieldGoals_[i] == reach) {
            return static_cast<int>(i);
        }
    }
    std::vector<std::int32_t> distance(freePoints_.size(), kUnreached);
    std::deque<int> queue;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int index = y * kSide + x;
            const sf::FloatRect her(x * kLattice, y * kLattice, kHeroineSize, kHeroineSize);
            if (freePoints_[static_cast<std::size_t>(index)] && her.intersects(reach)) {
                distance[static_cast<std::size_t>(index)] = 0;
                queue.push_back(index);
            }
        }
    }
    while (!queue.empty()) {
        const int index = queue.front();
        queue.pop_front();
        for (const sf::Vector2i step : kWalkSteps) {
            const int x = index % kSide + step.x;
            const int y = index / kSide + step.y;
            if (x < 0 || y < 0 || x >= kSide || y >= kSide) {
                continue;
            }
            const auto next = static_cast<std::size_t>(y * kSide + x);
            if (freePoints_[next] && distance[next] == kUnreached) {
                distance[next] = distance[static_cast<std::size_t>(index)] + 1;
                queue.push_back(static_cast<int>(next));
            }
        }
    }
    fields_.push_back(std::move(distance));
    fieldGoals_.push_back(reach);
    return static_cast<int>(fields_.size()) - 1;
}

StoryExplorer::Goal StoryExplorer::chooseGoal() {
    Goal goal;
    const double roll = std::uniform_real_distribution<double>(0, 1)(random_);
    if (roll < odds::kCharacterGoal) {
        goal.character = pick(random_, kWorldCharacters);
        // The field leads to where the character started; its reach moves with it on the way.
        const sf::Vector2i start(characterStartTable[goal.character].col,
                                 characterStartTable[goal.character].row);
        const sf::FloatRect around(start.x * kCellPixels - kTalkReach,
                                   start.y * kCellPixels - kCellPixels,
                                   kCellPixels + 2 * kTalkReach, 3 * kCellPixels);
        goal.field = fieldTo(around);
        goal.reach = around;
    } else if (roll < odds::kCharacterGoal + odds::kGroundGoal) {
        // Anywhere she can stand within three cells of where a character started: the ground
        // around it, where talks that open by themselves catch her.
        const int character = pick(random_, kWorldCharacters);
        const sf::Vector2i start(characterStartTable[character].col,
                                 characterStartTable[character].row);
        const int pointsPerCell = static_cast<int>(kCellPixels / kLattice);
        const int across = (2 * kAroundACharacter + 1) * pointsPerCell;
        for (int tries = 0; tries < 50; ++tries) {
            const sf::Vector2i point(
                (start.x - kAroundACharacter) * pointsPerCell + pick(random_, across),
                (start.y - kAroundACharacter) * pointsPerCell + pick(random_, across));
            const int index = point.y * kSide + point.x;
            if (point.x >= 0 && point.y >= 0 && point.x < kSide && point.y < kSide &&
                freePoints_[static_cast<std::size_t>(index)]) {
                goal.reach = {point.x * kLattice, point.y * kLattice, kLattice, kLattice};
                goal.field = fieldTo(goal.reach);
                break;
            }
        }
    } else if (roll < odds::kCharacterGoal + odds::kGroundGoal + odds::kObjectGoal) {
        const std::vector<sf::Vector2i> cells = usableCells();
        if (!cells.empty()) {
            goal.reach = objectReach(
                cells[static_cast<std::size_t>(pick(random_, static_cast<int>(cells.size())))]);
            goal.field = fieldTo(goal.reach);
        }
    }
    return goal; // no field: she wanders
}

sf::Keyboard::Key StoryExplorer::stepTowards(const Goal& goal) {
    if (goal.field < 0 || chance(random_, odds::kWanderStep)) {
        return kWalkKeys[pick(random_, 4)];
    }
    const std::vector<std::int32_t>& distance = fields_[static_cast<std::size_t>(goal.field)];
    const int here = latticeIndex(heroinePosition());
    if (here < 0) {
        return kWalkKeys[pick(random_, 4)];
    }
    int best = -1;
    std::int32_t bestDistance = distance[static_cast<std::size_t>(here)];
    for (int m = 0; m < 4; ++m) {
        const int x = here % kSide + kWalkSteps[m].x;
        const int y = here / kSide + kWalkSteps[m].y;
        if (x < 0 || y < 0 || x >= kSide || y >= kSide) {
            continue;
        }
        const std::int32_t d = distance[static_cast<std::size_t>(y * kSide + x)];
        if (d != kUnreached && (bestDistance == kUnreached || d < bestDistance)) {
            bestDistance = d;
            best = m;
        }
    }
    return best < 0 ? kWalkKeys[pick(random_, 4)] : kWalkKeys[best];
}

// --- Random play. ---

// Walking: a key held for a few frames, most often the one that leads to the goal.
void StoryExplorer::chooseWalk() {
    const sf::Vector2f at = heroinePosition();
    stillFrames_ = at == lastAt_ ? stillFrames_ + 1 : 0;
    lastAt_ = at;
    if (walkFrames_ <= 0 || stillFrames_ > 3) {
        if (walking_ != sf::Keyboard::Unknown) {
            holdKey(walking_, false);
        }
        const bool arrived = nearGoal();
        if (arrived && chance(random_, odds::kNewGoalThere)) {
            goal_ = chooseGoal();
        }
        walking_ = arrived && chance(random_, odds::kStandThere) ? sf::Keyboard::Unknown
                   : stillFrames_ > 3                            ? kWalkKeys[pick(random_, 4)]
                                                                 : stepTowards(goal_);
        walkFrames_ = 2 + pick(random_, 10);
        stillFrames_ = 0;
        if (walking_ != sf::Keyboard::Unknown) {
            holdKey(walking_, true);
        }
        holdKey(sf::Keyboard::LShift, chance(random_, odds::kRun));
    }
    --walkFrames_;
}

bool StoryExplorer::nearGoal() const {
    return heroineBounds().intersects(goal_.character >= 0 ? characterReach(goal_.character)
                                                           : goal_.reach);
}

// A shown choice button, taken by one of the three ways: the mouse (it rests on the button this
// frame and clicks in the next), its number key, or the highlight and Space.
void StoryExplorer::chooseAChoice(std::vector<sf::Keyboard::Key>& presses) {
    int k = pick(random_, kChoices);
    while (npcs[conversation.activeNpc].choiceLabels[k].empty() && k > 0) {
        --k;
    }
    const int way = pick(random_, 3);
    if (way == 0) {
        pendingClick_ = k;
        placeMouse(Player::choicePixel(k));
        return;
    }
    if (way == 1) {
        presses.push_back(k == 0 ? sf::Keyboard::Num1 : sf::Keyboard::Num2);
    } else {
        presses.push_back(chance(random_, 0.5) ? sf::Keyboard::Left : sf::Keyboard::Right);
        presses.push_back(sf::Keyboard::Space);
    }
    ++tally_.choicesTaken;
}

// The keys of this frame: what the screen invites (a battle's moves, a choice, E in a talk or at
// the goal), what a player presses the moment a character comes into reach, and now and then any
// key at all.
std::vector<sf::Keyboard::Key> StoryExplorer::choosePresses() {
    std::vector<sf::Keyboard::Key> presses;
    chooseFocusAndPause(presses);
    if (shell.paused) {
        choosePauseActions(presses);
        return presses;
    }
    if (battle.inBattle) {
        if (chance(random_, odds::kBattleMove)) {
            presses.push_back(sf::Keyboard::E);
        }
        if (chance(random_, odds::kBattleCursor)) {
            presses.push_back(chance(random_, 0.5) ? sf::Keyboard::Up : sf::Keyboard::S);
        }
    } else if (choiceButtonsShowing() && chance(random_, odds::kChoose)) {
        chooseAChoice(presses);
    } else if (conversation.dialogueOpen && chance(random_, odds::kGoOnInATalk)) {
        presses.push_back(sf::Keyboard::E);
    } else if (chance(random_, nearGoal() ? odds::kEAtTheGoal : odds::kEAnywhere)) {
        presses.push_back(sf::Keyboard::E);
    }
    if (cameIntoReach_ && chance(random_, odds::kKeyOnReach)) {
        presses.push_back(kOtherKeys[pick(random_, 2)]);
    }
    if (chance(random_, odds::kAnyKey)) {
        presses.push_back(kOtherKeys[pick(random_, static_cast<int>(std::size(kOtherKeys)))]);
    }
    if (story.inventoryOpen && chance(random_, odds::kCloseInventory)) {
        presses.push_back(sf::Keyboard::Tab);
    }
    return presses;
}

// The pause, open: its keys, the mouse on its entries, the pad; now and then its way out, which
// ends the session as the window's close button would.
void StoryExplorer::choosePauseActions(std::vector<sf::Keyboard::Key>& presses) {
    if (!chance(random_, odds::kPauseKey)) {
        return;
    }
    if (chance(random_, odds::kLeave)) {
        presses.push_back(sf::Keyboard::Down);
        presses.push_back(sf::Keyboard::E);
        return;
    }
    const int way = pick(random_, 3);
    if (way == 0) {
        presses.push_back(kPauseKeys[pick(random_, static_cast<int>(std::size(kPauseKeys)))]);
    } else if (way == 1) {
        queueClick(sf::Mouse::Left, Player::pixelOf(kResumeEntryAt));
    } else if (padPlugged_) {
        queuePadPress(0, chance(random_, 0.5) ? PadButton::Right : PadButton::Start);
    }
}

// Now and then Escape, and the window losing the focus (and getting it back later).
void StoryExplorer::chooseFocusAndPause(std::vector<sf::Keyboard::Key>& presses) {
    if (chance(random_, odds::kPause)) {
        if (padPlugged_ && chance(random_, 0.5)) {
            queuePadPress(0, PadButton::Start);
        } else {
            presses.push_back(sf::Keyboard::Escape);
        }
    }
    if (focused_ && chance(random_, odds::kLoseFocus)) {
        setWindowFocus(false);
        focused_ = false;
    } else if (!focused_ && chance(random_, odds::kRegainFocus)) {
        setWindowFocus(true);
        focused_ = true;
    }
}

// The pad's buttons (in the sessions with one) and a click anywhere.
void StoryExplorer::pressPadOrMouse() {
    if (padPlugged_ && chance(random_, odds::kPadButton)) {
        queuePadPress(0, kPadButtons[pick(random_, static_cast<int>(std::size(kPadButtons)))]);
    }
    if (chance(random_, odds::kClickAnywhere)) {
        queueClick(sf::Mouse::Left, {pick(random_, 384), pick(random_, 216)});
    }
}

void StoryExplorer::printActions(const std::vector<sf::Keyboard::Key>& presses) const {
    const sf::Vector2f at = heroinePosition();
    std::printf("frame %ld: walk %d, presses", sessionFrame_, static_cast<int>(walking_));
    for (const sf::Keyboard::Key key : presses) {
        std::printf(" %d", static_cast<int>(key));
    }
    std::printf("; quest %d talk %d line %d inventory %d battle %d; at %.1f,%.1f free %d%d%d%d\n",
                story.currentQuest, conversation.activeNpc, conversation.dialogueLine,
                story.inventoryOpen, battle.inBattle, at.x, at.y, world.canMoveUp,
                world.canMoveDown, world.canMoveLeft, world.canMoveRight);
}

void StoryExplorer::chooseActions(bool verbose) {
    chooseWalk();
    if (pendingClick_ >= 0) { // the choice the mouse came to rest on in the last frame
        queueClick(sf::Mouse::Left, Player::choicePixel(pendingClick_));
        ++tally_.choicesTaken;
        pendingClick_ = -1;
    }
    const std::vector<sf::Keyboard::Key> presses = choosePresses();
    if (!shell.paused) {
        pressPadOrMouse();
    }
    for (const sf::Keyboard::Key key : presses) {
        queueKeyPress(key);
        if (key == sf::Keyboard::Tab && !story.inventoryOpen) {
            ++tally_.inventories;
        }
    }
    if (verbose) {
        printActions(presses);
    }
}

// --- The checks. ---

std::string StoryExplorer::checkInvariants() {
    if (!pauseFault_.empty()) {
        return pauseFault_;
    }
    tally_.pauses += shell.paused && !lastPaused_ ? 1 : 0;
    lastPaused_ = shell.paused;
    for (std::string (*check)() : {shownBoxHasASpeaker, valuesInRange, feetAreFree,
                                   nothingUnderTheInventory, heldSpeakerSpeaks}) {
        std::string fault = check();
        if (!fault.empty()) {
            return fault;
        }
    }
    // A talk that opens, or takes over the box, shows its first line from its first letter.
    const bool opened =
        conversation.dialogueOpen && (!lastBoxOpen_ || conversation.activeNpc != lastSpeaker_);
    if (opened && !battle.inBattle && conversation.dialogueLine != 0) {
        return describe("a talk opened on its line", conversation.dialogueLine) + " (speaker " +
               std::to_string(conversation.activeNpc) + ")";
    }
    lastBoxOpen_ = conversation.dialogueOpen;
    lastSpeaker_ = conversation.activeNpc;
    // A quest that changed is announced by its chapter card once its talk is over.
    tally_.chapterCards += lastPending_ && !story.transitionPending ? 1 : 0;
    lastPending_ = story.transitionPending;
    if (story.transitionPending) {
        announcedQuest_ = story.currentQuest; // its card is due
    } else if (!conversation.dialogueOpen && !battle.inBattle && story.endingId == -1 &&
               story.currentQuest != announcedQuest_) {
        return describe("the story moved to quest", story.currentQuest) +
               " without its chapter card (last shown: " + std::to_string(announcedQuest_) + ")";
    }
    return {};
}

void StoryExplorer::releaseWalkKeys() {
    for (const sf::Keyboard::Key key : kWalkKeys) {
        holdKey(key, false);
    }
    holdKey(sf::Keyboard::LShift, false);
}

// In free play, a walk of two frames each way until one moves her: true once one has; false when
// none did, or when a talk began on the way (a character in reach may speak first).
bool StoryExplorer::walksAway(bool& stillFree) {
    stillFree = true;
    for (int m = 0; m < 4 && stillFree; ++m) {
        const sf::Vector2f before = heroinePosition();
        holdKey(kWalkKeys[m], true);
        frame(1.0f / 60);
        frame(1.0f / 60);
        holdKey(kWalkKeys[m], false);
        if (heroinePosition() != before) {
            return true;
        }
        stillFree = roaming();
    }
    return false;
}

// One step of the way back to free play: close the inventory, fight with the first move, answer
// with the first choice, go on in a talk; a transition plays on by itself.
void StoryExplorer::stepTowardsPlay() {
    if (!focused_) {
        setWindowFocus(true);
        focused_ = true;
    }
    if (shell.paused) {
        queueKeyPress(sf::Keyboard::Escape);
    } else if (story.inventoryOpen) {
        queueKeyPress(sf::Keyboard::Tab);
    } else if (battle.inBattle) {
        queueKeyPress(battle.selectedMove > 0 ? sf::Keyboard::Up : sf::Keyboard::E);
    } else if (story.transitionPending) {
        // the intro or chapter card plays on
    } else if (choiceButtonsShowing()) {
        if (pendingClick_ == 0) {
            queueClick(sf::Mouse::Left, Player::choicePixel(0));
            pendingClick_ = -1;
        } else {
            placeMouse(Player::choicePixel(0));
            pendingClick_ = 0;
        }
    } else if (conversation.dialogueOpen) {
        queueKeyPress(sf::Keyboard::E);
    }
}

std::string StoryExplorer::stuckState() const {
    return "inventory " + std::to_string(story.inventoryOpen) + ", talk " +
           std::to_string(conversation.dialogueOpen) + " with " +
           std::to_string(conversation.activeNpc) + ", battle " + std::to_string(battle.inBattle) +
           ", transition " + std::to_string(story.transitionPending);
}

// Closes the inventory, goes on in the talk (answering with the first choice), fights with the
// first move and waits out the transitions, until she walks free or the game has ended.
std::string StoryExplorer::recover() {
    releaseWalkKeys();
    bool busy = false;
    for (int i = 0; i < kRecoveryFrames; ++i) {
        if (story.endingId != -1) {
            queueKeyPress(sf::Keyboard::Enter);
            frame(1.0f / 60);
            return shell.closeRequested ? std::string() : "Enter does not leave the end screen";
        }
        if (shell.closeRequested) {
            return {}; // "Esci dal gioco" was taken: the game has ended as it should
        }
        if (roaming()) {
            bool stillFree = true;
            if (walksAway(stillFree)) {
                tally_.recoveries += busy ? 1 : 0;
                return {};
            }
            if (stillFree) {
                return "in free play she cannot walk in any direction";
            }
            continue;
        }
        busy = true;
        stepTowardsPlay();
        frame(1.0f / 60);
        const std::string fault = checkInvariants();
        if (!fault.empty()) {
            return "during the recovery: " + fault;
        }
    }
    return "no control came back within " + std::to_string(kRecoveryFrames) +
           " frames of recovery (" + stuckState() + ")";
}

// The shipped world keeps its characters away from the usable objects; another world need not.
// Some sessions try the rules with a character standing beside one, where E reaches both.
void StoryExplorer::moveACharacterBesideAnObject() {
    std::vector<sf::Vector2i> cells = usableCells();
    std::vector<sf::Vector2i> finds;
    for (const sf::Vector2i cell : cells) {
        std::lock_guard<std::mutex> lock(gridRowLock(cell.y));
        const int id = cellAt(cell.y, cell.x).objectId;
        if (id == 539 || id == 545 || id == 509) {
            finds.push_back(cell);
        }
    }
    if (!finds.empty() && chance(random_, odds::kBesideAFind)) {
        cells = finds; // where E takes something and shows its message
    }
    if (cells.empty()) {
        return;
    }
    const sf::Vector2i object =
        cells[static_cast<std::size_t>(pick(random_, static_cast<int>(cells.size())))];
    const int character = pick(random_, kWorldCharacters);
    for (const int side : {1, -1}) {
        const int col = object.x + side;
        bool free = false;
        {
            std::lock_guard<std::mutex> lock(gridRowLock(object.y));
            free = col >= 0 && col < kGridSize && !cellAt(object.y, col).blocking;
        }
        if (!free) {
            continue;
        }
        {
            std::lock_guard<std::mutex> lock(rosterLock());
            Npc& npc = npcs[character];
            npc.sprite.setPosition(col * kCellPixels, object.y * kCellPixels);
            npc.patrolAnchor = npc.sprite.getPosition();
        }
        goal_.character = -1;
        goal_.reach = objectReach(object);
        goal_.field = fieldTo(goal_.reach);
        arrangement_ = " (" + npcs[character].name + " moved beside the object at " +
                       std::to_string(object.x) + "," + std::to_string(object.y) + ")";
        return;
    }
}

std::optional<ExplorerFinding> StoryExplorer::playSession(unsigned seed, bool verbose) {
    random_.seed(seed);
    std::srand(seed);
    const Place& place = places_[static_cast<std::size_t>(pick(random_, startingPlaces()))];
    useSimulatedInput(true);
    restoreSnapshot(place.game);
    announcedQuest_ = place.announcedQuest;
    passClock_ = GameClock();
    timers_ = startCharacterTimers(passClock_);
    sessionFrame_ = 0;
    varyFrameTime_ = chance(random_, odds::kVaryFrameTime);
    lastSpeaker_ = conversation.activeNpc;
    lastBoxOpen_ = conversation.dialogueOpen;
    lastPending_ = story.transitionPending;
    lastTarget_ = conversation.dialogueOpen ? -1 : conversation.activeNpc;
    cameIntoReach_ = false;
    pendingClick_ = -1;
    goal_ = chooseGoal();
    walking_ = sf::Keyboard::Unknown;
    walkFrames_ = 0;
    lastAt_ = heroinePosition();
    stillFrames_ = 0;
    placeMouse({pick(random_, 384), pick(random_, 216)});
    arrangement_.clear();
    padPlugged_ = chance(random_, odds::kPlugAPad);
    if (padPlugged_) {
        connectPad(0, true);
    }
    if (chance(random_, odds::kCharacterBesideAnObject)) {
        moveACharacterBesideAnObject();
    }
    ++tally_.sessions;
    focused_ = true;
    pauseFault_.clear();

    const int frames = 150 + pick(random_, 750);
    for (int i = 0; i < frames && story.endingId == -1 && !shell.closeRequested; ++i) {
        const bool wasInBattle = battle.inBattle;
        chooseActions(verbose);
        frame(varyFrameTime_ ? std::uniform_real_distribution<float>(1.0f / 120, 1.0f / 20)(random_)
                             : 1.0f / 60);
        tally_.battles += battle.inBattle && !wasInBattle ? 1 : 0;
        const std::string fault = checkInvariants();
        if (!fault.empty()) {
            return ExplorerFinding{seed, sessionFrame_, fault + arrangement_};
        }
    }
    tally_.endings += story.endingId != -1 ? 1 : 0;
    const std::string fault = recover();
    if (!fault.empty()) {
        return ExplorerFinding{seed, sessionFrame_, fault + arrangement_};
    }
    return std::nullopt;
}

std::uint64_t StoryExplorer::digest() const {
    const sf::Vector2f at = heroinePosition();
    std::uint64_t hash = 1469598103934665603ull;
    const auto mix = [&hash](long long value) {
        hash = (hash ^ static_cast<std::uint64_t>(value)) * 1099511628211ull;
    };
    for (const long long value :
         {static_cast<long long>(at.x * 16), static_cast<long long>(at.y * 16),
          static_cast<long long>(story.currentQuest), static_cast<long long>(story.hope),
          static_cast<long long>(conversation.activeNpc),
          static_cast<long long>(conversation.dialogueLine),
          static_cast<long long>(conversation.typedChars), static_cast<long long>(battle.enemyHp),
          static_cast<long long>(battle.playerHp), static_cast<long long>(story.endingId)}) {
        mix(value);
    }
    std::lock_guard<std::mutex> lock(rosterLock());
    for (int i = 0; i < kWorldCharacters; ++i) {
        mix(static_cast<long long>(npcs[i].sprite.getPosition().x * 16));
        mix(static_cast<long long>(npcs[i].sprite.getPosition().y * 16));
    }
    return hash;
}
