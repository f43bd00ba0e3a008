#pragma once
// "Purchase": the sheet of one purchase, its record page and its payment page, without Apply.
// OK reports 1 only when the purchase differs from the copy taken at the start (and stamps it);
// Cancel after changes asks first (No stays in the sheet) and puts the purchase back. The credits
// the payment page drew on are left with the database, which writes them after the purchase is
// stored, or given back on Cancel.

#include <memory>

#include "dialogs/PagePaymentSchedule.h"
#include "dialogs/PagePurchaseEdit.h"
#include "dialogs/PageSchedulePerson.h"
#include "platform/ui/PropertySheet.h"

class CCreditLedger;
class CDatabase;
class CPerson;
class CPurchaseRecord;

class CPropertySheetPurchase : public ui::PropertySheet {
public:
    CPropertySheetPurchase(const std::string& caption, ui::Window* parent, int firstPage, CDatabase* database,
                           CPurchaseRecord* purchase, CPerson* person);
    ~CPropertySheetPurchase() override;

    int DoModal() override;
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnDestroy() override;

    CDatabase* m_pDatabase = nullptr;
    CPurchaseRecord* m_pPurchase = nullptr;
    CPerson* m_pPerson = nullptr;
    std::unique_ptr<CPurchaseRecord> m_pReference;
    std::shared_ptr<CCreditLedger> m_pLedger;
    CPagePurchaseEdit m_PageEdit;
    CPagePaymentSchedule m_PagePayments;
    CPageSchedulePerson m_PageSchedule;  // purchase mode: the one purchase, no saves

private:
    bool m_bHoldsRefresh = false;
};
