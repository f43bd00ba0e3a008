#include "dialogs/DialogPricelistStudioItem.h"

#include "common/DateTime.h"
#include "common/QuestionBox.h"
#include "database/Database.h"
#include "dialogs/ComboCodes.h"
#include "dialogs/DialogGetDate.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/ListBox.h"
#include "widgets/ControlHelpers.h"
#include "widgets/Prompts.h"

#include <algorithm>

namespace {

constexpr int kIdName = 1001;
constexpr int kIdPrice = 1003;
constexpr int kIdPackageOnly = 1004;
constexpr int kIdNumberLabel = 1006;
constexpr int kIdPriceLabel = 1007;
constexpr int kIdDurationLabel = 1010;
constexpr int kIdDuration = 1013;
constexpr int kIdBallroom = 1070;
constexpr int kIdNumber = 1086;
constexpr int kIdBasicType = 1161;
constexpr int kIdTeacher = 1163;
constexpr int kIdNumberSpin = 1208;
constexpr int kIdDates = 1402;
constexpr int kIdAddDate = 1403;
constexpr int kIdEditDate = 1017;
constexpr int kIdDeleteDate = 1404;
constexpr int kIdDeleteAll = 1405;
constexpr int kIdWeekly = 1019;
constexpr int kIdDaily = 1018;
constexpr int kIdOk = 1000;
constexpr int kMaxNumber = 1000;
constexpr uint32_t kHelpContext = 0x20000 + 309;

const ui::DialogTemplate kStudioItemTemplate{309, "Price list item or block of items schedulable by studio", 0, 0, {
    {ui::Ctl::Label, -1, "Name"},
    {ui::Ctl::Edit, kIdName, ""},
    {ui::Ctl::CheckBox, kIdPackageOnly, "Package only"},
    {ui::Ctl::Label, kIdPriceLabel, "Price"},
    {ui::Ctl::Edit, kIdPrice, ""},
    {ui::Ctl::Label, kIdNumberLabel, "Number"},
    {ui::Ctl::Edit, kIdNumber, ""},
    {ui::Ctl::Spin, kIdNumberSpin, "", ui::UDS_AUTOBUDDY | ui::UDS_SETBUDDYINT},
    {ui::Ctl::Label, -1, "Basic type"},
    {ui::Ctl::ComboBox, kIdBasicType, "", ui::CBS_DROPDOWN | ui::CBS_SORT},
    {ui::Ctl::Label, -1, "Teacher"},
    {ui::Ctl::ComboBox, kIdTeacher, "", ui::CBS_SORT},
    {ui::Ctl::Label, -1, "Ballroom"},
    {ui::Ctl::ComboBox, kIdBallroom, "", ui::CBS_DROPDOWN | ui::CBS_SORT},
    {ui::Ctl::Label, kIdDurationLabel, "Duration (Min.)"},
    {ui::Ctl::Edit, kIdDuration, ""},
    {ui::Ctl::GroupBox, -1, "Pre-schedule dates"},
    {ui::Ctl::ListBox, kIdDates, ""},
    {ui::Ctl::Button, kIdAddDate, "Add"},
    {ui::Ctl::Button, kIdEditDate, "Edit"},
    {ui::Ctl::Button, kIdDeleteDate, "Delete"},
    {ui::Ctl::Button, kIdDeleteAll, "Delete all"},
    {ui::Ctl::Button, kIdWeekly, "Make weekly"},
    {ui::Ctl::Button, kIdDaily, "Make daily"},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogPricelistStudioItem::CDialogPricelistStudioItem(CDatabase* database, ui::Window* parent)
    : ui::Dialog(kStudioItemTemplate, parent), m_pDB(database)
{
}

void CDialogPricelistStudioItem::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdNumber, m_nNumber);
    dx.Text(kIdName, m_strName);
    dx.Check(kIdPackageOnly, m_bPackageOnly);
    dx.Text(kIdPrice, m_dPrice);
    dx.Text(kIdDuration, m_nDuration);
}

bool CDialogPricelistStudioItem::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    if (!m_pItem) {
        EndDialog(ui::IDCANCEL);
        return false;
    }
    CPriceListItem& item = *m_pItem;
    m_strName = item.m_sName;
    m_nNumber = item.m_nNumber;
    m_nDuration = static_cast<unsigned>(item.m_nDuration);
    m_bPackageOnly = item.m_cPackageOnly != 0 ? 1 : 0;
    m_dPrice = item.m_dPrice;
    AttachSpin(*this, kIdNumber, kIdNumberSpin, 1, kMaxNumber);
    m_pDB->FillPersonTypeCombo(Combo(kIdTeacher), 'E', item.m_nTeacher);
    m_pDB->FillCategoryComboBox(Combo(kIdBasicType), 'B', item.m_nBasicType, 1, 'S', NO_CODE);
    m_pDB->FillCategoryComboBox(Combo(kIdBallroom), 'R', item.m_nBallroom, 1, 0, NO_CODE);
    FillDateList();
    UpdateData(false);
    UpdatePriceControls();
    return true;
}

void CDialogPricelistStudioItem::UpdatePriceControls()
{
    m_bPackageOnly = IsDlgButtonChecked(kIdPackageOnly) == 1 ? 1 : 0;
    ShowDlgItem(kIdPrice, m_bPackageOnly == 0);
    ShowDlgItem(kIdPriceLabel, m_bPackageOnly == 0);
}

