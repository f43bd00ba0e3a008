#pragma once
// "Person data": the sheet of one student or other customer: person data, calls and interviews,
// purchases, purchased activities and payments, without Apply. OK reports 1 only when the person
// differs from the copy taken at the start (and stamps it); Cancel after changes asks first (No
// stays in the sheet) and puts the person back. A referral credit chosen on the first page is
// added when the sheet ends with OK. The payment page stores its changes at once, so the credits
// it drew on are written whatever the sheet's end.

#include <memory>
#include <string>

#include "dialogs/DialogInterviewList.h"
#include "dialogs/DialogPersonData.h"
#include "dialogs/DialogPurchaseList.h"
#include "dialogs/PagePaymentSchedule.h"
#include "dialogs/PageSchedulePerson.h"
#include "platform/ui/PropertySheet.h"

class CCreditLedger;
class CDatabase;
class CPerson;

class CPropertySheetPerson : public ui::PropertySheet {
public:
    // `addressFocus` 1: the person-data page puts the focus on address line 1.
    CPropertySheetPerson(const std::string& caption, ui::Window* parent, int firstPage, CDatabase* database,
                         CPerson* person, int addressFocus);
    ~CPropertySheetPerson() override;

    int DoModal() override;
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnDestroy() override;

    CDatabase* m_pDatabase = nullptr;
    CPerson* m_pPerson = nullptr;
    // A person not stored yet: OK gives 1 even without a change.
    bool m_bNewPerson = false;
    std::unique_ptr<CPerson> m_pRefPerson;
    std::shared_ptr<CCreditLedger> m_pLedger;
    CDialogPersonData m_PageData;
    CDialogInterviewList m_PageInterviews;
    CDialogPurchaseList m_PagePurchases;
    CPageSchedulePerson m_PageSchedule;
    CPagePaymentSchedule m_PagePayments;

private:
    bool m_bHoldsRefresh = false;
};
