// CDatabase: moving one schedule entry to another moment, deleting a scheduled payment and
// cancelling a lesson token. Each change is made on a copy of the record as this copy has it
// under the database lock, so that another desk's earlier save of the same record is kept.

#include "database/Database.h"

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "platform/host/Clock.h"

int CDatabase::ChangeItem(uint8_t table, uint32_t code, const std::function<bool(void*)>& change)
{
    if (!IsOpen() || GetItemList(table) == nullptr) return 0;
    if (TestRecordLockByKey(table, code, 2) != 0) {
        GetResponse("This data item is locked by another user.", MB_OK);
        return 0;
    }
    if (!LockAndRefreshDatabase("save modified data", 0, 0, 0, 0)) return 0;
    int result = 0;
    const int at = FindItemIndex(table, code);
    if (at >= 0) {
        void* copy = GetNewItemPointer(table, nullptr);
        CopyItem(table, GetItem(table, code), copy, 0);
        if (change(copy)) {
            const uint32_t loc = SaveModifiedItemAfterLock(table, code, copy, at, 1);
            result = loc != 0 && loc != LOC_NONE ? 1 : 0;
        }
        DeleteItemPointer(table, copy);
    }
    ReleaseDatabaseLock();
    return result;
}

int CDatabase::RescheduleEntry(const stDataToken& entry, DATE when)
{
    if (entry.record == nullptr) return 0;
    switch (entry.type) {
    case 'S':
    case 's':
        return RescheduleScheduleItem(static_cast<CScheduleRecord*>(entry.record), entry.index1, when);
    case 'T':
    case 'p': {
        auto* purchase = static_cast<CPurchaseRecord*>(entry.record);
        const uint32_t item = static_cast<uint32_t>(entry.index1);
        const uint32_t token = static_cast<uint32_t>(entry.index2);
        const char kind = entry.type;
        auto move = [kind, item, token, when](CPurchaseRecord& p) {
            if (kind == 'p') {
                if (item >= p.m_Payments.size()) return false;
                CSchedulePayment& payment = *p.m_Payments[item];
                if (when == 0.0) payment.m_cKind = 'U';
                else payment.m_dDate = when;
                return true;
            }
            if (item >= p.m_Items.size() || token >= p.m_Items[item]->m_Tokens.size()) return false;
            CScheduleToken& t = *p.m_Items[item]->m_Tokens[token];
            if (when == 0.0) t.m_cState = 'N';
            else t.m_dDate = when;
            return true;
        };
        if (entry.type == 'T' && when != 0.0) {
            // The question about conflicts is asked before the lock is taken.
            CPurchaseRecord trial;
            CopyItem(TABLE_PURCHASE, purchase, &trial, 0);
            if (!move(trial) || CheckPurchaseScheduleConflicts(trial) == 1) return 0;
        }
        return ChangeItem(TABLE_PURCHASE, purchase->m_nCode,
                          [&move](void* copy) { return move(*static_cast<CPurchaseRecord*>(copy)); });
    }
    case '$': {
        auto* item = static_cast<CPriceListItem*>(entry.record);
        const uint32_t index = static_cast<uint32_t>(entry.index1);
        return ChangeItem(TABLE_PRICELIST, item->m_nCode, [index, when](void* copy) {
            auto& p = *static_cast<CPriceListItem*>(copy);
            if (index >= p.m_Dates.size()) return false;
            if (when == 0.0) p.m_Dates.erase(p.m_Dates.begin() + index);
            else p.m_Dates[index] = when;
            return true;
        });
    }
    case 'P':
        return ReschedulePayment(static_cast<CPaymentRecord*>(entry.record), when);
    case 'D':
    case 'M':
    case 'N': {
        auto* person = static_cast<CPerson*>(entry.record);
        const uint32_t index = static_cast<uint32_t>(entry.index1);
        const char kind = entry.type;
        return ChangeItem(TABLE_PERSON, person->m_nCode, [index, kind, when](void* copy) {
            auto& p = *static_cast<CPerson*>(copy);
            if (index >= p.m_Interviews.size()) return false;
            CInterview& i = *p.m_Interviews[index];
            if (kind == 'D') {
                i.m_dField14 = when;
            } else if (kind == 'M') {
                if (when != 0.0) i.m_dField16 = when;
                else i.m_nField15 = 0;
            } else {
                if (when != 0.0) i.m_dField20 = when;
                else i.m_cField19 = 0;
            }
            return true;
        });
    }
    default:
        GetResponse("Can't reschedule this type of schedule item from this. Go to master list of scheduled items.",
                    MB_OK);
        return 0;
    }
}

