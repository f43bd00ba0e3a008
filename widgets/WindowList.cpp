#include "widgets/WindowList.h"

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "widgets/DialogWaitBox.h"
#include "platform/host/Format.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <cstdint>

namespace {

// Windows are named in the trace by their address, as a 32-bit number.
unsigned AddressOf(const ui::Window* window)
{
    return static_cast<unsigned>(reinterpret_cast<uintptr_t>(window));
}

}  // namespace

std::vector<ui::Window*>& WndList()
{
    static std::vector<ui::Window*> list;
    return list;
}

void AddToWndList(ui::Window* window)
{
    if (DiagnosticLevel > 0) {
        DiagnosticText = Format("AddToWndList(%u)\n", AddressOf(window));
        WriteDiagnostic();
    }
    WndList().push_back(window);
}

void RemoveFromWndList(ui::Window* window)
{
    if (DiagnosticLevel > 0) {
        DiagnosticText = Format("RemoveFromWndList(%u)\n", AddressOf(window));
        WriteDiagnostic();
    }
    std::vector<ui::Window*>& list = WndList();
    if (!list.empty() && list.back() == window) {
        list.pop_back();
        return;
    }
    GetResponse("Error in window sequence.", MB_OK);
    auto it = std::find(list.begin(), list.end(), window);
    if (it != list.end()) list.erase(it);
}

void EnableWndList(bool enable)
{
    // A copy: enabling a window may run handlers that change the list.
    const std::vector<ui::Window*> list = WndList();
    for (size_t i = 0; i < list.size(); ++i) {
        ui::Window* window = list[i];
        window->EnableWindow(enable);
        if (enable && i + 1 == list.size()) window->BringWindowToTop();
        if (DiagnosticLevel > 0) {
            DiagnosticText = Format("EnableWndList(%u) = %s\n", AddressOf(window),
                                    FormatBool(enable ? 1 : 0).c_str());
            WriteDiagnostic();
        }
    }
}

CDialogWaitBox* ShowWaitBox(const std::string& message, bool abortAllowed, int32_t steps)
{
    auto* box = new CDialogWaitBox(message, abortAllowed, steps, nullptr);
    box->Create(nullptr);
    EnableWndList(false);
    box->EnableWindow(true);
    return box;
}

void CloseWaitBox(CDialogWaitBox* box)
{
    delete box;  // destroys its window
    EnableWndList(true);
}
