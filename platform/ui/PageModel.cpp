#include "platform/ui/PageModel.h"

#include <algorithm>
#include <map>

namespace ui {

const RecordedText* RecordedPage::Find(std::string_view text) const
{
    for (const RecordedText& item : texts)
        if (item.text == text)
            return &item;
    return nullptr;
}

std::vector<std::string> RecordedPage::TextLines() const
{
    std::map<int, std::vector<const RecordedText*>> byY;
    for (const RecordedText& item : texts)
        byY[item.y].push_back(&item);
    std::vector<std::string> lines;
    for (auto& [y, items] : byY) {
        std::stable_sort(items.begin(), items.end(),
                         [](const RecordedText* a, const RecordedText* b) { return a->x < b->x; });
        std::string line;
        for (const RecordedText* item : items) {
            if (!line.empty())
                line += ' ';
            line += item->text;
        }
        lines.push_back(line);
    }
    return lines;
}

} // namespace ui
