#include "views/ScrollBase.h"

#include "widgets/CommandGuards.h"
#include "common/DateTime.h"
#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "database/Database.h"
#include "dialogs/DialogFindFive.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/FrameWindow.h"
#include "reports/PrintSpoolFile.h"
#include "views/ViewFrame.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr ui::COLORREF Rgb(int r, int g, int b) { return static_cast<ui::COLORREF>(r | (g << 8) | (b << 16)); }

constexpr ui::COLORREF kHeaderText = Rgb(128, 0, 0);
constexpr ui::COLORREF kHeaderBack = Rgb(0, 128, 128);
constexpr ui::COLORREF kWhite = Rgb(255, 255, 255);
constexpr ui::COLORREF kBlack = 0;
constexpr ui::COLORREF kMarkedBack = Rgb(0, 0, 240);
constexpr ui::COLORREF kMarkedHiLiteBack = Rgb(128, 0, 0);
constexpr ui::COLORREF kDragLine = Rgb(150, 255, 150);

// Pixels within which the pointer takes a separator, and the least gap between two separators.
constexpr int kGrabDistance = 4;
constexpr int kMinimumGap = 5;
// Pixels above and below the header's text, so that it stands clear of the band's edges.
constexpr int kHeaderPadding = 3;

std::string UpperText(const std::string& text)
{
    std::string out = text;
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

const stFormatRecord& DefaultLineFormat()
{
    static const stFormatRecord format = [] {
        stFormatRecord f;
        f.nCode = -1;
        f.SetFace("Times New Roman");
        f.nSize = 100;
        return f;
    }();
    return format;
}

}  // namespace

// The operations the database already offers; the others stay empty until their dialogs exist.
stListViewOperations DefaultListViewOperations()
{
    stListViewOperations ops;
    ops.deleteItem = [](CDatabase& db, uint8_t table, uint32_t code) {
        return db.DeleteTableItem(table, code, 1);
    };
    ops.saveModifiedItem = [](CDatabase& db, uint8_t table, uint32_t code) {
        void* item = db.GetItem(table, code);
        return item != nullptr && db.SaveModifiedItem(table, code, item) == 1 ? 1 : 2;
    };
    ops.editFormat = [](CDatabase& db, uint32_t index, const std::string& title) {
        return db.SaveFormatRecord(index, title, 1, 1) == 1 ? 1 : 2;
    };
    // The layout is read again afterwards whatever was chosen: a refused or cancelled edit
    // leaves it as it stands.
    ops.editPageLayout = [](CDatabase& db, uint32_t index, const std::string& title) {
        db.SavePageLayoutRecord(index, title);
        return 1;
    };
    ops.addPurchase = [](CDatabase& db) { return db.AddPurchaseForStudent(); };
    // A new employee in the employee dialog; a student through the add-or-select dialog.
    ops.addPerson = [](CDatabase& db, char kind) {
        if (kind != 'E') return db.AddOrSelectStudent() == 1 ? 1 : 2;
        static const char employee = 'E';
        const stDataToken request = MakeDataToken('e', 0.0, const_cast<char*>(&employee));
        return db.AddTableItem(TABLE_PERSON, LOC_NONE, nullptr, 1, LOC_NONE, &request) == 1 ? 1 : 2;
    };
    // The item in its editor; a person's contact record `interview` in the contact dialog.
    ops.editItem = [](CDatabase& db, uint8_t table, uint32_t code, int interview) {
        const stDataToken contact = MakeDataToken('I', 0.0, nullptr, interview);
        return db.EditTableItem(table, code, table == TABLE_PERSON && interview >= 0 ? &contact : nullptr) == 1 ? 1 : 2;
    };
    // A payment received from the person, in the payment dialog.
    ops.logPayment = [](CDatabase& db, uint32_t personCode) {
        const stDataToken request = MakeDataToken('C', 0.0, nullptr, static_cast<int32_t>(personCode));
        return db.AddTableItem(TABLE_PAYMENT, LOC_NONE, nullptr, 1, 0, &request) == 1 ? 1 : 2;
    };
    return ops;
}

