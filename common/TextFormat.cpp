#include "common/TextFormat.h"

#include <charconv>
#include <cmath>
#include <cerrno>
#include <cstdarg>
#include <cstddef>
#include <cstring>

#include "common/Diagnostic.h"
#include "platform/host/Format.h"
#include "platform/host/Text.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string Trim(const std::string& text) {
    size_t begin = 0;
    while (begin < text.size() && IsBlank(text[begin]))
        ++begin;
    return StripTrailingBlanks(text.substr(begin));
}

// Lower case of one Windows-1252 byte: the inverse of the host's upper-case mapping.
char LowerCp1252(char c) {
    static const auto table = [] {
        std::array<char, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[i] = static_cast<char>(i);
        for (int i = 0; i < 256; ++i) {
            const char lower = static_cast<char>(i);
            const char upper = host::UpperCp1252(lower);
            if (upper != lower)
                t[static_cast<unsigned char>(upper)] = lower;
        }
        return t;
    }();
    return table[static_cast<unsigned char>(c)];
}

std::string UpperText(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        c = host::UpperCp1252(c);
    return out;
}

void FormatIntoBuffer(char* buffer, size_t size, const char* format, va_list args) {
    const std::string text = FormatV(format, args);
    const size_t length = text.size() < size ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

// The centred text as CenterText makes it: the text (at most 199 characters) with
// (width - length) / 2 fill characters on each side (at most 300), cut to the width.
std::string Centered(const std::string& text, int width, char fill) {
    if (width <= 0)
        return std::string();
    const std::string body = text.substr(0, 199);
    std::string out;
    const int length = static_cast<int>(body.size());
    if (length < width) {
        int side = (width - length) / 2;
        if (side > 300)
            side = 300;
        out.assign(static_cast<size_t>(side), fill);
        out += body;
        out.append(static_cast<size_t>(side), fill);
    } else {
        out = body;
    }
    if (static_cast<int>(out.size()) > width)
        out.resize(static_cast<size_t>(width));
    return out;
}

} // namespace

// --- Money and numbers -----------------------------------------------------------------------

std::string FormatMoney(double amount, int negative) {
    char buffer[kMoneyTextSize];
    return std::string(FormatMoney(buffer, amount, negative));
}

namespace {

// Amounts below this (about 2^43) have a cent count that the product amount * 100 holds with a
// quarter cent to spare, so that it can be rounded exactly as "%.2f" rounds.
constexpr double kExactCentsLimit = 1e13;

// "%.2f" of the amount into [out, limit): by hand for amounts of exact cents, else through
// to_chars, which writes what "%.2f" writes in the "C" locale (large amounts, inf, nan).
char* WriteFixed2(char* out, char* limit, double amount) {
    const double magnitude = std::fabs(amount);
    if (!(magnitude < kExactCentsLimit)) {
        const std::to_chars_result end = std::to_chars(out, limit, amount, std::chars_format::fixed, 2);
        return end.ec == std::errc() ? end.ptr : out;
    }
    // The rounded product is exact to a fraction of its last place: whether the true product lies
    // above or below the half cent is told by the product's own fraction, except on the half
    // itself, where the part of the product that rounding dropped decides, and a true tie goes to
    // the even cent, as printf rounds.
    const double product = magnitude * 100.0;
    const double whole = std::floor(product);
    const double above = (product - whole) - 0.5;
    uint64_t cents = static_cast<uint64_t>(whole);
    if (above > 0.0) {
        ++cents;
    } else if (above == 0.0) {
        const double dropped = std::fma(magnitude, 100.0, -product);
        if (dropped > 0.0 || (dropped == 0.0 && cents % 2 == 1)) ++cents;
    }
    // Sized first, then written from its end in place.
    uint64_t units = cents / 100;
    size_t length = std::signbit(amount) ? 5 : 4;  // sign, a unit, the point and two cents
    for (uint64_t rest = units; rest >= 10; rest /= 10) ++length;
    if (length > static_cast<size_t>(limit - out)) return out;
    char* at = out + length;
    *--at = static_cast<char>('0' + cents % 10);
    *--at = static_cast<char>('0' + cents / 10 % 10);
    *--at = '.';
    do {
        *--at = static_cast<char>('0' + units % 10);
        units /= 10;
    } while (units != 0);
    if (std::signbit(amount)) *--at = '-';
    return out + length;
}

}  // namespace

std::string_view FormatMoney(char (&buffer)[kMoneyTextSize], double amount, int negative) {
    char* const begin = buffer + 1;
    char* const end = WriteFixed2(begin, buffer + kMoneyTextSize, amount);
    std::string_view text(begin, static_cast<size_t>(end - begin));
    if (negative == 1) {
        if (!text.empty() && text.front() == '-') {
            text.remove_prefix(1);
        } else {
            buffer[0] = '-';
            text = std::string_view(buffer, text.size() + 1);
        }
    }
    return text;
}

