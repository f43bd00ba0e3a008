#include "dialogs/PageSchedulePerson.h"

#include <algorithm>
#include <map>

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "database/Database.h"
#include "dialogs/ScheduleWeekly.h"
#include "platform/host/Format.h"
#include "platform/ui/ListBox.h"

namespace {

const ui::DialogTemplate kSchedulePageTemplate{235, "Purchased activities", 384, 217, {
    {ui::Ctl::ListBox, CPageSchedulePerson::kIdList, ""},
    {ui::Ctl::Button, CPageSchedulePerson::kIdScheduleOne, "Schedule one,\nedit status"},
    {ui::Ctl::Button, CPageSchedulePerson::kIdWeekly, "Schedule unscheduled,\nweekly"},
    {ui::Ctl::Button, CPageSchedulePerson::kIdWeeklyFromHere, "Schedule from current location,\nweekly"},
    {ui::Ctl::Button, CPageSchedulePerson::kIdMarkUsed, "Mark as\nused"},
    {ui::Ctl::Button, CPageSchedulePerson::kIdSplit, "Split in two"},
    {ui::Ctl::Button, CPageSchedulePerson::kIdUnsplit, "Unsplit"},
    {ui::Ctl::Button, CPageSchedulePerson::kIdCancel, "Cancel"},
    {ui::Ctl::Button, CPageSchedulePerson::kIdMarkUnused, "Mark as unused"},
}};

void Trace(const char* text)
{
    if (DiagnosticLevel > 0) WriteDiagnosticString(text);
}

int DayOfWeek(DATE date)
{
    DateFields f;
    return DateToFields(date, f) ? f.dayOfWeek : 0;
}

}  // namespace

CPageSchedulePerson::CPageSchedulePerson(CDatabase* database)
    : ui::PropertyPage(kSchedulePageTemplate), m_pDatabase(database)
{
    Trace("CPageSchedulePerson constructor\n");
}

CPageSchedulePerson::~CPageSchedulePerson()
{
    Trace("CPageSchedulePerson destructor\n");
}

bool CPageSchedulePerson::OnInitDialog()
{
    Trace("CPageSchedulePerson::OnInitDialog()\n");
    ui::PropertyPage::OnInitDialog();
    if (ui::ListBox* list = List(kIdList)) list->SetHorizontalExtent(1200);
    return true;
}

bool CPageSchedulePerson::OnSetActive()
{
    Trace("CPageSchedulePerson::OnSetActive()\n");
    OnEnterPage();
    return ui::PropertyPage::OnSetActive();
}

bool CPageSchedulePerson::OnKillActive()
{
    Trace("CPageSchedulePerson::OnKillActive()\n");
    OnExitPage();
    return ui::PropertyPage::OnKillActive();
}

void CPageSchedulePerson::OnEnterPage()
{
    Trace("CPageSchedulePerson::OnEnterPage()\n");
    if (m_bEntered) return;
    m_bEntered = true;
    FillRows();
}

void CPageSchedulePerson::OnExitPage()
{
    Trace("CPageSchedulePerson::OnExitPage()\n");
    m_bEntered = false;
}

bool CPageSchedulePerson::OnCommand(int id, int code)
{
    if (id == kIdList && code == ui::LBN_SELCHANGE) {
        UpdateButtons();
        return true;
    }
    if (code != ui::BN_CLICKED) return ui::PropertyPage::OnCommand(id, code);
    switch (id) {
    case kIdScheduleOne: OnScheduleOne(); return true;
    case kIdWeekly: DoScheduleWeekly(0); return true;
    case kIdWeeklyFromHere:
        if (const stDataToken* row = SelectedRow(true))
            DoScheduleWeekly(static_cast<int>(row - m_aRows.data()));
        return true;
    case kIdMarkUsed: OnMarkUsed(); return true;
    case kIdSplit: OnSplit(); return true;
    case kIdUnsplit: OnUnsplit(); return true;
    case kIdCancel: OnCancelToken(); return true;
    case kIdMarkUnused: OnMarkUnused(); return true;
    default: return ui::PropertyPage::OnCommand(id, code);
    }
}

