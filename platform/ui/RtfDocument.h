#pragma once
// ui::RtfDocument: rich text as the program reads, writes, shows and prints it: paragraphs with an
// alignment and tab stops, each a list of runs with a face, a size and bold, italic and underline.
// The reader takes what other word processors write as well: it reads the control words it
// knows, skips destinations and words it does not (pictures, \bin data, {\* ...} groups), maps
// \'hh and \uN to Windows-1252 and never reads past its input or nests deeper than kMaxDepth.
// The writer escapes "\", "{" and "}", writes tabs as \tab and bytes above 127 and control
// characters as \'hh.
//
// Pages: LayoutPages breaks the paragraphs into lines that fit a rectangle of a DC (word wrap,
// tab stops in twips, alignment) and into pages; DrawPage draws one of them on any DC (a printer,
// a PDF file, the print recorder).

#include "platform/ui/DC.h"

#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct RtfRun {
    std::string text;                    // Windows-1252; '\t' a tab
    std::string face = "Arial";
    int halfPoints = 20;                 // \fsN
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool SameStyle(const RtfRun& o) const
    {
        return face == o.face && halfPoints == o.halfPoints && bold == o.bold &&
               italic == o.italic && underline == o.underline;
    }
};

struct RtfParagraph {
    enum Align { Left = 0, Center = 1, Right = 2 };
    Align align = Left;
    std::vector<int> tabStops;           // twips from the left margin, increasing
    std::vector<RtfRun> runs;
    std::string Text() const;
};

// One laid-out line of a page: runs placed at x (twips from the left margin).
struct RtfLaidRun {
    int x = 0;
    RtfRun run;
};
struct RtfLine {
    int y = 0;                            // twips from the top margin
    int height = 0;
    int ascent = 0;
    std::vector<RtfLaidRun> runs;
};
using RtfPage = std::vector<RtfLine>;

class RtfDocument {
public:
    static constexpr int kMaxDepth = 128;
    static constexpr int kDefaultTab = 720;  // \deftab720

    std::vector<RtfParagraph> paragraphs;

    // Reads rich text; false (the document then holds `bytes` as plain text) when the input does
    // not start with "{\rtf".
    bool Parse(std::string_view bytes);
    static RtfDocument FromPlainText(std::string_view text, const RtfRun& style = RtfRun{});
    // The rich text of the document.
    std::string ToRtf() const;
    // The text, paragraphs ending with '\n'.
    std::string PlainText() const;

    // Pages of `width` x `height` twips, measured on `dc` (whose fonts are in points).
    std::vector<RtfPage> LayoutPages(DC& dc, int width, int height) const;
    // Draws a laid-out page with its top-left corner at (left, top) device pixels.
    static void DrawPage(DC& dc, const RtfPage& page, int left, int top);
};

// Text escaped for rich text: "\" "{" "}" escaped, tab as \tab, bytes above 127 as \'hh.
std::string EscapeRtf(std::string_view cp1252);

}  // namespace ui
