// The texts of this module must not follow the process locale: a German locale (',' as the
// decimal point, German day and month names) gives the same texts as "C".

#include <clocale>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/DateTime.h"
#include "common/HtmlOutput.h"
#include "common/ListHelpers.h"
#include "common/TextFormat.h"

namespace {

class GermanLocale : public ::testing::Test {
protected:
    void SetUp() override {
        const char* current = std::setlocale(LC_ALL, nullptr);
        saved_ = current != nullptr ? current : "C";
        // Must not skip: the test proves nothing unless the locale is really in force.
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
            << "the de_DE.UTF-8 locale cannot be set (install locales-all)";
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

    std::string saved_;
};

} // namespace

TEST_F(GermanLocale, TextsAreTheSameAsInTheCLocale) {
    EXPECT_EQ(FormatMoney(1234.5, 0), "1234.50");
    EXPECT_EQ(FormatMoney(5.0, 1), "-5.00");
    EXPECT_EQ(FormatAmountTotal({0.25, 1.5}), "    1.75");
    EXPECT_EQ(FormatTotalsRow({{1, 2, 3, 2.5}})[3], "2.50");
    EXPECT_EQ(AmountInWords("1234.56"), "One Thousand Two Hundred Thirty Four and 56/100");

    const DATE d = MakeDate(2024, 3, 4, 15, 30);
    EXPECT_EQ(FormatDateTime(d, "%A %B %d, %Y, %I:%M%p"), "Monday March 04, 2024, 03:30PM");
    EXPECT_EQ(FormatDateTime(d, "%a %m/%d/%y"), "Mon 03/04/24");

    EXPECT_EQ(GetSystemErrorText(2), "No such file or directory");
    EXPECT_EQ(Capitalize("\xC4RGER"), "\xC4rger");
    EXPECT_EQ(FindInString("Stra\xDF" "e", "STRA", 0), 0);

    char buffer[80];
    FormatString80(buffer, "%.2f", 0.5);
    EXPECT_STREQ(buffer, "0.50");

    std::vector<std::string> names = {"b", "\xC4pfel", "B", "a"};
    SortStrings(names);
    EXPECT_EQ(names, (std::vector<std::string>{"B", "a", "b", "\xC4pfel"}));
}
