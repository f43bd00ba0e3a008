#pragma once
// Free functions that live with the application object and serve the whole program: the platform
// letter, command enabling by access level, message pumping in long loops, free disk space, a
// lookup in the memory trace, and a small text helper of the teacher activity grid.

#include <cstdint>
#include <functional>
#include <string>

namespace ui { class CmdUI; }

// 'N' on this system (the program's one supported platform family); 0 when it cannot tell.
char GetOsKind();
// Enables the command when the user's level is at least `level` and a database is open.
void EnableForAccessLevel(uint8_t level, ui::CmdUI& cmd);
// Delivers every waiting message, then returns 0.
int PumpMessages();
// Bytes free on the drive of the letter; its total bytes into `total` when given. 0 (and a total
// of 0) when the drive does not answer.
uint64_t GetDriveFreeSpace(char drive, uint64_t* total);
// Position of the pointer in the memory trace's registrations, or -1.
int FindTracedPointer(const void* pointer);
// A copy with the first blank replaced by "|".
std::string ReplaceFirstSpaceWithBar(const std::string& text);
// Shows a picture file in a window of its own, for `seconds` when above 0, else until the user
// closes it. Set by the program at start (the window lives with the shell); unset, nothing shows.
extern std::function<void(const std::string& path, double seconds)> ShowPictureWindow;
