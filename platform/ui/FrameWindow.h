#pragma once
// ui::FrameWindow: a top-level window with a menu bar, a status bar and a current view between
// them. Commands from the menu and the accelerators are routed to the active view first, then to
// the frame (OnCmdMsg); before a menu opens and before a command runs, each command's update
// handler (the view's, else the frame's) sets its enabled and checked state, and a disabled
// command does not run.
//
//   class CMainFrame : public ui::FrameWindow { ... bool OnCommand(int id, int code) override; };
//   frame.CreateFrame("Dorvalquintex", {0, 0, 800, 600});
//   frame.CreateStatusBar({0, 30115, 30116, 30117, 30118});
//   frame.LoadMenu(104);
//   view.CreateView(&frame, 59648);
//   frame.SwitchView(&view);

#include "platform/ui/Menu.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Window.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {

class View;

class FrameWindow : public Window {
public:
    FrameWindow();
    ~FrameWindow() override;

    // Creates the frame as a top-level window (not shown) with the title and screen rectangle.
    bool CreateFrame(const std::string& title, const DCRect& rect);

    // Menu bar. LoadMenu takes a registered menu table (false when none has the id).
    bool LoadMenu(int menuId);
    void SetMenu(const Menu& menu);
    Menu& GetMenu() { return menu_; }
    // Shows the menu's current items and states on the bar (after changes to GetMenu()).
    void DrawMenuBar();
    // Runs every menu command's update handler and shows the result.
    void UpdateMenuState();
    // The same for the entries on the bar itself (not in a popup): done after the bar is drawn,
    // a view switched or a command run, and every quarter second while the frame shows.
    void UpdateBarState();

    // Menu highlighting, as the mouse or the arrow keys move over the menus: a command's prompt
    // shows in the message pane while it is highlighted, nothing on a popup's own entry, and the
    // idle message "Ready" once the menus close. id > 0 a command, 0 a popup entry, -1 closed.
    virtual void OnMenuSelect(int id);
    // Highlights the command's item on the bar (its action's hover); false when it has none.
    bool HighlightMenuItem(int id);
    // Closes every open menu of the bar, as Escape or a click elsewhere does.
    void CloseMenus();

    // Accelerators: keys that send commands.
    void SetAccelerators(std::vector<Accelerator> accelerators);
    // Sends the command of a matching accelerator; false when none matches or it is disabled.
    bool TranslateAccelerator(int vk, bool ctrl, bool shift, bool alt);

    // Status bar, made by CreateStatusBar with its panes (see StatusBar).
    bool CreateStatusBar(const std::vector<int>& paneIds);
    StatusBar& GetStatusBar() { return statusBar_; }

    // Views. The view rectangle is the client area between the menu bar and the status bar.
    DCRect GetViewRect() const;
    View* GetActiveView() const { return activeView_; }
    // Makes the view the one that takes commands first (null: none), without showing it.
    void SetActiveView(View* view);
    // Hides the current view, places the view over the view rectangle, shows it, gives it the
    // focus and makes it active.
    void SwitchView(View* view);

    // Update handlers for the frame's own commands.
    CommandUpdaters& Updaters() { return updaters_; }
    // The state of a command now: the menu item's state, changed by the view's update handler,
    // or else by the frame's.
    CmdUI QueryCommandState(int id);
    // A command from the menu, an accelerator or code that sends one: runs its update first and
    // drops it when disabled; then OnCmdMsg. True when someone handled it.
    bool SendCommand(int id);
    // Routing: the active view's OnCommand, then the frame's. Override to route elsewhere first.
    virtual bool OnCmdMsg(int id);

    void OnSize(int cx, int cy) override;

private:
    struct Impl;
    void Layout();
    void ApplyState(const CmdUI& cmd);

    std::unique_ptr<Impl> impl_;
    Menu menu_;
    StatusBar statusBar_;
    bool hasStatusBar_ = false;
    View* activeView_ = nullptr;
    CommandUpdaters updaters_;
    std::vector<Accelerator> accelerators_;
};

} // namespace ui
