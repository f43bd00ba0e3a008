#include "widgets/AppHelpers.h"

#include "widgets/CommandGuards.h"
#include "common/Diagnostic.h"
#include "platform/host/Drives.h"
#include "platform/host/Format.h"
#include "platform/ui/Application.h"
#include "platform/ui/Menu.h"

char GetOsKind() { return 'N'; }

void EnableForAccessLevel(uint8_t level, ui::CmdUI& cmd)
{
    cmd.Enable(UserAccessLevel >= level && DatabaseOpen != 0);
}

int PumpMessages()
{
    ui::Application::PumpMessages();
    return 0;
}

uint64_t GetDriveFreeSpace(char drive, uint64_t* total)
{
    uint64_t freeBytes = 0, totalBytes = 0;
    if (!host::Drives::FreeSpace(Format("%c:\\", drive), freeBytes, &totalBytes))
        freeBytes = totalBytes = 0;
    if (total) *total = totalBytes;
    return freeBytes;
}

int FindTracedPointer(const void* pointer)
{
    const std::vector<const void*> list = GetTracedPointers();
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == pointer) return static_cast<int>(i);
    return -1;
}

std::string ReplaceFirstSpaceWithBar(const std::string& text)
{
    std::string out = text;
    const size_t blank = out.find(' ');
    if (blank != std::string::npos) out[blank] = '|';
    return out;
}

std::function<void(const std::string& path, double seconds)> ShowPictureWindow;
