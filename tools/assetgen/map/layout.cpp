// layout.cpp -- the layout commands. One command a line, words separated by spaces, "#" starts a
// comment. Shapes: "rect c0 r0 c1 r1" (inclusive), "blob cc cr rx ry" (an ellipse with a ragged
// rim) and "cell c r". Id lists are comma-separated ("500,500,502" makes 500 twice as likely).
//
//   area SHAPE                  plain grass: clears whatever the wilderness put there
//   ground ID[/ALT:PCT] SHAPE   ground, with patches of ALT on about PCT percent of it
//   trees PCT IDS SHAPE         trees on PCT percent of the free cells
//   scatter PERMILLE IDS SHAPE  scenery on PERMILLE per thousand of the free cells
//   keep SHAPE                  clears objects; nothing grows there afterwards
//   clear SHAPE                 clears objects and ravine
//   ravine SHAPE                chasm: clears objects
//   lake SHAPE                  open water
//   path WIDTH c r c r ...      road through the points (staircase where it goes diagonally)
//   river c r c r ...           river course, straight runs only, in flowing order
//   bridge c r                  the river course cell the road crosses
//   put ID c r                  a hand-placed object
#include "map/layout.h"

#include "assetIds.h"
#include "noise.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

enum class ShapeKind { Rect, Blob, Cell };

struct Shape {
    ShapeKind kind = ShapeKind::Cell;
    int a = 0, b = 0, c = 0, d = 0;
};

bool wholeNumber(const std::string& text, int& out) {
    std::size_t used = 0;
    try {
        out = std::stoi(text, &used);
    } catch (const std::exception&) {
        return false;
    }
    return used == text.size();
}

// The words of one line and the reading position; every read reports whether it succeeded.
struct LineReader {
    std::vector<std::string> words;
    std::size_t next = 1; // words[0] is the command
    std::string error;

    bool fail(const std::string& why) {
        if (error.empty()) {
            error = why;
        }
        return false;
    }
    bool word(std::string& out) {
        if (next >= words.size()) {
            return fail("missing value after '" + words.back() + "'");
        }
        out = words[next++];
        return true;
    }
    bool number(int& out) {
        std::string text;
        if (!word(text)) {
            return false;
        }
        return wholeNumber(text, out) ? true : fail("'" + text + "' is not a number");
    }
    bool ids(std::vector<int>& out) {
        std::string text;
        if (!word(text)) {
            return false;
        }
        std::stringstream parts(text);
        for (std::string part; std::getline(parts, part, ',');) {
            int id = 0;
            if (!wholeNumber(part, id)) {
                return fail("'" + text + "' is not a list of ids");
            }
            out.push_back(id);
        }
        return !out.empty() ? true : fail("an empty list of ids");
    }
    bool shape(Shape& out) {
        std::string kind;
        if (!word(kind)) {
            return false;
        }
        if (kind == "cell") {
            out.kind = ShapeKind::Cell;
            return number(out.a) && number(out.b);
        }
        if (kind != "rect" && kind != "blob") {
            return fail("unknown shape '" + kind + "'");
        }
        out.kind = kind == "rect" ? ShapeKind::Rect : ShapeKind::Blob;
        return number(out.a) && number(out.b) && number(out.c) && number(out.d);
    }
    bool points(std::vector<CellPos>& out) {
        while (next < words.size()) {
            CellPos point;
            if (!number(point.col) || !number(point.row)) {
                return false;
            }
            out.push_back(point);
        }
        return out.size() >= 2 ? true : fail("a line needs at least two points");
    }
    bool finished() {
        return next == words.size() ? true : fail("unexpected '" + words[next] + "'");
    }
};

using CellVisit = std::function<void(DraftCell&, int col, int row)>;

// A blob's rim wanders by up to a third of its radius, following smooth noise seeded by the blob
// itself: the same blob written in two commands (a ground and a keep) covers the same cells.
bool insideBlob(const Shape& blob, int col, int row) {
    const std::uint32_t salt =
        noise::hash(blob.a, blob.b, static_cast<std::uint32_t>(blob.c * 97 + blob.d));
    const float dx = static_cast<float>(col - blob.a) / static_cast<float>(std::max(blob.c, 1));
    const float dy = static_cast<float>(row - blob.b) / static_cast<float>(std::max(blob.d, 1));
    const float rim = 1.0f + (noise::valueNoise(col, row, 3.0f, salt) - 0.5f) * 0.66f;
    return dx * dx + dy * dy <= rim * rim;
}

