#include "platform/host/Format.h"

#include <clocale>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

// Restores the "C" locale however the test ends.
struct GermanLocale {
    bool ok;
    GermanLocale() : ok(std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr) {}
    ~GermanLocale() { std::setlocale(LC_ALL, "C"); }
};

TEST(Format, UsesPointDecimalUnderGermanLocale) {
    GermanLocale german;
    ASSERT_TRUE(german.ok) << "the de_DE.UTF-8 locale must be installed";
    char native[32];
    std::snprintf(native, sizeof native, "%.2f", 1.5);
    ASSERT_STREQ(native, "1,50") << "the German locale is not in effect";

    EXPECT_EQ(Format("%10.3f", 1234.5), "  1234.500");
    EXPECT_EQ(Format("$%.2f", 19.999), "$20.00");
    EXPECT_EQ(Format("%g", 0.25), "0.25");
    // The process locale is left as it was.
    std::snprintf(native, sizeof native, "%.1f", 2.5);
    EXPECT_STREQ(native, "2,5");
}

TEST(Format, MixedArgumentsAndLongOutput) {
    EXPECT_EQ(Format("%s:%c:%i:%u", "PC1", 'L', -3, 7u), "PC1:L:-3:7");
    EXPECT_EQ(Format("%s", ""), "");
    std::string big(3000, 'x');
    EXPECT_EQ(Format("[%s]", big.c_str()), "[" + big + "]");
}

}  // namespace
