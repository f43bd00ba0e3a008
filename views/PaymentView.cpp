#include "views/PaymentView.h"

#include "common/Diagnostic.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/Menu.h"
#include "views/ViewFrame.h"
#include "widgets/AppHelpers.h"
#include "widgets/ControlHelpers.h"

using ui::Item;
using ui::Popup;

void CPaymentView::RegisterMenu()
{
    static const ui::MenuTemplate menu = {kMenuId, {
        Item(kCmdMainView, "&Main view"),
        Popup("&Find", {Item(kCmdFindFirst, "&First F2"), Item(kCmdFindRepeat, "&Repeat F3")}),
        Item(kCmdAll, "&All"), Item(kCmdDue, "&Due"),
        Item(kCmdToStudio, "&To studio"), Item(kCmdByStudio, "&By studio"), Item(kCmdCredit, "&Credit to student"),
        Item(kCmdEdit, "&Edit"), Item(kCmdRefund, "&Refund"), Item(kCmdDelete, "&Delete"),
        Item(kCmdFormat, "&Format"), Item(kCmdPrint, "&Print"), Item(kCmdHelp, "&Help"),
    }};
    ui::RegisterMenu(menu);
}

CPaymentView::CPaymentView()
{
    RegisterMenu();
    m_bHeader = 1;
    InstallUpdaters();
}

void CPaymentView::InstallUpdaters()
{
    auto line = [this](ui::CmdUI& cmd, bool built) { cmd.Enable(built && m_nMaxLines > 0); };
    Updaters().SetUpdateHandler(kCmdAll, [this](ui::CmdUI& cmd) { cmd.Enable(m_nViewMode != 0); });
    Updaters().SetUpdateHandler(kCmdDue, [this](ui::CmdUI& cmd) { cmd.Enable(m_nViewMode != kModeDue); });
    for (int id : {int(kCmdToStudio), int(kCmdByStudio), int(kCmdCredit)})
        Updaters().SetUpdateHandler(id, [](ui::CmdUI& cmd) { cmd.Enable(static_cast<bool>(ListViewOperations().addItem)); });
    Updaters().SetUpdateHandler(kCmdEdit, [this, line](ui::CmdUI& cmd) {
        stDataToken entry;
        const bool payment = GetHighlightedEntry(entry) && entry.type == 'P';
        const stListViewOperations& ops = ListViewOperations();
        line(cmd, payment ? static_cast<bool>(ops.editItem) : static_cast<bool>(ops.editScheduledPayment));
    });
    Updaters().SetUpdateHandler(kCmdDelete, [line](ui::CmdUI& cmd) { line(cmd, true); });
    Updaters().SetUpdateHandler(kCmdPrint, [line](ui::CmdUI& cmd) { line(cmd, true); });
    Updaters().SetUpdateHandler(kCmdRefund, [this](ui::CmdUI& cmd) {
        if (!IsReceivedPaymentHighlighted() || !ListViewOperations().addItem) {
            cmd.Enable(false);
            return;
        }
        EnableForAccessLevel(8, cmd);
    });
    Updaters().SetUpdateHandler(kCmdFormat, [](ui::CmdUI& cmd) {
        if (!ListViewOperations().editFormat) cmd.Enable(false);
        else EnableForAccessLevel(7, cmd);
    });
}

void CPaymentView::ClearLines()
{
    m_nMaxLines = 0;
    m_aLines.clear();
}

void CPaymentView::SetUpLines()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CPaymentView::SetUpLines\n");
    m_aLines.clear();
    if (m_pDB) {
        std::vector<stDataToken> entries;
        m_pDB->CollectPaymentDates(entries, m_nViewMode);
        m_aLines.reserve(entries.size());
        for (const stDataToken& e : entries) m_aLines.push_back(MakeViewEntry(e));
    }
    m_nMaxLines = static_cast<int>(m_aLines.size());
    m_nHorzMax = 500;
    m_bLinesReady = 1;
    ClampLines();
}

bool CPaymentView::GetHighlightedEntry(stDataToken& entry) const
{
    if (!m_pDB || m_nHiLiteLine < 0 || m_nHiLiteLine >= static_cast<int>(m_aLines.size())) return false;
    return ResolveViewEntry(*m_pDB, m_aLines[static_cast<size_t>(m_nHiLiteLine)], entry);
}

bool CPaymentView::IsReceivedPaymentHighlighted() const
{
    stDataToken entry;
    if (!GetHighlightedEntry(entry) || entry.type != 'P') return false;
    const auto* payment = static_cast<const CPaymentRecord*>(entry.record);
    return payment->m_cType == 'R' && payment->m_cReceived == 'R';
}

stFormatRecord* CPaymentView::GetLine(int index, char& mark, char& status, std::string& text)
{
    stFormatRecord* format = m_pDB ? m_pDB->GetFormat(kFormatIndex) : nullptr;
    if (index == -1) {
        status = 'H';
        text = "Date\tTransaction type\tName\tAmount\tStatus\tFor";
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CPaymentView::GetLine header of %u lines\n", static_cast<unsigned>(m_nMaxLines));
        return format;
    }
    status = '-';
    mark = 0;
    text.clear();
    stDataToken entry;
    if (!m_pDB || index < 0 || index >= static_cast<int>(m_aLines.size()) ||
        !ResolveViewEntry(*m_pDB, m_aLines[static_cast<size_t>(index)], entry))
        return format;
    const stPaymentData line = m_pDB->MakeAccountHistory(entry);
    text = Format("%s\t%s\t%s\t%s\t%s\t%s", line.sDate.c_str(), line.sType.c_str(), line.sName.c_str(),
                  line.sAmount.c_str(), line.sStatus.c_str(), line.sFor.c_str());
    return format;
}

