#include "dialogs/PagePurchaseEdit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "common/Diagnostic.h"
#include "database/Database.h"
#include "dialogs/ComboCodes.h"
#include "dialogs/DialogMenu.h"
#include "platform/host/Format.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/ListBox.h"
#include "records/PurchaseMoney.h"
#include "widgets/Prompts.h"

namespace {

constexpr int kIdStudent = 1433;
constexpr int kIdPartner = 1068;
constexpr int kIdBillTo = 1071;
constexpr int kIdTeacher = 1021;
constexpr int kIdSupervisor = 1022;
constexpr int kIdSecondTeacher = 1069;
constexpr int kIdDepartment = 1366;
constexpr int kIdProgram = 1015;
constexpr int kIdContract = 1365;
constexpr int kIdInterview = 1085;
constexpr int kIdDescription = 1077;
constexpr int kIdPrice = 1003;
constexpr int kIdPurchaseDate = 1010;
constexpr int kIdPurchaseSpin = 1037;
constexpr int kIdEffectiveDate = 1011;
constexpr int kIdEffectiveSpin = 1038;
constexpr int kIdNormal = 1418;
constexpr int kIdPackage = 1419;
constexpr int kIdContents = 1113;
constexpr int kIdAddPackage = 1079;
constexpr int kIdAddAny = 1082;
constexpr int kIdAddPrivate = 1075;
constexpr int kIdAddActivity = 1076;
constexpr int kIdAddMerchandise = 1078;
constexpr int kIdDeleteItem = 1083;
constexpr int kIdPrintContract = 1168;

const ui::DialogTemplate kPurchasePageTemplate{201, "Purchase record", 360, 240, {
    {ui::Ctl::Label, -1, "Student"},
    {ui::Ctl::Label, kIdStudent, ""},
    {ui::Ctl::Label, -1, "Partner"},
    {ui::Ctl::ComboBox, kIdPartner, ""},
    {ui::Ctl::Label, -1, "Bill to"},
    {ui::Ctl::ComboBox, kIdBillTo, ""},
    {ui::Ctl::Label, -1, "Teacher\ncredit"},
    {ui::Ctl::ComboBox, kIdTeacher, ""},
    {ui::Ctl::Label, -1, "Supervisor"},
    {ui::Ctl::ComboBox, kIdSupervisor, ""},
    {ui::Ctl::Label, -1, "Second\nTeacher"},
    {ui::Ctl::ComboBox, kIdSecondTeacher, ""},
    {ui::Ctl::Label, -1, "Department"},
    {ui::Ctl::ComboBox, kIdDepartment, ""},
    {ui::Ctl::Label, -1, "Program"},
    {ui::Ctl::ComboBox, kIdProgram, ""},
    {ui::Ctl::Label, -1, "Type of contract"},
    {ui::Ctl::ComboBox, kIdContract, ""},
    {ui::Ctl::Label, -1, "Reference\ninterview"},
    {ui::Ctl::ComboBox, kIdInterview, ""},
    {ui::Ctl::Label, -1, "Description"},
    {ui::Ctl::Edit, kIdDescription, ""},
    {ui::Ctl::Label, -1, "Price"},
    {ui::Ctl::Edit, kIdPrice, ""},
    {ui::Ctl::Label, -1, "Purchase\ndate"},
    {ui::Ctl::Edit, kIdPurchaseDate, ""},
    {ui::Ctl::Spin, kIdPurchaseSpin, ""},
    {ui::Ctl::Label, -1, "Effective\ndate"},
    {ui::Ctl::Edit, kIdEffectiveDate, ""},
    {ui::Ctl::Spin, kIdEffectiveSpin, ""},
    {ui::Ctl::Radio, kIdNormal, "Normal", ui::WS_GROUP},
    {ui::Ctl::Radio, kIdPackage, "Package"},
    {ui::Ctl::Label, -1, "Contents of purchase"},
    {ui::Ctl::ListBox, kIdContents, ""},
    {ui::Ctl::Button, kIdAddPackage, "Add package"},
    {ui::Ctl::Button, kIdAddAny, "Add price list item"},
    {ui::Ctl::Button, kIdAddPrivate, "Add private lesson"},
    {ui::Ctl::Button, kIdAddActivity, "Add studio activity"},
    {ui::Ctl::Button, kIdAddMerchandise, "Add merchandise"},
    {ui::Ctl::Button, kIdDeleteItem, "Delete item"},
    {ui::Ctl::Button, kIdPrintContract, "Print contract"},
}};

bool MatchesKind(const CPriceListItem& item, char kind)
{
    // Discounts are applied on the payment page, never sold as items.
    if (item.m_cKind == 'D') return false;
    switch (kind) {
    case 'P': return item.m_cKind == 'p';
    case 'G': return item.m_cKind == 's' || item.m_cKind == 'T' || item.m_cKind == 'N';
    case 'M': return item.m_cKind == 0;
    default: return true;
    }
}

}  // namespace

