#pragma once
// CDialogSignIn: "Student sign-in": the front desk signs one student in. Three lists: the
// lessons and items of the student's purchases not yet used, the payments still due on them
// (with the balance due), and the student's pay-as-you-go events and unpaid payments. From it
// the desk marks lessons used, splits and recombines lessons, edits a lesson's status, takes
// payments, shows the picture, prints a name tag and shows the balance sheet.
//
// Every change is stored at once on the purchase as it stands under the database lock; the
// dialogs it opens work on copies. The lists are rebuilt after each change and nested dialog,
// so that no row outlives the records it points into.

#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/RefreshHoldDialog.h"
#include "studio/DataToken.h"

class CPerson;
class CPurchaseRecord;

class CDialogSignIn : public CRefreshHoldDialog {
public:
    CDialogSignIn(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

    void FillActivityList();
    void FillPaymentList();
    void FillPayAsYouGoList();
    void ShowBalanceDue();

    void OnMarkAsUsed();
    void OnSplit();
    void OnUnsplit();
    void OnEditSchedule();
    void OnEditPayment(bool markPaid);
    void OnEditPayAsYouGo();
    void OnRecordPayment();
    void OnShowPicture();
    void OnNameTag();
    void OnBalanceSheet();

    CPerson* m_pStudent = nullptr;
    std::string m_strPictureFile;
    std::vector<stDataToken> m_aActivities;
    std::vector<stDataToken> m_aPayments;

protected:
    void OnOkButton() override { EndDialog(ui::IDOK); }

private:
    // The selected row of list `listId` in `rows`, null (after "No item selected") when none.
    const stDataToken* SelectedRow(int listId, const std::vector<stDataToken>& rows);
    // The item data of the selected line of the pay-as-you-go list; false when none.
    bool SelectedPayAsYouGo(intptr_t& data);
    void EnableLessonButtons();
    void RefillAll();
};
