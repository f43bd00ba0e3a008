#pragma once
// CLabel: a dialog's static text taken over (SubclassDlgItem) and drawn by itself, with its own
// font, text colour and background, an optional border or sunken edge, a flashing background on
// timer 1, a pointer shape of its own, and a click that opens its text when that is a web or
// mail link. Every setter returns the label, so that calls chain:
//
//   m_Message.SetFontName("Arial").SetFontSize(24).SetTextColor(ui::RGB(0, 0, 128));
//
// The font description keeps the Win32 habits the settings were made with: a negative height
// in pixels (SetFontSize's size), a weight of 400 or 700, a face of at most 31 characters.

#include <cstdint>
#include <string>

#include "platform/ui/Colour.h"
#include "platform/ui/Window.h"

class CLabel : public ui::Window {
public:
    // Extended and plain window styles the edge setters switch.
    static constexpr uint32_t WS_EX_STATICEDGE = 0x20000;
    static constexpr uint32_t WS_BORDER = 0x800000;
    static constexpr uint32_t kFlashTimer = 1;
    static constexpr uint32_t kFlashMs = 500;
    static constexpr size_t kFaceSize = 32;
    // The system colours a new label starts with: window text and button face.
    static constexpr ui::COLORREF kWindowText = ui::kBlack;
    static constexpr ui::COLORREF kButtonFace = ui::RGB(240, 240, 240);

    // The font description (Win32 LOGFONT's part the label uses).
    struct stLogFont {
        int32_t nHeight = -11;
        int32_t nWeight = 400;
        uint8_t cItalic = 0;
        uint8_t cUnderline = 0;
        char szFaceName[kFaceSize] = "Arial";
    };

    CLabel();
    ~CLabel() override;

    CLabel& SetTextColor(ui::COLORREF colour);
    CLabel& SetSunken(bool sunken);
    CLabel& SetBorder(bool border);
    CLabel& SetBkColor(ui::COLORREF colour);
    CLabel& FlashText(bool flash);
    CLabel& SetFontBold(bool bold);
    CLabel& SetFontUnderline(bool underline);
    CLabel& SetFontItalic(bool italic);
    CLabel& SetFontSize(int size);
    CLabel& SetFontName(const std::string& name);
    // The pointer over the label (Arrow: the class cursor).
    CLabel& SetCursor(ui::CursorShape shape);

    // The brush the colour request gives now: the flash brush in the dark phase of a background
    // flash, else the background brush.
    ui::COLORREF GetBrushColour() const;
    const stLogFont& GetLogFont() const { return m_LogFont; }
    // The font the description makes on a 96-dpi screen.
    ui::Font GetFont() const;
    uint32_t GetStyle() const { return m_nStyle; }
    uint32_t GetExStyle() const { return m_nExStyle; }
    int GetFlashPhase() const { return m_nPhase; }
    bool IsFlashing() const { return m_bTimerOn; }
    // Whether a click opens `text`: web addresses (http, https) and mail links only.
    static bool IsOpenableLink(const std::string& text);

    void OnPaint(ui::DC& dc) override;
    void OnTimer(uint32_t id) override;
    void OnLButtonDown(int x, int y) override;

private:
    void Redraw();

    ui::COLORREF m_crText = kWindowText;
    ui::COLORREF m_crBackground = kButtonFace;
    ui::COLORREF m_crFlash = kButtonFace;
    stLogFont m_LogFont;
    std::string m_sStoredText;
    int m_nPhase = 0;
    bool m_bTimerOn = false;
    int m_nLink = 1;
    int m_nFlashKind = 0;  // 0 none, 1 text, 2 background
    ui::CursorShape m_Cursor = ui::CursorShape::Arrow;
    uint32_t m_nStyle = 0;
    uint32_t m_nExStyle = 0;
};
