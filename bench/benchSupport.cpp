// benchSupport.cpp -- textures, the floor and frame timing for the frame benchmarks.
#include "benchSupport.h"

#include "shell/gameState.h"
#include "shell/resources.h"
#include "world/mapLoader.h"

#include <SFML/Graphics/VertexArray.hpp>
#include <SFML/OpenGL.hpp>

#include <algorithm>
#include <chrono>
#include <sys/resource.h>
#include <vector>

const std::string kBenchAssets = KAIVA_ASSETS_DIR;

namespace {

bool assetsLoaded = false;

void loadTexture(sf::Texture& texture, const char* file, bool smooth = false) {
    texture.loadFromFile(kBenchAssets + "/textures/" + file);
    texture.setSmooth(smooth);
}

sf::VertexArray floorLayer() {
    sf::VertexArray layer(sf::Triangles);
    for (int row = 0; row < 11; ++row) {
        for (int col = 0; col < 20; ++col) {
            const float u = static_cast<float>((row * 20 + col) % 5 * 320);
            const float v = static_cast<float>((row * 20 + col) / 5 % 6 * 320);
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
    return layer;
}

} // namespace

void loadGameAssetsOnce() {
    if (assetsLoaded) {
        return;
    }
    assetsLoaded = true;
    resetGameState();
    loadGroundSheet(kBenchAssets + "/textures/tileTable.png");
    loadTexture(objectSheet, "objectTable.png", true);
    pixelFont.loadFromFile(kBenchAssets + "/font/pixelTxt.ttf");
    loadTexture(npcSheet, "NPC-map.png");
    loadTexture(descriptionSheet, "descrizioni-map.png");
    loadTexture(speechSheet, "speech-map.png");
    loadTexture(talkSheet, "talk-map.png");
    loadTexture(iconSheet, "icon-map.png");
    loadTexture(battleBackground, "battle.png");
    loadTexture(weaponSheet, "weapons-map.png");
    loadTexture(heroSheet, "kaiva-map.png");
    loadLayer(kBenchAssets + "/maps/mapLv0.txt", MapLayer::Ground);
    loadLayer(kBenchAssets + "/maps/mapLv1.txt", MapLayer::Object);
}

sf::RenderTexture& frameTarget() {
    static sf::RenderTexture target;
    if (target.getSize().x == 0) {
        target.create(1920, 1080);
    }
    return target;
}

double timeFrameMs(const std::function<void(sf::RenderTarget&)>& draw) {
    sf::RenderTexture& target = frameTarget();
    target.setActive(true);
    const auto start = std::chrono::steady_clock::now();
    draw(target);
    target.display();
    glFinish();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double floorFrameMs() {
    static double floor = 0;
    if (floor > 0) {
        return floor;
    }
    loadGameAssetsOnce();
    const sf::VertexArray layer = floorLayer();
    std::vector<double> frames;
    for (int i = 0; i < 40; ++i) {
        frames.push_back(timeFrameMs([&](sf::RenderTarget& target) {
            target.setView(target.getDefaultView());
            target.clear(sf::Color::Black);
            target.draw(layer, &tileSheet);
        }));
    }
    std::nth_element(frames.begin(), frames.begin() + 20, frames.end());
    floor = frames[20];
    return floor;
}

void benchmarkFrames(benchmark::State& state, const std::function<void(sf::RenderTarget&)>& draw) {
    const double floor = floorFrameMs();
    double total = 0;
    for (auto _ : state) {
        const double ms = timeFrameMs(draw);
        state.SetIterationTime(ms / 1000);
        total += ms;
    }
    state.counters["floor ms"] = floor;
    state.counters["x floor"] = total / static_cast<double>(state.iterations()) / floor;
}

double peakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}