stListViewOperations& ListViewOperations()
{
    static stListViewOperations operations = DefaultListViewOperations();
    return operations;
}

CScrollBase::CScrollBase() = default;
CScrollBase::~CScrollBase() = default;

stFormatRecord* CScrollBase::GetLine(int, char&, char& status, std::string& text)
{
    status = '-';
    text.clear();
    return nullptr;
}

void CScrollBase::RefreshLineView(int rebuild)
{
    if (rebuild == 1) SetUpLines();
    m_bKeepLines = 0;
    ClampLines();
    Invalidate();
}

void CScrollBase::SetLineViewDatabase(CDatabase* database)
{
    m_pDB = database;
    SetUpLines();
    ClampLines();
    Invalidate();
}

void CScrollBase::SetView(int horizontalMaximum, int header)
{
    m_nHorzMax = horizontalMaximum;
    m_bHeader = header;
}

void CScrollBase::ClampLines()
{
    const int last = std::max(m_nMaxLines - 1, 0);
    m_nHiLiteLine = std::clamp(m_nHiLiteLine, 0, last);
    m_nTopLine = std::clamp(m_nTopLine, 0, last);
}

void CScrollBase::OnUpdate() { Invalidate(); }

void CScrollBase::OnSize(int cx, int cy)
{
    ui::View::OnSize(cx, cy);
    const ui::DCRect client = GetViewClientRect();
    m_nWindowWidth = client.Width();
    m_nWindowHeight = client.Height();
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CScrollBase::OnSize Timer=%s, type %u, (%u, %u)\n", GetTimerText().c_str(), 0u,
                              static_cast<unsigned>(cx), static_cast<unsigned>(cy));
    Invalidate();
}

// ---- Paint ---------------------------------------------------------------------------------

