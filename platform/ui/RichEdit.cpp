#include "platform/ui/RichEdit.h"

#include "platform/ui/WindowImpl.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTextOption>

#include <algorithm>

namespace ui {

namespace {

// Screen pixels per twip: the control lays text out at 96 pixels per inch.
constexpr double kTwipsPerPixel = 15.0;

QTextCharFormat CharFormat(const RtfRun& r)
{
    QTextCharFormat f;
    f.setFontFamilies({ToQ(r.face)});
    f.setFontPointSize(std::max(1, r.halfPoints) / 2.0);
    f.setFontWeight(r.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(r.italic);
    f.setFontUnderline(r.underline);
    return f;
}

RtfRun RunOf(const QTextCharFormat& f, const QString& text)
{
    RtfRun r;
    QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty()) r.face = FromQ(families.front());
    r.halfPoints = std::max(2, static_cast<int>(f.fontPointSize() * 2 + 0.5));
    r.bold = f.fontWeight() >= QFont::DemiBold;
    r.italic = f.fontItalic();
    r.underline = f.fontUnderline();
    QString t = text;
    t.replace(QChar(0x2029), QChar('\n'));
    t.replace(QChar(0x2028), QChar('\n'));
    r.text = FromQ(t);
    return r;
}

QTextBlockFormat BlockFormat(const RtfParagraph& p)
{
    QTextBlockFormat b;
    b.setAlignment(p.align == RtfParagraph::Center  ? Qt::AlignHCenter
                   : p.align == RtfParagraph::Right ? Qt::AlignRight
                                                    : Qt::AlignLeft);
    QList<QTextOption::Tab> tabs;
    for (int t : p.tabStops) tabs.append(QTextOption::Tab(t / kTwipsPerPixel, QTextOption::LeftTab));
    b.setTabPositions(tabs);
    return b;
}

RtfParagraph ParagraphOf(const QTextBlock& block, int from, int to)
{
    RtfParagraph p;
    Qt::Alignment a = block.blockFormat().alignment();
    p.align = (a & Qt::AlignHCenter) ? RtfParagraph::Center
              : (a & Qt::AlignRight) ? RtfParagraph::Right
                                     : RtfParagraph::Left;
    for (const QTextOption::Tab& t : block.blockFormat().tabPositions())
        p.tabStops.push_back(static_cast<int>(t.position * kTwipsPerPixel + 0.5));
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        QTextFragment frag = it.fragment();
        if (!frag.isValid()) continue;
        int s = std::max(from, frag.position());
        int e = std::min(to, frag.position() + frag.length());
        if (s >= e) continue;
        QString text = frag.text().mid(s - frag.position(), e - s);
        RtfRun r = RunOf(frag.charFormat(), text);
        if (!p.runs.empty() && p.runs.back().SameStyle(r)) p.runs.back().text += r.text;
        else p.runs.push_back(r);
    }
    return p;
}

void FillDocument(QTextDocument* doc, const RtfDocument& rtf)
{
    doc->clear();
    QTextCursor c(doc);
    bool first = true;
    for (const RtfParagraph& p : rtf.paragraphs) {
        QTextCharFormat cf = CharFormat(p.runs.empty() ? RtfRun{} : p.runs.front());
        if (first) {
            c.setBlockFormat(BlockFormat(p));
            c.setBlockCharFormat(cf);
        } else {
            c.insertBlock(BlockFormat(p), cf);
        }
        first = false;
        for (const RtfRun& r : p.runs) c.insertText(ToQ(r.text), CharFormat(r));
    }
}

class RichTextEdit : public QTextEdit {
public:
    explicit RichTextEdit(QWidget* parent) : QTextEdit(parent) {}
    int limit = 0xFFFFF;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override
    {
        return source->hasFormat("text/rtf") || source->hasText();
    }
    void insertFromMimeData(const QMimeData* source) override
    {
        if (source->hasFormat("text/rtf")) {
            RtfDocument rtf;
            QByteArray bytes = source->data("text/rtf");
            rtf.Parse(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
            QTextDocument piece;
            FillDocument(&piece, rtf);
            textCursor().insertFragment(QTextDocumentFragment(&piece));
            return;
        }
        if (source->hasText()) textCursor().insertText(source->text());
    }
    QMimeData* createMimeDataFromSelection() const override
    {
        QMimeData* data = QTextEdit::createMimeDataFromSelection();
        QTextCursor c = textCursor();
        QTextDocument piece;
        piece.setHtml(QString());
        QTextCursor pc(&piece);
        pc.insertFragment(c.selection());
        RtfDocument rtf;
        for (QTextBlock b = piece.begin(); b.isValid(); b = b.next())
            rtf.paragraphs.push_back(ParagraphOf(b, b.position(), b.position() + b.length() - 1));
        std::string bytes = rtf.ToRtf();
        data->setData("text/rtf", QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
        return data;
    }
};

}  // namespace

struct RichEdit::Impl {
    RichTextEdit* edit = nullptr;
    std::function<void()> selectionChanged;
};

RichEdit::RichEdit() : impl_(std::make_unique<Impl>()) {}
RichEdit::~RichEdit() = default;

bool RichEdit::Create(Window* parent, const DCRect& rect, int id)
{
    if (!QApplication::instance()) return false;
    auto* edit = new RichTextEdit(parent ? parent->GetWidget() : nullptr);
    edit->setAcceptRichText(true);
    edit->setLineWrapMode(QTextEdit::WidgetWidth);
    edit->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    edit->setTabStopDistance(RtfDocument::kDefaultTab / kTwipsPerPixel);
    QTextCharFormat base = CharFormat(RtfRun{});
    edit->setCurrentCharFormat(base);
    impl_->edit = edit;
    SetDlgCtrlID(id);
    WindowAccess::Attach(*this, edit, parent, false);
    QObject::connect(edit, &QTextEdit::cursorPositionChanged, edit, [this] {
        if (impl_->selectionChanged) impl_->selectionChanged();
    });
    QObject::connect(edit, &QTextEdit::textChanged, edit, [edit] {
        // The text limit: what goes beyond it is cut off again.
        if (edit->document()->characterCount() - 1 > edit->limit) {
            QTextCursor c(edit->document());
            c.setPosition(edit->limit);
            c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            c.removeSelectedText();
        }
    });
    if (parent) edit->show();
    return true;
}

void RichEdit::SetDocument(const RtfDocument& document)
{
    if (!impl_->edit) return;
    FillDocument(impl_->edit->document(), document);
    impl_->edit->moveCursor(QTextCursor::Start);
    impl_->edit->document()->setModified(false);
}

RtfDocument RichEdit::GetDocument() const
{
    RtfDocument rtf;
    if (!impl_->edit) return rtf;
    QTextDocument* doc = impl_->edit->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        rtf.paragraphs.push_back(ParagraphOf(b, b.position(), b.position() + b.length() - 1));
    return rtf;
}

RtfDocument RichEdit::GetSelectedDocument() const
{
    RtfDocument rtf;
    if (!impl_->edit) return rtf;
    QTextCursor c = impl_->edit->textCursor();
    int from = c.selectionStart(), to = c.selectionEnd();
    QTextDocument* doc = impl_->edit->document();
    for (QTextBlock b = doc->findBlock(from); b.isValid() && b.position() <= to; b = b.next()) {
        if (b.position() == to && to > from) break;
        rtf.paragraphs.push_back(ParagraphOf(b, from, to));
    }
    return rtf;
}

std::string RichEdit::GetPlainText() const
{
    return impl_->edit ? FromQ(impl_->edit->toPlainText()) : std::string();
}

bool RichEdit::HasSelection() const { return impl_->edit && impl_->edit->textCursor().hasSelection(); }
bool RichEdit::IsModified() const { return impl_->edit && impl_->edit->document()->isModified(); }
void RichEdit::SetModified(bool modified)
{
    if (impl_->edit) impl_->edit->document()->setModified(modified);
}
void RichEdit::SetLimitText(int chars)
{
    if (impl_->edit) impl_->edit->limit = chars > 0 ? chars : 0xFFFFF;
}

void RichEdit::Undo() { if (impl_->edit) impl_->edit->undo(); }
void RichEdit::Cut() { if (impl_->edit) impl_->edit->cut(); }
void RichEdit::Copy() { if (impl_->edit) impl_->edit->copy(); }
void RichEdit::Paste() { if (impl_->edit) impl_->edit->paste(); }
void RichEdit::Clear() { if (impl_->edit) impl_->edit->textCursor().removeSelectedText(); }
void RichEdit::SelectAll() { if (impl_->edit) impl_->edit->selectAll(); }

void RichEdit::NextWord()
{
    if (!impl_->edit) return;
    QTextCursor c = impl_->edit->textCursor();
    c.movePosition(QTextCursor::NextWord);
    impl_->edit->setTextCursor(c);
}

bool RichEdit::Find(const std::string& text, bool matchCase)
{
    if (!impl_->edit || text.empty()) return false;
    QTextDocument::FindFlags flags;
    if (matchCase) flags |= QTextDocument::FindCaseSensitively;
    QTextCursor found = impl_->edit->document()->find(ToQ(text), impl_->edit->textCursor(), flags);
    if (found.isNull()) return false;
    impl_->edit->setTextCursor(found);
    return true;
}

void RichEdit::SetSel(int start, int end)
{
    if (!impl_->edit) return;
    QTextCursor c(impl_->edit->document());
    int last = impl_->edit->document()->characterCount() - 1;
    c.setPosition(std::clamp(start, 0, last));
    c.setPosition(std::clamp(end < 0 ? last : end, 0, last), QTextCursor::KeepAnchor);
    impl_->edit->setTextCursor(c);
}

namespace {
void MergeOnSelection(QTextEdit* edit, const QTextCharFormat& f)
{
    QTextCursor c = edit->textCursor();
    if (!c.hasSelection()) c.select(QTextCursor::WordUnderCursor);
    c.mergeCharFormat(f);
    edit->mergeCurrentCharFormat(f);
}
}  // namespace

bool RichEdit::IsBold() const
{
    return impl_->edit && impl_->edit->currentCharFormat().fontWeight() >= QFont::DemiBold;
}

void RichEdit::ToggleBold()
{
    if (!impl_->edit) return;
    QTextCharFormat f;
    f.setFontWeight(IsBold() ? QFont::Normal : QFont::Bold);
    MergeOnSelection(impl_->edit, f);
}

void RichEdit::ToggleItalic()
{
    if (!impl_->edit) return;
    QTextCharFormat f;
    f.setFontItalic(!impl_->edit->currentCharFormat().fontItalic());
    MergeOnSelection(impl_->edit, f);
}

void RichEdit::ToggleUnderline()
{
    if (!impl_->edit) return;
    QTextCharFormat f;
    f.setFontUnderline(!impl_->edit->currentCharFormat().fontUnderline());
    MergeOnSelection(impl_->edit, f);
}

void RichEdit::SetAlignment(RtfParagraph::Align align)
{
    if (!impl_->edit) return;
    impl_->edit->setAlignment(align == RtfParagraph::Center  ? Qt::AlignHCenter
                              : align == RtfParagraph::Right ? Qt::AlignRight
                                                             : Qt::AlignLeft);
}

void RichEdit::SetSelectionFont(const std::string& face, int halfPoints, bool bold, bool italic,
                                bool underline)
{
    if (!impl_->edit) return;
    RtfRun r;
    r.face = face;
    r.halfPoints = halfPoints;
    r.bold = bold;
    r.italic = italic;
    r.underline = underline;
    MergeOnSelection(impl_->edit, CharFormat(r));
}

bool RichEdit::SetTabStops(const std::vector<int>& twips)
{
    if (!impl_->edit) return false;
    int last = 0;
    for (int t : twips) {
        if (t <= last || t > 1440 * 22) return false;
        last = t;
    }
    QTextCursor c = impl_->edit->textCursor();
    QTextBlockFormat b;
    QList<QTextOption::Tab> tabs;
    for (int t : twips) tabs.append(QTextOption::Tab(t / kTwipsPerPixel, QTextOption::LeftTab));
    b.setTabPositions(tabs);
    c.mergeBlockFormat(b);
    impl_->edit->document()->setModified(true);
    return true;
}

RichEdit::CaretInfo RichEdit::GetCaretInfo() const
{
    CaretInfo info;
    if (!impl_->edit) return info;
    QTextCursor c = impl_->edit->textCursor();
    QTextDocument* doc = impl_->edit->document();
    auto place = [doc](int pos, int& line, int& col) {
        QTextBlock b = doc->findBlock(pos);
        line = b.blockNumber() + 1;
        col = pos - b.position() + 1;
    };
    place(c.selectionStart(), info.line, info.pos);
    place(c.selectionEnd(), info.endLine, info.endPos);
    return info;
}

void RichEdit::SetSelectionChanged(std::function<void()> callback)
{
    impl_->selectionChanged = std::move(callback);
}

}  // namespace ui
