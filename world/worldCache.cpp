// worldCache.cpp -- the drawn world kept between frames.
//
// The picture is a ring: a render texture one cell larger than the view each way (21 x 12 cells
// of 100 x 100 pixels for the 1920 x 1080 screen), in which the world's pixel (x, y) lies at
// (x mod width, y mod height). Wherever the camera stands, the cells it shows then lie in the ring
// each at a place of its own, so the ring follows the camera by drawing only the cells that come
// into view (a column or a row of them every 25 to 30 frames of walking), and is shown as one
// quad whose texture repeats across the ring's edges. Between story changes it draws nothing.
#include "world/worldCache.h"

#include "shell/gameState.h"
#include "shell/resources.h"
#include "world/tileGrid.h"
#include "world/worldDrawing.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Window/Context.hpp>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <mutex>
#include <vector>

namespace {

// The ring is never larger than this either way: a view that would need more is drawn directly.
constexpr int kLargestRing = 4096;
constexpr int kVerticesPerBack = 6;
constexpr int kMostPieces = 64; // of the ring's quad split around the holes
constexpr int kVerticesPerPicture = 12;
const sf::Color kOpaqueBlack(0, 0, 0, 255);

// Cells [colFirst, colEnd) x [rowFirst, rowEnd); they may lie beyond the grid.
struct CellRange {
    int colFirst = 0;
    int colEnd = 0;
    int rowFirst = 0;
    int rowEnd = 0;

    bool holds(int row, int col) const {
        return col >= colFirst && col < colEnd && row >= rowFirst && row < rowEnd;
    }
    int cells() const { return (colEnd - colFirst) * (rowEnd - rowFirst); }
};

// The ring for a view's pixels: how large a cell is in pixels of the target and of the ring, and
// how many pixels the ring has.
struct RingLayout {
    sf::Vector2f cellPixels;
    sf::Vector2i size;

