#pragma once
// The open-window list (main frame, then every modal dialog, newest last) and the wait box that
// disables them during a long operation.

#include <cstdint>
#include <string>
#include <vector>

namespace ui { class Window; }
class CDialogWaitBox;

std::vector<ui::Window*>& WndList();

void AddToWndList(ui::Window* window);
void RemoveFromWndList(ui::Window* window);
void EnableWndList(bool enable);

// Opens the modeless "Please wait" box; `steps` above 0 selects the multi-step display.
CDialogWaitBox* ShowWaitBox(const std::string& message, bool abortAllowed, int32_t steps);
// Destroys the box (may be null) and enables the listed windows again.
void CloseWaitBox(CDialogWaitBox* box);
