#pragma once
// The program's one question and message box.

#include <cstdint>
#include <string>

// Message-box style bits and button identifiers, as the program's callers use them.
constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_OKCANCEL = 0x1;
constexpr uint32_t MB_YESNOCANCEL = 0x3;
constexpr uint32_t MB_YESNO = 0x4;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows the prompt with the buttons of `type` and returns the button chosen. While the box is
// up, the open database's refresh is suspended.
int GetResponse(const std::string& prompt, uint32_t type = MB_OK, uint32_t help = 0);

// The open database's refresh suspension, as GetResponse uses it. The database registers itself
// while it is open (SetRefreshHold(this)) and unregisters when it closes (SetRefreshHold(nullptr)).
// Each DisableRefreshOn is matched by one DisableRefreshOff with the same kind of label, on every
// path out of the box.
class IRefreshHold {
public:
    virtual ~IRefreshHold() = default;
    virtual void DisableRefreshOn(const std::string& label) = 0;
    virtual void DisableRefreshOff(const std::string& label) = 0;
};

void SetRefreshHold(IRefreshHold* hold);
IRefreshHold* GetRefreshHold();
