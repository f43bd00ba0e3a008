#include "dialogs/DialogPricelistItem.h"

#include "common/QuestionBox.h"
#include "database/Database.h"
#include "dialogs/ComboCodes.h"
#include "platform/ui/ComboBox.h"
#include "widgets/ControlHelpers.h"

namespace {

constexpr int kIdName = 1001;
constexpr int kIdPrice = 1003;
constexpr int kIdPackageOnly = 1004;
constexpr int kIdSelfSignIn = 1005;
constexpr int kIdNumberLabel = 1006;
constexpr int kIdPriceLabel = 1007;
constexpr int kIdDurationLabel = 1010;
constexpr int kIdDuration = 1013;
constexpr int kIdBallroom = 1070;
constexpr int kIdNumber = 1086;
constexpr int kIdBasicType = 1161;
constexpr int kIdTeacher = 1163;
constexpr int kIdNumberSpin = 1208;
constexpr int kIdTeacherLabel = 1414;
constexpr int kIdBallroomLabel = 1415;
constexpr int kIdOk = 1000;
constexpr uint32_t kHelpContext = 0x20000 + 215;

const ui::DialogTemplate kPricelistItemTemplate{215, "Price list item or block of items", 0, 0, {
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
    {ui::Ctl::Label, kIdTeacherLabel, "Teacher"},
    {ui::Ctl::ComboBox, kIdTeacher, "", ui::CBS_SORT},
    {ui::Ctl::Label, kIdBallroomLabel, "Ballroom"},
    {ui::Ctl::ComboBox, kIdBallroom, "", ui::CBS_DROPDOWN | ui::CBS_SORT},
    {ui::Ctl::Label, kIdDurationLabel, "Duration (Min.)"},
    {ui::Ctl::Edit, kIdDuration, ""},
    {ui::Ctl::CheckBox, kIdSelfSignIn, "Allow student self-sign-in"},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogPricelistItem::CDialogPricelistItem(CDatabase* database, ui::Window* parent)
    : ui::Dialog(kPricelistItemTemplate, parent), m_pDB(database)
{
}

void CDialogPricelistItem::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdNumber, m_nNumber);
    dx.Text(kIdName, m_strName);
    dx.Check(kIdPackageOnly, m_bPackageOnly);
    dx.Text(kIdPrice, m_dPrice);
    dx.Text(kIdDuration, m_nDuration);
    dx.Check(kIdSelfSignIn, m_bSelfSignIn);
}

bool CDialogPricelistItem::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    if (!m_pItem) {
        EndDialog(ui::IDCANCEL);
        return false;
    }
    CPriceListItem& item = *m_pItem;
    m_cKind = item.m_cKind;
    switch (m_cKind) {
    case 'p': SetWindowText("Price list item or block of items scheduled for person"); break;
    case 'T': SetWindowText("Price list item or block of items for limited time"); break;
    case 'N': SetWindowText("Price list item or block of limited number of items"); break;
    case 'D': SetWindowText("Discount item"); break;
    default: break;
    }
    AttachSpin(*this, kIdNumber, kIdNumberSpin, 1, 1000);
    m_strName = item.m_sName;
    m_nNumber = item.m_nNumber;
    m_nDuration = static_cast<unsigned>(item.m_nDuration);
    m_bPackageOnly = item.m_cPackageOnly != 0 ? 1 : 0;
    m_bSelfSignIn = item.m_cSelfSignIn != 0 ? 1 : 0;
    if (m_cKind == 'D') {
        ShowDlgItem(kIdPackageOnly, false);
        ShowDlgItem(kIdSelfSignIn, false);
        m_bPackageOnly = 0;
        m_bSelfSignIn = 0;
    }
    m_dPrice = item.m_dPrice;
    ui::ComboBox* basic = Combo(kIdBasicType);
    switch (m_cKind) {
    case 0: m_pDB->FillCategoryComboBox(basic, 'm', item.m_nBasicType, 1, 0, NO_CODE); break;
    case 'D': m_pDB->FillCategoryComboBox(basic, '$', item.m_nBasicType, 0, 0, NO_CODE); break;
    case 'p': m_pDB->FillCategoryComboBox(basic, 'B', item.m_nBasicType, 1, 'P', NO_CODE); break;
    default: m_pDB->FillCategoryComboBox(basic, 'B', item.m_nBasicType, 1, 'S', NO_CODE); break;
    }
    if (m_cKind == 'T') SetDlgItemText(kIdNumberLabel, "Number\nof days");
    if (m_cKind == 'N') SetDlgItemText(kIdNumberLabel, "Number of\nactivities");
    if (m_cKind == 'D') {
        SetDlgItemText(kIdPriceLabel, "Amount");
        for (int id : {kIdNumberLabel, kIdNumber, kIdNumberSpin}) ShowDlgItem(id, false);
    }
    if (m_cKind == 'p') {
        m_pDB->FillPersonTypeCombo(Combo(kIdTeacher), 'E', item.m_nTeacher);
        m_pDB->FillCategoryComboBox(Combo(kIdBallroom), 'R', item.m_nBallroom, 1, 0, NO_CODE);
    } else {
        for (int id : {kIdTeacher, kIdBallroom, kIdTeacherLabel, kIdBallroomLabel, kIdDuration, kIdDurationLabel})
            ShowDlgItem(id, false);
    }
    UpdateData(false);
    UpdateFlagControls();
    return true;
}

void CDialogPricelistItem::UpdateFlagControls()
{
    m_bPackageOnly = IsDlgButtonChecked(kIdPackageOnly) == 1 ? 1 : 0;
    m_bSelfSignIn = IsDlgButtonChecked(kIdSelfSignIn) == 1 ? 1 : 0;
    if (m_cKind == 'D') return;
    ShowDlgItem(kIdPrice, m_bPackageOnly == 0);
    ShowDlgItem(kIdPriceLabel, m_bPackageOnly == 0);
    ShowDlgItem(kIdSelfSignIn, m_cKind == 'p' && m_bPackageOnly == 0);
    if (m_cKind == 'p') ShowDlgItem(kIdPackageOnly, m_bSelfSignIn == 0);
}

void CDialogPricelistItem::OnOK()
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
    item.m_cSelfSignIn = static_cast<uint8_t>(m_bSelfSignIn);
    item.m_dPrice = m_dPrice;
    item.m_nBasicType = basicType;
    if (m_cKind == 'p') {
        item.m_nTeacher = GetSelectedCode(Combo(kIdTeacher), item.m_nTeacher);
        item.m_nBallroom = GetSelectedCode(Combo(kIdBallroom), item.m_nBallroom);
    }
    EndDialog(ui::IDOK);
}

bool CDialogPricelistItem::OnCommand(int id, int code)
{
    switch (id) {
    case kIdOk:
        if (code == ui::BN_CLICKED) OnOK();
        return true;
    case kIdPackageOnly:
    case kIdSelfSignIn:
        if (code == ui::BN_CLICKED) UpdateFlagControls();
        return true;
    default:
        return ui::Dialog::OnCommand(id, code);
    }
}

bool CDialogPricelistItem::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    if (msg.message == ui::WM_KEYDOWN && MoveOnEnterKey(*this, msg)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
