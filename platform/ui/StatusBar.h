#pragma once
// The status bar of a frame: a row of panes at the bottom, each with an id, a width in pixels and
// a text. Pane 0 (id 0) is the message pane, which takes the room the others leave.

#include "platform/ui/Window.h"

#include <string>
#include <vector>

#include <memory>

namespace ui {

class StatusBar : public Window {
public:
    StatusBar();
    ~StatusBar() override;

    // Creates the bar as a child at the bottom of the parent with the given panes (ids; the first
    // is normally 0, the message pane). Pane widths start at 80 pixels, the message pane's grows.
    bool Create(Window* parent, const std::vector<int>& paneIds, int id = 59393);
    // Replaces the panes (texts cleared). False when an id is used twice.
    bool SetIndicators(const std::vector<int>& paneIds);

    int GetPaneCount() const { return static_cast<int>(panes_.size()); }
    // The index of the pane with the id, or -1.
    int CommandToIndex(int paneId) const;
    // Texts and widths by pane id; false when there is no such pane.
    bool SetPaneText(int paneId, const std::string& text);
    std::string GetPaneText(int paneId) const;
    bool SetPaneWidth(int paneId, int width);
    int GetPaneWidth(int paneId) const;  // -1 when missing
    // The message pane's text (pane 0).
    void SetMessageText(const std::string& text) { SetPaneText(panes_.empty() ? 0 : panes_[0].id, text); }

    // Height of the bar in pixels.
    int GetHeight() const;

private:
    struct Pane {
        int id = 0;
        int width = 80;
        std::string text;
    };
    void Layout();
    void OnSize(int cx, int cy) override;

    std::vector<Pane> panes_;
    struct Labels;  // the panes' labels on screen, in pane order
    std::unique_ptr<Labels> labels_;
};

} // namespace ui
