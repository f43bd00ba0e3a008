#include "views/TeacherGrid.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "common/Diagnostic.h"
#include "database/Database.h"
#include "dialogs/DialogMenu.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/Menu.h"

using ui::Item;

namespace {

constexpr int kMenuTeachers = 115;
constexpr int kCmdExit = 30055;
constexpr int kCmdNext = 30077;
constexpr int kCmdPrevious = 30078;
constexpr int kCmdCurrent = 32850;
constexpr int kCmdPrint = 30056;
constexpr int kCmdHelp = 57670;
constexpr uint32_t kHelpTopic = 131187;

// Click menu choices; entries are numbered from 0.
constexpr int kAddNonPriceList = -3;
constexpr int kAddPriceList = -2;

void RegisterMenu()
{
    static const ui::MenuTemplate teachers = {kMenuTeachers, {
        Item(kCmdExit, "e&Xit"), Item(kCmdNext, "&Next"), Item(kCmdPrevious, "p&Revious"),
        Item(kCmdCurrent, "&Current"), Item(kCmdPrint, "&Print"), Item(kCmdHelp, "&Help"),
    }};
    ui::RegisterMenu(teachers);
}

// The moment in whole minutes, for comparing to the minute.
long long Minutes(DATE date) { return std::llround(date * 1440.0); }

// The lesson token behind a 'T' entry; none when the indexes do not hold.
const CScheduleToken* LessonToken(const stDataToken& e)
{
    if (e.type != 'T' || e.record == nullptr) return nullptr;
    const auto* purchase = static_cast<const CPurchaseRecord*>(e.record);
    if (e.index1 < 0 || static_cast<size_t>(e.index1) >= purchase->m_Items.size()) return nullptr;
    const auto& tokens = purchase->m_Items[static_cast<size_t>(e.index1)]->m_Tokens;
    if (e.index2 < 0 || static_cast<size_t>(e.index2) >= tokens.size()) return nullptr;
    return tokens[static_cast<size_t>(e.index2)].get();
}

bool IsShownLesson(const stDataToken& e)
{
    const CScheduleToken* token = LessonToken(e);
    return token != nullptr && token->m_cState != 'U';
}

// One line of a cell: a "|" would split the entry over two lines.
std::string CellLine(std::string text)
{
    std::replace(text.begin(), text.end(), '|', ' ');
    return text;
}

}  // namespace

CTeacherGrid::CTeacherGrid(ui::Window* parent, CDatabase* database)
    : CStudioGrid(parent, database, &CDatabase::m_pTeacherGrid, "CTeacherGrid::OnUpdateGridMsg()\n")
{
    RegisterMenu();
    m_dStart = GetToday(0);
    m_dEnd = m_dStart + 1.0;
    CreateGridFrame("Teacher schedule", kMenuTeachers, parent);
    BuildGrid();
}

std::vector<const stDataToken*> CTeacherGrid::LessonsAt(const stTeacherIndex& teacher, size_t row) const
{
    std::vector<const stDataToken*> out;
    for (const stDataToken& e : teacher.entries)
        if (IsShownLesson(e) && Minutes(e.date) == Minutes(m_aTimes[row])) out.push_back(&e);
    return out;
}