void CScrollBase::OnDraw(ui::DC& dc)
{
    if (!m_bLinesReady) SetUpLines();
    if (m_bRedraw) {
        m_bKeepLines = 0;
        m_bRedraw = 0;
    }
    if (!m_bKeepLines) m_aPageLines.clear();
    ClampLines();
    m_dPixelsPerInch = dc.GetDeviceCaps(ui::LOGPIXELSX);
    if (DiagnosticLevel > 2)
        WriteDiagnosticFormat("CScrollBase::OnDraw m_nHiLiteLine %i m_nLinesInWindow %i m_nMaxLines %i\n",
                              m_nHiLiteLine, m_nLinesInWindow, m_nMaxLines);

    if (!m_bKeepLines) {
        if (m_bHeader) {
            stPageLineRecord header;
            char mark = 0;
            stFormatRecord* format = GetLine(-1, mark, header.cKind, header.strText);
            header.pFormat = format;
            header.nHeight = GetLineHeight(dc, format, header.strText, 0) + 2 * kHeaderPadding;
            header.nIndex = -1;
            m_pHeaderFormat = format;
            m_nHeaderHeight = header.nHeight;
            m_aPageLines.push_back(std::move(header));
        }
        m_bEndReached = 0;
        int total = 0;
        for (int i = m_nTopLine; i < m_nMaxLines; ++i) {
            stPageLineRecord line;
            char mark = 0;
            line.pFormat = GetLine(i, mark, line.cKind, line.strText);
            if (line.strText.empty()) line.strText.assign(1, ' ');
            line.nHeight = GetLineHeight(dc, line.pFormat, line.strText, 0);
            m_nLineHeight = line.nHeight;
            total += line.nHeight;
            line.cMark = mark == 'M' ? 'M' : 0;
            if (i == m_nHiLiteLine) line.cMark = mark == 'M' ? 'm' : 'H';
            line.nIndex = i;
            if (total >= m_nWindowHeight) break;
            if (i == m_nMaxLines - 1) m_bEndReached = 1;
            m_aPageLines.push_back(std::move(line));
        }
    }

    int y = 0;
    int drawn = 0;
    for (stPageLineRecord& line : m_aPageLines) {
        const stFormatRecord* shown = line.pFormat ? line.pFormat : &DefaultLineFormat();
        ui::COLORREF text = kBlack, back = kWhite;
        if (line.nIndex == -1) {
            m_aHeaderTabs.clear();
            for (double stop : shown->aTabStops)
                m_aHeaderTabs.push_back(static_cast<int>(m_dPixelsPerInch * stop));
            m_aColumnStops = shown->aTabStops;
            text = kHeaderText;
            back = kHeaderBack;
        } else {
            if (m_bHeader && m_pHeaderFormat && line.pFormat && line.pFormat != m_pHeaderFormat &&
                line.pFormat->aTabStops != m_aColumnStops) {
                if (DiagnosticLevel > 2)
                    WriteDiagnosticFormat("Transfer tabs from %i to %i\n", m_pHeaderFormat->nCode,
                                          line.pFormat->nCode);
                const_cast<stFormatRecord*>(line.pFormat)->aTabStops = m_aColumnStops;
            }
            switch (line.cMark) {
            case 'H': text = kWhite; back = kBlack; break;
            case 'M': back = kMarkedBack; break;
            case 'm': back = kMarkedHiLiteBack; break;
            default: break;
            }
            ++drawn;
        }
        dc.FillSolidRect({0, y, std::max(m_nWindowWidth, 1), y + line.nHeight}, back);
        dc.SetTextColor(text);
        dc.SetBkColor(back);
        dc.SetBkMode(ui::TRANSPARENT);
        const ui::Font old = dc.SelectFont(FormatFont(dc, *shown));
        std::vector<int> stops;
        for (double stop : shown->aTabStops) stops.push_back(static_cast<int>(m_dPixelsPerInch * stop));
        const int textY = line.nIndex == -1 ? y + kHeaderPadding : y;
        dc.TabbedTextOut(-m_nHorzOffset, textY, line.strText, stops, -m_nHorzOffset);
        dc.SelectFont(old);
        y += line.nHeight;
    }
    dc.SetTextColor(kBlack);
    dc.SetBkColor(kWhite);
    dc.FillSolidRect({0, y, std::max(m_nWindowWidth, 1), y + 3 * std::max(m_nLineHeight, 1)}, kWhite);
    IViewFrame* frame = IViewFrame::Of(*this);
    if (frame && GetFrame()->GetActiveView() == this)
        frame->ShowLineNumber(static_cast<uint32_t>(m_nHiLiteLine + 1));
    m_nLinesInWindow = drawn;
    UpdateScrollBars();

    if (!m_aHeaderTabs.empty() && m_bHeader) {
        for (int tab : m_aHeaderTabs) {
            const int x = tab - m_nHorzOffset;
            if (DiagnosticLevel > 1) WriteDiagnosticFormat("Draw header tab at %i\n", x);
            dc.SelectPen({ui::PS_SOLID, 0, kBlack});
            dc.MoveTo(x, 0);
            dc.LineTo(x, m_nHeaderHeight);
            if (m_bDragging) {
                dc.SelectPen({ui::PS_DOT, 0, kDragLine});
                dc.MoveTo(x, m_nHeaderHeight);
                dc.LineTo(x, m_nWindowHeight);
            }
        }
        dc.SelectPen({ui::PS_SOLID, 0, kBlack});
        m_bSeparatorsDrawn = 1;
    }
}

