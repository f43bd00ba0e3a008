#include "dialogs/DialogSelfCheckinSelect.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "database/Database.h"
#include "database/PrintFont.h"
#include "platform/host/Format.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/PrinterDC.h"
#include "studio/ScheduleOccurrences.h"

namespace {

constexpr int kIdList = 1397;
constexpr int kIdPrint = 1400;
constexpr int kIdSignIn = 1000;
constexpr int kIdPreview = 1399;
constexpr uint32_t kNameFormat = 36;
constexpr uint32_t kTextFormat = 37;

const ui::DialogTemplate kSelfCheckinTemplate{307, "Student self check-in", 300, 0, {
    {ui::Ctl::Label, -1,
     "(1) Left click on one or more activities below to select\n(2) Left click on \"Sign in and print name tag\" "
     "activities\" to sign in\n      or  left click on \"Sign in - do not print name tag\" to skip name tag"},
    {ui::Ctl::ListBox, kIdList, "", ui::LBS_MULTIPLESEL},
    {ui::Ctl::Frame, kIdPreview, "", 0, -1, -1, 200, 60},
    {ui::Ctl::Button, kIdPrint, "Sign in and print name tag"},
    {ui::Ctl::DefButton, kIdSignIn, "Sign in - do not print name tag"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

// One of today's dated price-list classes.
struct stOccurrenceToday {
    uint32_t nCode = NO_CODE;
    uint32_t nBasicType = NO_CODE;
    DATE dDate = 0.0;
    uint32_t nUses = 0;
};

const stFormatRecord& TagFormat(CDatabase& db, uint32_t index)
{
    const stFormatRecord* format = db.GetFormat(index);
    return format ? *format : DefaultPrintFormat();
}

}  // namespace

void CDialogSelfCheckinSelect::CTagPreview::OnPaint(ui::DC& dc)
{
    dc.FillSolidRect(GetClientRect(), ui::kWhite);
    m_Owner.DrawNameTag(dc, 0, 0);
    if (m_Owner.m_bShown == 0 && IsWindowVisible()) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticString("CDialogSelfCheckinSelect::OnPaint() before PostMessage(MSG_SELFSIGNIN)\n");
        m_Owner.PostMessage(MSG_SELFSIGNIN, 0, 0);
    }
}

CDialogSelfCheckinSelect::CDialogSelfCheckinSelect(CDatabase* database, ui::Window* parent)
    : CRefreshHoldDialog(kSelfCheckinTemplate, parent, database, "CDialogSelfCheckinSelect", kIdSignIn)
{
}

const CPurchaseItem* CDialogSelfCheckinSelect::RowItem(const stDataToken& row) const
{
    if (row.type != 'T' || row.record == nullptr) return nullptr;
    const auto* purchase = static_cast<const CPurchaseRecord*>(row.record);
    if (row.index1 < 0 || static_cast<size_t>(row.index1) >= purchase->m_Items.size()) return nullptr;
    return purchase->m_Items[static_cast<size_t>(row.index1)].get();
}

bool CDialogSelfCheckinSelect::IsLimitedQuantityRow(const stDataToken& row) const
{
    const CPurchaseItem* item = RowItem(row);
    return item && item->m_cKind == 'N';
}

int CDialogSelfCheckinSelect::GetActivityTokens()
{
    m_aTokens.clear();
    if (m_pStudent == nullptr || m_pDatabase == nullptr) return 0;
    CDatabase& db = *m_pDatabase;
    const uint32_t student = m_pStudent->m_nCode;
    const DATE now = GetNow();
    const DATE today = std::floor(now);
    auto isToday = [today](DATE d) { return d > 0.0 && std::floor(d) == today; };
    const std::vector<CPurchaseRecord*> mine = db.GetActivePurchasesOf(student);
    auto studentPurchases = [&](auto&& visit) {
        for (CPurchaseRecord* purchase : mine) visit(*purchase);
    };

    // 1. What the student's limited items signed in to today.
    std::set<uint32_t> usedToday;
    studentPurchases([&](CPurchaseRecord& purchase) {
        for (const auto& item : purchase.m_Items)
            for (const auto& token : item->m_Tokens)
                if (token->IsKindTN() && token->m_cState == 'U' && isToday(token->m_dDate) &&
                    token->m_nActivity != NO_CODE)
                    usedToday.insert(token->m_nActivity);
    });

    // 2. Today's dated classes not yet signed in to.
    std::vector<stOccurrenceToday> occurrences;
    for (const stIndex& e : *db.GetItemList(TABLE_PRICELIST)) {
        const auto* item = static_cast<const CPriceListItem*>(e.pItem);
        if (usedToday.count(item->m_nCode)) continue;
        for (DATE d : item->m_Dates) {
            if (!isToday(d)) continue;
            if (DiagnosticLevel > 0)
                WriteDiagnosticFormat("CDialogSelfCheckinSelect::GetActivityTokens() add from price list %s\n",
                                      item->m_sName.c_str());
            occurrences.push_back({item->m_nCode, item->m_nBasicType, d, 0});
        }
    }

    // 3. Lessons of the student's purchases.
    studentPurchases([&](CPurchaseRecord& purchase) {
        for (size_t i = 0; i < purchase.m_Items.size(); ++i) {
            const CPurchaseItem& item = *purchase.m_Items[i];
            for (size_t t = 0; t < item.m_Tokens.size(); ++t) {
                const CScheduleToken& token = *item.m_Tokens[t];
                auto row = [&](DATE date, uint32_t code) {
                    stDataToken r = MakeDataToken('T', date, &purchase, static_cast<int32_t>(i), static_cast<int32_t>(t));
                    r.activity = code;
                    m_aTokens.push_back(r);
                };
                if (token.IsKindPS()) {
                    if (token.m_cState == 'S' && isToday(token.m_dDate)) {
                        if (DiagnosticLevel > 0)
                            WriteDiagnosticFormat("GetActivityTokens() add scheduled %s\n", item.m_sName.c_str());
                        row(token.m_dDate, item.m_nPriceListCode);
                    }
                    continue;
                }
                if (!item.IsLimited() || token.m_cState == 'U') continue;
                // An item used up or past its time is not offered.
                if (purchase.IsItemBlocked(item, nullptr) == 1) continue;
                bool own = false;
                for (const stOccurrenceToday& o : occurrences)
                    if (o.nCode == item.m_nPriceListCode) {
                        own = true;
                        if (DiagnosticLevel > 0)
                            WriteDiagnosticFormat("GetActivityTokens() add fixed time/number purchase %u, item pricelist "
                                                  "code %u, %s\n",
                                                  purchase.m_nCode, item.m_nPriceListCode, item.m_sName.c_str());
                        row(o.dDate, o.nCode);
                    }
                if (own || item.m_nType == NO_CODE) continue;
                for (size_t k = occurrences.size(); k-- > 0;) {
                    stOccurrenceToday& o = occurrences[k];
                    if (o.nBasicType != item.m_nType) continue;
                    if (DiagnosticLevel > 0)
                        WriteDiagnosticFormat("GetActivityTokens() add same basic type from purchase %u, item pricelist "
                                              "code %u, %s\n",
                                              purchase.m_nCode, item.m_nPriceListCode, item.m_sName.c_str());
                    row(o.dDate, o.nCode);
                    ++o.nUses;
                }
            }
        }
    });

    // 4. The student's schedule items open for check-in, per occurrence falling today.
    for (const stIndex& e : *db.GetItemList(TABLE_SCHEDULE)) {
        auto* item = static_cast<CScheduleRecord*>(e.pItem);
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat(" Test Schedule record for student %u, teacher %u, %s\n", item->m_nStudent,
                                  item->m_nTeacher, item->m_sText.c_str());
        if (item->m_nStudent != student || item->m_cSelfCheckIn != 1) continue;
        if (DiagnosticLevel > 0) WriteDiagnosticString("  Found person\n");
        std::vector<stOccurrence> dates = GetShownOccurrences(*item);
        if (dates.empty()) dates.push_back({0, item->m_dFirstDate});
        for (const stOccurrence& o : dates) {
            if (!isToday(o.date)) continue;
            if (DiagnosticLevel > 0)
                WriteDiagnosticFormat("  Adding schedule item to list %s\n", item->m_sText.c_str());
            stDataToken r = MakeDataToken('s', o.date, item, o.index);
            r.activity = item->m_nPriceListCode;
            m_aTokens.push_back(r);
        }
    }

    // 5. Items the student may buy and sign in to on the spot.
    for (const stIndex& e : *db.GetItemList(TABLE_PRICELIST)) {
        auto* item = static_cast<CPriceListItem*>(e.pItem);
        if (item->m_cSelfSignIn != 1) continue;
        if (DiagnosticLevel > 0) WriteDiagnosticFormat("  Adding pricelist item to list %s\n", item->m_sName.c_str());
        stDataToken r = MakeDataToken('$', today, item);
        r.activity = item->m_nCode;
        m_aTokens.push_back(r);
    }

    db.ArrangeScheduleEntries(m_aTokens);
    return static_cast<int>(m_aTokens.size());
}

std::string CDialogSelfCheckinSelect::RowName(const stDataToken& row) const
{
    switch (row.type) {
    case 'T': {
        const CPurchaseItem* item = RowItem(row);
        return item ? item->m_sName : std::string();
    }
    case 's': {
        const auto* item = static_cast<const CScheduleRecord*>(row.record);
        const auto* sold = static_cast<const CPriceListItem*>(m_pDatabase->GetItem(TABLE_PRICELIST, item->m_nPriceListCode));
        return item->m_sText.empty() && sold ? sold->m_sName : item->m_sText;
    }
    case '$':
        return static_cast<const CPriceListItem*>(row.record)->m_sName;
    default:
        return std::string();
    }
}

bool CDialogSelfCheckinSelect::OnInitDialog()
{
    CRefreshHoldDialog::OnInitDialog();
    SubclassDlgItem(kIdPreview, m_Preview);
    if (m_pStudent) {
        SetWindowText(Format("Check-in for %s %s", m_pStudent->m_sFirstName.c_str(), m_pStudent->m_sLastName.c_str()));
        m_strNameLine = m_pDatabase->m_Parameters.GetByte(param::kNameTagFirstOnly) == 1
                            ? m_pStudent->m_sFirstName
                            : Format("%s %s", m_pStudent->m_sFirstName.c_str(), m_pStudent->m_sLastName.c_str());
    }
    m_strDateLine = FormatDateTime(GetNow(), "%m/%d/%Y");
    FillList();
    return true;
}

void CDialogSelfCheckinSelect::FillList()
{
    ui::ListBox* list = List(kIdList);
    if (!list) return;
    list->ResetContent();
    for (size_t i = 0; i < m_aTokens.size(); ++i) {
        const stDataToken& row = m_aTokens[i];
        const std::string time = FormatDateTime(row.date, "%I:%M%p");
        std::string text = Format("%s, %s", time.c_str(), RowName(row).c_str());
        if (row.type == 'T') {
            const auto* purchase = static_cast<const CPurchaseRecord*>(row.record);
            const CPurchaseItem* item = RowItem(row);
            const CScheduleToken& token = *item->m_Tokens[static_cast<size_t>(row.index2)];
            if (token.m_cKind == 'p' && token.m_nField8 != NO_CODE) {
                std::string teacher;
                m_pDatabase->GetPersonName(teacher, token.m_nField8, 0);
                text = Format("%s, %s, %s", time.c_str(), teacher.c_str(),
                              token.GetText(*item, purchase->m_sDescription, m_pDatabase).c_str());
            }
        }
        if (DiagnosticLevel > 0) text += Format(" (Index %i)", static_cast<int>(i));
        const int at = list->AddString(text);
        list->SetItemData(at, static_cast<intptr_t>(i));
    }
}

void CDialogSelfCheckinSelect::TellStudent(const std::string& text)
{
    ShowWindow(false);
    GetResponse(text, MB_OK);
    ShowWindow(true);
    Invalidate();
    UpdateWindow();
    m_Preview.Invalidate();
}

int CDialogSelfCheckinSelect::GetData()
{
    m_aSelected.clear();
    ui::ListBox* list = List(kIdList);
    if (!list) return 0;
    std::map<uint32_t, uint32_t> counts;
    for (int line = 0; line < list->GetCount(); ++line) {
        if (list->GetSel(line) <= 0) continue;
        const size_t at = static_cast<size_t>(list->GetItemData(line));
        if (at >= m_aTokens.size()) continue;
        const stDataToken& row = m_aTokens[at];
        if (IsLimitedQuantityRow(row)) {
            const uint32_t count = ++counts[row.activity];
            const uint32_t maximum = NumberRemainingOfFixedNumberItems(row.activity);
            if (count > maximum) {
                list->SetSel(line, false);
                if (DiagnosticLevel > 0)
                    WriteDiagnosticString("CDialogSelfCheckinSelect::GetData()Can't select. Exceeds maximum number\n");
                TellStudent(Format("You have selected %u items, which exceeds\nthe maximum number of %u for this type "
                                   "of item.\nPlease ask receptionist for assistance.",
                                   count, maximum));
                continue;
            }
        }
        m_aSelected.push_back(Format("%s %s", FormatDateTime(row.date, "%I:%M%p").c_str(),
                                     m_pDatabase->CapitalizeWords(RowName(row)).c_str()));
    }
    return static_cast<int>(m_aSelected.size());
}

int CDialogSelfCheckinSelect::SelectFixedNumberItemToCharge(uint32_t priceListCode) const
{
    int best = -1;
    uint32_t fewest = 0;
    for (size_t i = 0; i < m_aTokens.size(); ++i) {
        const stDataToken& row = m_aTokens[i];
        if (row.activity != priceListCode || !IsLimitedQuantityRow(row)) continue;
        const uint32_t left = RowItem(row)->GetUnusedCount();
        if (left == 0) continue;
        if (best < 0 || left < fewest) {
            best = static_cast<int>(i);
            fewest = left;
        }
    }
    return best;
}

uint32_t CDialogSelfCheckinSelect::NumberRemainingOfFixedNumberItems(uint32_t priceListCode) const
{
    // Each purchase item counts once, however many of today's classes it is offered for.
    std::set<const CPurchaseItem*> counted;
    uint32_t remaining = 0;
    for (const stDataToken& row : m_aTokens) {
        if (row.activity != priceListCode || !IsLimitedQuantityRow(row)) continue;
        const CPurchaseItem* item = RowItem(row);
        if (!counted.insert(item).second) continue;
        const uint32_t left = item->GetUnusedCount();
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("For purchase %u/%u, remaining %u\n",
                                  static_cast<const CPurchaseRecord*>(row.record)->m_nCode, row.index1, left);
        remaining += left;
    }
    return remaining;
}

void CDialogSelfCheckinSelect::OnMyOk()
{
    ui::ListBox* list = List(kIdList);
    std::vector<size_t> chosen;
    if (list)
        for (int line = 0; line < list->GetCount(); ++line)
            if (list->GetSel(line) > 0) chosen.push_back(static_cast<size_t>(list->GetItemData(line)));
    if (chosen.empty()) {
        TellStudent("No activities selected.");
        return;
    }
    ShowWindow(false);
    CDatabase& db = *m_pDatabase;
    const uint32_t student = m_pStudent ? m_pStudent->m_nCode : NO_CODE;
    for (size_t at : chosen) {
        if (at >= m_aTokens.size()) continue;
        const stDataToken row = m_aTokens[at];
        if (row.type == 'T') {
            stDataToken charged = row;
            if (IsLimitedQuantityRow(row)) {
                // Counted again after every charge: the item with the fewest uses left goes first.
                const int pick = SelectFixedNumberItemToCharge(row.activity);
                if (pick >= 0) charged = m_aTokens[static_cast<size_t>(pick)];
            }
            auto* purchase = static_cast<CPurchaseRecord*>(charged.record);
            const uint32_t code = purchase->m_nCode;
            const CPurchaseItem* item = RowItem(charged);
            if (DiagnosticLevel > 0 && IsLimitedQuantityRow(charged))
                WriteDiagnosticFormat("CDialogSelfCheckinSelect::OnMyOk use fixed number purchase %u/%u with %u left\n",
                                      code, charged.index1, item->GetUnusedCount());
            // A limited item's use is taken from its unused token as the item stands now (an
            // earlier use of this sign-in may have replaced it); it is dated at the class, a
            // lesson's use at the moment of signing in.
            int32_t token = charged.index2;
            if (item->IsLimited()) {
                token = -1;
                for (size_t t = 0; t < item->m_Tokens.size() && token < 0; ++t)
                    if (item->m_Tokens[t]->m_cState == 'N') token = static_cast<int32_t>(t);
                if (token < 0) continue;
            }
            const DATE when = item->IsLimited() ? row.date : GetNow();
            db.UseToken(purchase, static_cast<uint32_t>(charged.index1), static_cast<uint32_t>(token), row.activity,
                        NO_CODE, when, 1);
            if (DiagnosticLevel > 0 && IsLimitedQuantityRow(charged))
                WriteDiagnosticFormat(
                    "CDialogSelfCheckinSelect::OnMyOk after save fixed number purchase %u/%u has %u left\n", code,
                    charged.index1, RowItem(charged)->GetUnusedCount());
            continue;
        }
        const CPriceListItem* sold = nullptr;
        uint32_t teacher = NO_CODE;
        if (row.type == 's') {
            const auto* item = static_cast<const CScheduleRecord*>(row.record);
            sold = static_cast<const CPriceListItem*>(db.GetItem(TABLE_PRICELIST, item->m_nPriceListCode));
            teacher = item->m_nTeacher;
            if (!sold) {
                TellStudent(Format("Price list item code %u associated with scheduled event not found.",
                                   item->m_nPriceListCode));
                continue;
            }
        } else if (row.type == '$') {
            sold = static_cast<const CPriceListItem*>(row.record);
            teacher = sold->m_nTeacher;
        }
        if (!sold) continue;
        const double price = sold->m_dPrice;
        const std::string name = sold->m_sName;
        if (db.SellItemNow(student, teacher, NO_CODE, sold, 0, row.date) == 1)
            m_strPaymentNotice += Format("Payment of %.2f due for\n%s.\n", price, name.c_str());
    }
    if (list) list->SetSel(-1, false);
    EndDialog(ui::IDOK);
}

void CDialogSelfCheckinSelect::OnSelchangeSelectlist()
{
    GetData();
    m_Preview.Invalidate();
    m_Preview.UpdateWindow();
}

void CDialogSelfCheckinSelect::DrawNameTag(ui::DC& dc, int x, int y)
{
    ui::Font nameFont;
    ui::Font textFont;
    const stFormatRecord& nameFormat = TagFormat(*m_pDatabase, kNameFormat);
    const stFormatRecord& textFormat = TagFormat(*m_pDatabase, kTextFormat);
    InitPrintFont(nameFont, dc, nameFormat.nSize, nameFormat.GetFace(), nameFormat.cCharSet, nameFormat.cBold,
                  nameFormat.cItalic, nameFormat.cUnderline, nameFormat.cStrikeOut);
    InitPrintFont(textFont, dc, textFormat.nSize, textFormat.GetFace(), textFormat.cCharSet, textFormat.cBold,
                  textFormat.cItalic, textFormat.cUnderline, textFormat.cStrikeOut);
    const ui::Font old = dc.SelectFont(nameFont);
    dc.SetBkMode(ui::TRANSPARENT);
    x += 3;
    y += dc.TabbedTextOut(x, y, m_strNameLine, {}, 0).cy + 3;
    dc.SelectFont(textFont);
    for (const std::string& line : m_aSelected) y += dc.TabbedTextOut(x, y, line, {}, 0).cy;
    dc.TabbedTextOut(x, y, m_strDateLine, {}, 0);
    dc.SelectFont(old);
}

void CDialogSelfCheckinSelect::PrintNameTag()
{
    if (GetData() == 0) {
        TellStudent("No activities selected.");
        return;
    }
    ui::PrintSetupDialog setup(ui::PrintSetup{ui::PrinterDC::GetDefaultPrinter()});
    if (setup.DoModal() != ui::IDOK) return;
    ui::PrinterDC dc;
    if (!dc.Open(setup.GetSetup().printer)) return;
    if (dc.StartDoc("Label print job") <= 0) return;
    dc.StartPage();
    DrawNameTag(dc, 0, 0);
    dc.EndPage();
    dc.EndDoc();
    OnMyOk();
}

bool CDialogSelfCheckinSelect::OnCommand(int id, int code)
{
    switch (id) {
    case kIdList:
        if (code == ui::LBN_SELCHANGE) OnSelchangeSelectlist();
        return true;
    case kIdSignIn:
        if (code == ui::BN_CLICKED) OnMyOk();
        return true;
    case kIdPrint:
        if (code == ui::BN_CLICKED) PrintNameTag();
        return true;
    default:
        return CRefreshHoldDialog::OnCommand(id, code);
    }
}

bool CDialogSelfCheckinSelect::PreTranslateMessage(const ui::Msg& msg)
{
    if (msg.message == MSG_SELFSIGNIN) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticString("CDialogSelfCheckinSelect::PreTranslateMessage() before OnSelchangeSelectlist\n");
        OnSelchangeSelectlist();
        m_bShown = 1;
        return true;
    }
    return CRefreshHoldDialog::PreTranslateMessage(msg);
}
