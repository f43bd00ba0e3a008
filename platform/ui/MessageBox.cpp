#include "platform/ui/MessageBox.h"

#include "platform/ui/Application.h"
#include "platform/ui/TestHooks.h"
#include "platform/ui/WindowImpl.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace ui {

namespace {

std::vector<int> ButtonsOf(uint32_t style)
{
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
    }
}

// The answer of closing the box without a button: Cancel when offered, else No, else OK.
int EscapeAnswer(uint32_t style)
{
    const std::vector<int> buttons = ButtonsOf(style);
    for (int b : buttons)
        if (b == IDCANCEL) return b;
    for (int b : buttons)
        if (b == IDNO) return b;
    return buttons.front();
}

const char* ButtonText(int id)
{
    switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "&Abort";
    case IDRETRY: return "&Retry";
    case IDIGNORE: return "&Ignore";
    case IDYES: return "&Yes";
    case IDNO: return "&No";
    default: return "";
    }
}

int Scripted(const std::string& text, const std::string& caption, uint32_t style)
{
    test::Hooks& hooks = test::GetHooks();
    int answer;
    if (hooks.messageBoxAnswers.empty()) {
        test::AddFailure("unexpected message box: \"" + text + "\"");
        answer = ButtonsOf(style).front();
    } else {
        answer = hooks.messageBoxAnswers.front();
        hooks.messageBoxAnswers.pop_front();
        if (!IsAnswerOfStyle(answer, style)) {
            test::AddFailure("scripted answer " + std::to_string(answer) +
                             " is not a button of the box \"" + text + "\"");
        }
    }
    hooks.messageBoxTexts.push_back(text);
    hooks.messageBoxes.push_back({text, caption, style, answer});
    return answer;
}

}  // namespace

std::string JoinWrappedLines(const std::string& text)
{
    // A line this long that stops mid-sentence was broken for the width of a narrower box.
    constexpr size_t kWrappedLine = 30;
    std::string plain;
    plain.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) plain += text[i];
    std::string out;
    out.reserve(plain.size());
    size_t lineStart = 0;
    for (size_t i = 0; i < plain.size(); ++i) {
        if (plain[i] != '\n') {
            out += plain[i];
            continue;
        }
        std::string line = plain.substr(lineStart, i - lineStart);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        const char last = line.empty() ? 0 : line.back();
        const char next = i + 1 < plain.size() ? plain[i + 1] : 0;
        const bool midSentence = last != '.' && last != '?' && last != '!' && last != ':' && last != 0;
        const bool goesOn = next >= 'a' && next <= 'z';
        if (line.size() >= kWrappedLine && midSentence && goesOn) {
            while (!out.empty() && out.back() == ' ') out.pop_back();
            out += ' ';
        } else {
            out += '\n';
        }
        lineStart = i + 1;
    }
    return out;
}

bool IsAnswerOfStyle(int answer, uint32_t style)
{
    for (int b : ButtonsOf(style))
        if (b == answer) return true;
    return false;
}

int MessageBox(const std::string& text, uint32_t style, const std::string& caption,
               uint32_t help)
{
    (void)help;  // no help button: the platform's standard box shows none
    const std::string title = caption.empty() ? AppTitle() : caption;
    if (test::GetHooks().scriptMessageBoxes) return Scripted(text, title, style);
    if (!QApplication::instance()) return ButtonsOf(style).front();

    const QString body = ToQ(JoinWrappedLines(text));
    // Owned by the window in front, the box opens centred over it.
    QMessageBox box(DefaultOwnerWidget());
    box.setWindowTitle(ToQ(title));
    box.setText(body);
    switch (style & MB_ICONMASK) {
    case MB_ICONHAND: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONASTERISK: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    const std::vector<int> ids = ButtonsOf(style);
    std::vector<std::pair<QAbstractButton*, int>> buttons;
    for (int id : ids) {
        QPushButton* b = box.addButton(QString::fromLatin1(ButtonText(id)),
                                       id == EscapeAnswer(style) && ids.size() > 1
                                           ? QMessageBox::RejectRole
                                           : QMessageBox::AcceptRole);
        buttons.emplace_back(b, id);
    }
    const size_t def = (style & MB_DEFBUTTON2) && ids.size() > 1 ? 1 : 0;
    box.setDefaultButton(static_cast<QPushButton*>(buttons[def].first));
    box.setEscapeButton(buttons[ids.size() > 1 ? 0 : 0].first);
    for (auto& [b, id] : buttons)
        if (id == EscapeAnswer(style)) box.setEscapeButton(b);
    {
        ArrowWhileAsking arrow;
        box.exec();
    }
    QAbstractButton* clicked = box.clickedButton();
    for (auto& [b, id] : buttons)
        if (b == clicked) return id;
    return EscapeAnswer(style);
}

}  // namespace ui