void CScrollBase::UpdateScrollBars()
{
    if (!IsCreated()) return;
    if (m_nMaxLines > m_nLinesInWindow) {
        if (!m_bVertBarShown) ShowScrollBar(ui::SB_VERT, true);
        if (!m_bHorzBarShown) ShowScrollBar(ui::SB_HORZ, true);
        m_bVertBarShown = m_bHorzBarShown = true;
        SetScrollRange(ui::SB_VERT, 0, m_nMaxLines - m_nLinesInWindow);
        SetScrollRange(ui::SB_HORZ, 0, m_nHorzMax);
        SetScrollPos(ui::SB_VERT, m_nTopLine);
        SetScrollPos(ui::SB_HORZ, m_nHorzOffset);
    } else {
        // An empty list has nothing to scroll sideways: no bar at all.
        const bool horizontal = m_nMaxLines > 0;
        if (m_bVertBarShown) ShowScrollBar(ui::SB_VERT, false);
        if (m_bHorzBarShown != horizontal) ShowScrollBar(ui::SB_HORZ, horizontal);
        m_bVertBarShown = false;
        m_bHorzBarShown = horizontal;
        SetScrollRange(ui::SB_VERT, 0, 0);
        SetScrollRange(ui::SB_HORZ, 0, m_nHorzMax);
        SetScrollPos(ui::SB_HORZ, m_nHorzOffset);
        m_nTopLine = 0;
    }
}

// ---- Scrolling -----------------------------------------------------------------------------

void CScrollBase::OnVScroll(int code, int pos)
{
    if (DiagnosticLevel > 2)
        WriteDiagnosticFormat("CScrollBase::OnVScroll m_nHiLiteLine %i m_nLinesInWindow %i m_nMaxLines %i\n",
                              m_nHiLiteLine, m_nLinesInWindow, m_nMaxLines);
    if (m_nMaxLines <= m_nLinesInWindow) {
        if (m_nHiLiteLine > m_nMaxLines - 1) m_nHiLiteLine = std::max(m_nMaxLines - 1, 0);
        Invalidate();
        return;
    }
    int top = m_nTopLine;
    int hilite = m_nHiLiteLine;
    const int page = std::max(m_nLinesInWindow - 1, 1);
    switch (code) {
    case ui::SB_LINEUP:
        if (top >= 1) {
            --top;
            --hilite;
        }
        break;
    case ui::SB_LINEDOWN:
        if (!m_bEndReached) {
            ++top;
            ++hilite;
        }
        break;
    case ui::SB_PAGEUP:
        top -= page;
        hilite -= page;
        break;
    case ui::SB_PAGEDOWN:
        if (!m_bEndReached) {
            top += page;
            hilite += page;
        }
        break;
    case ui::SB_THUMBTRACK:
    case ui::SB_THUMBPOSITION:
        hilite += pos - top;
        top = pos;
        break;
    case ui::SB_TOP:
        top = hilite = 0;
        break;
    case ui::SB_BOTTOM:
        top = m_nMaxLines - m_nLinesInWindow;
        hilite = m_nMaxLines - 1;
        break;
    default:
        return;
    }
    top = std::clamp(top, 0, std::max(m_nMaxLines - m_nLinesInWindow + 1, 0));
    top = std::min(top, std::max(m_nMaxLines - 1, 0));
    hilite = std::clamp(hilite, 0, std::max(m_nMaxLines - 1, 0));
    if (top == m_nTopLine && hilite == m_nHiLiteLine) return;
    m_nTopLine = top;
    m_nHiLiteLine = hilite;
    Invalidate();
    if (IsCreated()) SetScrollPos(ui::SB_VERT, m_nTopLine);
}

void CScrollBase::OnHScroll(int code, int pos)
{
    int offset = m_nHorzOffset;
    switch (code) {
    case ui::SB_LINELEFT: offset = std::max(offset - 5, 0); break;
    case ui::SB_LINERIGHT: if (offset < m_nHorzMax) offset += 5; break;
    case ui::SB_PAGELEFT: offset = std::max(offset - 40, 0); break;
    case ui::SB_PAGERIGHT: if (offset < m_nHorzMax) offset += 40; break;
    case ui::SB_THUMBTRACK:
    case ui::SB_THUMBPOSITION: offset = pos; break;
    case ui::SB_LEFT: offset = 0; break;
    case ui::SB_RIGHT: offset = m_nHorzMax; break;
    default: return;
    }
    if (offset == m_nHorzOffset) return;
    m_nHorzOffset = offset;
    Invalidate();
    if (IsCreated()) SetScrollPos(ui::SB_HORZ, m_nHorzOffset);
}

