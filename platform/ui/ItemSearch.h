#pragma once
// The text search of list and combo boxes (FindString, FindStringExact): from the item after
// `start` (from the first when `start` is out of range) once round the list, without regard to
// case.

#include <QString>

namespace ui {

// The first item whose text begins with `text` (equals it when `exact`), or -1 when none does.
template <class TextOf>
int FindItemText(int count, int start, const QString& text, bool exact, TextOf textOf)
{
    const int from = (start < 0 || start >= count) ? 0 : start + 1;
    for (int k = 0; k < count; ++k) {
        const int i = (from + k) % count;
        const QString item = textOf(i);
        if (exact ? QString::compare(item, text, Qt::CaseInsensitive) == 0
                  : item.startsWith(text, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

}  // namespace ui
