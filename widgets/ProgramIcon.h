#pragma once
// The icons of the two programs: the studio program's windows and the installer's dialog.

#include "platform/ui/Icon.h"

ui::Icon ProgramIcon();
ui::Icon InstallerIcon();