void CPageSchedulePerson::FillRows()
{
    m_aRows.clear();
    std::vector<CPurchaseRecord*> purchases;
    if (m_pPerson != nullptr && m_pDatabase != nullptr) {
        purchases = m_pDatabase->GetActivePurchasesOf(m_pPerson->m_nCode);
    } else if (m_pPurchase != nullptr) {
        purchases.push_back(m_pPurchase);
    }
    for (CPurchaseRecord* p : purchases) {
        for (size_t i = 0; i < p->m_Items.size(); ++i) {
            CPurchaseItem& item = *p->m_Items[i];
            int32_t unscheduledRow = -1;
            for (size_t t = 0; t < item.m_Tokens.size(); ++t) {
                CScheduleToken& token = *item.m_Tokens[t];
                if (token.m_cState == 'N') {
                    token.m_dDate = 0.0;
                    if (unscheduledRow >= 0) {
                        ++m_aRows[static_cast<size_t>(unscheduledRow)].count;
                        continue;
                    }
                    unscheduledRow = static_cast<int32_t>(m_aRows.size());
                }
                m_aRows.push_back(MakeDataToken('T', token.m_dDate, p, static_cast<int32_t>(i), static_cast<int32_t>(t)));
            }
        }
    }
    if (m_pDatabase != nullptr) m_pDatabase->ArrangeScheduleEntries(m_aRows);

    ui::ListBox* list = List(kIdList);
    if (list == nullptr) return;
    list->ResetContent();
    for (size_t r = 0; r < m_aRows.size(); ++r) {
        const stDataToken& row = m_aRows[r];
        const auto* p = static_cast<const CPurchaseRecord*>(row.record);
        const CPurchaseItem& item = *p->m_Items[static_cast<size_t>(row.index1)];
        std::string text = item.m_Tokens[static_cast<size_t>(row.index2)]->GetText(item, p->m_sDescription, m_pDatabase);
        if (row.count > 1) text += Format(" (%u items unscheduled)", row.count);
        list->SetItemData(list->AddString(text), static_cast<intptr_t>(r));
    }
    UpdateButtons();
}

CScheduleToken* CPageSchedulePerson::TokenOf(const stDataToken& row) const
{
    auto* p = static_cast<CPurchaseRecord*>(row.record);
    if (p == nullptr || row.index1 < 0 || static_cast<size_t>(row.index1) >= p->m_Items.size()) return nullptr;
    CPurchaseItem& item = *p->m_Items[static_cast<size_t>(row.index1)];
    if (row.index2 < 0 || static_cast<size_t>(row.index2) >= item.m_Tokens.size()) return nullptr;
    return item.m_Tokens[static_cast<size_t>(row.index2)].get();
}

const stDataToken* CPageSchedulePerson::SelectedRow(bool tell)
{
    ui::ListBox* list = List(kIdList);
    const int at = list ? list->GetCurSel() : -1;
    if (at >= 0) {
        const auto r = static_cast<size_t>(list->GetItemData(at));
        if (r < m_aRows.size() && TokenOf(m_aRows[r]) != nullptr) return &m_aRows[r];
    }
    if (tell) GetResponse("No item selected", MB_OK);
    return nullptr;
}

void CPageSchedulePerson::UpdateButtons()
{
    const stDataToken* row = SelectedRow(false);
    const CScheduleToken* token = row ? TokenOf(*row) : nullptr;
    const bool lesson = token != nullptr && token->m_cKind == 'p';
    const bool used = token != nullptr && token->m_cState == 'U';
    EnableDlgItem(kIdScheduleOne, lesson || used);
    EnableDlgItem(kIdWeekly, lesson);
    EnableDlgItem(kIdWeeklyFromHere, lesson);
    EnableDlgItem(kIdSplit, lesson);
    EnableDlgItem(kIdUnsplit, lesson);
    EnableDlgItem(kIdCancel, lesson);
    EnableDlgItem(kIdMarkUsed, token != nullptr && !used);
    SetDlgItemText(kIdCancel, token != nullptr && token->m_cState == 'c' ? "Uncancel" : "Cancel");
    ShowDlgItem(kIdMarkUnused, used && token->m_cKind != 'p');
}

void CPageSchedulePerson::OnScheduleOne()
{
    const stDataToken* row = SelectedRow(true);
    if (row == nullptr) return;
    // The status dialog on a copy of the token, put in place through the token service.
    m_pDatabase->EditTokenStatusOf(static_cast<CPurchaseRecord*>(row->record), row->index1, row->index2, Save());
    FillRows();
}

std::vector<DATE> CPageSchedulePerson::WeeklyDates(DATE start, const std::vector<stDaySchedule>& slots, size_t count)
{
    std::vector<DATE> dates;
    if (slots.empty()) return dates;
    DATE day = start;
    SetDateOnly(day);
    for (int step = 0; step < 7 && DayOfWeek(day) != slots[0].nDay; ++step) day += 1.0;
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("Update init current time %s\n", FormatDateTime(day, "%m/%d/%Y %H:%M").c_str());
    DATE last = 0.0;
    size_t slot = 0;
    while (dates.size() < count) {
        const stDaySchedule& s = slots[slot];
        // The slot's first occurrence from the current day on that lies after the last date.
        DATE when = 0.0;
        for (int step = 0; step < 14; ++step, day += 1.0) {
            when = AddToDate(day, 0, s.nHour, s.nMinute, 0);
            if (DayOfWeek(day) == s.nDay && when > last) break;
        }
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("   Update current time %s\n", FormatDateTime(day, "%m/%d/%Y %H:%M").c_str());
        dates.push_back(when);
        last = when;
        slot = (slot + 1) % slots.size();
    }
    return dates;
}

