#pragma once
// printf-style formatting that always uses the "C" locale ('.' decimal point),
// whatever locale the process runs in.

#include <cstdarg>
#include <string>

std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* fmt, va_list args) __attribute__((format(printf, 1, 0)));
