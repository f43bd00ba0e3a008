#include "platform/ui/Font.h"

#include <algorithm>
#include <cctype>

namespace ui {

bool Font::IsFixedPitch() const
{
    std::string lower(face);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("courier") != std::string::npos || lower.find("mono") != std::string::npos ||
           lower == "fixedsys" || lower == "terminal";
}

} // namespace ui
