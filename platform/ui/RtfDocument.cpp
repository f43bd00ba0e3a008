#include "platform/ui/RtfDocument.h"

#include "platform/host/Format.h"
#include "platform/host/Text.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace ui {

namespace {

// Destinations whose text is not part of the document.
bool IsSkippedDestination(const std::string& word)
{
    static const char* const kSkipped[] = {
        "colortbl", "stylesheet", "info", "pict", "object", "header", "headerl", "headerr",
        "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "fldinst", "listtable",
        "listoverridetable", "revtbl", "rsidtbl", "generator", "xmlnstbl", "themedata",
        "colorschememapping", "latentstyles", "datastore", "filetbl", "pgdsctbl", "mmathPr",
        "bkmkstart", "bkmkend", "annotation", "atnid", "nonshppict", "comment", "title", "author",
        "operator", "company", "doccomm", "keywords", "subject", "creatim", "revtim", "printim",
        "buptim", "template", "userprops", "docvar", "private", "txe", "xe", "tc", "objdata",
        "fonttbl"};
    for (const char* s : kSkipped)
        if (word == s) return true;
    return false;
}

// One Unicode code point as Windows-1252 ('?' when it has none).
char CodePointToCp1252(long cp)
{
    if (cp < 0) cp += 65536;  // \uN writes code points above 32767 as negative numbers
    if (cp >= 0 && cp < 128) return static_cast<char>(cp);
    std::string utf8;
    if (cp < 0x800) {
        utf8 += static_cast<char>(0xC0 | (cp >> 6));
        utf8 += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        utf8 += static_cast<char>(0xE0 | (cp >> 12));
        utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        return '?';
    }
    std::string out = host::Utf8ToCp1252Lossy(utf8);
    return out.size() == 1 ? out[0] : '?';
}

struct ParseState {
    RtfRun style;
    RtfParagraph::Align align = RtfParagraph::Left;
    std::vector<int> tabs;
    int ucSkip = 1;
    enum Dest { Text, FontTable, Skip } dest = Text;
    bool starred = false;   // {\* ...}: skip unless the destination is known
    bool firstWord = true;  // no control word seen yet in this group
};

class Parser {
public:
    Parser(std::string_view in, RtfDocument& doc) : in_(in), doc_(doc) {}

    void Run()
    {
        ParseState top;
        stack_.push_back(top);
        size_t i = 0;
        while (i < in_.size()) {
            char c = in_[i];
            if (c == '{') {
                ++i;
                if (overflow_ > 0 || stack_.size() >= RtfDocument::kMaxDepth) {
                    ++overflow_;
                    continue;
                }
                ParseState s = stack_.back();
                s.starred = false;
                s.firstWord = true;
                stack_.push_back(s);
                continue;
            }
            if (c == '}') {
                ++i;
                if (overflow_ > 0) {
                    --overflow_;
                    continue;
                }
                EndGroup();
                if (stack_.size() <= 1) break;  // the document's own group closed
                stack_.pop_back();
                continue;
            }
            if (c == '\\') {
                i = ControlWord(i + 1);
                continue;
            }
            ++i;
            if (c == '\r' || c == '\n') continue;
            Char(c);
        }
        FinishParagraph(false);
    }

private:
    ParseState& St() { return stack_.back(); }
    bool Skipping() const { return overflow_ > 0 || stack_.back().dest == ParseState::Skip; }

    void EndGroup()
    {
        ParseState& s = St();
        if (s.dest == ParseState::FontTable && !fontName_.empty()) StoreFontName();
    }

    void StoreFontName()
    {
        std::string name = fontName_;
        while (!name.empty() && (name.back() == ';' || name.back() == ' ')) name.pop_back();
        while (!name.empty() && name.front() == ' ') name.erase(name.begin());
        if (!name.empty() && fonts_.size() < 4096) fonts_[fontNumber_] = name;
        fontName_.clear();
    }