    bool operator==(const RingLayout& other) const {
        return cellPixels == other.cellPixels && size == other.size;
    }
};

// The picture, what it holds and the vertices of the cells drawn into it. Main thread only: the
// loaders and the character thread never draw, and tell their changes through the grid's marks.
struct DrawnWorld {
    // Made on the first frame: a texture made before main() would open the display before the
    // game has checked that there is one.
    std::unique_ptr<sf::RenderTexture> ring;
    RingLayout layout;
    bool created = false;
    bool firstFrameDrawn = false;     // the first frame draws directly: the window shows at once
    bool holdsCells = false;          // drawn and drawnWindow say what the ring shows
    CellRange drawn;                  // the cells in view when the ring was last brought up to date
    VisibleWindow drawnWindow;        // the visible window it was drawn for
    unsigned wholeChangesSeen = 0;    // wholeGridChanges() then
    RingLayout refused;               // a layout the driver would not give a texture for
    sf::Uint64 context = 0;           // the graphics context the ring last drew in
    std::vector<sf::Vector2i> redraw; // (column, row) of the cells to draw again this frame
    std::vector<sf::Vertex> backs;
    std::vector<sf::Vertex> grounds;
    std::vector<sf::Vertex> objects;
    sf::Vertex shown[kMostPieces * 6]; // the ring's quad, split around the holes
};
DrawnWorld drawnWorld;

bool inWindow(const VisibleWindow& window, int row, int col) {
    return col >= window.visibleColFirst && col < window.visibleColEnd &&
           row >= window.visibleRowFirst && row < window.visibleRowEnd;
}

// Both layers show a cell of the grid that lies in the visible window; any other place is black.
bool shows(const VisibleWindow& window, int row, int col) {
    return row >= 0 && row < kGridSize && col >= 0 && col < kGridSize && inWindow(window, row, col);
}

bool holdsColumn(const RowColumns& columns, int col) {
    return (columns.words[col / kColumnWordBits] >> (col % kColumnWordBits) & 1) != 0;
}

// The ring for the view: one cell more than the view's pixels span either way, so that every
// cell the view touches finds a place of its own. False when the view cannot be followed.
bool layoutFor(const sf::View& view, const sf::IntRect& pixels, RingLayout& layout) {
    if (view.getRotation() != 0 || pixels.width <= 0 || pixels.height <= 0) {
        return false;
    }
    layout.cellPixels = {kCellPixels * pixels.width / view.getSize().x,
                         kCellPixels * pixels.height / view.getSize().y};
    const auto ringPixels = [](int viewPixels, float cellPixels) {
        const double cells = std::ceil(viewPixels / cellPixels) + 1;
        return static_cast<int>(std::ceil(cells * cellPixels - 1e-3));
    };
    layout.size = {ringPixels(pixels.width, layout.cellPixels.x),
                   ringPixels(pixels.height, layout.cellPixels.y)};
    const int largest = std::min(kLargestRing, static_cast<int>(sf::Texture::getMaximumSize()));
    return layout.size.x <= largest && layout.size.y <= largest;
}

void reserveVertices(int cells, int copies) {
    drawnWorld.redraw.reserve(static_cast<std::size_t>(cells));
    drawnWorld.backs.reserve(static_cast<std::size_t>(copies * kVerticesPerBack));
    drawnWorld.grounds.reserve(static_cast<std::size_t>(copies * kVerticesPerPicture));
    drawnWorld.objects.reserve(static_cast<std::size_t>(copies * kVerticesPerPicture));
}

// The ring for this layout, made when there is none or the layout changed (another target). The
// vertices are reserved for the most a frame can draw, so that no later frame allocates.
bool prepareRing(const RingLayout& layout) {
    if (drawnWorld.created && drawnWorld.layout == layout) {
        return true;
    }
    if (drawnWorld.refused == layout) {
        return false;
    }
    drawnWorld.created = false;
    drawnWorld.holdsCells = false;
    if (!drawnWorld.ring) {
        drawnWorld.ring = std::make_unique<sf::RenderTexture>();
    }
    sf::RenderTexture& ring = *drawnWorld.ring;
    if (!ring.create(static_cast<unsigned>(layout.size.x), static_cast<unsigned>(layout.size.y))) {
        drawnWorld.refused = layout;
        return false;
    }
    ring.setRepeated(true);
    ring.setSmooth(false);
    drawnWorld.layout = layout;
    drawnWorld.created = true;
    const int cols = static_cast<int>(std::ceil(layout.size.x / layout.cellPixels.x)) + 1;
    const int rows = static_cast<int>(std::ceil(layout.size.y / layout.cellPixels.y)) + 1;
    // A cell crossing the ring's edge is drawn on both sides of it: one column and one row at most.
    reserveVertices(cols * rows, (cols + 1) * (rows + 1));
    return true;
}

// Where the view's top-left corner lies, in pixels of the target counted from the world's origin.
sf::Vector2i pixelOrigin(const sf::View& view, const sf::IntRect& pixels) {
    const sf::Vector2f corner = view.getCenter() - view.getSize() * 0.5f;
    return {static_cast<int>(std::lround(corner.x * pixels.width / view.getSize().x)),
            static_cast<int>(std::lround(corner.y * pixels.height / view.getSize().y))};
}

// The cells under the view's pixels: pixel p (counted from the world's origin) shows the cell
// its centre lies in.
CellRange cellsCovering(sf::Vector2i origin, const sf::IntRect& pixels, sf::Vector2f cell) {
    const auto cellOf = [](double pixelCentre, float cellPixels) {
        return static_cast<int>(std::floor(pixelCentre / cellPixels));
    };
    CellRange range;
    range.colFirst = cellOf(origin.x + 0.5, cell.x);
    range.colEnd = cellOf(origin.x + pixels.width - 0.5, cell.x) + 1;
    range.rowFirst = cellOf(origin.y + 0.5, cell.y);
    range.rowEnd = cellOf(origin.y + pixels.height - 0.5, cell.y) + 1;
    return range;
}

// Lists the cells of `inView` that the ring does not show as they are: new in view, changed, come
// into or gone out of the window, or all of them when the ring holds nothing or the grid was
// reset. The changes of the rows in view are taken before their cells are read, so that a change
// made meanwhile is seen now or at the next frame.
void listCellsToDraw(const CellRange& inView, const VisibleWindow& window) {
    DrawnWorld& d = drawnWorld;
    const unsigned wholeChanges = wholeGridChanges();
    const bool all = !d.holdsCells || d.wholeChangesSeen != wholeChanges;
    d.redraw.clear();
    for (int row = inView.rowFirst; row < inView.rowEnd; ++row) {
        const bool gridRow = row >= 0 && row < kGridSize;
        const RowColumns changed = gridRow ? takeChangedColumns(row) : RowColumns{};
        for (int col = inView.colFirst; col < inView.colEnd; ++col) {
            const bool changedCell =
                gridRow && col >= 0 && col < kGridSize && holdsColumn(changed, col);
            if (all || changedCell || !d.drawn.holds(row, col) ||
                shows(window, row, col) != shows(d.drawnWindow, row, col)) {
                d.redraw.push_back({col, row});
            }
        }
    }
    d.drawn = inView;
    d.drawnWindow = window;
    d.wholeChangesSeen = wholeChanges;
    d.holdsCells = true;
}

// The places in the ring of a cell's square: where its first pixel falls, modulo the ring, and
// once more on the other side of the ring's edge when it crosses it.
template <class Visit> void forPlacesInRing(int row, int col, Visit visit) {
    const RingLayout& layout = drawnWorld.layout;
    const auto firstPlace = [](int cell, float cellPixels, int ringPixels) {
        const double place = std::fmod(static_cast<double>(cell) * cellPixels, ringPixels);
        return static_cast<float>(place < 0 ? place + ringPixels : place);
    };
    const float x = firstPlace(col, layout.cellPixels.x, layout.size.x);
    const float y = firstPlace(row, layout.cellPixels.y, layout.size.y);
    const bool crossesRight = x + layout.cellPixels.x > layout.size.x;
    const bool crossesBottom = y + layout.cellPixels.y > layout.size.y;
    const sf::Vector2f size = layout.cellPixels;
    visit(sf::FloatRect({x, y}, size));
    if (crossesRight) {
        visit(sf::FloatRect({x - layout.size.x, y}, size));
    }
    if (crossesBottom) {
        visit(sf::FloatRect({x, y - layout.size.y}, size));
    }
    if (crossesRight && crossesBottom) {
        visit(sf::FloatRect({x - layout.size.x, y - layout.size.y}, size));
    }
}

void appendBack(const sf::FloatRect& square) {
    const sf::Vector2f corners[4] = {{square.left, square.top},
                                     {square.left + square.width, square.top},
                                     {square.left + square.width, square.top + square.height},
                                     {square.left, square.top + square.height}};
    for (const int i : {0, 1, 2, 0, 2, 3}) {
        drawnWorld.backs.emplace_back(corners[i], kOpaqueBlack);
    }
}

// The listed cells into the ring, each a black square under its two layers, the layers read
// under the row's lock; then, one draw call a layer (no two cells overlap, so the order of the
// layers across cells does not matter).
void drawListedCells(const VisibleWindow& window) {
    DrawnWorld& d = drawnWorld;
    if (d.redraw.empty()) {
        return;
    }
    d.backs.clear();
    d.grounds.clear();
    d.objects.clear();
    const int groundRows = sheetRows(tileSheet);
    const int objectRows = sheetRows(objectSheet);
    std::unique_lock<std::mutex> rowLock;
    int lockedRow = INT_MIN;
    for (const sf::Vector2i cell : d.redraw) {
        const int col = cell.x;
        const int row = cell.y;
        forPlacesInRing(row, col, appendBack);
        if (!shows(window, row, col)) {
            continue;
        }
        if (row != lockedRow) {
            rowLock = std::unique_lock<std::mutex>(gridRowLock(row));
            lockedRow = row;
        }
        const Tile& tile = cellAt(row, col);
        sf::IntRect rect;
        sf::Color fill;
        if (groundPictureOf(tile, groundRows, rect, fill)) {
            forPlacesInRing(row, col, [&](const sf::FloatRect& square) {
                appendCellPicture(d.grounds, square, rect, fill);
            });
        }
        if (objectPictureOf(tile, objectRows, rect)) {
            forPlacesInRing(row, col, [&](const sf::FloatRect& square) {
                appendCellPicture(d.objects, square, rect, sf::Color::White);
            });
        }
    }
    if (rowLock.owns_lock()) {
        rowLock.unlock();
    }
    // The ring draws in the context of the frame's target. SFML sets a context's drawing states
    // up once for each target, and takes them as set from then on: in a context new to the ring
    // (a test's picture, made after the ring), they are set up again first.
    d.ring->setActive(true);
    if (sf::Context::getActiveContextId() != d.context) {
        d.ring->resetGLStates();
        d.context = sf::Context::getActiveContextId();
    }
    const auto drawLayer = [](const std::vector<sf::Vertex>& vertices, const sf::BlendMode& blend,
                              const sf::Texture* sheet) {
        if (!vertices.empty()) {
            drawnWorld.ring->draw(vertices.data(), vertices.size(), sf::Triangles,
                                  sf::RenderStates(blend, sf::Transform(), sheet, nullptr));
        }
    };
    drawLayer(d.backs, sf::BlendNone, nullptr);
    drawLayer(d.grounds, groundBlend(), &tileSheet);
    drawLayer(d.objects, sf::BlendAlpha, &objectSheet);
    d.ring->display();
}

// Splits the pieces [0, count) of `pieces` around `hole`: each piece it overlaps gives way to the
// up to four parts of it around the hole. False, leaving them as they were, when they would be more
// than `most`.
bool cutHole(sf::IntRect* pieces, int& count, int most, const sf::IntRect& hole) {
    sf::IntRect kept[kMostPieces];
    int keptCount = 0;
    for (int i = 0; i < count; ++i) {
        const sf::IntRect& p = pieces[i];
        sf::IntRect overlap;
        if (!p.intersects(hole, overlap)) {
            if (keptCount == most) {
                return false;
            }
            kept[keptCount++] = p;
            continue;
        }
        const int right = p.left + p.width;
        const int bottom = p.top + p.height;
        const int overlapRight = overlap.left + overlap.width;
        const int overlapBottom = overlap.top + overlap.height;
        const sf::IntRect parts[4] = {
            {p.left, p.top, p.width, overlap.top - p.top},                     // above
            {p.left, overlapBottom, p.width, bottom - overlapBottom},          // below
            {p.left, overlap.top, overlap.left - p.left, overlap.height},      // left
            {overlapRight, overlap.top, right - overlapRight, overlap.height}, // right
        };
        for (const sf::IntRect& part : parts) {
            if (part.width > 0 && part.height > 0) {
                if (keptCount == most) {
                    return false;
                }
                kept[keptCount++] = part;
            }
        }
    }
    std::copy(kept, kept + keptCount, pieces);
    count = keptCount;
    return true;
}

// The ring onto the view's pixels, one ring pixel to one target pixel, the texture repeating where
// the view reaches past the ring's edge: one quad, or the pieces of it around the holes (given in
// pixels of the target; each is first shrunk by a pixel, so that a pixel at an opaque picture's
// edge is never left undrawn).
void showRing(sf::RenderTarget& target, const sf::View& view, const sf::IntRect& pixels,
              sf::Vector2i origin, sf::Color tint, const sf::IntRect* holes, int holeCount) {
    const RingLayout& layout = drawnWorld.layout;
    const auto ringPlace = [](int pixel, int ringPixels) {
        const int place = pixel % ringPixels;
        return static_cast<float>(place < 0 ? place + ringPixels : place);
    };
    const float u = ringPlace(origin.x, layout.size.x);
    const float v = ringPlace(origin.y, layout.size.y);
    sf::IntRect pieces[kMostPieces] = {{0, 0, pixels.width, pixels.height}};
    int count = 1;
    for (int i = 0; i < holeCount; ++i) {
        const sf::IntRect hole(holes[i].left - pixels.left + 1, holes[i].top - pixels.top + 1,
                               holes[i].width - 2, holes[i].height - 2);
        if (hole.width > 0 && hole.height > 0) {
            cutHole(pieces, count, kMostPieces, hole);
        }
    }
    sf::Vertex* vertex = drawnWorld.shown;
    for (int i = 0; i < count; ++i) {
        const auto x0 = static_cast<float>(pieces[i].left);
        const auto y0 = static_cast<float>(pieces[i].top);
        const auto x1 = x0 + static_cast<float>(pieces[i].width);
        const auto y1 = y0 + static_cast<float>(pieces[i].height);
        const sf::Vertex corners[4] = {{{x0, y0}, tint, {u + x0, v + y0}},
                                       {{x1, y0}, tint, {u + x1, v + y0}},
                                       {{x1, y1}, tint, {u + x1, v + y1}},
                                       {{x0, y1}, tint, {u + x0, v + y1}}};
        for (const int corner : {0, 1, 2, 0, 2, 3}) {
            *vertex++ = corners[corner];
        }
    }
    const auto w = static_cast<float>(pixels.width);
    const auto h = static_cast<float>(pixels.height);
    sf::View onePixelAUnit(sf::FloatRect(0, 0, w, h));
    onePixelAUnit.setViewport(view.getViewport());
    target.setView(onePixelAUnit);
    target.draw(
        drawnWorld.shown, static_cast<std::size_t>(vertex - drawnWorld.shown), sf::Triangles,
        sf::RenderStates(sf::BlendNone, sf::Transform(), &drawnWorld.ring->getTexture(), nullptr));
    target.setView(view);
}

} // namespace

bool drawCachedLayers(sf::RenderTarget& target, sf::Color tint, const sf::IntRect* holes,
                      int holeCount) {
    const sf::View view = target.getView();
    const sf::IntRect pixels = target.getViewport(view);
    RingLayout layout;
    // Making the picture and filling it costs some tens of milliseconds under a software renderer:
    // the game's first frame is shown without it (its cells are mostly not loaded yet anyway).
    const bool first = !drawnWorld.firstFrameDrawn;
    drawnWorld.firstFrameDrawn = true;
    if (first || !layoutFor(view, pixels, layout) || !prepareRing(layout)) {
        return false;
    }
    const sf::Vector2i origin = pixelOrigin(view, pixels);
    const VisibleWindow window = world.visibleWindow.load();
    listCellsToDraw(cellsCovering(origin, pixels, layout.cellPixels), window);
    drawListedCells(window);
    showRing(target, view, pixels, origin, tint, holes, holeCount);
    return true;
}

std::size_t drawnWorldBytes() {
    if (!drawnWorld.created) {
        return 0;
    }
    return std::size_t{4} * static_cast<std::size_t>(drawnWorld.layout.size.x) *
           static_cast<std::size_t>(drawnWorld.layout.size.y);
}
