// textTest.cpp -- the game's single-byte texts reach the screen as the right characters.
#include "shell/text.h"

#include <gtest/gtest.h>

namespace {
std::basic_string<sf::Uint32> codePoints(const std::u32string& text) {
    return {text.begin(), text.end()};
}
} // namespace

TEST(DisplayText, MapsEveryByteToItsWindows1252CodePoint) {
    struct Case {
        std::string bytes;
        std::u32string codePoints;
    };
    const Case cases[] = {
        {"Kaiva e' scappata!", U"Kaiva e' scappata!"},
        {"propriet\xE0", U"propriet\u00E0"},
        {"\xE8\xF9\xC0", U"\u00E8\u00F9\u00C0"},
        {"\x80\x92\x85", U"\u20AC\u2019\u2026"}, // where Windows-1252 differs from Latin-1
        {"", U""},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(toDisplayString(c.bytes).toUtf32() == codePoints(c.codePoints)) << c.bytes;
    }
}

TEST(DisplayText, TheMushroomsNameKeepsItsAccentedA) {
    const sf::String shown = toDisplayString("Un fungo misterioso con propriet\xE0 misteriose");
    EXPECT_EQ(shown.getSize(), 44u);
    EXPECT_EQ(shown[32], 0xE0u);
    EXPECT_EQ(shown.toAnsiString().size(), 44u);
}