void CDialogPricelistStudioItem::FillDateList()
{
    ui::ListBox* list = List(kIdDates);
    if (!list || !m_pItem) return;
    list->ResetContent();
    std::sort(m_pItem->m_Dates.begin(), m_pItem->m_Dates.end());
    for (size_t i = 0; i < m_pItem->m_Dates.size(); ++i) {
        const int at = list->AddString(FormatDateTime(m_pItem->m_Dates[i], "%A %B %d, %Y, %I:%M%p"));
        list->SetItemData(at, static_cast<intptr_t>(i));
    }
}

bool CDialogPricelistStudioItem::ReadNumber(int& number)
{
    bool ok = false;
    number = GetDlgItemInt(kIdNumber, &ok);
    if (!ok) {
        GetResponse("Please enter an integer.", MB_OK);
        return false;
    }
    if (number > kMaxNumber) {
        GetResponse("Please enter an integer between 1 and 1000.", MB_OK);
        return false;
    }
    return true;
}

void CDialogPricelistStudioItem::AddDate()
{
    int number = 0;
    if (!ReadNumber(number)) return;
    if (static_cast<int>(m_pItem->m_Dates.size()) >= number) {
        GetResponse("Can't specify more dates than number of items.", MB_OK);
        return;
    }
    CDialogGetDate dialog(m_pDB);
    dialog.m_nWithTime = 1;
    if (dialog.DoModal() == ui::IDCANCEL) return;
    m_pItem->m_Dates.push_back(dialog.m_dDate);
    FillDateList();
}

void CDialogPricelistStudioItem::EditDate()
{
    ui::ListBox* list = List(kIdDates);
    if (!list) return;
    const intptr_t index = GetListSelData(*list, "No item selected");
    if (index < 0 || static_cast<size_t>(index) >= m_pItem->m_Dates.size()) return;
    CDialogGetDate dialog(m_pDB);
    dialog.m_nWithTime = 1;
    dialog.m_dDate = m_pItem->m_Dates[static_cast<size_t>(index)];
    if (dialog.DoModal() == ui::IDCANCEL) return;
    m_pItem->m_Dates[static_cast<size_t>(index)] = dialog.m_dDate;
    FillDateList();
}

void CDialogPricelistStudioItem::DeleteDate()
{
    ui::ListBox* list = List(kIdDates);
    if (!list) return;
    const intptr_t index = GetListSelData(*list, "No item selected");
    if (index < 0 || static_cast<size_t>(index) >= m_pItem->m_Dates.size()) return;
    m_pItem->m_Dates.erase(m_pItem->m_Dates.begin() + index);
    FillDateList();
}

void CDialogPricelistStudioItem::MakeDateSeries(int days)
{
    if (m_pItem->m_Dates.empty()) {
        GetResponse("Start date not specified. You must specify at least one date to use as start date.", MB_OK);
        return;
    }
    int number = 0;
    if (!ReadNumber(number)) return;
    ui::ListBox* list = List(kIdDates);
    const int selected = list ? list->GetCurSel() : -1;
    DATE date = selected >= 0 && static_cast<size_t>(list->GetItemData(selected)) < m_pItem->m_Dates.size()
                    ? m_pItem->m_Dates[static_cast<size_t>(list->GetItemData(selected))]
                    : m_pItem->m_Dates.front();
    m_pItem->m_Dates.clear();
    for (int i = 0; i < number; ++i) {
        m_pItem->m_Dates.push_back(date);
        date = AddToDate(date, days, 0, 0, 0);
    }
    FillDateList();
}

void CDialogPricelistStudioItem::OnOK()
{
    if (!UpdateData(true)) return;
    const uint32_t basicType = GetSelectedCode(Combo(kIdBasicType), m_pItem->m_nBasicType);
    if (m_strName.empty()) {
        GetResponse("Item name not provided", MB_OK);
        return;
    }
    if (m_nNumber < 1) {
        GetResponse("Number not provided", MB_OK);
        return;
    }
    if (basicType == NO_CODE) {
        GetResponse("Basic type not selected", MB_OK);
        return;
    }
    CPriceListItem& item = *m_pItem;
    item.m_sName = m_strName;
    item.m_nNumber = m_nNumber;
    item.m_nDuration = static_cast<int32_t>(m_nDuration);
    item.m_cPackageOnly = static_cast<uint8_t>(m_bPackageOnly);
    item.m_dPrice = m_dPrice;
    item.m_nTeacher = GetSelectedCode(Combo(kIdTeacher), item.m_nTeacher);
    item.m_nBasicType = basicType;
    item.m_nBallroom = GetSelectedCode(Combo(kIdBallroom), item.m_nBallroom);
    EndDialog(ui::IDOK);
}

bool CDialogPricelistStudioItem::OnCommand(int id, int code)
{
    if (id == kIdPackageOnly) {
        if (code == ui::BN_CLICKED) UpdatePriceControls();
        return true;
    }
    if (code != ui::BN_CLICKED) return ui::Dialog::OnCommand(id, code);
    switch (id) {
    case kIdOk: OnOK(); return true;
    case kIdAddDate: AddDate(); return true;
    case kIdEditDate: EditDate(); return true;
    case kIdDeleteDate: DeleteDate(); return true;
    case kIdDeleteAll:
        m_pItem->m_Dates.clear();
        FillDateList();
        return true;
    case kIdWeekly: MakeDateSeries(7); return true;
    case kIdDaily: MakeDateSeries(1); return true;
    default: return ui::Dialog::OnCommand(id, code);
    }
}

bool CDialogPricelistStudioItem::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    if (msg.message == ui::WM_KEYDOWN && MoveOnEnterKey(*this, msg)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
