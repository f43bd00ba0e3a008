#include "platform/host/Text.h"

#include <gtest/gtest.h>

namespace {

using host::Cp1252ToUtf8;
using host::Utf8ToCp1252;

TEST(Text, EveryByteRoundTrips) {
    std::string all;
    for (int i = 1; i < 256; ++i) all += static_cast<char>(i);
    std::string back;
    ASSERT_TRUE(Utf8ToCp1252(Cp1252ToUtf8(all), back));
    EXPECT_EQ(back, all);
}

TEST(Text, KnownCharacters) {
    struct Case { std::string cp; std::string utf8; };
    const Case cases[] = {
        {"abc", "abc"},
        {"\x80", "\xE2\x82\xAC"},           // euro sign
        {"\x92", "\xE2\x80\x99"},           // right single quote
        {"\x9F", "\xC5\xB8"},               // Y with diaeresis
        {"caf\xE9", "caf\xC3\xA9"},         // e acute
        {"\xA0", "\xC2\xA0"},               // no-break space
        {"\x81", "\xC2\x81"},               // undefined code keeps its value
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Cp1252ToUtf8(c.cp), c.utf8);
        std::string back;
        EXPECT_TRUE(Utf8ToCp1252(c.utf8, back));
        EXPECT_EQ(back, c.cp);
    }
}

TEST(Text, RefusesWhatWindows1252CannotHold) {
    const char* refused[] = {
        "\xE6\x97\xA5",        // CJK character
        "x\xCE\xA9",           // Greek capital omega
        "\xF0\x9F\x98\x80",    // emoji
        "\xC3",                // cut sequence
        "\xC0\xAF",            // overlong '/'
        "\xED\xA0\x80",        // surrogate
        "\xFF",                // not UTF-8 at all
    };
    for (const char* s : refused) {
        std::string out = "stale";
        EXPECT_FALSE(Utf8ToCp1252(s, out)) << s;
        EXPECT_TRUE(out.empty());
    }
    EXPECT_EQ(host::Utf8ToCp1252Lossy("a\xCE\xA9" "b\xC3\xA9"), "a?b\xE9");
}

TEST(Text, CaseBlindComparison) {
    EXPECT_TRUE(host::EqualsNoCase("Caf\xE9.DBS", "CAF\xC9.dbs"));
    EXPECT_TRUE(host::EqualsNoCase("\x9A", "\x8A"));
    EXPECT_FALSE(host::EqualsNoCase("\xF7", "\xD7"));  // division and multiplication signs
    EXPECT_FALSE(host::EqualsNoCase("ab", "abc"));
}

}  // namespace
