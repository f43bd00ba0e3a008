#include "common/QuestionBox.h"

#include "platform/host/Format.h"
#include "platform/host/UserPrompt.h"

namespace {

IRefreshHold* g_refreshHold = nullptr;

// Ends the suspension on every way out of GetResponse. When the database was closed (or another
// one opened) while the box was up, the one that was suspended is gone: nothing to end.
class RefreshSuspension {
public:
    RefreshSuspension(IRefreshHold* hold, const std::string& prompt) : hold_(hold), prompt_(prompt)
    {
        if (hold_) hold_->DisableRefreshOn(Format("GetResponse entry, prompt:'%s'", prompt_.c_str()));
    }
    ~RefreshSuspension()
    {
        if (hold_ && hold_ == g_refreshHold)
            hold_->DisableRefreshOff(Format("GetResponse exit, prompt:'%s'", prompt_.c_str()));
    }
    RefreshSuspension(const RefreshSuspension&) = delete;
    RefreshSuspension& operator=(const RefreshSuspension&) = delete;

private:
    IRefreshHold* hold_;
    const std::string& prompt_;
};

}  // namespace

void SetRefreshHold(IRefreshHold* hold) { g_refreshHold = hold; }
IRefreshHold* GetRefreshHold() { return g_refreshHold; }

int GetResponse(const std::string& prompt, uint32_t type, uint32_t help)
{
    RefreshSuspension suspension(g_refreshHold, prompt);
    return host::PromptUser(prompt, type, help);
}
