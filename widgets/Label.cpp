#include "widgets/Label.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/host/Process.h"
#include "platform/ui/Dialog.h"

namespace {

// The lines of a static's text in its width: its own line breaks, then word wrap.
std::vector<std::string> WrapText(ui::DC& dc, const std::string& text, int width)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string para = text.substr(start, end - start);
        if (!para.empty() && para.back() == '\r') para.pop_back();
        std::string line;
        size_t at = 0;
        while (at < para.size()) {
            size_t next = para.find(' ', at);
            if (next == std::string::npos) next = para.size();
            const std::string word = para.substr(at, next - at);
            const std::string trial = line.empty() ? word : line + " " + word;
            if (!line.empty() && dc.GetTextExtent(trial).cx > width) {
                lines.push_back(line);
                line = word;
            } else {
                line = trial;
            }
            at = next + 1;
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// Whether the dialog's template gives the control a centred text.
bool IsCentredStatic(const ui::Window& label)
{
    const auto* dialog = dynamic_cast<const ui::Dialog*>(label.GetParent());
    if (!dialog) return false;
    for (const ui::ControlTemplate& c : dialog->GetTemplate().controls)
        if (c.id == label.GetDlgCtrlID()) return (c.style & ui::SS_CENTER) != 0;
    return false;
}

}  // namespace

CLabel::CLabel() = default;

CLabel::~CLabel()
{
    if (m_bTimerOn) KillTimer(kFlashTimer);
}

void CLabel::Redraw()
{
    Invalidate();
    UpdateWindow();
}

CLabel& CLabel::SetTextColor(ui::COLORREF colour)
{
    m_crText = colour;
    Redraw();
    return *this;
}

CLabel& CLabel::SetSunken(bool sunken)
{
    if (sunken) m_nExStyle |= WS_EX_STATICEDGE;
    else m_nExStyle &= ~WS_EX_STATICEDGE;
    Redraw();
    return *this;
}

CLabel& CLabel::SetBorder(bool border)
{
    if (border) m_nStyle |= WS_BORDER;
    else m_nStyle &= ~WS_BORDER;
    Redraw();
    return *this;
}

CLabel& CLabel::SetBkColor(ui::COLORREF colour)
{
    m_crBackground = colour;
    return *this;
}

CLabel& CLabel::FlashText(bool flash)
{
    if (m_bTimerOn) {
        KillTimer(kFlashTimer);
        m_bTimerOn = false;
    }
    if (flash) {
        m_nPhase = 0;
        m_bTimerOn = true;
        SetTimer(kFlashTimer, kFlashMs);
        m_nFlashKind = 2;
    }
    return *this;
}

CLabel& CLabel::SetFontBold(bool bold)
{
    m_LogFont.nWeight = bold ? 700 : 400;
    Redraw();
    return *this;
}

CLabel& CLabel::SetFontUnderline(bool underline)
{
    m_LogFont.cUnderline = underline ? 1 : 0;
    Redraw();
    return *this;
}

CLabel& CLabel::SetFontItalic(bool italic)
{
    m_LogFont.cItalic = italic ? 1 : 0;
    Redraw();
    return *this;
}

CLabel& CLabel::SetFontSize(int size)
{
    m_LogFont.nHeight = -size;
    Redraw();
    return *this;
}

CLabel& CLabel::SetFontName(const std::string& name)
{
    std::memset(m_LogFont.szFaceName, 0, kFaceSize);
    std::memcpy(m_LogFont.szFaceName, name.data(), std::min(name.size(), kFaceSize - 1));
    Redraw();
    return *this;
}

CLabel& CLabel::SetCursor(ui::CursorShape shape)
{
    m_Cursor = shape;
    SetCursorShape(shape);
    return *this;
}

ui::COLORREF CLabel::GetBrushColour() const
{
    return m_nFlashKind == 2 && m_nPhase == 0 ? m_crFlash : m_crBackground;
}

ui::Font CLabel::GetFont() const
{
    ui::Font font;
    font.face = m_LogFont.szFaceName;
    // A height of -n asks for characters n pixels high: n * 72 / 96 points on the screen.
    const int pixels = std::abs(m_LogFont.nHeight);
    font.sizeTenths = std::max(1, pixels * 720 / 96);
    font.bold = m_LogFont.nWeight >= 700;
    font.italic = m_LogFont.cItalic != 0;
    font.underline = m_LogFont.cUnderline != 0;
    return font;
}

bool CLabel::IsOpenableLink(const std::string& text)
{
    auto startsWith = [&text](const char* prefix) {
        const size_t n = std::strlen(prefix);
        if (text.size() <= n) return false;
        for (size_t i = 0; i < n; ++i)
            if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
        return true;
    };
    return startsWith("http://") || startsWith("https://") || startsWith("mailto:");
}

void CLabel::OnPaint(ui::DC& dc)
{
    const ui::DCRect client = GetClientRect();
    dc.FillSolidRect(client, GetBrushColour());
    if (m_nStyle & WS_BORDER) {
        dc.SelectPen(ui::Pen{ui::PS_SOLID, 0, ui::kBlack});
        dc.SelectBrush(ui::Brush{true, 0});
        dc.Rectangle(client);
    }
    if (m_nExStyle & WS_EX_STATICEDGE) {
        // Dark above and left, light below and right: the edge of a sunken static.
        dc.SelectPen(ui::Pen{ui::PS_SOLID, 0, ui::RGB(128, 128, 128)});
        dc.MoveTo(client.left, client.bottom - 1);
        dc.LineTo(client.left, client.top);
        dc.LineTo(client.right - 1, client.top);
        dc.SelectPen(ui::Pen{ui::PS_SOLID, 0, ui::kWhite});
        dc.LineTo(client.right - 1, client.bottom - 1);
        dc.LineTo(client.left, client.bottom - 1);
    }
    dc.SelectFont(GetFont());
    dc.SetTextColor(m_crText);
    dc.SetBkMode(ui::TRANSPARENT);
    const bool centred = IsCentredStatic(*this);
    const int height = dc.GetTextMetrics().height;
    int y = client.top;
    for (const std::string& line : WrapText(dc, GetWindowText(), client.Width())) {
        const int x = centred ? client.left + (client.Width() - dc.GetTextExtent(line).cx) / 2 : client.left;
        dc.TextOut(x, y, line);
        y += height;
    }
}

void CLabel::OnTimer(uint32_t id)
{
    if (id != kFlashTimer) {
        ui::Window::OnTimer(id);
        return;
    }
    m_nPhase = m_nPhase == 0 ? 1 : 0;
    if (m_nFlashKind == 1) {
        if (m_nPhase == 1) {
            m_sStoredText = GetWindowText();
            SetWindowText("");
        } else {
            SetWindowText(m_sStoredText);
        }
    } else if (m_nFlashKind == 2) {
        Redraw();
    }
    ui::Window::OnTimer(id);
}

void CLabel::OnLButtonDown(int x, int y)
{
    // Only a web or mail link is handed to the desktop's opener; a plain text opens nothing.
    const std::string text = GetWindowText();
    if (m_nLink == 1 && IsOpenableLink(text)) host::OpenWithDesktop(text);
    ui::Window::OnLButtonDown(x, y);
}
