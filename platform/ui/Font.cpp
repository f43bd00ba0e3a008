#include "platform/ui/Font.h"

#include "platform/host/Text.h"

#include <QFontDatabase>
#include <QGuiApplication>

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

std::vector<std::string> GetFontFamilies()
{
    std::vector<std::string> names;
    if (!QGuiApplication::instance()) return names;
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family) || !QFontDatabase::isSmoothlyScalable(family))
            continue;
        const std::string utf8 = family.toStdString();
        std::string name;
        if (!host::Utf8ToCp1252(utf8, name)) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

} // namespace ui
