// xshot.cpp -- saves the whole X screen as a PNG: `xshot out.png` on $DISPLAY, for looking at the
// game under Xvfb; and `xshot --half in.png out.png` halves a picture (each pixel the mean of
// four), for the README's pictures.
#include <SFML/Graphics/Image.hpp>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <iostream>
#include <string>

namespace {

int halve(const char* from, const char* to) {
    sf::Image whole;
    if (!whole.loadFromFile(from)) {
        return 1;
    }
    const sf::Vector2u size = whole.getSize() / 2u;
    sf::Image half;
    half.create(size.x, size.y);
    for (unsigned y = 0; y < size.y; ++y) {
        for (unsigned x = 0; x < size.x; ++x) {
            unsigned sum[4] = {0, 0, 0, 0};
            for (unsigned dy = 0; dy < 2; ++dy) {
                for (unsigned dx = 0; dx < 2; ++dx) {
                    const sf::Color c = whole.getPixel(2 * x + dx, 2 * y + dy);
                    sum[0] += c.r;
                    sum[1] += c.g;
                    sum[2] += c.b;
                    sum[3] += c.a;
                }
            }
            half.setPixel(x, y,
                          sf::Color(static_cast<sf::Uint8>((sum[0] + 2) / 4),
                                    static_cast<sf::Uint8>((sum[1] + 2) / 4),
                                    static_cast<sf::Uint8>((sum[2] + 2) / 4),
                                    static_cast<sf::Uint8>((sum[3] + 2) / 4)));
        }
    }
    return half.saveToFile(to) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--half") {
        return halve(argv[2], argv[3]);
    }
    if (argc != 2) {
        std::cerr << "usage: xshot <picture.png> | xshot --half <in.png> <out.png>\n";
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
