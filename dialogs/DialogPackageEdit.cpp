#include "dialogs/DialogPackageEdit.h"

#include <algorithm>

#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "dialogs/ComboCodes.h"
#include "dialogs/DialogPricelist.h"
#include "platform/host/Format.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/ListBox.h"
#include "widgets/ControlHelpers.h"

namespace {

constexpr int kIdName = 1243;
constexpr int kIdItems = 1309;
constexpr int kIdProgram = 1015;
constexpr int kIdPrice = 1003;
constexpr int kIdPriceList = 1310;
constexpr int kIdOk = 1000;

const ui::DialogTemplate kPackageEditTemplate{214, "Specify package data", 273, 237, {
    {ui::Ctl::Label, -1, "Package name"},
    {ui::Ctl::Edit, kIdName, ""},
    {ui::Ctl::Label, -1, "Select price list items"},
    {ui::Ctl::ListBox, kIdItems, "", ui::LBS_MULTIPLESEL},
    {ui::Ctl::Label, -1, "Program"},
    {ui::Ctl::ComboBox, kIdProgram, ""},
    {ui::Ctl::Label, -1, "Price"},
    {ui::Ctl::Edit, kIdPrice, ""},
    {ui::Ctl::Button, kIdPriceList, "Edit price list"},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogPackageEdit::CDialogPackageEdit(CDatabase* database, ui::Window* parent)
    : CRefreshHoldDialog(kPackageEditTemplate, parent, database, "CDialogPackageEdit", kIdOk)
{
}

bool CDialogPackageEdit::OnInitDialog()
{
    if (m_pPackage == nullptr || m_pDatabase == nullptr) {
        EndDialog(ui::IDCANCEL);
        return false;
    }
    SubclassDlgItem(kIdProgram, m_Program);
    m_strName = m_pPackage->m_sName;
    m_dPrice = m_pPackage->m_dPrice;
    CRefreshHoldDialog::OnInitDialog();
    m_pDatabase->FillCategoryComboBox(&m_Program, 'P', m_pPackage->m_nProgram, 1, 0, NO_CODE);
    SelectCode(m_Program, m_pPackage->m_nProgram, true);
    FillItemList();
    m_Copy.CopyFrom(*m_pPackage);
    return true;
}

void CDialogPackageEdit::FillItemList()
{
    ui::ListBox* list = List(kIdItems);
    if (list == nullptr) return;
    list->ResetContent();
    const auto& codes = m_pPackage->m_Items;
    for (const stIndex& e : *m_pDatabase->GetItemList(TABLE_PRICELIST)) {
        const CPriceListItem* item = static_cast<const CPriceListItem*>(e.pItem);
        const int at = list->AddString(Format("%s %s", item->m_sName.c_str(),
                                              FormatErrorCode(static_cast<int>(item->m_nCode), item->m_nSequence).c_str()));
        list->SetItemData(at, static_cast<intptr_t>(item->m_nCode));
        if (std::find(codes.begin(), codes.end(), item->m_nCode) != codes.end()) list->SetSel(at, true);
    }
}

void CDialogPackageEdit::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdName, m_strName);
    dx.Text(kIdPrice, m_dPrice);
}

bool CDialogPackageEdit::PreTranslateMessage(const ui::Msg& msg)
{
    ui::ListBox* list = List(kIdItems);
    if (list && msg.window == list && msg.message == ui::WM_LBUTTONDOWN && (msg.wParam & ui::MK_SHIFT)) {
        SelectListItemAtPointMulti(msg, *list);
        return true;
    }
    return CRefreshHoldDialog::PreTranslateMessage(msg);
}

bool CDialogPackageEdit::OnCommand(int id, int code)
{
    if (code == ui::BN_CLICKED && id == kIdOk) {
        OnOkButton();
        return true;
    }
    if (code == ui::BN_CLICKED && id == kIdPriceList) {
        CDialogPricelist::Show(*m_pDatabase, this);
        // What was chosen since the last store is not kept.
        FillItemList();
        return true;
    }
    return CRefreshHoldDialog::OnCommand(id, code);
}

bool CDialogPackageEdit::StoreForm()
{
    if (!UpdateData(true)) return false;
    m_pPackage->m_sName = m_strName;
    m_pPackage->m_nProgram = GetSelectedCode(m_Program);
    m_pPackage->m_dPrice = m_dPrice;
    m_pPackage->m_Items.clear();
    if (ui::ListBox* list = List(kIdItems))
        for (int i = 0; i < list->GetCount(); ++i)
            if (list->GetSel(i) > 0) m_pPackage->m_Items.push_back(static_cast<uint32_t>(list->GetItemData(i)));
    return true;
}

void CDialogPackageEdit::OnOkButton()
{
    ui::ListBox* list = List(kIdItems);
    if (list == nullptr || list->GetSelCount() == 0) {
        GetResponse("No pricelist items selected.", MB_OK);
        return;
    }
    if (!StoreForm()) return;
    EndDialog(m_pPackage->IsEqual(m_Copy) ? ui::IDCANCEL : ui::IDOK);
}

void CDialogPackageEdit::OnCancel()
{
    if (m_pPackage == nullptr || !StoreForm()) {
        ui::Dialog::OnCancel();
        return;
    }
    if (!m_pPackage->IsEqual(m_Copy) &&
        GetResponse("You have altered some data. Are you sure you want to cancel?", MB_YESNO) != IDYES)
        return;
    ui::Dialog::OnCancel();
}
