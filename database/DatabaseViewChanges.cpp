// CDatabase: the purchase, person and mail-list changes that the list views make. Every change
// of a stored item is made on a copy under the database lock (ChangeItem), so that a refusal
// leaves memory as the file is.

#include "database/Database.h"

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "platform/host/Format.h"

int CDatabase::ConvertPurchase(uint32_t code)
{
    auto* old = static_cast<CPurchaseRecord*>(GetItem(TABLE_PURCHASE, code));
    if (old == nullptr || old->m_nStatus != CPurchaseRecord::STATUS_ACTIVE || !IsOpen()) return 2;
    if (TestRecordLockByKey(TABLE_PURCHASE, code, 2) != 0) {
        GetResponse("This data item is locked by another user.", MB_OK);
        return 2;
    }
    // Nobody changes or converts the old purchase while its copy is added.
    const uint32_t loc = LockRecord(TABLE_PURCHASE, code);
    if (loc == LOC_NONE) return 2;
    CPurchaseRecord copy;
    CopyItem(TABLE_PURCHASE, old, &copy, 0);
    const int added = AddTableItem(TABLE_PURCHASE, LOC_NONE, &copy, 1, LOC_NONE, nullptr);
    if (added == 1) {
        const uint32_t newCode = m_nLastSavedCode;
        const int linked = ChangeItem(TABLE_PURCHASE, code, [newCode](void* item) {
            auto& p = *static_cast<CPurchaseRecord*>(item);
            if (p.m_nStatus != CPurchaseRecord::STATUS_ACTIVE) return false;
            p.m_nStatus = static_cast<int32_t>(newCode);
            return true;
        });
        if (linked != 1) {
            // Two purchases in force would count the contract twice: the new one goes again.
            if (newCode != LOC_NONE) DeleteTableItem(TABLE_PURCHASE, newCode, 0);
            UnlockRecord(loc);
            return 2;
        }
    }
    UnlockRecord(loc);
    return added;
}

int CDatabase::AddScheduledPayment(uint32_t code, const CSchedulePayment& payment)
{
    return ChangeItem(TABLE_PURCHASE, code, [&payment](void* item) {
        auto added = std::make_unique<CSchedulePayment>();
        added->CopyFrom(payment);
        static_cast<CPurchaseRecord*>(item)->m_Payments.push_back(std::move(added));
        return true;
    });
}

int CDatabase::DeleteScheduledPaymentOf(uint32_t code, uint32_t index)
{
    auto* purchase = static_cast<CPurchaseRecord*>(GetItem(TABLE_PURCHASE, code));
    if (purchase == nullptr) return 2;
    // The refusal is asked before any lock is taken, on the purchase as this copy has it.
    CPurchaseRecord trial;
    CopyItem(TABLE_PURCHASE, purchase, &trial, 0);
    if (DeleteScheduledPayment(&trial, index) != 1) return 2;
    int refused = 0;
    const int stored = ChangeItem(TABLE_PURCHASE, code, [this, index, &refused](void* item) {
        if (DeleteScheduledPayment(static_cast<CPurchaseRecord*>(item), index) == 1) return true;
        refused = 1;
        return false;
    });
    return stored == 1 && refused == 0 ? 1 : 2;
}

int CDatabase::ClearPersonDate(uint32_t code, char kind)
{
    return ChangeItem(TABLE_PERSON, code, [kind](void* item) {
        auto& person = *static_cast<CPerson*>(item);
        if (kind == 'B') person.m_dBirthday = 0.0;
        else if (kind == 'A') person.m_dAnniversary = 0.0;
        else return false;
        return true;
    });
}

int CDatabase::SaveRecordMailList(const CMailList& mailList)
{
    if (!IsOpen()) return 0;
    if (!LockAndRefreshDatabase("save mail list", 0, 0, 0, 0)) return 0;
    const uint32_t loc = mailList.SaveRecord(*this);
    const int stored = loc != RECORD_WRITE_FAILED && loc != LOC_NONE ? 1 : 0;
    if (stored) NotifyDataModified(TABLE_MAILLIST, mailList.m_nCode, loc);
    ReleaseDatabaseLock();
    return stored;
}
