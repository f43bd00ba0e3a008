#pragma once
// CLauncherButton: one of the launcher's sixteen command buttons. A plain child window that draws
// itself as a push button with its caption; a click or double-click sends OnCommand(id,
// BN_CLICKED) to the launcher, as a push button does. Keys pressed while it has the focus are
// the launcher's.

#include "platform/ui/Window.h"

class CLauncherButton : public ui::Window {
public:
    void OnPaint(ui::DC& dc) override;
    void OnLButtonDown(int x, int y) override;
    void OnLButtonUp(int x, int y) override;
    void OnLButtonDblClk(int x, int y) override;
    bool OnKeyDown(int vk) override;
    void SetWindowText(const std::string& text) override;
    std::string GetWindowText() const override { return m_sCaption; }

    // Whether the launcher's selection frame is drawn on this button.
    void SetSelected(bool selected);
    bool IsSelected() const { return m_bSelected; }
    // A greyed button is disabled and draws its caption grey.
    void SetGreyed(bool greyed);
    bool IsGreyed() const { return m_bGreyed; }

private:
    void Clicked();
    std::string m_sCaption;
    bool m_bSelected = false;
    bool m_bPressed = false;
    bool m_bGreyed = false;
};
