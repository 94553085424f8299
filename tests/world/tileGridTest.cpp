// tileGridTest.cpp -- the id table, the sheet cells and the visible window.
#include "testSupport.h"

#include "shell/gameState.h"
#include "world/tileGrid.h"
#include "world/visibleWindow.h"

namespace {

struct IdRow {
    int id;
    const char* name;
    bool blocking;
    int water;
    bool interactive;
};

// The whole id table as the game must read it.
const IdRow kIdTable[] = {
    {12, "Burrone", true, 0, false},
    {25, "Burrone", true, 0, false},
    {500, "Albero rigoglioso", true, 0, false},
    {501, "Albero senza foglie", true, 0, false},
    {502, "Albero Alto e leggiadro", true, 0, false},
    {503, "Fiume rinfrescante", true, 1, false},
    {506, "Fiume rinfrescante", true, 1, false},
    {508, "Fiume rinfrescante", true, 1, false},
    {509, "Cassa Misteriosa", true, 0, true},
    {510, "Tenda", false, 0, false},
    {511, "Cactus Spinoso", true, 0, false},
    {512, "Carcassa di qualche animale sfortunato", true, 0, false},
    {513, "Un fungo misterioso con propriet\xE0 misteriose", true, 0, false},
    {514, "Funghi velenosi ", false, 0, false},
    {515, "Funghi velenosi ", false, 0, false},
    {516, "Falo' Rigenerante", true, 0, false},
    {517, "Totem della Tribu'", false, 0, false},
    {518, "Totem della Tribu'", false, 0, false},
    {519, "Tenda del Capo Tribu'", false, 0, false},
    {520, "Tronco d'albero", false, 0, false},
    {536, "Tenda in fiamme", false, 0, false},
    {537, "Tenda in fiamme", false, 0, false},
    {538, "Cesta Vuota", true, 0, true},
    {539, "Cesta del Pesce Spada", true, 0, true},
    {540, "Cesta Mele e Carne", true, 0, false},
    {541, "Stendipanni", false, 0, false},
    {542, "Cesta del Pesce", true, 0, false},
    {543, "Manichino Utile per allenamenti", true, 0, true},
    {544, "Mela succosa", false, 0, true},
    {545, "Cesta di Armi", true, 0, true},
};

// Ids that change nothing but the picture.
const int kPictureOnlyIds[] = {1, 7, 11, 26, 499, -3, 521, 528, 535, 546, 600};

} // namespace

class TileGridTest : public GameTest {};

TEST_F(TileGridTest, EveryIdOfTheTableGivesItsNameAndProperties) {
    for (const IdRow& row : kIdTable) {
        resetGameState();
        changeCell(10, 20, [&](Tile& cell) { cell.blocking = !row.blocking; }); // set both ways
        classifyCell(row.id, 10, 20);
        const Tile& cell = cellAt(10, 20);
        SCOPED_TRACE(row.id);
        EXPECT_EQ(cell.name, row.name);
        EXPECT_EQ(cell.blocking, row.blocking);
        EXPECT_EQ(cell.water, row.water);
        EXPECT_EQ(cell.interactive, row.interactive);
    }
}

TEST_F(TileGridTest, IdsOutsideTheTableOnlyChooseTheirPicture) {
    for (int id : kPictureOnlyIds) {
        resetGameState();
        changeCell(0, 0, [](Tile& cell) {
            cell.blocking = true;
            cell.name = "Burrone";
            cell.water = 1;
            cell.interactive = true;
        });
        classifyCell(id, 0, 0);
        const Tile& cell = cellAt(0, 0);
        SCOPED_TRACE(id);
        EXPECT_TRUE(cell.blocking);
        EXPECT_EQ(cell.name, "Burrone");
        EXPECT_EQ(cell.water, 1);
        EXPECT_TRUE(cell.interactive);
    }
}

TEST_F(TileGridTest, SheetCellsFollowTheIdFivePerRow) {
    struct Case {
        int id;
        int groundCol, groundRow, objectCol, objectRow;
    };
    const Case cases[] = {
        {7, 1, 1, 0, 0},   {1, 0, 0, 0, 0},   {15, 4, 2, 0, 0},  {500, 0, 0, 0, 0},
        {544, 0, 0, 4, 8}, {545, 0, 0, 0, 9}, {-3, -4, 0, 0, 0}, {523, 0, 0, 3, 4},
    };
    for (const Case& c : cases) {
        resetGameState();
        classifyCell(c.id, 5, 5);
        const Tile& cell = cellAt(5, 5);
        SCOPED_TRACE(c.id);
        EXPECT_EQ(cell.groundSheetCol, c.groundCol);
        EXPECT_EQ(cell.groundSheetRow, c.groundRow);
        EXPECT_EQ(cell.objectSheetCol, c.objectCol);
        EXPECT_EQ(cell.objectSheetRow, c.objectRow);
    }
}

TEST_F(TileGridTest, GroundZeroDrawsNothing) {
    classifyCell(0, 1, 1);
    const Tile& cell = cellAt(1, 1);
    EXPECT_EQ(groundFill(cell), sf::Color(0, 0, 0, 0));
    EXPECT_EQ(cell.groundSheetCol, -1);
    EXPECT_EQ(cell.groundSheetRow, 0);
}

TEST_F(TileGridTest, TheLayerClassifiedLastDecidesARavineUnderATent) {
    classifyCell(15, 3, 3);
    classifyCell(510, 3, 3);
    EXPECT_FALSE(cellAt(3, 3).blocking);
    EXPECT_EQ(cellAt(3, 3).name, "Tenda");
    classifyCell(15, 3, 3);
    EXPECT_TRUE(cellAt(3, 3).blocking);
    EXPECT_EQ(cellAt(3, 3).name, "Burrone");
}

TEST(VisibleWindow, FollowsTheCentreWithTwoCellsOfMarginClampedToTheGrid) {
    struct Case {
        sf::Vector2f centre;
        int colFirst, colEnd, rowFirst, rowEnd;
    };
    const Case cases[] = {
        {{960, 540}, 0, 21, 0, 12},
        {{12500, 12500}, 113, 136, 118, 132},
        {{0, 0}, 0, 11, 0, 7},
        {{24950, 24950}, 238, 249, 242, 249}, // the ends clamp to 249: row 249 is never drawn
        {{40000, -9000}, 249, 249, 0, 0},     // a centre beyond the grid: an empty window
        {{-5000, 30000}, 0, 0, 249, 249},
    };
    for (const Case& c : cases) {
        const VisibleWindow window = visibleWindowAround(c.centre, 19, 10);
        SCOPED_TRACE(testing::Message() << c.centre.x << "," << c.centre.y);
        EXPECT_EQ(window.visibleColFirst, c.colFirst);
        EXPECT_EQ(window.visibleColEnd, c.colEnd);
        EXPECT_EQ(window.visibleRowFirst, c.rowFirst);
        EXPECT_EQ(window.visibleRowEnd, c.rowEnd);
    }
}

TEST(VisibleWindow, TheIntroExtentsCoverTheWholeClampedGrid) {
    const VisibleWindow window = visibleWindowAround({4800, 2000}, 960, 540);
    EXPECT_EQ(window.visibleColFirst, 0);
    EXPECT_EQ(window.visibleColEnd, 249);
    EXPECT_EQ(window.visibleRowFirst, 0);
    EXPECT_EQ(window.visibleRowEnd, 249);
}