void forEachCell(const Shape& shape, WorldDraft& draft, const CellVisit& visit) {
    int c0 = shape.a, r0 = shape.b, c1 = shape.a, r1 = shape.b;
    if (shape.kind == ShapeKind::Rect) {
        c1 = shape.c;
        r1 = shape.d;
    } else if (shape.kind == ShapeKind::Blob) {
        c0 = shape.a - shape.c * 4 / 3 - 1;
        c1 = shape.a + shape.c * 4 / 3 + 1;
        r0 = shape.b - shape.d * 4 / 3 - 1;
        r1 = shape.b + shape.d * 4 / 3 + 1;
    }
    for (int row = std::max(r0, 0); row <= std::min(r1, kWorldCells - 1); ++row) {
        for (int col = std::max(c0, 0); col <= std::min(c1, kWorldCells - 1); ++col) {
            if (shape.kind != ShapeKind::Blob || insideBlob(shape, col, row)) {
                visit(draft.at(col, row), col, row);
            }
        }
    }
}

// The cells from a to b, one step at a time, horizontal steps first where it goes diagonally,
// so that consecutive cells always share a side.
std::vector<CellPos> staircase(CellPos a, CellPos b) {
    std::vector<CellPos> cells{a};
    while (a.col != b.col || a.row != b.row) {
        const int dc = b.col - a.col;
        const int dr = b.row - a.row;
        if (dc != 0 && (dr == 0 || std::abs(dc) * 2 >= std::abs(dr))) {
            a.col += dc > 0 ? 1 : -1;
        } else {
            a.row += dr > 0 ? 1 : -1;
        }
        cells.push_back(a);
    }
    return cells;
}

struct Context {
    LineReader& in;
    WorldDraft& draft;
    std::uint32_t salt;
};

bool paintWithShape(Context& at, const CellVisit& visit) {
    Shape shape;
    if (!at.in.shape(shape) || !at.in.finished()) {
        return false;
    }
    forEachCell(shape, at.draft, visit);
    return true;
}

bool doArea(Context& at) {
    return paintWithShape(at, [](DraftCell& cell, int, int) { cell = DraftCell{}; });
}

bool doGround(Context& at) {
    std::string grounds;
    if (!at.in.word(grounds)) {
        return false;
    }
    int base = 0, alt = 0, percent = 0;
    const int read = std::sscanf(grounds.c_str(), "%d/%d:%d", &base, &alt, &percent);
    if ((read == 1 && !wholeNumber(grounds, base)) || (read != 1 && read != 3)) {
        return at.in.fail("'" + grounds + "' is not ID or ID/ALT:PCT");
    }
    const float share = static_cast<float>(percent) / 100.0f;
    const std::uint32_t salt = at.salt;
    return paintWithShape(at, [=](DraftCell& cell, int col, int row) {
        cell.ground = noise::valueNoise(col, row, 3.0f, salt + 7) < share ? alt : base;
    });
}

// Trees and scatter differ only in their unit: percent or per thousand.
bool doGrowth(Context& at, float unit) {
    int amount = 0;
    std::vector<int> ids;
    if (!at.in.number(amount) || !at.in.ids(ids)) {
        return false;
    }
    const float share = static_cast<float>(amount) * unit;
    const std::uint32_t salt = at.salt;
    return paintWithShape(at, [=](DraftCell& cell, int col, int row) {
        if (isFreeForGrowth(cell) && noise::unit(col, row, salt) < share) {
            cell.object = ids[noise::hash(col, row, salt + 1) % ids.size()];
        }
    });
}

bool doKeep(Context& at) {
    return paintWithShape(at, [](DraftCell& cell, int, int) {
        cell.object = 0;
        cell.kept = true;
    });
}

bool doClear(Context& at) {
    return paintWithShape(at, [](DraftCell& cell, int, int) {
        cell.object = 0;
        cell.ravine = false;
    });
}

bool doRavine(Context& at) {
    return paintWithShape(at, [](DraftCell& cell, int, int) {
        cell.object = 0;
        cell.ravine = true;
    });
}

