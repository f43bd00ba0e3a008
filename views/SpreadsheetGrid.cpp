#include "views/SpreadsheetGrid.h"

#include <algorithm>

#include "common/QuestionBox.h"
#include "common/TextFile.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/Menu.h"
#include "studio/IifReader.h"
#include "studio/IifWriter.h"
#include "widgets/ControlHelpers.h"
#include "widgets/DialogPromptForString.h"

using ui::Item;
using ui::Popup;

namespace {

constexpr int kMenuSheet = 131;
constexpr int kCmdExit = 30055;
constexpr int kCmdSaveTab = 32775;
constexpr int kCmdSaveSemicolon = 32776;
constexpr int kCmdSavePipe = 32777;
constexpr int kCmdSaveComma = 32932;
constexpr int kCmdPrint = 30056;
constexpr int kCmdHelp = 57670;
constexpr uint32_t kHelpTopic = 804;
constexpr int kCellTextLength = 60;

void RegisterMenu()
{
    static const ui::MenuTemplate sheet = {kMenuSheet, {
        Item(kCmdExit, "e&Xit"),
        Popup("&Save", {Item(kCmdSaveTab, "&Tab delimited"), Item(kCmdSaveSemicolon, "&Semicolon delimited"),
                        Item(kCmdSavePipe, "&Pipe symbol delimited"), Item(kCmdSaveComma, "&Comma delimited")}),
        Item(kCmdPrint, "&Print"),
        Item(kCmdHelp, "&Help"),
    }};
    ui::RegisterMenu(sheet);
}

}  // namespace

CSpreadsheetGrid::CSpreadsheetGrid(ui::Window* parent, CDatabase* database, const std::string& path)
    : m_pDB(database), m_pParent(parent), m_strFileName(path)
{
    RegisterMenu();
    if (m_pDB) {
        m_pDB->DisableRefreshOn("");
        m_bRefreshHeld = true;
    }
    CreateGridFrame("IIF File", kMenuSheet, parent);
    LoadFile();
    ResetLayout();
}

CSpreadsheetGrid::~CSpreadsheetGrid() { ReleaseRefresh(); }

void CSpreadsheetGrid::ReleaseRefresh()
{
    if (m_bRefreshHeld && m_pDB) m_pDB->DisableRefreshOff("");
    m_bRefreshHeld = false;
}

void CSpreadsheetGrid::OnDestroy()
{
    // The database may go before the grid object does.
    ReleaseRefresh();
    m_pDB = nullptr;
    CGridFrame::OnDestroy();
}

void CSpreadsheetGrid::LoadFile()
{
    m_Cells.SetSize(0, 0);
    CIifReader reader;
    if (!reader.Open(m_strFileName)) {
        GetResponse(Format("Can't open file %s", m_strFileName.c_str()), MB_OK);
        return;
    }
    std::string line;
    if (!reader.ReadRawLine(line)) return;
    const std::string separator = CIifReader::ChooseSeparator(line, "\t;,|", 2);
    if (separator.empty()) {
        GetResponse("Improperly formatted records.", MB_OK);
        return;
    }
    // The lines are kept until the widest row is known; then each field goes straight to its cell.
    std::vector<std::string> lines;
    size_t columns = 0;
    do {
        columns = std::max(columns, CIifReader::CountFields(line, separator[0]));
        lines.push_back(std::move(line));
    } while (reader.ReadRawLine(line));
    m_Cells.SetSize(static_cast<int>(lines.size()), static_cast<int>(columns));
    for (size_t r = 0; r < lines.size(); ++r)
        CIifReader::ForEachField(lines[r], separator[0], [&](size_t c, std::string_view field) {
            m_Cells.SetAt(static_cast<int>(r), static_cast<int>(c), std::string(field), CTextArray2D::WHITE);
        });
}

void CSpreadsheetGrid::SaveFile(char separator)
{
    std::string path = m_strFileName, title;
    if (!BrowseForFile("All files", "*.*", path, title, 0) || path.empty()) return;
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(m_Cells.GetRows()));
    for (int r = 0; r < m_Cells.GetRows(); ++r) {
        std::string line;
        for (int c = 0; c < m_Cells.GetColumns(); ++c) {
            if (c > 0) line += separator;
            line += m_Cells.GetText(r, c);
        }
        lines.push_back(line);
    }
    WriteLinesToFile(path, lines);
}

void CSpreadsheetGrid::ResetLayout()
{
    m_nTitleFontSize = 120;
    m_nCellFontSize = 90;
    m_bRepeatLabelRow = 0;
    m_bRepeatLabelColumn = 0;
    m_bLandscape = 1;
    m_strTitle = m_strFileName;
    if (!IsCreated()) return;
    Invalidate();
    UpdateWindow();
    DrawGrid();
}

void CSpreadsheetGrid::OnHelp() { CallHelp(kHelpTopic); }

bool CSpreadsheetGrid::OnCommand(int id, int code)
{
    switch (id) {
    case kCmdExit:
        DestroyWindow();
        return true;
    case kCmdSaveTab: SaveFile('\t'); return true;
    case kCmdSaveSemicolon: SaveFile(';'); return true;
    case kCmdSavePipe: SaveFile('|'); return true;
    case kCmdSaveComma: SaveFile(','); return true;
    case kCmdPrint:
        PrintGrid();
        return true;
    case kCmdHelp:
        OnHelp();
        return true;
    default:
        return CGridFrame::OnCommand(id, code);
    }
}

void CSpreadsheetGrid::OnGridRButtonDown(int x, int y)
{
    CellFromPoint(0, x, y);
    // Grid row and column r, c (from 1) show cell (r - 1, c - 1); a point off the cells asks nothing.
    const int row = m_nHitRow;
    const int column = m_nHitColumn;
    if (row < 1 || column < 1 || row > m_Cells.GetRows() || column > m_Cells.GetColumns()) return;
    CDialogPromptForString dialog(this);
    dialog.m_strPrompt = Format("Enter text for cell row %i, column %i", row, column);
    dialog.m_nMaxLength = kCellTextLength;
    dialog.m_strText = m_Cells.GetText(row - 1, column - 1);
    dialog.m_cCase = 0;
    if (dialog.DoModal() != ui::IDOK) return;
    m_Cells.SetAt(row - 1, column - 1, dialog.m_strText, CTextArray2D::WHITE);
    ResetLayout();
}