    void Char(char c)
    {
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        if (Skipping()) return;
        ParseState& s = St();
        if (s.dest == ParseState::FontTable) {
            if (c == ';') {
                StoreFontName();
            } else if (fontName_.size() < 64) {
                fontName_ += c;
            }
            return;
        }
        std::vector<RtfRun>& runs = current_.runs;
        if (runs.empty() || !runs.back().SameStyle(s.style)) {
            RtfRun r = s.style;
            r.text.clear();
            runs.push_back(r);
        }
        runs.back().text += c;
    }

    void FinishParagraph(bool always)
    {
        if (!always && current_.runs.empty()) return;
        current_.align = St().align;
        current_.tabStops = St().tabs;
        doc_.paragraphs.push_back(std::move(current_));
        current_ = RtfParagraph{};
    }

    static bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }
    static int HexValue(char c)
    {
        if (c >= '0' && c <= '9') return c - '0';
        return (std::tolower(static_cast<unsigned char>(c)) - 'a') + 10;
    }

    // Reads the control word or symbol after a backslash at i; returns the index after it.
    size_t ControlWord(size_t i)
    {
        if (i >= in_.size()) return i;
        char c = in_[i];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++i;
            switch (c) {
            case '\\': case '{': case '}': Char(c); break;
            case '\'':
                if (i + 1 < in_.size() && IsHex(in_[i]) && IsHex(in_[i + 1])) {
                    Char(static_cast<char>(HexValue(in_[i]) * 16 + HexValue(in_[i + 1])));
                    i += 2;
                } else if (i < in_.size() && IsHex(in_[i])) {
                    ++i;  // an escape cut short: its one digit is no text
                }
                break;
            case '~': Char(static_cast<char>(0xA0)); break;
            case '_': Char('-'); break;
            case '*': St().starred = true; break;
            case '\r': case '\n': if (!Skipping()) FinishParagraph(true); break;
            default: break;  // \- and unknown symbols
            }
            return i;
        }
        size_t start = i;
        while (i < in_.size() && std::isalpha(static_cast<unsigned char>(in_[i])) && i - start < 32) ++i;
        std::string word(in_.substr(start, i - start));
        while (i < in_.size() && std::isalpha(static_cast<unsigned char>(in_[i]))) ++i;  // overlong
        bool hasParam = false;
        long param = 0;
        bool negative = false;
        if (i < in_.size() && in_[i] == '-' && i + 1 < in_.size() &&
            std::isdigit(static_cast<unsigned char>(in_[i + 1]))) {
            negative = true;
            ++i;
        }
        size_t digits = 0;
        while (i < in_.size() && std::isdigit(static_cast<unsigned char>(in_[i]))) {
            if (digits < 10) param = param * 10 + (in_[i] - '0');
            ++digits;
            ++i;
        }
        hasParam = digits > 0;
        if (negative) param = -param;
        if (i < in_.size() && in_[i] == ' ') ++i;
        return Apply(word, hasParam, param, i);
    }

    size_t Apply(const std::string& word, bool hasParam, long param, size_t i)
    {
        ParseState& s = St();
        bool first = s.firstWord;
        s.firstWord = false;
        if (word == "bin") {
            // Binary data: skipped whole, never past the end.
            size_t n = hasParam && param > 0 ? static_cast<size_t>(param) : 0;
            return std::min(in_.size(), i + n);
        }
        if (first && (s.starred || IsSkippedDestination(word))) {
            if (word == "fonttbl") {
                s.dest = ParseState::FontTable;
                return i;
            }
            s.dest = ParseState::Skip;
            return i;
        }
        if (s.dest == ParseState::FontTable) {
            if (word == "f" && hasParam) {
                if (!fontName_.empty()) StoreFontName();
                fontNumber_ = static_cast<int>(param);
            }
            return i;
        }
        if (Skipping()) return i;
        auto on = [&] { return !hasParam || param != 0; };
        if (word == "par" || word == "line" || word == "sect" || word == "page") {
            if (pendingSkip_ > 0) pendingSkip_ = 0;
            FinishParagraph(true);
        } else if (word == "pard") {
            s.align = RtfParagraph::Left;
            s.tabs.clear();
        } else if (word == "plain") {
            s.style = RtfRun{};
            s.style.face = FontName(defaultFont_);
            s.style.halfPoints = 24;
        } else if (word == "deff" && hasParam) {
            defaultFont_ = static_cast<int>(param);
        } else if (word == "f" && hasParam) {
            s.style.face = FontName(static_cast<int>(param));
        } else if (word == "fs" && hasParam) {
            s.style.halfPoints = static_cast<int>(std::clamp(param, 2L, 3276L));
        } else if (word == "b") {
            s.style.bold = on();
        } else if (word == "i") {
            s.style.italic = on();
        } else if (word == "ul") {
            s.style.underline = on();
        } else if (word == "ulnone") {
            s.style.underline = false;
        } else if (word == "ql" || word == "qj") {
            s.align = RtfParagraph::Left;
        } else if (word == "qc") {
            s.align = RtfParagraph::Center;
        } else if (word == "qr") {
            s.align = RtfParagraph::Right;
        } else if (word == "tx" && hasParam) {
            if (param > 0 && param < 1440 * 100 && s.tabs.size() < 64) {
                s.tabs.push_back(static_cast<int>(param));
                std::sort(s.tabs.begin(), s.tabs.end());
                s.tabs.erase(std::unique(s.tabs.begin(), s.tabs.end()), s.tabs.end());
            }
        } else if (word == "tab") {
            Char('\t');
        } else if (word == "uc" && hasParam) {
            s.ucSkip = static_cast<int>(std::clamp(param, 0L, 8L));
        } else if (word == "u" && hasParam) {
            Char(CodePointToCp1252(param));
            pendingSkip_ = s.ucSkip;
        } else if (word == "emdash") {
            Char(static_cast<char>(0x97));
        } else if (word == "endash") {
            Char(static_cast<char>(0x96));
        } else if (word == "bullet") {
            Char(static_cast<char>(0x95));
        } else if (word == "lquote") {
            Char(static_cast<char>(0x91));
        } else if (word == "rquote") {
            Char(static_cast<char>(0x92));
        } else if (word == "ldblquote") {
            Char(static_cast<char>(0x93));
        } else if (word == "rdblquote") {
            Char(static_cast<char>(0x94));
        }
        return i;
    }

    std::string FontName(int number) const
    {
        auto it = fonts_.find(number);
        return it != fonts_.end() ? it->second : std::string("Arial");
    }

    std::string_view in_;
    RtfDocument& doc_;
    std::vector<ParseState> stack_;
    int overflow_ = 0;
    int pendingSkip_ = 0;
    RtfParagraph current_;
    std::map<int, std::string> fonts_;
    int fontNumber_ = 0;
    std::string fontName_;
    int defaultFont_ = 0;
};

}  // namespace

