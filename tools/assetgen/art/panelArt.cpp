// panelArt.cpp -- leather panels: a dark field with a faint hide grain, a lighter band with
// beads in the tribe's turquoise and red, and a thin ink edge that reads on any screen.
#include "art/panelArt.h"

#include "art/palette.h"
#include "noise.h"

#include <algorithm>
#include <cstdint>

namespace {

using palette::mix;
using palette::shade;

// The hide grain: a per-texel wobble of brightness, smooth enough to stay calm under text.
sf::Color grained(sf::Color c, int x, int y, std::uint32_t seed) {
    const int tx = x / kPanelGrain;
    const int ty = y / kPanelGrain;
    const float n = noise::smooth(static_cast<float>(tx), static_cast<float>(ty), 8, 256, seed);
    const float speck = noise::unit(tx, ty, seed + 1) < 0.05f ? 0.93f : 1.0f;
    return shade(c, (0.94f + 0.12f * n) * speck);
}

// How many texels a pixel lies from the nearest edge of the panel.
int edgeTexels(int x, int y, int width, int height) {
    const int fromSide = std::min(x, width - 1 - x);
    const int fromTop = std::min(y, height - 1 - y);
    return std::min(fromSide, fromTop) / kPanelGrain;
}

// Beads every few texels along the middle of the band; corners get a larger diamond.
bool isBead(int x, int y, int width, int height, int band) {
    const int tx = x / kPanelGrain;
    const int ty = y / kPanelGrain;
    const int tw = width / kPanelGrain;
    const int th = height / kPanelGrain;
    const int mid = 1 + band / 2;
    const bool onRow = ty == mid || ty == th - 1 - mid;
    const bool onColumn = tx == mid || tx == tw - 1 - mid;
    return (onRow && tx % 3 == 1) || (onColumn && ty % 3 == 1);
}

} // namespace

PixelGrid leatherPanel(int width, int height, const PanelStyle& style) {
    PixelGrid panel(width, height);
    const int band = style.borderTexels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int depth = edgeTexels(x, y, width, height);
            sf::Color c;
            if (depth == 0) {
                c = palette::kInk;
            } else if (depth <= band) {
                c = isBead(x, y, width, height, band) ? style.trim
                                                      : grained(style.border, x, y, 201);
            } else if (depth == band + 1) {
                c = shade(style.inside, 0.6f); // a shadow line where the field sinks in
            } else {
                c = grained(style.inside, x, y, 202);
            }
            panel.set(x, y, c);
        }
    }
    return panel;
}

void tintRect(PixelGrid& panel, int left, int top, int width, int height, float factor) {
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            if (panel.contains(x, y)) {
                panel.set(x, y, shade(panel.at(x, y), factor));
            }
        }
    }
}

void washRect(PixelGrid& panel, int left, int top, int width, int height, sf::Color colour,
              float amount) {
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            if (panel.contains(x, y)) {
                panel.set(x, y, mix(panel.at(x, y), colour, amount));
            }
        }
    }
}

void drawSlot(PixelGrid& panel, int left, int top, int size) {
    const int rim = kPanelGrain;
    for (int y = top; y < top + size; ++y) {
        for (int x = left; x < left + size; ++x) {
            const int d = std::min(std::min(x - left, left + size - 1 - x),
                                   std::min(y - top, top + size - 1 - y));
            sf::Color c = mix(palette::kWoodDark, palette::kInk, 0.45f);
            if (d < 1) {
                c = palette::kInk;
            } else if (d < rim) {
                c = (y - top) < size / 2 ? palette::kTan : palette::kWoodLight;
            } else if (d < rim + 2) {
                c = shade(c, 0.7f);
            }
            panel.put(x, y, c);
        }
    }
}

void paintScaled(PixelGrid& panel, const PixelGrid& sprite, int left, int top, int scale) {
    for (int y = 0; y < sprite.height * scale; ++y) {
        for (int x = 0; x < sprite.width * scale; ++x) {
            const sf::Color c = sprite.at(x / scale, y / scale);
            if (c.a != 0) {
                panel.put(left + x, top + y, c);
            }
        }
    }
}
