// displayWatch.cpp -- what the game does when its X display, or its window, goes away under it.
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

void watchDisplay() {
    XSetIOErrorHandler(onConnectionLost);
    XSetErrorHandler(onXError);
}
