#include "dialogs/DialogInterviewList.h"

#include <memory>

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "database/Database.h"
#include "dialogs/DialogContact.h"
#include "platform/host/Format.h"
#include "platform/ui/ListBox.h"
#include "widgets/ControlHelpers.h"

namespace {

const ui::DialogTemplate kInterviewListTemplate{202, "Calls and interviews", 391, 218, {
    {ui::Ctl::ListBox, CDialogInterviewList::kIdList, ""},
    {ui::Ctl::Button, CDialogInterviewList::kIdAdd, "Add"},
    {ui::Ctl::Button, CDialogInterviewList::kIdEdit, "Edit"},
    {ui::Ctl::Button, CDialogInterviewList::kIdDelete, "Delete"},
}};

}  // namespace

CDialogInterviewList::CDialogInterviewList(CDatabase* database)
    : ui::PropertyPage(kInterviewListTemplate), m_pDatabase(database)
{
}

bool CDialogInterviewList::OnSetActive()
{
    if (m_nLoaded != 1) Load();
    return ui::PropertyPage::OnSetActive();
}

bool CDialogInterviewList::OnKillActive()
{
    m_nLoaded = 0;
    return ui::PropertyPage::OnKillActive();
}

void CDialogInterviewList::OnOK()
{
    m_nLoaded = 0;
    ui::PropertyPage::OnOK();
}

void CDialogInterviewList::OnCancel()
{
    m_nLoaded = 0;
    ui::PropertyPage::OnCancel();
}

bool CDialogInterviewList::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, 0x20000u + 202u)) return true;
    return ui::PropertyPage::PreTranslateMessage(msg);
}

void CDialogInterviewList::Load()
{
    m_nLoaded = 1;
    ui::ListBox* list = List(kIdList);
    if (list == nullptr || m_pPerson == nullptr) return;
    list->ResetContent();
    for (size_t i = 0; i < m_pPerson->m_Interviews.size(); ++i) {
        const CInterview& interview = *m_pPerson->m_Interviews[i];
        const std::string when = FormatDateTime(interview.m_dDate, "%A %B %d, %Y, %I:%M%p");
        const std::string text = interview.m_cKind == 'P' ? Format("Phone %s ", when.c_str()) : Format("Visit %s ", when.c_str());
        list->SetItemData(list->AddString(text), static_cast<intptr_t>(i));
    }
}

bool CDialogInterviewList::OnCommand(int id, int code)
{
    if (id == kIdList && code == ui::LBN_DBLCLK) {
        OnEdit();
        return true;
    }
    if (code != ui::BN_CLICKED) return ui::PropertyPage::OnCommand(id, code);
    switch (id) {
    case kIdAdd: OnAdd(); return true;
    case kIdEdit: OnEdit(); return true;
    case kIdDelete: OnDelete(); return true;
    default: return ui::PropertyPage::OnCommand(id, code);
    }
}

int CDialogInterviewList::SelectedInterview()
{
    ui::ListBox* list = List(kIdList);
    const int at = list ? list->GetCurSel() : -1;
    if (at >= 0 && m_pPerson != nullptr) {
        const auto index = static_cast<size_t>(list->GetItemData(at));
        if (index < m_pPerson->m_Interviews.size()) return static_cast<int>(index);
    }
    GetResponse("No item selected", MB_OK);
    return -1;
}

void CDialogInterviewList::OnAdd()
{
    if (m_pPerson == nullptr) return;
    auto interview = std::make_unique<CInterview>();
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDialogInterviewList::OnAdd() person pointer %u, code %u\n",
                              static_cast<uint32_t>(reinterpret_cast<uintptr_t>(m_pPerson)), m_pPerson->m_nCode);
    CDialogContact dialog(m_pDatabase, this);
    dialog.m_pInterview = interview.get();
    if (dialog.DoModal() != ui::IDOK) return;
    m_pPerson->m_Interviews.push_back(std::move(interview));
    Load();
}

void CDialogInterviewList::OnEdit()
{
    const int index = SelectedInterview();
    if (index < 0) return;
    CDialogContact dialog(m_pDatabase, this);
    dialog.m_pInterview = m_pPerson->m_Interviews[static_cast<size_t>(index)].get();
    if (dialog.DoModal() == ui::IDOK) Load();
}

void CDialogInterviewList::OnDelete()
{
    const int index = SelectedInterview();
    if (index < 0) return;
    m_pPerson->m_Interviews.erase(m_pPerson->m_Interviews.begin() + index);
    Load();
}
