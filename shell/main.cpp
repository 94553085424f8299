// main.cpp -- the entry of Kaiva: start up, run frames until the window closes, shut down.
#include "shell/frame.h"
#include "shell/resources.h"
#include "shell/startup.h"

int main() {
    startUp();
    while (window.isOpen()) {
        runFrame(window, clocks.frameClock.restart().asSeconds());
    }
    shutDown();
    return 0;
}