void CPaymentView::SetMode(uint32_t mode)
{
    if (mode == m_nViewMode) return;
    m_nViewMode = mode;
    m_bKeepLines = 1;
    SetUpLines();
    Invalidate();
    m_bKeepLines = 0;
}

void CPaymentView::AddPayment(char letter)
{
    const stListViewOperations& ops = ListViewOperations();
    if (!m_pDB || !ops.addItem) return;
    m_bKeepLines = 1;
    RefreshLineView(ops.addItem(*m_pDB, TABLE_PAYMENT, MakeDataToken(letter, 0.0, nullptr)));
}

void CPaymentView::Refund()
{
    const stListViewOperations& ops = ListViewOperations();
    if (!IsReceivedPaymentHighlighted() || !ops.addItem) return;
    stDataToken entry;
    GetHighlightedEntry(entry);
    auto* payment = static_cast<CPaymentRecord*>(entry.record);
    // The refund of the payment: its person, the payment itself and its reference.
    const stDataToken request = MakeDataToken('q', 0.0, payment, static_cast<int32_t>(payment->m_nPerson),
                                              static_cast<int32_t>(payment->m_nReference));
    m_bKeepLines = 1;
    RefreshLineView(ops.addItem(*m_pDB, TABLE_PAYMENT, request));
}

void CPaymentView::EditHighlighted()
{
    stDataToken entry;
    if (!GetHighlightedEntry(entry)) return;
    const stListViewOperations& ops = ListViewOperations();
    if (entry.type == 'P') {
        if (!ops.editItem) return;
        const uint32_t code = static_cast<CPaymentRecord*>(entry.record)->m_nCode;
        m_bKeepLines = 1;
        RefreshLineView(ops.editItem(*m_pDB, TABLE_PAYMENT, code, -1));
        return;
    }
    if (entry.type != 'p' || !ops.editScheduledPayment) return;
    // The dialog edits copies; the stored purchase changes only when the save succeeds.
    const auto* stored = static_cast<const CPurchaseRecord*>(entry.record);
    const uint32_t code = stored->m_nCode;
    const uint32_t index = static_cast<uint32_t>(entry.index1);
    if (index >= stored->m_Payments.size()) return;
    CPurchaseRecord purchase;
    m_pDB->CopyItem(TABLE_PURCHASE, stored, &purchase, 0);
    CSchedulePayment payment;
    payment.CopyFrom(*purchase.m_Payments[index]);
    m_bKeepLines = 1;
    int result = 2;
    if (ops.editScheduledPayment(*m_pDB, purchase, payment, purchase.GetPayer()) == 1) {
        result = m_pDB->ChangeItem(TABLE_PURCHASE, code, [index, &payment](void* item) {
            auto& p = *static_cast<CPurchaseRecord*>(item);
            if (index >= p.m_Payments.size()) return false;
            p.m_Payments[index]->CopyFrom(payment);
            return true;
        }) == 1 ? 1 : 2;
    }
    RefreshLineView(result);
}

void CPaymentView::DeleteHighlighted()
{
    stDataToken entry;
    if (!GetHighlightedEntry(entry)) return;
    const stListViewOperations& ops = ListViewOperations();
    if (entry.type == 'P') {
        if (!ops.deleteItem) return;
        const uint32_t code = static_cast<CPaymentRecord*>(entry.record)->m_nCode;
        m_bKeepLines = 1;
        RefreshLineView(ops.deleteItem(*m_pDB, TABLE_PAYMENT, code));
        return;
    }
    if (entry.type != 'p') return;
    const uint32_t code = static_cast<CPurchaseRecord*>(entry.record)->m_nCode;
    m_bKeepLines = 1;
    RefreshLineView(m_pDB->DeleteScheduledPaymentOf(code, static_cast<uint32_t>(entry.index1)));
}

bool CPaymentView::OnCommand(int id, int code)
{
    switch (id) {
    case kCmdMainView:
        if (IViewFrame* frame = IViewFrame::Of(*this)) frame->ReturnToMainView();
        return true;
    case kCmdFindFirst: Find('F'); return true;
    case kCmdFindRepeat: FindNext(); return true;
    case kCmdAll: SetMode(0); return true;
    case kCmdDue: SetMode(kModeDue); return true;
    case kCmdToStudio: AddPayment('R'); return true;
    case kCmdByStudio: AddPayment('P'); return true;
    case kCmdCredit: AddPayment('c'); return true;
    case kCmdEdit: EditHighlighted(); return true;
    case kCmdRefund: Refund(); return true;
    case kCmdDelete: DeleteHighlighted(); return true;
    case kCmdFormat:
        if (m_pDB && ListViewOperations().editFormat) ListViewOperations().editFormat(*m_pDB, kFormatIndex, "Payment view");
        Invalidate();
        return true;
    case kCmdPrint: PrintLines(); return true;
    case kCmdHelp: ShowHelpTopic(0x20000 + kMenuId); return true;
    default: return CScrollBase::OnCommand(id, code);
    }
}