void CScrollBase::ShowHighlight()
{
    if (m_nLinesInWindow <= 0) {
        m_nTopLine = m_nHiLiteLine;
        return;
    }
    if (m_nMaxLines <= m_nLinesInWindow) return;
    if (m_nHiLiteLine >= m_nTopLine && m_nHiLiteLine <= m_nTopLine + m_nLinesInWindow - 1) return;
    if (m_nHiLiteLine >= m_nMaxLines - m_nLinesInWindow)
        m_nTopLine = m_nMaxLines - m_nLinesInWindow;
    else if (m_nHiLiteLine > m_nLinesInWindow / 2)
        m_nTopLine = m_nHiLiteLine - m_nLinesInWindow / 2;
    else
        m_nTopLine = m_nHiLiteLine;
}

// ---- Keys ----------------------------------------------------------------------------------

bool CScrollBase::OnKeyDown(int vk)
{
    if (vk == ui::VK_CONTROL) {
        m_bCtrlDown = true;
        return true;
    }
    HandleKey(vk, m_bCtrlDown);
    return true;
}

bool CScrollBase::OnKeyUp(int vk)
{
    if (vk == ui::VK_CONTROL) m_bCtrlDown = false;
    return false;
}

void CScrollBase::HandleKey(int vk, bool ctrl)
{
    if (m_bKeyLock) {
        GetResponse("Dorvalquintex has detected an error for this key.\nPlease use mouse to select button.");
        return;
    }
    switch (vk) {
    case ui::VK_TAB: OnTab(); return;
    case ui::VK_ESCAPE: OnEscape(); return;
    case ui::VK_SPACE: OnChooseLine(); return;
    case ui::VK_PRIOR: OnVScroll(ui::SB_PAGEUP, 0); return;
    case ui::VK_NEXT: OnVScroll(ui::SB_PAGEDOWN, 0); return;
    case ui::VK_HOME:
        if (ctrl) OnVScroll(ui::SB_TOP, 0);
        else OnHScroll(ui::SB_LEFT, 0);
        return;
    case ui::VK_END:
        if (ctrl) OnVScroll(ui::SB_BOTTOM, 0);
        else OnHScroll(ui::SB_RIGHT, 0);
        return;
    case ui::VK_LEFT: OnHScroll(ui::SB_LINELEFT, 0); return;
    case ui::VK_RIGHT: OnHScroll(ui::SB_LINERIGHT, 0); return;
    case ui::VK_UP:
        if (m_nHiLiteLine <= 0) return;
        if (m_nHiLiteLine == m_nTopLine) {
            OnVScroll(ui::SB_LINEUP, 0);
        } else {
            --m_nHiLiteLine;
            Invalidate();
        }
        return;
    case ui::VK_DOWN:
        if (m_nHiLiteLine >= m_nMaxLines - 1) return;
        if (m_nHiLiteLine >= m_nTopLine + m_nLinesInWindow - 1) {
            OnVScroll(ui::SB_LINEDOWN, 0);
        } else {
            ++m_nHiLiteLine;
            Invalidate();
        }
        return;
    case ui::VK_DELETE: DeleteHighlighted(); return;
    case ui::VK_F2: Find(ctrl ? 'B' : 'F'); return;
    case ui::VK_F3: FindNext(); return;
    case ui::VK_F4: OnF4(); return;
    case ui::VK_F5:
        if (ctrl) OnCtrlF5();
        else OnF5();
        return;
    case ui::VK_F6: OnF6(); return;
    case ui::VK_F7:
        if (ctrl) OnCtrlF7();
        else OnF7();
        return;
    case ui::VK_F8: OnF8(); return;
    case ui::VK_F9: OnF9(); return;
    case ui::VK_F10: OnF10(); return;
    case ui::VK_F11: OnF11(); return;
    default: break;
    }
    if (!ctrl) {
        OnOtherKey(vk);
        return;
    }
    switch (vk) {
    case '1': OnCtrl1(); break;
    case '2': OnCtrl2(); break;
    case 'E': OnCtrlE(); break;
    case 'I': OnCtrlI(); break;
    case 'L': OnCtrlL(); break;
    case 'Q': OnCtrlQ(); break;
    case 'B':
        // The launcher's backup command, enabled and run through the frame.
        if (GetFrame()) GetFrame()->SendCommand(30000);
        break;
    case 'R':
        if (GetFrame()) GetFrame()->SendCommand(30003);
        Invalidate();
        break;
    default: break;
    }
}

