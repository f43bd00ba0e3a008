#include "views/MaillistView.h"

#include "common/Diagnostic.h"
#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "dialogs/DialogMaillist.h"
#include "dialogs/DialogMenu.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/Menu.h"
#include "views/ViewFrame.h"
#include "widgets/AppHelpers.h"
#include "widgets/ControlHelpers.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

using ui::Item;
using ui::Popup;

namespace {

std::string Upper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The name and address lines of a person's block; empty fields are left out.
std::vector<std::string> AddressBlock(const CPerson& p)
{
    std::vector<std::string> block;
    block.push_back(p.m_sFirstName.empty() ? p.m_sLastName
                                           : Format("%s %s", p.m_sFirstName.c_str(), p.m_sLastName.c_str()));
    auto add = [&block](const std::string& field) {
        if (!field.empty()) block.push_back(field);
    };
    add(p.m_sAddress1);
    add(p.m_sAddress2);
    if (!p.m_sCity.empty() || !p.m_sState.empty() || !p.m_sZip.empty())
        block.push_back(Format("%s, %s %s", p.m_sCity.c_str(), p.m_sState.c_str(), p.m_sZip.c_str()));
    add(p.m_sText16);
    return block;
}

// The persons of the database by code, for one build of the lines.
std::unordered_map<uint32_t, const CPerson*> PersonsByCode(const CDatabase* db)
{
    std::unordered_map<uint32_t, const CPerson*> persons;
    if (const std::vector<stIndex>* list = db ? db->GetItemList(TABLE_PERSON) : nullptr) {
        persons.reserve(list->size());
        for (const stIndex& e : *list) persons.emplace(e.nCode, static_cast<const CPerson*>(e.pItem));
    }
    return persons;
}

}  // namespace

void CMaillistView::RegisterMenu()
{
    static const ui::MenuTemplate menu = {kMenuId, {
        Item(kCmdMainView, "&Main view"),
        Item(kCmdPhoneList, "&Address/phone list"), Item(kCmdLabels, "&Mail labels"), Item(kCmdEnvelopes, "&Envelopes"),
        Item(kCmdSortName, "&Name"), Item(kCmdSortZip, "&Zip"), Item(kCmdCategory, "&Category select"),
        Item(kCmdStudent, "&Student select"), Item(kCmdPrint, "&Print"), Item(kCmdFormat, "&Format"),
        Item(kCmdPageLayout, "page &Layout"), Item(kCmdHelp, "&Help"),
    }};
    ui::RegisterMenu(menu);
}

CMaillistView::CMaillistView()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CMaillistView constructor\n");
    RegisterMenu();
    m_bHeader = 0;
    m_bKeepLines = 0;
    m_bLinesReady = 0;
    m_nTopLine = 0;
    m_nHiLiteLine = 0;
    m_nViewMode = 1;
    m_Format.nCode = -1;
    InstallUpdaters();
}

CMaillistView::~CMaillistView() = default;

void CMaillistView::InstallUpdaters()
{
    for (int id : {int(kCmdPhoneList), int(kCmdLabels), int(kCmdEnvelopes), int(kCmdCategory), int(kCmdStudent),
                   int(kCmdPrint), int(kCmdFormat)})
        Updaters().SetUpdateHandler(id, [this, id](ui::CmdUI& cmd) {
            EnableForAccessLevel(5, cmd);
            if (id == kCmdPrint && m_aTextLines.empty()) cmd.Enable(false);
            if (id == kCmdPhoneList) cmd.SetCheck(m_nViewMode == 1);
            if (id == kCmdLabels) cmd.SetCheck(m_nViewMode == 2);
            if (id == kCmdEnvelopes) cmd.SetCheck(m_nViewMode == 3);
        });
    Updaters().SetUpdateHandler(kCmdPageLayout, [](ui::CmdUI& cmd) {
        if (!ListViewOperations().editPageLayout) cmd.Enable(false);
        else EnableForAccessLevel(5, cmd);
    });
    Updaters().SetUpdateHandler(kCmdSortName, [this](ui::CmdUI& cmd) { cmd.SetCheck(m_nSortOrder == 0); });
    Updaters().SetUpdateHandler(kCmdSortZip, [this](ui::CmdUI& cmd) { cmd.SetCheck(m_nSortOrder == 1); });
}

