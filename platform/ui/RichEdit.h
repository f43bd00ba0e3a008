#pragma once
// ui::RichEdit: the rich-text edit control of the program's rich-text viewer. It holds an
// RtfDocument's paragraphs and runs (face, size, bold, italic, underline, alignment, tab stops)
// and gives them back; loading and saving go through the program's own RTF reader and writer.
// Pasting takes rich text ("text/rtf") from the clipboard before plain text.

#include "platform/ui/RtfDocument.h"
#include "platform/ui/Window.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class RichEdit : public Window {
public:
    RichEdit();
    ~RichEdit() override;

    bool Create(Window* parent, const DCRect& rect, int id);

    void SetDocument(const RtfDocument& document);
    RtfDocument GetDocument() const;
    // The selected part of the document (whole paragraphs cut at the selection's ends).
    RtfDocument GetSelectedDocument() const;
    std::string GetPlainText() const;
    bool HasSelection() const;

    bool IsModified() const;
    void SetModified(bool modified);
    // Characters the control holds at most.
    void SetLimitText(int chars);

    // Edit commands on the selection or at the caret.
    void Undo();
    void Cut();
    void Copy();
    void Paste();
    void Clear();
    void SelectAll();
    // Moves the caret to the start of the next word.
    void NextWord();
    // Finds `text` from the caret on and selects it; false when it is not there.
    bool Find(const std::string& text, bool matchCase);
    // Selects characters [start, end) of the plain text.
    void SetSel(int start, int end);

    // Format commands on the selection (or the caret's paragraph).
    void ToggleBold();
    void ToggleItalic();
    void ToggleUnderline();
    bool IsBold() const;
    void SetAlignment(RtfParagraph::Align align);
    void SetSelectionFont(const std::string& face, int halfPoints, bool bold, bool italic,
                          bool underline);
    // Tab stops (twips) of the paragraphs of the selection; false when refused (not increasing,
    // out of range).
    bool SetTabStops(const std::vector<int>& twips);
    // Caret place: 1-based line and position; with a selection also its other end.
    struct CaretInfo {
        int line = 1, pos = 1, endLine = 1, endPos = 1;
    };
    CaretInfo GetCaretInfo() const;

    // A callback after every change of the selection or caret (the status bar follows it).
    void SetSelectionChanged(std::function<void()> callback);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ui
