#include "platform/ui/Dialog.h"

#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/MonthCalendar.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/RadioButton.h"
#include "platform/ui/SpinButton.h"
#include "platform/ui/TestHooks.h"
#include "platform/ui/WindowImpl.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

#include <cstdio>
#include <cstdlib>

namespace ui {

int DluToPixelsX(int dlu) { return dlu * 6 / 4; }
int DluToPixelsY(int dlu) { return dlu * 13 / 8; }

namespace {

DialogLifeHook& LifeHook()
{
    static DialogLifeHook hook;
    return hook;
}

QWidget* MakeSpinWidget(QWidget* host, bool horizontal)
{
    auto* w = new QWidget(host);
    auto* box = horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(w))
                           : static_cast<QBoxLayout*>(new QVBoxLayout(w));
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    auto* up = new QToolButton(w);
    auto* down = new QToolButton(w);
    up->setObjectName("up");
    down->setObjectName("down");
    up->setArrowType(horizontal ? Qt::RightArrow : Qt::UpArrow);
    down->setArrowType(horizontal ? Qt::LeftArrow : Qt::DownArrow);
    up->setAutoRepeat(true);
    down->setAutoRepeat(true);
    up->setFocusPolicy(Qt::NoFocus);
    down->setFocusPolicy(Qt::NoFocus);
    if (horizontal) {
        box->addWidget(down);
        box->addWidget(up);
    } else {
        box->addWidget(up);
        box->addWidget(down);
    }
    w->setProperty("ui.lo", 0);
    w->setProperty("ui.hi", 100);
    w->setProperty("ui.pos", 0);
    w->setFixedWidth(18);
    return w;
}

// Makes the control object and its widget; wires the user's actions to notifications.
std::unique_ptr<Window> MakeControl(const ControlTemplate& c, QWidget* host)
{
    const QString text = ToQ(c.text ? c.text : "");
    std::unique_ptr<Window> control;
    QWidget* widget = nullptr;
    switch (c.kind) {
    case Ctl::Label: {
        control = std::make_unique<Label>();
        auto* l = new QLabel(text, host);
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(c.x >= 0);
        if (c.style & SS_CENTER) l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        if (c.style & SS_RIGHT) l->setAlignment(Qt::AlignRight | Qt::AlignTop);
        if (c.style & SS_SUNKEN) l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        widget = l;
        break;
    }
    case Ctl::Edit: {
        control = std::make_unique<EditBox>();
        const int caseStyle = (c.style & ES_UPPERCASE) ? 1 : (c.style & ES_LOWERCASE) ? 2 : 0;
        if (c.style & ES_MULTILINE) {
            auto* e = new QPlainTextEdit(host);
            e->setPlainText(text);
            e->setReadOnly(c.style & ES_READONLY);
            e->setTabChangesFocus(true);
            e->setProperty("ui.wantreturn", (c.style & ES_WANTRETURN) != 0);
            e->setProperty("ui.case", caseStyle);
            widget = e;
        } else {
            auto* e = new QLineEdit(text, host);
            e->setReadOnly(c.style & ES_READONLY);
            if (c.style & ES_PASSWORD) e->setEchoMode(QLineEdit::Password);
            if (c.style & ES_RIGHT) e->setAlignment(Qt::AlignRight);
            SetLineEditRules(e, caseStyle, (c.style & ES_NUMBER) != 0);
            widget = e;
        }
        break;
    }
    case Ctl::Button:
    case Ctl::DefButton: {
        control = std::make_unique<Button>();
        auto* b = new QPushButton(text, host);
        b->setAutoDefault(false);
        b->setDefault(c.kind == Ctl::DefButton);
        widget = b;
        break;
    }
    case Ctl::CheckBox: {
        control = std::make_unique<CheckBox>();
        widget = new QCheckBox(text, host);
        break;
    }
    case Ctl::Radio: {
        control = std::make_unique<RadioButton>();
        auto* r = new QRadioButton(text, host);
        r->setAutoExclusive(false);
        widget = r;
        break;
    }
    case Ctl::GroupBox: {
        control = std::make_unique<Window>();
        widget = new QGroupBox(text, host);
        break;
    }
    case Ctl::ListBox: {
        control = std::make_unique<ListBox>();
        auto* l = new QListWidget(host);
        l->setSelectionMode(c.style & LBS_MULTIPLESEL   ? QAbstractItemView::MultiSelection
                            : c.style & LBS_EXTENDEDSEL ? QAbstractItemView::ExtendedSelection
                                                        : QAbstractItemView::SingleSelection);
        l->setProperty("ui.sort", (c.style & LBS_SORT) != 0);
        l->setProperty("ui.tabs", (c.style & LBS_USETABSTOPS) != 0);
        widget = l;
        break;
    }
    case Ctl::ComboBox: {
        control = std::make_unique<ComboBox>();
        auto* cb = new QComboBox(host);
        cb->setEditable(c.style & CBS_DROPDOWN);
        cb->setInsertPolicy(QComboBox::NoInsert);
        cb->setProperty("ui.sort", (c.style & CBS_SORT) != 0);
        if (cb->isEditable()) cb->setEditText(text);
        widget = cb;
        break;
    }
    case Ctl::Spin: {
        control = std::make_unique<SpinButton>();
        widget = MakeSpinWidget(host, c.style & UDS_HORZ);
        widget->setProperty("ui.buddyint", (c.style & UDS_SETBUDDYINT) != 0);
        break;
    }
    case Ctl::Progress: {
        control = std::make_unique<ProgressBar>();
        auto* p = new QProgressBar(host);
        p->setRange(0, 100);
        p->setValue(0);
        widget = p;
        break;
    }
    case Ctl::MonthCalendar: {
        control = std::make_unique<MonthCalendar>();
        widget = new QCalendarWidget(host);
        break;
    }
    case Ctl::Frame: {
        control = std::make_unique<Window>();
        auto* f = new QFrame(host);
        f->setFrameStyle(QFrame::Box | QFrame::Plain);
        widget = f;
        break;
    }
    }
    control->SetDlgCtrlID(c.id);
    WindowAccess::Attach(*control, widget, nullptr, c.kind == Ctl::Frame);
    if (c.style & WS_DISABLED) widget->setEnabled(false);
    if (c.style & WS_HIDDEN) widget->setVisible(false);
    if (c.kind == Ctl::Label || c.kind == Ctl::GroupBox || c.kind == Ctl::Progress ||
        c.kind == Ctl::Frame)
        widget->setFocusPolicy(Qt::NoFocus);
    return control;
}

// Wires the control's user actions to the notifications its parent receives. The context object
// is the control's inside, so that a control handed to another object (subclassing) notifies as
// the new one and nothing fires after it is gone.
void WireControl(Window& control, Ctl kind)
{
    Window::Impl* impl = WindowAccess::Get(control);
    QWidget* w = impl->widget;
    auto notify = [impl](int code) { NotifyParent(*impl->owner, code); };
    auto notifyAlways = [impl](int code) { NotifyParentAlways(*impl->owner, code); };
    switch (kind) {
    case Ctl::Edit:
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            QObject::connect(e, &QLineEdit::textChanged, impl,
                             [notifyAlways](const QString&) { notifyAlways(EN_CHANGE); });
        } else if (auto* m = qobject_cast<QPlainTextEdit*>(w)) {
            QObject::connect(m, &QPlainTextEdit::textChanged, impl, [impl, m, notifyAlways]() {
                const int limit = m->property("ui.limit").toInt();
                if (limit > 0 && m->toPlainText().size() > limit) {
                    QSignalBlocker block(m);
                    QTextCursor cursor = m->textCursor();
                    m->setPlainText(m->toPlainText().left(limit));
                    cursor.setPosition(limit);
                    m->setTextCursor(cursor);
                }
                notifyAlways(EN_CHANGE);
                (void)impl;
            });
        }
        break;
    case Ctl::Button:
    case Ctl::DefButton:
    case Ctl::CheckBox:
        QObject::connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, impl,
                         [notify]() { notify(BN_CLICKED); });
        break;
    case Ctl::Radio:
        QObject::connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, impl,
                         [impl, notify]() {
                             // An automatic radio button: checks itself, clears its group.
                             auto* self = static_cast<QRadioButton*>(impl->widget.data());
                             self->setChecked(true);
                             const QVariant group = self->property("ui.group");
                             for (QRadioButton* other :
                                  self->parentWidget()->findChildren<QRadioButton*>(
                                      QString(), Qt::FindDirectChildrenOnly)) {
                                 if (other != self && other->property("ui.group") == group)
                                     other->setChecked(false);
                             }
                             notify(BN_CLICKED);
                         });
        break;
    case Ctl::ListBox: {
        auto* l = static_cast<QListWidget*>(w);
        QObject::connect(l, &QListWidget::itemSelectionChanged, impl,
                         [notify]() { notify(LBN_SELCHANGE); });
        QObject::connect(l, &QListWidget::itemDoubleClicked, impl,
                         [notify](QListWidgetItem*) { notify(LBN_DBLCLK); });
        break;
    }
    case Ctl::ComboBox: {
        auto* cb = static_cast<QComboBox*>(w);
        QObject::connect(cb, &QComboBox::activated, impl, [notify](int) { notify(CBN_SELCHANGE); });
        if (cb->lineEdit())
            QObject::connect(cb->lineEdit(), &QLineEdit::textEdited, impl,
                             [notify](const QString&) { notify(CBN_EDITCHANGE); });
        break;
    }
    case Ctl::Spin: {
        auto* up = w->findChild<QToolButton*>("up");
        auto* down = w->findChild<QToolButton*>("down");
        QObject::connect(up, &QToolButton::clicked, impl, [impl]() {
            static_cast<SpinButton*>(impl->owner)->Step(+1);
        });
        QObject::connect(down, &QToolButton::clicked, impl, [impl]() {
            static_cast<SpinButton*>(impl->owner)->Step(-1);
        });
        break;
    }
    case Ctl::MonthCalendar:
        QObject::connect(static_cast<QCalendarWidget*>(w), &QCalendarWidget::clicked, impl,
                         [notify](QDate) { notify(MCN_SELCHANGE); });
        break;
    default:
        break;
    }
}