CMailList* CMaillistView::GetFormatOf(int mode) const
{
    return mode >= 1 && mode <= 3 ? m_pFormats[static_cast<size_t>(mode)].get() : nullptr;
}

void CMaillistView::ShowMailList(CDatabase* database, char kind)
{
    m_pDB = database;
    if (!m_pDB || !m_pDB->IsOpen() || !m_pDB->LockTable(TABLE_MAILLIST)) {
        m_bClosed = 1;
        if (IViewFrame* frame = IViewFrame::Of(*this)) frame->ReturnToMainView();
        return;
    }
    m_bTableLocked = true;
    m_bClosed = 0;
    // The formats and the sort order are read as the file holds them now.
    m_pDB->RefreshBeforeSettingsEdit();
    m_nSortOrder = m_pDB->m_Parameters.GetInt(param::kMailListSort) == 1 ? 1 : 0;
    m_cKind = kind;
    SetUpLines();
    SetMode(m_nViewMode);
}

void CMaillistView::SetUpLines()
{
    // Leaving the view saves formats and settings, which may refresh: nothing is rebuilt then.
    if (m_bLeaving || m_bClosed) return;
    m_nMaxLines = 0;
    m_nHorzMax = 500;
    {
        host::WaitCursor wait;
        m_aPersons.clear();
        std::vector<CPerson*> persons;
        if (m_pDB) m_pDB->CollectPersonsByType(m_cKind, persons, 0);
        std::vector<std::string> keys;
        keys.reserve(persons.size());
        for (const CPerson* p : persons)
            keys.push_back(m_nSortOrder == 1 ? p->m_sZip : Upper(Format("%s%s", p->m_sLastName.c_str(), p->m_sFirstName.c_str())));
        SortStringsWithData(keys, persons);
        m_aPersons.reserve(persons.size());
        for (const CPerson* p : persons) m_aPersons.push_back(p->m_nCode);
    }
    m_bLinesReady = 1;
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("Exit CMaillistView::SetUpLines, Number of records = %i\n", static_cast<int>(m_aPersons.size()));
    // After a refresh the lines of the layout shown are built again from the persons.
    if (GetFormatOf(m_nViewMode)) {
        if (m_nViewMode == 3) FormatEnvelopes();
        else FormatAddressList();
    }
}

void CMaillistView::ClearLines()
{
    m_bLeaving = true;
    m_nMaxLines = 0;
    m_aPersons.clear();
    // With the table lock not taken, nothing of this copy's may be written.
    const bool mayWrite = m_bTableLocked && !m_bClosed && m_pDB;
    for (auto& format : m_pFormats) {
        if (format && mayWrite) m_pDB->SaveRecordMailList(*format);
        format.reset();
    }
    m_aTextLines.clear();
    if (mayWrite) {
        m_pDB->UnlockTable(TABLE_MAILLIST);
        if (m_nSortOrder != m_pDB->m_Parameters.GetInt(param::kMailListSort))
            m_pDB->SaveParameterInt(param::kMailListSort, m_nSortOrder);
    }
    m_bTableLocked = false;
    m_bClosed = 0;
    m_bLeaving = false;
}

void CMaillistView::SetMode(int mode)
{
    if (mode < 1 || mode > 3 || !m_pDB) return;
    m_nViewMode = mode;
    auto& format = m_pFormats[static_cast<size_t>(mode)];
    if (!format) {
        // Read once per showing, so that a format changed in the dialog is kept until leaving.
        format = std::make_unique<CMailList>(static_cast<uint32_t>(mode));
        CMailList stored(static_cast<uint32_t>(mode));
        if (m_pDB->IsOpen() && m_pDB->ReadMailList(stored, static_cast<uint32_t>(mode)) == 1) format->CopyFrom(stored);
        format->m_nCode = static_cast<uint32_t>(mode);
    }
    ApplyFormat(*format);
    Rebuild();
}

