#pragma once
// Text conversion at the program's edges: inside, text is Windows-1252 bytes; file
// names, listings, process arguments and system texts outside are UTF-8.

#include <string>
#include <string_view>

namespace host {

// Windows-1252 -> UTF-8. Never fails: the five codes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same value.
std::string Cp1252ToUtf8(std::string_view text);

// UTF-8 -> Windows-1252. False (out cleared) when the text is not valid UTF-8 or holds a
// character Windows-1252 cannot hold.
bool Utf8ToCp1252(std::string_view text, std::string& out);

// UTF-8 -> Windows-1252, each character that cannot be held becoming '?'. For texts
// shown to the user (system error messages), never for names.
std::string Utf8ToCp1252Lossy(std::string_view text);

// Upper case of one Windows-1252 byte (ASCII and the accented Latin letters).
char UpperCp1252(char c);
// Comparison of two Windows-1252 texts without regard to case.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace host
