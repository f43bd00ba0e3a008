#pragma once
// "Purchase record": the purchase's persons, staff, program, contract type, department, dates,
// description, pricing and contents (purchase items with their lesson tokens). Edits the
// sheet's purchase in place; the items it adds are listed for the sheet's Cancel.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/PropertyPage.h"
#include "widgets/ControlHelpers.h"
#include "widgets/DateTimeControl.h"

class CDatabase;
class CPerson;
class CPriceListItem;
class CPurchaseItem;
class CPurchaseRecord;

class CPagePurchaseEdit : public ui::PropertyPage {
public:
    explicit CPagePurchaseEdit(CDatabase* database);

    // The contract document (person, purchase); while it is unset "Print contract" is greyed.
    using ContractPrinter = std::function<void(CDatabase& database, const CPerson& person, const CPurchaseRecord& purchase)>;
    static ContractPrinter& ContractPrinterSeam();

    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;
    void DoDataExchange(ui::DataExchange& dx) override;

    void OnEnterPage();
    // False keeps the user on the page.
    bool OnExitPage();
    void FillContents();
    // kind 'A' any, 'P' private lessons, 'G' studio activities, 'M' merchandise.
    void SelectItem(char kind);
    void AddPurchaseItem(const CPriceListItem& from, int count);
    void OnAddPackage();
    void OnDeleteItem();
    void OnPrintContract();
    void SetPricing(char pricing);
    // The person's interviews as choices of the reference interview.
    void FillInterviews(const CPerson& person);
    // The teacher sets the second teacher and department; an interview sets its teacher.
    void OnTeacherChosen();
    void OnInterviewChosen();

    CDatabase* m_pDatabase = nullptr;
    CPurchaseRecord* m_pPurchase = nullptr;
    CPerson* m_pPerson = nullptr;
    bool m_bEntered = false;
    double m_dPrice = 0.0;
    std::string m_strDescription;
    CDateTime m_PurchaseDate;
    CDateTime m_EffectiveDate;
    RadioGroup m_PricingButtons;
    // The interview times of the reference-interview choices (index 0: "<None>").
    std::vector<double> m_aInterviewDates;
    // The teacher of each choice, parallel to the times (NO_CODE for none).
    std::vector<uint32_t> m_aInterviewTeachers;
    // Items added while the sheet is open (owned by the purchase).
    std::vector<CPurchaseItem*> m_aAddedItems;

private:
    uint32_t DefaultTeacher() const;
};
