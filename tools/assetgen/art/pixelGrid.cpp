// pixelGrid.cpp -- reading sprite text files and the grid operations the sheets are built from.
#include "art/pixelGrid.h"

#include "art/palette.h"

#include <fstream>

PixelGrid::PixelGrid(int w, int h, sf::Color fill)
    : width(w), height(h), pixels(static_cast<std::size_t>(w * h), fill) {}

void PixelGrid::put(int x, int y, sf::Color c) {
    if (contains(x, y)) {
        set(x, y, c);
    }
}

namespace {

// The rows of one picture while the file is being read.
struct PendingPicture {
    std::string name;
    int firstLine = 0;
    std::vector<std::string> rows;
};

std::string where(const std::filesystem::path& file, int line) {
    return file.filename().string() + ":" + std::to_string(line) + ": ";
}

bool finishPicture(const std::filesystem::path& file, const PendingPicture& pending,
                   SpriteBook& book, std::string& error) {
    if (pending.name.empty()) {
        return true;
    }
    if (pending.rows.empty() || book.count(pending.name) != 0) {
        error = where(file, pending.firstLine) + "empty or repeated picture " + pending.name;
        return false;
    }
    const int width = static_cast<int>(pending.rows.front().size());
    PixelGrid grid(width, static_cast<int>(pending.rows.size()));
    for (int y = 0; y < grid.height; ++y) {
        const std::string& row = pending.rows[static_cast<std::size_t>(y)];
        if (static_cast<int>(row.size()) != width) {
            error = where(file, pending.firstLine + 1 + y) + "row width differs in " + pending.name;
            return false;
        }
        for (int x = 0; x < width; ++x) {
            const auto colour = palette::legendColour(row[static_cast<std::size_t>(x)]);
            if (!colour) {
                error = where(file, pending.firstLine + 1 + y) + "unknown letter '" +
                        row[static_cast<std::size_t>(x)] + "' in " + pending.name;
                return false;
            }
            grid.set(x, y, *colour);
        }
    }
    book[pending.name] = std::move(grid);
    return true;
}

std::string trimmedRight(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

} // namespace

bool readSpriteFile(const std::filesystem::path& file, SpriteBook& book, std::string& error) {
    std::ifstream in(file);
    if (!in) {
        error = "cannot read " + file.string();
        return false;
    }
    PendingPicture pending;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = trimmedRight(line);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line[0] != '@') {
            pending.rows.push_back(line);
            continue;
        }
        if (!finishPicture(file, pending, book, error)) {
            return false;
        }
        pending =
            PendingPicture{trimmedRight(line.substr(line.find_first_not_of("@ "))), number, {}};
    }
    return finishPicture(file, pending, book, error);
}

const PixelGrid& spriteOrEmpty(const SpriteBook& book, const std::string& name) {
    static const PixelGrid kEmpty;
    const auto found = book.find(name);
    return found == book.end() ? kEmpty : found->second;
}

PixelGrid mirrored(const PixelGrid& grid) {
    PixelGrid out(grid.width, grid.height);
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width; ++x) {
            out.set(grid.width - 1 - x, y, grid.at(x, y));
        }
    }
    return out;
}

PixelGrid outlined(const PixelGrid& grid, sf::Color ink) {
    PixelGrid out = grid;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width; ++x) {
            if (grid.at(x, y).a != 0) {
                continue;
            }
            for (const auto& step : steps) {
                const int nx = x + step[0];
                const int ny = y + step[1];
                if (grid.contains(nx, ny) && grid.at(nx, ny).a != 0) {
                    out.set(x, y, ink);
                    break;
                }
            }
        }
    }
    return out;
}

PixelGrid withBottomRows(const PixelGrid& base, const PixelGrid& overlay) {
    PixelGrid out = base;
    const int top = base.height - overlay.height;
    for (int y = 0; y < overlay.height; ++y) {
        for (int x = 0; x < overlay.width && x < base.width; ++x) {
            out.put(x, top + y, overlay.at(x, y));
        }
    }
    return out;
}

void paintOver(PixelGrid& base, const PixelGrid& topGrid, int left, int top) {
    for (int y = 0; y < topGrid.height; ++y) {
        for (int x = 0; x < topGrid.width; ++x) {
            if (topGrid.at(x, y).a != 0) {
                base.put(left + x, top + y, topGrid.at(x, y));
            }
        }
    }
}

PixelGrid shifted(const PixelGrid& grid, int dx, int dy) {
    PixelGrid out(grid.width, grid.height);
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width; ++x) {
            out.put(x + dx, y + dy, grid.at(x, y));
        }
    }
    return out;
}

void stamp(sf::Image& image, const PixelGrid& grid, unsigned left, unsigned top, unsigned scale) {
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width; ++x) {
            const sf::Color c = grid.at(x, y);
            const unsigned px = left + static_cast<unsigned>(x) * scale;
            const unsigned py = top + static_cast<unsigned>(y) * scale;
            for (unsigned dy = 0; dy < scale; ++dy) {
                for (unsigned dx = 0; dx < scale; ++dx) {
                    image.setPixel(px + dx, py + dy, c);
                }
            }
        }
    }
}
