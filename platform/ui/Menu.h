#pragma once
// Menus as data tables by resource id, in place of menu resources:
//
//   const ui::MenuTemplate kMenu104 = {104, {
//       ui::Popup("&File", {
//           ui::Item(30006, "&Print\tCtrl+P", "Print the list"),
//           ui::Separator(),
//           ui::Item(57665, "E&xit"),
//       }),
//   }};
//   ui::RegisterMenu(kMenu104);          // once; FrameWindow::LoadMenu(104) finds it
//
// An item's prompt is what the frame's message pane shows while the item is highlighted.
// Item texts keep the Win32 conventions: '&' marks the mnemonic ("&&" is a literal '&'), and
// text after "\t" is the accelerator text shown at the right; the key itself is an Accelerator.
//
// A Menu is the live menu of a frame: the table's items with their enabled, checked and text
// state, which commands and update handlers change by command id.

#include <functional>
#include <string>
#include <vector>

namespace ui {

struct MenuItem {
    int id = 0;            // command id; 0 for a separator or a popup
    std::string text;      // empty (with id 0 and no items) for a separator
    std::vector<MenuItem> items;  // a popup's items
    bool enabled = true;
    bool checked = false;
    std::string prompt;    // status-bar prompt; empty for none

    bool IsSeparator() const { return id == 0 && text.empty() && items.empty(); }
    bool IsPopup() const { return id == 0 && !text.empty(); }
};

inline MenuItem Item(int id, std::string text, std::string prompt = {})
{
    return MenuItem{id, std::move(text), {}, true, false, std::move(prompt)};
}
inline MenuItem Separator() { return MenuItem{}; }
inline MenuItem Popup(std::string text, std::vector<MenuItem> items)
{
    return MenuItem{0, std::move(text), std::move(items), true, false, {}};
}

struct MenuTemplate {
    int id = 0;
    std::vector<MenuItem> items;  // the menu bar's entries (popups, or plain commands)
};

// The table of menu resources. Registering an id again replaces its table.
void RegisterMenu(const MenuTemplate& menu);
const MenuTemplate* FindMenuTemplate(int id);

class Menu {
public:
    Menu() = default;
    explicit Menu(const MenuTemplate& tmpl) : id_(tmpl.id), items_(tmpl.items) {}

    int GetId() const { return id_; }
    const std::vector<MenuItem>& Items() const { return items_; }
    std::vector<MenuItem>& Items() { return items_; }

    // State by command id, searched through all popups. False when no item has the id.
    bool HasItem(int id) const { return Find(id) != nullptr; }
    bool EnableMenuItem(int id, bool enable);
    bool CheckMenuItem(int id, bool check);
    bool SetMenuItemText(int id, const std::string& text);
    bool IsEnabled(int id) const;  // false when missing
    bool IsChecked(int id) const;
    std::string GetMenuItemText(int id) const;
    std::string GetMenuItemPrompt(int id) const;  // "" when missing or without a prompt
    // Every command id, in menu order.
    std::vector<int> CommandIds() const;

    // The item with the id, or null.
    MenuItem* Find(int id);
    const MenuItem* Find(int id) const;

private:
    int id_ = 0;
    std::vector<MenuItem> items_;
};

// The text without its accelerator part and with the mnemonic marks removed ("&Print\tCtrl+P" ->
// "Print", "Save && exit" -> "Save & exit").
std::string MenuTextPlain(const std::string& text);
// The accelerator text after "\t", or "".
std::string MenuTextAccelerator(const std::string& text);

// A key that sends a command (Win32 accelerator table entry): a virtual-key code with modifiers.
struct Accelerator {
    int vk = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    int command = 0;
};

// The state a command's update handler sets (the framework's command UI object). Handlers change
// only what they call; the rest stays as the menu has it.
class CmdUI {
public:
    explicit CmdUI(int id, bool enabled = true, bool checked = false)
        : id_(id), enabled_(enabled), checked_(checked)
    {
    }
    int GetId() const { return id_; }
    void Enable(bool enable = true) { enabled_ = enable; }
    void SetCheck(bool check = true) { checked_ = check; }
    void SetText(const std::string& text)
    {
        text_ = text;
        textSet_ = true;
    }
    bool IsEnabled() const { return enabled_; }
    bool IsChecked() const { return checked_; }
    bool TextSet() const { return textSet_; }
    const std::string& Text() const { return text_; }

private:
    int id_;
    bool enabled_;
    bool checked_;
    bool textSet_ = false;
    std::string text_;
};

using UpdateHandler = std::function<void(CmdUI&)>;

// Update handlers by command id, for frames and views.
class CommandUpdaters {
public:
    void SetUpdateHandler(int id, UpdateHandler handler);
    // Runs the handler of cmd's id; false when there is none.
    bool RunUpdateHandler(CmdUI& cmd) const;

private:
    std::vector<std::pair<int, UpdateHandler>> handlers_;
};

} // namespace ui
