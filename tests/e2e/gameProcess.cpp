// gameProcess.cpp -- starting, driving and watching the real game.
#include "e2e/gameProcess.h"

#include "testSupport.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

void redirect(int fd, const std::filesystem::path& file) {
    const int out = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, fd);
    close(out);
}

bool isKaivaWindow(Display* display, Window window) {
    char* name = nullptr;
    bool match = false;
    if (XFetchName(display, window, &name) && name != nullptr) {
        match = std::string(name) == "Kaiva";
        XFree(name);
    }
    XWindowAttributes attributes;
    return match && XGetWindowAttributes(display, window, &attributes) &&
           attributes.map_state == IsViewable;
}

Window findKaivaWindow(Display* display) {
    Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, root, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && found == 0; ++i) {
            if (isKaivaWindow(display, children[i])) {
                found = children[i];
            }
        }
        XFree(children);
    }
    return found;
}

#if defined(__SANITIZE_ADDRESS__)
extern "C" void __asan_init();

// The game of an AddressSanitizer build is linked with the sanitizer's runtime, which must come
// first among the libraries the program loads, or it refuses to start: a library preloaded into
// the game (the frame timer) goes after that runtime, the same one these tests run with.
std::string preloadedBesidesSanitizer(const std::string& preload) {
    Dl_info runtime{};
    if (dladdr(reinterpret_cast<void*>(&__asan_init), &runtime) == 0 ||
        runtime.dli_fname == nullptr || std::strstr(runtime.dli_fname, "libasan") == nullptr) {
        return preload;
    }
    return std::string(runtime.dli_fname) + ":" + preload;
}
#else
std::string preloadedBesidesSanitizer(const std::string& preload) {
    return preload;
}
#endif

} // namespace

GameProcess::GameProcess(const std::filesystem::path& folder,
                         const std::map<std::string, std::string>& environment,
                         const std::filesystem::path& program) {
    logs_ = makeTempDir("game-logs");
    const std::string binary = program.empty() ? KAIVA_BINARY : program.string();
    pid_ = fork();
    if (pid_ == 0) {
        redirect(STDOUT_FILENO, logs_ / "stdout.txt");
        redirect(STDERR_FILENO, logs_ / "stderr.txt");
        for (const auto& [name, value] : environment) {
            const std::string set = name == "LD_PRELOAD" ? preloadedBesidesSanitizer(value) : value;
            setenv(name.c_str(), set.c_str(), 1);
        }
        if (chdir(folder.c_str()) == 0) {
            execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
        }
        _exit(127);
    }
    const auto display = environment.find("DISPLAY");
    display_ = XOpenDisplay(display == environment.end() ? nullptr : display->second.c_str());
}

GameProcess::~GameProcess() {
    if (pid_ > 0 && !status_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    closeDisplay();
}

void GameProcess::closeDisplay() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
        display_ = nullptr;
    }
}

