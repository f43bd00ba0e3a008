#pragma once
// The launcher's main menu (resource 104) and the enabling rule of each of its commands.

#include <cstdint>

// How a command of the main menu is enabled.
enum class MenuRule : char {
    Always,       // no update handler
    Level,        // user's level at least `level` and a database open
    LevelSingle,  // the level rule, and not while more than one user is logged on
    NoDatabase,   // only while no database is open
    NoOpenFile,   // not while the database object has its file open
    Checked,      // always enabled; checked by its own handler
};

struct stMenuCommand {
    int id;
    MenuRule rule;
    uint8_t level;
    bool built;  // false: its command is not built yet and it stays greyed
};

// Registers menu 104 with the ui layer (once; again is harmless).
void RegisterMainMenu();
// The rule of a command of menu 104, or null for an id the menu does not have.
const stMenuCommand* FindMainMenuCommand(int id);
// Whether the work of launcher button k (k = column * 8 + row) is built: the built flag of the
// menu command that does the same work, false for a button whose work is not built yet. A button
// that is not built stays greyed, as its command does in the menu.
bool IsLauncherButtonBuilt(int k);
