#include "views/DatabaseView.h"

#include "widgets/ControlHelpers.h"
#include "common/Diagnostic.h"
#include "widgets/Prompts.h"
#include "common/QuestionBox.h"
#include "common/TextFile.h"
#include "database/Database.h"
#include "dialogs/DialogRecordDump.h"
#include "platform/host/Format.h"
#include "platform/ui/Menu.h"
#include "widgets/AppHelpers.h"
#include "views/ViewFrame.h"

#include <cstdio>

void CDatabaseView::RegisterMenu()
{
    static const ui::MenuTemplate menu = {kMenuId, {
        ui::Popup("&Record", {
            ui::Item(kCmdShowHeader, "&Show record header data", "Show details of record header"), 
            ui::Item(kCmdEditRecord, "&Edit record", "Show raw record data and edit bytes"),
            ui::Item(kCmdDeleteRecord, "&Delete record"), ui::Item(kCmdUndeleteRecord, "&Undelete record"),
            ui::Item(kCmdMarkLast, "&Mark as last record", "Mark this record as last record"),
        }),
        ui::Popup("&File", {
            ui::Item(kCmdUnlockAll, "un&Lock all records"), ui::Item(kCmdFileHeader, "&File header edit"),
            ui::Item(kCmdDump, "dum&P", "Dump text representation to file"), ui::Separator(), ui::Item(kCmdExit, "e&Xit"),
        }),
        ui::Item(kCmdHelp, "&Help", "Show help topic for this view"),
    }};
    ui::RegisterMenu(menu);
}

CDatabaseView::CDatabaseView()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CDatabaseView::CDatabaseView constructor\n");
    RegisterMenu();
    m_bHeader = 1;
    // The commands on a block are greyed while no line is highlighted (an empty file).
    for (int id : {int(kCmdShowHeader), int(kCmdEditRecord)})
        Updaters().SetUpdateHandler(id, [this](ui::CmdUI& cmd) { cmd.Enable(SelectedLocation() != LOC_NONE); });
    for (int id : {int(kCmdDeleteRecord), int(kCmdUndeleteRecord), int(kCmdMarkLast)})
        Updaters().SetUpdateHandler(id, [this](ui::CmdUI& cmd) {
            if (SelectedLocation() == LOC_NONE) cmd.Enable(false);
            else EnableForAccessLevel(9, cmd);
        });
    Updaters().SetUpdateHandler(kCmdUnlockAll, [](ui::CmdUI& cmd) { EnableForAccessLevel(10, cmd); });
    // The file-header dialog is not part of this program yet.
    Updaters().SetUpdateHandler(kCmdFileHeader, [](ui::CmdUI& cmd) { cmd.Enable(false); });
}

CDatabaseView::~CDatabaseView()
{
    if (m_bOwnsDatabase && m_pDB) {
        m_pDB->CloseDB();
        if (m_bLoadedFormats) m_pDB->ClearFormat();
        delete m_pDB;
    }
    m_pDB = nullptr;
}

void CDatabaseView::Attach(CDatabase* database, int owns)
{
    m_nHiLiteLine = 0;
    m_nTopLine = 0;
    m_bLinesReady = 0;
    m_bKeepLines = 0;
    m_pDB = database;
    m_bOwnsDatabase = owns;
    Fill();
    Invalidate();
}

void CDatabaseView::Fill()
{
    m_aLocations.clear();
    if (m_pDB && m_pDB->IsOpen()) m_pDB->FindAllHeaders(m_aLocations, nullptr);
    m_nMaxLines = static_cast<int>(m_aLocations.size());
    SetView(500, 1);
    m_bLinesReady = 1;
    ClampLines();
}

void CDatabaseView::ClearLines()
{
    m_aLocations.clear();
    m_nMaxLines = 0;
    m_bLinesReady = 0;
}

stFormatRecord* CDatabaseView::GetLine(int index, char& mark, char& status, std::string& text)
{
    mark = 0;
    if (m_pDB && m_pDB->GetFormatCount() == 0) {
        m_pDB->SetDefaultFormats();
        m_bLoadedFormats = 1;
    }
    if (index == -1) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDatabaseView::GetLine %u of %u, page header\n", static_cast<unsigned>(index),
                                  static_cast<unsigned>(m_nMaxLines));
        status = 'H';
        text.clear();
        return nullptr;
    }
    status = '-';
    text.clear();
    if (!m_pDB || index < 0 || index >= static_cast<int>(m_aLocations.size())) return nullptr;
    text = m_pDB->GetBlockDescription(m_aLocations[static_cast<size_t>(index)]);
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabaseView::GetLine %u of %u: %s\n", static_cast<unsigned>(index),
                              static_cast<unsigned>(m_nMaxLines), text.c_str());
    return nullptr;
}

