#pragma once
// The program's wait cursor, shown while work keeps the user waiting. Begin and end calls nest:
// the cursor shows from the first begin to the matching last end. The window layer installs the
// function that shows it; without one (a program or test without windows) only the count is kept.
//
//   {
//       host::WaitCursor wait;   // shown until the end of the block
//       ...
//   }

namespace host {

using WaitCursorFunction = void (*)(bool show);

// Installs the function that shows (true) and hides (false) the cursor; nullptr removes it.
void SetWaitCursorFunction(WaitCursorFunction function);

void BeginWaitCursor();
// An end without a begin does nothing.
void EndWaitCursor();
// How many begins are open.
int WaitCursorDepth();

class WaitCursor {
public:
    WaitCursor() { BeginWaitCursor(); }
    ~WaitCursor() { EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace host
