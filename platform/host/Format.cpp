#include "platform/host/Format.h"

#include <clocale>
#include <cstdio>
#include <locale.h>
#include <vector>

namespace {

// The "C" locale, made once and kept for the life of the process.
locale_t CLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return loc;
}

// Switches this thread to the "C" locale for the scope.
class CLocaleScope {
public:
    CLocaleScope() {
        locale_t c = CLocale();
        if (c != static_cast<locale_t>(0)) previous_ = uselocale(c);
    }
    ~CLocaleScope() {
        if (previous_ != static_cast<locale_t>(0)) uselocale(previous_);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t previous_ = static_cast<locale_t>(0);
};

}  // namespace

std::string FormatV(const char* fmt, va_list args) {
    if (fmt == nullptr) return std::string();
    CLocaleScope scope;
    char small[512];
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
    std::vector<char> big(static_cast<size_t>(n) + 1);
    va_copy(copy, args);
    vsnprintf(big.data(), big.size(), fmt, copy);
    va_end(copy);
    return std::string(big.data(), static_cast<size_t>(n));
}

std::string Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string s = FormatV(fmt, args);
    va_end(args);
    return s;
}
