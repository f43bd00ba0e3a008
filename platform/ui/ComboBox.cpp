#include "platform/ui/ComboBox.h"

#include "platform/ui/ItemSearch.h"
#include "platform/ui/WindowImpl.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

namespace ui {

namespace {

QComboBox* Combo(const Window& w) { return qobject_cast<QComboBox*>(w.GetWidget()); }

// Scrolls an open list so that the kept top line stands at its top.
void ApplyTopIndex(QComboBox& c)
{
    const int top = c.property("ui.top").toInt();
    if (!c.view()->isVisible() || top < 0 || top >= c.count()) return;
    c.view()->scrollTo(c.model()->index(top, c.modelColumn()), QAbstractItemView::PositionAtTop);
}

}  // namespace

int ComboBox::InsertString(int index, const std::string& text)
{
    QComboBox* c = Combo(*this);
    if (!c || index > c->count()) return CB_ERR;
    if (index < 0) index = c->count();
    ProgramChange change(*this);
    const int current = c->currentIndex();
    const QString editText = c->isEditable() ? c->currentText() : QString();
    c->insertItem(index, ToQ(text));
    // Win32 selects nothing when lines are added; Qt would select the first and show its text.
    if (current < 0 && c->currentIndex() >= 0) {
        c->setCurrentIndex(-1);
        if (c->isEditable()) c->setEditText(editText);
    }
    return index;
}

int ComboBox::AddString(const std::string& text)
{
    QComboBox* c = Combo(*this);
    if (!c) return CB_ERR;
    int at = c->count();
    if (c->property("ui.sort").toBool()) {
        // After the last line that does not sort after it (the lines are kept in order).
        const QString q = ToQ(text);
        int low = 0;
        int high = c->count();
        while (low < high) {
            const int mid = low + (high - low) / 2;
            if (QString::compare(q, c->itemText(mid), Qt::CaseInsensitive) >= 0)
                low = mid + 1;
            else
                high = mid;
        }
        at = low;
    }
    return InsertString(at, text);
}

int ComboBox::DeleteString(int index)
{
    QComboBox* c = Combo(*this);
    if (!c || index < 0 || index >= c->count()) return CB_ERR;
    ProgramChange change(*this);
    const int current = c->currentIndex();
    c->removeItem(index);
    if (current == index && !c->isEditable()) c->setCurrentIndex(-1);
    return c->count();
}

void ComboBox::ResetContent()
{
    if (QComboBox* c = Combo(*this)) {
        ProgramChange change(*this);
        c->clear();
        if (c->isEditable()) c->setEditText(QString());
    }
}

int ComboBox::GetCount() const
{
    QComboBox* c = Combo(*this);
    return c ? c->count() : 0;
}

std::string ComboBox::GetLBText(int index) const
{
    QComboBox* c = Combo(*this);
    if (!c || index < 0 || index >= c->count()) return {};
    return FromQ(c->itemText(index));
}

int ComboBox::SetItemData(int index, intptr_t data)
{
    QComboBox* c = Combo(*this);
    if (!c || index < 0 || index >= c->count()) return CB_ERR;
    c->setItemData(index, QVariant::fromValue<qlonglong>(data));
    return 0;
}

intptr_t ComboBox::GetItemData(int index) const
{
    QComboBox* c = Combo(*this);
    if (!c || index < 0 || index >= c->count()) return CB_ERR;
    return static_cast<intptr_t>(c->itemData(index).toLongLong());
}

int ComboBox::FindString(int start, const std::string& text) const
{
    QComboBox* c = Combo(*this);
    if (!c) return CB_ERR;
    return FindItemText(c->count(), start, ToQ(text), false, [c](int i) { return c->itemText(i); });
}

int ComboBox::FindStringExact(int start, const std::string& text) const
{
    QComboBox* c = Combo(*this);
    if (!c) return CB_ERR;
    return FindItemText(c->count(), start, ToQ(text), true, [c](int i) { return c->itemText(i); });
}

int ComboBox::SelectString(int start, const std::string& text)
{
    const int i = FindString(start, text);
    if (i != CB_ERR) SetCurSel(i);
    return i;
}

int ComboBox::GetCurSel() const
{
    QComboBox* c = Combo(*this);
    if (!c) return CB_ERR;
    // An editable combo whose text was typed over has no selection.
    if (c->isEditable() && c->currentIndex() >= 0 &&
        c->currentText() != c->itemText(c->currentIndex()))
        return CB_ERR;
    return c->currentIndex();
}

int ComboBox::SetCurSel(int index)
{
    QComboBox* c = Combo(*this);
    if (!c || index >= c->count()) return CB_ERR;
    ProgramChange change(*this);
    c->setCurrentIndex(index < 0 ? -1 : index);
    if (index < 0 && c->isEditable()) c->setEditText(QString());
    return index < 0 ? CB_ERR : index;
}

void ComboBox::LimitText(int chars)
{
    QComboBox* c = Combo(*this);
    if (c && c->lineEdit()) c->lineEdit()->setMaxLength(chars > 0 ? chars : 32767);
}

bool ComboBox::IsEditable() const
{
    QComboBox* c = Combo(*this);
    return c && c->isEditable();
}

void ComboBox::ShowDropDown(bool show)
{
    QComboBox* c = Combo(*this);
    if (!c) return;
    if (show) {
        if (!c->view()->isVisible()) c->showPopup();
        ApplyTopIndex(*c);
    } else {
        c->hidePopup();
    }
}

bool ComboBox::GetDroppedState() const
{
    QComboBox* c = Combo(*this);
    return c && c->view()->isVisible();
}

int ComboBox::SetTopIndex(int index)
{
    QComboBox* c = Combo(*this);
    if (!c || index < 0 || index >= c->count()) return CB_ERR;
    c->setProperty("ui.top", index);
    ApplyTopIndex(*c);
    return 0;
}

int ComboBox::GetTopIndex() const
{
    QComboBox* c = Combo(*this);
    if (!c || c->count() == 0) return 0;
    if (c->view()->isVisible()) {
        const QModelIndex top = c->view()->indexAt(QPoint(1, 1));
        if (top.isValid()) return top.row();
    }
    return std::clamp(c->property("ui.top").toInt(), 0, c->count() - 1);
}

}  // namespace ui
