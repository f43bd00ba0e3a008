#include "dialogs/DialogSignIn.h"

#include <algorithm>
#include <cmath>

#include "common/QuestionBox.h"
#include "database/Database.h"
#include "database/MoneyRequests.h"
#include "dialogs/DialogSelfCheckinSelect.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/ui/ListBox.h"
#include "widgets/AppHelpers.h"

namespace {

constexpr int kIdActivities = 1181;
constexpr int kIdPayments = 1185;
constexpr int kIdPayAsYouGo = 1186;
constexpr int kIdBalance = 1391;
constexpr int kIdEditSchedule = 1117;
constexpr int kIdMarkUsed = 1189;
constexpr int kIdSplit = 1191;
constexpr int kIdUnsplit = 1350;
constexpr int kIdEditPayment = 1017;
constexpr int kIdMarkPaid = 1341;
constexpr int kIdRecordPayment = 1349;
constexpr int kIdEditPayAsYouGo = 1392;
constexpr int kIdShowPicture = 1354;
constexpr int kIdNameTag = 1399;
constexpr int kIdBalanceSheet = 1388;
constexpr int kIdOk = 1000;

const ui::DialogTemplate kSignInTemplate{146, "Student sign-in", 420, 0, {
    {ui::Ctl::GroupBox, -1, "Purchased activities"},
    {ui::Ctl::ListBox, kIdActivities, ""},
    {ui::Ctl::Button, kIdEditSchedule, "Edit/Schedule"},
    {ui::Ctl::Button, kIdMarkUsed, "Mark as used"},
    {ui::Ctl::Button, kIdSplit, "Split"},
    {ui::Ctl::Button, kIdUnsplit, "Unsplit"},
    {ui::Ctl::GroupBox, -1, "Purchase payments"},
    {ui::Ctl::ListBox, kIdPayments, ""},
    {ui::Ctl::Label, kIdBalance, "Balance due:"},
    {ui::Ctl::Button, kIdEditPayment, "Edit"},
    {ui::Ctl::Button, kIdMarkPaid, "Mark as paid"},
    {ui::Ctl::GroupBox, -1, "Pay-as-you-go activities"},
    {ui::Ctl::ListBox, kIdPayAsYouGo, ""},
    {ui::Ctl::Button, kIdRecordPayment, "Record payment"},
    {ui::Ctl::Button, kIdEditPayAsYouGo, "Edit"},
    {ui::Ctl::Button, kIdShowPicture, "Show picture"},
    {ui::Ctl::Button, kIdNameTag, "Name tag"},
    {ui::Ctl::Button, kIdBalanceSheet, "Balance sheet"},
    {ui::Ctl::DefButton, kIdOk, "OK"},
}};

// The purchases of the student that are in force (neither converted nor cancelled).
template <class Visit>
void ForEachStudentPurchase(CDatabase& db, uint32_t student, Visit&& visit)
{
    for (CPurchaseRecord* purchase : db.GetActivePurchasesOf(student)) visit(*purchase);
}

}  // namespace

CDialogSignIn::CDialogSignIn(CDatabase* database, ui::Window* parent)
    : CRefreshHoldDialog(kSignInTemplate, parent, database, "CDialogSignIn", kIdOk)
{
}

bool CDialogSignIn::OnInitDialog()
{
    CRefreshHoldDialog::OnInitDialog();
    if (ui::ListBox* list = List(kIdActivities)) list->SetHorizontalExtent(1200);
    FillActivityList();
    FillPaymentList();
    FillPayAsYouGoList();
    if (m_pStudent) {
        m_strPictureFile = m_pStudent->m_sText23;
        SetWindowText(Format("Sign-in for %s %s", m_pStudent->m_sFirstName.c_str(), m_pStudent->m_sLastName.c_str()));
    }
    const bool picture = !m_strPictureFile.empty() && host::FileExists(m_strPictureFile);
    EnableDlgItem(kIdShowPicture, picture);
    const float seconds = m_pDatabase->m_Parameters.GetFloat(param::kFlashSeconds);
    if (picture && seconds > 0.0f && ShowPictureWindow) ShowPictureWindow(m_strPictureFile, seconds);
    EnableLessonButtons();
    return true;
}

