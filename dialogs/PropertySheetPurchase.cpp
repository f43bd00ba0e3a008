#include "dialogs/PropertySheetPurchase.h"

#include "common/QuestionBox.h"
#include "database/CreditLedger.h"
#include "database/Database.h"

CPropertySheetPurchase::CPropertySheetPurchase(const std::string& caption, ui::Window* parent, int firstPage,
                                               CDatabase* database, CPurchaseRecord* purchase, CPerson* person)
    : ui::PropertySheet(caption, parent, firstPage),
      m_pDatabase(database),
      m_pPurchase(purchase),
      m_pPerson(person),
      m_PageEdit(database),
      m_PagePayments(database),
      m_PageSchedule(database)
{
    m_pReference = std::make_unique<CPurchaseRecord>();
    if (purchase) m_pReference->CopyFrom(*purchase);
    if (database) m_pLedger = std::make_shared<CCreditLedger>(*database);
    m_PageEdit.m_pPurchase = purchase;
    m_PageEdit.m_pPerson = person;
    m_PagePayments.m_pPurchase = purchase;
    m_PagePayments.m_pSheetPerson = person;
    m_PagePayments.m_pLedger = m_pLedger.get();
    m_PageSchedule.m_pPurchase = purchase;
    AddPage(&m_PageEdit);
    AddPage(&m_PagePayments);
    AddPage(&m_PageSchedule);
}

CPropertySheetPurchase::~CPropertySheetPurchase()
{
    // A ledger not handed to the database gives its credits back.
    if (m_pLedger) m_pLedger->Release();
}

bool CPropertySheetPurchase::OnInitDialog()
{
    ui::PropertySheet::OnInitDialog();
    ShowDlgItem(ui::ID_APPLY_NOW, false);
    if (m_pDatabase) {
        m_pDatabase->DisableRefreshOn("CPropertySheetPurchase");
        m_bHoldsRefresh = true;
    }
    return true;
}

void CPropertySheetPurchase::OnDestroy()
{
    if (m_bHoldsRefresh && m_pDatabase) m_pDatabase->DisableRefreshOff("CPropertySheetPurchase");
    m_bHoldsRefresh = false;
    ui::PropertySheet::OnDestroy();
}

void CPropertySheetPurchase::OnCancel()
{
    if (m_pPurchase && m_pDatabase && !m_pPurchase->IsEqual(*m_pReference) &&
        GetResponse("You have made changes in data. Are you sure you want to cancel?", MB_YESNO) != IDYES)
        return;
    ui::PropertySheet::OnCancel();
}

int CPropertySheetPurchase::DoModal()
{
    if (m_pPurchase == nullptr || m_pDatabase == nullptr) return IDCANCEL;
    int result = ui::PropertySheet::DoModal();
    if (result == IDOK && m_pPurchase->IsEqual(*m_pReference)) result = IDCANCEL;
    if (result != IDOK) {
        // Everything the sheet added or changed goes; the credits are given back.
        m_pPurchase->CopyFrom(*m_pReference);
        m_PageEdit.m_aAddedItems.clear();
        m_pLedger->Release();
        return IDCANCEL;
    }
    m_pPurchase->m_cStamp1User = GetStampUserCode();
    m_pPurchase->m_dStamp1Date = GetNow();
    // The database writes the credits once the purchase is stored.
    m_pDatabase->m_pSheetLedger = m_pLedger;
    m_pLedger.reset();
    return IDOK;
}
