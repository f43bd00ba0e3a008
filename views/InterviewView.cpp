#include "views/InterviewView.h"

#include "widgets/ControlHelpers.h"
#include "common/Diagnostic.h"
#include "common/ListHelpers.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/Menu.h"
#include "widgets/AppHelpers.h"
#include "views/ViewFrame.h"

#include <algorithm>

void CInterviewView::RegisterMenu()
{
    static const ui::MenuTemplate menu = {kMenuId, {
        ui::Item(kCmdMainView, "&Main view"),
        ui::Popup("&Find", {ui::Item(kCmdFindFirst, "&First F2"), ui::Item(kCmdFindRepeat, "&Repeat F3")}),
    }};
    ui::RegisterMenu(menu);
}

CInterviewView::CInterviewView()
{
    m_nTopLine = 0;
    m_nHiLiteLine = 0;
    m_bHeader = 1;
    m_bLinesReady = 0;
    if (DiagnosticLevel > 0) WriteDiagnosticString("CInterviewView::CInterviewView\n");
    RegisterMenu();
    Updaters().SetUpdateHandler(kCmdFormat, [](ui::CmdUI& cmd) {
        if (!ListViewOperations().editFormat) cmd.Enable(false);
        else EnableForAccessLevel(7, cmd);
    });
}

void CInterviewView::ClearLines()
{
    m_aLines.clear();
    m_nMaxLines = 0;
}

void CInterviewView::SetUpLines()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CInterviewView::SetUpLines\n");
    m_aLines.clear();
    if (m_pDB) {
        if (const std::vector<stIndex>* persons = m_pDB->GetItemList(TABLE_PERSON)) {
            for (const stIndex& e : *persons) {
                CPerson* p = static_cast<CPerson*>(e.pItem);
                if (!p) continue;
                for (size_t i = 0; i < p->m_Interviews.size(); ++i)
                    m_aLines.push_back({'I', p->m_Interviews[i]->m_dDate, p, static_cast<int>(i), -1});
            }
        }
    }
    SortIndexedDates(m_aLines);
    m_nMaxLines = static_cast<int>(m_aLines.size());
    m_nHorzMax = 500;
    m_bLinesReady = 1;
    ClampLines();
}

stFormatRecord* CInterviewView::GetLine(int index, char& mark, char& status, std::string& text)
{
    stFormatRecord* format = m_pDB ? m_pDB->GetFormat(kFormatIndex) : nullptr;
    if (index == -1) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CInterviewView::GetLine header of %u lines\n", static_cast<unsigned>(m_nMaxLines));
        status = 'H';
        text = "Date\tTeacher\tStudent\tType";
        return format;
    }
    status = '-';
    mark = 0;
    text.clear();
    if (index < 0 || index >= static_cast<int>(m_aLines.size())) return format;
    const stInterviewLine& line = m_aLines[static_cast<size_t>(index)];
    if (!line.pPerson || line.nIndex < 0 || line.nIndex >= static_cast<int>(line.pPerson->m_Interviews.size()))
        return format;
    const CInterview& interview = *line.pPerson->m_Interviews[static_cast<size_t>(line.nIndex)];
    const std::string date =
        interview.m_dDate > 0 ? FormatDateTime(interview.m_dDate, "%m/%d/%Y %I:%M%p") : std::string("Undated");
    std::string teacher, student;
    // Field 4 of an interview is the teacher credited with it.
    if (interview.m_nField4 != NO_CODE && m_pDB) m_pDB->GetPersonName(teacher, interview.m_nField4, 1);
    if (m_pDB) m_pDB->GetPersonName(student, line.pPerson->m_nCode, 1);
    text = Format("%s\t%s\t%s\t%s", date.c_str(), teacher.c_str(), student.c_str(),
                  interview.m_cKind == 'P' ? "Phone" : "Visit");
    return format;
}

void CInterviewView::EditHighlighted()
{
    const stListViewOperations& ops = ListViewOperations();
    if (!m_pDB || !ops.editItem || m_nHiLiteLine < 0 || m_nHiLiteLine >= static_cast<int>(m_aLines.size())) return;
    m_bKeepLines = 1;
    const stInterviewLine line = m_aLines[static_cast<size_t>(m_nHiLiteLine)];
    RefreshLineView(ops.editItem(*m_pDB, TABLE_PERSON, line.pPerson->m_nCode, line.nIndex));
}

void CInterviewView::DeleteHighlighted()
{
    if (!m_pDB || m_nHiLiteLine < 0 || m_nHiLiteLine >= static_cast<int>(m_aLines.size())) return;
    const stListViewOperations& ops = ListViewOperations();
    if (!ops.saveModifiedItem) return;
    m_bKeepLines = 1;
    const stInterviewLine& line = m_aLines[static_cast<size_t>(m_nHiLiteLine)];
    CPerson* person = line.pPerson;
    const CInterview* target = line.nIndex >= 0 && line.nIndex < static_cast<int>(person->m_Interviews.size())
                                   ? person->m_Interviews[static_cast<size_t>(line.nIndex)].get()
                                   : nullptr;
    auto it = std::find_if(person->m_Interviews.begin(), person->m_Interviews.end(),
                           [target](const std::unique_ptr<CInterview>& p) { return p.get() == target; });
    if (target == nullptr || it == person->m_Interviews.end()) {
        RefreshLineView(2);
        return;
    }
    // The person is saved without the interview; a refused save puts it back.
    std::unique_ptr<CInterview> removed = std::move(*it);
    const auto position = it - person->m_Interviews.begin();
    person->m_Interviews.erase(it);
    if (ops.saveModifiedItem(*m_pDB, TABLE_PERSON, person->m_nCode) != 1)
        person->m_Interviews.insert(person->m_Interviews.begin() + position, std::move(removed));
    RefreshLineView(1);
}

void CInterviewView::OnAdd()
{
    const stListViewOperations& ops = ListViewOperations();
    if (!m_pDB || !ops.editItem) return;
    m_bKeepLines = 1;
    const int32_t code = m_pDB->SelectPerson('C', 0, 0, 0);
    if (code < 0) {
        RefreshLineView(2);
        return;
    }
    RefreshLineView(ops.editItem(*m_pDB, TABLE_PERSON, static_cast<uint32_t>(code), -1));
}

bool CInterviewView::OnCommand(int id, int code)
{
    switch (id) {
    case kCmdMainView:
        if (IViewFrame* frame = IViewFrame::Of(*this)) {
            frame->SetViewModeText("");
            frame->ReturnToMainView();
        }
        return true;
    case kCmdAdd: OnAdd(); return true;
    case kCmdEdit: EditHighlighted(); return true;
    case kCmdDelete: DeleteHighlighted(); return true;
    case kCmdFormat: {
        const stListViewOperations& ops = ListViewOperations();
        if (m_pDB && ops.editFormat) ops.editFormat(*m_pDB, kFormatIndex, "Interview view");
        Invalidate();
        return true;
    }
    case kCmdFindFirst: Find('F'); return true;
    case kCmdFindRepeat: FindNext(); return true;
    case kCmdPrint: PrintLines(); return true;
    case kCmdHelp: ShowHelpTopic(0x20000 + kMenuId); return true;
    default: return CScrollBase::OnCommand(id, code);
    }
}
