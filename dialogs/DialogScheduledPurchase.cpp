#include "dialogs/DialogScheduledPurchase.h"

#include "common/QuestionBox.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/ComboBox.h"
#include "records/ScheduleRecord.h"

namespace {

constexpr int kIdDuration = 1013;
constexpr int kIdItem = 1160;
constexpr int kIdSelfCheckIn = 1434;
constexpr int kIdStudent = 1064;
constexpr int kIdTeacher = 1159;
constexpr int kIdBallroom = 1070;
constexpr int kIdOk = 1000;

const ui::DialogTemplate kScheduledPurchaseTemplate{312, "Scheduled purchase", 0, 0, {
    {ui::Ctl::GroupBox, -1, "Type"},
    {ui::Ctl::Radio, 1151, "One time", ui::WS_GROUP},
    {ui::Ctl::Radio, 1153, "Daily"},
    {ui::Ctl::Radio, 1154, "Weekly"},
    {ui::Ctl::Radio, 1155, "Monthly"},
    {ui::Ctl::Radio, 1157, "Yearly"},
    {ui::Ctl::Label, -1, "Start date, activity time"},
    {ui::Ctl::Edit, 1010, ""},
    {ui::Ctl::Spin, 1037, ""},
    {ui::Ctl::Label, -1, "End date"},
    {ui::Ctl::Edit, 1011, ""},
    {ui::Ctl::Spin, 1039, ""},
    {ui::Ctl::Label, -1, "Duration (Min.)"},
    {ui::Ctl::Edit, kIdDuration, ""},
    {ui::Ctl::Button, 1436, "View/edit dates"},
    {ui::Ctl::Label, -1, "Description"},
    {ui::Ctl::ComboBox, kIdItem, ""},
    {ui::Ctl::CheckBox, kIdSelfCheckIn, "Allow self check-in"},
    {ui::Ctl::Label, -1, "Schedule for student"},
    {ui::Ctl::ComboBox, kIdStudent, ""},
    {ui::Ctl::Label, -1, "Schedule for teacher"},
    {ui::Ctl::ComboBox, kIdTeacher, ""},
    {ui::Ctl::Label, -1, "Schedule for ballroom"},
    {ui::Ctl::ComboBox, kIdBallroom, ""},
    {ui::Ctl::Label, 1054, ""},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogScheduledPurchase::CDialogScheduledPurchase(CDatabase* database, ui::Window* parent)
    : CScheduleRecordForm(kScheduledPurchaseTemplate, database, parent)
{
    m_nHelpContext = 0x20138;
}

bool CDialogScheduledPurchase::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    ui::ComboBox* items = Combo(kIdItem);
    if (m_pRecord && items) {
        for (const stIndex& e : *m_pDB->GetItemList(TABLE_PRICELIST)) {
            const CPriceListItem* item = static_cast<const CPriceListItem*>(e.pItem);
            if (item->m_cPackageOnly != 0 || item->m_cKind != 'p' || item->m_nNumber != 1) continue;
            const int at = items->AddString(Format("%s [%.2f]", item->m_sName.c_str(), item->m_dPrice));
            items->SetItemData(at, static_cast<intptr_t>(item->m_nCode));
            if (item->m_nCode == m_pRecord->m_nPriceListCode) items->SetCurSel(at);
        }
    }
    if (!m_pRecord || !items || items->GetCount() == 0) {
        GetResponse("No price list items suitable for scheduled purchase have been specified.", MB_OK);
        EndDialog(ui::IDCANCEL);
        return false;
    }
    CheckDlgButton(kIdSelfCheckIn, m_pRecord->m_cSelfCheckIn != 0 ? 1 : 0);
    InitForm();
    return true;
}

void CDialogScheduledPurchase::TakeItemDefaults()
{
    const uint32_t code = GetComboCode(kIdItem, NO_CODE);
    const CPriceListItem* item =
        code == NO_CODE ? nullptr : static_cast<const CPriceListItem*>(m_pDB->GetItem(TABLE_PRICELIST, code));
    if (!item) return;
    if (item->m_nTeacher != NO_CODE) SelectComboCode(kIdTeacher, item->m_nTeacher);
    if (item->m_nBallroom != NO_CODE) SelectComboCode(kIdBallroom, item->m_nBallroom);
    SetDlgItemInt(kIdDuration, item->m_nDuration);
    CheckDlgButton(kIdSelfCheckIn, item->m_cSelfSignIn != 0 ? 1 : 0);
}

void CDialogScheduledPurchase::OnOK()
{
    const uint32_t itemCode = GetComboCode(kIdItem, NO_CODE);
    const CPriceListItem* item =
        itemCode == NO_CODE ? nullptr : static_cast<const CPriceListItem*>(m_pDB->GetItem(TABLE_PRICELIST, itemCode));
    if (!item) {
        GetResponse("Please select price list item.", MB_OK);
        return;
    }
    if (GetComboCode(kIdStudent, NO_CODE) == NO_CODE) {
        GetResponse("Please select student.", MB_OK);
        return;
    }
    CScheduleRecord before;
    before.CopyFrom(*m_pRecord);
    uint32_t teacher = NO_CODE;
    uint32_t ballroom = NO_CODE;
    if (!StoreForm(teacher, ballroom)) {
        m_pRecord->CopyFrom(before);
        return;
    }
    CScheduleRecord& r = *m_pRecord;
    r.m_cSelfCheckIn = static_cast<uint8_t>(IsDlgButtonChecked(kIdSelfCheckIn) == 1 ? 1 : 0);
    r.m_nPriceListCode = itemCode;
    r.m_sText = item->m_sName;
    // Teacher and ballroom are settled before the conflict test.
    if (item->m_nTeacher != NO_CODE && teacher == NO_CODE) {
        teacher = item->m_nTeacher;
    } else if (item->m_nTeacher != NO_CODE && teacher != item->m_nTeacher) {
        std::string itemName;
        std::string chosenName;
        m_pDB->GetPersonName(itemName, item->m_nTeacher, 0);
        m_pDB->GetPersonName(chosenName, teacher, 0);
        if (GetResponse(Format("Price list item teacher is %s.\nYour selected teacher %s.\nUse your selection?",
                               itemName.c_str(), chosenName.c_str()),
                        MB_YESNO) != IDYES)
            teacher = item->m_nTeacher;
    }
    if (item->m_nBallroom != NO_CODE && ballroom == NO_CODE) {
        ballroom = item->m_nBallroom;
    } else if (item->m_nBallroom != NO_CODE && ballroom != item->m_nBallroom) {
        if (GetResponse(Format("Price list item ballroom is %s.\nYou selected ballroom %s.\nUse your selection?",
                               m_pDB->GetCategoryName(item->m_nBallroom).c_str(),
                               m_pDB->GetCategoryName(ballroom).c_str()),
                        MB_YESNO) != IDYES)
            ballroom = item->m_nBallroom;
    }
    r.m_nTeacher = teacher;
    r.m_nRoom = ballroom;
    if (!FinishOk()) m_pRecord->CopyFrom(before);
}

bool CDialogScheduledPurchase::OnCommand(int id, int code)
{
    switch (id) {
    case kIdOk:
        if (code == ui::BN_CLICKED) OnOK();
        return true;
    case kIdItem:
        if (code == ui::CBN_SELCHANGE) TakeItemDefaults();
        return true;
    default:
        return CScheduleRecordForm::OnCommand(id, code);
    }
}
