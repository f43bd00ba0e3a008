#pragma once
// ui::FindDialog: the modeless find box (Win32 FindText): a text to find, "Match case", "Find
// Next" and "Cancel". "Find Next" hands the text to the owner's callback and leaves the box up;
// "Cancel" and the close box destroy it.

#include "platform/ui/Dialog.h"

#include <functional>
#include <string>

namespace ui {

class FindDialog : public Dialog {
public:
    static constexpr int kTemplateId = 1540;
    static constexpr int kIdText = 1152;
    static constexpr int kIdMatchCase = 1041;

    using FindNext = std::function<void(const std::string& text, bool matchCase)>;
    FindDialog(Window* parent, FindNext onFindNext);

    // Shows the box (made at the first call) with `text` proposed, or brings it forward.
    void Open(const std::string& text);
    bool IsOpen() const { return IsCreated(); }
    std::string GetFindText() const;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    Window* parent_;
    FindNext onFindNext_;
    std::string text_;
};

}  // namespace ui
