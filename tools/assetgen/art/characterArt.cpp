// characterArt.cpp -- the character sheets: a walker takes two rows (walking right, then the
// same frames mirrored walking left); the sage only stands and breathes in one row.
#include "art/characterArt.h"

#include "art/palette.h"
#include "art/sheetLayout.h"

namespace {

constexpr unsigned kFigureScale = 5; // 32 texels to a 160-pixel frame

enum class Pose { Walker, Idle };

struct NpcRow {
    unsigned row;
    const char* figure;
    Pose pose;
};

// Which figure starts at which row of NPC-map.png (the game's spriteRow of each character).
const NpcRow kNpcRows[] = {
    {1, "achak", Pose::Idle},         {2, "invader.side", Pose::Walker},
    {4, "enapay.side", Pose::Walker}, {6, "wolf.side", Pose::Walker},
    {8, "honani.side", Pose::Walker}, {10, "boss.side", Pose::Walker},
};

// The heroine's rows, top to bottom; the left row is the right one mirrored.
struct HeroRow {
    unsigned row;
    const char* figure;
    bool mirror;
};
const HeroRow kHeroRows[] = {
    {0, "kaiva.front", false},
    {1, "kaiva.side", true},
    {2, "kaiva.side", false},
    {3, "kaiva.back", false},
};

void stampFrame(sf::Image& image, const PixelGrid& frame, unsigned row, unsigned column) {
    stamp(image, outlined(frame, palette::kInk), column * sheet::kFramePixels,
          row * sheet::kFramePixels, kFigureScale);
}

void stampRow(sf::Image& image, const std::vector<PixelGrid>& frames, unsigned row, bool mirror) {
    for (unsigned column = 0; column < frames.size(); ++column) {
        stampFrame(image, mirror ? mirrored(frames[column]) : frames[column], row, column);
    }
}

sf::Image blankSheet(unsigned rows) {
    sf::Image image;
    image.create(sheet::kFramesPerRow * sheet::kFramePixels, rows * sheet::kFramePixels,
                 palette::kClear);
    return image;
}

// The sage's standing row: a breath in and out, repeated so every frame shows him.
std::vector<PixelGrid> idleFrames(const SpriteBook& book, const std::string& figure) {
    const PixelGrid& rest = spriteOrEmpty(book, figure + ".idle0");
    const PixelGrid& breath = spriteOrEmpty(book, figure + ".idle1");
    return {rest, breath, rest, breath};
}

} // namespace

std::vector<PixelGrid> walkFrames(const SpriteBook& book, const std::string& figure) {
    const PixelGrid& base = spriteOrEmpty(book, figure);
    std::vector<PixelGrid> frames{base};
    for (int step = 1; step < static_cast<int>(sheet::kFramesPerRow); ++step) {
        const PixelGrid& legs = spriteOrEmpty(book, figure + ".walk" + std::to_string(step));
        frames.push_back(legs.width > 0 ? withBottomRows(base, legs) : base);
    }
    return frames;
}

sf::Image npcSheet(const SpriteBook& people) {
    sf::Image image = blankSheet(sheet::kNpcRows);
    for (const NpcRow& entry : kNpcRows) {
        if (entry.pose == Pose::Idle) {
            stampRow(image, idleFrames(people, entry.figure), entry.row, false);
            continue;
        }
        const std::vector<PixelGrid> frames = walkFrames(people, entry.figure);
        stampRow(image, frames, entry.row, false);
        stampRow(image, frames, entry.row + 1, true);
    }
    return image;
}

sf::Image heroSheet(const SpriteBook& heroine) {
    sf::Image image = blankSheet(sheet::kHeroRows);
    for (const HeroRow& entry : kHeroRows) {
        stampRow(image, walkFrames(heroine, entry.figure), entry.row, entry.mirror);
    }
    return image;
}

std::vector<std::string> npcFigures() {
    std::vector<std::string> names;
    for (const NpcRow& entry : kNpcRows) {
        const std::string figure = entry.figure;
        names.push_back(entry.pose == Pose::Idle ? figure + ".idle0" : figure);
    }
    return names;
}

std::vector<std::string> heroFigures() {
    return {"kaiva.front", "kaiva.side", "kaiva.back"};
}
