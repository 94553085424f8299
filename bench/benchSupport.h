// benchSupport.h -- what the frame benchmarks share: the game's textures loaded as start-up loads
// them, the floor of this machine, frames timed to the end of their drawing, and memory figures.
#pragma once

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/VertexArray.hpp>
#include <benchmark/benchmark.h>

#include <functional>
#include <string>

extern const std::string kBenchAssets; // the build's asset folder

// Loads every texture and the font from the build's asset folder into the game's resources, and
// the two maps into the grid (once per process).
void loadGameAssetsOnce();

// The story as it stands in free roaming, with the maps loaded, the characters placed, the
// heroine set up and the camera centred here, the mouse over the screen's top middle: every frame
// benchmark starts from here and sets what its screen shows.
void enterRoaming(sf::Vector2f centre);

// The process's CPU time (every thread) in milliseconds.
double processCpuMs();

// The floor of this machine, as tools/frametimer/framefloor draws it: clear, then one opaque
// picture of the whole 1920 x 1080 target drawn one texel to one pixel, without blending or
// smoothing. Every world frame of the game does that at the least: it shows its kept picture of
// the world so.
void drawFloor(sf::RenderTarget& target);
// The older reference, kept by name: clear, then one layer of 20 x 11 cells of 100 x 100 pixels
// textured from the ground sheet's 320 x 320 cells in one draw call.
void drawLayerFloor(sf::RenderTarget& target);

// A 1920 x 1080 render texture, created once.
sf::RenderTexture& frameTarget();

// What one frame cost: milliseconds of time, and of the process's CPU time (every thread).
struct FrameCost {
    double ms = 0;
    double cpuMs = 0;
};
FrameCost costOfFrame(const std::function<void(sf::RenderTarget&)>& draw);

// Milliseconds of one frame drawn by `draw` into the target and finished by the graphics driver
// (software OpenGL draws lazily: the frame is waited for).
double timeFrameMs(const std::function<void(sf::RenderTarget&)>& draw);

// One frame of the floor (drawFloor), finished; milliseconds.
double floorFrameMs();
// One frame of the layer floor (drawLayerFloor), finished; milliseconds.
double layerFloorFrameMs();

// Frames of a screen each paired with a floor frame drawn just before it, so that whatever else
// loads the machine weighs on both alike: the screen's cost as a ratio to the floor's.
class FloorRatio {
public:
    // Draws a floor frame then the screen's frame; returns the screen frame's milliseconds.
    double add(const std::function<void(sf::RenderTarget&)>& draw);
    // Counters "floor ms", "<name>x floor" (in time) and "<name>cpu x floor" (in CPU time).
    void report(benchmark::State& state, const std::string& name) const;

private:
    FrameCost floor_;
    FrameCost frame_;
    int frames_ = 0;
};

// Runs `draw` as one benchmark iteration per frame, each after a floor frame, and reports the
// screen's ratio to the floor; the last frame is the picture `name` when pictures are asked for.
// A few frames go first untimed: what is timed is the screen's steady frame.
void benchmarkFrames(benchmark::State& state, const std::string& name,
                     const std::function<void(sf::RenderTarget&)>& draw);

// When KAIVA_BENCH_PICTURES names a folder, saves the frame target's picture there as <name>.png,
// so that two commits' pictures of each screen can be compared.
void savePictureIfAsked(const std::string& name);

// The process's peak resident memory so far, and its resident memory now, in MiB.
double peakResidentMiB();
double residentMiB();
