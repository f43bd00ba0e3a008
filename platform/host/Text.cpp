#include "platform/host/Text.h"

#include <cstdint>

namespace host {
namespace {

// Unicode of Windows-1252 0x80-0x9F; the five undefined codes keep their own value.
constexpr uint16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Windows-1252 byte of a code point, or -1.
int ToCp1252(uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == cp) return 0x80 + i;
    return -1;
}

// Decodes one UTF-8 sequence at text[i]; advances i. -1 when malformed.
int64_t DecodeUtf8(std::string_view text, size_t& i) {
    auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int len;
    uint32_t cp;
    uint32_t min;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2; cp = b0 & 0x1F; min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3; cp = b0 & 0x0F; min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4; cp = b0 & 0x07; min = 0x10000;
    } else {
        return -1;
    }
    if (i + static_cast<size_t>(len) > text.size()) return -1;
    for (int k = 1; k < len; ++k) {
        auto b = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
        if ((b & 0xC0) != 0x80) return -1;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
    i += static_cast<size_t>(len);
    return cp;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (char ch : text) {
        auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else if (b < 0xA0)
            AppendUtf8(out, kHigh[b - 0x80]);
        else
            AppendUtf8(out, b);
    }
    return out;
}

bool Utf8ToCp1252(std::string_view text, std::string& out) {
    out.clear();
    std::string result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        int64_t cp = DecodeUtf8(text, i);
        if (cp < 0) return false;
        int b = ToCp1252(static_cast<uint32_t>(cp));
        if (b < 0) return false;
        result += static_cast<char>(b);
    }
    out = std::move(result);
    return true;
}

std::string Utf8ToCp1252Lossy(std::string_view text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        int64_t cp = DecodeUtf8(text, i);
        if (cp < 0) {
            ++i;
            out += '?';
            continue;
        }
        int b = ToCp1252(static_cast<uint32_t>(cp));
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

char UpperCp1252(char c) {
    auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
    if (b == 0x9A || b == 0x9C || b == 0x9E) return static_cast<char>(b - 16);  // š œ ž
    if (b == 0xFF) return static_cast<char>(0x9F);                             // ÿ
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 32);
    return c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperCp1252(a[i]) != UpperCp1252(b[i])) return false;
    return true;
}

}  // namespace host
