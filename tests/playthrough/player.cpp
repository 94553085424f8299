// player.cpp -- the test player: the game's frame steps, routes on the lattice of one frame's walk,
// conversations, choices and battles.
#include "playthrough/player.h"

#include "testSupport.h"

#include "battle/battleRules.h"
#include "shell/frame.h"
#include "shell/gameClock.h"
#include "shell/gameState.h"
#include "shell/input.h"
#include "shell/resources.h"
#include "shell/startup.h"
#include "story/dialogueBox.h"
#include "story/quests.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"
#include "world/visibleWindow.h"

#include <chrono>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <queue>
#include <thread>

namespace {

constexpr float kLattice = 10;    // pixels a frame of kStepSeconds walks
constexpr int kPictureScale = 10; // the player's picture is a tenth of the game's
constexpr int kMaxSteps = 20000;

struct Move {
    sf::Keyboard::Key key;
    int dx, dy;
};
const Move kMoves[] = {{sf::Keyboard::D, 1, 0},
                       {sf::Keyboard::A, -1, 0},
                       {sf::Keyboard::S, 0, 1},
                       {sf::Keyboard::W, 0, -1}};

sf::FloatRect boundsAt(sf::Vector2f at) {
    return {at.x, at.y, kHeroineSize, kHeroineSize};
}

} // namespace

sf::FloatRect characterReach(int index) {
    std::lock_guard<std::mutex> lock(rosterLock());
    sf::FloatRect reach = npcs[index].sprite.getGlobalBounds();
    reach.left -= kTalkReach;
    reach.width += 2 * kTalkReach;
    return reach;
}

sf::FloatRect objectReach(sf::Vector2i cell) {
    return {cell.x * kCellPixels - kObjectReach, cell.y * kCellPixels - kObjectReach,
            kCellPixels + kObjectReach, kCellPixels + kObjectReach};
}

RoutePlanner::RoutePlanner() {
    // The sensor lines as the game places them, measured from her top-left corner.
    sf::Vector2f saved;
    {
        std::lock_guard<std::mutex> lock(heroineLock());
        saved = heroine.getPosition();
        heroine.setPosition(0, 0);
    }
    placeSensors();
    for (const sf::RectangleShape& box : contactBoxes) {
        sensors_.push_back(box.getGlobalBounds());
    }
    {
        std::lock_guard<std::mutex> lock(heroineLock());
        heroine.setPosition(saved);
    }
    placeSensors();
}

bool RoutePlanner::free(sf::Vector2f at) const {
    for (sf::FloatRect sensor : sensors_) {
        sensor.left += at.x;
        sensor.top += at.y;
        const int colFirst = static_cast<int>(std::floor(sensor.left / kCellPixels));
        const int colLast =
            static_cast<int>(std::ceil((sensor.left + sensor.width) / kCellPixels)) - 1;
        const int rowFirst = static_cast<int>(std::floor(sensor.top / kCellPixels));
        const int rowLast =
            static_cast<int>(std::ceil((sensor.top + sensor.height) / kCellPixels)) - 1;
        for (int row = rowFirst; row <= rowLast; ++row) {
            for (int col = colFirst; col <= colLast; ++col) {
                if (row < 0 || col < 0 || row >= kGridSize || col >= kGridSize) {
                    return false; // beyond the grid
                }
                std::lock_guard<std::mutex> lock(gridRowLock(row));
                if (cellAt(row, col).blocking && sensor.intersects(objectBounds(row, col))) {
                    return false;
                }
            }
        }
    }
    return true;
}

std::vector<RouteStep>
RoutePlanner::route(sf::Vector2f from, const std::function<bool(const sf::FloatRect&)>& arrived,
                    const std::function<bool(const sf::FloatRect&)>& avoided) const {
    // Lattice points from - 10 i, within the world.
    const int left = static_cast<int>(from.x / kLattice) + 1;
    const int top = static_cast<int>(from.y / kLattice) + 1;
    const int side = static_cast<int>(kGridSize * kCellPixels / kLattice) + 2;
    const auto pointOf = [&](int index) {
        return sf::Vector2f(from.x + (index % side - left) * kLattice,
                            from.y + (index / side - top) * kLattice);
    };
    std::vector<int> cameFrom(static_cast<std::size_t>(side) * side, -1);
    std::vector<char> how(cameFrom.size(), 0);
    const int start = top * side + left;
    cameFrom[static_cast<std::size_t>(start)] = start;
    std::deque<int> queue{start};
    while (!queue.empty()) {
        const int index = queue.front();
        queue.pop_front();
        const sf::Vector2f at = pointOf(index);
        if (arrived(boundsAt(at))) {
            std::vector<RouteStep> steps;
            for (int i = index; i != start; i = cameFrom[static_cast<std::size_t>(i)]) {
                steps.insert(
                    steps.begin(),
                    {kMoves[static_cast<int>(how[static_cast<std::size_t>(i)])].key, pointOf(i)});
            }
            return steps;
        }
        for (int m = 0; m < 4; ++m) {
            const int col = index % side + kMoves[m].dx;
            const int row = index / side + kMoves[m].dy;
            if (col < 0 || row < 0 || col >= side || row >= side) {
                continue;
            }
            const int next = row * side + col;
            if (cameFrom[static_cast<std::size_t>(next)] != -1) {
                continue;
            }
            cameFrom[static_cast<std::size_t>(next)] = index;
            how[static_cast<std::size_t>(next)] = static_cast<char>(m);
            const sf::Vector2f to = pointOf(next);
            if (free(to) && !avoided(boundsAt(to))) {
                queue.push_back(next);
            }
        }
    }
    return {};
}

