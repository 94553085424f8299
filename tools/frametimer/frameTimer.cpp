// frameTimer.cpp -- a preload library that times every frame a program shows: it stands in for
// glXSwapBuffers and nanosleep, notes the time of each buffer swap, how long the swapping thread
// slept since the previous one (a frame-rate limit sleeps there) and the CPU time the whole
// process has used so far, and when the program ends writes one line per swap, "<ms since the
// first swap> <ms slept before it> <ms of process CPU time since the first swap>", to the file
// named by FRAMETIMER_OUT. The interval minus the sleep is what the frame cost in time; the CPU
// time between two swaps is what it cost the machine, every thread of the process counted (the
// renderer's, the game's own), which holds steady when other programs load the machine. The
// measured program is the real one, unchanged: LD_PRELOAD=libframetimer.so ./kaiva
#include <GL/glx.h>
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <time.h>
#include <vector>

namespace {

using SwapBuffers = void (*)(Display*, GLXDrawable);
using NanoSleep = int (*)(const timespec*, timespec*);
using Clock = std::chrono::steady_clock;

struct Swap {
    Clock::time_point at;
    Clock::duration slept;
    double cpuMs; // process CPU time
};

double processCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct SwapLog {
    std::mutex lock;
    std::vector<Swap> swaps;
    std::thread::id swapper; // the thread that swaps buffers
    Clock::duration slept{}; // its sleep since its last swap

    SwapLog() { swaps.reserve(1 << 20); }
    ~SwapLog() { write(); }

    void write() {
        const char* path = std::getenv("FRAMETIMER_OUT");
        if (path == nullptr || swaps.empty()) {
            return;
        }
        std::FILE* out = std::fopen(path, "w");
        if (out == nullptr) {
            return;
        }
        using Milliseconds = std::chrono::duration<double, std::milli>;
        for (const Swap& swap : swaps) {
            std::fprintf(out, "%.3f %.3f %.3f\n", Milliseconds(swap.at - swaps.front().at).count(),
                         Milliseconds(swap.slept).count(), swap.cpuMs - swaps.front().cpuMs);
        }
        std::fclose(out);
    }
};

SwapLog log;

} // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static const auto next = reinterpret_cast<SwapBuffers>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    next(display, drawable);
    std::lock_guard<std::mutex> guard(log.lock);
    log.swaps.push_back({Clock::now(), log.slept, processCpuMs()});
    log.swapper = std::this_thread::get_id();
    log.slept = Clock::duration::zero();
}

extern "C" int nanosleep(const timespec* request, timespec* remaining) {
    static const auto next = reinterpret_cast<NanoSleep>(dlsym(RTLD_NEXT, "nanosleep"));
    const Clock::time_point start = Clock::now();
    const int result = next(request, remaining);
    std::lock_guard<std::mutex> guard(log.lock);
    if (std::this_thread::get_id() == log.swapper) {
        log.slept += Clock::now() - start;
    }
    return result;
}
