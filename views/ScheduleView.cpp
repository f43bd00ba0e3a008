#include "views/ScheduleView.h"

#include "common/DateTime.h"
#include "common/Diagnostic.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/Menu.h"
#include "views/ViewFrame.h"
#include "widgets/AppHelpers.h"
#include "widgets/ControlHelpers.h"

using ui::Item;
using ui::Popup;

namespace {

// Dates before the program's earliest date (1 January 1996) count as not scheduled.
const DATE kEarliestDate = MakeDate(1996, 1, 1, 0, 0);

}  // namespace

void CScheduleView::RegisterMenu()
{
    static const ui::MenuTemplate menu = {kMenuId, {
        Item(kCmdMainView, "&Main view"),
        Popup("&Find", {Item(kCmdFindFirst, "&First F2"), Item(kCmdFindRepeat, "&Repeat F3")}),
        Popup("&View", {
            Item(kCmdAllTypes, "&All types"), Item(kCmdPurchased, "p&Urchased activities"),
            Item(kCmdPurchasePayments, "&Payments for purchases"), Item(kCmdOtherPayments, "&Other payments"),
            Item(kCmdBirthdays, "&Birthdays"), Item(kCmdInterviews, "&Interview data"),
            Item(kCmdGroupLessons, "&Group lessons, etc."), Item(kCmdMiscellaneous, "&Miscellaneous"),
        }),
        Popup("&Add", {Item(kCmdAddItem, "&Schedule item, non-purchase"),
                       Item(kCmdAddScheduledPurchase, "&Scheduled purchase (e.g. standing lesson)")}),
        Item(kCmdEdit, "&Edit"), Item(kCmdDelete, "&Delete"), Item(kCmdFormat, "Format"), Item(kCmdPrint, "&Print"),
        Item(kCmdHelp, "&Help"),
    }};
    ui::RegisterMenu(menu);
}

CScheduleView::CScheduleView()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CScheduleView::CScheduleView\n");
    RegisterMenu();
    m_bLinesReady = 0;
    m_bHeader = 1;
    m_nTopLine = 0;
    m_nHiLiteLine = 0;
    m_nFilter = 0;
    InstallUpdaters();
}

void CScheduleView::InstallUpdaters()
{
    for (int id = kCmdAllTypes; id <= kCmdGroupLessons; ++id)
        Updaters().SetUpdateHandler(id, [this, id](ui::CmdUI& cmd) { cmd.SetCheck(FilterOfCommand(id) == m_nFilter); });
    for (int id : {int(kCmdAddItem), int(kCmdAddScheduledPurchase)})
        Updaters().SetUpdateHandler(id, [](ui::CmdUI& cmd) { cmd.Enable(static_cast<bool>(ListViewOperations().addItem)); });
    Updaters().SetUpdateHandler(kCmdEdit, [this](ui::CmdUI& cmd) {
        stDataToken entry;
        cmd.Enable(GetHighlightedEntry(entry) && static_cast<bool>(ListViewOperations().editScheduleEntry));
    });
    for (int id : {int(kCmdDelete), int(kCmdPrint)})
        Updaters().SetUpdateHandler(id, [this](ui::CmdUI& cmd) { cmd.Enable(m_nMaxLines > 0); });
    Updaters().SetUpdateHandler(kCmdFormat, [](ui::CmdUI& cmd) {
        if (!ListViewOperations().editFormat) cmd.Enable(false);
        else EnableForAccessLevel(7, cmd);
    });
}

int CScheduleView::FilterOfCommand(int id)
{
    switch (id) {
    case kCmdPurchased: return 'A';
    case kCmdPurchasePayments: return 'P';
    case kCmdOtherPayments: return 'O';
    case kCmdBirthdays: return 'B';
    case kCmdInterviews: return 'I';
    case kCmdGroupLessons: return 'G';
    case kCmdMiscellaneous: return 'M';
    default: return 0;
    }
}

bool CScheduleView::FilterKeeps(int filter, char kind)
{
    switch (filter) {
    case 0: return true;
    case 'A': return kind == 'T';
    case 'P': return kind == 'p';
    case 'O': return kind == 'P';
    case 'B': return kind == 'B' || kind == 'A';
    case 'I': return kind == 'D' || kind == 'M' || kind == 'N';
    case 'G': return kind == '$';
    case 'M': return kind == 'S' || kind == 's';
    default: return false;
    }
}

void CScheduleView::ClearLines()
{
    m_nMaxLines = 0;
    m_aAllEntries.clear();
    m_aKinds.clear();
    m_aShown.clear();
}

void CScheduleView::SetUpLines()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CScheduleView::SetUpLines\n");
    m_aAllEntries.clear();
    m_aKinds.clear();
    if (m_pDB) {
        std::vector<stDataToken> entries;
        m_pDB->GetAllScheduleItems(-1, entries, 0, 0.0, 0.0, 0);
        m_aAllEntries.reserve(entries.size());
        m_aKinds.reserve(entries.size());
        for (const stDataToken& e : entries) {
            m_aAllEntries.push_back(MakeViewEntry(e));
            m_aKinds.push_back(e.type);
        }
    }
    ApplyFilter(m_nFilter);
    m_nHorzMax = 500;
    m_bLinesReady = 1;
}