void CTeacherGrid::FillGrid()
{
    const stParameters& p = m_pDB->m_Parameters;
    m_nTitleFontSize = p.GetByte(param::kScheduleHeaderFont) * 10;
    m_nCellFontSize = p.GetByte(param::kScheduleCellFont) * 10;
    m_strTitle = FormatDateTime(m_dStart, "%A %B %d, %Y");
    host::WaitCursor wait;

    m_aTeachers.clear();
    std::unordered_map<uint32_t, size_t> columnOf;
    for (const stIndex& e : *m_pDB->GetItemList(TABLE_PERSON)) {
        auto* person = static_cast<CPerson*>(e.pItem);
        if (person->m_cType != 'E' || person->m_cStatus != 'A') continue;
        columnOf.emplace(person->m_nCode, m_aTeachers.size());
        stTeacherIndex teacher;
        teacher.pPerson = person;
        m_aTeachers.push_back(std::move(teacher));
    }
    // The day's lessons gathered once and dealt out: a teacher's are those the teacher gives or
    // bought, in the order a gathering for that teacher alone gives them.
    std::vector<stDataToken> day;
    m_pDB->GetAllScheduleItems(-1, day, 1, m_dStart, m_dEnd, 1);
    for (const stDataToken& e : day) {
        if (e.type != 'T' || e.record == nullptr) continue;
        const auto* purchase = static_cast<const CPurchaseRecord*>(e.record);
        const CScheduleToken* token = LessonToken(e);
        if (token == nullptr) continue;
        size_t dealt[3];
        size_t count = 0;
        for (uint32_t code : {token->m_nField8, purchase->m_nPerson, purchase->m_nSecondPerson}) {
            const auto at = columnOf.find(code);
            if (at == columnOf.end() || std::find(dealt, dealt + count, at->second) != dealt + count) continue;
            dealt[count++] = at->second;
            m_aTeachers[at->second].entries.push_back(e);
        }
    }

    m_aTimes.clear();
    auto addTime = [this](DATE t) {
        const long long m = Minutes(t);
        if (std::none_of(m_aTimes.begin(), m_aTimes.end(), [m](DATE d) { return Minutes(d) == m; }))
            m_aTimes.push_back(t);
    };
    const DATE first = AddToDate(std::floor(m_dStart), 0, p.GetInt(param::kStartHour), p.GetInt(param::kStartMinute), 0);
    const int slots = p.GetInt(param::kIncrements);
    const int length = p.GetInt(param::kMinutesPerIncrement);
    for (int i = 0; i < slots; ++i) addTime(AddToDate(first, 0, 0, i * length, 0));
    for (const stTeacherIndex& t : m_aTeachers)
        for (const stDataToken& e : t.entries)
            if (IsShownLesson(e)) addTime(e.date);
    std::sort(m_aTimes.begin(), m_aTimes.end(), [](DATE a, DATE b) { return Minutes(a) < Minutes(b); });

    const uint32_t header = p.GetUInt(param::kLabelColour);
    const uint32_t cell = p.GetUInt(param::kCellColour);
    m_Cells.SetSize(static_cast<int>(m_aTimes.size()) + 1, static_cast<int>(m_aTeachers.size()) + 1);
    m_Cells.SetAt(0, 0, "Time/Teacher", header);
    for (size_t i = 0; i < m_aTimes.size(); ++i)
        m_Cells.SetAt(static_cast<int>(i) + 1, 0, FormatDateTime(m_aTimes[i], "%I:%M%p"), header);
    for (size_t t = 0; t < m_aTeachers.size(); ++t) {
        std::string name;
        m_pDB->GetPersonName(name, m_aTeachers[t].pPerson->m_nCode, 0);
        m_Cells.SetAt(0, static_cast<int>(t) + 1, name, header);
        if (DiagnosticLevel > 0) WriteDiagnosticFormat("For %s\n", name.c_str());
        for (size_t i = 0; i < m_aTimes.size(); ++i) {
            if (DiagnosticLevel > 0)
                WriteDiagnosticFormat(" Testing time array date %f %s\n", m_aTimes[i],
                                      FormatDateTime(m_aTimes[i], "%m/%d/%Y %H:%M").c_str());
            if (DiagnosticLevel > 0)
                for (const stDataToken& e : m_aTeachers[t].entries)
                    WriteDiagnosticFormat("  Against pScheduleArray date %f %s (%f)\n", e.date,
                                          FormatDateTime(e.date, "%m/%d/%Y %H:%M").c_str(), e.date - m_aTimes[i]);
            std::string text;
            for (const stDataToken* e : LessonsAt(m_aTeachers[t], i)) {
                if (DiagnosticLevel > 0) WriteDiagnosticString("  Add item\n");
                std::string kindText, shortText, longText;
                m_pDB->MakeScheduleText(e, kindText, shortText, longText, 1);
                if (!text.empty()) text += "|";
                text += CellLine(shortText);
            }
            m_Cells.SetAt(static_cast<int>(i) + 1, static_cast<int>(t) + 1, text, cell);
        }
    }
    m_bLandscape = 1;
    m_bRepeatLabelRow = 1;
    m_bRepeatLabelColumn = 1;
}

bool CTeacherGrid::OnCommand(int id, int code)
{
    switch (id) {
    case kCmdExit:
        DestroyWindow();
        return true;
    case kCmdNext:
    case kCmdPrevious: {
        const double step = id == kCmdNext ? 1.0 : -1.0;
        m_dStart += step;
        m_dEnd += step;
        BuildGrid();
        return true;
    }
    case kCmdCurrent:
        m_dStart = GetToday(0);
        m_dEnd = m_dStart + 1.0;
        BuildGrid();
        return true;
    case kCmdPrint:
        PrintCurrentGrid();
        return true;
    case kCmdHelp:
        CallHelp(kHelpTopic);
        return true;
    default:
        return CStudioGrid::OnCommand(id, code);
    }
}

void CTeacherGrid::OnGridLButtonDown(int x, int y)
{
    if (!m_pDB) return;
    BeforeGridUse();
    CellFromPoint(0, x, y);
    const int column = m_nHitColumn - 2;
    const int row = m_nHitRow - 2;
    if (column < 0 || row < 0 || static_cast<size_t>(column) >= m_aTeachers.size() ||
        static_cast<size_t>(row) >= m_aTimes.size())
        return;
    const stTeacherIndex& teacher = m_aTeachers[static_cast<size_t>(column)];
    const DATE when = m_aTimes[static_cast<size_t>(row)];
    CDialogMenu menu(m_pDB, "Select", 'S', 'N', -1, 0, "", this);
    menu.AddItem(static_cast<uint32_t>(kAddNonPriceList), "Add schedulable non-pricelist event");
    menu.AddItem(static_cast<uint32_t>(kAddPriceList), "Add schedulable pricelist event (e.g. standing lesson)");
    std::vector<stDataToken> lessons;
    if (m_pDB->m_fnEditScheduleEntry)
        for (const stDataToken* e : LessonsAt(teacher, static_cast<size_t>(row))) {
            std::string kindText, shortText, longText;
            m_pDB->MakeScheduleText(e, kindText, shortText, longText, 1);
            menu.AddItem(static_cast<uint32_t>(lessons.size()), Format("Edit: %s", CellLine(shortText).c_str()));
            lessons.push_back(*e);
        }
    const int choice = static_cast<int>(menu.DoModal());
    CDatabase* db = m_pDB;
    int result = 0;
    if (choice == kAddNonPriceList || choice == kAddPriceList) {
        CScheduleRecord item;
        item.m_cKind = choice == kAddNonPriceList ? 'N' : 'S';
        item.m_nTeacher = teacher.pPerson->m_nCode;
        item.m_dFirstDate = when;
        result = db->AddTableItem(TABLE_SCHEDULE, LOC_NONE, &item, 1, 0, nullptr);
    } else if (choice >= 0 && static_cast<size_t>(choice) < lessons.size()) {
        result = db->m_fnEditScheduleEntry(lessons[static_cast<size_t>(choice)]);
    }
    if (result == 1 && IsCreated()) BuildGrid();
}
