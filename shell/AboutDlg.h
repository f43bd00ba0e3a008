#pragma once
// CAboutDlg: the about box (template 200): version line, the logged-on user and level.

#include "platform/ui/Dialog.h"

#include <string>

class CAboutDlg : public ui::Dialog {
public:
    static constexpr int kIdVersion = 1039;
    static constexpr int kIdUser = 1249;
    static constexpr int kIdAccess = 1250;

    CAboutDlg(ui::Window* parent = nullptr);
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

    std::string m_strUser;
    std::string m_strAccess;
};