bool IsField(Ctl kind)
{
    return kind == Ctl::Edit || kind == Ctl::ComboBox || kind == Ctl::ListBox ||
           kind == Ctl::MonthCalendar || kind == Ctl::Progress;
}

}  // namespace

void SetDialogLifeHook(DialogLifeHook hook) { LifeHook() = std::move(hook); }

Dialog::Dialog(const DialogTemplate& tmpl, Window* parent) : tmpl_(tmpl)
{
    WindowAccess::SetParent(*this, parent);
    SetDlgCtrlID(tmpl.id);
    for (const ControlTemplate& c : tmpl_.controls)
        if (c.kind == Ctl::DefButton) defId_ = c.id;
}

Dialog::~Dialog() { DestroyDialogWindow(); }

void Dialog::BuildControls(QWidget* host)
{
    bool allPlaced = !tmpl_.controls.empty();
    for (const ControlTemplate& c : tmpl_.controls)
        if (c.x < 0) allPlaced = false;

    std::vector<std::pair<const ControlTemplate*, Window*>> made;
    int group = 0;
    Ctl previous = Ctl::Label;
    bool first = true;
    for (const ControlTemplate& c : tmpl_.controls) {
        std::unique_ptr<Window> control = MakeControl(c, host);
        WindowAccess::SetParent(*control, this);
        if (c.kind == Ctl::Radio) {
            if (first || previous != Ctl::Radio || (c.style & WS_GROUP)) ++group;
            control->GetWidget()->setProperty("ui.group", group);
        }
        previous = c.kind;
        first = false;
        if (c.kind == Ctl::Spin && (c.style & UDS_AUTOBUDDY) && !made.empty()) {
            static_cast<SpinButton*>(control.get())->SetBuddy(made.back().second);
        }
        WireControl(*control, c.kind);
        if (c.id != -1 && !controls_.count(c.id)) controls_[c.id] = control.get();
        made.emplace_back(&c, control.get());
        owned_.push_back(std::move(control));
    }

    if (allPlaced) {
        for (auto& [c, w] : made)
            w->GetWidget()->setGeometry(DluToPixelsX(c->x), DluToPixelsY(c->y),
                                        DluToPixelsX(c->cx), DluToPixelsY(c->cy));
        if (tmpl_.cx > 0 && tmpl_.cy > 0)
            host->resize(DluToPixelsX(tmpl_.cx), DluToPixelsY(tmpl_.cy));
        return;
    }

    // Laid out from order and kind: rows of [label | field | spin], buttons in one row below.
    auto* outer = new QVBoxLayout(host);
    auto* fields = new QWidget(host);
    auto* grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    outer->addWidget(fields);
    outer->addStretch(1);
    outer->addLayout(buttons);
    int row = 0;
    for (size_t i = 0; i < made.size(); ++i) {
        const ControlTemplate& c = *made[i].first;
        QWidget* w = made[i].second->GetWidget();
        auto nextKind = [&](size_t k) { return k < made.size() ? made[k].first->kind : Ctl::Frame; };
        switch (c.kind) {
        case Ctl::Button:
        case Ctl::DefButton:
            buttons->addWidget(w);
            break;
        case Ctl::Label:
            if (i + 1 < made.size() && IsField(nextKind(i + 1))) {
                grid->addWidget(w, row, 0);
                ++i;
                grid->addWidget(made[i].second->GetWidget(), row, 1);
                if (nextKind(i + 1) == Ctl::Spin) {
                    ++i;
                    grid->addWidget(made[i].second->GetWidget(), row, 2);
                }
                ++row;
            } else {
                grid->addWidget(w, row++, 0, 1, 3);
            }
            break;
        case Ctl::Spin:
            grid->addWidget(w, row++, 2);
            break;
        default:
            if (IsField(c.kind)) {
                grid->addWidget(w, row, 1);
                if (nextKind(i + 1) == Ctl::Spin) {
                    ++i;
                    grid->addWidget(made[i].second->GetWidget(), row, 2);
                }
                ++row;
            } else {
                if (c.kind == Ctl::Frame) w->setMinimumHeight(std::max(20, DluToPixelsY(c.cy)));
                grid->addWidget(w, row++, 0, 1, 3);
            }
            break;
        }
    }
    grid->setColumnStretch(1, 1);
    if (tmpl_.cx > 0) host->setMinimumWidth(DluToPixelsX(tmpl_.cx));

    // Fields taller than the screen scroll, so that the buttons below them stay reachable.
    QScreen* screen = QGuiApplication::primaryScreen();
    const int limit = screen ? std::max(300, screen->availableGeometry().height() - 220) : 0;
    if (limit > 0 && fields->sizeHint().height() > limit) {
        auto* scroll = new QScrollArea(host);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        outer->replaceWidget(fields, scroll);
        scroll->setWidget(fields);
        scroll->setMinimumHeight(limit);
        scroll->setMinimumWidth(fields->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width());
    }
}