// ---- Mouse ---------------------------------------------------------------------------------

int CScrollBase::LineFromPoint(int y) const
{
    if (m_nMaxLines <= 0) return -1;
    int top = 0;
    for (const stPageLineRecord& line : m_aPageLines) {
        if (line.nIndex == -1) {
            top += line.nHeight;
            if (y < top) return -1;
            continue;
        }
        if (y >= top && y < top + line.nHeight) return line.nIndex;
        top += line.nHeight;
    }
    return -1;
}

void CScrollBase::OnLButtonDown(int x, int y)
{
    (void)x;
    if (m_nDragSeparator >= 0 && m_bHeader && UserAccessLevel >= 9) {
        m_bDragging = true;
        ShowSizeCursor(true);
        Invalidate();
        return;
    }
    const int line = LineFromPoint(y);
    if (line >= 0 && line != m_nHiLiteLine) {
        m_nHiLiteLine = line;
        Invalidate();
    }
}

void CScrollBase::OnLButtonUp(int, int)
{
    if (!m_bDragging) return;
    m_bDragging = false;
    m_nDragSeparator = -1;
    ShowSizeCursor(false);
    if (m_bLayoutChanged) {
        if (m_pHeaderFormat && m_pHeaderFormat->nCode != -1) SaveHeaderFormat();
        m_bLayoutChanged = 0;
        if (ui::FrameWindow* frame = GetFrame()) frame->BringWindowToTop();
    }
    Invalidate();
}

void CScrollBase::SaveHeaderFormat()
{
    if (m_pDB && m_pHeaderFormat) m_pDB->WriteFormatRecord(*m_pHeaderFormat);
}

void CScrollBase::OnLButtonDblClk(int, int) { OnChooseLine(); }

void CScrollBase::OnRButtonDown(int, int y)
{
    const int line = LineFromPoint(y);
    if (line >= 0) m_nHiLiteLine = line;
    Invalidate();
    if (m_nMaxLines > 0) EditHighlighted();
}

void CScrollBase::ShowSizeCursor(bool on)
{
    SetCursorShape(on ? ui::CursorShape::SizeWE : ui::CursorShape::Arrow);
}

void CScrollBase::OnMouseMove(int x, int y)
{
    if (!m_bSeparatorsDrawn || !m_bHeader || UserAccessLevel < 9 || !m_pHeaderFormat) {
        ShowSizeCursor(false);
        return;
    }
    const int position = x + m_nHorzOffset;
    if (!m_bDragging) {
        m_nDragSeparator = -1;
        if (y < m_nHeaderHeight) {
            for (size_t i = 0; i < m_aHeaderTabs.size(); ++i) {
                if (std::abs(m_aHeaderTabs[i] - position) <= kGrabDistance) {
                    m_nDragSeparator = static_cast<int>(i);
                    break;
                }
            }
        }
        ShowSizeCursor(m_nDragSeparator >= 0);
        return;
    }
    const size_t i = static_cast<size_t>(m_nDragSeparator);
    if (i >= m_aHeaderTabs.size() || i >= m_pHeaderFormat->aTabStops.size()) return;
    if (i > 0 && position - m_aHeaderTabs[i - 1] <= kMinimumGap) return;
    if (i + 1 < m_aHeaderTabs.size() && m_aHeaderTabs[i + 1] - position <= kMinimumGap) return;
    if (position <= 0) return;
    m_pHeaderFormat->aTabStops[i] = position / m_dPixelsPerInch;
    m_aHeaderTabs[i] = position;
    m_bLayoutChanged = 1;
    Invalidate();
}

