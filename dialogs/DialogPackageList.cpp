#include "dialogs/DialogPackageList.h"

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/ListBox.h"
#include "widgets/ControlHelpers.h"

namespace {

constexpr int kIdList = 1303;
constexpr int kIdAdd = 1304;
constexpr int kIdEdit = 1305;
constexpr int kIdCut = 1306;
constexpr int kIdCopy = 1307;
constexpr int kIdPaste = 1308;
constexpr int kIdUp = 1099;
constexpr int kIdDown = 1104;
constexpr int kIdOk = 1000;

const ui::DialogTemplate kPackageListTemplate{213, "Packages", 305, 255, {
    {ui::Ctl::Label, -1, "Currently specified packages"},
    {ui::Ctl::ListBox, kIdList, ""},
    {ui::Ctl::Button, kIdAdd, "Add new package"},
    {ui::Ctl::Button, kIdEdit, "Edit package"},
    {ui::Ctl::Button, kIdCut, "Cut/delete package"},
    {ui::Ctl::Button, kIdCopy, "Copy package"},
    {ui::Ctl::Button, kIdPaste, "Paste package"},
    {ui::Ctl::Button, kIdUp, "Move up"},
    {ui::Ctl::Button, kIdDown, "Move down"},
    {ui::Ctl::DefButton, kIdOk, "OK"},
}};

}  // namespace

CDialogPackageList::CDialogPackageList(CDatabase* database, ui::Window* parent)
    : CRefreshHoldDialog(kPackageListTemplate, parent, database, "CDialogPackageList", kIdOk)
{
}

bool CDialogPackageList::OnInitDialog()
{
    CRefreshHoldDialog::OnInitDialog();
    if (ui::ListBox* list = List(kIdList)) list->SetHorizontalExtent(600);
    LoadListbox();
    return true;
}

void CDialogPackageList::LoadListbox()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CDialogPackageList::LoadListbox\n");
    ui::ListBox* list = List(kIdList);
    if (list == nullptr || m_pDatabase == nullptr) return;
    const int top = list->GetTopIndex();
    list->ResetContent();
    for (const stIndex& e : *m_pDatabase->GetItemList(TABLE_PACKAGE)) {
        const CPackageRecord* p = static_cast<const CPackageRecord*>(e.pItem);
        const int at = list->AddString(Format("%s %s", p->m_sName.c_str(),
                                              FormatErrorCode(static_cast<int>(p->m_nCode), p->m_nSequence).c_str()));
        list->SetItemData(at, static_cast<intptr_t>(p->m_nCode));
    }
    list->SetTopIndex(top);
    const int count = list->GetCount();
    if (count > 0) list->SetCurSel(m_nSelectAfterLoad < 0 || m_nSelectAfterLoad >= count ? count - 1 : m_nSelectAfterLoad);
}

bool CDialogPackageList::PreTranslateMessage(const ui::Msg& msg)
{
    ui::ListBox* list = List(kIdList);
    if (list && msg.window == list && msg.message == ui::WM_RBUTTONDOWN) {
        SelectListItemAtPoint(msg, *list);
        Edit();
        return true;
    }
    return CRefreshHoldDialog::PreTranslateMessage(msg);
}

bool CDialogPackageList::OnCommand(int id, int code)
{
    if (id == kIdList) {
        if (code == ui::LBN_DBLCLK) Edit();
        return true;
    }
    if (code != ui::BN_CLICKED) return CRefreshHoldDialog::OnCommand(id, code);
    switch (id) {
    case kIdAdd: Add(); return true;
    case kIdEdit: Edit(); return true;
    case kIdCut: Cut(); return true;
    case kIdCopy: Copy(); return true;
    case kIdPaste: Paste(); return true;
    case kIdUp: Move(-1); return true;
    case kIdDown: Move(1); return true;
    case kIdOk: EndDialog(ui::IDOK); return true;
    default: return CRefreshHoldDialog::OnCommand(id, code);
    }
}

int CDialogPackageList::SelectedOrSay()
{
    ui::ListBox* list = List(kIdList);
    const int at = list ? list->GetCurSel() : -1;
    if (at < 0) GetResponse("No item selected", MB_OK);
    return at;
}

void CDialogPackageList::Add()
{
    ui::ListBox* list = List(kIdList);
    const int at = list ? list->GetCurSel() : -1;
    m_pDatabase->AddTableItem(TABLE_PACKAGE, at < 0 ? LOC_NONE : static_cast<uint32_t>(at), nullptr, 0, 0, nullptr);
    m_nSelectAfterLoad = at;
    LoadListbox();
}

void CDialogPackageList::Edit()
{
    const int at = SelectedOrSay();
    if (at < 0) return;
    m_nSelectAfterLoad = at;
    m_pDatabase->EditTableItem(TABLE_PACKAGE, static_cast<uint32_t>(List(kIdList)->GetItemData(at)), nullptr);
    LoadListbox();
}

void CDialogPackageList::Copy()
{
    const int at = SelectedOrSay();
    if (at < 0) return;
    const auto* p = static_cast<const CPackageRecord*>(
        m_pDatabase->GetItem(TABLE_PACKAGE, static_cast<uint32_t>(List(kIdList)->GetItemData(at))));
    if (p == nullptr) return;
    m_CopyBuffer.CopyFrom(*p);
    m_nBufferFull = 1;
}

void CDialogPackageList::Cut()
{
    const int at = SelectedOrSay();
    if (at < 0) return;
    const uint32_t code = static_cast<uint32_t>(List(kIdList)->GetItemData(at));
    if (const auto* p = static_cast<const CPackageRecord*>(m_pDatabase->GetItem(TABLE_PACKAGE, code))) {
        m_CopyBuffer.CopyFrom(*p);
        m_nBufferFull = 1;
    }
    m_nSelectAfterLoad = at;
    m_pDatabase->DeleteTableItem(TABLE_PACKAGE, code, 1);
    LoadListbox();
}

void CDialogPackageList::Paste()
{
    if (m_nBufferFull == 0) {
        GetResponse("Copy buffer empty", MB_OK);
        return;
    }
    ui::ListBox* list = List(kIdList);
    const int at = list ? list->GetCurSel() : -1;
    m_pDatabase->AddTableItem(TABLE_PACKAGE, at < 0 ? LOC_NONE : static_cast<uint32_t>(at), &m_CopyBuffer, 0, 0,
                              nullptr);
    m_nSelectAfterLoad = at;
    LoadListbox();
}

void CDialogPackageList::Move(int step)
{
    const int at = SelectedOrSay();
    if (at < 0) return;
    const int count = List(kIdList)->GetCount();
    if (step < 0 && at == 0) {
        GetResponse("Can't move first item up", MB_OK);
        return;
    }
    if (step > 0 && at == count - 1) {
        GetResponse("Can't move last item down", MB_OK);
        return;
    }
    const uint32_t from = static_cast<uint32_t>(at);
    m_pDatabase->MoveItemsInTable(TABLE_PACKAGE, from, from, step < 0 ? from - 1 : from + 2);
    m_nSelectAfterLoad = at + step;
    LoadListbox();
}