std::string RtfParagraph::Text() const
{
    std::string t;
    for (const RtfRun& r : runs) t += r.text;
    return t;
}

std::string EscapeRtf(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (u > 127 || u < 32) {
            out += Format("\\'%02x", u);
        } else {
            out += c;
        }
    }
    return out;
}

bool RtfDocument::Parse(std::string_view bytes)
{
    paragraphs.clear();
    if (bytes.substr(0, 5) != "{\\rtf") {
        *this = FromPlainText(bytes);
        return false;
    }
    Parser(bytes, *this).Run();
    return true;
}

RtfDocument RtfDocument::FromPlainText(std::string_view text, const RtfRun& style)
{
    RtfDocument doc;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        RtfParagraph p;
        if (!line.empty()) {
            RtfRun r = style;
            r.text = std::string(line);
            p.runs.push_back(r);
        }
        doc.paragraphs.push_back(std::move(p));
        start = end + 1;
    }
    return doc;
}

std::string RtfDocument::PlainText() const
{
    std::string t;
    for (const RtfParagraph& p : paragraphs) t += p.Text() + "\n";
    return t;
}

std::string RtfDocument::ToRtf() const
{
    std::vector<std::string> faces;
    auto faceIndex = [&](const std::string& face) {
        auto it = std::find(faces.begin(), faces.end(), face);
        if (it != faces.end()) return static_cast<int>(it - faces.begin());
        faces.push_back(face);
        return static_cast<int>(faces.size() - 1);
    };
    faceIndex("Arial");
    std::string body;
    for (const RtfParagraph& p : paragraphs) {
        body += "\\pard";
        if (p.align == RtfParagraph::Center) body += "\\qc";
        if (p.align == RtfParagraph::Right) body += "\\qr";
        for (int t : p.tabStops) body += Format("\\tx%d", t);
        for (const RtfRun& r : p.runs) {
            body += Format("\\plain\\f%d\\fs%d", faceIndex(r.face), r.halfPoints);
            if (r.bold) body += "\\b";
            if (r.italic) body += "\\i";
            if (r.underline) body += "\\ul";
            body += ' ';
            body += EscapeRtf(r.text);
        }
        body += "\\par\r\n";
    }
    std::string out = "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl";
    for (size_t i = 0; i < faces.size(); ++i) {
        std::string name;
        for (char c : faces[i])
            if (c != ';' && c != '{' && c != '}' && c != '\\') name += c;
        out += Format("{\\f%d\\fnil %s;}", static_cast<int>(i), name.c_str());
    }
    out += "}\r\n" + body + "}\r\n";
    return out;
}