bool Dialog::BuildWindow(Window* parent)
{
    if (!QApplication::instance()) return false;
    QWidget* parentWidget = parent ? parent->GetWidget() : nullptr;
    // A dialog without an owner belongs to the window in front, so it opens over it.
    if (!parentWidget) parentWidget = DefaultOwnerWidget();
    if (parentWidget) parentWidget = parentWidget->window();
    auto* widget = new QWidget(parentWidget, Qt::Dialog);
    widget->setWindowTitle(ToQ(tmpl_.caption));
    WindowAccess::Attach(*this, widget, parent, false);
    BuildControls(widget);
    return true;
}

void Dialog::DestroyDialogWindow()
{
    if (!created_) return;
    if (loop_) static_cast<QEventLoop*>(loop_)->exit(0);
    DestroyWindow();
    controls_.clear();
    owned_.clear();
    created_ = false;
    if (LifeHook()) LifeHook()(*this, false);
}

int Dialog::DoModal()
{
    if (created_) return IDCANCEL;
    modal_ = true;
    ended_ = false;
    result_ = IDCANCEL;
    if (!BuildWindow(GetParent())) {
        modal_ = false;
        return IDCANCEL;
    }
    created_ = true;
    if (LifeHook()) LifeHook()(*this, true);
    QWidget* widget = GetWidget();
    widget->setWindowModality(Qt::ApplicationModal);
    if (OnInitDialog() && !ended_) {
        for (const ControlTemplate& c : tmpl_.controls) {
            Window* w = GetDlgItem(c.id);
            QWidget* cw = w ? w->GetWidget() : nullptr;
            if (cw && cw->isEnabled() && !cw->isHidden() && (cw->focusPolicy() & Qt::TabFocus)) {
                w->SetFocus();
                break;
            }
        }
    }
    test::Hooks& hooks = test::GetHooks();
    if (!ended_) {
        if (hooks.driveDialogs) {
            hooks.dialogsRun.push_back(tmpl_.id);
            widget->show();
            if (hooks.dialogScripts.empty()) {
                test::AddFailure("unexpected dialog " + std::to_string(tmpl_.id) + " \"" +
                                 GetWindowText() + "\"");
                EndDialog(IDCANCEL);
            } else {
                auto script = std::move(hooks.dialogScripts.front());
                hooks.dialogScripts.pop_front();
                script(*this);
                if (!ended_) {
                    test::AddFailure("dialog " + std::to_string(tmpl_.id) +
                                     " left open by its script");
                    EndDialog(IDCANCEL);
                }
            }
        } else {
            CenterWindow();
            widget->show();
            widget->activateWindow();
            QEventLoop loop;
            loop_ = &loop;
            ArrowWhileAsking arrow;
            if (!ended_) loop.exec(QEventLoop::DialogExec);
            loop_ = nullptr;
        }
    }
    DestroyDialogWindow();
    modal_ = false;
    return result_;
}

