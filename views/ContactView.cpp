#include "views/ContactView.h"

#include "views/ScheduleGrid.h"

#include "widgets/CommandGuards.h"
#include "widgets/ControlHelpers.h"
#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "database/Database.h"
#include "dialogs/DialogMenu.h"
#include "platform/host/Format.h"
#include "widgets/AppHelpers.h"
#include "views/ViewFrame.h"
#include "reports/Email.h"

#include <algorithm>

CContactView::CContactView()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CContactView::CContactView\n");
    m_bLinesReady = 0;
    m_bHeader = 1;
    m_nTopLine = 0;
    m_nHiLiteLine = 0;
    m_nScopeAll = 1;
}

void CContactView::InstallUpdaters(const std::vector<std::pair<int, int>>& levels)
{
    for (const auto& entry : levels) {
        const int id = entry.first;
        const uint8_t need = static_cast<uint8_t>(entry.second);
        Updaters().SetUpdateHandler(id, [this, id, need](ui::CmdUI& cmd) {
            const stListViewOperations& ops = ListViewOperations();
            // Commands on the highlighted person, and printing, need a line.
            if (IsLineCommand(id) && m_nMaxLines < 1) {
                cmd.Enable(false);
                return;
            }
            bool built = true;
            switch (id) {
            case kCmdAdd: built = static_cast<bool>(ops.addPerson); break;
            case kCmdEdit: built = static_cast<bool>(ops.editItem); break;
            case kCmdDelete: built = static_cast<bool>(ops.deleteItem); break;
            case kCmdFormat: built = static_cast<bool>(ops.editFormat); break;
            case 32851: built = static_cast<bool>(ops.logPayment); break;
            default: built = need != 0xFF; break;
            }
            if (!built) {
                cmd.Enable(false);
                return;
            }
            if (need == 0) {
                cmd.Enable(true);
                return;
            }
            EnableForAccessLevel(need, cmd);
        });
    }
}

bool CContactView::IsLineCommand(int id)
{
    switch (id) {
    case kCmdEdit: case kCmdDelete: case kCmdPrint: case kCmdSchedule:
    case 32851: case 32852: case 32887: case 30091: case 30093: case 32858: case 32854: case 32856:
    case 32861:
        return true;
    default:
        return false;
    }
}

void CContactView::ClearLines()
{
    m_nMaxLines = 0;
    m_aLines.clear();
}

bool CContactView::PassesCategoryFilter(const CPerson& person) const
{
    if (m_aCategoryFilter.empty()) return true;
    for (uint32_t code : m_aCategoryFilter) {
        // Field 26 holds the person's interview source, its main category.
        if (person.m_nReferredBy == code) return true;
        if (std::find(person.m_Numbers.begin(), person.m_Numbers.end(), code) != person.m_Numbers.end())
            return true;
    }
    return false;
}

void CContactView::SetUpLines()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CContactView::SetUpLines\n");
    m_aLines.clear();
    if (m_pDB) {
        if (const std::vector<stIndex>* persons = m_pDB->GetItemList(TABLE_PERSON)) {
            for (const stIndex& e : *persons) {
                CPerson* p = static_cast<CPerson*>(e.pItem);
                if (!p || p->m_cType != m_cKind) continue;
                if (m_nScopeAll != 1 && p->m_cStatus != 'A') continue;
                m_aLines.push_back(p);
            }
        }
    }
    for (size_t i = m_aLines.size(); i-- > 0;)
        if (!PassesCategoryFilter(*m_aLines[i])) m_aLines.erase(m_aLines.begin() + static_cast<long>(i));
    m_nMaxLines = static_cast<int>(m_aLines.size());
    m_nHorzMax = 500;
    m_bLinesReady = 1;
    ClampLines();
}

stFormatRecord* CContactView::GetLine(int index, char& mark, char& status, std::string& text)
{
    stFormatRecord* format = m_pDB ? m_pDB->GetFormat(kFormatIndex) : nullptr;
    if (index == -1) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CContactView::GetLine header of %u lines\n", static_cast<unsigned>(m_nMaxLines));
        status = 'H';
        text = "Name\tPhone\tEmail";
        return format;
    }
    status = '-';
    mark = 0;
    if (index < 0 || index >= static_cast<int>(m_aLines.size())) {
        text.clear();
        return format;
    }
    const CPerson& p = *m_aLines[static_cast<size_t>(index)];
    const std::string tag = DiagnosticLevel > 0 ? Format("[Code %i, seq %i]", static_cast<int>(p.m_nCode), p.m_nSequence)
                                                : Format("[Code %i]", static_cast<int>(p.m_nCode));
    text = Format("%s, %s %s\t%s\t%s", p.m_sLastName.c_str(), p.m_sFirstName.c_str(), tag.c_str(),
                  p.m_sPhone1.c_str(), p.m_sEmail.c_str());
    return format;
}

CPerson* CContactView::GetHighlightedPerson() const
{
    if (m_nHiLiteLine < 0 || m_nHiLiteLine >= static_cast<int>(m_aLines.size())) return nullptr;
    return m_aLines[static_cast<size_t>(m_nHiLiteLine)];
}

