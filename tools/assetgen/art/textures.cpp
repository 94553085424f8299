// textures.cpp -- placeholder sheets of the right sizes until the art lands.
#include "art/textures.h"

#include <SFML/Graphics/Image.hpp>

namespace {
bool plain(const std::filesystem::path& file, unsigned w, unsigned h, sf::Color c) {
    sf::Image image;
    image.create(w, h, c);
    return image.saveToFile(file.string());
}
} // namespace

bool generateTextures(const std::filesystem::path&, const std::filesystem::path& out) {
    return plain(out / "tileTable.png", 1600, 1920, sf::Color(60, 140, 60)) &&
           plain(out / "objectTable.png", 1600, 3200, sf::Color(30, 90, 30)) &&
           plain(out / "NPC-map.png", 640, 1920, sf::Color(200, 120, 80)) &&
           plain(out / "descrizioni-map.png", 480, 160, sf::Color(90, 60, 40)) &&
           plain(out / "speech-map.png", 480, 160, sf::Color::White) &&
           plain(out / "talk-map.png", 480, 480, sf::Color(90, 60, 40)) &&
           plain(out / "icon-map.png", 800, 640, sf::Color(200, 200, 60)) &&
           plain(out / "battle.png", 480, 270, sf::Color(120, 160, 200)) &&
           plain(out / "weapons-map.png", 480, 160, sf::Color(150, 150, 150)) &&
           plain(out / "kaiva-map.png", 640, 640, sf::Color(220, 160, 120));
}
