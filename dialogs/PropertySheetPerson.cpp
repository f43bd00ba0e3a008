#include "dialogs/PropertySheetPerson.h"

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "database/CreditLedger.h"
#include "database/Database.h"
#include "platform/host/Format.h"

namespace {

void Trace(const std::string& text)
{
    if (DiagnosticLevel > 0) WriteDiagnosticString(text);
}

}  // namespace

CPropertySheetPerson::CPropertySheetPerson(const std::string& caption, ui::Window* parent, int firstPage,
                                           CDatabase* database, CPerson* person, int addressFocus)
    : ui::PropertySheet(caption, parent, firstPage),
      m_pDatabase(database),
      m_pPerson(person),
      m_PageData(database),
      m_PageInterviews(database),
      m_PagePurchases(database),
      m_PageSchedule(database),
      m_PagePayments(database)
{
    if (person != nullptr)
        Trace(Format("CPropertySheetPerson::CPropertySheetPerson pointer %u, code %u\n",
                     static_cast<uint32_t>(reinterpret_cast<uintptr_t>(person)), person->m_nCode));
    else
        Trace("CPropertySheetPerson::CPropertySheetPerson pointer NULL\n");
    SetNoApply(true);
    m_pRefPerson = std::make_unique<CPerson>();
    WriteMemoryTraceAlloc(m_pRefPerson.get(), "m_pRefPerson in CPropertySheetPerson constructor");
    if (person) m_pRefPerson->CopyFrom(*person);
    if (database) m_pLedger = std::make_shared<CCreditLedger>(*database);
    m_PageData.m_pPerson = person;
    m_PageData.m_nAddressFocus = addressFocus;
    m_PageInterviews.m_pPerson = person;
    m_PagePurchases.m_pPerson = person;
    m_PageSchedule.m_pPerson = person;
    m_PagePayments.m_pPerson = person;
    m_PagePayments.m_pSheetPerson = person;
    m_PagePayments.m_pLedger = m_pLedger.get();
    AddPage(&m_PageData);
    AddPage(&m_PageInterviews);
    AddPage(&m_PagePurchases);
    AddPage(&m_PageSchedule);
    AddPage(&m_PagePayments);
    Trace("CPropertySheetPerson::CPropertySheetPerson pointer EXIT\n");
}

CPropertySheetPerson::~CPropertySheetPerson()
{
    WriteMemoryTraceFree(m_pRefPerson.get());
    // A sheet that never ran gives its ledger's credits back.
    if (m_pLedger) m_pLedger->Release();
}

bool CPropertySheetPerson::OnInitDialog()
{
    ui::PropertySheet::OnInitDialog();
    if (m_pDatabase) {
        m_pDatabase->DisableRefreshOn("CPropertySheetPerson");
        m_bHoldsRefresh = true;
    }
    return true;
}

void CPropertySheetPerson::OnDestroy()
{
    if (m_bHoldsRefresh && m_pDatabase) m_pDatabase->DisableRefreshOff("CPropertySheetPerson");
    m_bHoldsRefresh = false;
    ui::PropertySheet::OnDestroy();
}

void CPropertySheetPerson::OnCancel()
{
    if (m_pPerson && !m_pPerson->IsEqual(*m_pRefPerson) &&
        GetResponse("You have made changes in data. Are you sure you want to cancel?", MB_YESNO) != IDYES)
        return;
    ui::PropertySheet::OnCancel();
}

int CPropertySheetPerson::DoModal()
{
    if (m_pPerson == nullptr || m_pDatabase == nullptr) return ui::IDCANCEL;
    Trace("CPropertySheetPerson::DoModal before CPropertySheet::DoModal()\n");
    const int result = ui::PropertySheet::DoModal();
    Trace("CPropertySheetPerson::DoModal after CPropertySheet::DoModal()\n");
    // The payment page stores each purchase change at once, so the credits it drew on are
    // written whatever the sheet's end.
    m_pLedger->Commit();
    m_pLedger.reset();
    if (result != ui::IDOK) {
        m_pPerson->CopyFrom(*m_pRefPerson);
        return ui::IDCANCEL;
    }
    // The referral credit of the last Yes, now that the sheet is accepted.
    if (m_PageData.m_pReferralCredit)
        m_pDatabase->AddTableItem(TABLE_PAYMENT, LOC_NONE, m_PageData.m_pReferralCredit.get(), 0, LOC_NONE, nullptr);
    // A new person is added on OK even when nothing was typed beyond what it came with.
    if (!m_bNewPerson && m_pPerson->IsEqual(*m_pRefPerson)) return ui::IDCANCEL;
    m_pPerson->m_cStamp2User = GetStampUserCode();
    m_pPerson->m_dStamp2Date = GetNow();
    return ui::IDOK;
}
