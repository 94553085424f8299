// xshot.cpp -- saves the whole X screen as a PNG: `xshot out.png` on $DISPLAY. For looking at the
// game under Xvfb, and for the README's pictures.
#include <SFML/Graphics/Image.hpp>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: xshot <picture.png>\n";
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::cerr << "xshot: no X display\n";
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    const unsigned width = static_cast<unsigned>(attributes.width);
    const unsigned height = static_cast<unsigned>(attributes.height);
    XImage* image = XGetImage(display, root, 0, 0, width, height, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return 1;
    }
    sf::Image picture;
    picture.create(width, height);
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
    XCloseDisplay(display);
    return picture.saveToFile(argv[1]) ? 0 : 1;
}
