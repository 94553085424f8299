// displayWatch.cpp -- the X display checked before start, and what the game does when it, or its
// window, goes away under it (the Linux side of displayWatch.h).
#include "shell/displayWatch.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

constexpr int kDisplayGoneStatus = 1;

[[noreturn]] void endAtOnce(const std::string& why) {
    std::cerr << "kaiva: " << why << "; the game ends" << std::endl;
    std::_Exit(kDisplayGoneStatus);
}

int onConnectionLost(Display*) {
    endAtOnce("the connection to the X display was lost");
}

int onXError(Display* display, XErrorEvent* error) {
    char text[128] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    endAtOnce(std::string("X error \"") + text + "\" (request " +
              std::to_string(error->request_code) + ")");
}

} // namespace

bool requireDisplay() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        const char* name = std::getenv("DISPLAY");
        std::cerr << "kaiva: no X display could be opened (DISPLAY is "
                  << (name != nullptr ? name : "not set") << "); the game needs one" << std::endl;
        std::exit(1);
    }
    XCloseDisplay(display);
    return true;
}

void watchDisplay() {
    XSetIOErrorHandler(onConnectionLost);
    XSetErrorHandler(onXError);
}
