#include "views/PurchaseView.h"

#include "common/Diagnostic.h"
#include "common/ListHelpers.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/Menu.h"
#include "views/ViewFrame.h"
#include "widgets/AppHelpers.h"
#include "widgets/ControlHelpers.h"

#include <unordered_map>

using ui::Item;
using ui::Popup;

void CPurchaseView::RegisterMenu()
{
    static const ui::MenuTemplate menu = {kMenuId, {
        Item(kCmdMainView, "&Main view"),
        Popup("&Find", {Item(kCmdFindFirst, "&First F2"), Item(kCmdFindRepeat, "&Repeat F3")}),
        Item(kCmdAdd, "&Purchase by student"), Item(kCmdCart, "&Shopping cart"), Item(kCmdEdit, "&Edit"),
        Item(kCmdDelete, "&Delete"), Item(kCmdCancel, "&Cancel"), Item(kCmdUncancel, "&Uncancel"),
        Item(kCmdConvert, "co&Nvert"), Item(kCmdRefund, "&Refund"), Item(kCmdFormat, "Format"),
        Item(kCmdSortDate, "&Date"), Item(kCmdSortPerson, "&Person"), Item(kCmdSortItem, "&Item"),
        Item(kCmdPrint, "&Print"), Item(kCmdHelp, "&Help"),
    }};
    ui::RegisterMenu(menu);
}

CPurchaseView::CPurchaseView()
{
    RegisterMenu();
    m_bHeader = 1;
    InstallUpdaters();
}

void CPurchaseView::InstallUpdaters()
{
    // The commands on the highlighted purchase follow its state: Edit, Cancel and Convert while
    // it is in force, Uncancel otherwise.
    auto byState = [this](int id) {
        Updaters().SetUpdateHandler(id, [this, id](ui::CmdUI& cmd) {
            const CPurchaseRecord* purchase = GetHighlightedPurchase();
            if (!purchase) {
                cmd.Enable(false);
                return;
            }
            const bool inForce = purchase->m_nStatus == CPurchaseRecord::STATUS_ACTIVE;
            const stListViewOperations& ops = ListViewOperations();
            switch (id) {
            case kCmdEdit: cmd.Enable(inForce && static_cast<bool>(ops.editItem)); break;
            case kCmdUncancel: cmd.Enable(!inForce); break;
            default: cmd.Enable(inForce); break;
            }
        });
    };
    for (int id : {int(kCmdEdit), int(kCmdCancel), int(kCmdConvert), int(kCmdUncancel)}) byState(id);
    Updaters().SetUpdateHandler(kCmdAdd, [](ui::CmdUI& cmd) { cmd.Enable(static_cast<bool>(ListViewOperations().addPurchase)); });
    Updaters().SetUpdateHandler(kCmdCart, [](ui::CmdUI& cmd) { cmd.Enable(static_cast<bool>(ListViewOperations().checkoutCart)); });
    Updaters().SetUpdateHandler(kCmdRefund, [this](ui::CmdUI& cmd) {
        cmd.Enable(GetHighlightedPurchase() != nullptr && static_cast<bool>(ListViewOperations().editScheduledPayment));
    });
    for (int id : {int(kCmdDelete), int(kCmdPrint)})
        Updaters().SetUpdateHandler(id, [this](ui::CmdUI& cmd) { cmd.Enable(m_nMaxLines > 0); });
    Updaters().SetUpdateHandler(kCmdFormat, [](ui::CmdUI& cmd) {
        if (!ListViewOperations().editFormat) cmd.Enable(false);
        else EnableForAccessLevel(7, cmd);
    });
}

void CPurchaseView::ClearLines()
{
    m_nMaxLines = 0;
    m_aLines.clear();
}

void CPurchaseView::SetUpLines()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CPurchaseView::SetUpLines\n");
    m_aLines.clear();
    if (m_pDB) {
        if (const std::vector<stIndex>* purchases = m_pDB->GetItemList(TABLE_PURCHASE)) {
            m_aLines.reserve(purchases->size());
            for (const stIndex& e : *purchases) {
                auto* p = static_cast<CPurchaseRecord*>(e.pItem);
                m_aLines.push_back(MakeViewEntry(MakeDataToken('U', p->m_dDate, p)));
            }
        }
    }
    ApplySort();
    m_nMaxLines = static_cast<int>(m_aLines.size());
    m_nHorzMax = 500;
    m_bLinesReady = 1;
    ClampLines();
}

