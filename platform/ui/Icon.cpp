#include "platform/ui/Icon.h"

#include "platform/ui/WindowImpl.h"

#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace ui {

Icon::Icon() = default;

Icon Icon::Lettered(const std::string& letters, COLORREF background)
{
    Icon made;
    made.letters_ = letters.substr(0, 3);
    made.background_ = background;
    auto icon = std::make_shared<QIcon>();
    for (int side : {16, kSize, 48}) {
        QPixmap pixmap(side, side);
        pixmap.fill(QColor(GetRValue(background), GetGValue(background), GetBValue(background)));
        QPainter painter(&pixmap);
        QFont font("Liberation Sans");
        font.setBold(true);
        font.setPixelSize(made.letters_.size() > 1 ? side * 2 / 5 : side * 3 / 5);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(pixmap.rect(), Qt::AlignCenter, ToQ(made.letters_));
        painter.end();
        icon->addPixmap(pixmap);
    }
    made.icon_ = std::move(icon);
    return made;
}

} // namespace ui
