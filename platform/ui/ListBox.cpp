#include "platform/ui/ListBox.h"

#include "platform/ui/DialogTemplate.h"
#include "platform/ui/ItemSearch.h"
#include "platform/ui/WindowImpl.h"

#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace ui {

namespace {

QListWidget* List(const Window& w) { return qobject_cast<QListWidget*>(w.GetWidget()); }

bool LessNoCase(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

// Draws a line's tab-separated columns at the list's tab stops (dialog units).
class TabStopDelegate : public QStyledItemDelegate {
public:
    TabStopDelegate(std::vector<int> stops, QObject* parent)
        : QStyledItemDelegate(parent), stops_(std::move(stops)) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        QStyledItemDelegate::paint(painter, opt, index);
        painter->save();
        painter->setPen(opt.state & QStyle::State_Selected
                            ? opt.palette.color(QPalette::HighlightedText)
                            : opt.palette.color(QPalette::Text));
        const QStringList parts = text.split('\t');
        int x = opt.rect.left() + 2;
        for (int i = 0; i < parts.size(); ++i) {
            if (i > 0) x = opt.rect.left() + 2 + StopPixels(i - 1, x - opt.rect.left() - 2);
            painter->drawText(QRect(x, opt.rect.top(), opt.rect.right() - x, opt.rect.height()),
                              Qt::AlignVCenter | Qt::AlignLeft, parts[i]);
            x += opt.fontMetrics.horizontalAdvance(parts[i]);
        }
        painter->restore();
    }

private:
    // The first stop beyond `used` pixels; past the last given stop, every 32 units (or the
    // distance of the single stop given).
    int StopPixels(int, int used) const
    {
        int last = 0;
        for (int s : stops_) {
            last = DluToPixelsX(s);
            if (last > used) return last;
        }
        const int step = DluToPixelsX(stops_.size() == 1 ? std::max(1, stops_[0]) : 32);
        int x = stops_.size() == 1 ? 0 : last;
        while (x <= used) x += step;
        return x;
    }

    std::vector<int> stops_;
};

}  // namespace

int ListBox::AddString(const std::string& text)
{
    QListWidget* l = List(*this);
    if (!l) return LB_ERR;
    const QString q = ToQ(text);
    int at = l->count();
    if (l->property("ui.sort").toBool()) {
        at = 0;
        while (at < l->count() && !LessNoCase(q, l->item(at)->text())) ++at;
    }
    ProgramChange change(*this);
    l->insertItem(at, q);
    return at;
}

int ListBox::InsertString(int index, const std::string& text)
{
    QListWidget* l = List(*this);
    if (!l || index > l->count()) return LB_ERR;
    if (index < 0) index = l->count();
    ProgramChange change(*this);
    l->insertItem(index, ToQ(text));
    return index;
}

int ListBox::DeleteString(int index)
{
    QListWidget* l = List(*this);
    if (!l || index < 0 || index >= l->count()) return LB_ERR;
    ProgramChange change(*this);
    delete l->takeItem(index);
    return l->count();
}

void ListBox::ResetContent()
{
    if (QListWidget* l = List(*this)) {
        ProgramChange change(*this);
        l->clear();
    }
}

int ListBox::GetCount() const
{
    QListWidget* l = List(*this);
    return l ? l->count() : 0;
}

std::string ListBox::GetText(int index) const
{
    QListWidget* l = List(*this);
    if (!l || index < 0 || index >= l->count()) return {};
    return FromQ(l->item(index)->text());
}

int ListBox::SetItemData(int index, intptr_t data)
{
    QListWidget* l = List(*this);
    if (!l || index < 0 || index >= l->count()) return LB_ERR;
    l->item(index)->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(data));
    return 0;
}

intptr_t ListBox::GetItemData(int index) const
{
    QListWidget* l = List(*this);
    if (!l || index < 0 || index >= l->count()) return LB_ERR;
    return static_cast<intptr_t>(l->item(index)->data(Qt::UserRole).toLongLong());
}

int ListBox::FindString(int start, const std::string& text) const
{
    QListWidget* l = List(*this);
    if (!l) return LB_ERR;
    return FindItemText(l->count(), start, ToQ(text), false, [l](int i) { return l->item(i)->text(); });
}

int ListBox::FindStringExact(int start, const std::string& text) const
{
    QListWidget* l = List(*this);
    if (!l) return LB_ERR;
    return FindItemText(l->count(), start, ToQ(text), true, [l](int i) { return l->item(i)->text(); });
}

