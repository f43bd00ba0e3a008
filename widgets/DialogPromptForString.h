#pragma once
// A one-line text prompt sized to its maximum length: the prompt is the caption, the edit holds
// the initial and then the entered text, optionally forced to upper or lower case.

#include "platform/ui/Dialog.h"

#include <string>

class CDialogPromptForString : public ui::Dialog {
public:
    explicit CDialogPromptForString(ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    std::string m_strPrompt;
    int m_nMaxLength = 0;
    std::string m_strText;
    char m_cCase = 0;  // 'U' upper case, 'L' lower case, anything else as typed
};
