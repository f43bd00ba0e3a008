#pragma once
// CDialogAutoCheckIn: "Student self check-in", the kiosk: a maximised screen with the studio's
// logo (or its logo text), the welcome message and one masked entry box, in which a student
// swipes a card or types a membership number and presses Enter to go on to the activity
// selection. Only a user's password (any letter case) typed into the box closes it.
//
// The kiosk holds no refresh of its own: another desk's new student is found while it is up,
// and the selection dialog holds the refresh while it is open.

#include <cstdint>
#include <string>

#include "platform/ui/Dialog.h"
#include "widgets/DisplayImage.h"
#include "widgets/Label.h"

class CDatabase;

// The private message the kiosk posts itself after a paint: lay the screen out.
constexpr uint32_t MSG_AUTOCHECKIN_LAYOUT = 1027;

class CDialogAutoCheckIn : public ui::Dialog {
public:
    // The places of the screen's parts (pixels of the client area). An empty rectangle is not
    // shown.
    struct stLayout {
        ui::DCRect prompt;
        ui::DCRect entry;
        ui::DCRect welcome;
        ui::DCRect message;
        ui::DCRect logo;
    };
    // The layout of a client area with the prompt's and entry box's sizes and the logo's share
    // of the height in percent, with the logo (logo 1) or the logo text in its place.
    static stLayout ComputeLayout(const ui::DCRect& client, ui::DCSize prompt, ui::DCSize entry, double percent,
                                  int logo);

    explicit CDialogAutoCheckIn(CDatabase* database, ui::Window* parent = nullptr);
    ~CDialogAutoCheckIn() override;

    bool OnInitDialog() override;
    void OnCancel() override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    // Lays the screen out once (later calls do nothing).
    void LayOut();
    bool IsLaidOut() const { return m_bLaidOut != 0; }
    const stLayout& GetLayout() const { return m_Layout; }

    CDatabase* m_pDatabase;
    CLabel m_Welcome;
    CLabel m_Message;
    // The logo's area: a child window that draws the logo file through the image display.
    class CLogoArea : public ui::Window {
    public:
        void OnPaint(ui::DC& dc) override { m_Image.Draw(dc); }
        CDisplayImage m_Image;
    };
    CLogoArea m_Logo;

private:
    // Enter or Space: the typed code checks a student in, a password closes the kiosk.
    void TakeEntry();
    bool IsUserPassword(const std::string& text) const;
    std::string EntryText() const;
    void ApplyLook(CLabel& label, uint32_t offset, const std::string& text);

    ui::Window* m_pWelcome = nullptr;
    ui::Window* m_pMessage = nullptr;
    ui::Window* m_pPrompt = nullptr;
    ui::Window* m_pEntry = nullptr;
    int m_bLaidOut = 0;
    int m_bLogoPresent = 0;
    ui::COLORREF m_crBackground = 0;
    stLayout m_Layout;
};
