#include "platform/ui/EditBox.h"

#include "platform/ui/DialogTemplate.h"
#include "platform/ui/WindowImpl.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QValidator>

namespace ui {

namespace {

QLineEdit* Line(const Window& w) { return qobject_cast<QLineEdit*>(w.GetWidget()); }
QPlainTextEdit* Multi(const Window& w) { return qobject_cast<QPlainTextEdit*>(w.GetWidget()); }

// Upper or lower case as typed (ES_UPPERCASE, ES_LOWERCASE), digits only with ES_NUMBER.
class EditValidator : public QValidator {
public:
    EditValidator(int caseStyle, bool digits, QObject* parent)
        : QValidator(parent), case_(caseStyle), digits_(digits) {}
    State validate(QString& input, int&) const override
    {
        if (case_ == 1) input = input.toUpper();
        else if (case_ == 2) input = input.toLower();
        if (digits_) {
            for (QChar c : input)
                if (!c.isDigit()) return Invalid;
        }
        return Acceptable;
    }

private:
    int case_;
    bool digits_;
};

}  // namespace

void SetLineEditRules(QLineEdit* edit, int caseStyle, bool digitsOnly)
{
    edit->setProperty("ui.case", caseStyle);
    edit->setProperty("ui.number", digitsOnly);
    const QValidator* old = edit->validator();
    edit->setValidator(caseStyle || digitsOnly ? new EditValidator(caseStyle, digitsOnly, edit)
                                               : nullptr);
    delete dynamic_cast<const EditValidator*>(old);
}

void EditBox::SetCaseStyle(uint32_t style)
{
    const int caseStyle = (style & ES_UPPERCASE) ? 1 : (style & ES_LOWERCASE) ? 2 : 0;
    if (auto* e = Line(*this)) SetLineEditRules(e, caseStyle, e->property("ui.number").toBool());
    else if (auto* m = Multi(*this)) m->setProperty("ui.case", caseStyle);
}

uint32_t EditBox::GetCaseStyle() const
{
    QWidget* w = GetWidget();
    const int caseStyle = w ? w->property("ui.case").toInt() : 0;
    if (caseStyle == 1) return ES_UPPERCASE;
    return caseStyle == 2 ? ES_LOWERCASE : 0u;
}

void EditBox::SetLimitText(int chars)
{
    if (auto* e = Line(*this)) e->setMaxLength(chars > 0 ? chars : 32767);
    else if (auto* m = Multi(*this)) m->setProperty("ui.limit", chars > 0 ? chars : 0);
}

int EditBox::GetLimitText() const
{
    if (auto* e = Line(*this)) return e->maxLength();
    if (auto* m = Multi(*this)) return m->property("ui.limit").toInt();
    return 0;
}

void EditBox::SetReadOnly(bool readOnly)
{
    if (auto* e = Line(*this)) e->setReadOnly(readOnly);
    else if (auto* m = Multi(*this)) m->setReadOnly(readOnly);
}

bool EditBox::IsReadOnly() const
{
    if (auto* e = Line(*this)) return e->isReadOnly();
    if (auto* m = Multi(*this)) return m->isReadOnly();
    return false;
}

void EditBox::SetPasswordMode(bool password)
{
    if (auto* e = Line(*this)) e->setEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
}

bool EditBox::IsPasswordMode() const
{
    auto* e = Line(*this);
    return e && e->echoMode() == QLineEdit::Password;
}

void EditBox::SetSel(int start, int end)
{
    if (auto* e = Line(*this)) {
        const int len = static_cast<int>(e->text().size());
        if (end < 0 || end > len) end = len;
        if (start < 0) {
            e->deselect();
            return;
        }
        e->setSelection(start, end - start);
    } else if (auto* m = Multi(*this)) {
        QTextCursor c = m->textCursor();
        const int len = static_cast<int>(m->toPlainText().size());
        if (end < 0 || end > len) end = len;
        c.setPosition(std::min(std::max(start, 0), len));
        c.setPosition(end, QTextCursor::KeepAnchor);
        m->setTextCursor(c);
    }
}

void EditBox::GetSel(int& start, int& end) const
{
    start = end = 0;
    if (auto* e = Line(*this)) {
        if (e->hasSelectedText()) {
            start = e->selectionStart();
            end = e->selectionEnd();
        } else {
            start = end = e->cursorPosition();
        }
    } else if (auto* m = Multi(*this)) {
        start = m->textCursor().selectionStart();
        end = m->textCursor().selectionEnd();
    }
}

void EditBox::ReplaceSel(const std::string& text)
{
    if (auto* e = Line(*this)) e->insert(ToQ(text));
    else if (auto* m = Multi(*this)) {
        QString t = ToQ(text);
        m->insertPlainText(t.replace("\r\n", "\n"));
    }
}

int EditBox::GetLineCount() const
{
    if (auto* m = Multi(*this)) return m->document()->blockCount();
    return Line(*this) ? 1 : 0;
}

bool EditBox::IsMultiLine() const { return Multi(*this) != nullptr; }

}  // namespace ui
