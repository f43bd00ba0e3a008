#include "views/StudentView.h"

#include "database/Database.h"
#include "platform/ui/Menu.h"
#include "reports/Reports.h"

using ui::Item;
using ui::Popup;
using ui::Separator;

namespace {

// Commands built by later work (sign-in, schedule, reports, e-mail) carry level 0xFF: greyed.
constexpr int kNotBuilt = 0xFF;

}  // namespace

void CStudentView::RegisterMenu()
{
    static const ui::MenuTemplate menu = {kMenuId, {
        Item(kCmdMainView, "&Main view"),
        Popup("&Find", {Item(kCmdFindFirst, "&First F2"), Item(kCmdFindRepeat, "&Repeat F3")}),
        Popup("&Student", {
            Item(kCmdCategory, "&Category"), Separator(), Item(kCmdAdd, "&Add"), Item(kCmdEdit, "&Edit"),
            Item(kCmdDelete, "&Delete"), Separator(), Item(kCmdSignIn, "si&Gn-in"),
            Item(kCmdSchedule, "&Schedule"),
        }),
        Popup("&Payments", {
            Item(kCmdBalanceSheet, "&Balance sheet"), Item(kCmdDue, "&Due"), Item(kCmdReceived, "&Received"),
            Item(kCmdLogPayment, "&Log"), Item(kCmdInvoice, "&Invoice"),
        }),
        Popup("&Reports", {
            Item(kCmdSummary, "&Summary"), Item(kCmdActivities, "&Activities"), Item(kCmdHistory, "&History"),
            Item(kCmdEmail, "emai&L"),
        }),
        Popup("&List", {
            Item(kCmdPrint, "&Print"), Item(kCmdFormat, "&Format"), Separator(), Item(kCmdAll, "&All"),
            Item(kCmdActive, "ac&Tive"),
        }),
        Item(kCmdHelp, "&Help"),
    }};
    ui::RegisterMenu(menu);
}

CStudentView::CStudentView()
{
    m_cKind = 'C';
    RegisterMenu();
    InstallUpdaters({
        {kCmdMainView, 0}, {kCmdCategory, 0}, {kCmdFindFirst, 0}, {kCmdFindRepeat, 0}, {kCmdAdd, 0},
        {kCmdEdit, 0}, {kCmdDelete, 7}, {kCmdSignIn, 5}, {kCmdSchedule, 0},
        {kCmdBalanceSheet, 7}, {kCmdDue, 7}, {kCmdReceived, 7}, {kCmdLogPayment, 7},
        {kCmdInvoice, 7}, {kCmdSummary, 7}, {kCmdActivities, 7},
        {kCmdHistory, 7}, {kCmdEmail, 7}, {kCmdPrint, 7}, {kCmdFormat, 7}, {kCmdAll, 0},
        {kCmdActive, 0}, {kCmdHelp, 0},
    });
}

void CStudentView::OnLogPayment()
{
    CPerson* person = GetHighlightedPerson();
    const stListViewOperations& ops = ListViewOperations();
    if (!person || !m_pDB || !ops.logPayment) return;
    m_bKeepLines = 1;
    RefreshLineView(ops.logPayment(*m_pDB, person->m_nCode));
}

void CStudentView::OnOtherKey(int vk)
{
    CPerson* person = GetHighlightedPerson();
    const stListViewOperations& ops = ListViewOperations();
    if (person && person->m_cSex == 0 && (vk == 'M' || vk == 'F') && m_pDB && ops.saveModifiedItem) {
        person->m_cSex = static_cast<char>(vk);
        if (ops.saveModifiedItem(*m_pDB, TABLE_PERSON, person->m_nCode) != 1) person->m_cSex = 0;
        Invalidate();
        return;
    }
    CContactView::OnOtherKey(vk);
}

bool CStudentView::OnCommand(int id, int code)
{
    if (id == kCmdLogPayment) {
        OnLogPayment();
        return true;
    }
    if (id == kCmdSignIn) {
        CPerson* person = GetHighlightedPerson();
        if (!person || !m_pDB) return true;
        // The list keeps its lines while the dialog runs; the refresh after it rebuilds them.
        m_bKeepLines = 1;
        m_pDB->RunSignIn(person);
        RefreshLineView(1);
        return true;
    }
    if (id == kCmdBalanceSheet || id == kCmdDue || id == kCmdReceived || id == kCmdSummary ||
        id == kCmdActivities || id == kCmdHistory || id == kCmdInvoice) {
        CPerson* person = GetHighlightedPerson();
        if (!person || !m_pDB) return true;
        CReports reports(m_pDB);
        switch (id) {
        case kCmdBalanceSheet: reports.BalanceSheetReport(person->m_nCode, 1); break;
        case kCmdSummary: reports.StudentSummaryReport(person->m_nCode); break;
        case kCmdActivities: reports.StudentActivityReport(person->m_nCode); break;
        case kCmdHistory: reports.StudentHistoryReport(person->m_nCode); break;
        case kCmdInvoice: reports.InvoiceReport(person->m_nCode); break;
        default: reports.DueReceivedReport(id == kCmdDue ? 'D' : 'R', person->m_nCode); break;
        }
        return true;
    }
    return CContactView::OnCommand(id, code);
}