void CPurchaseView::ApplySort()
{
    if (m_cSortOrder != 'P' && m_cSortOrder != 'I') {
        m_cSortOrder = 'D';
        std::vector<stDataToken> dates;
        dates.reserve(m_aLines.size());
        // Sorted through their entries: the kept codes move with them.
        for (size_t i = 0; i < m_aLines.size(); ++i) {
            stDataToken e = m_aLines[i].entry;
            e.index1 = static_cast<int32_t>(i);
            dates.push_back(e);
        }
        SortIndexedDates(dates);
        std::vector<stViewEntry> sorted;
        sorted.reserve(m_aLines.size());
        for (const stDataToken& e : dates) sorted.push_back(m_aLines[static_cast<size_t>(e.index1)]);
        m_aLines.swap(sorted);
        return;
    }
    // The persons by code, looked up once for the whole sort.
    std::unordered_map<uint32_t, const CPerson*> persons;
    if (m_cSortOrder == 'P' && m_pDB)
        for (const stIndex& e : *m_pDB->GetItemList(TABLE_PERSON)) persons.emplace(e.nCode, static_cast<const CPerson*>(e.pItem));
    std::vector<std::string> keys;
    keys.reserve(m_aLines.size());
    for (const stViewEntry& line : m_aLines) {
        const auto* p = static_cast<const CPurchaseRecord*>(line.entry.record);
        if (m_cSortOrder == 'I') {
            keys.push_back(p->m_sDescription);
        } else {
            const auto found = persons.find(p->m_nPerson);
            const CPerson* person = found != persons.end() ? found->second : nullptr;
            keys.push_back(person ? Format("%s, %s", person->m_sLastName.c_str(), person->m_sFirstName.c_str())
                                  : std::string());
        }
    }
    SortStringsWithData(keys, m_aLines);
}

void CPurchaseView::Sort(char order)
{
    m_cSortOrder = order;
    SetUpLines();
    Invalidate();
}

CPurchaseRecord* CPurchaseView::GetHighlightedPurchase() const
{
    if (!m_pDB || m_nHiLiteLine < 0 || m_nHiLiteLine >= static_cast<int>(m_aLines.size())) return nullptr;
    return static_cast<CPurchaseRecord*>(m_pDB->GetItem(TABLE_PURCHASE, m_aLines[static_cast<size_t>(m_nHiLiteLine)].nCode));
}

stFormatRecord* CPurchaseView::GetLine(int index, char& mark, char& status, std::string& text)
{
    stFormatRecord* format = m_pDB ? m_pDB->GetFormat(kFormatIndex) : nullptr;
    if (index == -1) {
        status = 'H';
        text = "Date\tStatus\tName\tAmount\tFor";
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CPurchaseView::GetLine header of %u lines\n", static_cast<unsigned>(m_nMaxLines));
        return format;
    }
    status = '-';
    mark = 0;
    text.clear();
    if (!m_pDB || index < 0 || index >= static_cast<int>(m_aLines.size())) return format;
    const auto* p = static_cast<const CPurchaseRecord*>(m_pDB->GetItem(TABLE_PURCHASE, m_aLines[static_cast<size_t>(index)].nCode));
    if (!p) return format;
    std::string name;
    if (const auto* person = static_cast<const CPerson*>(m_pDB->GetItem(TABLE_PERSON, p->m_nPerson)))
        name = Format("%s, %s", person->m_sLastName.c_str(), person->m_sFirstName.c_str());
    text = Format("%s\t%s\t%s\t%8.2f\t%s", FormatDateTime(p->m_dDate, "%m/%d/%Y").c_str(), p->GetStatusText().c_str(),
                  name.c_str(), p->GetTotal(0), p->m_sDescription.c_str());
    return format;
}

void CPurchaseView::EditHighlighted()
{
    CPurchaseRecord* purchase = GetHighlightedPurchase();
    const stListViewOperations& ops = ListViewOperations();
    if (!purchase || !ops.editItem) return;
    m_bKeepLines = 1;
    RefreshLineView(ops.editItem(*m_pDB, TABLE_PURCHASE, purchase->m_nCode, -1));
}