std::vector<RoutePlanner::Run>
RoutePlanner::runs(sf::Vector2f from, const std::function<bool(const sf::FloatRect&)>& arrived,
                   const std::function<bool(const sf::FloatRect&)>& avoided, float clearance,
                   const sf::FloatRect& area) const {
    constexpr int kTurnCost = 40; // steps a turn is worth: long straight runs drift least
    const int left = static_cast<int>((from.x - area.left) / kLattice);
    const int top = static_cast<int>((from.y - area.top) / kLattice);
    const int width = static_cast<int>(area.width / kLattice);
    const int height = static_cast<int>(area.height / kLattice);
    const auto pointOf = [&](int cell) {
        return sf::Vector2f(from.x + (cell % width - left) * kLattice,
                            from.y + (cell / width - top) * kLattice);
    };
    // 1: free with room around it; 3: free but close to a wall, dearer to walk through;
    // 2: not to be walked.
    constexpr int kTightCost = 20;
    // Around the start she may stand a step inside a wall, as a frame's walk can take her before
    // the sensors stop her: the way out of it is walkable.
    constexpr float kEscape = 15;
    const auto roomy = [&](sf::Vector2f at) -> char {
        if (std::abs(at.x - from.x) <= kEscape && std::abs(at.y - from.y) <= kEscape) {
            return free(at) ? 1 : 3;
        }
        if (!free(at) || avoided(boundsAt(at))) {
            return 2;
        }
        for (const sf::Vector2f shift : {sf::Vector2f(clearance, 0), sf::Vector2f(-clearance, 0),
                                         sf::Vector2f(0, clearance), sf::Vector2f(0, -clearance)}) {
            if (!free(at + shift)) {
                return 3;
            }
        }
        return 1;
    };
    // Dijkstra over (lattice point, last key), turns costing extra.
    const std::size_t states = static_cast<std::size_t>(width) * height * 4;
    std::vector<int> cost(states, INT32_MAX);
    std::vector<int> cameFrom(states, -1);
    using Entry = std::pair<int, int>; // cost, state
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
    const int startCell = top * width + left;
    for (int m = 0; m < 4; ++m) {
        cost[static_cast<std::size_t>(startCell * 4 + m)] = 0;
        queue.push({0, startCell * 4 + m});
    }
    std::vector<char> roomyKnown(static_cast<std::size_t>(width) * height, 0);
    while (!queue.empty()) {
        const auto [here, state] = queue.top();
        queue.pop();
        if (here != cost[static_cast<std::size_t>(state)]) {
            continue;
        }
        const int cell = state / 4;
        if (arrived(boundsAt(pointOf(cell)))) {
            std::vector<Run> found;
            for (int s = state; cameFrom[static_cast<std::size_t>(s)] != -1;
                 s = cameFrom[static_cast<std::size_t>(s)]) {
                const Move& move = kMoves[s % 4];
                if (found.empty() || found.front().key != move.key) {
                    found.insert(found.begin(), {move.key, 0, pointOf(s / 4)});
                }
                found.front().pixels += kLattice;
            }
            return found;
        }
        for (int m = 0; m < 4; ++m) {
            const int col = cell % width + kMoves[m].dx;
            const int row = cell / width + kMoves[m].dy;
            if (col < 0 || row < 0 || col >= width || row >= height) {
                continue;
            }
            const int next = row * width + col;
            char& known = roomyKnown[static_cast<std::size_t>(next)];
            if (known == 0) {
                known = roomy(pointOf(next));
            }
            const int nextState = next * 4 + m;
            const int nextCost =
                here + (known == 3 ? kTightCost : 1) + (m != state % 4 ? kTurnCost : 0);
            if (known != 2 && nextCost < cost[static_cast<std::size_t>(nextState)]) {
                cost[static_cast<std::size_t>(nextState)] = nextCost;
                cameFrom[static_cast<std::size_t>(nextState)] = state;
                queue.push({nextCost, nextState});
            }
        }
    }
    return {};
}

