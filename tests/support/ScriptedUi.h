#pragma once
// The scripted window layer of the fixtures that drive the program: one offscreen application,
// message boxes answered from a queue, modal dialogs run by scripts, and a watch on the prompts
// that changes the diskette in drive A: before the prompt is answered.

#include "common/QuestionBox.h"
#include "platform/ui/TestHooks.h"

#include <deque>
#include <functional>
#include <initializer_list>
#include <string>

namespace dqtest {

// Ensures the application, resets the hooks and scripts message boxes and dialogs; gives the
// hooks for further settings.
ui::test::Hooks& StartScriptedUi();
// Fails the test on a hook failure, and on answers or dialog scripts left unused.
void ExpectScriptsUsed();
// Queues answers for the next message boxes.
void QueueAnswers(std::initializer_list<int> answers);

// One users-file entry as stored (the 66 packed bytes).
std::string UserEntry(const std::string& id, const std::string& password, uint8_t code,
                      uint8_t level);

// Sees every GetResponse box as it opens (through the refresh hold the box suspends): at each
// whose label holds `needle`, hands the next of `folders` to `insert` (the user changing the
// diskette).
class DiskChangeSpy : public IRefreshHold {
public:
    DiskChangeSpy(std::string needle, std::deque<std::string> folders,
                  std::function<void(const std::string&)> insert)
        : needle_(std::move(needle)), folders_(std::move(folders)), insert_(std::move(insert)) {}
    void DisableRefreshOn(const std::string& label) override;
    void DisableRefreshOff(const std::string&) override {}

private:
    std::string needle_;
    std::deque<std::string> folders_;
    std::function<void(const std::string&)> insert_;
};

}  // namespace dqtest
