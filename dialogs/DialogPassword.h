#pragma once
// The log-on password prompt (template 203): "Password for %s" with the database name; the
// typed text, hidden and in capitals, is handed to the caller after OK.

#include <string>

#include "platform/ui/Dialog.h"

class CDialogPassword : public ui::Dialog {
public:
    explicit CDialogPassword(ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    // Set by the caller before DoModal.
    std::string m_strUserName;
    // The typed password after OK.
    std::string m_strPassword;
};