uint32_t CDatabaseView::SelectedLocation() const
{
    if (m_nHiLiteLine < 0 || m_nHiLiteLine >= static_cast<int>(m_aLocations.size())) return LOC_NONE;
    return m_aLocations[static_cast<size_t>(m_nHiLiteLine)];
}

void CDatabaseView::ShowRecordHeader()
{
    const uint32_t loc = SelectedLocation();
    if (loc == LOC_NONE || !m_pDB) return;
    stDataHeader h;
    if (!m_pDB->ReadDbHeader(loc, h, false)) {
        GetResponse(Format("Error in reading from file location %u", loc));
        return;
    }
    GetResponse(Format(" Delims %i %i, Next %u, Prev %u, BlkLen %u, DataLen %u, Table main %u, sub %u, key %u, sub %u, "
                       "Usr %u, status %c ",
                       static_cast<unsigned char>(h.cDelimiter[0]), static_cast<unsigned char>(h.cDelimiter[1]),
                       h.nNextLoc, h.nPrevLoc, static_cast<unsigned>(h.nBlockLen), static_cast<unsigned>(h.nDataLen),
                       static_cast<unsigned>(h.nTable), static_cast<unsigned>(h.nSubTable), h.nKey, h.nSubKey,
                       static_cast<unsigned>(h.nUser), h.cStatus ? h.cStatus : ' '),
                MB_OK);
}

void CDatabaseView::EditRecord()
{
    const uint32_t loc = SelectedLocation();
    if (loc == LOC_NONE || !m_pDB) return;
    CDialogRecordDump dialog(m_pDB, nullptr);
    dialog.m_nBlockLocation = loc;
    dialog.DoModal();
    Invalidate();
}

void CDatabaseView::SetStatus(char status)
{
    const uint32_t loc = SelectedLocation();
    if (loc == LOC_NONE || !m_pDB) return;
    if (m_pDB->SetRecordStatus(loc, status) != 1)
        GetResponse(Format("Error in writing to file location %u", loc));
    Invalidate();
}

void CDatabaseView::MarkAsLast()
{
    const uint32_t loc = SelectedLocation();
    if (loc == LOC_NONE || !m_pDB) return;
    stDataHeader h;
    if (!m_pDB->ReadDbHeader(loc, h, true)) {
        GetResponse(Format("Error in reading from file location %u", loc));
        return;
    }
    h.nNextLoc = LOC_NONE;
    if (m_pDB->WriteDbHeader(loc, h, true) != DB_HEADER_LEN)
        GetResponse(Format("Error in writing to file location %u", loc));
    Invalidate();
}

void CDatabaseView::UnlockAll()
{
    if (!m_pDB) return;
    m_pDB->UnlockAllRecords();
    Invalidate();
}

void CDatabaseView::Dump()
{
    if (!m_pDB) return;
    const std::string name = PromptForString("File name", 255, "", 0);
    if (name.empty()) return;
    std::FILE* file = OpenOutputFile(name);
    if (!file) return;
    for (uint32_t loc : m_aLocations) WriteTextLine(m_pDB->GetBlockDescription(loc), file);
    std::fclose(file);
}

void CDatabaseView::OnEscape()
{
    if (IViewFrame* frame = IViewFrame::Of(*this)) frame->ReturnToMainView();
}

bool CDatabaseView::OnCommand(int id, int code)
{
    switch (id) {
    case kCmdShowHeader: ShowRecordHeader(); return true;
    case kCmdEditRecord: EditRecord(); return true;
    case kCmdDeleteRecord: SetStatus(DB_STATUS_DELETED); return true;
    case kCmdUndeleteRecord: SetStatus(DB_STATUS_USED); return true;
    case kCmdMarkLast: MarkAsLast(); return true;
    case kCmdUnlockAll: UnlockAll(); return true;
    case kCmdDump: Dump(); return true;
    case kCmdExit:
        if (IViewFrame* frame = IViewFrame::Of(*this)) frame->ReturnToMainView();
        return true;
    case kCmdHelp: ShowHelpTopic(0x20067); return true;
    default: return CScrollBase::OnCommand(id, code);
    }
}