std::string FormatAmountTotal(const std::vector<double>& amounts) {
    double total = 0.0;
    for (double amount : amounts)
        total += amount;
    return Format("%8.2f", total);
}

std::array<std::string, 4> FormatTotalsRow(const std::vector<stTotalsRow>& rows) {
    uint32_t c1 = 0;
    uint32_t c2 = 0;
    uint32_t c3 = 0;
    double amount = 0.0;
    for (const stTotalsRow& row : rows) {
        c1 += row.count1;
        c2 += row.count2;
        c3 += row.count3;
        amount += row.amount;
    }
    return {Format("%u", c1), Format("%u", c2), Format("%u", c3), Format("%.2f", amount)};
}

std::string FormatUnsigned(uint32_t value) { return Format("%u", value); }

std::string AmountInWords(const std::string& amountText) {
    static const char* const kUnits[10] = {"",     "One", "Two",   "Three", "Four",
                                           "Five", "Six", "Seven", "Eight", "Nine"};
    static const char* const kTeens[10] = {"",        "Eleven",  "Twelve",
                                           "Thirteen", "Fourteen", "Fifteen",
                                           "Sixteen",  "Seventeen", "Eighteen",
                                           "Nineteen"};
    static const char* const kTens[10] = {"",      "Ten",   "Twenty",  "Thirty", "Forty",
                                          "Fifty", "Sixty", "Seventy", "Eighty", "Ninety"};
    static const char* const kScales[5] = {"", "Thousand", "Million", "Billion", "Trillion"};

    const std::string text = Trim(amountText);
    std::string whole = text;
    std::string cents;
    const size_t point = text.find('.');
    if (point != std::string::npos) {
        whole = text.substr(0, point);
        cents = text.substr(point + 1);
    }
    if (whole.size() > 15)
        return whole;

    auto digit = [](char c) { return (c >= '1' && c <= '9') ? c - '0' : 0; };
    const int length = static_cast<int>(whole.size());
    std::string result;
    for (int i = length - 1; i >= 0; --i) {
        const int place = (length - i - 1) % 3;
        const int d = digit(whole[static_cast<size_t>(i)]);
        std::string word;
        if (place == 0) {
            if (i != length - 1) {
                bool groupHasValue = false;
                for (int j = i; j >= 0 && j >= i - 2; --j) {
                    const char c = whole[static_cast<size_t>(j)];
                    if (c != '0' && c != '-')
                        groupHasValue = true;
                }
                if (groupHasValue)
                    result = std::string(kScales[(length - i) / 3]) + " " + result;
            }
            if (d != 0) {
                word = kUnits[d];
                if (i > 0 && whole[static_cast<size_t>(i - 1)] == '1') {
                    word = kTeens[d];
                    --i; // the tens digit is read with this one
                }
            }
        } else if (place == 1) {
            if (d != 0)
                word = kTens[d];
        } else if (d != 0) {
            word = std::string(kUnits[d]) + " Hundred";
        }
        if (!word.empty())
            result = word + " " + result;
    }
    if (!whole.empty() && whole[0] == '-')
        result = "Negative " + result;
    result = StripTrailingBlanks(result);
    if (cents.empty())
        return result;
    return Format("%s and %s/100", result.c_str(), cents.c_str());
}

std::string FormatPaymentRef(uint32_t number, char kind, const std::string& text) {
    if (number != 0xFFFFFFFFu)
        return Format("#%u", number);
    if (text.empty())
        return std::string();
    switch (kind) {
    case 'C': return Format("Check %s", text.c_str());
    case 'R': return Format("Card %s", text.c_str());
    case 'A': return Format("Cash %s", text.c_str());
    default: return std::string();
    }
}

std::string FormatErrorCode(int code, int sequence) {
    if (DiagnosticLevel < 1)
        return Format("[Code %i]", code);
    return Format("[Code %i, seq %i]", code, sequence);
}

std::string GetSystemErrorText(int error) {
    // The file layer reports the Win32 numbers of its error classes; any other number is the
    // system's own.
    int systemError = error;
    switch (error) {
    case 2:
    case 3: systemError = ENOENT; break;
    case 5: systemError = EACCES; break;
    case 21: systemError = ENODEV; break;
    case 33: systemError = EAGAIN; break;
    case 39: systemError = ENOSPC; break;
    case 80: systemError = EEXIST; break;
    default: break;
    }
    // The description is English whatever the locale (glibc's untranslated table).
    const char* description = strerrordesc_np(systemError);
    if (description == nullptr)
        return std::string();
    return StripTrailingBlanks(host::Utf8ToCp1252Lossy(description));
}

std::string FormatBool(int value) { return value == 1 ? "TRUE" : "FALSE"; }

std::string FormatTokenText(char type, int index1, int index2) {
    return Format(" Token type %c, Index1 %i, Index2 %i", type, index1, index2);
}

