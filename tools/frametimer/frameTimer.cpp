// frameTimer.cpp -- a preload library that times every frame a program shows: it stands in for
// glXSwapBuffers and nanosleep, notes the time of each buffer swap, how long the swapping thread
// slept since the previous one (a frame-rate limit sleeps there) and the CPU time the whole
// process has used so far, and when the program ends writes one line per swap, "<ms since the
// first swap> <ms slept before it> <ms of process CPU time since the first swap>", to the file
// named by FRAMETIMER_OUT. The interval minus the sleep is what the frame cost in time; the CPU
// time between two swaps is what it cost the machine, every thread of the process counted (the
// renderer's, the game's own), which holds steady when other programs load the machine. The
// measured program is the real one, unchanged: LD_PRELOAD=libframetimer.so ./kaiva
// Beside that file it writes "<file>.process": how long after the process started its first swap
// came ("first-swap-ms", to the kernel's clock tick, 10 ms, measured from the fork), its peak
// resident memory at exit ("peak-resident-kib") and the pages it had faulted in by its first swap
// ("first-swap-minor-faults": fresh memory touched while starting up). A "%p" in FRAMETIMER_OUT
// stands for the process id, so that every game a test starts leaves its own files.
#include <GL/glx.h>
#include <dlfcn.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <time.h>
#include <unistd.h>
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

double clockMs(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1000 + static_cast<double>(now.tv_nsec) / 1e6;
}

double processCpuMs() {
    return clockMs(CLOCK_PROCESS_CPUTIME_ID);
}

// When this process started, in milliseconds of the boot clock: field 22 of /proc/self/stat, in
// clock ticks since boot.
double processStartMs() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2)); // after the command's name
    std::string field;
    for (int i = 3; i <= 22; ++i) { // the fields after the name start at 3
        fields >> field;
    }
    return std::stod(field) * 1000 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long peakResidentKib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::atol(line.c_str() + std::strlen("VmHWM:"));
        }
    }
    return -1;
}

// FRAMETIMER_OUT with "%p" replaced by the process id; empty when it is not set.
std::string outputPath() {
    const char* path = std::getenv("FRAMETIMER_OUT");
    if (path == nullptr) {
        return {};
    }
    std::string out = path;
    const std::size_t at = out.find("%p");
    if (at != std::string::npos) {
        out.replace(at, 2, std::to_string(getpid()));
    }
    return out;
}

struct SwapLog {
    std::mutex lock;
    std::vector<Swap> swaps;
    std::thread::id swapper; // the thread that swaps buffers
    Clock::duration slept{}; // its sleep since its last swap
    double firstSwapBootMs = 0;
    long firstSwapMinorFaults = 0;

    SwapLog() { swaps.reserve(1 << 20); }
    ~SwapLog() { write(); }

    void write() {
        const std::string path = outputPath();
        if (path.empty() || swaps.empty()) {
            return;
        }
        if (std::FILE* process = std::fopen((path + ".process").c_str(), "w")) {
            std::fprintf(
                process, "first-swap-ms %.0f\npeak-resident-kib %ld\nfirst-swap-minor-faults %ld\n",
                firstSwapBootMs - processStartMs(), peakResidentKib(), firstSwapMinorFaults);
            std::fclose(process);
        }
        std::FILE* out = std::fopen(path.c_str(), "w");
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
    if (log.swaps.empty()) {
        log.firstSwapBootMs = clockMs(CLOCK_BOOTTIME);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        log.firstSwapMinorFaults = usage.ru_minflt;
    }
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