int CDatabase::ReschedulePayment(CPaymentRecord* payment, DATE when)
{
    if (payment == nullptr) return 0;
    return ChangeItem(TABLE_PAYMENT, payment->m_nCode, [when](void* copy) {
        auto& p = *static_cast<CPaymentRecord*>(copy);
        if (when != 0.0) p.m_dDate = when;
        else p.m_cReceived = 'U';
        return true;
    });
}

int CDatabase::RescheduleScheduleItem(CScheduleRecord* item, int32_t occurrence, DATE when)
{
    if (item == nullptr) return 0;
    const uint32_t code = item->m_nCode;
    if (occurrence == 0 || occurrence == -1) {
        if (when == 0.0) return DeleteTableItem(TABLE_SCHEDULE, code, 1) == 1 ? 1 : 0;
        return ChangeItem(TABLE_SCHEDULE, code, [when](void* copy) {
            static_cast<CScheduleRecord*>(copy)->m_dFirstDate = when;
            return true;
        });
    }
    // The occurrence's own index, counted over the series before its changes.
    CScheduleRecord trial;
    trial.CopyFrom(*item);
    trial.BuildOccurrences(false);
    if (occurrence < 1 || static_cast<size_t>(occurrence) >= trial.m_Occurrences.size()) return 0;
    auto move = [occurrence, when](CScheduleRecord& r) {
        const int at = r.FindCode(occurrence);
        if (at < 0) r.m_Changes.push_back({occurrence, when});
        else r.m_Changes[static_cast<size_t>(at)].value = when;
        return true;
    };
    move(trial);
    if (CheckScheduleItemConflicts(trial) == 1) return 0;
    return ChangeItem(TABLE_SCHEDULE, code, [&move](void* copy) { return move(*static_cast<CScheduleRecord*>(copy)); });
}

int CDatabase::DeleteScheduledPayment(CPurchaseRecord* purchase, uint32_t index)
{
    if (purchase == nullptr || index >= purchase->m_Payments.size()) return 2;
    if (purchase->m_Payments[index]->m_cKind == 'U') {
        int unscheduled = 0;
        for (const auto& p : purchase->m_Payments)
            if (p->m_cKind == 'U') ++unscheduled;
        if (unscheduled < 2) {
            GetResponse("Can not delete all payments for a purchase.", MB_OK);
            return 2;
        }
    }
    purchase->m_Payments.erase(purchase->m_Payments.begin() + index);
    return 1;
}

int CDatabase::CancelLessonToken(CPurchaseRecord* purchase, uint32_t item, uint32_t token)
{
    if (purchase == nullptr) return 0;
    const uint8_t stamp = GetStampUserCode();
    const DATE now = GetNow();
    return ChangeItem(TABLE_PURCHASE, purchase->m_nCode, [item, token, stamp, now](void* copy) {
        auto& p = *static_cast<CPurchaseRecord*>(copy);
        if (item >= p.m_Items.size() || token >= p.m_Items[item]->m_Tokens.size()) return false;
        CScheduleToken& t = *p.m_Items[item]->m_Tokens[token];
        t.m_cState = 'c';
        t.m_cStampUser = stamp;
        t.m_dStampDate = now;
        return true;
    });
}