void CScheduleView::ApplyFilter(int filter)
{
    m_nFilter = filter;
    m_aShown.clear();
    const size_t count = m_aKinds.size();
    if (filter == 0) {
        m_aShown.resize(count);
        for (size_t i = 0; i < count; ++i) m_aShown[i] = static_cast<uint32_t>(i);
    } else {
        for (size_t i = 0; i < count; ++i)
            if (FilterKeeps(filter, m_aKinds[i])) m_aShown.push_back(static_cast<uint32_t>(i));
    }
    m_nMaxLines = static_cast<int>(m_aShown.size());
    ClampLines();
    Invalidate();
}

bool CScheduleView::GetHighlightedEntry(stDataToken& entry) const
{
    if (!m_pDB || m_nHiLiteLine < 0 || m_nHiLiteLine >= static_cast<int>(m_aShown.size())) return false;
    return ResolveViewEntry(*m_pDB, m_aAllEntries[m_aShown[static_cast<size_t>(m_nHiLiteLine)]], entry);
}

stFormatRecord* CScheduleView::GetLine(int index, char& mark, char& status, std::string& text)
{
    stFormatRecord* format = m_pDB ? m_pDB->GetFormat(kFormatIndex) : nullptr;
    if (index == -1) {
        status = 'H';
        text = "Type\tDate\tDescription";
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CScheduleView::GetLine header of %u lines\n", static_cast<unsigned>(m_nMaxLines));
        return format;
    }
    status = '-';
    mark = 0;
    text.clear();
    stDataToken entry;
    if (!m_pDB || index < 0 || index >= static_cast<int>(m_aShown.size()) ||
        !ResolveViewEntry(*m_pDB, m_aAllEntries[m_aShown[static_cast<size_t>(index)]], entry))
        return format;
    const std::string date = entry.date >= kEarliestDate ? FormatDateTime(entry.date, "%m/%d/%Y") : "Unscheduled";
    std::string kindText, shortText, longText;
    m_pDB->MakeScheduleText(&entry, kindText, shortText, longText, 1);
    text = Format("%s\t%s\t%s", kindText.c_str(), date.c_str(), longText.c_str());
    return format;
}

void CScheduleView::EditHighlighted()
{
    stDataToken entry;
    const stListViewOperations& ops = ListViewOperations();
    if (!GetHighlightedEntry(entry) || !ops.editScheduleEntry) return;
    m_bKeepLines = 1;
    RefreshLineView(ops.editScheduleEntry(*m_pDB, entry));
}

void CScheduleView::DeleteHighlighted()
{
    stDataToken entry;
    if (!GetHighlightedEntry(entry)) return;
    const stListViewOperations& ops = ListViewOperations();
    const stViewEntry kept = m_aAllEntries[m_aShown[static_cast<size_t>(m_nHiLiteLine)]];
    m_bKeepLines = 1;
    int result = 2;
    switch (entry.type) {
    case 'S':
        if (ops.deleteItem) result = ops.deleteItem(*m_pDB, TABLE_SCHEDULE, kept.nCode);
        break;
    case 's':
        if (ops.editItem) result = ops.editItem(*m_pDB, TABLE_SCHEDULE, kept.nCode, -1);
        break;
    case 'T':
        m_pDB->CancelLessonToken(static_cast<CPurchaseRecord*>(entry.record), static_cast<uint32_t>(entry.index1),
                                 static_cast<uint32_t>(entry.index2));
        result = 1;
        break;
    case 'p':
        result = m_pDB->DeleteScheduledPaymentOf(kept.nCode, static_cast<uint32_t>(entry.index1));
        break;
    case 'P':
        if (ops.deleteItem) result = ops.deleteItem(*m_pDB, TABLE_PAYMENT, kept.nCode);
        break;
    case 'D':
    case 'M':
    case 'N':
        if (ops.editItem) result = ops.editItem(*m_pDB, TABLE_PERSON, kept.nCode, entry.index1);
        break;
    case 'B':
    case 'A':
        m_pDB->ClearPersonDate(kept.nCode, entry.type);
        result = 1;
        break;
    default:
        break;
    }
    RefreshLineView(result);
}

void CScheduleView::AddScheduleItem(char kind)
{
    const stListViewOperations& ops = ListViewOperations();
    if (!m_pDB || !ops.addItem) return;
    m_bKeepLines = 1;
    const double when = kind == 'N' ? GetNow() : 0.0;
    RefreshLineView(ops.addItem(*m_pDB, TABLE_SCHEDULE, MakeDataToken(kind, when, nullptr)));
}

bool CScheduleView::OnCommand(int id, int code)
{
    if (id >= kCmdAllTypes && id <= kCmdGroupLessons) {
        ApplyFilter(FilterOfCommand(id));
        return true;
    }
    switch (id) {
    case kCmdMainView:
        if (IViewFrame* frame = IViewFrame::Of(*this)) frame->ReturnToMainView();
        return true;
    case kCmdFindFirst: Find('F'); return true;
    case kCmdFindRepeat: FindNext(); return true;
    case kCmdAddItem: AddScheduleItem('N'); return true;
    case kCmdAddScheduledPurchase: AddScheduleItem('S'); return true;
    case kCmdEdit: EditHighlighted(); return true;
    case kCmdDelete: DeleteHighlighted(); return true;
    case kCmdFormat:
        if (m_pDB && ListViewOperations().editFormat) ListViewOperations().editFormat(*m_pDB, kFormatIndex, "Schedule view");
        Invalidate();
        return true;
    case kCmdPrint: PrintLines(); return true;
    case kCmdHelp: ShowHelpTopic(0x20000 + kMenuId); return true;
    default: return CScrollBase::OnCommand(id, code);
    }
}