// --- Joins and name forms --------------------------------------------------------------------

std::string JoinWithBlank(const std::string& a, const std::string& b) {
    if (a.empty())
        return b;
    return a + " " + b;
}

std::string JoinWithSlash(const std::string& a, const std::string& b) {
    if (!a.empty() && !b.empty())
        return a + "/" + b;
    return a.empty() ? b : a;
}

std::string FormatCommaName(const std::string& first, const std::string& second,
                            const std::string& third) {
    const std::string rest = JoinWithBlank(second, third);
    if (first.empty())
        return rest;
    return first + ", " + rest;
}

std::string FormatInitialName(const std::string& name) {
    std::vector<std::string> words;
    SplitString(name, " ", words, 0, 1);
    // Runs of blanks give empty pieces; the initial and the last name come from real words.
    std::vector<std::string> real;
    for (const std::string& word : words)
        if (!word.empty())
            real.push_back(word);
    if (real.size() < 2)
        return name;
    return std::string(1, real.front()[0]) + "." + real.back();
}

std::string Capitalize(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        c = LowerCp1252(c);
    if (!out.empty())
        out[0] = host::UpperCp1252(out[0]);
    return out;
}

void CenterText(char* buffer, int width, char fill) {
    if (width < 0)
        return;
    const std::string out = Centered(buffer, width, fill);
    std::memcpy(buffer, out.c_str(), out.size() + 1);
}

std::string CenterString(const std::string& text, int width, char fill) {
    return Centered(text, width < 500 ? width : 499, fill);
}

char GetFirstChar(const std::string& text) { return text.empty() ? '\0' : text[0]; }

bool HasNoLetters(const std::string& text) {
    return text.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") == std::string::npos;
}

// --- Search and reshape ----------------------------------------------------------------------

int FindInString(const std::string& text, const std::string& pattern, int caseFlag) {
    if (text.empty())
        return -1;
    const size_t at = caseFlag == 1 ? text.find(pattern) : UpperText(text).find(UpperText(pattern));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

void ReplaceInString(std::string& text, const std::string& find, const std::string& replacement,
                     int caseFlag) {
    if (find.empty())
        return;
    const std::string pattern = caseFlag == 1 ? find : UpperText(find);
    size_t from = 0;
    while (from < text.size()) {
        const std::string rest = text.substr(from);
        const size_t at = caseFlag == 1 ? rest.find(pattern) : UpperText(rest).find(pattern);
        if (at == std::string::npos)
            break;
        text.replace(from + at, find.size(), replacement);
        from += at + replacement.size();
    }
}

int SplitString(const std::string& text, const std::string& separator,
                std::vector<std::string>& pieces, int maximum, int wholeSeparator) {
    pieces.clear();
    int count = 0;
    if (separator.empty()) {
        if (!text.empty()) {
            pieces.push_back(text);
            ++count;
        }
        return count;
    }
    size_t pos = 0;
    for (;;) {
        const size_t at = wholeSeparator ? text.find(separator, pos)
                                         : text.find_first_of(separator, pos);
        if (at == std::string::npos)
            break;
        std::string piece = text.substr(pos, at - pos);
        pos = at + (wholeSeparator ? separator.size() : 1);
        if (wholeSeparator || count > 0 || !piece.empty()) {
            pieces.push_back(std::move(piece));
            ++count;
            if (maximum > 0 && count >= maximum)
                return count;
        }
    }
    if (pos < text.size()) {
        pieces.push_back(text.substr(pos));
        ++count;
    }
    return count;
}

void JoinStrings(const std::vector<std::string>& list, std::string& out,
                 const std::string& separator) {
    for (const std::string& entry : list) {
        out += entry;
        out += separator;
    }
}

void SplitEditLines(const std::string& text, std::vector<std::string>& lines) {
    lines.clear();
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(from, end - from);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        from = end + 1;
    }
}

void RemoveEmptyStrings(std::vector<std::string>& list) {
    for (size_t i = list.size(); i-- > 0;) {
        list[i] = StripTrailingBlanks(list[i]);
        if (list[i].empty())
            list.erase(list.begin() + static_cast<ptrdiff_t>(i));
    }
}

std::string StripTrailingBlanks(const std::string& text) {
    size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    return text.substr(0, end);
}

std::string StripExtension(const std::string& path) {
    const size_t dot = path.rfind('.');
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string GetFileNamePart(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string GetFileTitle(const std::string& path) { return StripExtension(GetFileNamePart(path)); }

void FormatString260(char* buffer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatIntoBuffer(buffer, 260, format, args);
    va_end(args);
}

void FormatString200(char* buffer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatIntoBuffer(buffer, 200, format, args);
    va_end(args);
}

void FormatString80(char* buffer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatIntoBuffer(buffer, 80, format, args);
    va_end(args);
}