void CMaillistView::ApplyFormat(const CMailList& format)
{
    m_Format.nCode = -1;
    m_Format.SetFace(format.m_sFontName);
    m_Format.nSize = format.m_nFontSize;
    m_Format.fSpacing = format.m_fHeightScale;
    m_Format.cBold = format.m_Styles[0] ? 1 : 0;
    m_Format.cItalic = format.m_Styles[1] ? 1 : 0;
    m_Format.cUnderline = format.m_Styles[2] ? 1 : 0;
    m_Format.aTabStops.clear();
    for (float stop : format.GetColumnPositions()) m_Format.aTabStops.push_back(stop);
}

void CMaillistView::Rebuild()
{
    if (m_nViewMode == 3) FormatEnvelopes();
    else FormatAddressList();
    m_nTopLine = 0;
    m_nHiLiteLine = 0;
    m_bRedraw = 1;
    Invalidate();
}

bool CMaillistView::PassesFilter(const CPerson& person) const
{
    if (m_nChosenPerson != 0xFFFFFFFF) return person.m_nCode == m_nChosenPerson;
    if (m_aCategoryFilter.empty()) return true;
    for (uint32_t code : person.m_Numbers)
        if (std::find(m_aCategoryFilter.begin(), m_aCategoryFilter.end(), code) != m_aCategoryFilter.end()) return true;
    return false;
}

void CMaillistView::AppendTopMargin(int lines)
{
    for (int i = 0; i < lines; ++i) m_aTextLines.emplace_back();
}

void CMaillistView::FormatAddressList()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CMaillistView::FormatAddressList\n");
    const CMailList* format = GetFormatOf(m_nViewMode);
    if (!format) return;
    const int columns = std::max<int>(format->m_cColumns, 1);
    const int topLines = format->m_cTopLines;
    const int linesPerRow = std::clamp<int>(format->m_cLinesPerRow, 1, kMaxLinesPerRow);
    const int rows = format->m_cRows;
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat(" ViewMode %c nNumCols %i nTopLines %i nNumLinesPerRow %i nNumRows %i\n",
                              static_cast<char>('0' + m_nViewMode), columns, topLines, linesPerRow, rows);
    m_aTextLines.clear();
    AppendTopMargin(topLines);
    std::vector<std::string> rowLines(static_cast<size_t>(linesPerRow));
    int column = 0;
    int row = 0;
    auto newPageIfFull = [&] {
        if (rows != 0 && row >= rows) {
            m_aTextLines.emplace_back("^");
            AppendTopMargin(topLines);
            row = 0;
        }
    };
    auto flushRow = [&] {
        for (std::string& line : rowLines) {
            m_aTextLines.push_back(line);
            line.clear();
        }
        column = 0;
        if (rows != 0) ++row;
    };
    const auto persons = PersonsByCode(m_pDB);
    for (uint32_t code : m_aPersons) {
        newPageIfFull();
        if (column >= columns) flushRow();
        const auto found = persons.find(code);
        if (found == persons.end() || !PassesFilter(*found->second)) continue;
        const CPerson* person = found->second;
        std::vector<std::string> block = AddressBlock(*person);
        if (m_nViewMode == 1) {
            for (const std::string* field : {&person->m_sPhone1, &person->m_sPhone2, &person->m_sEmail})
                if (!field->empty()) block.push_back(*field);
        }
        // Lines beyond the row's height are dropped; they never spill into the next row.
        for (int k = 0; k < linesPerRow; ++k) {
            if (k < static_cast<int>(block.size())) rowLines[static_cast<size_t>(k)] += block[static_cast<size_t>(k)];
            rowLines[static_cast<size_t>(k)] += '\t';
        }
        ++column;
    }
    if (column > 0) {
        newPageIfFull();
        flushRow();
    }
    m_nMaxLines = static_cast<int>(m_aTextLines.size());
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("Exit CMaillistView::FormatAddressList # lines = %i\n", m_nMaxLines);
    ClampLines();
}