bool Dialog::Create(Window* parent)
{
    if (created_) return true;
    modal_ = false;
    ended_ = false;
    if (!BuildWindow(parent)) return false;
    created_ = true;
    if (LifeHook()) LifeHook()(*this, true);
    OnInitDialog();
    if (!ended_) GetWidget()->show();
    return true;
}

void Dialog::EndDialog(int result)
{
    result_ = result;
    ended_ = true;
    if (QWidget* w = GetWidget()) w->hide();
    if (loop_) static_cast<QEventLoop*>(loop_)->exit(0);
}

bool Dialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void Dialog::DoDataExchange(DataExchange&) {}

void Dialog::OnOK()
{
    if (!UpdateData(true)) return;
    EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

bool Dialog::OnCommand(int id, int code)
{
    if (code != BN_CLICKED) return false;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void Dialog::OnClose() { OnCommand(IDCANCEL, BN_CLICKED); }

bool Dialog::UpdateData(bool save)
{
    try {
        DataExchange dx(*this, save);
        DoDataExchange(dx);
        return true;
    } catch (const DataExchangeError& e) {
        MessageBox(e.message, MB_OK | MB_ICONEXCLAMATION);
        if (Window* w = GetDlgItem(e.id)) w->SetFocus();
        return false;
    }
}

Window* Dialog::GetDlgItem(int id) const
{
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

EditBox* Dialog::Edit(int id) const { return dynamic_cast<EditBox*>(GetDlgItem(id)); }
Label* Dialog::Static(int id) const { return dynamic_cast<Label*>(GetDlgItem(id)); }
Button* Dialog::PushButton(int id) const { return dynamic_cast<Button*>(GetDlgItem(id)); }
CheckBox* Dialog::Check(int id) const { return dynamic_cast<CheckBox*>(GetDlgItem(id)); }
RadioButton* Dialog::Radio(int id) const { return dynamic_cast<RadioButton*>(GetDlgItem(id)); }
ListBox* Dialog::List(int id) const { return dynamic_cast<ListBox*>(GetDlgItem(id)); }
ComboBox* Dialog::Combo(int id) const { return dynamic_cast<ComboBox*>(GetDlgItem(id)); }
SpinButton* Dialog::Spin(int id) const { return dynamic_cast<SpinButton*>(GetDlgItem(id)); }
ProgressBar* Dialog::Progress(int id) const { return dynamic_cast<ProgressBar*>(GetDlgItem(id)); }
MonthCalendar* Dialog::Calendar(int id) const
{
    return dynamic_cast<MonthCalendar*>(GetDlgItem(id));
}

bool Dialog::SubclassDlgItem(int id, Window& control)
{
    Window* old = GetDlgItem(id);
    if (!old || old == &control) return old != nullptr;
    WindowAccess::Transfer(*old, control);
    controls_[id] = &control;
    // The template's object has given its window away; it is dropped with the dialog's window.
    return true;
}

void Dialog::SetDlgItemText(int id, const std::string& text)
{
    if (Window* w = GetDlgItem(id)) w->SetWindowText(text);
}

std::string Dialog::GetDlgItemText(int id) const
{
    Window* w = GetDlgItem(id);
    return w ? w->GetWindowText() : std::string();
}

void Dialog::SetDlgItemInt(int id, int value) { SetDlgItemText(id, std::to_string(value)); }

int Dialog::GetDlgItemInt(int id, bool* ok) const
{
    const std::string text = GetDlgItemText(id);
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    bool good = !text.empty() && end && end != text.c_str();
    while (good && *end == ' ') ++end;
    good = good && *end == '\0';
    if (ok) *ok = good;
    return good ? static_cast<int>(v) : 0;
}

void Dialog::CheckDlgButton(int id, int check)
{
    Window* w = GetDlgItem(id);
    if (auto* c = dynamic_cast<CheckBox*>(w)) c->SetCheck(check);
    else if (auto* r = dynamic_cast<RadioButton*>(w)) r->SetCheck(check);
}

int Dialog::IsDlgButtonChecked(int id) const
{
    Window* w = GetDlgItem(id);
    if (auto* c = dynamic_cast<CheckBox*>(w)) return c->GetCheck();
    if (auto* r = dynamic_cast<RadioButton*>(w)) return r->GetCheck();
    return 0;
}

void Dialog::CheckRadioButton(int first, int last, int id)
{
    for (auto& [cid, w] : controls_) {
        if (cid < first || cid > last) continue;
        if (auto* r = dynamic_cast<RadioButton*>(w)) r->SetCheck(cid == id ? 1 : 0);
    }
}

void Dialog::EnableDlgItem(int id, bool enable)
{
    if (Window* w = GetDlgItem(id)) w->EnableWindow(enable);
}

void Dialog::ShowDlgItem(int id, bool show)
{
    if (Window* w = GetDlgItem(id)) w->ShowWindow(show);
}

void Dialog::GotoDlgCtrl(int id)
{
    if (Window* w = GetDlgItem(id)) w->SetFocus();
}

int Dialog::GetFocusId() const
{
    QWidget* widget = GetWidget();
    if (!widget) return 0;
    Window* w = WindowFromWidget(widget->focusWidget());
    return w && w != this ? w->GetDlgCtrlID() : 0;
}

void Dialog::SetDefID(int id)
{
    if (auto* old = PushButton(defId_)) old->SetDefault(false);
    defId_ = id;
    if (auto* b = PushButton(id)) b->SetDefault(true);
}

bool Dialog::HandleDialogKey(int vk)
{
    QWidget* widget = GetWidget();
    if (!widget) return false;
    if (vk == VK_RETURN) {
        Window* focus = WindowFromWidget(widget->focusWidget());
        if (auto* b = dynamic_cast<Button*>(focus); b && b->IsWindowEnabled()) {
            if (Window* parent = b->GetParent()) parent->OnCommand(b->GetDlgCtrlID(), BN_CLICKED);
            return true;
        }
        Window* def = GetDlgItem(defId_);
        if (def && !def->IsWindowEnabled()) return true;
        OnCommand(defId_, BN_CLICKED);
        return true;
    }
    if (vk == VK_ESCAPE) {
        Window* cancel = GetDlgItem(IDCANCEL);
        if (cancel && !cancel->IsWindowEnabled()) return true;
        OnCommand(IDCANCEL, BN_CLICKED);
        return true;
    }
    return false;
}

}  // namespace ui
