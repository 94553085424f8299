// benchSupport.h -- what the frame benchmarks share: the game's textures loaded as start-up loads
// them, the floor of this machine, frames timed to the end of their drawing, and memory figures.
#pragma once

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <benchmark/benchmark.h>

#include <functional>
#include <string>

extern const std::string kBenchAssets; // the build's asset folder

// Loads every texture and the font from the build's asset folder into the game's resources, and
// the two maps into the grid (once per process).
void loadGameAssetsOnce();

// A 1920 x 1080 render texture, created once.
sf::RenderTexture& frameTarget();

// Milliseconds of one frame drawn by `draw` into the target and finished by the graphics driver
// (software OpenGL draws lazily: the frame is waited for).
double timeFrameMs(const std::function<void(sf::RenderTarget&)>& draw);

// The floor of a world frame on this machine: clear, one full-screen layer of 100 x 100 cells
// textured from the ground sheet in one draw call, finished. The median of a few dozen frames,
// measured once per process.
double floorFrameMs();

// Runs `draw` as one benchmark iteration per frame and reports its ratio to the floor.
void benchmarkFrames(benchmark::State& state, const std::function<void(sf::RenderTarget&)>& draw);

// The process's peak resident memory so far, in MiB.
double peakResidentMiB();