void CPageSchedulePerson::DoScheduleWeekly(int startRow)
{
    CScheduleWeekly dialog(this);
    if (dialog.DoModal() != ui::IDOK || dialog.m_aDays.empty()) return;
    const stDaySchedule& first = dialog.m_aDays[0];
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CPageSchedulePerson::DoScheduleWeekly, token nStartLoc %i, DOW %i, HR %i, init DT %s\n",
                              startRow, first.nDay, first.nHour,
                              FormatDateTime(dialog.m_dStartDate, "%m/%d/%Y %H:%M").c_str());

    // Every unscheduled token each row stands for, in row order.
    struct Wanted {
        CPurchaseRecord* purchase;
        uint32_t item;
        uint32_t token;
    };
    std::vector<Wanted> wanted;
    for (size_t r = static_cast<size_t>(std::max(startRow, 0)); r < m_aRows.size(); ++r) {
        const CScheduleToken* token = TokenOf(m_aRows[r]);
        if (token == nullptr || !token->IsKindPS() || token->m_cState != 'N') continue;
        auto* purchase = static_cast<CPurchaseRecord*>(m_aRows[r].record);
        const auto item = static_cast<uint32_t>(m_aRows[r].index1);
        const auto& tokens = purchase->m_Items[item]->m_Tokens;
        for (size_t t = static_cast<size_t>(m_aRows[r].index2); t < tokens.size(); ++t)
            if (tokens[t]->m_cState == 'N') wanted.push_back({purchase, item, static_cast<uint32_t>(t)});
    }
    const std::vector<DATE> dates = WeeklyDates(dialog.m_dStartDate, dialog.m_aDays, wanted.size());

    // One change per purchase, its tokens dated in row order.
    std::map<CPurchaseRecord*, std::vector<CDatabase::stTokenDate>> byPurchase;
    std::vector<CPurchaseRecord*> order;
    for (size_t i = 0; i < wanted.size(); ++i) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("Found unscheduled token at %i, schedule at %s\n", static_cast<int>(wanted[i].token),
                                  FormatDateTime(dates[i], "%m/%d/%Y %H:%M").c_str());
        auto& list = byPurchase[wanted[i].purchase];
        if (list.empty()) order.push_back(wanted[i].purchase);
        list.push_back({wanted[i].item, wanted[i].token, dates[i]});
    }
    for (CPurchaseRecord* purchase : order) m_pDatabase->ScheduleTokens(purchase, byPurchase[purchase], Save());
    FillRows();
}

void CPageSchedulePerson::OnMarkUsed()
{
    const stDataToken* row = SelectedRow(true);
    if (row == nullptr) return;
    auto* purchase = static_cast<CPurchaseRecord*>(row->record);
    const auto item = static_cast<uint32_t>(row->index1);
    const auto index = static_cast<uint32_t>(row->index2);
    const CScheduleToken& token = *TokenOf(*row);
    uint32_t activity = NO_CODE;
    uint32_t teacher = NO_CODE;
    DATE date = 0.0;
    if (token.IsKindTN()) {
        // The activity it is used for, with that activity's teacher and time.
        uint32_t code = NO_CODE;
        if (m_pDatabase->SelectSignInActivity(*purchase->m_Items[item], code, date, 0) < 0) return;
        activity = code;
        if (const auto* entry = static_cast<const CPriceListItem*>(m_pDatabase->GetItem(TABLE_PRICELIST, code)))
            teacher = entry->m_nTeacher;
        if (date == 0.0) date = GetNow();
    } else {
        if (token.m_cKind == 'p' && token.m_nField8 == NO_CODE) {
            const uint32_t student = m_pPerson ? m_pPerson->m_nCode : purchase->m_nPerson;
            teacher = m_pDatabase->GetPersonTeacher(student);
            if (teacher == NO_CODE) {
                const int32_t chosen = m_pDatabase->SelectPerson('E', 0, 0, 0);
                if (chosen < 0) return;
                teacher = static_cast<uint32_t>(chosen);
            }
        }
        if (token.m_cState != 'S') date = GetNow();
    }
    m_pDatabase->UseToken(purchase, item, index, activity, teacher, date, Save());
    FillRows();
}

void CPageSchedulePerson::ChangeSelected(
    int (CDatabase::*change)(CPurchaseRecord* purchase, uint32_t item, uint32_t token, int save))
{
    const stDataToken* row = SelectedRow(true);
    if (row == nullptr) return;
    if ((m_pDatabase->*change)(static_cast<CPurchaseRecord*>(row->record), static_cast<uint32_t>(row->index1),
                               static_cast<uint32_t>(row->index2), Save()) == 1)
        FillRows();
}

void CPageSchedulePerson::OnSplit() { ChangeSelected(&CDatabase::SplitToken); }
void CPageSchedulePerson::OnUnsplit() { ChangeSelected(&CDatabase::UnsplitToken); }
void CPageSchedulePerson::OnCancelToken() { ChangeSelected(&CDatabase::CancelToken); }
void CPageSchedulePerson::OnMarkUnused() { ChangeSelected(&CDatabase::MarkTokenUnused); }