Window GameProcess::waitForWindow(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (display_ != nullptr && std::chrono::steady_clock::now() < end) {
        if (Window window = findKaivaWindow(display_)) {
            return window;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return 0;
}

void GameProcess::requestClose(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
}

void GameProcess::destroyWindow(Window window) {
    XDestroyWindow(display_, window);
    XFlush(display_);
}

void GameProcess::pressKey(const std::string& key, std::chrono::milliseconds hold) {
    const std::string down = "xdotool keydown " + key;
    const std::string up = "xdotool keyup " + key;
    EXPECT_EQ(std::system(down.c_str()), 0);
    std::this_thread::sleep_for(hold);
    EXPECT_EQ(std::system(up.c_str()), 0);
}

void GameProcess::leaveByThePause() {
    const std::chrono::milliseconds hold(120);
    pressKey("Escape", hold);
    std::this_thread::sleep_for(hold); // the pause opens in the next frame
    pressKey("Down", hold);
    pressKey("e", hold);
}

void GameProcess::signal(int number) const {
    if (pid_ > 0 && !status_) {
        kill(pid_, number);
    }
}

std::optional<int> GameProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!status_) {
        int raw = 0;
        if (waitpid(pid_, &raw, WNOHANG) == pid_) {
            status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        } else if (std::chrono::steady_clock::now() >= end) {
            break;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    return status_;
}

bool GameProcess::waitForConsole(const std::string& text, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (console().find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

std::string GameProcess::console() const {
    return readTextFile(logs_ / "stdout.txt");
}

std::string GameProcess::errors() const {
    return readTextFile(logs_ / "stderr.txt");
}

namespace {

// User + system time of one thread, from /proc/<pid>/task/<tid>/stat.
double threadCpuSeconds(const std::filesystem::path& task) {
    std::ifstream stat(task / "stat");
    std::string line;
    std::getline(stat, line);
    // Fields after the command name, which is in parentheses: utime is the 14th, stime the 15th.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i >= 14) {
            ticks += std::stol(field);
        }
    }
    return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

} // namespace

double GameProcess::cpuSecondsBesidesDrawing() const {
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid_) + "/task";
    double seconds = 0;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        const std::string name = readTextFile(task.path() / "comm");
        if (task.path().filename() != std::to_string(pid_) && name.rfind("llvmpipe", 0) != 0) {
            seconds += threadCpuSeconds(task.path());
        }
    }
    return seconds;
}

long GameProcess::residentKib() const {
    std::istringstream status(readTextFile("/proc/" + std::to_string(pid_) + "/status"));
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

std::optional<std::string> GameProcess::ask(const std::string& told,
                                            std::chrono::milliseconds timeout) {
    const std::size_t before = countOf(console(), told);
    signal(SIGUSR1);
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (std::string said = console(); std::chrono::steady_clock::now() < end; said = console()) {
        if (countOf(said, told) > before) {
            return said.substr(said.rfind(told) + told.size());
        }
        if (waitForExit(std::chrono::milliseconds(0))) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return std::nullopt;
}

std::optional<long> GameProcess::heapInUseKib(std::chrono::milliseconds timeout) {
    const std::optional<std::string> answer = ask("heap in use ", timeout);
    return answer ? std::optional<long>(std::stol(*answer)) : std::nullopt;
}

std::chrono::milliseconds closeGrace() {
    constexpr std::chrono::milliseconds kPlayersPatience{2000};
    constexpr int kSanitizerSlowdown = 5;
    return KAIVA_SANITIZED ? kPlayersPatience * kSanitizerSlowdown : kPlayersPatience;
}

PrivateXServer::PrivateXServer(const std::string& screen) {
    int told[2];
    if (pipe(told) != 0) {
        return;
    }
    pid_ = fork();
    if (pid_ == 0) {
        close(told[0]);
        redirect(STDOUT_FILENO, "/dev/null");
        redirect(STDERR_FILENO, "/dev/null");
        const std::string fd = std::to_string(told[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-noreset",
               "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(told[1]);
    // The server writes its display number, then a line end, once it takes connections.
    std::string number;
    pollfd wait{told[0], POLLIN, 0};
    char c = 0;
    while (poll(&wait, 1, 10000) == 1 && read(told[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    close(told[0]);
    if (!number.empty()) {
        name_ = ":" + number;
    }
}

PrivateXServer::~PrivateXServer() {
    stop();
}

void PrivateXServer::stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

OwnScreen::OwnScreen(const std::string& screen) : server_(screen) {
    if (const char* display = std::getenv("DISPLAY")) {
        previous_ = display;
    }
    if (!server_.name().empty()) {
        setenv("DISPLAY", server_.name().c_str(), 1);
    }
}

OwnScreen::~OwnScreen() {
    if (previous_) {
        setenv("DISPLAY", previous_->c_str(), 1);
    } else {
        unsetenv("DISPLAY");
    }
}

void RealGameTest::SetUp() {
    screen_.emplace();
    ASSERT_FALSE(screen_->name().empty()) << "no X screen of the test's own";
}

std::map<std::string, std::string> preloading(const std::string& library,
                                              std::map<std::string, std::string> environment) {
    std::string& preload = environment["LD_PRELOAD"];
    preload = preload.empty() ? library : library + ":" + preload;
    return environment;
}

std::map<std::string, std::string> introFlownThrough(std::map<std::string, std::string> environment,
                                                     int frames) {
    environment["KAIVA_FLY_FRAMES"] = std::to_string(frames);
    return preloading(KAIVA_FAST_FORWARD, std::move(environment));
}

WindowGeometry windowGeometry(Display* display, Window window) {
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    return {attributes.x, attributes.y, static_cast<unsigned>(attributes.width),
            static_cast<unsigned>(attributes.height)};
}

sf::Image takeScreenshot(Display* display) {
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    const unsigned width = static_cast<unsigned>(attributes.width);
    const unsigned height = static_cast<unsigned>(attributes.height);
    sf::Image picture;
    picture.create(width, height);
    XImage* image = XGetImage(display, root, 0, 0, width, height, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return picture;
    }
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(image, static_cast<int>(x), static_cast<int>(y));
            picture.setPixel(x, y,
                             sf::Color(static_cast<sf::Uint8>((pixel >> 16) & 0xFF),
                                       static_cast<sf::Uint8>((pixel >> 8) & 0xFF),
                                       static_cast<sf::Uint8>(pixel & 0xFF)));
        }
    }
    XDestroyImage(image);
    return picture;
}

sf::Color screenPixel(Display* display, unsigned x, unsigned y) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), static_cast<int>(x),
                              static_cast<int>(y), 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return sf::Color::Transparent;
    }
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return sf::Color(static_cast<sf::Uint8>((pixel >> 16) & 0xFF),
                     static_cast<sf::Uint8>((pixel >> 8) & 0xFF),
                     static_cast<sf::Uint8>(pixel & 0xFF));
}

std::filesystem::path copyOfAssets(const std::string& tag) {
    const std::filesystem::path folder = makeTempDir(tag);
    std::filesystem::copy(KAIVA_ASSETS_DIR, folder / "assets",
                          std::filesystem::copy_options::recursive);
    return folder;
}