// ---- Find ----------------------------------------------------------------------------------

void CScrollBase::Find(char direction)
{
    CDialogFindFive dialog(this);
    if (dialog.DoModal() != ui::IDOK) return;
    for (size_t i = 0; i < m_aFindPhrases.size(); ++i) {
        m_aFindPhrases[i] = UpperText(dialog.m_aPhrases[i]);
        m_aFindNot[i] = dialog.m_aNot[i];
    }
    m_cFindDirection = direction;
    RunSearch(m_nHiLiteLine);
}

void CScrollBase::FindNext()
{
    RunSearch(m_nHiLiteLine + (m_cFindDirection == 'B' ? -1 : 1));
}

void CScrollBase::RunSearch(int start)
{
    bool any = false;
    for (size_t i = 0; i < m_aFindPhrases.size(); ++i)
        if (!m_aFindPhrases[i].empty() && !m_aFindNot[i]) any = true;
    if (!any) {
        GetResponse("No words/phrases to search for");
        return;
    }
    // One restart at most: after it every line has been searched.
    for (bool restarted = false;; restarted = true) {
        const int found = SearchLines(start, m_cFindDirection);
        if (found >= 0) {
            m_nHiLiteLine = found;
            ShowHighlight();
            Invalidate();
            break;
        }
        if (restarted || GetResponse("Not found. Restart at beginning?", MB_YESNO) != IDYES) break;
        // The beginning of a backward search is the last line.
        start = m_cFindDirection == 'B' ? m_nMaxLines - 1 : 0;
    }
    OnFindDone();
}

int CScrollBase::SearchLines(int start, char direction)
{
    host::WaitCursor wait;
    const int step = direction == 'B' ? -1 : 1;
    for (int i = start; i >= 0 && i < m_nMaxLines; i += step) {
        char mark = 'V';
        char status = 0;
        std::string text;
        GetLine(i, mark, status, text);
        text = UpperText(text);
        bool match = true;
        for (size_t k = 0; k < m_aFindPhrases.size() && match; ++k) {
            if (m_aFindPhrases[k].empty()) continue;
            const bool contains = text.find(m_aFindPhrases[k]) != std::string::npos;
            match = m_aFindNot[k] ? !contains : contains;
        }
        if (match) return i;
    }
    return -1;
}

// ---- Print ---------------------------------------------------------------------------------

void CScrollBase::PrintLines(uint32_t layoutIndex)
{
    if (m_nMaxLines < 1) return;
    host::WaitCursor wait;
    std::vector<stFmtString> lines;
    auto add = [&](int index) {
        stFmtString line;
        char mark = 'P';
        line.pFormat = GetLine(index, mark, line.cKind, line.strText);
        lines.push_back(std::move(line));
    };
    if (m_bHeader) add(-1);
    for (int i = 0; i < m_nMaxLines; ++i) add(i);
    if (!WritePageLineFile(lines)) return;
    stPageLayout layout;
    if (m_pDB && layoutIndex < m_pDB->m_aPageLayouts.size()) layout = m_pDB->m_aPageLayouts[layoutIndex];
    stPrinterDef noPrinter;
    IViewFrame* frame = IViewFrame::Of(*this);
    PrintPageLineFile(frame ? frame->GetPrinterDef() : noPrinter, layout, 1);
}
