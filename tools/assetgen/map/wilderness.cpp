// wilderness.cpp -- the world nobody walks: deep forest, open woods and meadows chosen by a
// moisture field, lakes in the low ground and rocky ravines in the high ground of an elevation
// field. Both fields are smooth noise, so the land comes in patches that read as a landscape.
#include "map/wilderness.h"

#include "assetIds.h"
#include "noise.h"

#include <cstdint>
#include <iterator>

namespace {

constexpr std::uint32_t kElevationSalt = 101;
constexpr std::uint32_t kMoistureSalt = 202;
constexpr std::uint32_t kGrowthSalt = 303;
constexpr std::uint32_t kPickSalt = 404;
constexpr float kLakeBelow = 0.31f;
constexpr float kShoreBelow = 0.35f;
constexpr float kRavineAbove = 0.71f;

// Woods by moisture: the first row whose threshold the cell's moisture reaches.
struct Biome {
    float moistureFrom;
    int ground;
    int groundAlt; // patches of this ground inside the biome
    float treeShare;
    int scenery; // the low plant of the biome's open cells
};
constexpr Biome kBiomes[] = {
    {0.60f, ground::kGrassDark, ground::kGrassDark, 0.90f, object::kBush},
    {0.43f, ground::kGrassDark, ground::kGrass, 0.62f, object::kBush},
    {0.00f, ground::kGrass, ground::kGrassFlowers, 0.10f, object::kFlowers},
};

constexpr int kTrees[] = {object::kTreeLeafy, object::kTreeLeafy, object::kTreeTall,
                          object::kTreeLeafy, object::kTreeTall,  object::kTreeBare};

float elevation(int col, int row) {
    return 0.65f * noise::valueNoise(col, row, 13.0f, kElevationSalt) +
           0.35f * noise::valueNoise(col, row, 5.0f, kElevationSalt + 1);
}

const Biome& biomeAt(int col, int row) {
    const float moisture = noise::valueNoise(col, row, 17.0f, kMoistureSalt);
    for (const Biome& biome : kBiomes) {
        if (moisture >= biome.moistureFrom) {
            return biome;
        }
    }
    return kBiomes[std::size(kBiomes) - 1];
}

void fillWoods(DraftCell& cell, int col, int row) {
    const Biome& biome = biomeAt(col, row);
    cell.ground =
        noise::valueNoise(col, row, 4.0f, kPickSalt) < 0.35f ? biome.groundAlt : biome.ground;
    const float growth = noise::unit(col, row, kGrowthSalt);
    const std::uint32_t pick = noise::hash(col, row, kPickSalt);
    if (growth < biome.treeShare) {
        cell.object = kTrees[pick % std::size(kTrees)];
    } else if (growth > 0.93f) {
        cell.object = biome.scenery;
    }
}

void fillCell(DraftCell& cell, int col, int row) {
    const float height = elevation(col, row);
    if (height < kLakeBelow) {
        cell.ground = ground::kWater;
    } else if (height < kShoreBelow) {
        cell.ground = ground::kRiverbank;
        cell.object = noise::unit(col, row, kGrowthSalt) < 0.2f ? object::kReeds : 0;
    } else if (height > kRavineAbove) {
        cell.ground = ground::kGrassDark;
        cell.ravine = true;
    } else {
        fillWoods(cell, col, row);
    }
}

} // namespace

void fillWilderness(WorldDraft& draft) {
    for (int row = 0; row < kWorldCells; ++row) {
        for (int col = 0; col < kWorldCells; ++col) {
            fillCell(draft.at(col, row), col, row);
        }
    }
}