// ---- Pages ----------------------------------------------------------------------------------

namespace {

Font RunFont(const RtfRun& r)
{
    Font f;
    f.face = r.face;
    f.sizeTenths = std::max(1, r.halfPoints * 5);
    f.bold = r.bold;
    f.italic = r.italic;
    f.underline = r.underline;
    return f;
}

struct Piece {
    const RtfRun* style;
    std::string text;
    enum Kind { Word, Space, Tab } kind;
};

}  // namespace

std::vector<RtfPage> RtfDocument::LayoutPages(DC& dc, int width, int height) const
{
    const int dpx = std::max(1, dc.GetDeviceCaps(LOGPIXELSX));
    const int dpy = std::max(1, dc.GetDeviceCaps(LOGPIXELSY));
    auto toTwipsX = [&](int px) { return static_cast<int>(static_cast<long long>(px) * 1440 / dpx); };
    auto toTwipsY = [&](int px) { return static_cast<int>(static_cast<long long>(px) * 1440 / dpy); };
    Font saved = dc.GetFont();
    std::map<std::pair<std::string, int>, std::pair<int, int>> metricsCache;  // height, ascent
    auto metrics = [&](const RtfRun& r) {
        auto key = std::make_pair(r.face + (r.bold ? "b" : "") + (r.italic ? "i" : ""), r.halfPoints);
        auto it = metricsCache.find(key);
        if (it != metricsCache.end()) return it->second;
        dc.SelectFont(RunFont(r));
        TextMetrics tm = dc.GetTextMetrics();
        auto v = std::make_pair(toTwipsY(tm.height), toTwipsY(tm.ascent));
        metricsCache[key] = v;
        return v;
    };
    auto measure = [&](const RtfRun& r, const std::string& text) {
        dc.SelectFont(RunFont(r));
        return toTwipsX(dc.GetTextExtent(text).cx);
    };

    std::vector<RtfPage> pages(1);
    int y = 0;
    static const RtfRun kDefault;
    for (const RtfParagraph& p : paragraphs) {
        std::vector<Piece> pieces;
        for (const RtfRun& r : p.runs) {
            size_t i = 0;
            while (i < r.text.size()) {
                char c = r.text[i];
                if (c == '\t') {
                    pieces.push_back({&r, "\t", Piece::Tab});
                    ++i;
                    continue;
                }
                bool space = c == ' ';
                size_t j = i;
                while (j < r.text.size() && r.text[j] != '\t' && (r.text[j] == ' ') == space) ++j;
                pieces.push_back({&r, r.text.substr(i, j - i), space ? Piece::Space : Piece::Word});
                i = j;
            }
        }
        const RtfRun& first = p.runs.empty() ? kDefault : p.runs.front();
        std::vector<RtfLine> lines;
        RtfLine line;
        int x = 0;
        int contentEnd = 0;
        bool joinable = false;  // the next piece may join the last run
        auto startLine = [&] {
            line = RtfLine{};
            x = 0;
            contentEnd = 0;
            joinable = false;
        };
        auto endLine = [&] {
            if (line.height == 0) {
                auto m = metrics(first);
                line.height = m.first;
                line.ascent = m.second;
            }
            int shift = 0;
            if (p.align == RtfParagraph::Center) shift = std::max(0, (width - contentEnd) / 2);
            if (p.align == RtfParagraph::Right) shift = std::max(0, width - contentEnd);
            for (RtfLaidRun& lr : line.runs) lr.x += shift;
            lines.push_back(std::move(line));
            startLine();
        };
        startLine();
        for (const Piece& pc : pieces) {
            auto m = metrics(*pc.style);
            if (pc.kind == Piece::Tab) {
                int next = -1;
                for (int t : p.tabStops)
                    if (t > x) {
                        next = t;
                        break;
                    }
                if (next < 0) next = (x / kDefaultTab + 1) * kDefaultTab;
                x = next;
                joinable = false;
                line.height = std::max(line.height, m.first);
                line.ascent = std::max(line.ascent, m.second);
                continue;
            }
            int w = measure(*pc.style, pc.text);
            if (pc.kind == Piece::Word && x + w > width && !line.runs.empty()) {
                endLine();
            }
            if (pc.kind == Piece::Space && line.runs.empty() && x == 0 && !lines.empty()) continue;
            if (joinable && line.runs.back().run.SameStyle(*pc.style)) {
                line.runs.back().run.text += pc.text;
            } else {
                RtfLaidRun lr;
                lr.x = x;
                lr.run = *pc.style;
                lr.run.text = pc.text;
                line.runs.push_back(std::move(lr));
            }
            joinable = true;
            x += w;
            if (pc.kind == Piece::Word) contentEnd = x;
            line.height = std::max(line.height, m.first);
            line.ascent = std::max(line.ascent, m.second);
        }
        endLine();
        for (RtfLine& l : lines) {
            if (y + l.height > height && !pages.back().empty()) {
                pages.emplace_back();
                y = 0;
            }
            l.y = y;
            y += l.height;
            pages.back().push_back(std::move(l));
        }
    }
    dc.SelectFont(saved);
    return pages;
}

void RtfDocument::DrawPage(DC& dc, const RtfPage& page, int left, int top)
{
    const int dpx = std::max(1, dc.GetDeviceCaps(LOGPIXELSX));
    const int dpy = std::max(1, dc.GetDeviceCaps(LOGPIXELSY));
    Font saved = dc.GetFont();
    BkMode mode = dc.SetBkMode(TRANSPARENT);
    unsigned align = dc.SetTextAlign(TA_LEFT | TA_BASELINE);
    for (const RtfLine& line : page) {
        int baseline = top + static_cast<int>(static_cast<long long>(line.y + line.ascent) * dpy / 1440);
        for (const RtfLaidRun& r : line.runs) {
            dc.SelectFont(RunFont(r.run));
            dc.TextOut(left + static_cast<int>(static_cast<long long>(r.x) * dpx / 1440), baseline,
                       r.run.text);
        }
    }
    dc.SetTextAlign(align);
    dc.SetBkMode(mode);
    dc.SelectFont(saved);
}

}  // namespace ui