void CDialogSignIn::FillActivityList()
{
    m_aActivities.clear();
    if (ui::ListBox* list = List(kIdActivities)) list->ResetContent();
    if (!m_pStudent) return;
    CDatabase& db = *m_pDatabase;
    ForEachStudentPurchase(db, m_pStudent->m_nCode, [&](CPurchaseRecord& purchase) {
        for (size_t i = 0; i < purchase.m_Items.size(); ++i) {
            const CPurchaseItem& item = *purchase.m_Items[i];
            // An item used up or past its time is not offered.
            if (item.IsLimited() && purchase.IsItemBlocked(item, nullptr) == 1) continue;
            int folding = -1;
            for (size_t t = 0; t < item.m_Tokens.size(); ++t) {
                const CScheduleToken& token = *item.m_Tokens[t];
                if (token.m_cState == 'U' || token.m_cState == 'c') continue;
                const bool unscheduled = token.m_cState == 'N';
                // Unscheduled, unsplit single lessons of one item share one row with a count.
                if (unscheduled && token.IsKindPS() && token.m_nSplitCount == 0) {
                    if (folding >= 0) {
                        ++m_aActivities[static_cast<size_t>(folding)].count;
                        continue;
                    }
                    folding = static_cast<int>(m_aActivities.size());
                }
                m_aActivities.push_back(MakeDataToken('T', unscheduled ? 0.0 : token.m_dDate, &purchase,
                                                      static_cast<int32_t>(i), static_cast<int32_t>(t)));
            }
        }
    });
    db.ArrangeScheduleEntries(m_aActivities);
    ui::ListBox* list = List(kIdActivities);
    if (!list) return;
    for (size_t r = 0; r < m_aActivities.size(); ++r) {
        const stDataToken& row = m_aActivities[r];
        const auto* purchase = static_cast<const CPurchaseRecord*>(row.record);
        const CPurchaseItem& item = *purchase->m_Items[static_cast<size_t>(row.index1)];
        std::string text = item.m_Tokens[static_cast<size_t>(row.index2)]->GetText(item, purchase->m_sDescription, &db);
        if (row.count > 1) text = Format("(%u) %s", row.count, text.c_str());
        const int at = list->AddString(text);
        list->SetItemData(at, static_cast<intptr_t>(r));
    }
    EnableLessonButtons();
}

void CDialogSignIn::FillPaymentList()
{
    m_aPayments.clear();
    if (ui::ListBox* list = List(kIdPayments)) list->ResetContent();
    if (m_pStudent) {
        ForEachStudentPurchase(*m_pDatabase, m_pStudent->m_nCode, [&](CPurchaseRecord& purchase) {
            for (size_t j = 0; j < purchase.m_Payments.size(); ++j) {
                const CSchedulePayment& payment = *purchase.m_Payments[j];
                if (payment.m_cKind != 'S' && payment.m_cKind != 'U') continue;
                m_aPayments.push_back(MakeDataToken('p', payment.m_cKind == 'U' ? 0.0 : payment.m_dDate, &purchase,
                                                    static_cast<int32_t>(j)));
            }
        });
    }
    std::stable_sort(m_aPayments.begin(), m_aPayments.end(),
                     [](const stDataToken& a, const stDataToken& b) { return a.date < b.date; });
    if (ui::ListBox* list = List(kIdPayments)) {
        for (size_t r = 0; r < m_aPayments.size(); ++r) {
            const stDataToken& row = m_aPayments[r];
            const auto* purchase = static_cast<const CPurchaseRecord*>(row.record);
            const int at = list->AddString(
                purchase->m_Payments[static_cast<size_t>(row.index1)]->GetText(purchase->m_sDescription));
            list->SetItemData(at, static_cast<intptr_t>(r));
        }
    }
    ShowBalanceDue();
}

void CDialogSignIn::ShowBalanceDue()
{
    const double balance = m_pStudent ? m_pDatabase->GetPersonBalance(m_pStudent->m_nCode) : 0.0;
    SetDlgItemText(kIdBalance, Format("Balance due: %.2f", balance));
}

void CDialogSignIn::FillPayAsYouGoList()
{
    ui::ListBox* list = List(kIdPayAsYouGo);
    if (!list) return;
    list->ResetContent();
    if (!m_pStudent) return;
    const uint32_t student = m_pStudent->m_nCode;
    for (const stIndex& e : *m_pDatabase->GetItemList(TABLE_SCHEDULE)) {
        const auto* item = static_cast<const CScheduleRecord*>(e.pItem);
        if (item->m_cKind != 'S' || item->m_nStudent != student) continue;
        const int at = list->AddString(item->m_sText);
        list->SetItemData(at, static_cast<intptr_t>(item->m_nCode));
    }
    for (const stIndex& e : *m_pDatabase->GetItemList(TABLE_PAYMENT)) {
        const auto* payment = static_cast<const CPaymentRecord*>(e.pItem);
        if (payment->m_nPerson != student || payment->m_cType != 'R') continue;
        if (payment->m_cReceived != 'U' && payment->m_cReceived != 'S') continue;
        const int at = list->AddString(Format("%s @ %.2f", payment->m_sText.c_str(), payment->m_dAmount));
        list->SetItemData(at, -1 - static_cast<intptr_t>(payment->m_nCode));
    }
}