void CPurchaseView::DeleteHighlighted()
{
    CPurchaseRecord* purchase = GetHighlightedPurchase();
    const stListViewOperations& ops = ListViewOperations();
    if (!purchase || !ops.deleteItem) return;
    m_bKeepLines = 1;
    RefreshLineView(ops.deleteItem(*m_pDB, TABLE_PURCHASE, purchase->m_nCode));
}

void CPurchaseView::CancelHighlighted()
{
    CPurchaseRecord* purchase = GetHighlightedPurchase();
    if (!purchase || purchase->m_nStatus != CPurchaseRecord::STATUS_ACTIVE) return;
    m_bKeepLines = 1;
    m_pDB->CancelPurchase(purchase);
    RefreshLineView(1);
}

void CPurchaseView::UncancelHighlighted()
{
    CPurchaseRecord* purchase = GetHighlightedPurchase();
    if (!purchase || purchase->m_nStatus == CPurchaseRecord::STATUS_ACTIVE) return;
    m_bKeepLines = 1;
    m_pDB->ReinstatePurchase(purchase);
    RefreshLineView(1);
}

void CPurchaseView::ConvertHighlighted()
{
    CPurchaseRecord* purchase = GetHighlightedPurchase();
    if (!purchase || purchase->m_nStatus != CPurchaseRecord::STATUS_ACTIVE) return;
    m_bKeepLines = 1;
    RefreshLineView(m_pDB->ConvertPurchase(purchase->m_nCode));
}

void CPurchaseView::RefundHighlighted()
{
    const CPurchaseRecord* stored = GetHighlightedPurchase();
    const stListViewOperations& ops = ListViewOperations();
    if (!stored || !ops.editScheduledPayment) return;
    const uint32_t code = stored->m_nCode;
    CPurchaseRecord purchase;
    m_pDB->CopyItem(TABLE_PURCHASE, stored, &purchase, 0);
    CSchedulePayment refund;
    refund.m_cKind = 'F';
    refund.m_cMethod = 'A';
    refund.m_sMethodText.clear();
    refund.m_sDescription = purchase.m_sDescription;
    refund.m_dDate = GetNow();
    if (ops.editScheduledPayment(*m_pDB, purchase, refund, purchase.GetPayer()) != 1) return;
    m_pDB->AddScheduledPayment(code, refund);
    Invalidate();
}

bool CPurchaseView::OnCommand(int id, int code)
{
    const stListViewOperations& ops = ListViewOperations();
    switch (id) {
    case kCmdMainView:
        if (IViewFrame* frame = IViewFrame::Of(*this)) frame->ReturnToMainView();
        return true;
    case kCmdFindFirst: Find('F'); return true;
    case kCmdFindRepeat: FindNext(); return true;
    case kCmdAdd:
        if (m_pDB && ops.addPurchase) {
            m_bKeepLines = 1;
            RefreshLineView(ops.addPurchase(*m_pDB));
        }
        return true;
    case kCmdCart:
        if (m_pDB && ops.checkoutCart) {
            m_bKeepLines = 1;
            RefreshLineView(ops.checkoutCart(*m_pDB));
        }
        return true;
    case kCmdEdit: EditHighlighted(); return true;
    case kCmdDelete: DeleteHighlighted(); return true;
    case kCmdCancel: CancelHighlighted(); return true;
    case kCmdUncancel: UncancelHighlighted(); return true;
    case kCmdConvert: ConvertHighlighted(); return true;
    case kCmdRefund: RefundHighlighted(); return true;
    case kCmdFormat:
        if (m_pDB && ops.editFormat) ops.editFormat(*m_pDB, kFormatIndex, "Purchase view");
        Invalidate();
        return true;
    case kCmdSortDate: Sort('D'); return true;
    case kCmdSortPerson: Sort('P'); return true;
    case kCmdSortItem: Sort('I'); return true;
    case kCmdPrint: PrintLines(); return true;
    case kCmdHelp: ShowHelpTopic(0x20000 + kMenuId); return true;
    default: return CScrollBase::OnCommand(id, code);
    }
}
