#include "common/TextFormat.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/Diagnostic.h"
#include "platform/host/Format.h"

using Pieces = std::vector<std::string>;

TEST(MoneyFormatTest, FormatMoney) {
    struct Row {
        double amount;
        int negative;
        const char* expected;
    };
    const Row rows[] = {
        {-5.0, 0, "-5.00"},   {5.0, 1, "-5.00"},       {5.0, 0, "5.00"},
        {1234.567, 0, "1234.57"}, {0.0, 0, "0.00"},    {0.0, 1, "-0.00"},
        {-5.0, 1, "5.00"},    {1e6, 1, "-1000000.00"}, {2.005, 0, "2.00"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(FormatMoney(r.amount, r.negative), r.expected) << r.amount << "," << r.negative;
}

// What FormatMoney must give: printf's "%.2f" (in the "C" locale), negated by the flag.
std::string MoneyByPrintf(double amount, int negative) {
    std::string text = Format("%.2f", amount);
    if (negative == 1) text = text[0] == '-' ? text.substr(1) : "-" + text;
    return text;
}

TEST(MoneyFormatTest, BufferFormWritesWhatPrintfWrites) {
    const double inf = std::numeric_limits<double>::infinity();
    const double rows[] = {
        0.0, -0.0, 12.5, -12.5, 40.0, 1234.567,
        // Half cents: exact ties go to the even cent; most are a little above or below the half.
        0.005, 0.015, 0.025, 0.125, 0.375, -0.125, 2.675, -2.675, 1.005, 99.995, 999999.995,
        // Rounding to zero keeps the sign.
        -0.001, -0.004999, 0.004999, 1e-300, -5e-324,
        // Around the end of the hand-made range and far beyond it.
        9999999999999.99, 9999999999999.995, 1e13, 1.5e13, 123456789012345.67, 4503599627370495.5, 1e300,
        -std::numeric_limits<double>::max(), std::numeric_limits<double>::max(), inf, -inf,
        std::numeric_limits<double>::quiet_NaN(),
    };
    char buffer[kMoneyTextSize];
    for (double amount : rows)
        for (int negative : {0, 1}) {
            const std::string_view text = FormatMoney(buffer, amount, negative);
            EXPECT_EQ(text, MoneyByPrintf(amount, negative)) << amount << "," << negative;
            EXPECT_EQ(FormatMoney(amount, negative), text);
        }
}

TEST(MoneyFormatTest, EveryCentAndHalfCentAsPrintfRoundsIt) {
    // Cents and half cents at each size up to the hand-made range's end, with their neighbours
    // one place below and above: the values whose rounding could go either way.
    char buffer[kMoneyTextSize];
    int checked = 0;
    for (double scale = 1.0; scale < 1e13; scale *= 7.3)
        for (int step = 0; step < 200; ++step) {
            const double cents = std::floor(scale) + step;
            for (double half : {0.0, 0.5}) {
                const double amount = (cents + half) / 100.0;
                for (double value : {amount, std::nextafter(amount, 0.0), std::nextafter(amount, 1e300)})
                    for (double sign : {1.0, -1.0}) {
                        const double v = sign * value;
                        ASSERT_EQ(FormatMoney(buffer, v, 0), MoneyByPrintf(v, 0)) << std::hexfloat << v;
                        ++checked;
                    }
            }
        }
    EXPECT_GT(checked, 10000);
}

TEST(MoneyFormatTest, TotalsAndNumbers) {
    EXPECT_EQ(FormatAmountTotal({}), "    0.00");
    EXPECT_EQ(FormatAmountTotal({10.5, 20.25, -0.75}), "   30.00");
    EXPECT_EQ(FormatAmountTotal({123456.789}), "123456.79");
    const auto totals = FormatTotalsRow({{1, 2, 3, 10.0}, {4, 5, 6, 0.5}});
    EXPECT_EQ(totals[0], "5");
    EXPECT_EQ(totals[1], "7");
    EXPECT_EQ(totals[2], "9");
    EXPECT_EQ(totals[3], "10.50");
    EXPECT_EQ(FormatUnsigned(0xFFFFFFFFu), "4294967295");
    EXPECT_EQ(FormatBool(1), "TRUE");
    EXPECT_EQ(FormatBool(0), "FALSE");
    EXPECT_EQ(FormatBool(2), "FALSE");
    EXPECT_EQ(FormatTokenText('T', 3, -1), " Token type T, Index1 3, Index2 -1");
    struct Entry {
        char type;
        int index1, index2;
    };
    EXPECT_EQ(FormatTokenText(Entry{'p', 0, 12}), " Token type p, Index1 0, Index2 12");
}

TEST(MoneyFormatTest, AmountInWords) {
    struct Row {
        const char* text;
        const char* expected;
    };
    const Row rows[] = {
        {"1234.56", "One Thousand Two Hundred Thirty Four and 56/100"},
        {"15.00", "Fifteen and 00/100"},
        {"1000000.00", "One Million and 00/100"},
        {"0.50", " and 50/100"},
        {"-15.00", "Negative Fifteen and 00/100"},
        {"10.00", "Ten and 00/100"},
        {"110.00", "One Hundred Ten and 00/100"},
        {"11.00", "Eleven and 00/100"},
        {"19.99", "Nineteen and 99/100"},
        {"20.00", "Twenty and 00/100"},
        {"101.00", "One Hundred One and 00/100"},
        {"1000.00", "One Thousand and 00/100"},
        {"1001000.00", "One Million One Thousand and 00/100"},
        {"2000015.25", "Two Million Fifteen and 25/100"},
        {"999999999999999", "Nine Hundred Ninety Nine Trillion Nine Hundred Ninety Nine Billion "
                            "Nine Hundred Ninety Nine Million Nine Hundred Ninety Nine Thousand "
                            "Nine Hundred Ninety Nine"},
        {"  42.10  ", "Forty Two and 10/100"},
        {"1234567890123456.00", "1234567890123456"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(AmountInWords(r.text), r.expected) << r.text;
}

TEST(MoneyFormatTest, PaymentReferenceAndErrorCode) {
    EXPECT_EQ(FormatPaymentRef(1234, 'C', "x"), "#1234");
    EXPECT_EQ(FormatPaymentRef(0, 'Q', ""), "#0");
    EXPECT_EQ(FormatPaymentRef(0xFFFFFFFFu, 'C', "1001"), "Check 1001");
    EXPECT_EQ(FormatPaymentRef(0xFFFFFFFFu, 'R', "VISA"), "Card VISA");
    EXPECT_EQ(FormatPaymentRef(0xFFFFFFFFu, 'A', "drawer"), "Cash drawer");
    EXPECT_EQ(FormatPaymentRef(0xFFFFFFFFu, 'C', ""), "");
    EXPECT_EQ(FormatPaymentRef(0xFFFFFFFFu, 'X', "text"), "");

    const int saved = DiagnosticLevel;
    DiagnosticLevel = 0;
    EXPECT_EQ(FormatErrorCode(12, 3), "[Code 12]");
    DiagnosticLevel = 1;
    EXPECT_EQ(FormatErrorCode(12, 3), "[Code 12, seq 3]");
    DiagnosticLevel = saved;
}

TEST(MoneyFormatTest, SystemErrorTextIsEnglishAndTrimmed) {
    EXPECT_EQ(GetSystemErrorText(2), "No such file or directory");
    EXPECT_EQ(GetSystemErrorText(39), "No space left on device");
    EXPECT_EQ(GetSystemErrorText(-12345), "");
}

TEST(NameFormatTest, JoinsAndNameForms) {
    EXPECT_EQ(JoinWithBlank("Ann", "Lee"), "Ann Lee");
    EXPECT_EQ(JoinWithBlank("Ann", ""), "Ann ");
    EXPECT_EQ(JoinWithBlank("", "Lee"), "Lee");
    EXPECT_EQ(JoinWithSlash("a", "b"), "a/b");
    EXPECT_EQ(JoinWithSlash("a", ""), "a");
    EXPECT_EQ(JoinWithSlash("", "b"), "b");
    EXPECT_EQ(JoinWithSlash("", ""), "");
    EXPECT_EQ(FormatCommaName("Lee", "Ann", "M."), "Lee, Ann M.");
    EXPECT_EQ(FormatCommaName("", "Ann", "M."), "Ann M.");
    EXPECT_EQ(FormatCommaName("Lee", "", "M."), "Lee, M.");

    EXPECT_EQ(FormatInitialName("John Henry Smith"), "J.Smith");
    EXPECT_EQ(FormatInitialName("John Smith"), "J.Smith");
    EXPECT_EQ(FormatInitialName("Cher"), "Cher");
    EXPECT_EQ(FormatInitialName(""), "");
    EXPECT_EQ(FormatInitialName("John  Smith "), "J.Smith");
    EXPECT_EQ(FormatInitialName(" Cher"), " Cher");

    EXPECT_EQ(Capitalize("hELLO wORLD"), "Hello world");
    EXPECT_EQ(Capitalize("\xC9MILE"), "\xC9mile"); // É stays upper, the rest lower
    EXPECT_EQ(Capitalize(""), "");
    EXPECT_EQ(GetFirstChar("abc"), 'a');
    EXPECT_EQ(GetFirstChar(""), '\0');
    EXPECT_TRUE(HasNoLetters(""));
    EXPECT_TRUE(HasNoLetters("12-34 $"));
    EXPECT_FALSE(HasNoLetters("12a"));
}

TEST(NameFormatTest, Centering) {
    struct Row {
        const char* text;
        int width;
        char fill;
        const char* expected;
    };
    const Row rows[] = {
        {"abc", 9, '*', "***abc***"},
        {"abc", 8, '-', "--abc--"},   // (8 - 3) / 2 = 2 each side
        {"abc", 3, '*', "abc"},
        {"abcdef", 4, '*', "abcd"},   // wider than the width: cut
        {"", 4, '.', "...."},
        {"abc", 0, '*', ""},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(CenterString(r.text, r.width, r.fill), r.expected) << r.text << "/" << r.width;
        char buffer[64];
        std::memset(buffer, 'Z', sizeof buffer);
        std::strcpy(buffer, r.text);
        CenterText(buffer, r.width, r.fill);
        EXPECT_STREQ(buffer, r.expected);
        const size_t reach = std::max(std::strlen(r.text) + 1, static_cast<size_t>(r.width) + 1);
        EXPECT_EQ(buffer[reach], 'Z') << "written past width + 1 bytes";
    }
    // At most 199 characters of the text are used.
    EXPECT_EQ(CenterString(std::string(250, 'x'), 400, ' ').size(), 199u + 2 * 100u);
}

TEST(SearchTest, FindAndReplace) {
    EXPECT_EQ(FindInString("Hello", "LL", 0), 2);
    EXPECT_EQ(FindInString("Hello", "LL", 1), -1);
    EXPECT_EQ(FindInString("Hello", "ll", 1), 2);
    EXPECT_EQ(FindInString("", "", 0), -1);
    EXPECT_EQ(FindInString("abc", "", 1), 0);
    EXPECT_EQ(FindInString("caf\xE9", "\xC9", 0), 3);

    struct Row {
        const char* text;
        const char* find;
        const char* replacement;
        int caseFlag;
        const char* expected;
    };
    const Row rows[] = {
        {"a-b-c", "-", "--", 1, "a--b--c"}, // search goes on after the inserted text
        {"aaa", "a", "aa", 1, "aaaaaa"},
        {"Hello hello", "HELLO", "bye", 0, "bye bye"},
        {"Hello hello", "HELLO", "bye", 1, "Hello hello"},
        {"%NAME% and %name%", "%name%", "Ann", 0, "Ann and Ann"},
        {"abc", "", "x", 0, "abc"},
        {"", "a", "b", 0, ""},
    };
    for (const Row& r : rows) {
        std::string text = r.text;
        ReplaceInString(text, r.find, r.replacement, r.caseFlag);
        EXPECT_EQ(text, r.expected) << r.text;
    }
}

TEST(SearchTest, SplitStringModes) {
    struct Row {
        const char* text;
        const char* separator;
        int maximum;
        int whole;
        Pieces expected;
    };
    const Row rows[] = {
        {"a,,b", ",", 0, 0, {"a", "", "b"}},
        {",a,b", ",", 0, 0, {"a", "b"}},
        {",,a", ",", 0, 0, {"a"}},
        {"a,b,", ",", 0, 0, {"a", "b"}},
        {"a,b;c", ",;", 0, 0, {"a", "b", "c"}},
        {",a", ",", 0, 1, {"", "a"}},
        {"a,,b", ",", 0, 1, {"a", "", "b"}},
        {"a-b--c", "--", 0, 1, {"a-b", "c"}},
        {"--a--", "--", 0, 1, {"", "a"}},
        {"a-b--c", "--", 0, 0, {"a", "b", "", "c"}},
        {"a,b,c,d", ",", 2, 0, {"a", "b"}},
        {"a,b,c,d", ",", 4, 0, {"a", "b", "c", "d"}},
        {"abc", ",", 0, 0, {"abc"}},
        {"", ",", 0, 0, {}},
        {"abc", "", 0, 1, {"abc"}},
        {"line1\nline2\n", "\n", 0, 1, {"line1", "line2"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "'" << r.text << "' '" << r.separator << "' max "
                                        << r.maximum << " whole " << r.whole);
        Pieces pieces = {"left over"};
        EXPECT_EQ(SplitString(r.text, r.separator, pieces, r.maximum, r.whole),
                  static_cast<int>(r.expected.size()));
        EXPECT_EQ(pieces, r.expected);
    }
}

TEST(SearchTest, JoinRemoveAndPaths) {
    std::string out = "x:";
    JoinStrings({"a", "b"}, out, ";");
    EXPECT_EQ(out, "x:a;b;");

    Pieces list = {"one  ", "   ", "", "two\t\r\n", " three"};
    RemoveEmptyStrings(list);
    EXPECT_EQ(list, (Pieces{"one", "two", " three"}));

    const struct {
        const char* path;
        const char* noExtension;
        const char* name;
        const char* title;
    } rows[] = {
        {"C:\\data\\Studio.dbs", "C:\\data\\Studio", "Studio.dbs", "Studio"},
        {"Studio", "Studio", "Studio", "Studio"},
        {"/home/ann/studio.v2.dbs", "/home/ann/studio.v2", "studio.v2.dbs", "studio.v2"},
        {"C:\\data\\", "C:\\data\\", "", ""},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(StripExtension(r.path), r.noExtension);
        EXPECT_EQ(GetFileNamePart(r.path), r.name);
        EXPECT_EQ(GetFileTitle(r.path), r.title);
    }
}

TEST(SearchTest, FixedBufferFormatsNeverOverrun) {
    char buffer[300];
    std::memset(buffer, 'Z', sizeof buffer);
    FormatString80(buffer, "%s=%.2f", "amount", 2.5);
    EXPECT_STREQ(buffer, "amount=2.50");

    std::memset(buffer, 'Z', sizeof buffer);
    FormatString80(buffer, "%s", std::string(200, 'x').c_str());
    EXPECT_EQ(std::strlen(buffer), 79u);
    EXPECT_EQ(buffer[80], 'Z');

    std::memset(buffer, 'Z', sizeof buffer);
    FormatString200(buffer, "%s", std::string(250, 'x').c_str());
    EXPECT_EQ(std::strlen(buffer), 199u);
    EXPECT_EQ(buffer[200], 'Z');

    std::memset(buffer, 'Z', sizeof buffer);
    FormatString260(buffer, "%s", std::string(290, 'x').c_str());
    EXPECT_EQ(std::strlen(buffer), 259u);
    EXPECT_EQ(buffer[260], 'Z');
}
