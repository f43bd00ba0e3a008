#pragma once
// ui::View: a child window in a frame's client area that draws a document (OnDraw) and takes the
// frame's commands first while it is the frame's active view.
//
// Scroll bars: a view can show a vertical and a horizontal bar and keep their range and position
// itself, as Win32 code does with SetScrollRange / SetScrollPos; the user's actions on a bar reach
// OnVScroll / OnHScroll with the Win32 request codes. ScrollView builds document scrolling on it.

#include "platform/ui/Menu.h"
#include "platform/ui/Window.h"

#include <memory>

namespace ui {

class FrameWindow;

// Scroll bar ids and request codes, with their Win32 values.
enum ScrollBarId : int { SB_HORZ = 0, SB_VERT = 1 };
enum ScrollCode : int {
    SB_LINEUP = 0,
    SB_LINELEFT = 0,
    SB_LINEDOWN = 1,
    SB_LINERIGHT = 1,
    SB_PAGEUP = 2,
    SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_LEFT = 6,
    SB_BOTTOM = 7,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8,
};

class View : public Window {
public:
    View();
    ~View() override;

    // Creates the view's window as a child of the frame (hidden until the frame shows it).
    bool CreateView(FrameWindow* frame, int id);
    FrameWindow* GetFrame() const { return frame_; }
    void SetFrame(FrameWindow* frame) { frame_ = frame; }

    // Draws the document; the DC's origin is the view's (a ScrollView offsets it).
    virtual void OnDraw(DC& dc);
    // The document changed: the default repaints the view.
    virtual void OnUpdate();
    // The frame made the view active (true) or another view active (false).
    virtual void OnActivateView(bool active);

    // Update handlers for the view's commands (run before the frame's).
    CommandUpdaters& Updaters() { return updaters_; }

    // Scroll bars.
    void ShowScrollBar(ScrollBarId bar, bool show);
    bool IsScrollBarVisible(ScrollBarId bar) const;
    void SetScrollRange(ScrollBarId bar, int minPos, int maxPos);
    void GetScrollRange(ScrollBarId bar, int& minPos, int& maxPos) const;
    // The position is kept within the range.
    int SetScrollPos(ScrollBarId bar, int pos);
    int GetScrollPos(ScrollBarId bar) const;
    // The size of the thumb's page (Win32 SCROLLINFO nPage); 0 for a minimal thumb.
    void SetScrollPage(ScrollBarId bar, int page);
    // The user's actions on the bars. pos is the thumb position for SB_THUMBTRACK and
    // SB_THUMBPOSITION. The default does nothing: the bar stays where the view puts it.
    virtual void OnVScroll(int code, int pos);
    virtual void OnHScroll(int code, int pos);
    // The client area less the visible scroll bars.
    DCRect GetViewClientRect() const;

    void OnPaint(DC& dc) override;
    void OnSize(int cx, int cy) override;

protected:
    // Around OnDraw: paints the corner between two visible bars in the face colour and keeps the
    // drawing inside the area the bars leave; EndViewPaint lifts that clip again.
    void BeginViewPaint(DC& dc);
    void EndViewPaint(DC& dc);

private:
    struct Bars;
    void PlaceBars();
    FrameWindow* frame_ = nullptr;
    CommandUpdaters updaters_;
    std::unique_ptr<Bars> bars_;
};

} // namespace ui
