#include "views/DailyBalanceGrid.h"

#include <algorithm>

#include "common/TextFormat.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/Menu.h"

namespace {

constexpr int kMenuDailyBalance = 121;
constexpr uint32_t kHelpTopic = 0x20079;

void RegisterMenu()
{
    using ui::Item;
    static const ui::MenuTemplate menu = {kMenuDailyBalance, {
        Item(CReportGrid::kCmdExit, "e&Xit"), Item(CReportGrid::kCmdNext, "&Next"),
        Item(CReportGrid::kCmdPrevious, "p&Revious"), Item(CReportGrid::kCmdCurrent, "&Current"),
        Item(CReportGrid::kCmdPrint, "&Print"), Item(CReportGrid::kCmdHelp, "&Help"),
    }};
    ui::RegisterMenu(menu);
}

}  // namespace

CDailyBalanceGrid::CDailyBalanceGrid(ui::Window* parent, CDatabase* database) : CReportGrid(parent, database)
{
    RegisterMenu();
    OpenGrid("Daily balance", kMenuDailyBalance, false);
}

void CDailyBalanceGrid::SetCurrentPeriod()
{
    m_dDayStart = GetToday(0);
    m_dDayEnd = m_dDayStart + 1.0;
}

void CDailyBalanceGrid::StepPeriod(int direction)
{
    m_dDayStart += direction;
    m_dDayEnd += direction;
}

bool CDailyBalanceGrid::OnCommand(int id, int code)
{
    switch (id) {
    case kCmdExit:
        m_aEntries.clear();
        return CReportGrid::OnCommand(id, code);
    case kCmdHelp:
        CallHelp(kHelpTopic);
        return true;
    default:
        return CReportGrid::OnCommand(id, code);
    }
}

void CDailyBalanceGrid::MakeGrid()
{
    if (!m_pDB) return;
    m_nTitleFontSize = 120;
    m_nCellFontSize = 90;
    m_strTitle = Format("Daily balance: %s", FormatDateTime(m_dDayStart, "%A %B %d, %Y").c_str());
    std::vector<stPaymentData> lines;
    std::vector<std::string> balances;
    {
        host::WaitCursor wait;
        m_aEntries.clear();
        m_pDB->CollectPaymentDates(m_aEntries, 0);
        double balance = 0.0;
        // The list is in date order and a line's date is its entry's: only the day's entries can
        // give lines.
        auto first = std::lower_bound(m_aEntries.begin(), m_aEntries.end(), m_dDayStart,
                                      [](const stDataToken& e, DATE day) { return e.date < day; });
        for (auto it = first; it != m_aEntries.end() && it->date < m_dDayEnd; ++it) {
            stPaymentData line = m_pDB->MakeAccountHistory(*it);
            if (!(m_dDayStart <= line.dDate && line.dDate < m_dDayEnd)) continue;
            balance += line.dSignedAmount;
            balances.push_back(FormatMoney(balance, 0));
            lines.push_back(std::move(line));
        }
    }
    SizeTable(static_cast<int>(lines.size()) + 1, 8);
    SetHeaders({"Receipt", "Date", "Transaction type", "To/from", "Amount", "Status", "Description", "Balance"});
    for (size_t i = 0; i < lines.size(); ++i) {
        const stPaymentData& l = lines[i];
        const int row = static_cast<int>(i) + 1;
        const std::string cells[8] = {l.sReceipt, l.sDate,   l.sType, l.sName,
                                      l.sAmount,  l.sStatus, l.sDescription, balances[i]};
        for (int c = 0; c < 8; ++c) SetCell(row, c, cells[c]);
    }
    FinishGrid();
}