void CDialogSignIn::RefillAll()
{
    FillActivityList();
    FillPaymentList();
    FillPayAsYouGoList();
}

void CDialogSignIn::EnableLessonButtons()
{
    bool lesson = false;
    if (ui::ListBox* list = List(kIdActivities)) {
        const int line = list->GetCurSel();
        if (line >= 0) {
            const size_t r = static_cast<size_t>(list->GetItemData(line));
            if (r < m_aActivities.size()) {
                const auto* purchase = static_cast<const CPurchaseRecord*>(m_aActivities[r].record);
                lesson = purchase->m_Items[static_cast<size_t>(m_aActivities[r].index1)]->m_cKind == 'p';
            }
        }
    }
    for (int id : {kIdEditSchedule, kIdSplit, kIdUnsplit}) EnableDlgItem(id, lesson);
    EnableDlgItem(kIdMarkUsed, true);
}

const stDataToken* CDialogSignIn::SelectedRow(int listId, const std::vector<stDataToken>& rows)
{
    ui::ListBox* list = List(listId);
    const int line = list ? list->GetCurSel() : -1;
    const size_t r = line >= 0 ? static_cast<size_t>(list->GetItemData(line)) : rows.size();
    if (r >= rows.size()) {
        GetResponse("No item selected", MB_OK);
        return nullptr;
    }
    return &rows[r];
}

bool CDialogSignIn::SelectedPayAsYouGo(intptr_t& data)
{
    ui::ListBox* list = List(kIdPayAsYouGo);
    const int line = list ? list->GetCurSel() : -1;
    if (line < 0) {
        GetResponse("No item selected", MB_OK);
        return false;
    }
    data = list->GetItemData(line);
    return true;
}

void CDialogSignIn::OnMarkAsUsed()
{
    const stDataToken* row = SelectedRow(kIdActivities, m_aActivities);
    if (!row) return;
    CDatabase& db = *m_pDatabase;
    auto* purchase = static_cast<CPurchaseRecord*>(row->record);
    const uint32_t itemIndex = static_cast<uint32_t>(row->index1);
    const uint32_t tokenIndex = static_cast<uint32_t>(row->index2);
    const CPurchaseItem& item = *purchase->m_Items[itemIndex];
    const CScheduleToken& token = *item.m_Tokens[tokenIndex];
    if (item.IsLimited()) {
        uint32_t activity = NO_CODE;
        DATE date = 0.0;
        if (db.SelectSignInActivity(item, activity, date, 0) < 0) return;
        db.UseToken(purchase, itemIndex, tokenIndex, activity, NO_CODE, date == 0.0 ? GetNow() : date, 1);
    } else {
        uint32_t teacher = NO_CODE;
        if (token.m_cKind == 'p' && token.m_nField8 == NO_CODE) {
            teacher = db.GetPersonTeacher(m_pStudent->m_nCode);
            if (teacher == NO_CODE) {
                const int32_t chosen = db.SelectPerson('E', 0, 0, 0);
                if (chosen < 0) return;
                teacher = static_cast<uint32_t>(chosen);
            }
        }
        db.UseToken(purchase, itemIndex, tokenIndex, NO_CODE, teacher, GetNow(), 1);
    }
    RefillAll();
}

void CDialogSignIn::OnSplit()
{
    const stDataToken* row = SelectedRow(kIdActivities, m_aActivities);
    if (!row) return;
    auto* purchase = static_cast<CPurchaseRecord*>(row->record);
    if (purchase->m_Items[static_cast<size_t>(row->index1)]->IsLimited()) return;
    m_pDatabase->SplitToken(purchase, static_cast<uint32_t>(row->index1), static_cast<uint32_t>(row->index2), 1);
    RefillAll();
}

void CDialogSignIn::OnUnsplit()
{
    const stDataToken* row = SelectedRow(kIdActivities, m_aActivities);
    if (!row) return;
    auto* purchase = static_cast<CPurchaseRecord*>(row->record);
    const uint32_t itemIndex = static_cast<uint32_t>(row->index1);
    const uint32_t tokenIndex = static_cast<uint32_t>(row->index2);
    const CPurchaseItem& item = *purchase->m_Items[itemIndex];
    if (item.IsLimited()) return;
    if (item.m_Tokens[tokenIndex]->m_nSplitCount < 1) {
        GetResponse("Not a split lesson", MB_OK);
        return;
    }
    if (m_pDatabase->GetUnsplitPartners(*purchase, itemIndex, tokenIndex).empty()) {
        GetResponse("No other split heats found for combine", MB_OK);
        return;
    }
    // One partner is taken without asking; of several the desk picks one.
    m_pDatabase->UnsplitToken(purchase, itemIndex, tokenIndex, 1);
    RefillAll();
}