CPagePurchaseEdit::ContractPrinter& CPagePurchaseEdit::ContractPrinterSeam()
{
    static ContractPrinter printer;
    return printer;
}

CPagePurchaseEdit::CPagePurchaseEdit(CDatabase* database)
    : ui::PropertyPage(kPurchasePageTemplate), m_pDatabase(database)
{
}

bool CPagePurchaseEdit::OnInitDialog()
{
    ui::PropertyPage::OnInitDialog();
    if (m_pPurchase == nullptr || m_pDatabase == nullptr) return true;
    CPurchaseRecord& p = *m_pPurchase;
    CDatabase& db = *m_pDatabase;
    const uint32_t partner = p.m_nSecondPerson;
    db.FillPersonTypeCombo(Combo(kIdPartner), 'C', partner);
    SelectCode(*Combo(kIdPartner), partner, true);
    db.FillPersonTypeCombo(Combo(kIdBillTo), 'C', p.m_nPayer);
    SelectCode(*Combo(kIdBillTo), p.m_nPayer, true);
    db.FillPersonTypeCombo(Combo(kIdTeacher), 'E', p.m_nField14);
    SelectCode(*Combo(kIdTeacher), p.m_nField14, true);
    db.FillPersonTypeCombo(Combo(kIdSecondTeacher), 'E', p.m_nField15);
    SelectCode(*Combo(kIdSecondTeacher), p.m_nField15, true);
    db.FillPersonTypeCombo(Combo(kIdSupervisor), 'E', p.m_nField16);
    SelectCode(*Combo(kIdSupervisor), p.m_nField16, true);
    db.FillCategoryComboBox(Combo(kIdDepartment), 'D', p.m_nField13, 1, 0, NO_CODE);
    SelectCode(*Combo(kIdDepartment), p.m_nField13, true);
    db.FillCategoryComboBox(Combo(kIdProgram), 'P', p.m_nProgram, 1, 0, NO_CODE);
    SelectCode(*Combo(kIdProgram), p.m_nProgram, true);
    db.FillCategoryComboBox(Combo(kIdContract), 'C', p.m_nField12, 1, 0, NO_CODE);
    SelectCode(*Combo(kIdContract), p.m_nField12, true);
    if (ui::ComboBox* interview = Combo(kIdInterview)) {
        interview->ResetContent();
        m_aInterviewDates.clear();
        m_aInterviewTeachers.clear();
        interview->SetItemData(interview->AddString("<None>"), -1);
        m_aInterviewDates.push_back(0.0);
        m_aInterviewTeachers.push_back(NO_CODE);
        interview->SetCurSel(0);
        if (m_pPerson != nullptr) {
            FillInterviews(*m_pPerson);
        } else {
            for (uint32_t code : {p.m_nPerson, p.m_nSecondPerson, p.m_nPayer})
                if (const CPerson* person = static_cast<const CPerson*>(db.GetItem(TABLE_PERSON, code)))
                    FillInterviews(*person);
        }
    }
    std::string name;
    if (m_pPerson != nullptr) name = Format("%s, %s", m_pPerson->m_sLastName.c_str(), m_pPerson->m_sFirstName.c_str());
    else if (p.m_nPerson != NO_CODE) db.GetPersonName(name, p.m_nPerson, 0);
    SetDlgItemText(kIdStudent, name);
    m_strDescription = p.m_sDescription;
    m_dPrice = p.GetTotal(1);
    m_PurchaseDate.Attach(this, kIdPurchaseDate, p.m_dDate, 0);
    m_EffectiveDate.Attach(this, kIdEffectiveDate, p.m_dStartDate, 0);
    CentreDateSpin(*this, kIdPurchaseSpin);
    CentreDateSpin(*this, kIdEffectiveSpin);
    EnableDlgItem(kIdPrice, p.m_cPricing == 'P');
    EnableDlgItem(kIdPrintContract, static_cast<bool>(ContractPrinterSeam()));
    return true;
}

bool CPagePurchaseEdit::OnSetActive()
{
    OnEnterPage();
    return ui::PropertyPage::OnSetActive();
}

bool CPagePurchaseEdit::OnKillActive()
{
    return OnExitPage();
}

void CPagePurchaseEdit::OnOK()
{
    // The sheet's OK already left the active page; a page left earlier keeps what it stored.
}

