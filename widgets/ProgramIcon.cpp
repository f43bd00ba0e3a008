#include "widgets/ProgramIcon.h"

ui::Icon ProgramIcon()
{
    static const ui::Icon icon = ui::Icon::Lettered("DQ", ui::RGB(128, 0, 64));
    return icon;
}

ui::Icon InstallerIcon()
{
    static const ui::Icon icon = ui::Icon::Lettered("DQ", ui::RGB(0, 96, 160));
    return icon;
}
