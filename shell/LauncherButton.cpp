#include "shell/LauncherButton.h"

#include "platform/ui/Messages.h"

namespace {
constexpr ui::COLORREF kFace = 0x00F0F0F0;
constexpr ui::COLORREF kLight = 0x00FFFFFF;
constexpr ui::COLORREF kShadow = 0x00A0A0A0;
constexpr ui::COLORREF kBlack = 0x00000000;
constexpr ui::COLORREF kGreyText = 0x006D6D6D;
}  // namespace

void CLauncherButton::SetWindowText(const std::string& text)
{
    m_sCaption = text;
    ui::Window::SetWindowText(text);
    Invalidate();
}

void CLauncherButton::SetSelected(bool selected)
{
    if (m_bSelected == selected) return;
    m_bSelected = selected;
    Invalidate();
}

void CLauncherButton::SetGreyed(bool greyed)
{
    m_bGreyed = greyed;
    EnableWindow(!greyed);
    Invalidate();
}

void CLauncherButton::OnPaint(ui::DC& dc)
{
    const ui::DCRect r = GetClientRect();
    const int w = r.Width(), h = r.Height();
    dc.FillSolidRect(r, kFace);
    // Raised edge, sunk while pressed.
    const ui::COLORREF topLeft = m_bPressed ? kShadow : kLight;
    const ui::COLORREF bottomRight = m_bPressed ? kLight : kShadow;
    dc.FillSolidRect({0, 0, w, 1}, topLeft);
    dc.FillSolidRect({0, 0, 1, h}, topLeft);
    dc.FillSolidRect({0, h - 1, w, h}, bottomRight);
    dc.FillSolidRect({w - 1, 0, w, h}, bottomRight);
    if (m_bSelected) {
        // Four black bars 4 pixels thick inside the button.
        const int fw = w - 3, fh = h - 3;
        dc.FillSolidRect({1, 1, 1 + fw, 5}, kBlack);
        dc.FillSolidRect({1, fh - 3, 1 + fw, fh + 1}, kBlack);
        dc.FillSolidRect({1, 1, 5, 1 + fh}, kBlack);
        dc.FillSolidRect({fw - 1, 1, fw + 3, 1 + fh}, kBlack);
    }
    ui::Font font;
    font.face = "Arial";
    font.sizeTenths = 90;
    dc.SelectFont(font);
    dc.SetTextColor(m_bGreyed ? kGreyText : kBlack);
    dc.SetBkMode(ui::TRANSPARENT);
    const ui::DCSize extent = dc.GetTextExtent(m_sCaption);
    dc.TextOut((w - extent.cx) / 2, (h - extent.cy) / 2, m_sCaption);
}

void CLauncherButton::OnLButtonDown(int, int)
{
    if (m_bGreyed) return;
    m_bPressed = true;
    Invalidate();
}

void CLauncherButton::OnLButtonUp(int x, int y)
{
    if (!m_bPressed) return;
    m_bPressed = false;
    Invalidate();
    const ui::DCRect r = GetClientRect();
    if (x >= 0 && y >= 0 && x < r.Width() && y < r.Height()) Clicked();
}

void CLauncherButton::OnLButtonDblClk(int, int)
{
    if (!m_bGreyed) Clicked();
}

bool CLauncherButton::OnKeyDown(int vk)
{
    ui::Window* parent = GetParent();
    return parent != nullptr && parent->OnKeyDown(vk);
}

void CLauncherButton::Clicked()
{
    if (ui::Window* parent = GetParent()) parent->OnCommand(GetDlgCtrlID(), ui::BN_CLICKED);
}