void CMaillistView::FormatEnvelopes()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CMaillistView::FormatEnvelopes\n");
    const CMailList* format = GetFormatOf(3);
    if (!format) return;
    m_aTextLines.clear();
    const auto persons = PersonsByCode(m_pDB);
    for (uint32_t code : m_aPersons) {
        const auto found = persons.find(code);
        if (found == persons.end() || !PassesFilter(*found->second)) continue;
        const CPerson* person = found->second;
        AppendTopMargin(format->m_cTopLines);
        if (format->m_cReturnAddress == 1)
            for (const std::string& line : format->m_ReturnAddressLines) m_aTextLines.push_back(line);
        AppendTopMargin(format->m_cBlankLines);
        for (const std::string& line : AddressBlock(*person)) m_aTextLines.push_back("\t" + line);
        m_aTextLines.emplace_back("^");
    }
    m_nMaxLines = static_cast<int>(m_aTextLines.size());
    ClampLines();
}

stFormatRecord* CMaillistView::GetLine(int index, char& mark, char& status, std::string& text)
{
    if (index == -1) {
        status = 'H';
        text.clear();
        return &m_Format;
    }
    status = '-';
    const char purpose = mark;
    mark = 0;
    text.clear();
    if (index < 0 || index >= static_cast<int>(m_aTextLines.size())) return &m_Format;
    text = m_aTextLines[static_cast<size_t>(index)];
    // On the screen a page break reads as such; printed, it stays the engine's "^".
    if (text == "^" && purpose != 'P') text = CenterString("PAGE BREAK", 80, '-');
    return &m_Format;
}

void CMaillistView::SetSortOrder(int order)
{
    if (order == m_nSortOrder) return;
    m_nSortOrder = order;
    SetUpLines();
    Rebuild();
}

void CMaillistView::OnCategorySelect()
{
    if (!m_pDB) return;
    std::vector<CCategory*> categories;
    for (char type : {'P', 'M'}) m_pDB->CollectCategoriesByType(type, categories);
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
    m_nChosenPerson = 0xFFFFFFFF;
    m_aCategoryFilter.clear();
    if (chosen.size() < categories.size()) m_aCategoryFilter = chosen;
    Rebuild();
}

void CMaillistView::OnStudentSelect()
{
    if (!m_pDB) return;
    const int32_t chosen = m_pDB->SelectPerson(m_cKind, 0, 0, 0);
    if (chosen < 0) return;
    m_nChosenPerson = static_cast<uint32_t>(chosen);
    Rebuild();
}

void CMaillistView::OnFormat()
{
    CMailList* format = GetFormatOf(m_nViewMode);
    if (!m_pDB || !format) return;
    CDialogMaillist dialog(m_pDB, GetParent());
    dialog.m_pMailList = format;
    dialog.m_cKind = static_cast<uint8_t>(m_nViewMode);
    if (dialog.DoModal() != ui::IDOK) return;
    ApplyFormat(*format);
    Rebuild();
}

void CMaillistView::OnPrint()
{
    if (m_aTextLines.empty()) return;
    PrintLines(static_cast<uint32_t>(m_nViewMode));
}

bool CMaillistView::OnCommand(int id, int code)
{
    switch (id) {
    case kCmdMainView:
        if (IViewFrame* frame = IViewFrame::Of(*this)) frame->ReturnToMainView();
        return true;
    case kCmdPhoneList: SetMode(1); return true;
    case kCmdLabels: SetMode(2); return true;
    case kCmdEnvelopes: SetMode(3); return true;
    case kCmdSortName: SetSortOrder(0); return true;
    case kCmdSortZip: SetSortOrder(1); return true;
    case kCmdCategory: OnCategorySelect(); return true;
    case kCmdStudent: OnStudentSelect(); return true;
    case kCmdPrint: OnPrint(); return true;
    case kCmdFormat: OnFormat(); return true;
    case kCmdPageLayout: {
        static const char* const kNames[] = {"", "Phone list layout", "Mail label layout", "Envelope layout"};
        if (m_pDB && ListViewOperations().editPageLayout)
            ListViewOperations().editPageLayout(*m_pDB, static_cast<uint32_t>(m_nViewMode), kNames[m_nViewMode]);
        return true;
    }
    case kCmdHelp: ShowHelpTopic(0x20000 + kMenuId); return true;
    default: return CScrollBase::OnCommand(id, code);
    }
}