Player::Player(unsigned seed, Device device) : device_(device) {
    useSimulatedTime(true);
    resetGameState();
    useSimulatedInput(true);
    if (device_ == Device::Pad) {
        connectPad(0, true);
    }
    setUpBattleMoves();
    for (int i = 0; i < kQuestCount; ++i) {
        initQuest(i);
    }
    quests[0].transitionKind = -1; // the intro is over: the first chapter card follows
    setUpHeroine();
    updateVisibleWindow(camera, kScreenCellsWide, kScreenCellsHigh);
    std::srand(seed);
    target_.create(1920 / kPictureScale, 1080 / kPictureScale);
    startMapLoaders(); // the shipped maps of the build's asset folder
    // Frames that take no simulated time while the loaders work: however long they take, the
    // story starts at the same moment of the game's clocks, and replays alike.
    for (int i = 0; i < 10000 && !npcs[0].active; ++i) {
        frame(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(npcs[0].active) << "the map did not load";
    planner_ = RoutePlanner();
}

Player::~Player() {
    useSimulatedInput(false);
    resetGameState();
    useSimulatedTime(false);
}

void Player::frame(float seconds) {
    playFrame(target_, seconds);
    if (watcher_) {
        watcher_();
    }
}

void Player::frames(int count, float seconds) {
    for (int i = 0; i < count; ++i) {
        frame(seconds);
    }
}

void Player::waitForPlay() {
    for (int i = 0; i < 2000 && story.transitionPending; ++i) {
        frame();
    }
    EXPECT_FALSE(story.transitionPending);
}

void Player::walk(const std::function<bool(const sf::FloatRect&)>& arrived, int goal) {
    // The characters stand still while the route is planned: their reaches are read once.
    sf::FloatRect reaches[kWorldCharacters];
    for (int i = 0; i < kWorldCharacters; ++i) {
        reaches[i] = characterReach(i);
    }
    const auto nearOther = [goal, &reaches](const sf::FloatRect& her, bool speakersOnly) {
        for (int i = 0; i < kWorldCharacters; ++i) {
            if (i != goal && (!speakersOnly || npcs[i].startsTalk) && her.intersects(reaches[i])) {
                return true;
            }
        }
        return false;
    };
    std::vector<RouteStep> steps = planner_.route(
        heroineAt(), arrived, [&](const sf::FloatRect& her) { return nearOther(her, false); });
    if (steps.empty() && !arrived(boundsAt(heroineAt()))) {
        steps = planner_.route(heroineAt(), arrived,
                               [&](const sf::FloatRect& her) { return nearOther(her, true); });
    }
    ASSERT_TRUE(!steps.empty() || arrived(boundsAt(heroineAt())))
        << "no way from " << heroineAt().x << "," << heroineAt().y;
    ASSERT_LT(steps.size(), static_cast<std::size_t>(kMaxSteps));
    for (const RouteStep& step : steps) {
        ASSERT_FALSE(conversation.dialogueOpen) << "a talk opened on the way";
        holdWay(step.key, true);
        frame();
        holdWay(step.key, false);
        ASSERT_EQ(heroineAt(), step.to) << "she did not walk where the game's rules let her";
    }
    frame(); // the talk target and the object hint of the place reached
}

// W A S D, or the left stick pushed all the way.
void Player::holdWay(sf::Keyboard::Key key, bool held) {
    if (device_ != Device::Pad) {
        holdKey(key, held);
        return;
    }
    const bool across = key == sf::Keyboard::A || key == sf::Keyboard::D;
    const float way = key == sf::Keyboard::A || key == sf::Keyboard::W ? -100 : 100;
    setPadAxis(0, across ? sf::Joystick::X : sf::Joystick::Y, held ? way : 0);
}

void Player::queueHatPush(sf::Joystick::Axis axis, float position) {
    queuePadMove(0, axis, position);
    queuePadMove(0, axis, 0);
}

void Player::walkToCharacter(int index) {
    const sf::FloatRect reach = characterReach(index);
    walk([&](const sf::FloatRect& her) { return her.intersects(reach); }, index);
    if (npcs[index].startsTalk) {
        frame(); // it opens its talk
    }
    EXPECT_EQ(conversation.activeNpc, index);
}

void Player::walkToObject(int col, int row) {
    const sf::FloatRect reach = objectReach({col, row});
    walk([&](const sf::FloatRect& her) { return her.intersects(reach); }, -1);
    EXPECT_EQ(conversation.interactX, col * 100.0f);
    EXPECT_EQ(conversation.interactY, row * 100.0f);
}

void Player::walkTo(const sf::FloatRect& area) {
    walk([&](const sf::FloatRect& her) { return her.intersects(area); }, -1);
}

void Player::press(sf::Keyboard::Key key) {
    ASSERT_NE(device_, Device::Pad) << "a player of the pad pressed a key";
    queueKeyPress(key);
    frame();
}

void Player::talk() {
    if (device_ == Device::Pad) {
        queuePadPress(0, PadButton::Bottom);
        frame();
    } else {
        press(sf::Keyboard::E);
    }
}

bool Player::talkToChoiceOrEnd() {
    for (int i = 0; i < 100 && conversation.dialogueOpen && !choiceButtonsShowing(); ++i) {
        talk();
    }
    return conversation.dialogueOpen;
}

void Player::choose(int k) {
    ASSERT_TRUE(choiceButtonsShowing());
    switch (device_) {
    case Device::KeyboardAndMouse:
        pointAt(choicePixel(k));
        frame(); // the button lights up under the mouse
        ASSERT_EQ(conversation.hoveredChoice, k);
        queueClick(sf::Mouse::Left, choicePixel(k));
        break;
    case Device::Keyboard:
        queueKeyPress(static_cast<sf::Keyboard::Key>(sf::Keyboard::Num1 + k));
        break;
    case Device::Pad:
        for (int i = 0; i < 4 && conversation.highlightedChoice != k; ++i) {
            const int lit = conversation.highlightedChoice;
            queueHatPush(sf::Joystick::PovX, (lit == -1 ? k > 0 : k > lit) ? 100 : -100);
            frame();
        }
        ASSERT_EQ(conversation.highlightedChoice, k);
        queuePadPress(0, PadButton::Bottom);
        break;
    }
    frame();
}

void Player::lookAtInventory() {
    ASSERT_FALSE(story.inventoryOpen);
    for (int toggle = 0; toggle < 2; ++toggle) {
        if (device_ == Device::Pad) {
            queuePadPress(0, PadButton::Top);
            frame();
        } else {
            press(sf::Keyboard::Tab);
        }
        EXPECT_EQ(story.inventoryOpen, toggle == 0);
        EXPECT_EQ(chooseScreen().screen, toggle == 0 ? Screen::Inventory : Screen::World);
    }
}

void Player::leave() {
    if (device_ == Device::Pad) {
        queuePadPress(0, PadButton::Start);
        frame();
    } else {
        press(sf::Keyboard::Return);
    }
}

void Player::talkToEnd() {
    for (int i = 0; i < 100 && conversation.dialogueOpen; ++i) {
        ASSERT_FALSE(choiceButtonsShowing()) << "the talk waits for a choice: " << shownLine();
        talk();
    }
    EXPECT_FALSE(conversation.dialogueOpen);
}

void Player::talkToBattle() {
    for (int i = 0; i < 20 && conversation.dialogueOpen && !battle.inBattle; ++i) {
        talk();
    }
    ASSERT_TRUE(battle.inBattle);
}

void Player::fight(const std::vector<int>& moves) {
    for (std::size_t turn = 0; turn < 1000 && battle.inBattle; ++turn) {
        const int move = moves[turn % moves.size()];
        // The menu moves one line a press, within the same frame as the E that confirms it.
        const bool pad = device_ == Device::Pad;
        for (int line = battle.selectedMove; line < move; ++line) {
            pad ? queueHatPush(sf::Joystick::PovY, 100) : queueKeyPress(sf::Keyboard::Down);
        }
        for (int line = battle.selectedMove; line > move; --line) {
            pad ? queueHatPush(sf::Joystick::PovY, -100) : queueKeyPress(sf::Keyboard::Up);
        }
        talk();
    }
    EXPECT_FALSE(battle.inBattle);
}

sf::Vector2f Player::heroineAt() const {
    return heroinePosition();
}

sf::Vector2i Player::choicePixel(int k) {
    const int x = k % 2 == 0 ? 530 : 985;
    const int y = k / 2 == 0 ? 721 : 842;
    return pixelOf({x + 200, y + 48});
}

sf::Vector2i Player::pixelOf(sf::Vector2i screenPixel) {
    return screenPixel / kPictureScale;
}

const std::string& Player::shownLine() const {
    return currentLine();
}