int ListBox::SelectString(int start, const std::string& text)
{
    const int i = FindString(start, text);
    if (i != LB_ERR) SetCurSel(i);
    return i;
}

int ListBox::GetCurSel() const
{
    QListWidget* l = List(*this);
    if (!l) return LB_ERR;
    if (IsMultipleSelection()) return l->currentRow();
    const QList<QListWidgetItem*> sel = l->selectedItems();
    return sel.isEmpty() ? LB_ERR : l->row(sel.front());
}

int ListBox::SetCurSel(int index)
{
    QListWidget* l = List(*this);
    if (!l || index >= l->count()) return LB_ERR;
    ProgramChange change(*this);
    if (index < 0) {
        l->clearSelection();
        l->setCurrentRow(-1, QItemSelectionModel::Clear);
        return LB_ERR;
    }
    l->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    l->scrollToItem(l->item(index));
    return index;
}

int ListBox::GetSel(int index) const
{
    QListWidget* l = List(*this);
    if (!l || index < 0 || index >= l->count()) return LB_ERR;
    return l->item(index)->isSelected() ? 1 : 0;
}

int ListBox::SetSel(int index, bool select)
{
    QListWidget* l = List(*this);
    if (!l || index >= l->count()) return LB_ERR;
    ProgramChange change(*this);
    if (index < 0) {
        for (int i = 0; i < l->count(); ++i) l->item(i)->setSelected(select);
    } else {
        l->item(index)->setSelected(select);
    }
    return 0;
}

int ListBox::GetSelCount() const
{
    QListWidget* l = List(*this);
    return l ? static_cast<int>(l->selectedItems().size()) : LB_ERR;
}

std::vector<int> ListBox::GetSelItems() const
{
    std::vector<int> rows;
    QListWidget* l = List(*this);
    if (!l) return rows;
    for (int i = 0; i < l->count(); ++i)
        if (l->item(i)->isSelected()) rows.push_back(i);
    return rows;
}

int ListBox::GetCaretIndex() const
{
    QListWidget* l = List(*this);
    return l ? l->currentRow() : LB_ERR;
}

int ListBox::GetTopIndex() const
{
    QListWidget* l = List(*this);
    if (!l || l->count() == 0) return 0;
    const QModelIndex top = l->indexAt(QPoint(1, 1));
    if (top.isValid()) return top.row();
    return l->verticalScrollBar() ? l->verticalScrollBar()->value() : 0;
}

int ListBox::SetTopIndex(int index)
{
    QListWidget* l = List(*this);
    if (!l || index < 0 || index >= l->count()) return LB_ERR;
    l->scrollToItem(l->item(index), QAbstractItemView::PositionAtTop);
    return 0;
}

int ListBox::ItemFromPoint(int x, int y) const
{
    QListWidget* l = List(*this);
    if (!l) return LB_ERR;
    const QRect client = l->viewport()->rect();
    if (!client.contains(x, y)) return LB_ERR;
    const QModelIndex index = l->indexAt(QPoint(x, y));
    return index.isValid() ? index.row() : LB_ERR;
}

DCRect ListBox::GetItemRect(int index) const
{
    QListWidget* l = List(*this);
    if (!l || index < 0 || index >= l->count()) return {};
    const QRect r = l->visualItemRect(l->item(index));
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void ListBox::SetTabStops(const std::vector<int>& stops)
{
    QListWidget* l = List(*this);
    if (!l) return;
    delete l->itemDelegate();
    l->setItemDelegate(new TabStopDelegate(stops, l));
}

void ListBox::SetHorizontalExtent(int pixels)
{
    QListWidget* l = List(*this);
    if (!l) return;
    l->setProperty("ui.hextent", pixels);
    l->setHorizontalScrollBarPolicy(pixels > l->viewport()->width() ? Qt::ScrollBarAlwaysOn
                                                                    : Qt::ScrollBarAsNeeded);
}

int ListBox::GetHorizontalExtent() const
{
    QListWidget* l = List(*this);
    return l ? l->property("ui.hextent").toInt() : 0;
}

bool ListBox::IsMultipleSelection() const
{
    QListWidget* l = List(*this);
    return l && l->selectionMode() != QAbstractItemView::SingleSelection;
}

}  // namespace ui
