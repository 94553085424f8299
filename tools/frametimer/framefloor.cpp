// framefloor.cpp -- the floor of a world frame on this machine: a full-screen window that clears,
// draws one layer of 100 x 100 cells textured from the ground sheet (320 x 320 sheet cells, one
// vertex array, one draw call) and displays, as fast as it can, for the given seconds. Timed with
// the frame timer beside the game, it tells how much of the game's frame any world frame costs.
//   framefloor <tileTable.png> <seconds>
#include <SFML/Graphics.hpp>

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: framefloor <tileTable.png> <seconds>\n";
        return 2;
    }
    sf::Texture sheet;
    if (!sheet.loadFromFile(argv[1])) {
        return 1;
    }
    sheet.setSmooth(true);
    const int sheetCells = static_cast<int>(sheet.getSize().x / 320 * (sheet.getSize().y / 320));
    sf::VertexArray layer(sf::Triangles);
    for (int row = 0; row < 11; ++row) {
        for (int col = 0; col < 20; ++col) {
            const int cell = (row * 20 + col) % sheetCells;
            const float u = static_cast<float>(cell % 5 * 320);
            const float v = static_cast<float>(cell / 5 * 320);
            const float x = col * 100.0f;
            const float y = row * 100.0f;
            const sf::Vertex corners[4] = {{{x, y}, {u, v}},
                                           {{x + 100, y}, {u + 320, v}},
                                           {{x + 100, y + 100}, {u + 320, v + 320}},
                                           {{x, y + 100}, {u, v + 320}}};
            for (int i : {0, 1, 2, 0, 2, 3}) {
                layer.append(corners[i]);
            }
        }
    }
    sf::RenderWindow window(sf::VideoMode(1920, 1080, 32), "floor", sf::Style::Fullscreen);
    const sf::Time length = sf::seconds(static_cast<float>(std::atof(argv[2])));
    sf::Clock clock;
    while (window.isOpen() && clock.getElapsedTime() < length) {
        sf::Event event;
        while (window.pollEvent(event)) {
        }
        window.clear(sf::Color::Black);
        window.draw(layer, &sheet);
        window.display();
    }
    return 0;
}
