// framefloor.cpp -- the floor of a world frame on this machine: a full-screen window that clears,
// draws one opaque picture of the whole screen one texel to one pixel, without blending or
// smoothing, and displays, as fast as it can, for the given seconds. That is what every frame of
// the game's world does at the least (it shows its kept picture of the world so, then draws its
// figures over it), so no frame of the game can cost less. Timed with the frame timer beside the
// game, it tells how much more than that the game's frame costs.
//   framefloor <tileTable.png> <seconds> [picture|layer]
// "layer" draws instead the older reference: one layer of 100 x 100 cells textured from the
// ground sheet's 320 x 320 cells with smoothing (one vertex array, one draw call), which costs a
// software renderer about twice the picture.
#include <SFML/Graphics.hpp>

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

constexpr int kCols = 20;
constexpr int kRows = 11;
constexpr float kCellPixels = 100;
constexpr float kSheetCellPixels = 320;

sf::VertexArray layerOf(const sf::Texture& sheet) {
    const int sheetCells = static_cast<int>(sheet.getSize().x / 320 * (sheet.getSize().y / 320));
    sf::VertexArray layer(sf::Triangles);
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kCols; ++col) {
            const int cell = (row * kCols + col) % sheetCells;
            const float u = static_cast<float>(cell % 5) * kSheetCellPixels;
            const float v = static_cast<float>(cell / 5) * kSheetCellPixels;
            const float x = static_cast<float>(col) * kCellPixels;
            const float y = static_cast<float>(row) * kCellPixels;
            const float s = kSheetCellPixels;
            const sf::Vertex corners[4] = {{{x, y}, {u, v}},
                                           {{x + kCellPixels, y}, {u + s, v}},
                                           {{x + kCellPixels, y + kCellPixels}, {u + s, v + s}},
                                           {{x, y + kCellPixels}, {u, v + s}}};
            for (int i : {0, 1, 2, 0, 2, 3}) {
                layer.append(corners[i]);
            }
        }
    }
    return layer;
}

} // namespace

int main(int argc, char** argv) {
    const bool layerFloor = argc == 4 && std::strcmp(argv[3], "layer") == 0;
    if (argc < 3 || argc > 4 || (argc == 4 && !layerFloor && std::strcmp(argv[3], "picture"))) {
        std::cerr << "usage: framefloor <tileTable.png> <seconds> [picture|layer]\n";
        return 2;
    }
    sf::Texture sheet;
    if (!sheet.loadFromFile(argv[1]) || sheet.getSize().x < 320 || sheet.getSize().y < 320) {
        return 1;
    }
    sheet.setSmooth(true);
    const sf::VertexArray layer = layerOf(sheet);
    sf::RenderWindow window(sf::VideoMode(1920, 1080, 32), "floor", sf::Style::Fullscreen);
    // The picture: the layer drawn once, opaque, shown as the game shows its kept world.
    sf::RenderTexture picture;
    if (!picture.create(1920, 1080)) {
        return 1;
    }
    picture.clear(sf::Color::Black);
    picture.draw(layer, &sheet);
    picture.display();
    const sf::Sprite whole(picture.getTexture());
    const sf::Time length = sf::seconds(static_cast<float>(std::atof(argv[2])));
    sf::Clock clock;
    while (window.isOpen() && clock.getElapsedTime() < length) {
        sf::Event event;
        while (window.pollEvent(event)) {
        }
        window.clear(sf::Color::Black);
        if (layerFloor) {
            window.draw(layer, &sheet);
        } else {
            window.draw(whole, sf::BlendNone);
        }
        window.display();
    }
    return 0;
}
