// screenLayout.cpp -- letterboxing of the 1920 x 1080 picture.
#include "shell/screenLayout.h"

sf::FloatRect letterboxViewport(sf::Vector2u windowSize) {
    if (windowSize.x == 0 || windowSize.y == 0) {
        return {0, 0, 1, 1};
    }
    const float windowRatio = static_cast<float>(windowSize.x) / windowSize.y;
    const float pictureRatio = static_cast<float>(kScreenWidth) / kScreenHeight;
    if (windowRatio > pictureRatio) { // too wide: bars left and right
        const float width = pictureRatio / windowRatio;
        return {(1 - width) / 2, 0, width, 1};
    }
    if (windowRatio < pictureRatio) { // too tall: bars above and below
        const float height = windowRatio / pictureRatio;
        return {0, (1 - height) / 2, 1, height};
    }
    return {0, 0, 1, 1};
}

sf::View screenViewFor(sf::Vector2u windowSize) {
    sf::View view(sf::FloatRect(0, 0, kScreenWidth, kScreenHeight));
    view.setViewport(letterboxViewport(windowSize));
    return view;
}
