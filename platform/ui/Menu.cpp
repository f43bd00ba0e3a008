#include "platform/ui/Menu.h"

#include <map>

namespace ui {

namespace {

std::map<int, MenuTemplate>& Templates()
{
    static std::map<int, MenuTemplate> templates;
    return templates;
}

MenuItem* FindIn(std::vector<MenuItem>& items, int id)
{
    for (MenuItem& item : items) {
        if (item.id == id && id != 0)
            return &item;
        if (MenuItem* found = FindIn(item.items, id))
            return found;
    }
    return nullptr;
}

void CollectIds(const std::vector<MenuItem>& items, std::vector<int>& ids)
{
    for (const MenuItem& item : items) {
        if (item.id != 0)
            ids.push_back(item.id);
        CollectIds(item.items, ids);
    }
}

} // namespace

void RegisterMenu(const MenuTemplate& menu) { Templates()[menu.id] = menu; }

const MenuTemplate* FindMenuTemplate(int id)
{
    auto it = Templates().find(id);
    return it == Templates().end() ? nullptr : &it->second;
}

MenuItem* Menu::Find(int id) { return FindIn(items_, id); }
const MenuItem* Menu::Find(int id) const
{
    return FindIn(const_cast<std::vector<MenuItem>&>(items_), id);
}

bool Menu::EnableMenuItem(int id, bool enable)
{
    MenuItem* item = Find(id);
    if (item)
        item->enabled = enable;
    return item != nullptr;
}

bool Menu::CheckMenuItem(int id, bool check)
{
    MenuItem* item = Find(id);
    if (item)
        item->checked = check;
    return item != nullptr;
}

bool Menu::SetMenuItemText(int id, const std::string& text)
{
    MenuItem* item = Find(id);
    if (item)
        item->text = text;
    return item != nullptr;
}

bool Menu::IsEnabled(int id) const
{
    const MenuItem* item = Find(id);
    return item && item->enabled;
}

bool Menu::IsChecked(int id) const
{
    const MenuItem* item = Find(id);
    return item && item->checked;
}

std::string Menu::GetMenuItemText(int id) const
{
    const MenuItem* item = Find(id);
    return item ? item->text : std::string();
}

std::string Menu::GetMenuItemPrompt(int id) const
{
    const MenuItem* item = Find(id);
    return item ? item->prompt : std::string();
}

std::vector<int> Menu::CommandIds() const
{
    std::vector<int> ids;
    CollectIds(items_, ids);
    return ids;
}

std::string MenuTextPlain(const std::string& text)
{
    const std::string label = text.substr(0, text.find('\t'));
    std::string plain;
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&') {
            if (i + 1 < label.size() && label[i + 1] == '&') {
                plain += '&';
                ++i;
            }
            continue;
        }
        plain += label[i];
    }
    return plain;
}

std::string MenuTextAccelerator(const std::string& text)
{
    const std::size_t tab = text.find('\t');
    return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

void CommandUpdaters::SetUpdateHandler(int id, UpdateHandler handler)
{
    for (auto& [hid, h] : handlers_) {
        if (hid == id) {
            h = std::move(handler);
            return;
        }
    }
    handlers_.emplace_back(id, std::move(handler));
}

bool CommandUpdaters::RunUpdateHandler(CmdUI& cmd) const
{
    for (const auto& [hid, h] : handlers_) {
        if (hid == cmd.GetId() && h) {
            h(cmd);
            return true;
        }
    }
    return false;
}

} // namespace ui
