// assetIds.h -- the map values our art draws and our maps place: one name per ground tile and
// per object, so that the sheets and the maps agree on what each id shows.
//
// A ground id n (1..499) is cell ((n - 1) % 5, (n - 1) / 5) of tileTable.png; an object id n
// (500 and up) is cell ((n - 500) % 5, (n - 500) / 5) of objectTable.png; cells are 320 x 320.
// Names, blocking and the other properties of the game's own objects come from the game's id
// table (world/tileGrid.cpp); ids 521 to 535 are our scenery: no name, and they keep whatever
// blocking the ground gives the cell.
#pragma once

namespace ground {
constexpr int kGrass = 1;
constexpr int kGrassFlowers = 2;   // grass with a few flowers
constexpr int kGrassDark = 3;      // deep forest floor
constexpr int kPath = 4;           // trodden dirt path
constexpr int kSand = 5;           // desert sand
constexpr int kSandDunes = 6;      // sand with ripples
constexpr int kVillageEarth = 7;   // packed earth of the camps and the village
constexpr int kTrainingGround = 8; // trampled earth with straw
constexpr int kDryEarth = 9;       // cracked earth where grass meets desert
constexpr int kRiverbank = 10;     // muddy bank beside the river
constexpr int kStonePlaza = 11;    // flat stones around the fire of the camp
// Ravine pieces (blocking, named "Burrone"): a chasm seen from above, cliff edges on the side of
// the solid ground. "Edge N" has solid ground to the north; an outer corner has solid ground on
// two sides; an inner corner only diagonally.
constexpr int kRavineDeep = 12;
constexpr int kRavineEdgeN = 13;
constexpr int kRavineEdgeS = 14;
constexpr int kRavineEdgeW = 15;
constexpr int kRavineEdgeE = 16;
constexpr int kRavineCornerNW = 17; // solid ground to the north and the west
constexpr int kRavineCornerNE = 18;
constexpr int kRavineCornerSW = 19;
constexpr int kRavineCornerSE = 20;
constexpr int kRavineInnerNW = 21; // solid ground only diagonally, to the north-west
constexpr int kRavineInnerNE = 22;
constexpr int kRavineInnerSW = 23;
constexpr int kRavineInnerSE = 24;
constexpr int kRavineRocks = 25; // deep chasm with rocks, a variant of kRavineDeep
// Transitions between grass (the named side) and sand (the rest of the cell).
constexpr int kSandEdgeN = 26; // grass to the north, sand to the south
constexpr int kSandEdgeS = 27;
constexpr int kSandEdgeW = 28;
constexpr int kSandEdgeE = 29;
constexpr int kWater = 30; // open water of the lakes beyond the play area (not blocking by
                           // itself: always under a blocking object or beyond the walls)
constexpr int kLastGroundId = 30;
} // namespace ground

namespace object {
constexpr int kTreeLeafy = 500; // "Albero rigoglioso"
constexpr int kTreeBare = 501;  // "Albero senza foglie"
constexpr int kTreeTall = 502;  // "Albero Alto e leggiadro"
// River pieces, "Fiume rinfrescante": water with grassy banks, flowing through the cell.
constexpr int kRiverEastWest = 503;
constexpr int kRiverNorthSouth = 504;
constexpr int kRiverNorthEast = 505; // a bend joining the north side to the east side
constexpr int kRiverNorthWest = 506;
constexpr int kRiverSouthEast = 507;
constexpr int kRiverSouthWest = 508;
constexpr int kMysteryChest = 509; // "Cassa Misteriosa" (the leather armour)
constexpr int kTent = 510;         // "Tenda"
constexpr int kCactus = 511;       // "Cactus Spinoso"
constexpr int kCarcass = 512;      // "Carcassa di qualche animale sfortunato"
constexpr int kMysteryMushroom = 513;
constexpr int kPoisonMushrooms = 514;
constexpr int kPoisonMushrooms2 = 515;
constexpr int kCampfire = 516; // "Falo' Rigenerante"
constexpr int kTotem = 517;    // "Totem della Tribu'"
constexpr int kTotem2 = 518;
constexpr int kChiefTent = 519; // "Tenda del Capo Tribu'"
constexpr int kTrunk = 520;     // "Tronco d'albero"
// Our scenery, 521..535: never blocking by itself, no name.
constexpr int kBridgeOverNorthSouth = 521; // planks crossing a north-south river, walkable
constexpr int kBridgeOverEastWest = 522;   // planks crossing an east-west river, walkable
constexpr int kFlowers = 523;
constexpr int kPebbles = 524;
constexpr int kBush = 525; // low bush, walkable
constexpr int kSteppingStones = 526;
constexpr int kReeds = 527;
constexpr int kFirewood = 528;
constexpr int kDrum = 529;
constexpr int kPottery = 530;
constexpr int kBones = 531;
constexpr int kDesertRock = 532; // small flat rock, walkable
constexpr int kDryBush = 533;
constexpr int kPuddle = 534;
constexpr int kSignpost = 535;
constexpr int kBurningTent = 536; // "Tenda in fiamme"
constexpr int kBurningTent2 = 537;
constexpr int kEmptyBasket = 538;     // "Cesta Vuota"
constexpr int kSwordfishBasket = 539; // "Cesta del Pesce Spada" (the sword)
constexpr int kFullBasket = 540;      // "Cesta Mele e Carne"
constexpr int kClothesLine = 541;     // "Stendipanni"
constexpr int kFishBasket = 542;      // "Cesta del Pesce"
constexpr int kMannequin = 543;       // "Manichino Utile per allenamenti"
constexpr int kApple = 544;           // "Mela succosa"
constexpr int kWeaponsBasket = 545;   // "Cesta di Armi" (the axe)
constexpr int kLastObjectId = 545;
} // namespace object