void CPagePurchaseEdit::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdDescription, m_strDescription);
    dx.Text(kIdPrice, m_dPrice);
}

void CPagePurchaseEdit::OnEnterPage()
{
    if (m_bEntered || m_pPurchase == nullptr) return;
    m_bEntered = true;
    m_PricingButtons.clear();
    AddRadioPair(m_PricingButtons, kIdNormal, 'T');
    AddRadioPair(m_PricingButtons, kIdPackage, 'P');
    SetRadioGroup(*this, m_PricingButtons, static_cast<uint8_t>(m_pPurchase->m_cPricing));
    FillContents();
    UpdateData(false);
}

bool CPagePurchaseEdit::OnCommand(int id, int code)
{
    if (id == kIdPurchaseSpin || id == kIdEffectiveSpin) {
        if (code == ui::UDN_DELTAPOS) StepDateBySpin(*this, id, id == kIdPurchaseSpin ? m_PurchaseDate : m_EffectiveDate);
        return true;
    }
    if (code == ui::CBN_SELCHANGE && id == kIdTeacher) {
        OnTeacherChosen();
        return true;
    }
    if (code == ui::CBN_SELCHANGE && id == kIdInterview) {
        OnInterviewChosen();
        return true;
    }
    if (code != ui::BN_CLICKED) return ui::PropertyPage::OnCommand(id, code);
    switch (id) {
    case kIdNormal: SetPricing('T'); return true;
    case kIdPackage: SetPricing('P'); return true;
    case kIdAddPackage: OnAddPackage(); return true;
    case kIdAddAny: SelectItem('A'); return true;
    case kIdAddPrivate: SelectItem('P'); return true;
    case kIdAddActivity: SelectItem('G'); return true;
    case kIdAddMerchandise: SelectItem('M'); return true;
    case kIdDeleteItem: OnDeleteItem(); return true;
    case kIdPrintContract: OnPrintContract(); return true;
    default: return ui::PropertyPage::OnCommand(id, code);
    }
}

void CPagePurchaseEdit::SetPricing(char pricing)
{
    UpdateData(true);
    m_pPurchase->m_cPricing = pricing;
    EnableDlgItem(kIdPrice, pricing == 'P');
    if (pricing == 'T') {
        m_dPrice = m_pPurchase->GetTotal(1);
        UpdateData(false);
        SetDlgItemText(kIdPrice, FormatMoney(m_dPrice, 0));
    }
}

void CPagePurchaseEdit::FillContents()
{
    ui::ListBox* list = List(kIdContents);
    if (list == nullptr) return;
    list->ResetContent();
    for (size_t i = 0; i < m_pPurchase->m_Items.size(); ++i) {
        const CPurchaseItem& item = *m_pPurchase->m_Items[i];
        const int at = list->AddString(Format("%s (%u)", item.m_sName.c_str(), static_cast<unsigned>(item.m_nCount)));
        list->SetItemData(at, static_cast<intptr_t>(i));
    }
    m_dPrice = m_pPurchase->GetTotal(1);
    SetDlgItemText(kIdPrice, FormatMoney(m_dPrice, 0));
}

void CPagePurchaseEdit::SelectItem(char kind)
{
    CDialogMenu menu(m_pDatabase, "Select item", 'S', 'S', -1, 0, "", this);
    int offered = 0;
    for (const stIndex& e : *m_pDatabase->GetItemList(TABLE_PRICELIST)) {
        const CPriceListItem* item = static_cast<const CPriceListItem*>(e.pItem);
        if (item->m_cPackageOnly != 0 || !MatchesKind(*item, kind)) continue;
        menu.AddItem(item->m_nCode, item->m_sName);
        ++offered;
    }
    if (offered == 0) {
        GetResponse("No items of type selected have been specified", MB_OK);
        return;
    }
    const int chosen = menu.DoModal();
    const CPriceListItem* item =
        chosen < 0 ? nullptr : static_cast<const CPriceListItem*>(m_pDatabase->GetItem(TABLE_PRICELIST, static_cast<uint32_t>(chosen)));
    if (item == nullptr) return;
    int count = 0;
    if (item->m_nNumber < 2 && (item->m_cKind == 0 || item->m_cKind == 'p' || item->m_cKind == 'N')) {
        count = std::atoi(PromptForString("Number", 10, "1", 0).c_str());
        if (count <= 0) return;
    }
    AddPurchaseItem(*item, count);
    FillContents();
}

