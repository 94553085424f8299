// fastForward.cpp -- a preload library that flies the real game through its first frames unseen, so
// that an end-to-end test reaches the phases after the intro in seconds: for the first
// KAIVA_FLY_FRAMES frames (counted at the buffer swaps) it draws nothing into the window (glClear
// and glDrawArrays do nothing there; into the game's own pictures, such as its kept picture of the
// world, which later frames show again, they draw as always), swaps no buffer and lets the
// frame-rate limit's sleep return at once, keeping the frames 1.5 ms apart, more than the
// millisecond the intro needs between two of its steps. Every step of the game runs in each of
// those frames as always: the intro's flight, its captions and music, the loaders, the character
// thread, events. From the next frame on it stands aside and the game draws and keeps its pace as
// it always does. The game is the real one, unchanged:
//   LD_PRELOAD=libkaiva_fast_forward.so KAIVA_FLY_FRAMES=3400 ./kaiva
#include <GL/gl.h>
#include <GL/glx.h>
#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <time.h>

namespace {

using Clock = std::chrono::steady_clock;
using NanoSleep = int (*)(const timespec*, timespec*);

constexpr std::chrono::microseconds kShortestFrame(1500);
constexpr GLenum kFramebufferBinding = 0x8CA6; // GL_FRAMEBUFFER_BINDING

long framesToFly() {
    const char* frames = std::getenv("KAIVA_FLY_FRAMES");
    return frames != nullptr ? std::atol(frames) : 0;
}

const long kFramesToFly = framesToFly();
std::atomic<long> framesShown{0};
std::atomic<std::thread::id> swapper{}; // the thread that swaps buffers: the game's main thread
Clock::time_point lastFlown;            // swapping thread only

bool flying() {
    return framesShown.load() < kFramesToFly;
}

// The window is framebuffer 0; the game's render textures are framebuffer objects of their own.
bool drawingIntoTheWindow() {
    using GetIntegerv = void (*)(GLenum, GLint*);
    static const auto get = reinterpret_cast<GetIntegerv>(dlsym(RTLD_NEXT, "glGetIntegerv"));
    GLint framebuffer = 0;
    get(kFramebufferBinding, &framebuffer);
    return framebuffer == 0;
}

// Skips a drawing call of a flown frame: only while flying, and only into the window.
bool skipped() {
    return flying() && drawingIntoTheWindow();
}

int realNanosleep(const timespec* request, timespec* remaining) {
    static const auto next = reinterpret_cast<NanoSleep>(dlsym(RTLD_NEXT, "nanosleep"));
    return next(request, remaining);
}

} // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    using SwapBuffers = void (*)(Display*, GLXDrawable);
    static const auto next = reinterpret_cast<SwapBuffers>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    swapper.store(std::this_thread::get_id());
    if (!flying()) {
        next(display, drawable);
        return;
    }
    const Clock::duration left = lastFlown + kShortestFrame - Clock::now();
    if (left > Clock::duration::zero()) {
        const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(left);
        const timespec pause{0, static_cast<long>(nanoseconds.count())};
        realNanosleep(&pause, nullptr);
    }
    lastFlown = Clock::now();
    ++framesShown;
}

extern "C" void glClear(GLbitfield mask) {
    using Clear = void (*)(GLbitfield);
    static const auto next = reinterpret_cast<Clear>(dlsym(RTLD_NEXT, "glClear"));
    if (!skipped()) {
        next(mask);
    }
}

extern "C" void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    using DrawArrays = void (*)(GLenum, GLint, GLsizei);
    static const auto next = reinterpret_cast<DrawArrays>(dlsym(RTLD_NEXT, "glDrawArrays"));
    if (!skipped()) {
        next(mode, first, count);
    }
}

// The frame-rate limit sleeps on the swapping thread; other threads (the music's) sleep as always.
extern "C" int nanosleep(const timespec* request, timespec* remaining) {
    if (flying() && swapper.load() == std::this_thread::get_id()) {
        return 0;
    }
    return realNanosleep(request, remaining);
}
