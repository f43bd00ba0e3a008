#pragma once
// CFrameHtml: a top-level window showing an HTML page (a report written as HTML, or a page chosen
// from the launcher) in its one view, with the menu "e&Xit" and "&Back". Made with new; deletes
// itself after its window is destroyed.

#include "platform/ui/FrameWindow.h"
#include "views/ViewHtml.h"

#include <string>

class CFrameHtml : public ui::FrameWindow {
public:
    static constexpr int kMenu = 130;
    static constexpr int kCmdExit = 30055;
    static constexpr int kCmdBack = 32773;

    CFrameHtml();
    ~CFrameHtml() override;

    // Creates and shows the window and navigates to the page; false when it cannot be shown.
    bool ShowHtml(const std::string& address);
    CViewHtml& GetHtmlView() { return m_View; }

    bool OnCommand(int id, int code) override;

private:
    CViewHtml m_View;
};