void CPagePurchaseEdit::FillInterviews(const CPerson& person)
{
    ui::ComboBox* combo = Combo(kIdInterview);
    if (combo == nullptr) return;
    const std::string name = Format("%s %s", person.m_sFirstName.c_str(), person.m_sLastName.c_str());
    for (const auto& interview : person.m_Interviews) {
        const std::string when = FormatDateTime(interview->m_dDate, "%A %B %d, %Y, %I:%M%p");
        const std::string text = interview->m_cKind == 'P' ? Format("Phone %s %s ", name.c_str(), when.c_str())
                                                           : Format("Visit %s %s ", name.c_str(), when.c_str());
        const int at = combo->AddString(text);
        combo->SetItemData(at, static_cast<intptr_t>(m_aInterviewDates.size()));
        m_aInterviewDates.push_back(interview->m_dDate);
        m_aInterviewTeachers.push_back(interview->m_nField4);
        if (m_pPurchase->m_dField17 != 0.0 && std::llround(interview->m_dDate * 86400.0) == std::llround(m_pPurchase->m_dField17 * 86400.0))
            combo->SetCurSel(at);
    }
}

void CPagePurchaseEdit::OnTeacherChosen()
{
    const uint32_t teacher = GetSelectedCode(*Combo(kIdTeacher));
    if (teacher != NO_CODE) m_pDatabase->FillEmployeeAndDepartmentCombos(teacher, Combo(kIdSecondTeacher), Combo(kIdDepartment));
}

void CPagePurchaseEdit::OnInterviewChosen()
{
    ui::ComboBox* combo = Combo(kIdInterview);
    const int at = combo ? combo->GetCurSel() : -1;
    const intptr_t index = at < 0 ? -1 : combo->GetItemData(at);
    if (index <= 0 || static_cast<size_t>(index) >= m_aInterviewTeachers.size()) return;
    const uint32_t teacher = m_aInterviewTeachers[static_cast<size_t>(index)];
    if (teacher == NO_CODE) return;
    SelectCode(*Combo(kIdTeacher), teacher, true);
    OnTeacherChosen();
}

uint32_t CPagePurchaseEdit::DefaultTeacher() const
{
    if (m_pPerson != nullptr) return m_pPerson->m_nTeacher;
    const CPerson* student = static_cast<const CPerson*>(m_pDatabase->GetItem(TABLE_PERSON, m_pPurchase->m_nPerson));
    return student ? student->m_nTeacher : NO_CODE;
}

void CPagePurchaseEdit::AddPurchaseItem(const CPriceListItem& from, int count)
{
    auto item = std::make_unique<CPurchaseItem>();
    item->m_nPriceListCode = from.m_nCode;
    item->m_sName = from.m_sName;
    item->m_nType = from.m_nBasicType;
    item->m_cKind = from.m_cKind;
    item->m_nCount = count == 0 ? from.m_nNumber : count;
    item->m_dAmount = count == 0 ? from.m_dPrice : count * from.m_dPrice;
    uint32_t teacher = from.m_nTeacher;
    if (teacher == NO_CODE) teacher = GetSelectedCode(*Combo(kIdTeacher));
    if (teacher == NO_CODE) teacher = DefaultTeacher();
    item->m_nTeacher = teacher;
    item->m_nLessonValue = from.m_nDuration;
    item->MakeTokens(from.m_Dates, from.m_nCode, teacher, from.m_nBallroom);
    m_aAddedItems.push_back(item.get());
    m_pPurchase->m_Items.push_back(std::move(item));
    if (m_pPurchase->m_cPricing == 'P') {
        UpdateData(true);
        m_dPrice += from.m_dPrice;
        m_pPurchase->m_dPrice = m_dPrice;
        UpdateData(false);
    }
}

void CPagePurchaseEdit::OnAddPackage()
{
    const auto* packages = m_pDatabase->GetItemList(TABLE_PACKAGE);
    if (packages->empty()) {
        GetResponse("No packages specified", MB_OK);
        return;
    }
    CDialogMenu menu(m_pDatabase, "Select package", 'S', 'S', -1, 0, "", this);
    for (const stIndex& e : *packages) {
        const CPackageRecord* p = static_cast<const CPackageRecord*>(e.pItem);
        menu.AddItem(p->m_nCode, p->m_sName);
    }
    const int chosen = menu.DoModal();
    const CPackageRecord* package =
        chosen < 0 ? nullptr : static_cast<const CPackageRecord*>(m_pDatabase->GetItem(TABLE_PACKAGE, static_cast<uint32_t>(chosen)));
    if (package == nullptr) return;
    const bool wasEmpty = m_pPurchase->m_Items.empty();
    UpdateData(true);
    const double before = m_dPrice;
    for (uint32_t code : package->m_Items)
        if (const CPriceListItem* item = static_cast<const CPriceListItem*>(m_pDatabase->GetItem(TABLE_PRICELIST, code)))
            AddPurchaseItem(*item, 0);
    m_pPurchase->m_cPricing = 'P';
    SetRadioGroup(*this, m_PricingButtons, 'P');
    EnableDlgItem(kIdPrice, true);
    if (wasEmpty) {
        m_strDescription = package->m_sName;
        m_dPrice = package->m_dPrice;
        if (package->m_nProgram != NO_CODE) {
            SelectCode(*Combo(kIdProgram), package->m_nProgram, true);
            m_pPurchase->m_nProgram = package->m_nProgram;
        }
    } else {
        m_dPrice = before + package->m_dPrice;
    }
    m_pPurchase->m_dPrice = m_dPrice;
    FillContents();
    UpdateData(false);
}

