#include "views/EmployeeView.h"

#include "platform/ui/Menu.h"

using ui::Item;
using ui::Popup;
using ui::Separator;

void CEmployeeView::RegisterMenu()
{
    static const ui::MenuTemplate menu = {kMenuId, {
        Item(kCmdMainView, "&Main view"),
        Popup("&Find", {Item(kCmdFindFirst, "&First F2"), Item(kCmdFindRepeat, "&Repeat F3")}),
        Popup("&Teacher", {
            Item(kCmdCategory, "&Category"), Separator(), Item(kCmdAdd, "&Add"), Item(kCmdEdit, "&Edit", "Edit highlighted student"),
            Item(kCmdDelete, "&Delete"), Item(kCmdSchedule, "&Schedule"),
        }),
        Popup("&List", {
            Item(kCmdPrint, "&Print"), Item(kCmdFormat, "&Format"), Item(kCmdEmail, "emai&L"), Separator(),
            Item(kCmdAll, "&All"), Item(kCmdActive, "ac&Tive"),
        }),
        Item(kCmdHelp, "&Help", "Show help topic for this view"),
    }};
    ui::RegisterMenu(menu);
}

CEmployeeView::CEmployeeView()
{
    m_cKind = 'E';
    RegisterMenu();
    InstallUpdaters({
        {kCmdMainView, 0}, {kCmdCategory, 0}, {kCmdFindFirst, 0}, {kCmdFindRepeat, 0}, {kCmdAdd, 0},
        {kCmdEdit, 0}, {kCmdDelete, 7}, {kCmdSchedule, 0}, {kCmdEmail, 7}, {kCmdPrint, 7},
        {kCmdFormat, 7}, {kCmdAll, 0}, {kCmdActive, 0}, {kCmdHelp, 0},
    });
}