void CContactView::EditHighlighted()
{
    CPerson* person = GetHighlightedPerson();
    const stListViewOperations& ops = ListViewOperations();
    if (!person || !m_pDB || !ops.editItem) return;
    m_bKeepLines = 1;
    RefreshLineView(ops.editItem(*m_pDB, TABLE_PERSON, person->m_nCode, -1));
}

void CContactView::DeleteHighlighted()
{
    CPerson* person = GetHighlightedPerson();
    const stListViewOperations& ops = ListViewOperations();
    if (!person || !m_pDB || !ops.deleteItem) return;
    m_bKeepLines = 1;
    RefreshLineView(ops.deleteItem(*m_pDB, TABLE_PERSON, person->m_nCode));
}

void CContactView::OnAdd()
{
    const stListViewOperations& ops = ListViewOperations();
    if (!m_pDB || !ops.addPerson) return;
    m_bKeepLines = 1;
    RefreshLineView(ops.addPerson(*m_pDB, m_cKind == 'E' ? 'E' : 'C'));
}

void CContactView::OnCategory()
{
    if (!m_pDB) return;
    std::vector<CCategory*> categories;
    for (char type : {'P', 'M', 'I'}) m_pDB->CollectCategoriesByType(type, categories);
    if (categories.empty()) {
        GetResponse("No categories specified");
        return;
    }
    CDialogMenu menu(m_pDB, "Select one or more categories", 'M', 'N', 0, 0, "");
    for (const CCategory* c : categories) menu.AddItem(c->m_nCode, c->m_sName);
    std::vector<uint32_t> chosen;
    menu.m_pResult = &chosen;
    menu.DoModal();
    if (chosen.empty()) {
        GetResponse("None selected");
        return;
    }
    m_aCategoryFilter.clear();
    if (chosen.size() < categories.size()) m_aCategoryFilter = chosen;
    SetUpLines();
    Invalidate();
}

void CContactView::OnFormat()
{
    const stListViewOperations& ops = ListViewOperations();
    if (m_pDB && ops.editFormat) ops.editFormat(*m_pDB, kFormatIndex, "Person view");
    Invalidate();
}

void CContactView::SetScope(int all)
{
    m_nScopeAll = all;
    SetUpLines();
    Invalidate();
}

bool CContactView::OnCommand(int id, int code)
{
    switch (id) {
    case kCmdMainView:
        if (IViewFrame* frame = IViewFrame::Of(*this)) frame->ReturnToMainView();
        return true;
    case kCmdCategory: OnCategory(); return true;
    case kCmdFindFirst: Find('F'); return true;
    case kCmdFindRepeat: FindNext(); return true;
    case kCmdAdd: OnAdd(); return true;
    case kCmdEdit: EditHighlighted(); return true;
    case kCmdDelete: DeleteHighlighted(); return true;
    case kCmdPrint: OnPrint(); return true;
    case kCmdFormat: OnFormat(); return true;
    case kCmdAll: SetScope(1); return true;
    case kCmdActive: SetScope(0); return true;
    case kCmdSchedule:
        if (CPerson* person = GetHighlightedPerson(); person && m_pDB)
            new CScheduleGrid(GetParent(), m_pDB, static_cast<int32_t>(person->m_nCode));  // deletes itself
        return true;
    case kCmdHelp: ShowHelpTopic(HelpContext()); return true;
    case kCmdEmail: OnEmail(); return true;
    default: return CScrollBase::OnCommand(id, code);
    }
}

void CContactView::OnEmail()
{
    if (!m_pDB) return;
    std::vector<uint32_t> chosen;
    {
        CDialogMenu menu(m_pDB, "Select one or persons", 'M', 'N', 0, 0, "", GetParent());
        for (const CPerson* p : m_aLines)
            if (p && !p->m_sEmail.empty())
                menu.AddItem(static_cast<uint32_t>(p->m_nCode),
                             Format("%s, %s", p->m_sLastName.c_str(), p->m_sFirstName.c_str()));
        menu.m_pResult = &chosen;
        if (menu.DoModal() == -1 || chosen.empty()) return;
    }
    std::vector<std::string> names, addresses;
    for (uint32_t code : chosen) {
        const CPerson* p = static_cast<const CPerson*>(m_pDB->GetItem(TABLE_PERSON, code));
        if (!p) continue;
        names.push_back(Format("%s %s", p->m_sFirstName.c_str(), p->m_sLastName.c_str()));
        addresses.push_back(p->m_sEmail);
    }
    CDialogMenu type(m_pDB, "Select type", 'S', 'N', 0, 0, "", GetParent());
    type.AddItem(1, "Address list as primary recipient");
    type.AddItem(2, "Address list as copy recipient");
    type.AddItem(3, "Address list as blind copy recipient");
    const int kind = type.DoModal();
    if (kind < 1 || kind > 3) return;
    CEmail mail("", "", kind, names, addresses, {});
    if (mail.Load() == 0) {
        mail.Send();
        mail.Unload();
    }
}
