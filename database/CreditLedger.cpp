#include "database/CreditLedger.h"

#include <algorithm>

#include "database/Database.h"

namespace {

constexpr double kLeftOver = 0.001;

}  // namespace

std::vector<CCreditLedger::stOffer> CCreditLedger::CollectOffers(uint32_t payer) const
{
    std::vector<stOffer> offers;
    for (const stIndex& e : *m_DB.GetItemList(TABLE_PAYMENT)) {
        const CPaymentRecord* p = static_cast<const CPaymentRecord*>(e.pItem);
        if (p->m_cType != 'c' || p->m_nPerson != payer) continue;
        double open = p->m_dAmount;
        const double remaining = Remaining(p->m_nCode);
        if (remaining >= 0.0) open = remaining;
        if (open <= 0.0) continue;
        offers.push_back({p->m_nCode, p->m_sText, open});
    }
    return offers;
}

double CCreditLedger::Remaining(uint32_t code) const
{
    for (const stEntry& e : m_aEntries)
        if (e.nCode == code) return e.dRemaining;
    return -1.0;
}

int CCreditLedger::Hold(uint32_t code)
{
    if (Remaining(code) >= 0.0) return 1;
    if (!m_DB.IsOpen()) return 0;
    // The lock goes to the file now at the path, with this copy's view of it current.
    if (m_DB.IsFileReplaced() || !m_DB.m_aRefreshFlags.empty()) m_DB.LockAndRefreshDatabase("refresh database", 0, 0, 0, 1);
    if (m_DB.GetItem(TABLE_PAYMENT, code) == nullptr) return -1;
    stEntry entry;
    entry.nCode = code;
    entry.file = m_DB.GetFile().Identity();
    entry.nLockLoc = m_DB.LockRecord(TABLE_PAYMENT, code);
    if (entry.nLockLoc == LOC_NONE) return 0;
    // Another desk may have spent it before the lock was had.
    m_DB.RefreshItemInPlace(TABLE_PAYMENT, code);
    const CPaymentRecord* credit = static_cast<const CPaymentRecord*>(m_DB.GetItem(TABLE_PAYMENT, code));
    if (credit == nullptr || credit->m_cType != 'c') {
        Unlock(entry);
        return -1;
    }
    entry.dRemaining = std::max(credit->m_dAmount, 0.0);
    m_aEntries.push_back(entry);
    return 1;
}

bool CCreditLedger::Take(uint32_t code, double wanted, double& taken, std::string& description)
{
    taken = 0.0;
    if (Hold(code) != 1) return false;
    auto found = std::find_if(m_aEntries.begin(), m_aEntries.end(), [&](const stEntry& e) { return e.nCode == code; });
    if (found == m_aEntries.end() || found->dRemaining <= 0.0) return false;
    const CPaymentRecord* credit = static_cast<const CPaymentRecord*>(m_DB.GetItem(TABLE_PAYMENT, code));
    description = credit ? credit->m_sText : std::string();
    const double want = std::max(wanted, 0.0);
    taken = std::min(want, found->dRemaining);
    found->dRemaining -= taken;
    if (found->dRemaining < 0.0) found->dRemaining = 0.0;
    return true;
}

void CCreditLedger::AddNewCredit(uint32_t payer, double amount, const std::string& description)
{
    if (amount <= 0.0) return;
    for (stNewCredit& c : m_aNewCredits)
        if (c.nPayer == payer && c.sDescription == description) {
            c.dAmount += amount;
            return;
        }
    m_aNewCredits.push_back({payer, amount, description});
}

bool CCreditLedger::GiveBack(uint32_t code, double amount)
{
    for (stEntry& e : m_aEntries)
        if (e.nCode == code) {
            e.dRemaining += std::max(amount, 0.0);
            return true;
        }
    return false;
}

int CCreditLedger::Commit()
{
    int done = 0;
    const std::vector<stNewCredit> added = std::move(m_aNewCredits);
    m_aNewCredits.clear();
    for (const stNewCredit& c : added) {
        CPaymentRecord credit;
        credit.m_cType = 'c';
        credit.m_nPerson = c.nPayer;
        credit.m_dAmount = c.dAmount;
        credit.m_sText = c.sDescription;
        credit.m_dDate = GetNow();
        done += m_DB.AddTableItem(TABLE_PAYMENT, LOC_NONE, &credit, 0, 0, nullptr) == 1 ? 1 : 0;
    }
    const std::vector<stEntry> entries = std::move(m_aEntries);
    m_aEntries.clear();
    for (const stEntry& e : entries) {
        const CPaymentRecord* live = static_cast<const CPaymentRecord*>(m_DB.GetItem(TABLE_PAYMENT, e.nCode));
        if (live != nullptr) {
            if (e.dRemaining >= kLeftOver) {
                CPaymentRecord copy;
                copy.CopyFrom(*live);
                copy.m_dAmount = e.dRemaining;
                done += m_DB.SaveModifiedItem(TABLE_PAYMENT, e.nCode, &copy) == 1 ? 1 : 0;
            } else {
                done += m_DB.DeleteTableItem(TABLE_PAYMENT, e.nCode, 0) == 1 ? 1 : 0;
            }
        }
        Unlock(e);
    }
    return done;
}

void CCreditLedger::Release()
{
    for (const stEntry& e : m_aEntries) Unlock(e);
    m_aEntries.clear();
    m_aNewCredits.clear();
}

void CCreditLedger::Unlock(const stEntry& entry)
{
    if (entry.nLockLoc == LOC_NONE || !m_DB.IsOpen()) return;
    if (m_DB.GetFile().Identity() == entry.file) m_DB.UnlockRecord(entry.nLockLoc);
    else m_DB.SendUnlockNotice(TABLE_PAYMENT, entry.nCode);
}