void CDialogSignIn::OnEditSchedule()
{
    const stDataToken* row = SelectedRow(kIdActivities, m_aActivities);
    if (!row) return;
    m_pDatabase->EditTokenStatusOf(static_cast<CPurchaseRecord*>(row->record), row->index1, row->index2, 1);
    RefillAll();
}

void CDialogSignIn::OnEditPayment(bool markPaid)
{
    const stDataToken* row = SelectedRow(kIdPayments, m_aPayments);
    if (!row) return;
    const auto* purchase = static_cast<const CPurchaseRecord*>(row->record);
    const uint32_t code = purchase->m_nCode;
    const size_t index = static_cast<size_t>(row->index1);
    // The dialog edits a copy: Cancel leaves the purchase as it is.
    CPurchaseRecord copy;
    copy.CopyFrom(*purchase);
    CSchedulePayment& payment = *copy.m_Payments[index];
    if (markPaid) {
        payment.m_cKind = 'R';
        if (payment.m_dDate == 0.0) payment.m_dDate = std::floor(GetNow());
    }
    stPaymentEditRequest request;
    request.payment = &payment;
    request.purchase = &copy;
    if (m_pDatabase->Ui().EditScheduledPayment(*m_pDatabase, request) == ui::IDOK) {
        m_pDatabase->ChangeItem(TABLE_PURCHASE, code, [&](void* stored) {
            auto& p = *static_cast<CPurchaseRecord*>(stored);
            if (index >= p.m_Payments.size()) return false;
            p.m_Payments[index]->CopyFrom(payment);
            return true;
        });
    }
    RefillAll();
}

void CDialogSignIn::OnEditPayAsYouGo()
{
    intptr_t data = 0;
    if (!SelectedPayAsYouGo(data)) return;
    int result = 2;
    if (data >= 0) result = m_pDatabase->EditTableItem(TABLE_SCHEDULE, static_cast<uint32_t>(data), nullptr);
    else result = m_pDatabase->EditTableItem(TABLE_PAYMENT, static_cast<uint32_t>(-1 - data), nullptr);
    if (result == 1) FillPayAsYouGoList();
    FillPaymentList();
}

void CDialogSignIn::OnRecordPayment()
{
    intptr_t data = 0;
    if (!SelectedPayAsYouGo(data)) return;
    if (data < 0) {
        OnEditPayAsYouGo();
        return;
    }
    CDatabase& db = *m_pDatabase;
    const auto* event = static_cast<const CScheduleRecord*>(db.GetItem(TABLE_SCHEDULE, static_cast<uint32_t>(data)));
    if (!event) return;
    const auto* item = static_cast<const CPriceListItem*>(db.GetItem(TABLE_PRICELIST, event->m_nPriceListCode));
    if (!item) {
        GetResponse(Format("Price list item code %u associated with scheduled event not found.", event->m_nPriceListCode),
                    MB_OK);
        return;
    }
    db.SellItemNow(m_pStudent->m_nCode, event->m_nTeacher, event->m_nCode, item, 1, GetNow());
    RefillAll();
}

void CDialogSignIn::OnShowPicture()
{
    if (ShowPictureWindow) ShowPictureWindow(m_strPictureFile, 0.0);
}

void CDialogSignIn::OnNameTag()
{
    CDialogSelfCheckinSelect dialog(m_pDatabase, this);
    dialog.m_pStudent = m_pStudent;
    dialog.GetActivityTokens();
    dialog.DoModal();
    RefillAll();
}

void CDialogSignIn::OnBalanceSheet()
{
    if (m_pStudent) m_pDatabase->Ui().ShowBalanceSheet(*m_pDatabase, m_pStudent->m_nCode);
}

bool CDialogSignIn::OnCommand(int id, int code)
{
    if (id == kIdActivities) {
        if (code == ui::LBN_SELCHANGE) EnableLessonButtons();
        return true;
    }
    if (code != ui::BN_CLICKED) return CRefreshHoldDialog::OnCommand(id, code);
    switch (id) {
    case kIdMarkUsed: OnMarkAsUsed(); return true;
    case kIdSplit: OnSplit(); return true;
    case kIdUnsplit: OnUnsplit(); return true;
    case kIdEditSchedule: OnEditSchedule(); return true;
    case kIdEditPayment: OnEditPayment(false); return true;
    case kIdMarkPaid: OnEditPayment(true); return true;
    case kIdEditPayAsYouGo: OnEditPayAsYouGo(); return true;
    case kIdRecordPayment: OnRecordPayment(); return true;
    case kIdShowPicture: OnShowPicture(); return true;
    case kIdNameTag: OnNameTag(); return true;
    case kIdBalanceSheet: OnBalanceSheet(); return true;
    case kIdOk: EndDialog(ui::IDOK); return true;
    default: return CRefreshHoldDialog::OnCommand(id, code);
    }
}