void CPagePurchaseEdit::OnDeleteItem()
{
    ui::ListBox* list = List(kIdContents);
    const int at = list ? list->GetCurSel() : -1;
    if (at < 0) {
        GetResponse("No item selected", MB_OK);
        return;
    }
    const size_t index = static_cast<size_t>(list->GetItemData(at));
    if (index >= m_pPurchase->m_Items.size()) return;
    CPurchaseItem* item = m_pPurchase->m_Items[index].get();
    m_aAddedItems.erase(std::remove(m_aAddedItems.begin(), m_aAddedItems.end(), item), m_aAddedItems.end());
    m_pPurchase->m_Items.erase(m_pPurchase->m_Items.begin() + static_cast<std::ptrdiff_t>(index));
    FillContents();
}

void CPagePurchaseEdit::OnPrintContract()
{
    if (!ContractPrinterSeam()) return;
    const CPerson* person = m_pPerson;
    if (person == nullptr) person = static_cast<const CPerson*>(m_pDatabase->GetItem(TABLE_PERSON, m_pPurchase->m_nPerson));
    if (person == nullptr) {
        GetResponse("No person identified with this purchase", MB_OK);
        return;
    }
    // The contract shows the page as it stands.
    if (!OnExitPage()) return;
    m_bEntered = true;
    ContractPrinterSeam()(*m_pDatabase, *person, *m_pPurchase);
}

bool CPagePurchaseEdit::OnExitPage()
{
    if (m_pPurchase == nullptr) return true;
    m_bEntered = false;
    if (!UpdateData(true)) return false;
    CPurchaseRecord& p = *m_pPurchase;
    if (p.m_Items.empty()) {
        GetResponse("Purchase has no contents", MB_OK);
        m_bEntered = true;
        return false;
    }
    p.m_nSecondPerson = GetSelectedCode(*Combo(kIdPartner));
    p.m_nPayer = GetSelectedCode(*Combo(kIdBillTo));
    p.m_nField14 = GetSelectedCode(*Combo(kIdTeacher));
    p.m_nField15 = GetSelectedCode(*Combo(kIdSecondTeacher));
    p.m_nField16 = GetSelectedCode(*Combo(kIdSupervisor));
    p.m_nField13 = GetSelectedCode(*Combo(kIdDepartment));
    if (ui::ComboBox* interview = Combo(kIdInterview)) {
        const int at = interview->GetCurSel();
        const intptr_t index = at < 0 ? -1 : interview->GetItemData(at);
        if (index > 0 && static_cast<size_t>(index) < m_aInterviewDates.size()) p.m_dField17 = m_aInterviewDates[static_cast<size_t>(index)];
    }
    p.m_sDescription = m_strDescription;
    if (p.m_cPricing == 'P') p.m_dPrice = m_dPrice;
    p.m_nProgram = GetSelectedCode(*Combo(kIdProgram));
    p.m_nField12 = GetSelectedCode(*Combo(kIdContract));
    if (p.m_Payments.empty()) {
        auto payment = std::make_unique<CSchedulePayment>();
        payment->m_cKind = 'U';
        payment->m_cMethod = 'A';
        payment->m_nPayer = p.m_nPerson;
        payment->m_sDescription = p.m_sDescription;
        payment->m_dAmount = p.GetTotal(1);
        payment->m_nCategory = m_pDatabase->GetDefaultAccount(param::kAccountPayments);
        p.m_Payments.push_back(std::move(payment));
    } else {
        std::string warning;
        if (!CPurchaseMoney::CheckPaymentTotal(p, &warning)) GetResponse(warning, MB_OK);
    }
    p.m_dDate = m_PurchaseDate.GetValue();
    p.m_dStartDate = m_EffectiveDate.GetValue();
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("CPagePurchaseEdit::OnExitPage(), person code %u\n", p.m_nPerson);
    return true;
}
