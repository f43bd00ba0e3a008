#pragma once
// CStudentView: the person list of students (view 3, menu 105), with the student commands.
// While the highlighted student's sex letter is still unset, M and F set and save it.

#include "views/ContactView.h"

class CStudentView : public CContactView {
public:
    static constexpr int kMenuId = 105;
    enum : int {
        kCmdSignIn = 32852,
        kCmdBalanceSheet = 32887,
        kCmdDue = 30091,
        kCmdReceived = 30093,
        kCmdLogPayment = 32851,
        kCmdInvoice = 32858,
        kCmdSummary = 32854,
        kCmdActivities = 32856,
        kCmdHistory = 32861,
    };

    CStudentView();
    bool OnCommand(int id, int code) override;
    void OnOtherKey(int vk) override;
    void OnLogPayment();

    // Registers menu 105 (once; again is harmless).
    static void RegisterMenu();

protected:
    uint32_t HelpContext() const override { return 0x20000 + kMenuId; }
};