bool doLake(Context& at) {
    return paintWithShape(at, [](DraftCell& cell, int, int) {
        cell.ground = ground::kWater;
        cell.object = 0;
        cell.ravine = false;
    });
}

bool doPath(Context& at) {
    int width = 0;
    std::vector<CellPos> points;
    if (!at.in.number(width) || !at.in.points(points)) {
        return false;
    }
    for (std::size_t i = 1; i < points.size(); ++i) {
        for (const CellPos& step : staircase(points[i - 1], points[i])) {
            Shape brush{ShapeKind::Rect, step.col, step.row, step.col + width - 1,
                        step.row + width - 1};
            forEachCell(brush, at.draft, [](DraftCell& cell, int, int) {
                cell.ground = ground::kPath;
                cell.object = 0;
                cell.ravine = false;
                cell.path = true;
            });
        }
    }
    return true;
}

bool doRiver(Context& at) {
    std::vector<CellPos> points;
    if (!at.in.points(points)) {
        return false;
    }
    std::vector<CellPos> course{points.front()};
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (points[i].col != points[i - 1].col && points[i].row != points[i - 1].row) {
            return at.in.fail("a river runs straight between its points");
        }
        const std::vector<CellPos> run = staircase(points[i - 1], points[i]);
        course.insert(course.end(), run.begin() + 1, run.end());
    }
    for (const CellPos& cell : course) {
        if (WorldDraft::inside(cell.col, cell.row)) {
            DraftCell& target = at.draft.at(cell.col, cell.row);
            target.river = true;
            target.object = 0;
            target.ravine = false;
        }
    }
    at.draft.riverCourses.push_back(course);
    return true;
}

bool doBridge(Context& at) {
    CellPos cell;
    if (!at.in.number(cell.col) || !at.in.number(cell.row) || !at.in.finished()) {
        return false;
    }
    at.draft.bridges.push_back(cell);
    return true;
}

bool doPut(Context& at) {
    int id = 0;
    CellPos cell;
    if (!at.in.number(id) || !at.in.number(cell.col) || !at.in.number(cell.row) ||
        !at.in.finished()) {
        return false;
    }
    if (!WorldDraft::inside(cell.col, cell.row)) {
        return at.in.fail("the cell is outside the world");
    }
    DraftCell& target = at.draft.at(cell.col, cell.row);
    target.object = id;
    target.placed = true;
    return true;
}

struct Command {
    const char* name;
    bool (*run)(Context&);
};

const Command kCommands[] = {
    {"area", doArea},
    {"ground", doGround},
    {"keep", doKeep},
    {"clear", doClear},
    {"ravine", doRavine},
    {"lake", doLake},
    {"path", doPath},
    {"river", doRiver},
    {"bridge", doBridge},
    {"put", doPut},
    {"trees", [](Context& at) { return doGrowth(at, 0.01f); }},
    {"scatter", [](Context& at) { return doGrowth(at, 0.001f); }},
};

std::vector<std::string> splitWords(const std::string& line) {
    std::stringstream stream(line.substr(0, line.find('#')));
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

// A command's noise is seeded by its own text, so editing one line never reshuffles another's.
std::uint32_t saltOf(const std::string& line) {
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (const char c : line) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

bool runLine(const std::string& line, int number, WorldDraft& draft) {
    LineReader reader;
    reader.words = splitWords(line);
    if (reader.words.empty()) {
        return true;
    }
    const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                      [&](const Command& c) { return reader.words[0] == c.name; });
    Context context{reader, draft, saltOf(line)};
    if (command == std::end(kCommands)) {
        reader.fail("unknown command '" + reader.words[0] + "'");
    } else if (command->run(context)) {
        return true;
    }
    draft.errors.push_back("line " + std::to_string(number) + ": " + reader.error);
    return false;
}

} // namespace

bool applyLayout(const std::string& text, WorldDraft& draft) {
    std::stringstream lines(text);
    bool ok = true;
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ok = runLine(line, ++number, draft) && ok;
    }
    return ok;
}

bool applyLayoutFile(const std::filesystem::path& file, WorldDraft& draft) {
    std::ifstream in(file);
    if (!in) {
        draft.errors.push_back(file.string() + ": cannot be read");
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    return applyLayout(text.str(), draft);
}
